#pragma once
// The sortable report list of the report, library and keyboard-map windows: a QTableView with
// full-row selection over a ListTextModel, ordered through its sort proxy when a header is
// clicked. An empty list says so under its header.

#include <QIcon>
#include <QTableView>
#include <string>

#include "app/ListTextModel.h"

namespace vorna {

class TextClipboard;

class CListCtrlEx : public QTableView {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);

    ListTextModel& Model() { return *m_model; }
    // The rows in the order shown (what copies and prints read).
    const QAbstractItemModel& ShownModel() const { return *m_proxy; }
    // Lists that keep their own order (the ROI list view) switch header sorting off.
    void SetSortable(bool sortable);
    // Back to the order the rows were given in.
    void ResetSort();
    // The rows as shown (sorted), each cell followed by a TAB, each line ending in LF.
    std::string Text() const;
    // The copy's text: the header line, then the rows as shown.
    std::string CopyText() const;
    // The copy onto the clipboard; -1 when the list has no rows, else a clipboard result.
    int CopyToClipboard(TextClipboard& clipboard) const;
    // The copy for the window `owner`: a clipboard failure is shown as "Clipboard Error - iError
    // = %d". False when nothing was copied (an empty list copies nothing and says nothing).
    bool CopyForUser(QWidget& owner) const;
    // The key the caption names after its tab (Ctrl+C by default) copies the list anywhere in
    // `window`; so does the "&Copy" entry of the context menu that `window` shows on a right
    // click (captioned `copyCaption`, with `copyIcon`).
    void OfferCopy(QWidget& window, const QString& copyCaption = QStringLiteral("&Copy\tCtrl+C"),
                   const QIcon& copyIcon = {});
    int RowCount() const { return m_proxy->rowCount(); }
    QString CellText(int row, int column) const;
    void ApplyColumnWidths();
    // Width that shows every column whole, with room for the scroll bar.
    int ContentWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ListTextModel* m_model;
    ListSortProxy* m_proxy;
};

} // namespace vorna
