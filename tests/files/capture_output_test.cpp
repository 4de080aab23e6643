// The 24-bit BMP writer, the print page arithmetic and the print-time checks, without a window.

#include "bmp_file.h"
#include "qt_support.h"
#include "screen_capture.h"

#include <QDataStream>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QPrinter>
#include <QTemporaryDir>

#include <tuple>

#include <gtest/gtest.h>

namespace {

// No row padding, one byte and two bytes of it; then saved whole or not at all.
TEST(BmpFile, HeadersAndRowsFollowTheFileLayoutAndTheFileIsWrittenWholeOrNotAtAll) {
    orvel::test::EnsureQtApplication();
    // {width, height, row length, file size}
    const std::tuple<int, int, int, int> cases[] = {
        {1000, 700, 3000, 2100054}, {1021, 3, 3064, 54 + 3064 * 3}, {2, 2, 8, 70}};
    for (const auto& [width, height, rowLength, fileSize] : cases) {
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(qRgb(10, 20, 30));
        image.setPixel(0, height - 1, qRgb(1, 2, 3)); // bottom-left: the file's first pixel
        const QByteArray file = bmpfile::Bmp24Bytes(image);
        EXPECT_EQ(bmpfile::RowLength(width), rowLength);
        ASSERT_EQ(file.size(), fileSize);
        // "BM", size, reserved, offset 54, header 40, width, height, 1 plane, 24 bits, six zeros.
        QByteArray header;
        QDataStream out(&header, QIODevice::WriteOnly);
        out.setByteOrder(QDataStream::LittleEndian);
        out << quint16(0x4D42) << quint32(fileSize) << quint32(0) << quint32(54) << quint32(40)
            << quint32(width) << quint32(height) << quint16(1) << quint16(24);
        out << quint32(0) << quint32(0) << quint32(0) << quint32(0) << quint32(0) << quint32(0);
        EXPECT_EQ(file.left(54), header);
        EXPECT_EQ(file.mid(54, 6), QByteArray("\x03\x02\x01\x1e\x14\x0a", 6)); // blue, green, red
        const int pad = rowLength - width * 3;
        EXPECT_EQ(file.mid(54 + width * 3, pad), QByteArray(pad, '\0'));
        EXPECT_EQ(QImage::fromData(file, "BMP").convertToFormat(QImage::Format_RGB32), image);
    }
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.bmp"));
    QImage image(64, 48, QImage::Format_RGB32);
    image.fill(Qt::red);
    ASSERT_TRUE(bmpfile::SaveBmp24(image, path));
    EXPECT_EQ(orvel::test::ReadFile(path), bmpfile::Bmp24Bytes(image));
    // A folder where the file cannot go: nothing written, the failure said.
    EXPECT_FALSE(bmpfile::SaveBmp24(image, dir.filePath(QStringLiteral("missing/shot.bmp"))));
    // A name that is a folder: refused, the folder untouched.
    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("taken.bmp")));
    EXPECT_FALSE(bmpfile::SaveBmp24(image, dir.filePath(QStringLiteral("taken.bmp"))));
    EXPECT_TRUE(QFileInfo(dir.filePath(QStringLiteral("taken.bmp"))).isDir());
}

TEST(PrintLayout, PortraitTopIsFiftyLandscapeIsCentredTheWindowMovesOnScreenOneCopyIsPrinted) {
    // Letter at 600 dpi (printable area in device units); a 1000 x 700 window picture.
    const QSize picture(1000, 700);
    const capture::PagePlacement portrait = capture::PlaceOnPage({5100, 6600}, picture, true);
    EXPECT_DOUBLE_EQ(portrait.scale, 5.0);
    EXPECT_EQ(portrait.target, QRect(25, 50, 5000, 3500));
    const capture::PagePlacement landscape = capture::PlaceOnPage({6600, 5100}, picture, false);
    EXPECT_DOUBLE_EQ(landscape.scale, 6.5);
    EXPECT_EQ(landscape.target, QRect(25, 275, 6500, 4550));
    EXPECT_TRUE(capture::PlaceOnPage({50, 50}, picture, true).target.isEmpty());
    EXPECT_TRUE(capture::PlaceOnPage({500, 500}, QSize(0, 0), true).target.isEmpty());
    // The desktop check, and where the window moves to be printed.
    EXPECT_TRUE(capture::DesktopLargeEnough({1024, 768}));
    EXPECT_FALSE(capture::DesktopLargeEnough({1023, 768}));
    EXPECT_FALSE(capture::DesktopLargeEnough({1280, 720}));
    const QRect screen(0, 0, 1024, 768);
    EXPECT_EQ(capture::PrintPosition(QRect(100, 100, 800, 600), screen), QPoint(0, 0));
    EXPECT_EQ(capture::PrintPosition(QRect(100, 0, 900, 768), screen), QPoint(100, 0));
    EXPECT_EQ(capture::PrintPosition(QRect(0, 0, 1100, 768), screen), QPoint(0, 0));
    // One copy under the document name, whatever the dialog asked for.
    orvel::test::EnsureQtApplication();
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("page.pdf")));
    printer.setCopyCount(3);
    QImage black(400, 300, QImage::Format_RGB32);
    black.fill(Qt::black);
    ASSERT_TRUE(capture::PrintPicture(printer, black));
    EXPECT_EQ(printer.copyCount(), 1);
    EXPECT_EQ(printer.docName(), QStringLiteral("ハードコピー"));
}

} // namespace
