#pragma once
// "Keyboard Accelerators": the keys of the plot window in a sortable two-column list.

#include <QDialog>

namespace vorna {

class CListCtrlEx;
class CMainFrame;

class KeyboardMapDialog : public QDialog {
    Q_OBJECT
public:
    explicit KeyboardMapDialog(CMainFrame& frame);
    CListCtrlEx* List() const { return m_list; }
    // Fills the list afresh in table order.
    void Fill();
    // The "Copy" command: the list as text on the clipboard; false with a message on failure.
    bool CopyList();
    // The "Print" command: the list paged under "Keyboard Shortcuts"; false when not printed.
    bool PrintList();

private:
    CListCtrlEx* m_list;
};

} // namespace vorna
