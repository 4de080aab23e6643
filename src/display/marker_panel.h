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

class MarkerPanel : public QWidget {
    Q_OBJECT
public:
    explicit MarkerPanel(QWidget* parent = nullptr);

    // Where the block sits in the panel column: top edge, and its size.
    static constexpr int kTop = 455;
    static constexpr int kWidth = 236;
    static constexpr int kHeight = 230;

    QRadioButton* marker1Select; // 1122
    QRadioButton* marker2Select; // 1123
    QLineEdit* marker1Freq;      // 1107
    QLineEdit* marker1Level;     // 1016, read-only
    QLineEdit* marker2Freq;      // 1108
    QLineEdit* marker2Level;     // 1018, read-only
    QLabel* marker1FreqLabel;    // 1076 "Frequency(Hz)"
    QLabel* marker1LevelLabel;   // 1066 "Level(dBm)"
    QLabel* marker2FreqLabel;    // 1080
    QLabel* marker2LevelLabel;   // 1077
    QPushButton* peak;           // 1026
    QPushButton* next;           // 1027
    QRadioButton* normalPeak;    // 1024
    QRadioButton* zonePeak;      // 1025
    QLineEdit* zoneCenter;       // 1109
    QLineEdit* zoneWidth;        // 1110
    QLabel* zoneCenterLabel;     // 1182 "Center"
    QLabel* zoneWidthLabel;      // 1183 "Width"
    QGroupBox* marker1Group;
    QGroupBox* marker2Group;
    QGroupBox* peakGroup;

    // Enables or disables the whole block (a measuring function other than OFF disables it).
    void SetBlockEnabled(bool enabled, int peakMode);
};
