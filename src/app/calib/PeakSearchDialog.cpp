#include "app/calib/PeakSearchDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <mutex>

#include "analysis/ElementLibrary.h"
#include "analysis/ReportCaptions.h"
#include "analysis/Reports.h"
#include "app/CMainFrame.h"
#include "app/DialogPositions.h"
#include "app/PlotPanes.h"
#include "app/TextConvert.h"
#include "app/calib/AnalysisReportDialog.h"
#include "app/calib/CalibMessages.h"
#include "appcore/ProgramState.h"
#include "display/CPlot.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

namespace {

QPushButton* button(const char* caption, const char* name, const char* tip, QWidget* parent) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromLatin1(tip));
    b->setAutoDefault(false);
    return b;
}

RoiOverlay OverlayOf(const CRoi& rois) {
    RoiOverlay overlay;
    for (const CRoiEntry& r : rois.Entries())
        overlay.rois.push_back({r.start, r.end});
    overlay.selected = rois.GetSelected();
    return overlay;
}

} // namespace

PeakSearchDialog::PeakSearchDialog(ProgramState& state, CMainFrame& frame, CSpectrum& spectrum)
    : QDialog(&frame), m_state(state), m_spectrum(spectrum), m_plot(frame.Panes().Model()) {
    setObjectName("PeakSearchDialog");
    setWindowTitle(QStringLiteral("Peak Search"));
    m_session = std::make_unique<PeakSearchSession>(spectrum, state.Environment(),
                                                    state.Spectra().GetActive() == &spectrum);

    auto* fields = new QGroupBox(QStringLiteral("Search Parameters"), this);
    auto* form = new QFormLayout(fields);
    auto row = [&](const char* caption, const char* name, const char* tip) {
        auto* edit = new QLineEdit(fields);
        edit->setObjectName(QString::fromLatin1(name));
        edit->setToolTip(QString::fromLatin1(tip));
        auto* label = new QLabel(QString::fromLatin1(caption), fields);
        label->setBuddy(edit);
        form->addRow(label, edit);
        return edit;
    };
    m_sensitivity = row("&Sensitivity:", "sensitivity", "Peak search sensitivity (0.5 to 1000000)");
    m_width = row("&Width:", "width", "Expected peak FWHM in channels (2 to 100000)");
    m_start = row("S&tart Range:", "startRange", "First position of Search Range");
    m_end = row("&End Range:", "endRange", "Last position of Search Range");

    auto* side = new QVBoxLayout;
    auto* all = button("Search &All...", "searchAll", "Search the whole spectrum", this);
    auto* range = button("Search &Range...", "searchRange", "Search from Start to End Range", this);
    m_add = button("Add to ROI &List", "addToList", "Add the peaks found to the ROI list", this);
    m_replace =
        button("Re&place ROI List", "replaceList", "Replace the ROI list by the peaks found", this);
    m_details = button("ROI &Details...", "details", "Statistics of the spectrum's ROIs", this);
    const int padding = 2 * fontMetrics().averageCharWidth();
    for (QPushButton* b : {all, range, m_add, m_replace, m_details}) {
        b->setMinimumWidth(b->sizeHint().width() + padding);
        side->addWidget(b);
    }
    side->addStretch();
    connect(all, &QPushButton::clicked, this, &PeakSearchDialog::SearchAll);
    connect(range, &QPushButton::clicked, this, &PeakSearchDialog::SearchRange);
    connect(m_add, &QPushButton::clicked, this, &PeakSearchDialog::AddToList);
    connect(m_replace, &QPushButton::clicked, this, &PeakSearchDialog::ReplaceList);
    connect(m_details, &QPushButton::clicked, this, &PeakSearchDialog::ShowDetails);

    auto* top = new QHBoxLayout;
    top->addWidget(fields, 1);
    top->addLayout(side);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &PeakSearchDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &PeakSearchDialog::reject);
    layout->addWidget(buttons);

    const PlotView& view = m_plot.View();
    const PeakSearchFields opening = m_session->OpeningFields(view.start, view.end);
    m_sensitivity->setText(FromCore(opening.sensitivity));
    m_width->setText(FromCore(opening.width));
    m_start->setText(FromCore(opening.startRange));
    m_end->setText(FromCore(opening.endRange));
    UpdateButtons();
    adjustSize();
    RestoreDialogPosition(*this, state.Profile(), ProfileDialog::PeakSearchDlg);
}

