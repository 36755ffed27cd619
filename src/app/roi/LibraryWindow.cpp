#include "app/roi/LibraryWindow.h"

#include <QVBoxLayout>
#include <algorithm>

#include "app/CListCtrlEx.h"
#include "app/CMainFrame.h"
#include "app/DialogPositions.h"
#include "app/InfoPane.h"
#include "app/PlotPanes.h"
#include "app/TextConvert.h"
#include "app/ToolbarIcons.h"
#include "appcore/ProgramState.h"
#include "common/NumberText.h"

namespace vorna {

LibraryWindow::LibraryWindow(ProgramState& state, CMainFrame& frame)
    : QDialog(&frame), m_state(state), m_frame(frame) {
    setObjectName("LibraryWindow");
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    m_list = new CListCtrlEx(this);
    m_list->setObjectName("LibraryList");
    layout->addWidget(m_list);
    m_list->Model().SetColumns(
        {{QStringLiteral("Energy"), QStringLiteral("X-ray Line Energy"), 70, ListSortType::Decimal},
         {QStringLiteral("Element"), QStringLiteral("Element and X-ray Line"), 110}});

    m_list->OfferCopy(*this);
    m_list->OfferPrint(*this, QStringLiteral("&Print\tCtrl+P"), {}, [this] { PrintList(); });

    connect(&frame, &CMainFrame::CursorMoved, this, &LibraryWindow::Rebuild);
    // A library loaded or emptied (Load Library, the preferences) and a new active spectrum
    // reach the panes through the info pane's refresh.
    connect(frame.Info(), &InfoPane::Refreshed, this,
            [this] { Rebuild(m_frame.Panes().CursorAbsolute()); });
    Rebuild(frame.Panes().CursorAbsolute());
    const CSProfile& p = state.Profile();
    resize(std::max(p.libListWidth, m_list->ContentWidth() + 2 * layout->contentsMargins().left()),
           std::max(p.libListHeight, 8 * fontMetrics().height()));
    RestoreDialogPosition(*this, p, ProfileDialog::LibList);
}

void LibraryWindow::Rebuild(int cursorAbsolute) {
    const ElementLibrary& library = m_state.Library();
    setWindowTitle(FromCore(LibraryWindowTitle(library)));
    const AnalysisSettings& s = m_state.Environment().settings;
    std::vector<QStringList> rows;
    for (const LibraryWindowRow& r :
         LibraryRowsAtCursor(library, m_state.Spectra().GetActive(), cursorAbsolute,
                             s.calibrateEnable != 0, s.librarySens))
        rows.push_back({FromCore(r.energy), FromCore(r.element)});
    m_list->Model().SetRows(std::move(rows));
    m_list->ApplyColumnWidths();
}

bool LibraryWindow::PrintList() {
    return m_list->PrintForUser(*this, LibraryWindowTitle(m_state.Library()));
}

bool LibraryWindow::CopyList() {
    return m_list->CopyForUser(*this);
}

void LibraryWindow::StorePlacement() {
    CSProfile& p = m_state.Profile();
    StoreDialogPosition(*this, p, ProfileDialog::LibList);
    p.libListWidth = width();
    p.libListHeight = height();
}

// A window left open when the program ends is never closed: the profile keeps where it is now
// and its size.
void LibraryWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (isVisible())
        StorePlacement();
}

void LibraryWindow::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    if (isVisible())
        StorePlacement();
}

void LibraryWindow::done(int result) {
    StorePlacement();
    QDialog::done(result);
}

} // namespace vorna
