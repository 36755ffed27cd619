#pragma once
// The data side of the sortable report list: a table of texts with column titles, header tips,
// sort types and alignment, and the proxy that orders a clicked column by its sort type. The
// list widget (CListCtrlEx) shows them; copies and prints read the proxy, so they see the rows
// in the order shown.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <string>
#include <vector>

#include "appcore/ListTable.h"

namespace vorna {

class ListTextModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString title;
        QString tip;
        int width = 100; // the least width in pixels; longer texts widen the column
        ListSortType sort = ListSortType::Text;
        bool centred = false;
    };
    explicit ListTextModel(QObject* parent = nullptr) : QAbstractTableModel(parent) {}

    void SetColumns(std::vector<Column> columns);
    const std::vector<Column>& Columns() const { return m_columns; }
    void SetRows(std::vector<QStringList> rows);
    void Clear() { SetRows({}); }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

private:
    std::vector<Column> m_columns;
    std::vector<QStringList> m_rows;
};

// Orders the rows of a ListTextModel by the clicked column's sort type.
class ListSortProxy : public QSortFilterProxyModel {
    Q_OBJECT
public:
    explicit ListSortProxy(ListTextModel* source, QObject* parent = nullptr);

protected:
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    ListTextModel* m_source;
};

// The column titles and the cells of `model` in its row order, as core texts.
std::vector<std::string> ListTitles(const QAbstractItemModel& model);
std::vector<std::vector<std::string>> ListRows(const QAbstractItemModel& model);

} // namespace vorna
