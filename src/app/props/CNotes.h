#pragma once
// "Additional Notes" (CNotes): a spectrum's three notes and its print choices. It edits the
// spectrum dialog's header copy; the DPP print choice belongs to the whole program.

#include <QDialog>

class QCheckBox;
class QFormLayout;
class QPlainTextEdit;

namespace vorna {

class CSProfile;
struct SpectrumHeader;

class CNotes : public QDialog {
    Q_OBJECT
public:
    CNotes(SpectrumHeader& header, CSProfile& profile, QWidget* parent);

    QPlainTextEdit* General() const { return m_general; }
    QPlainTextEdit* System() const { return m_system; }
    QPlainTextEdit* Other() const { return m_other; }
    QCheckBox* PrintNotes() const { return m_printNotes; }
    QCheckBox* PrintDpp() const { return m_printDpp; }

    void accept() override;
    void done(int result) override;

private:
    QPlainTextEdit* AddNotesField(QFormLayout* form, const QString& label);

    SpectrumHeader& m_header;
    CSProfile& m_profile;
    QPlainTextEdit* m_general;
    QPlainTextEdit* m_system;
    QPlainTextEdit* m_other;
    QCheckBox* m_printNotes;
    QCheckBox* m_printDpp;
};

} // namespace vorna
