#include "limit_lines_dialog.h"
#include "measuring_function_dialog.h"
#include "qt_support.h"
#include "trace_select_dialog.h"
#include "widget_test_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QRadioButton>
#include <QTableWidget>

TEST(DisplayDialogsTest,
     TraceSelectAndMeasuringFunctionOpenWithTheCurrentChoiceAndFollowTheirRules) {
    orvel::test::EnsureQtApplication();
    int view[11] = {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    TraceSelectDialog dialog(3, view);
    EXPECT_EQ(
        std::tuple(dialog.windowTitle(), dialog.TraceRadio(10)->text(),
                   dialog.TraceRadio(3)->isChecked(), dialog.ViewBox(10)->isChecked(),
                   dialog.ViewBox(2)->isChecked()),
        std::tuple(QStringLiteral("Trace Select"), QStringLiteral("Trace10"), true, true, false));
    dialog.TraceRadio(5)->setChecked(true);
    dialog.ViewBox(2)->setChecked(true);
    int out[11] = {};
    dialog.ViewFlags(out);
    EXPECT_EQ(std::pair(dialog.ActiveTraceSlot(), out[2]), std::pair(5, 1));
    // With no view box ticked, the flags it opened with stay.
    for (int i = 1; i <= 10; ++i)
        dialog.ViewBox(i)->setChecked(false);
    dialog.ViewFlags(out);
    EXPECT_EQ(std::vector<int>(out + 1, out + 11), std::vector<int>(view + 1, view + 11));
    display::MeasureChoice current;
    current.function = MeasureFunction::AdjacentChannel;
    current.acpMode = 1;
    // Band functions, AT16 shown and enabled, the frequency counter.
    auto offered = [](const MeasuringFunctionDialog& d) {
        return std::vector<bool>{d.cpRadio[0]->isEnabled(), d.obwRadio[1]->isEnabled(),
                                 !d.antennaRadio[6]->isHidden(), d.antennaRadio[6]->isEnabled(),
                                 d.counterRadio->isEnabled()};
    };
    MeasuringFunctionDialog zeroSpan(current, display::MeasureDialogRulesFor(0, 0));
    EXPECT_EQ(zeroSpan.windowTitle(), QStringLiteral("Measuring Function"));
    EXPECT_TRUE(zeroSpan.acpRadio[1]->isChecked());
    EXPECT_EQ(offered(zeroSpan), (std::vector<bool>{false, false, false, false, true}));
    MeasuringFunctionDialog full(current, display::MeasureDialogRulesFor(14, 0));
    EXPECT_EQ(offered(full), (std::vector<bool>{true, true, false, false, false}));
    MeasuringFunctionDialog fiveG(current, display::MeasureDialogRulesFor(15, 1));
    EXPECT_EQ(offered(fiveG), (std::vector<bool>{true, true, true, true, false}));
    MeasuringFunctionDialog rvx420(current, display::MeasureDialogRulesFor(14, 1));
    EXPECT_EQ(offered(rvx420), (std::vector<bool>{true, true, true, true, true}));

    // The function, antenna, adjacent channel mode (the other sub-choices stay) and probe chosen.
    rvx420.antennaRadio[5]->setChecked(true); // AT15
    const display::MeasureChoice c = rvx420.Choice();
    EXPECT_EQ(std::tuple(c.function, c.antennaIndex, c.acpMode, c.probeIndex),
              std::tuple(MeasureFunction::ElectricField, 5, 1, current.probeIndex));
    rvx420.offRadio->setChecked(true);
    EXPECT_EQ(rvx420.Choice().function, MeasureFunction::Off);
    rvx420.probeRadio[1]->setChecked(true);
    EXPECT_EQ(std::pair(rvx420.Choice().function, rvx420.Choice().probeIndex),
              std::pair(MeasureFunction::MagneticField, 1));
}

TEST(DisplayDialogsTest, LimitLinesFilesAndRowsAreCheckedAndTidiedBeforeOk) {
    orvel::test::EnsureQtApplication();
    const orvel::test::TempFolder dir;
    LimitLinesDialog dialog({}, {}, true);
    EXPECT_TRUE(dialog.LoadFile(0, dir.write("bad.csv", "1e9,-20\n\x01\x02garbage\n"))
                    .startsWith("Line 2"));
    EXPECT_EQ(dialog.tables[0]->rowCount(), 0) << "a refused file leaves the table";
    EXPECT_EQ(dialog.LoadFile(0, dir.path("missing.csv")), "This file can not be opened.");
    EXPECT_TRUE(
        dialog.LoadFile(1, dir.write("lower.csv", "2e9,-90\n1e9,-80\n")).contains("Sorted"));
    EXPECT_EQ(dialog.tables[1]->item(0, 0)->text(), "1000000000");

    // A bad row keeps the dialog open with its row number; saved lines read back.
    dialog.tables[0]->setRowCount(2);
    for (const auto& [row, column, text] :
         {std::tuple(0, 0, "1G"), {0, 1, "-20"}, {1, 0, "2G"}, {1, 1, "x"}})
        dialog.tables[0]->setItem(row, column, new QTableWidgetItem(text));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_TRUE(dialog.status->text().contains("Row 2")) << dialog.status->text().toStdString();
    dialog.tables[0]->item(1, 1)->setText("-30");
    ASSERT_TRUE(dialog.SaveFile(0, dir.path("upper.csv")));
    dialog.accept();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Upper(), (display::LimitLine{{1e9, -20}, {2e9, -30}}));
    LimitLinesDialog again({}, {}, false);
    EXPECT_EQ(again.LoadFile(0, dir.path("upper.csv")), "");
    EXPECT_EQ(again.tables[0]->rowCount(), 2);
}
