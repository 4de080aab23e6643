#include "setup_sheet.h"

#include "instrument_settings.h"
#include "keyword_tables.h"
#include "port_names.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QSlider>
#include <QTabWidget>
#include <QVBoxLayout>

#include <functional>
#include <iterator>

namespace {

// The port list writes its items afresh each time it opens, so an adapter plugged in while the
// sheet is open shows as present.
class PortList : public QComboBox {
public:
    using QComboBox::QComboBox;
    std::function<void()> beforePopup;
    void showPopup() override {
        if (beforePopup) {
            beforePopup();
        }
        QComboBox::showPopup();
    }
};

// Fills `combo` with `items`, each carrying its position. A stored value with no item of its own
// (a hand-edited file) gets an extra item that carries it, so OK keeps it as it is.
void FillIndexList(QComboBox* combo, const QStringList& items, int stored, const QString& extra) {
    for (int i = 0; i < items.size(); ++i) {
        combo->addItem(items[i], i);
    }
    if (stored < 0 || stored >= items.size()) {
        combo->addItem(extra, stored);
    }
    combo->setCurrentIndex(combo->findData(stored));
}

int Selected(const QComboBox* combo) {
    return combo->currentData().toInt();
}

QString PercentText(int value) {
    return QStringLiteral("%1 %").arg(value);
}

QSlider* MakeBar(int low, int high, int tick, int value) {
    auto* bar = new QSlider(Qt::Horizontal);
    bar->setRange(low, high);
    bar->setTickInterval(tick);
    bar->setTickPosition(QSlider::TicksBelow);
    bar->setPageStep(tick);
    bar->setValue(value);
    bar->setMinimumWidth(200);
    return bar;
}

} // namespace

QString PortItemText(int index) {
    const QString name = QStringLiteral("COM%1").arg(index + 1);
    const QString path = QString::fromStdString(PortDevicePath(index));
    if (path.isEmpty() || path == name) {
        return name;
    }
    if (path.startsWith(QStringLiteral("tcp://"))) {
        return QStringLiteral("%1   %2").arg(name, path);
    }
    return QStringLiteral("%1   %2 (%3)")
        .arg(name, path,
             QFileInfo::exists(path) ? QStringLiteral("present") : QStringLiteral("not present"));
}

// --- SetupPage ---

void SetupPage::OnApply() {
    SetModified(false);
    OnOK();
}

void SetupPage::SetModified(bool modified) {
    if (modified_ != modified) {
        modified_ = modified;
        emit modifiedChanged();
    }
}

void SetupPage::showEvent(QShowEvent* event) {
    shown_ = true;
    QWidget::showEvent(event);
}

// --- Csetupdlg ---

Csetupdlg::Csetupdlg(QWidget* parent) : SetupPage(parent) {
    const InstrumentSettings& s = gSettings;
    modelCombo = new QComboBox;
    FillIndexList(modelCombo, {QStringLiteral("RVX410"), QStringLiteral("RVX420")}, s.modelIndex,
                  QString::number(s.modelIndex));
    modelCombo->setEnabled(false);

    auto* ports = new PortList;
    portCombo = ports;
    QStringList portItems;
    for (int i = 0; i < kPortCount; ++i) {
        portItems << PortItemText(i);
    }
    FillIndexList(portCombo, portItems, s.comPortIndex, QStringLiteral("(no port)"));
    ports->beforePopup = [this] { RefreshPortItems(); };

    baudCombo = new QComboBox;
    QStringList baudItems;
    for (int i = 0; i < 5; ++i) {
        baudItems << QString::number(keywords::kBaudRate[i]);
    }
    const bool knownRate =
        s.baudIndex >= 0 && s.baudIndex < static_cast<int>(std::size(keywords::kBaudRate));
    FillIndexList(baudCombo, baudItems, s.baudIndex,
                  knownRate ? QString::number(keywords::kBaudRate[s.baudIndex])
                            : QString::number(s.baudIndex));

    timeOutBar = MakeBar(0, 200, 20, s.timeOutSetting);
    intervalBar = MakeBar(50, 150, 10, s.intervalSetting);
    timeOutValue_ = new QLabel(PercentText(timeOutBar->value()));
    intervalValue_ = new QLabel(PercentText(intervalBar->value()));

    auto* grid = new QGridLayout(this);
    int row = 0;
    for (auto [caption, control] :
         {std::pair{"Model", modelCombo}, std::pair{"COM Port", portCombo},
          std::pair{"Baud Rate", baudCombo}}) {
        grid->addWidget(new QLabel(QString::fromLatin1(caption)), row, 0);
        grid->addWidget(control, row++, 1, 1, 2);
    }
    grid->addWidget(new QLabel(QStringLiteral("Time out")), row, 0);
    grid->addWidget(timeOutBar, row, 1);
    grid->addWidget(timeOutValue_, row++, 2);
    grid->addWidget(new QLabel(QStringLiteral("Interval")), row, 0);
    grid->addWidget(intervalBar, row, 1);
    grid->addWidget(intervalValue_, row++, 2);
    grid->setRowStretch(row, 1);

    // A list marks the page only for a selection other than the stored one; a bar for any move.
    for (auto [combo, setting] :
         {std::pair{modelCombo, &s.modelIndex}, std::pair{portCombo, &s.comPortIndex},
          std::pair{baudCombo, &s.baudIndex}}) {
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo = combo, setting = setting] {
                    if (Selected(combo) != *setting) {
                        SetModified(true);
                    }
                });
    }
    for (auto [bar, value] :
         {std::pair{timeOutBar, timeOutValue_}, std::pair{intervalBar, intervalValue_}}) {
        connect(bar, &QSlider::valueChanged, this, [this, value = value](int position) {
            value->setText(PercentText(position));
            SetModified(true);
        });
    }
}

