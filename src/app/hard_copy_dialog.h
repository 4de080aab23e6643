#pragma once
// File > "Hard Copy(&H)...": the analyzer's own screen, fetched with "PRT" and shown stretched to
// the window while it arrives band by band. Right click: "Save(&S)...", "Default(&D)",
// "Close(&C)".

#include "hard_copy_decoding.h"
#include "hard_copy_transfer.h"

#include <QDialog>
#include <QImage>
#include <QTimer>

#include <array>
#include <cstdint>

class QLabel;
class QMenu;

class CHardCopyDlg : public QDialog {
    Q_OBJECT
public:
    explicit CHardCopyDlg(QWidget* parent = nullptr);
    ~CHardCopyDlg() override;

    // The one-bit 352 x 250 picture decoded so far (white: colour 0, black: colour 1).
    const QImage& picture() const { return image_; }
    // True from the request until the transfer is over.
    bool transferRunning() const { return requestTimer_.isActive() || receiveTimer_.isActive(); }
    // True when the window was closed while the analyzer was still sending.
    bool abandonedTransfer() const { return abandoned_; }
    QMenu* popupMenu() const { return popup_; }

    void OnSave();
    void OnDefault();

    void done(int result) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void OnRequestTimer(); // timer 10
    void OnReceiveTimer(); // timer 20
    void Decode();
    void StopTimers();

    QTimer requestTimer_;
    QTimer receiveTimer_;
    QLabel* waitText_;
    QMenu* popup_;
    HardCopyTransfer transfer_;
    std::array<uint8_t, hardcopy::kPixelBytes> pixels_{};
    QImage image_;
    bool abandoned_ = false;
};
