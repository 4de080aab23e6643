// The View menu's waterfall, peak table and limit lines in the running program.

#include "app_session.h"
#include "cw_graph.h"
#include "limit_verdict_view.h"
#include "live_analysis.h"
#include "peak_table_view.h"
#include "recording_menu.h"
#include "view_options.h"
#include "waterfall_view.h"

#include <QClipboard>
#include <QDockWidget>
#include <QFileInfo>
#include <QTableWidget>

namespace {

using orvel::test::ReadFile;
using orvel::test::WriteFile;

// The live loop's cycles collapsed to one, so that runs of different length compare.
QList<QByteArray> Collapsed(const QList<QByteArray>& wire) {
    const QList<QByteArray> cycle = {"SRSCURR", "MEASRES", "CAPT"};
    QList<QByteArray> out;
    for (const QByteArray& line : wire) {
        out.append(line);
        if (out.size() >= 6 && out.mid(out.size() - 6, 3) == cycle &&
            out.mid(out.size() - 3) == cycle)
            out.resize(out.size() - 3);
    }
    return out;
}

class AnalysisTest : public AppTest {
protected:
    // Runs the live loop of `s` until `traces` screens arrived, then holds.
    static void RunTraces(AppSession& s, int traces) {
        const int before = s.receivedCount();
        s.clickHoldRun();
        ASSERT_TRUE(WaitUntil([&] { return s.receivedSince(before).count("MEASRES") >= traces; }));
        s.clickHoldRun();
    }
    // Launches `s` with this view options file beside the program.
    LiveAnalysis* Launch(AppSession& s, const QByteArray& options) {
        if (!s.prepare() || !WriteFile(s.directory() + "/Orvel-view.ini", options) || !s.launch())
            return nullptr;
        return analysis = s.view()->analysis();
    }

