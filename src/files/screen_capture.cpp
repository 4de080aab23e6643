#include "screen_capture.h"

#include "bmp_file.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageLayout>
#include <QPainter>
#include <QPixmap>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QWidget>
#include <QWindow>

namespace capture {

namespace {

PrintDialogRunner& CurrentRunner() {
    static PrintDialogRunner runner;
    return runner;
}

bool RunPrintDialog(QPrinter& printer, QWidget* parent) {
    if (CurrentRunner()) {
        return CurrentRunner()(printer, parent);
    }
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

QScreen* ScreenOf(QWidget* widget) {
    QScreen* screen = widget != nullptr ? widget->screen() : nullptr;
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

} // namespace

bool DesktopLargeEnough(QSize screen) {
    return screen.width() >= 1024 && screen.height() >= 768;
}

QPoint PrintPosition(const QRect& frame, const QRect& screen) {
    if (frame.width() <= screen.width() && frame.height() == screen.height()) {
        return frame.topLeft();
    }
    return screen.topLeft();
}

PagePlacement PlaceOnPage(QSize printable, QSize picture, bool portrait) {
    PagePlacement placement;
    if (picture.width() <= 0 || picture.height() <= 0) {
        return placement;
    }
    const double across = static_cast<double>(printable.width() - 100) / picture.width();
    const double down = static_cast<double>(printable.height() - 100) / picture.height();
    placement.scale = across < down ? across : down;
    if (placement.scale <= 0) {
        placement.scale = 0;
        return placement;
    }
    const int dw = static_cast<int>(picture.width() * placement.scale);
    const int dh = static_cast<int>(picture.height() * placement.scale);
    const int left = (printable.width() - dw - 50) / 2;
    const int top = portrait ? 50 : (printable.height() - dh) / 2;
    placement.target = QRect(left, top, dw, dh);
    return placement;
}

QImage CaptureWidget(QWidget* widget) {
    if (widget == nullptr) {
        return QImage();
    }
    widget->repaint();
    QImage image = widget->grab().toImage();
    // One image pixel per window pixel, whatever the screen's scale.
    if (!image.isNull() && image.size() != widget->size()) {
        image = image.scaled(widget->size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    }
    image.setDevicePixelRatio(1);
    return image;
}

QImage CaptureWindow(QWidget* window) {
    if (window == nullptr) {
        return QImage();
    }
    // The window itself (menu bar included) as it paints now, so that pixels a closed dialog
    // left on the screen before the repaint cannot end up in the picture.
    const QImage inside = CaptureWidget(window);
    const QRect frame = window->frameGeometry();
    if (QGuiApplication::platformName() != QLatin1String("xcb") || frame == window->geometry()) {
        return inside;
    }
    // The frame belongs to the window manager; only the screen's pixels show it.
    QScreen* screen = ScreenOf(window);
    const QRect on = frame.translated(-screen->geometry().topLeft());
    QImage shot = screen->grabWindow(0, on.x(), on.y(), on.width(), on.height()).toImage();
    if (shot.isNull() || shot.size() != frame.size()) {
        return inside;
    }
    shot.setDevicePixelRatio(1);
    QPainter painter(&shot);
    painter.drawImage(window->geometry().topLeft() - frame.topLeft(), inside);
    painter.end();
    return shot;
}

bool PrintPicture(QPrinter& printer, const QImage& picture) {
    printer.setCopyCount(1);
    printer.setDocName(QStringLiteral("ハードコピー"));
    const bool portrait = printer.pageLayout().orientation() == QPageLayout::Portrait;
    const PagePlacement placement =
        PlaceOnPage(QSize(printer.width(), printer.height()), picture.size(), portrait);
    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    if (!placement.target.isEmpty()) {
        painter.drawImage(placement.target, picture);
    }
    return painter.end();
}

void SetPrintDialogRunner(PrintDialogRunner runner) {
    CurrentRunner() = std::move(runner);
}

void SaveCaptureCommand(QWidget* client) {
    const QString path = bmpfile::ChooseBmpPath(client);
    if (path.isEmpty()) {
        return;
    }
    bmpfile::SaveBmp24Reporting(CaptureWidget(client), path, client);
}

void ClipboardCaptureCommand(QWidget* client) {
    const QImage image = CaptureWidget(client);
    if (!image.isNull()) {
        QGuiApplication::clipboard()->setImage(image);
    }
}

void PrintCommand(QWidget* window, QWidget* owner) {
    QScreen* screen = ScreenOf(window);
    if (!DesktopLargeEnough(screen->geometry().size())) {
        QMessageBox box(QMessageBox::Warning, QStringLiteral("Print error"),
                        QStringLiteral("Change the desktop to 1024x768 over."), QMessageBox::Ok,
                        owner);
        box.exec();
        return;
    }
    const QRect frame = window->frameGeometry();
    const QPoint at = PrintPosition(frame, screen->geometry());
    if (at != frame.topLeft()) {
        window->move(at);
        // Let the window system place and repaint the window before its pixels are read.
        QCoreApplication::processEvents();
    }
    const QImage picture = CaptureWindow(window);
    QGuiApplication::clipboard()->setImage(picture);
    QPrinter printer(QPrinter::HighResolution);
    if (!RunPrintDialog(printer, owner)) {
        return;
    }
    PrintPicture(printer, picture);
}

} // namespace capture
