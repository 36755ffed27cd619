#include "app/SpectraListWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QVBoxLayout>
#include <algorithm>

#include "app/CMainFrame.h"
#include "app/DialogPositions.h"
#include "app/InfoPane.h"
#include "app/TextConvert.h"
#include "appcore/CommandTable.h"
#include "appcore/ProgramState.h"

namespace vorna {

SpectraListRowsView::SpectraListRowsView(ProgramState& state, CMainFrame& frame, QWidget* parent)
    : QWidget(parent), m_state(state), m_frame(frame) {
    setObjectName("SpectraListRows");
    setFocusPolicy(Qt::StrongFocus);
}

void SpectraListRowsView::SetRows(std::vector<SpectraListRow> rows) {
    m_rows = std::move(rows);
    updateGeometry();
    update();
}

int SpectraListRowsView::RowHeight() const {
    return SpectraListLayout(fontMetrics().averageCharWidth(), fontMetrics().height(), 1).rowHeight;
}

QSize SpectraListRowsView::sizeHint() const {
    const auto g = SpectraListLayout(fontMetrics().averageCharWidth(), fontMetrics().height(),
                                     static_cast<int>(m_rows.size()));
    return {g.width, g.height};
}

void SpectraListRowsView::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    const QFontMetrics fm = fontMetrics();
    const auto g =
        SpectraListLayout(fm.averageCharWidth(), fm.height(), static_cast<int>(m_rows.size()));
    for (int i = 0; i < static_cast<int>(m_rows.size()); ++i) {
        const SpectraListRow& row = m_rows[static_cast<size_t>(i)];
        const int top = i * g.rowHeight;
        const int bottom = top + g.rowHeight;
        if (i == m_contextRow)
            p.fillRect(0, top, width(), g.rowHeight,
                       ColorFromRgbWord(static_cast<int>(kSpectraListContextFill)));
        p.setPen(QPen(ColorFromRgbWord(static_cast<int>(kSpectraListSeparator)), 2));
        p.drawLine(0, bottom - 1, width(), bottom - 1);
        const int baseline = bottom - 2 - fm.descent();
        p.setPen(Qt::black);
        p.drawText(g.tagX, baseline, FromCore(row.tag));
        const QColor color = ColorFromRgbWord(static_cast<int>(row.color));
        p.setPen(color);
        p.drawText(g.firstLetterX, baseline, QString::fromStdString(row.firstLetter));
        p.drawText(g.secondLetterX, baseline, QString::fromStdString(row.secondLetter));
        p.setPen(QPen(color, std::max(1, row.lineWidth)));
        const int middle = top + g.rowHeight / 2;
        p.drawLine(g.lineFromX, middle, g.lineToX, middle);
    }
}

void SpectraListRowsView::mousePressEvent(QMouseEvent* event) {
    const int row = SpectraListRowAt(event->position().toPoint().y(), fontMetrics().height(),
                                     static_cast<int>(m_rows.size()));
    if (row < 0)
        return;
    if (event->button() == Qt::RightButton) {
        OpenContextMenu(event->position().toPoint(), event->globalPosition().toPoint());
        return;
    }
    m_state.Spectra().Activate(row);
    m_frame.RefreshPanes();
}

void SpectraListRowsView::keyPressEvent(QKeyEvent* event) {
    CSpectraList& list = m_state.Spectra();
    const int active = list.GetActivePosition();
    const int last = static_cast<int>(m_rows.size()) - 1;
    int row = -1;
    switch (event->key()) {
    case Qt::Key_Up:
        row = std::max(0, active - 1);
        break;
    case Qt::Key_Down:
        row = std::min(last, active + 1);
        break;
    case Qt::Key_Home:
        row = 0;
        break;
    case Qt::Key_End:
        row = last;
        break;
    default:
        QWidget::keyPressEvent(event);
        return;
    }
    if (row >= 0 && row != active) {
        list.Activate(row);
        m_frame.RefreshPanes();
    }
    event->accept();
}

void SpectraListRowsView::OpenContextMenu(const QPoint& local, const QPoint& global) {
    m_contextRow =
        SpectraListRowAt(local.y(), fontMetrics().height(), static_cast<int>(m_rows.size()));
    update();
    m_frame.SetContextRow(m_contextRow);
    m_frame.UpdateCommandStates();
    std::unique_ptr<QMenu> menu(m_frame.BuildPopup(SpectraListContextMenu()));
    QAction* chosen = menu->exec(global);
    // The command runs for the context row; the row loses its highlight afterwards.
    if (!chosen)
        m_frame.SetContextRow(-1);
    m_contextRow = -1;
    update();
}

SpectraListWindow::SpectraListWindow(ProgramState& state, CMainFrame& frame)
    : QDialog(&frame, Qt::Tool), m_state(state) {
    setObjectName("SpectraListWindow");
    setWindowTitle(QStringLiteral("Spectra List"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(2, 2, 2, 2);
    m_view = new SpectraListRowsView(state, frame, this);
    layout->addWidget(m_view);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    Refresh();
    RestoreDialogPosition(*this, state.Profile(), ProfileDialog::SpectraList);
}

SpectraListWindow::~SpectraListWindow() {
    StoreDialogPosition(*this, m_state.Profile(), ProfileDialog::SpectraList);
}

void SpectraListWindow::Refresh() {
    m_view->SetRows(SpectraListRows(m_state.Spectra()));
    m_view->setFixedSize(m_view->sizeHint());
    adjustSize();
    show();
}

void SpectraListWindow::closeEvent(QCloseEvent* event) {
    StoreDialogPosition(*this, m_state.Profile(), ProfileDialog::SpectraList);
    QDialog::closeEvent(event);
}

} // namespace vorna
