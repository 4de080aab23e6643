#include "main_menu.h"

#include "menu_ids.h"

#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>

namespace {

void nameEntry(QAction* action, int id) {
    action->setData(id);
    action->setObjectName(QStringLiteral("menu%1").arg(id));
}

} // namespace

QAction* MainMenu::addEntry(QMenu* menu, const char* caption, int id) {
    QAction* action = menu->addAction(QString::fromLatin1(caption));
    nameEntry(action, id);
    actions_.insert(id, action);
    menus_.insert(id, menu);
    return action;
}

void MainMenu::adopt(int id, QAction* replacement) {
    QAction* old = actions_.value(id, nullptr);
    QMenu* menu = menus_.value(id, nullptr);
    if (old == nullptr || menu == nullptr || replacement == nullptr || old == replacement) {
        return;
    }
    replacement->setText(old->text());
    replacement->setShortcut(old->shortcut());
    nameEntry(replacement, id);
    menu->insertAction(old, replacement);
    menu->removeAction(old);
    actions_.insert(id, replacement);
    delete old;
}

MainMenu::MainMenu(QMenuBar* bar) {
    using namespace menuid;

    QMenu* file = bar->addMenu(QStringLiteral("File(&F)"));
    QMenu* loadRvx = file->addMenu(QStringLiteral("Load RVX"));
    addEntry(loadRvx, "Load(&L)...", kLoadRvx);
    addEntry(loadRvx, "Load Trace Only(&T)...", kLoadRvxTraceOnly);
    addEntry(loadRvx, "Load Param Only(&P)...", kLoadRvxParamOnly);
    QMenu* loadPc = file->addMenu(QStringLiteral("Load PC"));
    addEntry(loadPc, "Load(&L)...", kLoadPc);
    addEntry(loadPc, "Load Trace Only(&T)...", kLoadPcTraceOnly);
    addEntry(loadPc, "Load Param Only(&P)...", kLoadPcParamOnly);
    file->addSeparator();
    addEntry(file, "Save(&S)...", kSave)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    addEntry(file, "RVX Data Save(&A)...", kRvxDataSave);
    file->addSeparator();
    addEntry(file, "RVX Data Delete(&D)...", kRvxDataDelete)
        ->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_D));
    addEntry(file, "Write E/F User Data(&E)...", kWriteEfUserData);
    addEntry(file, "Write M/F User Data(&M)...", kWriteMfUserData);
    file->addSeparator();
    addEntry(file, "Print(&P)...", kPrint)->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_P));
    file->addSeparator();
    QMenu* capture = file->addMenu(QStringLiteral("Screen Capture(&C)"));
    addEntry(capture, "Save(&S)...", kCaptureSave);
    addEntry(capture, "Clip board(&C)", kCaptureClipboard);
    addEntry(file, "Hard Copy(&H)...", kHardCopy);
    addEntry(file, "Record...", kRecord);
    file->addSeparator();
    addEntry(file, "Exit(&X)", kExit);

    QMenu* control = bar->addMenu(QStringLiteral("Control(&C)"));
    addEntry(control, "Trace Select(&T)...", kTraceSelect);
    addEntry(control, "All Reading(&R)", kAllReading);
    addEntry(control, "All Setting(&S)", kAllSetting);
    addEntry(control, "Conversion(&C)...", kConversion);
    addEntry(control, "Preset(&P)", kPreset);
    addEntry(control, "Auto Tune(A)", kAutoTune);
    addEntry(control, "Hold/Run(&H)", kHoldRun);
    addEntry(control, "Measuring Function(&M)...", kMeasuringFunction);
    addEntry(control, "Marker to CF", kMarkerToCf);
    addEntry(control, "Remote(&E)", kRemote)->setCheckable(true);
    QMenu* markerDisplay = control->addMenu(QStringLiteral("Marker Display"));
    for (auto [caption, id] :
         {std::pair{"Marker 1 and 2", kMarker1And2}, std::pair{"Marker 1 Only", kMarker1Only},
          std::pair{"Marker 2 Only", kMarker2Only}, std::pair{"Marker None", kMarkerNone}}) {
        addEntry(markerDisplay, caption, id)->setCheckable(true);
    }
    checkMarkerDisplay(kMarker1And2);

    QMenu* option = bar->addMenu(QStringLiteral("Option(&O)"));
    addEntry(option, "Setup(&S)...", kSetup);
    addEntry(option, "Color Edit(&C)...", kColorEdit);
    QAction* detailed = addEntry(option, "Detailed Trace(&D)", kDetailedTrace);
    detailed->setCheckable(true);
    detailed->setChecked(true);

    QMenu* help = bar->addMenu(QStringLiteral("Help(&H)"));
    addEntry(help, "Help(&H)...", kHelp);
    addEntry(help, "About(&A)...", kAbout);
}

void MainMenu::checkMarkerDisplay(int id) {
    for (int entry = menuid::kMarker1And2; entry <= menuid::kMarkerNone; ++entry) {
        actions_.value(entry)->setChecked(entry == id);
    }
}
