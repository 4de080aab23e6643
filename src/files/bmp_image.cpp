#include "bmp_file.h"

// The writer itself: Qt Gui (QImage) and no widgets, for the command-line tool too.

#include <QImage>
#include <QSaveFile>

#include <cstring>

namespace bmpfile {

namespace {

constexpr int kHeaderBytes = 54;

void Put16(char* at, unsigned value) {
    at[0] = static_cast<char>(value & 0xFF);
    at[1] = static_cast<char>((value >> 8) & 0xFF);
}

void Put32(char* at, unsigned value) {
    Put16(at, value & 0xFFFF);
    Put16(at + 2, value >> 16);
}

} // namespace

int RowLength(int width) {
    const int bytes = width * 3;
    return (bytes + 3) / 4 * 4;
}

QByteArray Bmp24Bytes(const QImage& source) {
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const int w = image.width();
    const int h = image.height();
    const int row = RowLength(w);
    QByteArray file(kHeaderBytes + static_cast<qsizetype>(row) * h, '\0');
    char* d = file.data();
    d[0] = 'B';
    d[1] = 'M';
    Put32(d + 2, static_cast<unsigned>(file.size()));
    Put32(d + 10, kHeaderBytes);
    Put32(d + 14, 40);
    Put32(d + 18, static_cast<unsigned>(w));
    Put32(d + 22, static_cast<unsigned>(h));
    Put16(d + 26, 1);
    Put16(d + 28, 24);
    // Compression, image size, resolutions and colour counts stay 0.
    for (int y = 0; y < h; ++y) {
        const uchar* rgb = image.constScanLine(h - 1 - y); // bottom row first
        char* out = d + kHeaderBytes + static_cast<qsizetype>(row) * y;
        for (int x = 0; x < w; ++x) {
            out[3 * x] = static_cast<char>(rgb[3 * x + 2]);
            out[3 * x + 1] = static_cast<char>(rgb[3 * x + 1]);
            out[3 * x + 2] = static_cast<char>(rgb[3 * x]);
        }
    }
    return file;
}

bool SaveBmp24(const QImage& image, const QString& path) {
    if (image.isNull() || path.isEmpty()) {
        return false;
    }
    const QByteArray bytes = Bmp24Bytes(image);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace bmpfile
