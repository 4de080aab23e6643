#include "widget_test_support.h"

using display::MeasureEdit;
using namespace displaytest;

TEST_F(DisplayTest, MarkerDisplayMenuPeakNextAndDeltaModeMoveTheMarkersAndTellTheAnalyzer) {
    auto shown = [this] { return std::pair(Graph()->CursorVisible(1), Graph()->CursorVisible(2)); };
    display->Markers().SetMarkerDisplay(2);
    EXPECT_EQ(std::tuple(shown(), display->Markers().MarkerDisplayAction(2)->isChecked(),
                         display->Markers().MarkerDisplayAction(0)->isChecked()),
              std::tuple(std::pair(false, true), true, false));
    display->Markers().MarkerDisplayAction(3)->trigger();
    EXPECT_EQ(shown(), std::pair(false, false));
    display->Markers().SetMarkerDisplay(0);
    EXPECT_EQ(shown(), std::pair(true, true));
    LoadStaircase(12);
    display->Markers().Peak();
    EXPECT_EQ(
        std::tuple(Graph()->CursorX(1), host.events,
                   Texts(Panel()->marker1Freq, Panel()->marker1Level)),
        std::tuple(100.0, Events{"pause", "PKSEARCH", "resume"}, QStringList{"992.0000M", "6.0"}));
    // Next ten times stops at the eleventh peak.
    for (int i = 0; i < 10; ++i) {
        EXPECT_TRUE(Panel()->next->isEnabled()) << i;
        display->Markers().Next();
    }
    display->Markers().Next(); // ignored once disabled
    EXPECT_EQ(std::tuple(Panel()->next->isEnabled(), gSettings.peakSearchNo, Graph()->CursorX(1)),
              std::tuple(false, 10, 100 + 50 * 10.0));
    display->Markers().Peak();
    EXPECT_TRUE(Panel()->next->isEnabled());
    display->Markers().SelectMarker(2);
    display->Markers().Next();
    EXPECT_EQ(std::pair(CursorXs({2, 1}), gSettings.peakSearchNo),
              std::pair(std::vector<double>{150, 100}, 1));
    // Delta mode always moves marker 1, which shows the differences from marker 2.
    gSettings.markerMode = 1;
    Graph()->SetCursorX(1, 500);
    Graph()->SetCursorX(2, 700);
    display->Markers().Peak();
    EXPECT_EQ(std::pair(CursorXs({1, 2}), Panel()->marker1Freq->text()),
              std::pair(std::vector<double>{100, 700}, QStringLiteral("-12.0000M")));
}

TEST_F(DisplayTest, ZoneModeShowsTheZoneSearchesInsideItAndItsEditsStoreSendAndReposition) {
    LoadStaircase(5);
    gSettings.peakZoneCenter = 1e9 - 250 * 20000.0; // position 250
    gSettings.peakZoneWidth = 2 * 30 * 20000.0;     // 30 positions each side
    display->Markers().SelectZonePeakMode();
    EXPECT_EQ(std::tuple(gSettings.peakMode, gSettings.zonePosition, gSettings.zoneWidth,
                         Graph()->CursorVisible(3), Panel()->peak->isEnabled(),
                         Panel()->zoneWidth->isEnabled(), host.CountOf("PEAK"),
                         CursorXs({3, 4, 1})),
              std::tuple(1, 250, 30, true, false, true, 1, std::vector<double>{280, 220, 250}));
    display->Markers().SelectNormalPeakMode();
    EXPECT_EQ(std::tuple(Graph()->CursorVisible(3), Panel()->peak->isEnabled(),
                         Panel()->zoneCenter->isEnabled()),
              std::tuple(false, true, false));
    display->Markers().SelectZonePeakMode();
    host.events.clear();
    Panel()->zoneCenter->setText(QStringLiteral("993M"));
    display->Markers().CommitZoneCenter();
    EXPECT_EQ(std::tuple(gSettings.peakZoneCenter, Panel()->zoneCenter->text(),
                         gSettings.zonePosition, host.events),
              std::tuple(993e6, QStringLiteral("993.0000M"), 150,
                         Events{"pause", "PKCNTR", "PKCNTR?", "resume"}));
    Panel()->zoneWidth->setText(QStringLiteral("1.2M"));
    display->Markers().CommitZoneWidth();
    EXPECT_EQ(std::pair(gSettings.zoneWidth, Graph()->CursorX(1)), std::pair(30, 150.0));
    host.events.clear();
    Panel()->zoneWidth->setText(QString());
    display->Markers().CommitZoneWidth(); // empty: the current value, nothing changes
    EXPECT_TRUE(host.events.empty());
}

