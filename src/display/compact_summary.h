#pragma once
// The settings summary shown in place of the panel while the window is too small for it.

#include <string>

namespace display {

struct CompactLine {
    std::string caption;
    std::string value;
};

// What the summary reads from the form besides the settings record.
struct CompactInputs {
    std::string marker1Freq, marker1Level, marker2Freq, marker2Level;
    std::string bandCenter, bandWidth, refCenter, refWidth; // the band edits
    std::string obwRatio, obwDb;                            // "N% Ratio", "XdB"
    std::string result;                                     // result box
};

struct CompactSummaryTexts {
    CompactLine frequency[4]; // centre, span, RBW, VBW
    CompactLine level[5];     // reference, offset, impedance, attenuator, scale
    CompactLine sweep[2];     // sweep time, detection
    std::string calcMode;
    std::string measureTitle; // "Measuring Mode"
    std::string measureName;
    CompactLine measureRows[4];
    std::string result;
};

// The summary of the settings record and the given form texts.
CompactSummaryTexts BuildCompactSummary(const CompactInputs& inputs);

} // namespace display
