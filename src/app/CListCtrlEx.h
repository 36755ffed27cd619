#pragma once
// A sortable report list: a table model of texts with header tips, a sort proxy that orders a
// clicked column as text, and a view with full-row selection. The report, library and keyboard
// map windows share it.

#include <QAbstractTableModel>
#include <QSortFilterProxyModel>
#include <QStringList>
#include <QTableView>
#include <vector>

namespace vorna {

class ListTextModel : public QAbstractTableModel {
    Q_OBJECT
public:
    struct Column {
        QString title;
        QString tip;
        int width = 100;
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

class CListCtrlEx : public QTableView {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    ListTextModel& Model() { return *m_model; }
    // Back to the order the rows were given in.
    void ResetSort();
    // The rows as shown (sorted), each cell followed by a TAB, each line ending in LF.
    std::string Text() const;
    int RowCount() const { return m_proxy->rowCount(); }
    QString CellText(int row, int column) const;
    void ApplyColumnWidths();
    // Width that shows every column whole, with room for the scroll bar.
    int ContentWidth() const;

private:
    ListTextModel* m_model;
    QSortFilterProxyModel* m_proxy;
};

} // namespace vorna
