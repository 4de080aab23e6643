#include "widget_test_support.h"

using display::MeasureChoice;
using display::MeasureEdit;
using displaytest::DisplayFixture;
using displaytest::Events;
using displaytest::Texts;

class MeasurementTest : public DisplayFixture {
protected:
    const MeasurementStrip* Strip() { return &display->Measurements().Strip(); }
    MeasureChoice Choice(int function) {
        MeasureChoice c = display::CurrentMeasureChoice();
        c.function = static_cast<MeasureFunction>(function);
        return c;
    }
};

TEST_F(MeasurementTest, ChannelPowerBandShowsItsCursorsAndEditsAndFollowsTheSpan) {
    MeasureChoice c = Choice(1);
    c.cpMode = 1;
    gSettings.cpCenter = 1.002e9;
    gSettings.cpWidth = 1e6;
    host.measureReply = "-20.5dBm";
    display->Measurements().ApplyMeasureChoice(c);
    EXPECT_EQ(host.events, (Events{"pause", "MEASOFF", "MEAS", "CPMODE", "CPCNTR?", "CPWIDTH?",
                                   "MEASRES", "resume"}));
    EXPECT_EQ(Texts(Strip()->functionName, Strip()->bandCenter, Strip()->result),
              (QStringList{"Channel Power", "1.0020G", "-20.5dBm"}));
    // Band edit and cursors on, marker 2's cursor, Peak and the marker edit off.
    EXPECT_EQ(
        (std::vector<bool>{Strip()->bandCenter->isEnabled(), Graph()->CursorVisible(5),
                           Graph()->CursorVisible(2), display->Markers().Panel().peak->isEnabled(),
                           display->Markers().Panel().marker1Freq->isEnabled()}),
        (std::vector<bool>{true, true, false, false, false}));
    EXPECT_EQ(displaytest::CursorXs(Graph(), {5, 6, 7}), (std::vector<double>{600, 625, 575}));

    // A span change keeps the band on screen; zero span leaves the frequencies alone.
    gSettings.spanIndex = 8; // "50M"
    display->Measurements().SyncMeasurementFrequencies();
    EXPECT_EQ((std::vector<double>{gSettings.cpCenter, gSettings.cpWidth}),
              (std::vector<double>{1.005e9, 2.5e6}));
    EXPECT_EQ(Strip()->bandCenter->text(), QStringLiteral("1.0050G"));
    display->Measurements().PlaceMeasurementCursors(
        MeasurementController::ObwCursors::FromShownResult);
    EXPECT_EQ(displaytest::CursorXs(Graph(), {5, 6}), (std::vector<double>{600, 625}));
    gSettings.spanIndex = 0;
    display->Measurements().SyncMeasurementFrequencies();
    EXPECT_DOUBLE_EQ(gSettings.cpCenter, 1.005e9);
}

TEST_F(MeasurementTest, AdjacentChannelPeakModeKeepsTheStoredReference) {
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    uint8_t* live = gSettings.traceRecord.tracePoints;
    for (int k = 0; k < 1001; ++k)
        live[k] = 20;
    live[420] = 180;
    display->UpdateTraces();
    MeasureChoice c = Choice(2);
    c.acpMode = 2;
    display->Measurements().ApplyMeasureChoice(c);
    EXPECT_DOUBLE_EQ(Graph()->CursorX(5), 420);
    EXPECT_EQ(Texts(Strip()->refCenter, Strip()->bandCenterLabel),
              (QStringList{"1.0000G", "Adj Ch Offset"}));
    EXPECT_DOUBLE_EQ(gSettings.acpRefCenter, 1e9);
    EXPECT_FALSE(Strip()->refCenter->isEnabled() || Strip()->refWidth->isEnabled());
    EXPECT_TRUE(Graph()->CursorVisible(8));
    EXPECT_DOUBLE_EQ(Graph()->CursorX(8), 500 + 250 + 25);
}