TEST_F(DisplayTest,
       MarkerEditsAndMarkerToCentrePlaceTheMarkersAndReadoutsFollowDragConversionAndZeroSpan) {
    LoadStaircase(2);
    Panel()->marker1Freq->setText(QStringLiteral("1.004G"));
    display->Markers().CommitMarker1();
    EXPECT_EQ(std::tuple(gSettings.normMarkerFreq, Graph()->CursorX(1), host.events),
              std::tuple(1.004e9, 700.0, Events{"pause", "NORMMKR", "NORMMKR?", "resume"}));
    // No frequency at all keeps the marker, and Marker to CF keeps it too.
    const double centre = gSettings.centerFreq;
    for (const char* text : {"1e400", "-1e400", "999G"}) {
        Panel()->marker1Freq->setText(QString::fromLatin1(text));
        display->Markers().CommitMarker1();
        EXPECT_DOUBLE_EQ(gSettings.normMarkerFreq, 1.004e9) << text;
        Panel()->marker1Freq->setText(QString::fromLatin1(text));
        display->Markers().MarkerToCenter();
        EXPECT_DOUBLE_EQ(gSettings.centerFreq, centre + 4e6) << text;
        gSettings.centerFreq = centre;
    }
    host.events.clear();
    Panel()->marker2Freq->setText(QStringLiteral("5G")); // past the right end: clamped
    display->Markers().CommitMarker2();
    EXPECT_EQ(std::pair(Graph()->CursorX(2), host.events.empty()), std::pair(1001.0, true));
    Panel()->marker1Freq->setText(QStringLiteral("1.002G"));
    display->Markers().MarkerToCenter();
    EXPECT_EQ(std::tuple(gSettings.centerFreq, Graph()->CursorX(1), Panel()->marker1Freq->text()),
              std::tuple(1.002e9, 500.0, QStringLiteral("1.0020G")));
    EXPECT_EQ(host.events, (Events{"pause", "NORMMKR", "FREQSETMKR", "centre changed", "resume"}));
    SendMouse(Graph(), QEvent::MouseButtonPress, Graph()->XToPixel(500), Qt::LeftButton);
    SendMouse(Graph(), QEvent::MouseMove, Graph()->XToPixel(100), Qt::LeftButton);
    EXPECT_NEAR(Graph()->CursorX(1), 100, 1e-3);
    EXPECT_EQ(Panel()->marker1Freq->text(), QStringLiteral("994.0000M"));
    SendMouse(Graph(), QEvent::MouseButtonRelease, Graph()->XToPixel(100), Qt::NoButton);
    gSettings.conversionIndex = 1;
    Graph()->SetCursorX(1, 100); // level 6 dBm
    display->Markers().UpdateMarkerReadouts();
    EXPECT_EQ(Panel()->marker1Level->text(), QStringLiteral("3.9811m"));
    Panel()->marker1Level->setText(QStringLiteral("kept"));
    gSettings.spanIndex = 0; // zero span: times, and the levels stay
    Graph()->SetCursorX(1, 500);
    display->Markers().UpdateMarkerReadouts();
    EXPECT_EQ(Texts(Panel()->marker1Freq, Panel()->marker1Level),
              (QStringList{"50.0000ms", "kept"}));
}

