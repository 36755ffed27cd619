#pragma once
// The sortable report list of the report, library and keyboard-map windows: a QTableView with
// full-row selection over a ListTextModel, ordered through its sort proxy when a header is
// clicked. An empty list says so under its header.

#include <QIcon>
#include <QTableView>
#include <functional>
#include <memory>
#include <string>

#include "app/ListTextModel.h"
#include "output/core/ListPrintLayout.h"
#include "output/core/OutputTexts.h"

class QPrinter;

namespace vorna {

class TextClipboard;

class CListCtrlEx : public QTableView {
    Q_OBJECT
public:
    explicit CListCtrlEx(QWidget* parent = nullptr);
    ~CListCtrlEx() override;

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
    // Ctrl+C anywhere in `window` copies the list; so does the "&Copy" entry of the context menu
    // that `window` shows on a right click (captioned `copyCaption`, with `copyIcon`).
    void OfferCopy(QWidget& window, const QString& copyCaption = QStringLiteral("&Copy\tCtrl+C"),
                   const QIcon& copyIcon = {});
    // "&Print" in the same context menu, before "&Copy", and on the caption's key: `print` runs
    // the window's print.
    void OfferPrint(QWidget& window, const QString& printCaption, const QIcon& printIcon,
                    std::function<void()> print);

    // Paged printing. The settings every list print user sets: whole columns, column lines,
    // title block and footer, no fills; `titleA`/`titleB` on the title block's first and third
    // lines.
    ListPrintOptions& PrintOptions() { return m_printOptions; }
    void UseStandardPrintOptions(const std::string& titleA = {}, const std::string& titleB = {});
    // The print dialog (or the default printer) for the next print of this list.
    PrinterSelect SelectPrinter(QWidget* owner, bool useDefault);
    // Prints the rows as shown under `title`; false when there is no printer or it failed.
    bool PrintList(QWidget* owner, const std::string& title, bool useDefault);
    // A print as the report, library and keyboard-map windows run it: standard settings, the
    // dialog, the print, and their messages over `owner`. True when printed.
    bool PrintForUser(QWidget& owner, const std::string& title, const std::string& titleA = {},
                      const std::string& titleB = {});

    int RowCount() const { return m_proxy->rowCount(); }
    QString CellText(int row, int column) const;
    void ApplyColumnWidths();
    // Width that shows every column whole, with room for the scroll bar.
    int ContentWidth() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    struct MenuEntry {
        QString caption;
        QIcon icon;
        std::function<void()> action;
    };
    void InstallMenu(QWidget& window);

    ListTextModel* m_model;
    ListSortProxy* m_proxy;
    std::vector<MenuEntry> m_menu;
    bool m_menuInstalled = false;
    ListPrintOptions m_printOptions;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace vorna
