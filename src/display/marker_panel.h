#pragma once
// The marker and peak-search block of the panel column: marker select radios, marker frequency
// edits and level readouts, Peak and Next, the Normal and Zone radios and the zone edits.
// It only shows and collects; TraceDisplay acts on it.

#include <QWidget>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
enum class PeakMode : int;

class MarkerPanel : public QWidget {
    Q_OBJECT
public:
    explicit MarkerPanel(QWidget* parent = nullptr);

    // Where the block sits in the panel column: top edge, and its size.
    static constexpr int kTop = 455;
    static constexpr int kWidth = 236;
    static constexpr int kHeight = 230;

    QRadioButton* marker1Select; // "Marker 1" radio
    QRadioButton* marker2Select; // "Marker 2(Delta Reference)" radio
    QLineEdit* marker1Freq;      // marker 1 "Frequency(Hz)"
    QLineEdit* marker1Level;     // marker 1 "Level(dBm)", read-only
    QLineEdit* marker2Freq;      // marker 2 "Frequency(Hz)"
    QLineEdit* marker2Level;     // marker 2 "Level(dBm)", read-only
    QLabel* marker1FreqLabel;    // "Frequency(Hz)"
    QLabel* marker1LevelLabel;   // "Level(dBm)", follows the unit
    QLabel* marker2FreqLabel;    // "Frequency(Hz)"
    QLabel* marker2LevelLabel;   // "Level(dBm)", follows the unit
    QPushButton* peak;           // "Peak"
    QPushButton* next;           // "Next"
    QRadioButton* normalPeak;    // "Normal"
    QRadioButton* zonePeak;      // "Zone"
    QLineEdit* zoneCenter;       // zone "Center"
    QLineEdit* zoneWidth;        // zone "Width"
    QLabel* zoneCenterLabel;     // "Center"
    QLabel* zoneWidthLabel;      // "Width"
    QGroupBox* marker1Group;
    QGroupBox* marker2Group;
    QGroupBox* peakGroup;

    // Enables or disables the whole block (a measuring function other than OFF disables it).
    void SetBlockEnabled(bool enabled, PeakMode peakMode);
    // Checks the mode's radio; Peak and Next work in Normal, the zone edits in Zone.
    void ShowPeakMode(PeakMode peakMode);

private:
    void EnablePeakControls(bool enabled, PeakMode peakMode);
};