PeakSearchDialog::~PeakSearchDialog() {
    m_plot.SetPeakSearchOverlay(std::nullopt);
}

PeakSearchFields PeakSearchDialog::Fields() const {
    return {ToCore(m_sensitivity->text()), ToCore(m_width->text()), ToCore(m_start->text()),
            ToCore(m_end->text())};
}

void PeakSearchDialog::UpdateButtons() {
    m_add->setEnabled(m_session->HasResults());
    m_replace->setEnabled(m_session->HasResults());
    m_details->setEnabled(m_session->DetailsEnabled());
}

void PeakSearchDialog::SearchAll() {
    Searched(m_session->SearchAll(Fields()));
}

void PeakSearchDialog::SearchRange() {
    Searched(m_session->SearchRange(Fields()));
}

void PeakSearchDialog::Searched(const std::string& message) {
    UpdateButtons();
    // A refused field leaves the earlier results in place, but the user must hear why nothing
    // was searched; a search without peaks has taken them away.
    if (!message.empty() || !m_session->HasResults()) {
        if (!m_session->HasResults() && m_plot.PeakSearchOverlay())
            m_plot.SetPeakSearchOverlay(std::nullopt);
        ShowMessage(this, message);
        return;
    }
    m_plot.SetPeakSearchOverlay(OverlayOf(m_session->Results()));
    m_session->WithResultsShown([this] { ShowReport(kPeakSearchResultsTitle); });
    m_plot.Invalidate();
}

void PeakSearchDialog::ShowReport(const char* title) {
    const AnalysisSettings& settings = m_state.Environment().settings;
    const ElementLibrary* library = &m_state.Library();
    if (!ReportShowsElement(settings, library))
        library = nullptr;
    const ReportCaptions captions = MakeReportCaptions(title, m_spectrum, library);
    CRoi rois;
    CCalibrate calibration;
    {
        auto s = m_spectrum.Lock();
        rois = s->m_roi;
        calibration = s->m_calibrate;
    }
    AnalysisReportDialog report(captions, rois, calibration, settings, library, this);
    report.exec();
}

void PeakSearchDialog::AddToList() {
    m_session->AddResults();
    UpdateButtons();
}

void PeakSearchDialog::ReplaceList() {
    m_session->ReplaceWithResults();
    UpdateButtons();
}

void PeakSearchDialog::ShowDetails() {
    m_session->RecomputeSpectrumRois();
    ShowReport(kRoiDetailsTitle);
}

void PeakSearchDialog::Close() {
    StoreDialogPosition(*this, m_state.Profile(), ProfileDialog::PeakSearchDlg);
    m_plot.SetPeakSearchOverlay(std::nullopt);
}

void PeakSearchDialog::accept() {
    const auto input = m_session->Accept(Fields());
    if (!input) {
        ShowMessage(this, ReadPeakSearchFields(Fields()).message);
        return;
    }
    CSProfile& p = m_state.Profile();
    p.peakWidth = input->width;
    p.peakSearchSens = input->sensitivity;
    // Only these two change: the rest of the environment stays as the worker reads it.
    AnalysisSettings& settings = m_state.Environment().settings;
    settings.peakWidth = p.peakWidth;
    settings.peakSearchSens = p.peakSearchSens;
    Close();
    QDialog::accept();
}

void PeakSearchDialog::reject() {
    m_session->Cancel();
    Close();
    QDialog::reject();
}

} // namespace vorna
