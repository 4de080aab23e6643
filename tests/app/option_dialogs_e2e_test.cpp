// "Setup(&S)..." and "Color Edit(&C)..." of the running program, driven as a user drives them.

#include "app_session.h"
#include "color_edit_dialog.h"
#include "cw_graph.h"
#include "serial_port.h"
#include "setup_sheet.h"

#include <QColorDialog>
#include <QSlider>
#include <QTabWidget>

#include <cstring>
#include <deque>

namespace {

using Step = std::function<bool(QDialog*)>;

// Clicks swatch `id` (its chooser is modal), then sets its colour and confirms or cancels.
void Choose(std::vector<Step>& script, int id, QColor color, bool confirm) {
    script.push_back(On<CColorEditDlg>(
        [id](CColorEditDlg* d) { QTimer::singleShot(0, d->swatch(id), &QPushButton::click); }));
    script.push_back(On<QColorDialog>([color, confirm](QColorDialog* d) {
        d->setCurrentColor(color);
        confirm ? d->accept() : d->reject();
    }));
}

class OptionDialogsTest : public AppTest {
protected:
    // Runs the menu command with the steps answering its dialogs in turn, all of them.
    void Run(int id, std::vector<Step> script) {
        std::deque<Step> steps(script.begin(), script.end());
        session.watcher().dialogHandler = [&steps](QDialog* dialog) {
            const bool handled = !steps.empty();
            if (handled && steps.front()(dialog))
                steps.pop_front();
            return handled;
        };
        Menu(id)->trigger();
        session.watcher().dialogHandler = nullptr;
        EXPECT_TRUE(steps.empty()) << steps.size() << " steps left";
    }
    void RunSheet(std::function<void(Cpsheet*)> act) { Run(menuid::kSetup, {On<Cpsheet>(act)}); }
    // The log since `from` as mark and text: "<FREQ?", "!the program's end opened".
    QList<QByteArray> LogSince(size_t from) const {
        QList<QByteArray> lines;
        const auto entries = session.sim()->logEntries();
        for (size_t i = from; i < entries.size(); ++i)
            lines << QByteArray(1, entries[i].mark) + QByteArray::fromStdString(entries[i].text);
        return lines;
    }
};

// One session with an RVX420: stored values, Apply, OK, Cancel, colours and the span list.
TEST_F(OptionDialogsTest, SetupSheetAndColourDialogOfTheRunningProgram) {
    session.settingsFile = QByteArray("Start setup : 1\r\nBaud rate : 5\r\n");
    session.simArgs += QStringList{"--model", "420"};
    Start();
    const QString device = QString::fromStdString(session.sim()->devicePath());
    RunSheet([&](Cpsheet* sheet) {
        Csetupdlg* comm = sheet->commPage();
        EXPECT_EQ(std::make_tuple(comm->baudCombo->count(), comm->baudCombo->currentText(),
                                  comm->portCombo->itemText(0), comm->modelCombo->isEnabled(),
                                  comm->timeOutBar->maximum(), comm->intervalBar->minimum()),
                  std::make_tuple(6, QString("57600"), "COM1   " + device + " (present)", false,
                                  200, 50));
        sheet->okButton()->click();
    });
    EXPECT_EQ(std::tie(gSettings.baudIndex, gSettings.instrumentPresent), std::make_tuple(5, 1));

    // Apply follows the modified flag and stores at once.
    RunSheet([](Cpsheet* sheet) {
        Csetupdlg* comm = sheet->commPage();
        EXPECT_FALSE(sheet->applyButton()->isEnabled());
        comm->baudCombo->setCurrentIndex(comm->baudCombo->findText("9600"));
        comm->baudCombo->setCurrentIndex(comm->baudCombo->findText("19200"));
        EXPECT_TRUE(sheet->applyButton()->isEnabled()) << "a change back keeps the flag";
        sheet->applyButton()->click();
        EXPECT_FALSE(sheet->applyButton()->isEnabled());
        comm->timeOutBar->setValue(140);
        EXPECT_TRUE(sheet->applyButton()->isEnabled());
        sheet->applyButton()->click();
        EXPECT_EQ(gSettings.timeOutSetting, 140);
        EXPECT_FALSE(sheet->applyButton()->isEnabled());
        sheet->cancelButton()->click();
    });
    EXPECT_EQ(std::tie(gSettings.timeOutSetting, gSettings.baudIndex), std::make_tuple(140, 3));
    EXPECT_EQ(CurrentReadTimeouts().totalConstant,
              ReadTimeoutsFor(portprofile::kLong, 140, 3).totalConstant)
        << "the long profile, rescaled";

    // OK stores the second page alone.
    RunSheet([](Cpsheet* sheet) {
        EXPECT_EQ(sheet->tabs()->tabText(0), "Comm Setup");
        sheet->tabs()->setCurrentIndex(1);
        sheet->startPage()->windowSizeCombo->setCurrentIndex(1);
        EXPECT_TRUE(sheet->applyButton()->isEnabled());
        sheet->okButton()->click();
    });
    EXPECT_EQ(gSettings.startWindowState, 1);

    // Cancel stores nothing but reconnects.
    const InstrumentSettings before = gSettings;
    const size_t logged = session.sim()->logEntries().size();
    RunSheet([](Cpsheet* sheet) {
        sheet->commPage()->baudCombo->setCurrentIndex(0);
        sheet->commPage()->intervalBar->setValue(70);
        sheet->tabs()->setCurrentIndex(1);
        sheet->startPage()->startSettingCombo->setCurrentIndex(0);
        sheet->cancelButton()->click();
    });
    EXPECT_TRUE(ContainsInOrder(LogSince(logged), {"!the program's end closed",
                                                   "!the program's end opened", "<", ">ERR\\r\\n"}))
        << LogSince(logged).join('|').constData();
    const auto stored = [](const InstrumentSettings& s) {
        return std::tie(s.comPortIndex, s.baudIndex, s.timeOutSetting, s.intervalSetting,
                        s.startWindowState, s.startSetting, s.modelIndex);
    };
    EXPECT_EQ(stored(gSettings), stored(before));
    EXPECT_EQ(gSettings.instrumentPresent, 1);

    // A full span becomes index 13 ("2G") on OK, and is sent after the reconnection.
    ASSERT_TRUE(paneltest::Choose(ui->spanCombo, "Full"));
    ASSERT_EQ(gSettings.spanIndex, 14);
    Mark();
    RunSheet([](Cpsheet* sheet) { sheet->okButton()->click(); });
    EXPECT_EQ(std::make_tuple(gSettings.spanIndex, ui->spanCombo->currentText()),
              std::make_tuple(13, QString("2G")));
    EXPECT_TRUE(ContainsInOrder(Since(), {"", "SPAN2G"}));

    // Cancel puts back every colour the choosers changed (stored as 0x030201 for (1, 2, 3)).
    const SavedColors colours = SavedColors::Take();
    const CCWGraph* graph = session.view()->display()->Graph();
    const uint32_t plot2 = graph->PlotLineColor(2);
    const uint32_t refCenter = graph->CursorColor(5);
    std::vector<Step> script;
    for (int id : {1500, 1512, 1517})
        Choose(script, id, QColor(1, 2, 3), true);
    script.push_back(On<CColorEditDlg>([](CColorEditDlg* d) {
        EXPECT_EQ(gSettings.traceColor[1], 0x030201u) << "a confirmed choice is stored at once";
        d->cancelButton()->click();
    }));
    Run(menuid::kColorEdit, script);
    const SavedColors after = SavedColors::Take();
    EXPECT_EQ(std::memcmp(&colours, &after, sizeof colours), 0);
    EXPECT_EQ(graph->PlotLineColor(2), plot2);

    script.clear();
    Choose(script, 1514, QColor(0x12, 0x34, 0x56), true);
    Choose(script, 1514, QColor(9, 9, 9), false);
    script.push_back(On<CColorEditDlg>([](CColorEditDlg* d) { d->okButton()->click(); }));
    Run(menuid::kColorEdit, script);
    EXPECT_EQ(
        (std::vector<uint32_t>{gSettings.markerColor[5], graph->CursorColor(8),
                               graph->CursorColor(9), graph->CursorColor(10),
                               graph->CursorColor(11), graph->CursorColor(5)}),
        (std::vector<uint32_t>{0x563412u, 0x563412u, 0x563412u, 0x563412u, 0x563412u, refCenter}));

    // OK rebuilds the span list for an RVX420 (rebuilt again: ControlPanelTest.ModelChange...).
    gSettings.modelIndex = 1;
    RunSheet([](Cpsheet* sheet) {
        EXPECT_EQ(sheet->commPage()->modelCombo->currentText(), "RVX420");
        sheet->okButton()->click();
    });
    EXPECT_EQ(paneltest::Items(ui->spanCombo).mid(13), QStringList({"2G", "5G", "FULL"}));
    Mark();
    ASSERT_TRUE(session.close());
    EXPECT_TRUE(Since().isEmpty()) << "nothing is sent at shut-down";
    EXPECT_TRUE(session.watcher().messages().empty());
    EXPECT_TRUE(SettingsText().startsWith("Com port : 0\r\nBaud rate : 3\r\n"));
    EXPECT_TRUE(SettingsText().contains("Cursor 3 color : 563412\r\n"));
}

} // namespace
