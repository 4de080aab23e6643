#pragma once
// The measuring functions: the "Measuring Function" dialog and what OK applies, the strip under
// the graph (the function's name, its parameter edits and the result box), the measurement bands'
// frequencies and cursors on the graph. TraceDisplay owns one and tells it what changed.

#include "display_host.h"
#include "measurement_bands.h"

#include <QObject>

class CCWGraph;
class MeasurementStrip;
class QLineEdit;
class QString;
class QWidget;

namespace display {
struct CompactInputs;
struct Rect;
} // namespace display

class MeasurementController : public QObject {
    Q_OBJECT
public:
    // Creates the strip as a child of `view`; draws on `graph`. Without a `host` (null) nothing
    // is sent.
    MeasurementController(CCWGraph* graph, QWidget* view, display::DisplayHost* host);
    ~MeasurementController() override;

    // The strip's controls as the user sees them (tests, screen captures).
    const MeasurementStrip& Strip() const { return *strip_; }

    // "Measuring Function(&M)..." and the "Mesuring Function" button.
    void ShowMeasuringFunction();
    // What OK in the dialog does with the chosen function and sub-modes.
    void ApplyMeasureChoice(const display::MeasureChoice& choice);
    void UpdateMeasurementDisplay();
    void SyncMeasurementFrequencies();
    // After a "MEASRES" reply: show it and reposition the current function's cursors.
    void ShowMeasureResult();
    // Where the occupied bandwidth cursors come from when the cursors are placed.
    enum class ObwCursors {
        Keep,            // left where they are
        FromShownResult, // from the result on show; nothing is asked of the analyzer
        FromReply,       // from the last reply, asking "MEASRES" when it is no result
    };
    // The cursors of the current function: channel power and adjacent channel from the stored
    // band frequencies, occupied bandwidth as `obw` says.
    void PlaceMeasurementCursors(ObwCursors obw);
    void CommitMeasureEdit(display::MeasureEdit edit);
    // Writes the parameter edits from the settings record.
    void RefreshMeasureEdits();
    void ApplyEditTextColors();

    // The unit under the graph ("dBm").
    void ShowUnitLabel(const QString& text);
    void FillCompactInputs(display::CompactInputs* in) const;
    // Layout: the strip's place under the graph, and hidden in the compact layout.
    void Place(const display::Rect& bottomStrip);
    void SetShown(bool shown);

signals:
    // OFF enables the marker block, every other function disables it.
    void MarkerBlockEnabledChanged(bool enabled);
    // A field-strength function has a new reference: the traces and marker levels follow.
    void FieldStrengthReferenceChanged();
    // An antenna's own band edges stand under the axis in place of the frequency labels.
    void AxisEndsOverridden(const QString& left, const QString& right);

private:
    // Sends "MEASRES" and shows the reply in the result box.
    void AskMeasureResult();
    void UpdateChannelPowerCursors();
    void UpdateAcpCursors();
    void UpdateObwDisplay();
    void PositionObwCursors(const char* text);

    CCWGraph* graph_;
    QWidget* view_;
    display::HostLink host_;
    MeasurementStrip* strip_;
};
