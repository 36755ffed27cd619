#pragma once
// The report window: the ROI statistics of a report (peak search results, ROI details) in a
// sortable list under the caller's two caption lines, with "Copy" in its context menu and on
// Ctrl+C.

#include <QDialog>

#include "analysis/ReportCaptions.h"

class QLabel;

namespace vorna {

class CListCtrlEx;

class ReportWindow : public QDialog {
    Q_OBJECT
public:
    ReportWindow(const RoiReport& report, QWidget* parent);

    CListCtrlEx* List() const { return m_list; }
    QLabel* SpectrumCaption() const { return m_spectrumLine; }
    QLabel* LibraryCaption() const { return m_libraryLine; }
    // "Copy": the list with its header line on the clipboard; false after "Clipboard Error -
    // iError = %d" when it failed (nothing is copied from an empty list).
    bool CopyList();
    // "Print": the list paged under the window's title with its two caption lines; false when
    // nothing was printed (an empty list prints nothing).
    bool PrintList();

private:
    void Fill(const RoiReport& report);

    ReportCaptions m_captions;
    CListCtrlEx* m_list;
    QLabel* m_spectrumLine;
    QLabel* m_libraryLine;
};

// Shows `report` modally over `parent`.
void ShowRoiReport(const RoiReport& report, QWidget* parent);

} // namespace vorna
