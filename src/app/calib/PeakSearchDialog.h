#pragma once
// The Peak Search dialog (modal): searches the active spectrum, shows the peaks in a report and
// over the plot, and adds them to or puts them in place of the spectrum's ROI list.

#include <QDialog>
#include <memory>

#include "analysis/PeakSearchSession.h"

class QLineEdit;
class QPushButton;

namespace vorna {

class CMainFrame;
class CPlot;
class CSpectrum;
class ProgramState;

class PeakSearchDialog : public QDialog {
    Q_OBJECT
public:
    PeakSearchDialog(ProgramState& state, CMainFrame& frame, CSpectrum& spectrum);
    ~PeakSearchDialog() override;

    const PeakSearchSession& Session() const { return *m_session; }

    void SearchAll();
    void SearchRange();
    void AddToList();
    void ReplaceList();
    void ShowDetails();
    void accept() override;
    void reject() override;

private:
    PeakSearchFields Fields() const;
    void Searched(const std::string& message);
    void ShowReport(const char* title);
    void UpdateButtons();
    void Close();

    ProgramState& m_state;
    CSpectrum& m_spectrum;
    CPlot& m_plot;
    std::unique_ptr<PeakSearchSession> m_session;
    QLineEdit* m_sensitivity = nullptr;
    QLineEdit* m_width = nullptr;
    QLineEdit* m_start = nullptr;
    QLineEdit* m_end = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_details = nullptr;
};

} // namespace vorna