TEST_F(DisplayTest, ChannelPowerThenAdjacentChannelThenOccupiedBandwidthCursorsEditsAndSpan) {
    display::MeasureChoice c = Choice(1);
    c.cpMode = 1;
    gSettings.cpCenter = 1.002e9;
    gSettings.cpWidth = 1e6;
    host.measureReply = "-20.5dBm";
    display->Measurements().ApplyMeasureChoice(c);
    EXPECT_EQ(host.events, (Events{"pause", "MEASOFF", "MEAS", "CPMODE", "CPCNTR?", "CPWIDTH?",
                                   "MEASRES", "resume"}));
    EXPECT_EQ(std::tuple(Texts(Strip()->functionName, Strip()->bandCenter, Strip()->result),
                         Strip()->bandCenter->isEnabled(), Graph()->CursorVisible(5),
                         Graph()->CursorVisible(2), Panel()->peak->isEnabled(),
                         Panel()->marker1Freq->isEnabled(), CursorXs({5, 6, 7})),
              std::tuple(QStringList{"Channel Power", "1.0020G", "-20.5dBm"}, true, true, false,
                         false, false, std::vector<double>{600, 625, 575}));
    gSettings.spanIndex = 8; // "50M": the band stays on screen
    display->Measurements().SyncMeasurementFrequencies();
    EXPECT_EQ(std::tuple(gSettings.cpCenter, gSettings.cpWidth, Strip()->bandCenter->text()),
              std::tuple(1.005e9, 2.5e6, QStringLiteral("1.0050G")));
    display->Measurements().PlaceMeasurementCursors(
        MeasurementController::ObwCursors::FromShownResult);
    EXPECT_EQ(CursorXs({5, 6}), (std::vector<double>{600, 625}));
    gSettings.spanIndex = 0; // zero span leaves the frequencies alone
    display->Measurements().SyncMeasurementFrequencies();
    EXPECT_DOUBLE_EQ(gSettings.cpCenter, 1.005e9);
    gSettings.spanIndex = 7; // "20M" again
    gSettings.traceKind[1] = tracekind::kSpectrum1001;
    uint8_t* live = gSettings.traceRecord.tracePoints;
    std::fill(live, live + 1001, uint8_t{20});
    live[420] = 180;
    display->UpdateTraces();
    c = Choice(2);
    c.acpMode = 2;
    display->Measurements().ApplyMeasureChoice(c);
    EXPECT_EQ(std::tuple(CursorXs({5, 8}), Texts(Strip()->refCenter, Strip()->bandCenterLabel),
                         gSettings.acpRefCenter, Strip()->refCenter->isEnabled(),
                         Strip()->refWidth->isEnabled(), Graph()->CursorVisible(8)),
              std::tuple(std::vector<double>{420, 500 + 250 + 25},
                         QStringList{"1.0000G", "Adj Ch Offset"}, 1e9, false, false, true));
    host.measureReply = "C:1.0010GHz W:2.0000MHz";
    display->Measurements().ApplyMeasureChoice(Choice(3));
    EXPECT_EQ(std::tuple(CursorXs({5, 6, 7}), Graph()->CursorEnabled(6), Graph()->CursorVisible(7),
                         Strip()->obwRatio->text()),
              std::tuple(std::vector<double>{550, 600, 500}, false, true, QStringLiteral("99.0")));
    host.reply = host.measureReply = "Read error"; // no parts: the cursors stay
    host.events.clear();
    display->Measurements().ShowMeasureResult();
    EXPECT_EQ(
        std::tuple(host.events, CursorXs({5, 6}), Strip()->result->text()),
        std::tuple(Events{"MEASRES"}, std::vector<double>{550, 600}, QStringLiteral("Read error")));
    host.events.clear();
    Strip()->obwRatio->setText(QStringLiteral("120"));
    display->Measurements().CommitMeasureEdit(MeasureEdit::ObwRatio);
    EXPECT_EQ(std::tuple(gSettings.obwRatio, Strip()->obwRatio->text(), host.events),
              std::tuple(99.9, QStringLiteral("99.9"),
                         Events{"pause", "OBWRATIO", "OBWRATIO?", "MEASRES", "MEASRES", "resume"}));
    Strip()->obwDb->setText(QStringLiteral("0"));
    display->Measurements().CommitMeasureEdit(MeasureEdit::ObwDb);
    EXPECT_DOUBLE_EQ(gSettings.obwDb, 0.1);
}

