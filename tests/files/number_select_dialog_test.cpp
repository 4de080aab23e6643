// The number-select dialog's three forms: captions, controls, starting numbers, OK's range checks.

#include "instrument_settings.h"
#include "number_select_dialog.h"
#include "qt_support.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QScrollBar>
#include <gtest/gtest.h>

#include <cstdlib>
#include <tuple>

namespace {

TEST(NumberSelectDialog, FormsShowTheirControlsAndNumbersAndOkChecksTheRange) {
    orvel::test::EnsureQtApplication();
    SetDefaultSettings();
    std::tie(gSettings.memoryRangeStart, gSettings.memoryRangeEnd) = std::tuple(12, 34);
    const std::tuple<int, const char*, bool, bool, const char*, const char*> cases[] = {
        {CNumberSelectDlg::kFormSave, "Save number select", true, false, "12", "34"},
        {CNumberSelectDlg::kFormDelete, "Delete number select", true, true, "0", "99"},
        {CNumberSelectDlg::kFormLoad, "Load number select", false, false, "0", "99"},
    };
    for (const auto& [form, caption, endShown, boxesShown, start, end] : cases) {
        gSettings.memorySelectKind = form;
        CNumberSelectDlg dialog;
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), caption);
        EXPECT_EQ(std::tuple(dialog.endEdit()->isVisible(), dialog.endSpin()->isVisible(),
                             dialog.startLabel()->isVisible(), dialog.traceBox()->isVisible(),
                             dialog.paramBox()->isVisible(), dialog.traceBox()->isChecked()),
                  std::tuple(endShown, endShown, endShown, boxesShown, boxesShown, boxesShown))
            << caption;
        EXPECT_EQ(std::tuple(dialog.startEdit()->text(), dialog.endEdit()->text(),
                             dialog.startSpin()->maximum()),
                  std::tuple(start, end, 99));
        dialog.startSpin()->setValue(5);
        EXPECT_EQ(dialog.startEdit()->text(), "5") << "the spin steps the edit";
    }
    // OK takes the numbers inside the range; a refused range stores nothing.
    const std::tuple<int, const char*, const char*, bool> ranges[] = {
        {CNumberSelectDlg::kFormSave, "5", "3", false}, // end below start
        {CNumberSelectDlg::kFormSave, "0", "100", false},
        {CNumberSelectDlg::kFormDelete, "-1", "5", false},
        {CNumberSelectDlg::kFormDelete, "x", "5", false},
        {CNumberSelectDlg::kFormSave, "3", "3", true},
        {CNumberSelectDlg::kFormLoad, "99", "0", true}, // the end does not count when loading
        {CNumberSelectDlg::kFormLoad, "100", "0", false},
    };
    for (const auto& [form, start, end, accepted] : ranges) {
        std::tie(gSettings.memorySelectKind, gSettings.memoryRangeStart) = std::tuple(form, 7);
        CNumberSelectDlg dialog;
        dialog.startEdit()->setText(start);
        dialog.endEdit()->setText(end);
        EXPECT_EQ(dialog.TakeNumbers(), accepted) << start << ".." << end;
        EXPECT_EQ(gSettings.memoryRangeStart, accepted ? std::atoi(start) : 7) << start;
    }
    // The contents choice of the delete form.
    gSettings.memorySelectKind = CNumberSelectDlg::kFormDelete;
    CNumberSelectDlg dialog;
    dialog.paramBox()->setChecked(true);
    ASSERT_TRUE(dialog.TakeNumbers());
    EXPECT_EQ(gSettings.memorySelectKind, 3);
}

} // namespace
