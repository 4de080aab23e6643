#pragma once
// The 24-bit BMP writer shared by the screen capture and the hard copy window: no colour table,
// rows bottom-up in blue, green, red order, each padded with zeros to a multiple of 4 bytes.

#include <QByteArray>
#include <QString>

#include <functional>

class QImage;
class QWidget;

namespace bmpfile {

// Bytes in one pixel row of a 24-bit file `width` pixels wide.
int RowLength(int width);

// The whole file for `image`: 54 header bytes, then the rows.
QByteArray Bmp24Bytes(const QImage& image);

// Writes the file whole or not at all (an existing file is replaced only by a complete one).
bool SaveBmp24(const QImage& image, const QString& path);

// The file-save dialog for bitmaps (filter "*.bmp", overwrite prompt); a name without an
// extension gets ".bmp". Empty on cancel. Tests may replace it; an empty function restores it.
using PathChooser = std::function<QString(QWidget* parent)>;
void SetPathChooser(PathChooser chooser);
QString ChooseBmpPath(QWidget* parent);

// Saves `image` to `path` and, when that fails, says "Save went wrong." / "Write error".
bool SaveBmp24Reporting(const QImage& image, const QString& path, QWidget* parent);

} // namespace bmpfile