TEST_F(DisplayTest, SameChoiceDoesNothingFunctionsSetMarkersSweepsAntennaCentreAndColours) {
    display->Measurements().ApplyMeasureChoice(display::CurrentMeasureChoice());
    gSettings.cpCenter = 1.234e9;
    display->Measurements().SyncMeasurementFrequencies();
    Strip()->refWidth->setText(QStringLiteral("5M"));
    display->Measurements().CommitMeasureEdit(MeasureEdit::RefWidth);
    EXPECT_EQ(std::tuple(gSettings.cpCenter, gSettings.acpRefBw, host.events.empty()),
              std::tuple(1.234e9, 1e6, true));
    QSignalSpy spy(display, &TraceDisplay::MarkerBlockEnabledChanged);
    gSettings.sweepIndex = 0;
    display->Measurements().ApplyMeasureChoice(Choice(5));
    ASSERT_FALSE(spy.isEmpty() || spy.last().at(0).toBool()) << "the marker block disabled";
    display->Measurements().ApplyMeasureChoice(Choice(6)); // the counter drops the short sweeps
    EXPECT_EQ(std::pair(gSettings.sweepIndex, host.CountOf("sweep changed")), std::pair(2, 1));
    display->Measurements().ApplyMeasureChoice(Choice(0));
    EXPECT_EQ(std::tuple(spy.last().at(0).toBool(), Strip()->functionName->text(),
                         Panel()->peak->isEnabled(), Graph()->CursorVisible(2)),
              std::tuple(true, QStringLiteral("Meas OFF"), true, true));
    display::MeasureChoice c = Choice(4);
    c.antennaIndex = 5; // AT15
    display->Measurements().ApplyMeasureChoice(c);
    EXPECT_EQ(std::pair(gSettings.centerFreq, gSettings.spanIndex), std::pair(400e6, 10));
    EXPECT_EQ(Texts(display->MinFreqLabel(), display->MaxFreqLabel(), Strip()->functionName),
              (QStringList{"0.3000G", "0.5000G", "E / F"}));
    c.antennaIndex = 0;
    gSettings.centerFreq = 2e9;
    host.refuse = true; // refused, the antenna still moves the centre
    display->Measurements().ApplyMeasureChoice(c);
    EXPECT_DOUBLE_EQ(gSettings.centerFreq, 900e6);
    gSettings.markerColor[3] = 0x0000FF; // red
    gSettings.markerColor[4] = 0x00FF00;
    gSettings.markerColor[5] = 0xFF0000; // blue
    gSettings.measureIndex = 2;
    gSettings.acpMode = 0;
    auto colours = [this] {
        display->Measurements().ApplyEditTextColors();
        std::vector<QColor> out;
        for (const QLineEdit* e :
             {Strip()->bandCenter, Strip()->bandWidth, Strip()->refCenter, Strip()->refWidth})
            out.push_back(e->palette().color(QPalette::Text));
        return out;
    };
    const QColor red(255, 0, 0), green(0, 255, 0), blue(0, 0, 255), black(Qt::black);
    EXPECT_EQ(colours(), (std::vector<QColor>{black, blue, red, green}));
    gSettings.measureIndex = 1;
    EXPECT_THAT(colours(), testing::ElementsAre(red, green, testing::_, testing::_));
}
