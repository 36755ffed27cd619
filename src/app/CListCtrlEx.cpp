#include "app/CListCtrlEx.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QScrollBar>
#include <algorithm>

#include "analysis/Reports.h"
#include "app/QtTextClipboard.h"
#include "app/TextConvert.h"
#include "common/NumberText.h"
#include "output/ListPrinter.h"
#include "output/PrinterChoice.h"

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

CListCtrlEx::~CListCtrlEx() = default;

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

void CListCtrlEx::InstallMenu(QWidget& window) {
    if (m_menuInstalled)
        return;
    m_menuInstalled = true;
    QWidget* owner = &window;
    // Right clicks on the list or the window's other parts reach the window's menu.
    owner->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(owner, &QWidget::customContextMenuRequested, this, [this, owner](const QPoint& at) {
        QMenu menu(owner);
        for (const MenuEntry& e : m_menu) {
            QAction* action = menu.addAction(e.icon, e.caption);
            action->setEnabled(RowCount() > 0);
            connect(action, &QAction::triggered, this, e.action);
        }
        menu.exec(owner->mapToGlobal(at));
    });
}

void CListCtrlEx::OfferCopy(QWidget& window, const QString& copyCaption, const QIcon& copyIcon) {
    QWidget* owner = &window;
    auto* shortcut = new QAction(owner);
    shortcut->setShortcut(QKeySequence::Copy);
    shortcut->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(shortcut, &QAction::triggered, this, [this, owner] { CopyForUser(*owner); });
    owner->addAction(shortcut);
    m_menu.push_back({copyCaption, copyIcon, [this, owner] { CopyForUser(*owner); }});
    InstallMenu(window);
}

void CListCtrlEx::OfferPrint(QWidget& window, const QString& printCaption, const QIcon& printIcon,
                             std::function<void()> print) {
    QWidget* owner = &window;
    const QString keys = printCaption.section(QLatin1Char('\t'), 1);
    if (!keys.isEmpty()) {
        auto* shortcut = new QAction(owner);
        shortcut->setShortcut(QKeySequence(keys));
        shortcut->setShortcutContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QAction::triggered, this, [this, print] {
            if (RowCount() > 0)
                print();
        });
        owner->addAction(shortcut);
    }
    m_menu.insert(m_menu.begin(), {printCaption, printIcon, std::move(print)});
    InstallMenu(window);
}

void CListCtrlEx::UseStandardPrintOptions(const std::string& titleA, const std::string& titleB) {
    m_printOptions = ListPrintOptions{};
    m_printOptions.titleA = titleA;
    m_printOptions.titleB = titleB;
}

PrinterSelect CListCtrlEx::SelectPrinter(QWidget* owner, bool useDefault) {
    std::unique_ptr<QPrinter> printer;
    if (useDefault) {
        const QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return PrinterSelect::NoPrinter;
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    } else {
        printer = PrinterChoice::For(owner ? owner : this).Choose(owner);
        if (!printer)
            return PrinterSelect::Cancelled;
    }
    if (!printer->isValid())
        return PrinterSelect::NoPrinter;
    m_printer = std::move(printer);
    return PrinterSelect::Chosen;
}

bool CListCtrlEx::PrintList(QWidget* owner, const std::string& title, bool useDefault) {
    if (!m_printer && SelectPrinter(owner, useDefault) != PrinterSelect::Chosen)
        return false;
    ListPrintJob job;
    job.title = title;
    job.options = m_printOptions;
    if (job.options.autoSizeColumns)
        resizeColumnsToContents();
    const auto titles = ListTitles(*m_proxy);
    const auto& columns = m_model->Columns();
    for (size_t i = 0; i < titles.size(); ++i) {
        ListPrintColumn c;
        c.title = titles[i];
        const int column = static_cast<int>(i);
        c.screenWidth = isColumnHidden(column) ? 0 : columnWidth(column);
        c.align = i < columns.size() && columns[i].centred ? PrintAlign::Centre : PrintAlign::Left;
        job.columns.push_back(std::move(c));
    }
    job.rows = ListRows(*m_proxy);
    job.utc = std::time(nullptr);
    return PrintListJob(*m_printer, job);
}

bool CListCtrlEx::PrintForUser(QWidget& owner, const std::string& title, const std::string& titleA,
                               const std::string& titleB) {
    UseStandardPrintOptions(titleA, titleB);
    const PrinterSelect select = SelectPrinter(&owner, false);
    const bool printed = select == PrinterSelect::Chosen && PrintList(&owner, title, false);
    if (const std::string message = ListPrintMessage(select, printed); !message.empty())
        QMessageBox::warning(&owner, owner.windowTitle(), QString::fromStdString(message));
    return printed;
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