void Csetupdlg::RefreshPortItems() {
    for (int i = 0; i < kPortCount && i < portCombo->count(); ++i) {
        if (portCombo->itemData(i).toInt() == i) {
            portCombo->setItemText(i, PortItemText(i));
        }
    }
}

void Csetupdlg::OnOK() {
    InstrumentSettings& s = gSettings;
    s.modelIndex = Selected(modelCombo);
    s.comPortIndex = Selected(portCombo);
    s.baudIndex = Selected(baudCombo);
    s.timeOutSetting = timeOutBar->value();
    s.intervalSetting = intervalBar->value();
}

// --- Cstartsetup ---

Cstartsetup::Cstartsetup(QWidget* parent) : SetupPage(parent) {
    const InstrumentSettings& s = gSettings;
    windowSizeCombo = new QComboBox;
    FillIndexList(windowSizeCombo,
                  {QStringLiteral("Normal"), QStringLiteral("Maximum"), QStringLiteral("Minimum")},
                  s.startWindowState, QString::number(s.startWindowState));
    startSettingCombo = new QComboBox;
    FillIndexList(startSettingCombo, {QStringLiteral("All Reading"), QStringLiteral("All Setting")},
                  s.startSetting, QString::number(s.startSetting));

    auto* grid = new QGridLayout(this);
    grid->addWidget(new QLabel(QStringLiteral("Starting Window Size")), 0, 0);
    grid->addWidget(windowSizeCombo, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("Starting Setting")), 1, 0);
    grid->addWidget(startSettingCombo, 1, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnStretch(1, 1);

    for (auto [combo, setting] : {std::pair{windowSizeCombo, &s.startWindowState},
                                  std::pair{startSettingCombo, &s.startSetting}}) {
        connect(combo, &QComboBox::currentIndexChanged, this,
                [this, combo = combo, setting = setting] {
                    if (Selected(combo) != *setting) {
                        SetModified(true);
                    }
                });
    }
}

void Cstartsetup::OnOK() {
    gSettings.startWindowState = Selected(windowSizeCombo);
    gSettings.startSetting = Selected(startSettingCombo);
}

// --- Cpsheet ---

Cpsheet::Cpsheet(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Setup dialog"));
    tabs_ = new QTabWidget;
    comm_ = new Csetupdlg;
    start_ = new Cstartsetup;
    tabs_->addTab(comm_, QStringLiteral("Comm Setup"));
    tabs_->addTab(start_, QStringLiteral("Starting setup"));

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel |
                                         QDialogButtonBox::Apply);
    ok_ = buttons->button(QDialogButtonBox::Ok);
    cancel_ = buttons->button(QDialogButtonBox::Cancel);
    apply_ = buttons->button(QDialogButtonBox::Apply);
    ok_->setText(QStringLiteral("OK"));
    cancel_->setText(QStringLiteral("Cancel"));
    apply_->setText(QStringLiteral("Apply"));
    apply_->setEnabled(false);
    connect(ok_, &QPushButton::clicked, this, &Cpsheet::OnOK);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);
    connect(apply_, &QPushButton::clicked, this, &Cpsheet::OnApply);
    for (SetupPage* page : {static_cast<SetupPage*>(comm_), static_cast<SetupPage*>(start_)}) {
        connect(page, &SetupPage::modifiedChanged, this, &Cpsheet::UpdateApplyButton);
    }

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(tabs_);
    layout->addWidget(buttons);
}

void Cpsheet::OnOK() {
    for (SetupPage* page : {static_cast<SetupPage*>(comm_), static_cast<SetupPage*>(start_)}) {
        if (page->WasShown()) {
            page->OnApply();
        }
    }
    accept();
}

void Cpsheet::OnApply() {
    for (SetupPage* page : {static_cast<SetupPage*>(comm_), static_cast<SetupPage*>(start_)}) {
        if (page->WasShown()) {
            page->OnApply();
        }
    }
    UpdateApplyButton();
}

void Cpsheet::UpdateApplyButton() {
    apply_->setEnabled(comm_->IsModified() || start_->IsModified());
}
