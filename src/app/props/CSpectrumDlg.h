#pragma once
// The spectrum definition dialog (CSpectrumDlg): "Define Expression" for a new derived spectrum,
// "Modify Expression" or "Modify Spectrum Properties" for an open one. It shows and collects the
// header copy of a SpectrumPropertiesEdit, which decides what OK does.

#include <QDialog>

class QComboBox;
class QFormLayout;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorna {

class CSProfile;
class ColorButton;
class SpectrumPropertiesEdit;

class CSpectrumDlg : public QDialog {
    Q_OBJECT
public:
    CSpectrumDlg(SpectrumPropertiesEdit& edit, CSProfile& profile, QWidget* parent);

    QLineEdit* FileName() const { return m_fileName; }
    QLineEdit* Description() const { return m_description; }
    QLineEdit* Tag() const { return m_tag; }
    QLineEdit* Expression() const { return m_expression; }
    QComboBox* ContourWidth() const { return m_width; }
    ColorButton* ContourColor() const { return m_color; }
    QComboBox* Gain() const { return m_gain; }
    QPushButton* NotesButton() const { return m_notes; }

    // OK stays open when the edit refuses (its message has been shown).
    void accept() override;
    void reject() override;
    void done(int result) override;

private:
    void BuildFields(QFormLayout* form);
    void ShowHeader();
    void CollectHeader();
    void OpenNotes();

    SpectrumPropertiesEdit& m_edit;
    CSProfile& m_profile;
    QLineEdit* m_fileName;
    QLineEdit* m_description;
    QLineEdit* m_tag;
    QLabel* m_expressionLabel;
    QLineEdit* m_expression;
    QComboBox* m_width;
    ColorButton* m_color;
    QComboBox* m_gain;
    QPushButton* m_notes;
};

} // namespace vorna
