#pragma once
// The small caption-only message window, in one of two forms chosen by gSettings.memorySelectKind
// when it is created:
//  - 0, wait form: "Auto Tuning...\r\nPlease wait..." with Cancel. Every 500 ms it reads up to 8
//    bytes from the analyzer; "OK" (any case) ends it with 1. After 60 ticks without "OK" it shows
//    "Please check connection with %s." for a second and ends with 1. Cancel or Escape ends it
//    with 2 at once. Run it with exec() after sending "AUTO\r\n".
//  - non-zero, progress form: a message and a progress bar that the caller drives. Create it
//    modeless, show() it, set the text, range and position, and close() it when done.

#include <QDialog>
#include <QString>
#include <QTimer>
#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

class CMessageDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kWaitTickMs = 500;
    static constexpr int kMaxWaitTicks = 60;
    static constexpr int kTimeoutMessageMs = 1000;
    static constexpr int kResultAnswered = 1; // the analyzer answered "OK", or the wait timed out
    static constexpr int kResultCancelled = 2;

    // Reads up to maxBytes waiting bytes from the analyzer into gLink.rxBuffer, terminates
    // them and returns how many arrived (0 when none or the port is closed). Must not block for
    // long: it runs from the window's timer.
    using PortReader = std::function<int(int maxBytes)>;
    // The reader every wait form uses unless given its own; the program sets it once at start.
    static void SetDefaultPortReader(PortReader reader);

    explicit CMessageDlg(QWidget* parent = nullptr);
    ~CMessageDlg() override;

    bool isWaitForm() const { return waitForm_; }
    void setPortReader(PortReader reader) { reader_ = std::move(reader); }

    // Progress form (any form may set them). Line ends "\r\n" in the text show as line breaks.
    void setMessage(const QString& text);
    QString message() const;
    void setProgressRange(int minimum, int maximum);
    void setProgressPosition(int position);
    // Paints the window now, for callers that run a loop without dispatching events.
    void refreshNow();

    QLabel* messageLabel() const { return message_; }
    QProgressBar* progressBar() const { return progress_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* okButton() const { return ok_; }
    int tickCount() const { return ticks_; }
    bool isWaiting() const { return waitTimer_.isActive(); }

public slots:
    // One tick of the wait form's timer; runs from the timer, public for tests.
    void waitTick();
    // Cancel button and Escape.
    void reject() override;

private:
    void finishTimedOut();

    bool waitForm_;
    bool finishing_ = false;
    int ticks_ = 0;
    PortReader reader_;
    QTimer waitTimer_;
    QTimer finishTimer_;
    QLabel* message_;
    QProgressBar* progress_;
    QPushButton* ok_;
    QPushButton* cancel_;
};
