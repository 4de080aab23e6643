#pragma once
// "Setup dialog": the link page ("Comm Setup") and the start-up page ("Starting setup"). The pages
// store straight into gSettings on OK and Apply; a page the user never opened stores nothing.

#include <QDialog>
#include <QWidget>

class QComboBox;
class QLabel;
class QPushButton;
class QSlider;
class QTabWidget;

// What both pages share: the modified flag that enables the sheet's Apply button, and whether the
// page has been shown.
class SetupPage : public QWidget {
    Q_OBJECT
public:
    explicit SetupPage(QWidget* parent = nullptr) : QWidget(parent) {}

    bool IsModified() const { return modified_; }
    bool WasShown() const { return shown_; }

    // Stores the page's values into the settings.
    virtual void OnOK() = 0;
    // Stores, clears the modified flag.
    void OnApply();

signals:
    void modifiedChanged();

protected:
    void SetModified(bool modified);
    void showEvent(QShowEvent* event) override;

private:
    bool modified_ = false;
    bool shown_ = false;
};

class Csetupdlg : public SetupPage {
    Q_OBJECT
public:
    explicit Csetupdlg(QWidget* parent = nullptr);
    void OnOK() override;

    // Writes each port item again with its device and whether that device is there now.
    void RefreshPortItems();

    QComboBox* modelCombo;
    QComboBox* portCombo;
    QComboBox* baudCombo;
    QSlider* timeOutBar;
    QSlider* intervalBar;

private:
    QLabel* timeOutValue_;
    QLabel* intervalValue_;
};

class Cstartsetup : public SetupPage {
    Q_OBJECT
public:
    explicit Cstartsetup(QWidget* parent = nullptr);
    void OnOK() override;

    QComboBox* windowSizeCombo;
    QComboBox* startSettingCombo;
};

class Cpsheet : public QDialog {
    Q_OBJECT
public:
    explicit Cpsheet(QWidget* parent = nullptr);

    QTabWidget* tabs() const { return tabs_; }
    Csetupdlg* commPage() const { return comm_; }
    Cstartsetup* startPage() const { return start_; }
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }
    QPushButton* applyButton() const { return apply_; }

private:
    void OnOK();
    void OnApply();
    void UpdateApplyButton();

    QTabWidget* tabs_;
    Csetupdlg* comm_;
    Cstartsetup* start_;
    QPushButton* ok_;
    QPushButton* cancel_;
    QPushButton* apply_;
};

// Text of the port item `index` (0 = "COM1"): the name, then the device it leads to on this
// system and whether that device exists now.
QString PortItemText(int index);