TEST_F(MeasurementTest, OccupiedBandwidthReadsItsCursorsFromTheResultAndClampsItsEdits) {
    host.measureReply = "C:1.0010GHz W:2.0000MHz";
    display->Measurements().ApplyMeasureChoice(Choice(3));
    EXPECT_EQ(displaytest::CursorXs(Graph(), {5, 6, 7}), (std::vector<double>{550, 600, 500}));
    EXPECT_FALSE(Graph()->CursorEnabled(6));
    EXPECT_TRUE(Graph()->CursorVisible(7));
    EXPECT_EQ(Strip()->obwRatio->text(), QStringLiteral("99.0"));

    // A result without its parts leaves the cursors where they were.
    host.reply = "Read error";
    host.measureReply = "Read error";
    host.events.clear();
    display->Measurements().ShowMeasureResult();
    EXPECT_EQ(host.CountOf("MEASRES"), 1);
    EXPECT_EQ(displaytest::CursorXs(Graph(), {5, 6}), (std::vector<double>{550, 600}));
    EXPECT_EQ(Strip()->result->text(), QStringLiteral("Read error"));
    // Parameter edits are clamped.
    host.events.clear();
    Strip()->obwRatio->setText(QStringLiteral("120"));
    display->Measurements().CommitMeasureEdit(MeasureEdit::ObwRatio);
    EXPECT_DOUBLE_EQ(gSettings.obwRatio, 99.9);
    EXPECT_EQ(Strip()->obwRatio->text(), QStringLiteral("99.9"));
    EXPECT_EQ(host.events,
              (Events{"pause", "OBWRATIO", "OBWRATIO?", "MEASRES", "MEASRES", "resume"}));
    Strip()->obwDb->setText(QStringLiteral("0"));
    display->Measurements().CommitMeasureEdit(MeasureEdit::ObwDb);
    EXPECT_DOUBLE_EQ(gSettings.obwDb, 0.1);
}

TEST_F(MeasurementTest, AntennaOutsideItsBandMovesTheCentre) {
    MeasureChoice c = Choice(4);
    c.antennaIndex = 5; // AT15
    display->Measurements().ApplyMeasureChoice(c);
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 400e6);
    EXPECT_EQ(gSettings.spanIndex, 10);
    EXPECT_EQ(Texts(display->MinFreqLabel(), display->MaxFreqLabel(), Strip()->functionName),
              (QStringList{"0.3000G", "0.5000G", "E / F"}));
    // Refused, the antenna still moves the centre.
    c.antennaIndex = 0;
    gSettings.centerFreq = 2e9;
    host.failuresBeforeSuccess = 100;
    display->Measurements().ApplyMeasureChoice(c);
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 900e6);
}

TEST_F(MeasurementTest, SameChoiceDoesNothingAndMarkerBlockAndShortSweepsFollowTheFunction) {
    // The same choice, and bands and edits of other functions, do nothing.
    display->Measurements().ApplyMeasureChoice(display::CurrentMeasureChoice());
    gSettings.cpCenter = 1.234e9;
    display->Measurements().SyncMeasurementFrequencies();
    EXPECT_DOUBLE_EQ(gSettings.cpCenter, 1.234e9);
    Strip()->refWidth->setText(QStringLiteral("5M"));
    display->Measurements().CommitMeasureEdit(MeasureEdit::RefWidth);
    EXPECT_DOUBLE_EQ(gSettings.acpRefBw, 1e6);
    EXPECT_TRUE(host.events.empty());
    QSignalSpy spy(display, &TraceDisplay::MarkerBlockEnabledChanged);
    gSettings.sweepIndex = 0;
    display->Measurements().ApplyMeasureChoice(Choice(5));
    ASSERT_GE(spy.count(), 1);
    EXPECT_FALSE(spy.last().at(0).toBool());
    display->Measurements().ApplyMeasureChoice(Choice(6)); // the counter drops the short sweeps
    EXPECT_EQ(gSettings.sweepIndex, 2);
    EXPECT_EQ(host.CountOf("sweep changed"), 1);
    display->Measurements().ApplyMeasureChoice(Choice(0));
    EXPECT_TRUE(spy.last().at(0).toBool());
    EXPECT_EQ(Strip()->functionName->text(), QStringLiteral("Meas OFF"));
    EXPECT_TRUE(display->Markers().Panel().peak->isEnabled());
    EXPECT_TRUE(Graph()->CursorVisible(2));
}

TEST_F(MeasurementTest, EditTextColoursFollowTheCursors) {
    gSettings.markerColor[3] = 0x0000FF; // red
    gSettings.markerColor[4] = 0x00FF00;
    gSettings.markerColor[5] = 0xFF0000; // blue
    gSettings.measureIndex = 2;
    gSettings.acpMode = 0;
    display->Measurements().ApplyEditTextColors();
    auto colours = [this] {
        return std::vector<QColor>{Strip()->bandCenter->palette().color(QPalette::Text),
                                   Strip()->bandWidth->palette().color(QPalette::Text),
                                   Strip()->refCenter->palette().color(QPalette::Text),
                                   Strip()->refWidth->palette().color(QPalette::Text)};
    };
    const QColor red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255), black(Qt::black);
    EXPECT_EQ(colours(), (std::vector<QColor>{black, blue, red, green}));
    gSettings.measureIndex = 1;
    display->Measurements().ApplyEditTextColors();
    EXPECT_EQ(colours()[0], red);
    EXPECT_EQ(colours()[1], green);
}
