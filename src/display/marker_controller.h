#pragma once
// The markers and the peak search: the marker block in the panel column (marker readouts,
// Peak/Next, Normal/Zone, the marker and zone edits), the marker cursors and the zone on the
// graph, and the "Marker Display" entries. TraceDisplay owns one and tells it what changed.

#include "display_host.h"

#include <QObject>

class CCWGraph;
class MarkerPanel;
class QAction;
class QActionGroup;
class QLineEdit;
class QString;
class QWidget;
enum class PeakMode : int;

namespace display {
struct CompactInputs;
}

class MarkerController : public QObject {
    Q_OBJECT
public:
    // Creates the marker block as a child of `view`; draws on `graph`. Without a `host` (null)
    // nothing is sent.
    MarkerController(CCWGraph* graph, QWidget* view, display::DisplayHost* host);
    ~MarkerController() override;

    // The marker block's controls as the user sees them (tests, screen captures).
    const MarkerPanel& Panel() const { return *panel_; }
    // The four "Marker Display" entries: "Marker 1 and 2", "Marker 1 Only", "Marker 2 Only",
    // "Marker None".
    QAction* MarkerDisplayAction(int entry) const;

    void UpdateMarkerReadouts();
    void UpdateZone();
    void Peak();
    void Next();
    void SelectNormalPeakMode();
    void SelectZonePeakMode();
    void SelectMarker(int marker); // 1 or 2
    void CommitMarker1();          // Enter in the marker 1 frequency edit
    void CommitMarker2();
    void CommitZoneCenter();
    void CommitZoneWidth();
    // "Marker to CF": the compact-mode refusal, or the centre moved to marker 1.
    void MarkerToCenter();
    // 0 "Marker 1 and 2", 1 "Marker 1 Only", 2 "Marker 2 Only", 3 "Marker None".
    void SetMarkerDisplay(int entry);
    // Marker 1 to a graph position (a peak picked elsewhere), readouts following.
    void PlaceMarker1(double position);

    // A measuring function other than OFF disables the block and hides marker 2 and the zone;
    // OFF enables it and shows the cursors the marker display and the peak mode ask for.
    void SetBlockEnabled(bool enabled);
    // The two marker level captions ("Level(dBm)"), following the unit.
    void ShowLevelCaption(const QString& text);
    // The peak mode and marker select radios in step with the record.
    void SyncControls();
    // The readouts at start-up: levels "0", marker 1 selected, the zone edits "0" when asked.
    void ShowStartupState(bool clearZone);
    void FillCompactInputs(display::CompactInputs* in) const;
    // Layout: the block's left edge in the panel column, and hidden in the compact layout.
    void MoveTo(int x);
    void SetShown(bool shown);

private:
    void Connect();
    void SelectPeakMode(PeakMode mode);
    int MovedMarker() const;
    void RunPeakSearch();
    void CommitZoneValue(double* field, display::DisplayCommand set, display::DisplayCommand query,
                         QLineEdit* edit);
    void ApplyCursorVisibility(bool marker2Allowed);

    CCWGraph* graph_;
    QWidget* view_;
    display::HostLink host_;
    MarkerPanel* panel_;
    QActionGroup* markerDisplay_;
    int markerDisplayEntry_ = 0;
};
