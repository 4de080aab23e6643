#include "hidden_command_entry.h"

#include "acquisition.h"
#include "instrument_settings.h"
#include "link_state.h"

#include <QLineEdit>

HiddenCommandEntry::HiddenCommandEntry(QWidget* form)
    : QObject(form), entry_(new QLineEdit(form)), reply_(new QLineEdit(form)) {
    entry_->setObjectName(QStringLiteral("ctl1218"));
    reply_->setObjectName(QStringLiteral("ctl1219"));
    entry_->setMaxLength(kTxBufferSize - 3); // room for CR LF and the terminator
    reply_->setReadOnly(true);
    entry_->setGeometry(4, 4, 160, 20);
    reply_->setGeometry(168, 4, 240, 20);
    setVisible(false);
    connect(entry_, &QLineEdit::returnPressed, this, &HiddenCommandEntry::OnEnter);
}

void HiddenCommandEntry::setVisible(bool visible) {
    entry_->setVisible(visible);
    reply_->setVisible(visible);
}

void HiddenCommandEntry::OnEnter() {
    reply_->clear();
    const QByteArray text = entry_->text().toLatin1();
    if (RunHiddenCommand(text.constData()) == 0) {
        setVisible(false);
        return;
    }
    reply_->setText(QString::fromLatin1(gLink.rxBuffer));
}
