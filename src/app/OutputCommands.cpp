// Printing and capture commands of the main window: the plot page, the ROI list page, the ROI
// report print, Capture Plot and the Capture Preview.

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFontMetrics>
#include <algorithm>
#include <ctime>
#include <vector>

#include "analysis/ReportCaptions.h"
#include "analysis/Reports.h"
#include "analysis/RoiStatistics.h"
#include "app/CListCtrlEx.h"
#include "app/CMainFrame.h"
#include "app/DppSession.h"
#include "app/InfoPane.h"
#include "app/PlotPanes.h"
#include "app/QtUserPrompt.h"
#include "app/ShellContext.h"
#include "app/TextConvert.h"
#include "app/roi/ReportWindow.h"
#include "appcore/ProgramState.h"
#include "display/ui/NavigationPane.h"
#include "display/ui/PlotCanvas.h"
#include "display/ui/PlotWidget.h"
#include "dpp/DppDevice.h"
#include "output/CScreenCaptureDlg.h"
#include "output/CWindowCapture.h"
#include "output/PagePrinter.h"
#include "output/PrinterChoice.h"
#include "output/core/OutputTexts.h"

namespace vorna {

namespace {

// The header and notes of a spectrum's page (read under its lock).
PageSpectrumTexts PageTexts(ShellContext& c, const CSpectrum& spectrum) {
    const CSProfile& profile = c.state.Profile();
    PageSpectrumTexts t;
    t.notes.printConfiguration = profile.dppPrintConfig != 0 && profile.deviceType > 0;
    // What comes from the list and the device is read before the spectrum is locked: the
    // list's lock is never taken under a spectrum's.
    ConfigurationSource source;
    source.listPosition = c.state.Spectra().PositionOf(&spectrum);
    source.deviceType = profile.deviceType;
    if (DppSession* dpp = c.frame.Dpp(); dpp && t.notes.printConfiguration) {
        source.liveLoaded = dpp->Device().configurationLoaded;
        source.current = dpp->CurrentConfigurationText();
    }
    auto s = spectrum.Lock();
    t.fileName = s->m_strFileName;
    t.tag = s->m_strTag;
    t.startTime = s->m_szStartTime;
    t.description = s->m_strDescription;
    t.notes.printNotes = s->m_bPrintNotes != 0;
    t.notes.generalNotes = s->m_strGeneralNotes;
    t.notes.systemNotes = s->m_strSystemNotes;
    t.notes.otherNotes = s->m_strOtherNotes;
    if (t.notes.printConfiguration) {
        source.deviceCode = s->m_nDppDeviceCode;
        source.tag = s->m_strTag;
        source.stored = s->m_strDppConfig;
        t.notes.configuration = ConfigurationBlockText(source);
    }
    return t;
}

void ShowNoPrinter(ShellContext& c) {
    c.prompt.message(kNoPrinterText, PromptStyle::Warning);
}

// "Print Spectrum": the plot with the navigation pane under it and the info pane beside it.
void PrintPlot(ShellContext& c) {
    const CSpectrum* spectrum = c.state.Spectra().GetActive();
    auto* plot = qobject_cast<PlotWidget*>(c.frame.Panes().Plot());
    auto* nav = qobject_cast<NavigationPane*>(c.frame.Panes().Navigation());
    if (!spectrum || !plot || !nav)
        return;
    PlotCanvas* canvas = plot->canvas();
    const int w = canvas->width();
    const int h = canvas->height();
    const PlotPrintFrame frame = PlotPrintRect(w, h, c.frame.Info()->width(), nav->height());
    PagePrinter page;
    switch (page.Begin(PrinterChoice::For(&c.frame), &c.frame, frame.rect, frame.band,
                       PageTexts(c, *spectrum), c.frame.Info()->font(), nav->font(),
                       std::time(nullptr))) {
    case PagePrinter::Result::Cancelled:
        return;
    case PagePrinter::Result::NoPrinter:
        return ShowNoPrinter(c);
    case PagePrinter::Result::Printing:
        break;
    }
    QPainter& p = page.Painter();
    p.setPen(QPen(Qt::black, 3));
    p.drawLine(-1, h + 1, w + 1, h + 1);
    p.drawLine(w + 1, -1, w + 1, frame.rect.bottom);
    p.setClipRect(0, 0, frame.rect.right, frame.rect.bottom);
    canvas->PaintContent(p);
    p.save();
    p.translate(0, h + 3);
    nav->PaintForPrint(p);
    p.restore();
    p.save();
    p.translate(w + 3, 0);
    c.frame.Info()->PaintForPrint(p);
    p.restore();
    page.End();
}

// The ROI list "Print": the active spectrum's ROI lines under their header line.
void PrintRoiListView(ShellContext& c) {
    CSpectrum* spectrum = c.state.Spectra().GetActive();
    if (!spectrum)
        return;
    std::vector<std::vector<std::string>> lines{RoiListHeadings()};
    {
        auto s = spectrum->Lock();
        for (const CRoiEntry& roi : s->m_roi.Entries())
            lines.push_back(RoiListCells(roi, s->m_calibrate, c.state.Environment().settings));
    }
    const QFontMetrics cell(QApplication::font());
    const int cw = cell.averageCharWidth();
    const int ch = cell.height();
    const QFont infoFont = c.frame.Info()->font();
    // Each column as wide as its widest text: the info-pane font is wider than the program's
    // character cell, and a cut number would misreport the result.
    const QFontMetrics text(infoFont);
    const size_t columns = lines.front().size();
    std::vector<int> widths(columns, 0);
    for (const auto& line : lines)
        for (size_t col = 0; col < columns && col < line.size(); ++col)
            widths[col] =
                std::max(widths[col], text.horizontalAdvance(FromCore(line[col])) + 2 * cw);
    int content = 0;
    for (int w : widths)
        content += w;
    // The header line takes a row of its own, so the frame holds one row more than the ROIs.
    const int n = static_cast<int>(lines.size());
    const PlotPrintFrame frame = RoiListPrintRect(cw, ch, n, content);
    // Spare width goes to the columns evenly.
    const int spare = (frame.rect.right - content) / static_cast<int>(columns);
    auto* nav = c.frame.Panes().Navigation();
    PagePrinter page;
    switch (page.Begin(PrinterChoice::For(&c.frame), &c.frame, frame.rect, frame.band,
                       PageTexts(c, *spectrum), infoFont, nav ? nav->font() : infoFont,
                       std::time(nullptr))) {
    case PagePrinter::Result::Cancelled:
        return;
    case PagePrinter::Result::NoPrinter:
        return ShowNoPrinter(c);
    case PagePrinter::Result::Printing:
        break;
    }
    QPainter& p = page.Painter();
    p.setFont(ViewUnitFont(infoFont));
    const int rh = RoiListPrintRowHeight(ch);
    for (int i = 0; i < n; ++i) {
        const QRect row(0, i * rh, frame.rect.right, rh);
        if (i == 0)
            p.fillRect(row, QColor(0xe0, 0xe0, 0xe0));
        p.setPen(i == 0 ? QColor(0x80, 0x80, 0x80) : QColor(0xc0, 0xc0, 0xc0));
        p.drawLine(row.left(), row.bottom(), row.right(), row.bottom());
        p.setPen(Qt::black);
        const auto& cells = lines[static_cast<size_t>(i)];
        int x = 0;
        for (size_t col = 0; col < columns && col < cells.size(); ++col) {
            const int w = widths[col] + spare;
            const Qt::Alignment align = col + 1 == columns ? Qt::AlignHCenter : Qt::AlignLeft;
            p.drawText(QRect(x + cw / 2, row.top(), w - cw, rh), Qt::AlignVCenter | align,
                       FromCore(cells[col]));
            x += w;
        }
    }
    page.End();
}

// "Print ROI": the ROI report of the chosen spectrum through a hidden report window.
void PrintRoiReport(ShellContext& c) {
    CSpectrum* s = SelectedSpectrum(c);
    if (!s || s->Lock()->m_roi.IsEmpty()) {
        c.frame.SetStatusText(0, QString::fromLatin1(kNoRoisText));
        return;
    }
    RoiReport report =
        SpectrumRoiReport(kRoiDetailsTitle, *s, c.state.Environment().settings, &c.state.Library());
    report.captions.libraryLine.clear();
    ReportWindow window(report, &c.frame);
    const bool printed = window.PrintList();
    c.frame.SetStatusText(0,
                          QString::fromLatin1(printed ? kRoiPrintDoneText : kRoiPrintFailedText));
}

QString CapturePath() {
    return QFile::decodeName(
        CaptureFilePath(QFile::encodeName(QDir::currentPath()).toStdString()).c_str());
}

// "Capture Plot": the whole main window to the temporary bitmap and the clipboard.
void CapturePlot(ShellContext& c) {
    const QString path = CapturePath();
    if (QFile::exists(path))
        QFile::remove(path);
    const int result = CaptureWindowToFile(c.frame, path, true);
    c.frame.SetStatusText(0,
                          QString::fromLatin1(result < 0 ? kCaptureFailedText : kCaptureDoneText));
}

void CapturePreview(ShellContext& c) {
    const QString path = CapturePath();
    if (!QFile::exists(path)) {
        if (c.prompt.question(kNoCaptureQuestion, false) != PromptAnswer::Yes)
            return;
        CapturePlot(c);
    }
    CScreenCaptureDlg dialog(path, c.state.Environment().spectraDirectory, &c.frame);
    dialog.exec();
}

} // namespace

void RegisterOutputCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::PrintSpectrum), [&c] { PrintPlot(c); });
    r.Register(ToInt(C::RoiListPrint), [&c] { PrintRoiListView(c); });
    r.Register(ToInt(C::PrintRoi), [&c] { PrintRoiReport(c); });
    r.Register(ToInt(C::CapturePlot), [&c] { CapturePlot(c); });
    r.Register(ToInt(C::Capture), [&c] { CapturePlot(c); });
    r.Register(ToInt(C::CapturePreview), [&c] { CapturePreview(c); });
}

} // namespace vorna
