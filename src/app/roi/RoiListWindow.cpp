#include "app/roi/RoiListWindow.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/ReportCaptions.h"
#include "analysis/Reports.h"
#include "app/CListCtrlEx.h"
#include "app/CMainFrame.h"
#include "app/DialogPositions.h"
#include "app/InfoPane.h"
#include "app/TextConvert.h"
#include "app/ToolbarIcons.h"
#include "appcore/CommandTable.h"
#include "appcore/ProgramState.h"

namespace vorna {

RoiListWindow::RoiListWindow(ProgramState& state, CMainFrame& frame)
    : QDialog(&frame), m_state(state), m_frame(frame) {
    setObjectName("RoiListWindow");
    setWindowTitle(QString::fromLatin1(kRoiDetailsTitle));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    m_list = new CListCtrlEx(this);
    m_list->setObjectName("RoiListView");
    // The list keeps the ROI list's own order (by start).
    m_list->SetSortable(false);
    m_list->setShowGrid(true);
    layout->addWidget(m_list);
    std::vector<ListTextModel::Column> columns;
    for (const std::string& heading : RoiListHeadings())
        columns.push_back({FromCore(heading), QString(), 60});
    columns.back().centred = true; // the status
    m_list->Model().SetColumns(std::move(columns));
    Refresh();
    // The info pane refreshes after every ROI edit, recompute and change of the active
    // spectrum; the list follows it.
    connect(frame.Info(), &InfoPane::Refreshed, this, &RoiListWindow::Refresh);
    resize(m_list->ContentWidth() + 2 * layout->contentsMargins().left(),
           12 * m_list->verticalHeader()->defaultSectionSize());
    RestoreDialogPosition(*this, state.Profile(), ProfileDialog::RoiList);
}

void RoiListWindow::Refresh() {
    std::vector<QStringList> rows;
    if (const CSpectrum* spectrum = m_state.Spectra().GetActive()) {
        const AnalysisSettings& settings = m_state.Environment().settings;
        auto s = spectrum->Lock();
        for (const CRoiEntry& roi : s->m_roi.Entries()) {
            QStringList row;
            for (const std::string& cell : RoiListCells(roi, s->m_calibrate, settings))
                row << FromCore(cell);
            rows.push_back(row);
        }
    }
    m_list->Model().SetRows(std::move(rows));
    m_list->ApplyColumnWidths();
}

void RoiListWindow::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    for (CommandId id : {CommandId::RoiListPrint, CommandId::RoiListCopy}) {
        QAction* action = menu.addAction(QString::fromLatin1(FindCommand(id)->caption));
        action->setEnabled(m_list->RowCount() > 0);
        connect(action, &QAction::triggered, this, [this, id] { m_frame.Execute(ToInt(id)); });
    }
    menu.exec(event->globalPos());
}

// A window left open when the program ends is never closed: the profile keeps where it is now.
void RoiListWindow::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (isVisible())
        StoreDialogPosition(*this, m_state.Profile(), ProfileDialog::RoiList);
}

void RoiListWindow::done(int result) {
    StoreDialogPosition(*this, m_state.Profile(), ProfileDialog::RoiList);
    QDialog::done(result);
}

} // namespace vorna
