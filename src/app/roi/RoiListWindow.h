#pragma once
// The ROI list view: the active spectrum's ROIs with their statistics ("Regions of Interest
// Details"), following the active spectrum and its ROI edits. Its context menu carries the ROI
// list commands "Print" and "Copy". Modeless, one at a time, reopening where it was closed.

#include <QDialog>

namespace vorna {

class CListCtrlEx;
class CMainFrame;
class ProgramState;

class RoiListWindow : public QDialog {
    Q_OBJECT
public:
    RoiListWindow(ProgramState& state, CMainFrame& frame);

    CListCtrlEx* List() const { return m_list; }
    // Rows afresh from the active spectrum.
    void Refresh();

    void done(int result) override;

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    ProgramState& m_state;
    CMainFrame& m_frame;
    CListCtrlEx* m_list;
};

} // namespace vorna
