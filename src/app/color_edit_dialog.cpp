#include "color_edit_dialog.h"

#include "cw_graph.h"
#include "instrument_settings.h"

#include <QColorDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>
#include <iterator>

static_assert(sizeof(SavedColors::trace) == sizeof(InstrumentSettings::traceColor));
static_assert(sizeof(SavedColors::marker) == sizeof(InstrumentSettings::markerColor));

namespace {

enum Group { kTraces, kMarkers, kCursors, kOthers };

struct SwatchEntry {
    const char* label;
    Group group;
    uint32_t* color;
};

// Button ids 1500.. in this order.
const SwatchEntry* SwatchTable() {
    InstrumentSettings& s = gSettings;
    static const SwatchEntry table[CColorEditDlg::kSwatchCount] = {
        {"Trace 1", kTraces, &s.traceColor[1]},
        {"Trace 2", kTraces, &s.traceColor[2]},
        {"Trace 3", kTraces, &s.traceColor[3]},
        {"Trace 4", kTraces, &s.traceColor[4]},
        {"Trace 5", kTraces, &s.traceColor[5]},
        {"Trace 6", kTraces, &s.traceColor[6]},
        {"Trace 7", kTraces, &s.traceColor[7]},
        {"Trace 8", kTraces, &s.traceColor[8]},
        {"Trace 9", kTraces, &s.traceColor[9]},
        {"Trace 10", kTraces, &s.traceColor[10]},
        {"Marker 1", kMarkers, &s.markerColor[1]},
        {"Marker 2", kMarkers, &s.markerColor[2]},
        {"Reference center", kCursors, &s.markerColor[3]},
        {"Reference bandwidth", kCursors, &s.markerColor[4]},
        {"Reference offset", kCursors, &s.markerColor[5]},
        {"Peak zone", kCursors, &s.markerColor[6]},
        {"Scale line", kOthers, &s.scaleLineColor},
        {"Back ground", kOthers, &s.backgroundColor},
    };
    return table;
}

} // namespace

// --- ColorSwatch ---

ColorSwatch::ColorSwatch(uint32_t* color, QWidget* parent) : QPushButton(parent), color_(color) {
    setFixedSize(48, 22);
    setAutoDefault(false);
}

void ColorSwatch::paintEvent(QPaintEvent* event) {
    QPushButton::paintEvent(event);
    QPainter painter(this);
    painter.fillRect(rect().adjusted(2, 2, -2, -2), ColorFromRgb(*color_));
}

// --- CColorEditDlg ---

CColorEditDlg::CColorEditDlg(QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Color edit"));
    QGroupBox* groups[] = {
        new QGroupBox(QStringLiteral("Traces")), new QGroupBox(QStringLiteral("Markers")),
        new QGroupBox(QStringLiteral("Cursors")), new QGroupBox(QStringLiteral("Others"))};
    QGridLayout* grids[std::size(groups)];
    int rows[std::size(groups)] = {};
    for (size_t g = 0; g < std::size(groups); ++g) {
        grids[g] = new QGridLayout(groups[g]);
    }
    const SwatchEntry* table = SwatchTable();
    for (int i = 0; i < kSwatchCount; ++i) {
        const SwatchEntry& entry = table[i];
        auto* swatch = new ColorSwatch(entry.color);
        swatch->setObjectName(QStringLiteral("swatch%1").arg(kFirstSwatch + i));
        swatch->setAccessibleName(QString::fromLatin1(entry.label));
        swatches_[i] = swatch;
        connect(swatch, &QPushButton::clicked, this, [this, swatch] { ChooseColor(swatch); });
        // The ten traces stand in two columns of five.
        QGridLayout* grid = grids[entry.group];
        int& row = rows[entry.group];
        const int column = entry.group == kTraces && row >= 5 ? 2 : 0;
        const int gridRow = entry.group == kTraces ? row % 5 : row;
        grid->addWidget(new QLabel(QString::fromLatin1(entry.label)), gridRow, column);
        grid->addWidget(swatch, gridRow, column + 1);
        ++row;
    }

    ok_ = new QPushButton(QStringLiteral("OK"));
    cancel_ = new QPushButton(QStringLiteral("CANCEL"));
    ok_->setDefault(true);
    connect(ok_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel_, &QPushButton::clicked, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    for (size_t g = kMarkers; g < std::size(groups); ++g) {
        right->addWidget(groups[g]);
    }
    right->addStretch(1);
    auto* top = new QHBoxLayout;
    top->addWidget(groups[kTraces], 0, Qt::AlignTop);
    top->addLayout(right);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok_);
    buttons->addWidget(cancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);
}

ColorSwatch* CColorEditDlg::swatch(int id) const {
    const int i = id - kFirstSwatch;
    return i >= 0 && i < kSwatchCount ? swatches_[i] : nullptr;
}

void CColorEditDlg::ChooseColor(ColorSwatch* swatch) {
    QColorDialog chooser(ColorFromRgb(*swatch->color()), this);
    chooser.setOption(QColorDialog::DontUseNativeDialog);
    if (chooser.exec() == QDialog::Accepted) {
        *swatch->color() = RgbFromColor(chooser.selectedColor());
        swatch->update();
    }
}

// --- SavedColors ---

SavedColors SavedColors::Take() {
    const InstrumentSettings& s = gSettings;
    SavedColors saved{};
    std::copy(std::begin(s.traceColor), std::end(s.traceColor), std::begin(saved.trace));
    std::copy(std::begin(s.markerColor), std::end(s.markerColor), std::begin(saved.marker));
    saved.scaleLine = s.scaleLineColor;
    saved.background = s.backgroundColor;
    return saved;
}

void SavedColors::Restore() const {
    InstrumentSettings& s = gSettings;
    std::copy(std::begin(trace), std::end(trace), std::begin(s.traceColor));
    std::copy(std::begin(marker), std::end(marker), std::begin(s.markerColor));
    s.scaleLineColor = scaleLine;
    s.backgroundColor = background;
}