    LiveAnalysis* analysis = nullptr;
};

// The View menu untouched, or all on from a damaged options file: the same wire and Orvel.ini.
TEST_F(AnalysisTest, WireAndSettingsFileAreTheSameWithTheViewMenuUntouchedOrAllOnAndOptionsKept) {
    QList<QByteArray> wire[2];
    QByteArray ini[2];
    QByteArray kept;
    for (int run = 0; run < 2; ++run) {
        AppSession s;
        if (run == 0) {
            ASSERT_TRUE(s.start());
            EXPECT_EQ(s.view()->display()->Graph()->height(), s.view()->height() - 90);
        } else {
            ASSERT_NE(Launch(s, "[Waterfall\n\xff\xfe=\x01\nShown=maybe\n[PeakTable]\nCount=999\n"
                                "[Limits]\nShown=true\nUpper=1e9,nan;2e9,-20\n"),
                      nullptr);
            // The defaults; a bad line is no line.
            EXPECT_EQ(std::make_tuple(analysis->WaterfallAction()->isChecked(),
                                      analysis->PeakTableAction()->isChecked(),
                                      analysis->PeakTable()->Count(),
                                      analysis->Options().upper.size()),
                      std::make_tuple(false, false, 10, size_t{0}));
            analysis->WaterfallAction()->trigger();
            analysis->PeakTableAction()->trigger();
            analysis->PeakTable()->SetCount(7);
            analysis->ApplyLimitLines({{990e6, -60}, {1010e6, -60}}, {}, true);
        }
        RunTraces(s, 3);
        RunFor(300);
        ASSERT_TRUE(s.close());
        wire[run] = Collapsed(s.received());
        ini[run] = ReadFile(s.settingsPath());
        EXPECT_EQ(QFileInfo::exists(s.directory() + "/Orvel-view.ini"), run == 1);
        kept = ReadFile(s.directory() + "/Orvel-view.ini");
    }
    EXPECT_EQ(std::tie(wire[0], ini[0]), std::tie(wire[1], ini[1]));
    EXPECT_FALSE(ini[0].isEmpty());
    ASSERT_NE(Launch(session, kept), nullptr);
    EXPECT_EQ(std::make_tuple(analysis->WaterfallAction()->isChecked(),
                              analysis->Waterfall()->isVisible(), analysis->PeakTable()->Count(),
                              analysis->LimitLinesAction()->isChecked()),
              std::make_tuple(true, true, 7, true));
    EXPECT_EQ(analysis->Options().upper, (display::LimitLine{{990e6, -60}, {1010e6, -60}}));
}

// A hand-edited options file: 1 and 0 too, anything else the default; points unquoted are no line.
TEST(ViewOptionsFile, HandEditedValuesReadAsDocumented) {
    orvel::test::TempFolder dir;
    const QString path = dir.path(QStringLiteral("Orvel-view.ini"));
    ASSERT_TRUE(WriteFile(path, "[Waterfall]\nShown=1\n[PeakTable]\nShown=maybe\nCount=0\n"
                                "[Limits]\nShown=0\nUpper=\"1e9,-20;2e9,-30\"\nLower=1e9,-70\n"));
    const ViewOptions o = ReadViewOptions(path);
    EXPECT_EQ(std::tuple(o.waterfall, o.peakTable, o.peakCount, o.limits),
              std::tuple(true, false, 10, false));
    EXPECT_EQ(std::tuple(o.upper, o.lower),
              std::tuple(display::LimitLine{{1e9, -20}, {2e9, -30}}, display::LimitLine{}));
}

// One session with two signals: peak table, limit lines below and above them, waterfall, record.
TEST_F(AnalysisTest, PeakTableLimitLinesWaterfallAndRecordInTheRunningProgram) {
    session.simArgs += QStringList{"--signal", "995M:-20", "--signal", "1004M:-35"};
    Start();
    analysis = session.view()->analysis();
    analysis->PeakTableAction()->trigger();
    EXPECT_TRUE(analysis->PeakDock()->isVisible());
    RunTraces(session, 1);
    QTableWidget* table = analysis->PeakTable()->table;
    ASSERT_EQ(table->rowCount(), 10);
    EXPECT_EQ((QStringList{table->item(0, 0)->text().left(5), table->item(1, 0)->text().left(7)}),
              (QStringList{"995.0", "1.0040G"}));
    EXPECT_NEAR(table->item(0, 1)->text().toDouble(), -20, 2.5);
    EXPECT_NEAR(table->item(1, 2)->text().toDouble(), -15, 2.5);
    analysis->PeakTable()->copyButton->click();
    EXPECT_EQ(QApplication::clipboard()->text().left(48),
              "Peak,Frequency (Hz),Level (dBm),Delta (dB)\r\n1,99");
    Mark();
    emit table->cellDoubleClicked(1, 0);
    EXPECT_EQ(session.view()->display()->Markers().Panel().marker1Freq->text().left(5), "1.004");
    RunFor(200);
    EXPECT_TRUE(Since().isEmpty()) << "moving the marker sends nothing";
    analysis->PeakTable()->SetCount(3);
    EXPECT_EQ(table->rowCount(), 3);
    analysis->PeakTableAction()->trigger();

    // A limit below the signals fails and counts; one above them passes and starts again.
    analysis->ApplyLimitLines({{990e6, -60}, {1010e6, -60}}, {}, true);
    EXPECT_TRUE(analysis->LimitLinesAction()->isChecked() && analysis->Verdict()->isVisible());
    RunTraces(session, 2);
    EXPECT_EQ(std::make_pair(analysis->Verdict()->verdict->text(), analysis->TracesFailed()),
              std::make_pair(QString("FAIL"), analysis->TracesJudged()));
    EXPECT_GE(analysis->TracesJudged(), 2);
    // The upper line across the screen, and the failing points marked.
    const auto& overlays = session.view()->display()->Graph()->Overlays();
    ASSERT_EQ(overlays.size(), 3u);
    EXPECT_EQ(std::make_pair(overlays[0].line.size(), overlays[2].dots.empty()),
              std::make_pair(size_t{2}, false));
    analysis->ApplyLimitLines({{990e6, 0}, {1010e6, 0}}, {{990e6, -120}, {1010e6, -120}}, true);
    EXPECT_EQ(analysis->TracesJudged(), 0);
    RunTraces(session, 1);
    EXPECT_EQ(std::make_pair(analysis->Verdict()->verdict->text(), analysis->TracesFailed()),
              std::make_pair(QString("PASS"), 0));
    analysis->Verdict()->resetButton->click();
    EXPECT_EQ(analysis->TracesJudged(), 0);
    analysis->LimitLinesAction()->trigger();

    // A waterfall row per trace, cleared on a span change; "Record..." appends every live trace.
    analysis->WaterfallAction()->trigger();
    WaterfallView* waterfall = analysis->Waterfall();
    EXPECT_TRUE(waterfall->isVisible());
    EXPECT_EQ(gSettings.compactMode, 0) << "the graph shares its height";
    EXPECT_EQ(waterfall->geometry().bottom() + 1, session.view()->height() - 90);
    const QString path = session.path(QStringLiteral("rec.csv"));
    RecordingMenu::SetPathChooser([path](QWidget*) { return path; });
    QAction* record = Menu(menuid::kRecord);
    record->trigger();
    ASSERT_TRUE(record->isChecked());
    const TraceRecorder& recorder = session.view()->recording()->recorder();
    Mark();
    ui->holdButton->click();
    ASSERT_TRUE(WaitUntil([&] { return waterfall->History().Count() >= 3; }));
    EXPECT_EQ(waterfall->History().Count(), Since().count("SRSCURR"));
    ASSERT_TRUE(WaitUntil([&] { return recorder.rows() >= 3; }));
    record->trigger();
    EXPECT_FALSE(record->isChecked());
    RecordingMenu::SetPathChooser({});
    const int rows = recorder.rows();

    ASSERT_TRUE(paneltest::Choose(ui->spanCombo, "2G"));
    EXPECT_LE(waterfall->History().Count(), 1) << "a span change starts a new waterfall";
    ASSERT_TRUE(WaitUntil([&] { return waterfall->History().Count() >= 2; }));
    ui->holdButton->click();
    const int held = waterfall->History().Count();
    RunFor(700);
    EXPECT_EQ(waterfall->History().Count(), held) << "no rows while held";

    // Eight header lines and a row per trace (each row's fields: CliTest's recording).
    EXPECT_EQ(ReadFile(path).trimmed().split('\n').size(), 8 + rows) << "nothing after the stop";
}

} // namespace
