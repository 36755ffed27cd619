#include "app/roi/ReportWindow.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>
#include <algorithm>

#include "app/CListCtrlEx.h"
#include "app/TextConvert.h"
#include "app/ToolbarIcons.h"
#include "common/NumberText.h"

namespace vorna {

namespace {

QLabel* captionLabel(const std::string& text, QWidget* parent) {
    auto* label = new QLabel(FromCore(text), parent);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    label->setVisible(!text.empty());
    return label;
}

} // namespace

ReportWindow::ReportWindow(const RoiReport& report, QWidget* parent)
    : QDialog(parent), m_captions(report.captions) {
    setObjectName("ReportWindow");
    setWindowTitle(FromCore(report.captions.title));
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    m_spectrumLine = captionLabel(report.captions.spectrumLine, this);
    m_libraryLine = captionLabel(report.captions.libraryLine, this);
    layout->addWidget(m_spectrumLine);
    layout->addWidget(m_libraryLine);
    m_list = new CListCtrlEx(this);
    m_list->setObjectName("ReportList");
    layout->addWidget(m_list, 1);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    layout->addWidget(buttons);

    m_list->OfferCopy(*this);
    m_list->OfferPrint(*this, QStringLiteral("&Print\tCtrl+P"), {}, [this] { PrintList(); });

    Fill(report);
    const int rows = std::clamp(m_list->RowCount(), 4, 16);
    const int height = m_list->horizontalHeader()->sizeHint().height() +
                       rows * m_list->verticalHeader()->defaultSectionSize() +
                       2 * m_list->frameWidth();
    m_list->setMinimumHeight(height);
    resize(m_list->ContentWidth() + layout->contentsMargins().left() +
               layout->contentsMargins().right(),
           sizeHint().height());
    if (parent)
        move(parent->window()->geometry().center() - rect().center());
}

void ReportWindow::Fill(const RoiReport& report) {
    std::vector<ListTextModel::Column> columns;
    for (size_t i = 0; i < report.headings.size(); ++i) {
        ListTextModel::Column c;
        c.title = FromCore(report.headings[i]);
        c.tip = i < report.tips.size() ? FromCore(report.tips[i]) : QString();
        c.width = 60;
        // Numbers up to the status; the status and element are texts.
        const bool text = static_cast<int>(i) >= RoiReport::kStatusColumn;
        c.sort = text ? ListSortType::Text : ListSortType::Decimal;
        c.centred = static_cast<int>(i) == RoiReport::kStatusColumn;
        columns.push_back(c);
    }
    m_list->Model().SetColumns(std::move(columns));
    std::vector<QStringList> rows;
    for (const auto& cells : report.rows) {
        QStringList row;
        for (const std::string& cell : cells)
            row << FromCore(cell);
        rows.push_back(row);
    }
    m_list->Model().SetRows(std::move(rows));
    m_list->ResetSort();
    m_list->ApplyColumnWidths();
}

bool ReportWindow::PrintList() {
    if (m_list->RowCount() == 0)
        return false;
    return m_list->PrintForUser(*this, m_captions.title, m_captions.spectrumLine,
                                m_captions.libraryLine);
}

bool ReportWindow::CopyList() {
    return m_list->CopyForUser(*this);
}

void ShowRoiReport(const RoiReport& report, QWidget* parent) {
    ReportWindow window(report, parent);
    window.exec();
}

} // namespace vorna
