#pragma once
// File > "Record...": starts and stops appending every live trace to a recording CSV.

#include "trace_recording.h"

#include <QObject>
#include <QString>

#include <functional>

class QAction;
class QWidget;

class RecordingMenu : public QObject {
    Q_OBJECT
public:
    RecordingMenu(QAction* action, QWidget* dialogParent);

    // The save dialog for the recording (filter "*.csv"); tests may replace it, an empty function
    // restores it. Empty on cancel.
    using PathChooser = std::function<QString(QWidget* parent)>;
    static void SetPathChooser(PathChooser chooser);

    // The entry was chosen: asks for a file and starts, or stops the recording under way.
    void Toggle();
    // A new live trace has been shown.
    void TraceArrived();
    const TraceRecorder& recorder() const { return recorder_; }

private:
    void Stopped(const QString& problem);

    QAction* action_;
    QWidget* parent_;
    TraceRecorder recorder_;
};
