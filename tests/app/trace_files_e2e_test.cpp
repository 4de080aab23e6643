// Trace files and the analyzer's memories from the File menu of the running program.

#include "app_session.h"
#include "number_select_dialog.h"
#include "serial_port.h"

#include <QFile>
#include <QFileDialog>

namespace {

class TraceFilesTest : public AppTest {
protected:
    QString chosen;
    QString start = QStringLiteral("0");
};

TEST_F(TraceFilesTest, MemoriesAndTraceFilesFromTheFileMenu) {
    session.simArgs += QStringList{"--memories", "8", "--fault", "drop:SRS#2"};
    Start();
    session.watcher().clear();
    // Each file dialog takes `chosen`; each number dialog `start` (null: as it opens).
    session.watcher().dialogHandler = [this](QDialog* dialog) {
        if (auto* files = qobject_cast<QFileDialog*>(dialog)) {
            files->selectFile(chosen);
            QMetaObject::invokeMethod(files, "accept");
            return true;
        }
        if (auto* numbers = qobject_cast<CNumberSelectDlg*>(dialog)) {
            if (!start.isNull())
                numbers->startEdit()->setText(start);
            QTest::keyClick(numbers, Qt::Key_Return);
            return true;
        }
        return false;
    };
    // The analyzer's memories; its second screen record is never answered.
    const InstrumentSettings started = gSettings;
    gSettings.memoryRangeStart = 4;
    start = QStringLiteral("7");
    Menu(menuid::kLoadRvx)->trigger();
    EXPECT_TRUE(session.waitReceived("SRS07"));
    // The memory's span; a load keeps the remembered range.
    EXPECT_EQ(std::tie(gSettings.spanIndex, gSettings.memoryRangeStart), std::make_tuple(4 + 7, 4));
    EXPECT_TRUE(session.watcher().messages().empty());

    gSettings.timeOutSetting = 30; // the seven tries in a short time
    SetPortTimeouts(portprofile::kShort);
    const int span = gSettings.spanIndex;
    start = QStringLiteral("1");
    Menu(menuid::kLoadRvxParamOnly)->trigger();
    ExpectOneMessage("Please check connection with RVX410.", QMessageBox::Warning,
                     "Communication error");
    EXPECT_EQ(gSettings.spanIndex, span);

    // A saved file loads back whole or as its trace only.
    gSettings = started;
    SetPortTimeouts(portprofile::kShort);
    InstrumentSettings& s = gSettings;
    std::tie(s.centerFreq, s.spanIndex, s.rbwIndex, s.detectorIndex) =
        std::make_tuple(1.5e9, 9, 5, 1);
    s.traceRecord.tracePoints[10] = 77;
    chosen = session.path("saved");
    Menu(menuid::kSave)->trigger();
    ASSERT_EQ(QFile(session.path("saved.dat")).size(), 1104);

    // Elsewhere now, and running: the whole load puts the file's settings back and holds.
    std::tie(s.centerFreq, s.spanIndex, s.rbwIndex) = std::make_tuple(2.0e9, 3, 1);
    panel->FillFromSettings();
    ui->holdButton->click();
    ASSERT_EQ(s.runState, 1);
    chosen = session.path("saved.dat");
    Mark();
    Menu(menuid::kLoadPc)->trigger();
    EXPECT_EQ(std::make_tuple(s.runState, ui->holdButton->text(), s.centerFreq,
                              ui->centerEdit->text(), ui->spanCombo->currentIndex(), s.rbwIndex,
                              s.traceStore[s.activeTraceSlot][10]),
              std::make_tuple(0, QString("Hold"), 1.5e9, QString("1.5000G"), 9, 5, 77));
    EXPECT_TRUE(ContainsInOrder(Since(), {"FREQ1500000000.0000", "SPAN100M", "REF10", "UNITDBM",
                                          "RBW1M", "VBW10K", "SCALE10", "SWEEP0.1", "DETNEG"}));

    // Trace only: the active slot takes the file's trace; the settings stay and are resent.
    s.centerFreq = 2.0e9;
    panel->FillFromSettings();
    s.traceStore[s.activeTraceSlot][10] = 5;
    s.traceStore[2][10] = 9;
    Mark();
    Menu(menuid::kLoadPcTraceOnly)->trigger();
    EXPECT_EQ(
        std::make_tuple(s.traceStore[s.activeTraceSlot][10], s.traceStore[2][10], s.centerFreq),
        std::make_tuple(77, 9, 2.0e9));
    EXPECT_TRUE(ContainsInOrder(Since(), {"FREQ2000000000.0000", "DETNEG"}));

    // A broken file applies nothing.
    chosen = session.path("broken.dat");
    ASSERT_TRUE(orvel::test::WriteFile(chosen, QByteArray(1103, '\1')));
    Mark();
    Menu(menuid::kLoadPc)->trigger();
    ExpectOneMessage("Load went wrong.", QMessageBox::Warning, "Read error");
    EXPECT_EQ(s.centerFreq, 2.0e9);

    // Ctrl-D from the keyboard, its numbers accepted as they open.
    CMainFrame* frame = session.frame();
    frame->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame));
    start = QString();
    Mark();
    QTest::keyClick(frame, Qt::Key_D, Qt::ControlModifier);
    ASSERT_TRUE(WaitSince("MCLRWALL"));
    const QList<QByteArray> sent = Since();
    EXPECT_EQ(std::count_if(sent.begin(), sent.end(), [](auto& l) { return l.startsWith("MCLR"); }),
              1);
}

} // namespace
