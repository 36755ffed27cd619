#include "app/CListCtrlEx.h"

#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>

#include "app/TextConvert.h"

namespace vorna {

void ListTextModel::SetColumns(std::vector<Column> columns) {
    beginResetModel();
    m_columns = std::move(columns);
    endResetModel();
}

void ListTextModel::SetRows(std::vector<QStringList> rows) {
    beginResetModel();
    m_rows = std::move(rows);
    endResetModel();
}

int ListTextModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int ListTextModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_columns.size());
}

QVariant ListTextModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::DisplayRole)
        return {};
    return m_rows[static_cast<size_t>(index.row())].value(index.column());
}

QVariant ListTextModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 ||
        section >= static_cast<int>(m_columns.size()))
        return QAbstractTableModel::headerData(section, orientation, role);
    const Column& c = m_columns[static_cast<size_t>(section)];
    if (role == Qt::DisplayRole)
        return c.title;
    if (role == Qt::ToolTipRole)
        return c.tip;
    return {};
}

CListCtrlEx::CListCtrlEx(QWidget* parent) : QTableView(parent) {
    m_model = new ListTextModel(this);
    m_proxy = new QSortFilterProxyModel(this);
    m_proxy->setSourceModel(m_model);
    m_proxy->setSortCaseSensitivity(Qt::CaseSensitive);
    m_proxy->setSortRole(Qt::DisplayRole);
    setModel(m_proxy);
    setSortingEnabled(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    verticalHeader()->hide();
    // Report rows: one line each, as compact as the font allows.
    setWordWrap(false);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    horizontalHeader()->setStretchLastSection(true);
    horizontalHeader()->setSortIndicatorShown(true);
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
        setColumnWidth(column, std::max(columns[i].width, sizeHintForColumn(column)));
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
    for (int r = 0; r < m_proxy->rowCount(); ++r) {
        for (int c = 0; c < m_proxy->columnCount(); ++c)
            text += ToCore(CellText(r, c)) + '\t';
        text += '\n';
    }
    return text;
}

} // namespace vorna
