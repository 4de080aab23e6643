#include "measuring_function_dialog.h"
#include "trace_select_dialog.h"
#include "widget_test_support.h"

#include <QCheckBox>
#include <QRadioButton>

TEST(TraceSelectDialogTest, OpensWithTheCurrentChoiceAndKeepsTheFlagsWhenAllAreCleared) {
    displaytest::EnsureApplication();
    int view[11] = {0, 1, 0, 1, 0, 0, 0, 0, 0, 0, 1};
    TraceSelectDialog dialog(3, view);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Trace Select"));
    EXPECT_TRUE(dialog.TraceRadio(3)->isChecked());
    EXPECT_EQ(dialog.TraceRadio(10)->text(), QStringLiteral("Trace10"));
    EXPECT_TRUE(dialog.ViewBox(10)->isChecked());
    EXPECT_FALSE(dialog.ViewBox(2)->isChecked());

    dialog.TraceRadio(5)->setChecked(true);
    dialog.ViewBox(2)->setChecked(true);
    int out[11] = {};
    dialog.ViewFlags(out);
    EXPECT_EQ(dialog.ActiveTraceSlot(), 5);
    EXPECT_EQ(out[2], 1);

    for (int i = 1; i <= 10; ++i)
        dialog.ViewBox(i)->setChecked(false);
    dialog.ViewFlags(out);
    for (int i = 1; i <= 10; ++i)
        EXPECT_EQ(out[i], view[i]) << i;
}

TEST(MeasuringFunctionDialogTest, EnableRulesAndChoices) {
    displaytest::EnsureApplication();
    display::MeasureChoice current;
    current.measureIndex = 2;
    current.acpMode = 1;
    MeasuringFunctionDialog zeroSpan(current, display::MeasureDialogRulesFor(0, 0));
    EXPECT_EQ(zeroSpan.windowTitle(), QStringLiteral("Measuring Function"));
    EXPECT_TRUE(zeroSpan.acpRadio[1]->isChecked());
    EXPECT_FALSE(zeroSpan.cpRadio[0]->isEnabled());
    EXPECT_FALSE(zeroSpan.obwRadio[1]->isEnabled());
    EXPECT_FALSE(zeroSpan.antennaRadio[6]->isEnabled());
    EXPECT_TRUE(zeroSpan.antennaRadio[6]->isHidden());
    EXPECT_TRUE(zeroSpan.counterRadio->isEnabled());

    MeasuringFunctionDialog full(current, display::MeasureDialogRulesFor(14, 0));
    EXPECT_TRUE(full.cpRadio[0]->isEnabled());
    EXPECT_FALSE(full.counterRadio->isEnabled());

    MeasuringFunctionDialog rvx420(current, display::MeasureDialogRulesFor(14, 1));
    EXPECT_TRUE(rvx420.antennaRadio[6]->isEnabled());
    EXPECT_FALSE(rvx420.antennaRadio[6]->isHidden());
    EXPECT_TRUE(rvx420.counterRadio->isEnabled());

    rvx420.antennaRadio[5]->setChecked(true); // AT15
    display::MeasureChoice chosen = rvx420.Choice();
    EXPECT_EQ(chosen.measureIndex, 4);
    EXPECT_EQ(chosen.antennaIndex, 5);
    EXPECT_EQ(chosen.acpMode, 1); // the other sub-choices stay
    rvx420.offRadio->setChecked(true);
    EXPECT_EQ(rvx420.Choice().measureIndex, 0);
    rvx420.probeRadio[1]->setChecked(true);
    chosen = rvx420.Choice();
    EXPECT_EQ(chosen.measureIndex, 5);
    EXPECT_EQ(chosen.probeIndex, 1);
}
