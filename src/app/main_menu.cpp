#include "main_menu.h"

#include "menu_ids.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

QAction* addEntry(QMenu* menu, QHash<int, QAction*>& actions, const char* caption, int id) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    action->setData(id);
    action->setObjectName(QStringLiteral("menu%1").arg(id));
    actions.insert(id, action);
    return action;
}

} // namespace

MainMenu::MainMenu(QMenuBar* bar) {
    using namespace menuid;

    QMenu* file = bar->addMenu(QStringLiteral("File(&F)"));
    QMenu* loadRvx = file->addMenu(QStringLiteral("Load RVX"));
    addEntry(loadRvx, actions_, "Load(&L)...", kLoadRvx);
    addEntry(loadRvx, actions_, "Load Trace Only(&T)...", kLoadRvxTraceOnly);
    addEntry(loadRvx, actions_, "Load Param Only(&P)...", kLoadRvxParamOnly);
    QMenu* loadPc = file->addMenu(QStringLiteral("Load PC"));
    addEntry(loadPc, actions_, "Load(&L)...", kLoadPc);
    addEntry(loadPc, actions_, "Load Trace Only(&T)...", kLoadPcTraceOnly);
    addEntry(loadPc, actions_, "Load Param Only(&P)...", kLoadPcParamOnly);
    file->addSeparator();
    addEntry(file, actions_, "Save(&S)...", kSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addEntry(file, actions_, "RVX Data Save(&A)...", kRvxDataSave);
    file->addSeparator();
    addEntry(file, actions_, "RVX Data Delete(&D)...", kRvxDataDelete)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    addEntry(file, actions_, "Write E/F User Data(&E)...", kWriteEfUserData);
    addEntry(file, actions_, "Write M/F User Data(&M)...", kWriteMfUserData);
    file->addSeparator();
    addEntry(file, actions_, "Print(&P)...", kPrint)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    QMenu* capture = file->addMenu(QStringLiteral("Screen Capture(&C)"));
    addEntry(capture, actions_, "Save(&S)...", kCaptureSave);
    addEntry(capture, actions_, "Clip board(&C)", kCaptureClipboard);
    addEntry(file, actions_, "Hard Copy(&H)...", kHardCopy);
    file->addSeparator();
    addEntry(file, actions_, "Exit(&X)", kExit);

    QMenu* control = bar->addMenu(QStringLiteral("Control(&C)"));
    addEntry(control, actions_, "Trace Select(&T)...", kTraceSelect);
    addEntry(control, actions_, "All Reading(&R)", kAllReading);
    addEntry(control, actions_, "All Setting(&S)", kAllSetting);
    addEntry(control, actions_, "Conversion(&C)...", kConversion);
    addEntry(control, actions_, "Preset(&P)", kPreset);
    addEntry(control, actions_, "Auto Tune(A)", kAutoTune);
    addEntry(control, actions_, "Hold/Run(&H)", kHoldRun);
    addEntry(control, actions_, "Measuring Function(&M)...", kMeasuringFunction);
    addEntry(control, actions_, "Marker to CF", kMarkerToCf);
    addEntry(control, actions_, "Remote(&E)", kRemote)->setCheckable(true);
    QMenu* markerDisplay = control->addMenu(QStringLiteral("Marker Display"));
    for (auto [caption, id] :
         {std::pair{"Marker 1 and 2", kMarker1And2}, std::pair{"Marker 1 Only", kMarker1Only},
          std::pair{"Marker 2 Only", kMarker2Only}, std::pair{"Marker None", kMarkerNone}}) {
        addEntry(markerDisplay, actions_, caption, id)->setCheckable(true);
    }
    checkMarkerDisplay(kMarker1And2);

    QMenu* option = bar->addMenu(QStringLiteral("Option(&O)"));
    addEntry(option, actions_, "Setup(&S)...", kSetup);
    addEntry(option, actions_, "Color Edit(&C)...", kColorEdit);
    QAction* detailed = addEntry(option, actions_, "Detailed Trace(&D)", kDetailedTrace);
    detailed->setCheckable(true);
    detailed->setChecked(true);

    QMenu* help = bar->addMenu(QStringLiteral("Help(&H)"));
    addEntry(help, actions_, "Help(&H)...", kHelp);
    addEntry(help, actions_, "About(&A)...", kAbout);
}

void MainMenu::checkMarkerDisplay(int id) {
    for (int entry = menuid::kMarker1And2; entry <= menuid::kMarkerNone; ++entry) {
        actions_.value(entry)->setChecked(entry == id);
    }
}
