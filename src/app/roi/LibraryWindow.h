#pragma once
// "Library - %s": the element library's lines around the plot cursor's energy, rebuilt when the
// window opens and whenever the cursor moves. Modeless, one at a time; position and size are
// kept in the profile.

#include <QDialog>

namespace vorna {

class CListCtrlEx;
class CMainFrame;
class ProgramState;

class LibraryWindow : public QDialog {
    Q_OBJECT
public:
    LibraryWindow(ProgramState& state, CMainFrame& frame);

    CListCtrlEx* List() const { return m_list; }
    // Title and rows afresh around the cursor at `cursorAbsolute`.
    void Rebuild(int cursorAbsolute);
    // "&Copy": the list on the clipboard when it has rows; false after "Clipboard Error -
    // iError = %d".
    bool CopyList();
    // "&Print": the list paged under the window's title; false when not printed.
    bool PrintList();

    void done(int result) override;

protected:
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void StorePlacement();

    ProgramState& m_state;
    CMainFrame& m_frame;
    CListCtrlEx* m_list;
};

} // namespace vorna
