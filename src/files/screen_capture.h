#pragma once
// File > "Screen Capture(&C)" (save as BMP, clipboard) and "Print(&P)...": the window as it is on
// the screen, to a file, the clipboard or one printed page.

#include <QImage>
#include <QPoint>
#include <QRect>
#include <QSize>

#include <functional>

class QPrinter;
class QWidget;

namespace capture {

// Printing needs a desktop of at least 1024 x 768.
bool DesktopLargeEnough(QSize screen);

// Where the window's frame stands while it is captured for printing: where it is when it is no
// wider than the screen and exactly as tall, else the screen's top-left corner.
QPoint PrintPosition(const QRect& frame, const QRect& screen);

// The picture on the page, in the printable area's device units: scaled to fit with a 100-unit
// margin in total, centred across; the top edge 50 on a portrait page, centred on a landscape one.
struct PagePlacement {
    double scale = 0;
    QRect target;
};
PagePlacement PlaceOnPage(QSize printable, QSize picture, bool portrait);

// The widget's pixels as shown now (repainted first).
QImage CaptureWidget(QWidget* widget);
// The whole top-level window: menu bar included, and the window manager's frame where the window
// system lets a program read the screen (X11).
QImage CaptureWindow(QWidget* window);

// Prints `picture` as one page, one copy, document name "ハードコピー". False when the document
// could not be started.
bool PrintPicture(QPrinter& printer, const QImage& picture);

// The print dialog; false on cancel. Tests may replace it; an empty function restores it.
using PrintDialogRunner = std::function<bool(QPrinter& printer, QWidget* parent)>;
void SetPrintDialogRunner(PrintDialogRunner runner);

// The menu commands. `client` is the main window's form (graph and panel); `window` the main
// window; `owner` owns the dialogs and messages.
void SaveCaptureCommand(QWidget* client);
void ClipboardCaptureCommand(QWidget* client);
void PrintCommand(QWidget* window, QWidget* owner);

} // namespace capture
