#pragma once
// "Define Regions of Interest": edits a copy of the active spectrum's ROI list through the
// core's RoiDefineEditor; OK hands the copy to the spectrum, Cancel drops it. Modeless, one at a
// time, reopening where it was closed.

#include <QDialog>
#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace vorna {

class CMainFrame;
class CSpectrum;
class ProgramState;
class RoiDefineEditor;

class DefineRoiDialog : public QDialog {
    Q_OBJECT
public:
    DefineRoiDialog(ProgramState& state, CMainFrame& frame, CSpectrum& spectrum);
    ~DefineRoiDialog() override;

    QListWidget* List() const { return m_list; }
    QLineEdit* StartField() const { return m_start; }
    QLineEdit* EndField() const { return m_end; }
    QPushButton* Button(const QString& objectName) const;

    void accept() override;
    void done(int result) override;

protected:
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* BuildFields();
    QWidget* BuildButtons();
    // A field message ("Invalid start position"…) in a message box, the field focused.
    void ShowFieldMessage(const std::string& message);
    void RunEdit(const std::string& message);
    void FillList();
    void RowChosen(int row);
    void ShowDetails();
    // The spectrum the copy came from, while it is still open.
    CSpectrum* Spectrum() const;

    ProgramState& m_state;
    CMainFrame& m_frame;
    CSpectrum* m_spectrum;
    std::unique_ptr<RoiDefineEditor> m_editor;
    QListWidget* m_list = nullptr;
    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
};

} // namespace vorna
