#include "help_dialog.h"

#include "instrument_settings.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <cstring>

QString ReadHelpText(const QString& directory) {
    const QString path = QDir(directory).filePath(QString::fromLatin1(kHelpFileName));
    // Only a plain file: a device or a pipe could block the window for ever.
    if (!QFileInfo(path).isFile()) {
        return {};
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    QByteArray bytes = file.read(kHelpTextLimit);
    file.close();
    bytes.replace('\0', ' ');
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    return QString::fromUtf8(bytes);
}

CHelpDlg::CHelpDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Help"));
    text_ = new QPlainTextEdit(this);
    text_->setReadOnly(true);
    text_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    text_->setLineWrapMode(QPlainTextEdit::NoWrap);
    QFont font = text_->font();
    font.setStyleHint(QFont::Monospace);
    font.setFamily(QStringLiteral("monospace"));
    text_->setFont(font);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text_);
    layout->addWidget(buttons);
    resize(640, 480);

    const std::size_t length = strnlen(gSettings.moduleDirectory, sizeof gSettings.moduleDirectory);
    const QString directory =
        QString::fromLocal8Bit(gSettings.moduleDirectory, static_cast<qsizetype>(length));
    text_->setPlainText(directory.isEmpty() ? QString() : ReadHelpText(directory));
}
