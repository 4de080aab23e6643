#include "about_dialog.h"

#include "instrument_settings.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The record's texts are fixed buffers; never read past them even if one lost its terminator.
QString fixedText(const char* text, std::size_t size) {
    std::size_t length = 0;
    while (length < size && text[length] != '\0') {
        ++length;
    }
    return QString::fromLatin1(text, static_cast<qsizetype>(length));
}

} // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Version information"));
    title_ = new QLabel(fixedText(gSettings.titleText, sizeof gSettings.titleText), this);
    title_->setObjectName(QStringLiteral("ctl1220"));
    model_ = new QLabel(
        gSettings.modelIndex != 0 ? QStringLiteral(" RVX420") : QStringLiteral(" RVX410"), this);
    model_->setObjectName(QStringLiteral("ctl1219"));
    version_ = new QLabel(QStringLiteral("Version %1")
                              .arg(fixedText(gSettings.versionText, sizeof gSettings.versionText)),
                          this);
    version_->setObjectName(QStringLiteral("ctl1225"));
    auto* connection = new QLabel(QStringLiteral("Analyzer:"), this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(title_);
    auto* modelRow = new QHBoxLayout;
    modelRow->addWidget(connection);
    modelRow->addWidget(model_);
    modelRow->addStretch();
    layout->addLayout(modelRow);
    layout->addWidget(version_);
    layout->addWidget(buttons);
}
