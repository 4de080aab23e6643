#pragma once
// "Color edit": the eighteen display colours as swatch buttons in four groups. A swatch opens the
// colour chooser; a confirmed choice goes into gSettings at once. The dialog keeps no colours of
// its own: the caller saves them before and puts them back on Cancel (SavedColors).

#include <QDialog>
#include <QPushButton>

#include <cstdint>

// A button filled with the colour it stands for, 2 pixels inside its edge.
class ColorSwatch : public QPushButton {
    Q_OBJECT
public:
    ColorSwatch(uint32_t* color, QWidget* parent = nullptr);
    uint32_t* color() const { return color_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    uint32_t* color_;
};

class CColorEditDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kFirstSwatch = 1500;
    static constexpr int kSwatchCount = 18;

    explicit CColorEditDlg(QWidget* parent = nullptr);

    // The swatch with this button id (1500..1517), else nullptr.
    ColorSwatch* swatch(int id) const;
    QPushButton* okButton() const { return ok_; }
    QPushButton* cancelButton() const { return cancel_; }

private:
    void ChooseColor(ColorSwatch* swatch);

    ColorSwatch* swatches_[kSwatchCount];
    QPushButton* ok_;
    QPushButton* cancel_;
};

// The eighteen colours of gSettings, taken and put back.
struct SavedColors {
    uint32_t trace[11];
    uint32_t marker[7];
    uint32_t scaleLine;
    uint32_t background;

    static SavedColors Take();
    void Restore() const;
};
