#include "message_dialog.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "link_state.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

namespace {

CMessageDlg::PortReader& DefaultReader() {
    static CMessageDlg::PortReader reader;
    return reader;
}

QString Displayed(const QString& text) {
    QString shown = text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    return shown;
}

} // namespace

void CMessageDlg::SetDefaultPortReader(PortReader reader) {
    DefaultReader() = std::move(reader);
}

CMessageDlg::CMessageDlg(QWidget* parent)
    : QDialog(parent), waitForm_(gSettings.memorySelectKind == 0), reader_(DefaultReader()) {
    // Caption bar only: no help or close button that would bypass Cancel.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowTitle(QString());

    message_ = new QLabel(QStringLiteral("Message"), this);
    message_->setAlignment(Qt::AlignCenter);
    message_->setMinimumWidth(280);
    progress_ = new QProgressBar(this);
    progress_->setTextVisible(false);
    ok_ = new QPushButton(QStringLiteral("OK"), this);
    cancel_ = new QPushButton(QStringLiteral("Cancel"), this);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &CMessageDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    buttons->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(message_);
    layout->addWidget(progress_);
    layout->addLayout(buttons);

    // Everything starts hidden; each form shows its own controls.
    message_->hide();
    progress_->hide();
    ok_->hide();
    cancel_->hide();
    ok_->setAutoDefault(false);
    cancel_->setAutoDefault(false);

    message_->show();
    if (!waitForm_) {
        progress_->show();
    } else {
        cancel_->show();
        setMessage(QStringLiteral("Auto Tuning...\r\nPlease wait..."));
        waitTimer_.setInterval(kWaitTickMs);
        connect(&waitTimer_, &QTimer::timeout, this, &CMessageDlg::waitTick);
        waitTimer_.start();
    }
    finishTimer_.setSingleShot(true);
    finishTimer_.setInterval(kTimeoutMessageMs);
    connect(&finishTimer_, &QTimer::timeout, this, [this] { done(kResultAnswered); });
    ticks_ = 0;
}

CMessageDlg::~CMessageDlg() = default;

void CMessageDlg::setMessage(const QString& text) {
    message_->setText(Displayed(text));
}

QString CMessageDlg::message() const {
    return message_->text();
}

void CMessageDlg::setProgressRange(int minimum, int maximum) {
    progress_->setRange(minimum, std::max(minimum, maximum));
}

void CMessageDlg::setProgressPosition(int position) {
    progress_->setValue(position);
}

void CMessageDlg::refreshNow() {
    repaint();
}

void CMessageDlg::waitTick() {
    // Nothing more once the wait has ended (answered, timed out or cancelled).
    if (!waitForm_ || !waitTimer_.isActive()) {
        return;
    }
    ++ticks_;
    if (ticks_ > kMaxWaitTicks) {
        finishTimedOut();
        return;
    }
    if (!reader_) {
        return;
    }
    const int received = reader_(8);
    if (received > 0 && (gLink.rxBuffer[0] == 'O' || gLink.rxBuffer[0] == 'o') &&
        (gLink.rxBuffer[1] == 'K' || gLink.rxBuffer[1] == 'k')) {
        waitTimer_.stop();
        setMessage(QStringLiteral("Transferring...\r\nPlease wait..."));
        done(kResultAnswered);
    }
}

void CMessageDlg::finishTimedOut() {
    waitTimer_.stop();
    finishing_ = true;
    cancel_->setEnabled(false);
    const char* model = keywords::kModelName[gSettings.modelIndex == 1 ? 1 : 0];
    setMessage(QStringLiteral("Please check connection with %1.").arg(QLatin1String(model)));
    // The message stays on screen for a second, then the wait ends as if the analyzer answered.
    finishTimer_.start();
}

void CMessageDlg::reject() {
    if (finishing_) {
        return;
    }
    waitTimer_.stop();
    done(kResultCancelled);
}
