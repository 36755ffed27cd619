#pragma once
// "Specify Contour and Tag" (CPropDefaultDlg): one display slot's line width, colour and tag.
// OK writes them into the slot at once; a refused entry keeps the dialog open.

#include <QDialog>

class QComboBox;
class QLineEdit;

namespace vorna {

class ColorButton;
class SpectraSlotsEditor;
class UserPrompt;

class CPropDefaultDlg : public QDialog {
    Q_OBJECT
public:
    CPropDefaultDlg(SpectraSlotsEditor& editor, int slot, UserPrompt& prompt, QWidget* parent);

    QComboBox* ContourWidth() const { return m_width; }
    ColorButton* ContourColor() const { return m_color; }
    QLineEdit* Tag() const { return m_tag; }

    void accept() override;

private:
    SpectraSlotsEditor& m_editor;
    int m_slot;
    UserPrompt& m_prompt;
    QComboBox* m_width;
    ColorButton* m_color;
    QLineEdit* m_tag;
};

} // namespace vorna
