#include "app/CListCtrlEx.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "analysis/Reports.h"
#include "app/QtTextClipboard.h"
#include "app/TextConvert.h"
#include "common/NumberText.h"

namespace vorna {

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTableView(parent) {
    m_model = new ListTextModel(this);
    m_proxy = new ListSortProxy(m_model, this);
    setModel(m_proxy);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    // Report rows: one line each, as compact as the font allows.
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
    SetSortable(true);
}

void CListCtrlEx::SetSortable(bool sortable) {
    setSortingEnabled(sortable);
    horizontalHeader()->setSortIndicatorShown(sortable);
    horizontalHeader()->setSectionsClickable(sortable);
    ResetSort();
}

void CListCtrlEx::ResetSort() {
    // Column -1 keeps the model's own order.
    m_proxy->sort(-1);
    horizontalHeader()->setSortIndicator(-1, Qt::AscendingOrder);
}

void CListCtrlEx::ApplyColumnWidths() {
    const auto& columns = m_model->Columns();
    // The given width is the least; a longer text widens its column so nothing is cut off.
    for (size_t i = 0; i < columns.size(); ++i) {
        const int column = static_cast<int>(i);
        const int header = horizontalHeader()->sectionSizeHint(column);
        setColumnWidth(column, std::max({columns[i].width, sizeHintForColumn(column), header}));
    }
}

int CListCtrlEx::ContentWidth() const {
    int width = verticalHeader()->isVisible() ? verticalHeader()->width() : 0;
    for (int column = 0; column < m_model->columnCount(); ++column)
        width += columnWidth(column);
    return width + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
}

QString CListCtrlEx::CellText(int row, int column) const {
    return m_proxy->index(row, column).data().toString();
}

std::string CListCtrlEx::Text() const {
    std::string text;
    for (const auto& row : ListRows(*m_proxy)) {
        for (const std::string& cell : row)
            text += cell + '\t';
        text += '\n';
    }
    return text;
}

std::string CListCtrlEx::CopyText() const {
    return ListCopyText(ListTitles(*m_proxy), ListRows(*m_proxy));
}

int CListCtrlEx::CopyToClipboard(TextClipboard& clipboard) const {
    if (RowCount() == 0)
        return kClipboardNothing;
    return PutTextOnClipboard(clipboard, CopyText());
}

bool CListCtrlEx::CopyForUser(QWidget& owner) const {
    QtTextClipboard clipboard;
    const int result = CopyToClipboard(clipboard);
    if (result == kClipboardNothing && RowCount() == 0)
        return false;
    if (result < 0) {
        QMessageBox::warning(
            &owner, owner.windowTitle(),
            QString::fromStdString(Format("Clipboard Error - iError = %d", result)));
        return false;
    }
    return true;
}

void CListCtrlEx::OfferCopy(QWidget& window, const QString& copyCaption, const QIcon& copyIcon) {
    QWidget* owner = &window;
    auto* shortcut = new QAction(owner);
    // The menu shows the key, so the key is the one the menu shows.
    const QString key = copyCaption.section(QLatin1Char('\t'), 1);
    shortcut->setShortcut(key.isEmpty() ? QKeySequence(QKeySequence::Copy) : QKeySequence(key));
    shortcut->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QAction::triggered, this, [this, owner] { CopyForUser(*owner); });
    owner->addAction(shortcut);
    // Right clicks on the list or the window's other parts reach the window's menu.
    owner->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(owner, &QWidget::customContextMenuRequested, this,
            [this, owner, copyCaption, copyIcon](const QPoint& at) {
                QMenu menu(owner);
                // Printing the list belongs to the printing work; the copy is offered here.
                QAction* copy = menu.addAction(copyIcon, copyCaption);
                copy->setEnabled(RowCount() > 0);
                connect(copy, &QAction::triggered, this, [this, owner] { CopyForUser(*owner); });
                menu.exec(owner->mapToGlobal(at));
            });
}

void CListCtrlEx::paintEvent(QPaintEvent* event) {
    QTableView::paintEvent(event);
    if (RowCount() > 0)
        return;
    QPainter painter(viewport());
    painter.setPen(palette().color(QPalette::PlaceholderText));
    const QRect area = viewport()->rect().adjusted(0, fontMetrics().height() / 2, 0, 0);
    painter.drawText(area, Qt::AlignHCenter | Qt::AlignTop, QString::fromLatin1(kEmptyListText));
}

} // namespace vorna
