#include "hard_copy_dialog.h"

#include "bmp_file.h"
#include "instrument_settings.h"
#include "keyword_tables.h"
#include "link_state.h"
#include "screen_capture.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>
#include <cstring>

namespace {

constexpr int kRequestDelayMs = 10;
constexpr int kReceivePeriodMs = 200;

QAction* AddEntry(QMenu* menu, const char* caption, int id) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setObjectName(QStringLiteral("menu%1").arg(id));
    return action;
}

} // namespace

CHardCopyDlg::CHardCopyDlg(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint),
      waitText_(new QLabel(QStringLiteral("Please wiat..."), this)), popup_(new QMenu(this)),
      image_(hardcopy::kWidth, hardcopy::kHeight, QImage::Format_Mono) {
    setWindowTitle(QStringLiteral("Hard copy"));
    setObjectName(QStringLiteral("hardCopy"));
    waitText_->setObjectName(QStringLiteral("text1224"));
    waitText_->setAlignment(Qt::AlignCenter);
    waitText_->setAttribute(Qt::WA_TransparentForMouseEvents);
    image_.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    image_.fill(0);

    QMenu* menu = popup_;
    connect(AddEntry(menu, "Save(&S)...", 32818), &QAction::triggered, this, &CHardCopyDlg::OnSave);
    connect(AddEntry(menu, "Default(&D)", 32819), &QAction::triggered, this,
            &CHardCopyDlg::OnDefault);
    connect(AddEntry(menu, "Close(&C)", 32820), &QAction::triggered, this, [this] { done(1); });

    resize(hardcopy::kWidth, hardcopy::kHeight);

    requestTimer_.setSingleShot(true);
    connect(&requestTimer_, &QTimer::timeout, this, &CHardCopyDlg::OnRequestTimer);
    connect(&receiveTimer_, &QTimer::timeout, this, &CHardCopyDlg::OnReceiveTimer);
    requestTimer_.start(kRequestDelayMs);
}

CHardCopyDlg::~CHardCopyDlg() {
    StopTimers();
}

void CHardCopyDlg::StopTimers() {
    requestTimer_.stop();
    receiveTimer_.stop();
}

void CHardCopyDlg::done(int result) {
    abandoned_ = receiveTimer_.isActive();
    StopTimers();
    QDialog::done(result);
}

void CHardCopyDlg::OnRequestTimer() {
    // A failed send leaves the window waiting; nothing more happens.
    if (!transfer_.Start()) {
        return;
    }
    receiveTimer_.start(kReceivePeriodMs);
}

void CHardCopyDlg::OnReceiveTimer() {
    if (!transfer_.Tick()) {
        receiveTimer_.stop();
        if (transfer_.receivedNothing()) {
            char text[64];
            std::snprintf(text, sizeof text, "Please check connection with %s.",
                          keywords::kModelName[gSettings.modelIndex == 1 ? 1 : 0]);
            QMessageBox box(QMessageBox::Warning, QStringLiteral("Communication error"),
                            QString::fromLatin1(text), QMessageBox::Ok, this);
            box.exec();
        }
        waitText_->hide();
    }
    Decode();
}

void CHardCopyDlg::Decode() {
    hardcopy::DecodeHardCopy(gLink.rxBuffer, transfer_.kept(), pixels_.data());
    // The decoded rows run from the bottom up; the image's from the top down.
    for (int y = 0; y < hardcopy::kHeight; ++y) {
        std::memcpy(image_.scanLine(y),
                    pixels_.data() + (hardcopy::kHeight - 1 - y) * hardcopy::kRowBytes,
                    hardcopy::kRowBytes);
    }
    repaint();
}

void CHardCopyDlg::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.drawImage(rect(), image_);
}

void CHardCopyDlg::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    waitText_->setGeometry(rect());
    update();
}

void CHardCopyDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        popup_->exec(event->globalPosition().toPoint());
        return;
    }
    QDialog::mousePressEvent(event);
}

void CHardCopyDlg::OnSave() {
    const QString path = bmpfile::ChooseBmpPath(this);
    if (path.isEmpty()) {
        return;
    }
    bmpfile::SaveBmp24Reporting(capture::CaptureWidget(this), path, this);
}

void CHardCopyDlg::OnDefault() {
    resize(hardcopy::kWidth, hardcopy::kHeight);
    repaint();
}
