#pragma once
// The "Version information" box: program title, analyzer model and analyzer firmware version.

#include <QDialog>

class QLabel;

class CAboutDlg : public QDialog {
    Q_OBJECT
public:
    explicit CAboutDlg(QWidget* parent = nullptr);

    QLabel* titleLabel() const { return title_; }
    QLabel* modelLabel() const { return model_; }
    QLabel* versionLabel() const { return version_; }

private:
    QLabel* title_;
    QLabel* model_;
    QLabel* version_;
};
