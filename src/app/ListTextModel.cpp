#include "app/ListTextModel.h"

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
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return m_rows[static_cast<size_t>(index.row())].value(index.column());
    if (role == Qt::TextAlignmentRole && m_columns[static_cast<size_t>(index.column())].centred)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignCenter));
    return {};
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

ListSortProxy::ListSortProxy(ListTextModel* source, QObject* parent)
    : QSortFilterProxyModel(parent), m_source(source) {
    setSourceModel(source);
}

bool ListSortProxy::lessThan(const QModelIndex& left, const QModelIndex& right) const {
    const auto& columns = m_source->Columns();
    const auto column = static_cast<size_t>(left.column());
    const ListSortType type = column < columns.size() ? columns[column].sort : ListSortType::Text;
    return CompareListCells(type, ToCore(left.data().toString()), ToCore(right.data().toString())) <
           0;
}

std::vector<std::string> ListTitles(const QAbstractItemModel& model) {
    std::vector<std::string> titles;
    for (int c = 0; c < model.columnCount(); ++c)
        titles.push_back(ToCore(model.headerData(c, Qt::Horizontal).toString()));
    return titles;
}

std::vector<std::vector<std::string>> ListRows(const QAbstractItemModel& model) {
    std::vector<std::vector<std::string>> rows;
    for (int r = 0; r < model.rowCount(); ++r) {
        std::vector<std::string> cells;
        for (int c = 0; c < model.columnCount(); ++c)
            cells.push_back(ToCore(model.index(r, c).data().toString()));
        rows.push_back(std::move(cells));
    }
    return rows;
}

} // namespace vorna
