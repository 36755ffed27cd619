#include "app/calib/AnalysisReportDialog.h"

#include <QContextMenuEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QMenu>
#include <QVBoxLayout>
#include <algorithm>

#include "analysis/ElementLibrary.h"
#include "analysis/Reports.h"
#include "app/CListCtrlEx.h"
#include "app/QtTextClipboard.h"
#include "app/TextConvert.h"
#include "app/calib/CalibMessages.h"
#include "common/NumberText.h"

namespace vorna {

AnalysisReportDialog::AnalysisReportDialog(const ReportCaptions& captions, const CRoi& rois,
                                           const CCalibrate& calibration,
                                           const AnalysisSettings& settings,
                                           const ElementLibrary* library, QWidget* parent)
    : QDialog(parent) {
    setObjectName("AnalysisReportDialog");
    setWindowTitle(FromCore(captions.title));
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    for (const std::string* line : {&captions.spectrumLine, &captions.libraryLine}) {
        auto* label = new QLabel(FromCore(*line), this);
        label->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(label);
    }
    m_list = new CListCtrlEx(this);
    m_list->setObjectName("reportList");
    layout->addWidget(m_list, 1);

    const bool element = ReportShowsElement(settings, library);
    const std::vector<std::string> headings = ReportHeadings(settings, element);
    const std::vector<std::string> tips = ReportHeaderTips(settings, element);
    std::vector<ListTextModel::Column> columns;
    for (size_t i = 0; i < headings.size(); ++i)
        columns.push_back({FromCore(headings[i]), FromCore(tips[i]), 90});
    m_list->Model().SetColumns(std::move(columns));
    std::vector<QStringList> rows;
    for (const CRoiEntry& roi : rois.Entries()) {
        QStringList cells;
        for (const std::string& cell :
             RoiReportCells(roi, calibration, settings, element ? library : nullptr))
            cells << FromCore(cell);
        rows.push_back(cells);
    }
    m_list->Model().SetRows(std::move(rows));
    m_list->ResetSort();
    m_list->ApplyColumnWidths();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(std::max(560, m_list->ContentWidth() + 2 * layout->contentsMargins().left()), 360);
}

void AnalysisReportDialog::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    // Printing belongs to the printing work; the report offers its copy.
    QAction* copy = menu.addAction(QStringLiteral("Copy"));
    copy->setEnabled(m_list->RowCount() > 0);
    connect(copy, &QAction::triggered, this, [this] {
        QtTextClipboard clipboard;
        const int result = PutTextOnClipboard(clipboard, m_list->Text());
        if (result < 0)
            ShowMessage(this, Format("Clipboard Error - iError = %d", result));
    });
    menu.exec(event->globalPos());
}

} // namespace vorna
