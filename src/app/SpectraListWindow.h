#pragma once
// The spectra list window (CSpectraListDisplay): one row per open spectrum with its status
// letters, a sample of its line and its tag. A click activates the spectrum, a right click opens
// the per-spectrum commands.

#include <QDialog>
#include <vector>

#include "appcore/SpectraListRows.h"

namespace vorna {

class CMainFrame;
class ProgramState;

class SpectraListRowsView : public QWidget {
    Q_OBJECT
public:
    SpectraListRowsView(ProgramState& state, CMainFrame& frame, QWidget* parent);
    void SetRows(std::vector<SpectraListRow> rows);
    const std::vector<SpectraListRow>& Rows() const { return m_rows; }
    int RowHeight() const;
    QSize sizeHint() const override;
    int HighlightedRow() const { return m_contextRow; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    // Up, Down, Home and End move the active spectrum as a list box selection would.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OpenContextMenu(const QPoint& local, const QPoint& global);

    ProgramState& m_state;
    CMainFrame& m_frame;
    std::vector<SpectraListRow> m_rows;
    int m_contextRow = -1;
};

class SpectraListWindow : public QDialog {
    Q_OBJECT
public:
    SpectraListWindow(ProgramState& state, CMainFrame& frame);
    ~SpectraListWindow() override;
    // Re-lays out for the current list and shows the window.
    void Refresh();
    SpectraListRowsView* View() const { return m_view; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    ProgramState& m_state;
    SpectraListRowsView* m_view;
};

} // namespace vorna
