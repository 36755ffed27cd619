// Printing, copying and capture through the program's own windows, offscreen: prints go to PDF
// files that poppler's tools read back.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QMessageBox>
#include <QPageSize>
#include <QPrintDialog>
#include <QProcess>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTest>
#include <ctime>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "app/CListCtrlEx.h"
#include "app/CMainFrame.h"
#include "app/KeyboardMapDialog.h"
#include "app/roi/LibraryWindow.h"
#include "app/roi/ReportWindow.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "output/CBitmapCtrl.h"
#include "output/CScreenCaptureDlg.h"
#include "output/CWindowCapture.h"
#include "output/PrinterChoice.h"
#include "output/core/BmpFile.h"
#include "spectrum/CSpectrum.h"

using namespace vorna;
using vorna::test::ModalDriver;
using vorna::test::TestProgram;

namespace {

// The text of a PDF, pages split at form feeds.
QStringList PdfPages(const QString& path) {
    QProcess p;
    p.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    if (!p.waitForFinished(30000) || p.exitCode() != 0)
        return {};
    // Compatibility normalisation reads ligature glyphs ("fi") as their letters.
    QStringList pages = QString::fromUtf8(p.readAllStandardOutput())
                            .normalized(QString::NormalizationForm_KC)
                            .split(QLatin1Char('\f'));
    if (!pages.isEmpty() && pages.last().trimmed().isEmpty())
        pages.removeLast();
    return pages;
}

// Keeps a copy of each print where VORNA_PRINT_DIR names a folder (the screenshot script looks
// at them).
void KeepPrint(const QString& path, const QString& name) {
    const QString dir = qEnvironmentVariable("VORNA_PRINT_DIR");
    if (dir.isEmpty())
        return;
    QFile::remove(dir + "/" + name);
    QFile::copy(path, dir + "/" + name);
}

// Every print dialog of the program answered: print to `file` as a PDF.
struct PdfDialog {
    int shown = 0;
    QString file;
    bool cancel = false;
    std::function<void(QPrinter&)> inspect;
    void Install(QWidget* window) {
        PrinterChoice::For(window).SetDialogRunner([this](QPrinter& printer, QWidget*) {
            ++shown;
            if (inspect)
                inspect(printer);
            if (cancel)
                return false;
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(file);
            return true;
        });
    }
};

} // namespace

class OutputWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void plotPageCarriesHeaderPanesAndNotes();
    void printerChoiceIsKeptForTheRun();
    void listPrintPagesColumnsAndDate();
    void roiPrintsAndCopiesReportTheirOutcome();
    void copiesOfListsAndEmptyLists();
    void captureWritesA32BitBitmapAndThePreviewScrolls();
    void capturePreviewAsksBeforeCapturing();
};

void OutputWindowsTest::plotPageCarriesHeaderPanesAndNotes() {
    TestProgram p;
    ModalDriver driver;
    PdfDialog dialog;
    dialog.file = p.dir.filePath("plot.pdf");
    dialog.Install(&p.frame());
    p.frame().resize(1000, 700);
    TestProgram::Settle();
    {
        auto s = p.active().Lock();
        s->m_strDescription = "Fe-55 check source";
        s->m_strGeneralNotes = "alpha note\r\nbeta note";
        s->m_strSystemNotes = "";
        s->m_strOtherNotes = "other note";
        s->m_bPrintNotes = 1;
    }
    p.frame().Execute(ToInt(CommandId::PrintSpectrum));
    QCOMPARE(dialog.shown, 1);
    KeepPrint(dialog.file, "plot.pdf");
    QStringList pages = PdfPages(dialog.file);
    QCOMPARE(pages.size(), 1);
    const QString page = pages.front();
    QVERIFY2(page.contains("fe55.mca"), qPrintable(page));
    QVERIFY(page.contains("Fe-55 check source"));
    // The navigation pane under the plot and the info pane beside it.
    QVERIFY(page.contains("Cursor"));
    QVERIFY(page.contains("Range"));
    QVERIFY(page.contains("Count"));
    // CR LF breaks a note in two lines; the empty system notes leave a line between.
    const QStringList lines = page.split('\n');
    const int first = lines.indexOf(QRegularExpression("^\\s*alpha note\\s*$"));
    QVERIFY2(first >= 0, qPrintable(page));
    QVERIFY(lines.value(first + 1).trimmed() == "beta note");
    QVERIFY(page.indexOf("other note") > page.indexOf("beta note"));

    // Notes switched off: neither notes nor the configuration, whatever the profile says.
    {
        auto s = p.active().Lock();
        s->m_bPrintNotes = 0;
        s->m_nDppDeviceCode = 2;
        s->m_strDppConfig = "RESC=Y;";
    }
    p.state().Profile().dppPrintConfig = 1;
    p.state().Profile().deviceType = 2;
    dialog.file = p.dir.filePath("plain.pdf");
    p.frame().Execute(ToInt(CommandId::PrintSpectrum));
    pages = PdfPages(dialog.file);
    QCOMPARE(pages.size(), 1);
    QVERIFY(!pages.front().contains("alpha note"));
    QVERIFY(!pages.front().contains("Configuration"));
    // Switched on again, the stored configuration of the file spectrum follows the notes.
    p.active().Lock()->m_bPrintNotes = 1;
    dialog.file = p.dir.filePath("config.pdf");
    p.frame().Execute(ToInt(CommandId::PrintSpectrum));
    KeepPrint(dialog.file, "config.pdf");
    pages = PdfPages(dialog.file);
    QVERIFY2(pages.value(0).contains("Configuration"), qPrintable(pages.value(0)));
    QVERIFY(pages.value(0).contains("RESC=Y;"));
    QVERIFY(pages.value(0).indexOf("RESC=Y;") > pages.value(0).indexOf("other note"));
    QCOMPARE(driver.unexpected, 0);
    p.state().Profile().deviceType = 0;
}

void OutputWindowsTest::printerChoiceIsKeptForTheRun() {
    TestProgram p;
    ModalDriver driver;
    PdfDialog dialog;
    dialog.file = p.dir.filePath("first.pdf");
    // The first dialog: landscape A5.
    dialog.inspect = [](QPrinter& printer) {
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setPageSize(QPageSize(QPageSize::A5));
    };
    dialog.Install(&p.frame());
    p.frame().Execute(ToInt(CommandId::PrintSpectrum));
    QVERIFY(QFile::exists(dialog.file));

    // The keyboard map's print starts where the plot print left the choice.
    QPageLayout::Orientation seenOrientation = QPageLayout::Portrait;
    QPageSize::PageSizeId seenSize = QPageSize::A4;
    QString seenFile;
    dialog.inspect = [&](QPrinter& printer) {
        seenOrientation = printer.pageLayout().orientation();
        seenSize = printer.pageLayout().pageSize().id();
        seenFile = printer.outputFileName();
    };
    dialog.file = p.dir.filePath("keys.pdf");
    KeyboardMapDialog keys(p.frame());
    QVERIFY(keys.PrintList());
    QCOMPARE(seenOrientation, QPageLayout::Landscape);
    QCOMPARE(seenSize, QPageSize::A5);
    QCOMPARE(seenFile, p.dir.filePath("first.pdf"));
    // A cancelled dialog prints nothing, says nothing and keeps the choice.
    dialog.cancel = true;
    dialog.file = p.dir.filePath("never.pdf");
    QVERIFY(!keys.PrintList());
    p.frame().Execute(ToInt(CommandId::PrintSpectrum));
    QVERIFY(!QFile::exists(dialog.file));
    QCOMPARE(driver.seen, QStringList());
    dialog.cancel = false;
    dialog.inspect = [&](QPrinter& printer) { seenFile = printer.outputFileName(); };
    QVERIFY(keys.PrintList());
    QCOMPARE(seenFile, p.dir.filePath("keys.pdf"));
    // The program's own print dialog is handed the kept choice as well.
    PrinterChoice::For(&p.frame()).SetDialogRunner(RunPrintDialog);
    bool sawDialog = false;
    driver.Then([&](QWidget* w) {
        if (auto* d = qobject_cast<QPrintDialog*>(w)) {
            sawDialog = true;
            seenOrientation = d->printer()->pageLayout().orientation();
            d->reject();
        }
    });
    QVERIFY(!keys.PrintList());
    QVERIFY(sawDialog);
    QCOMPARE(seenOrientation, QPageLayout::Landscape);
    QCOMPARE(driver.unexpected, 0);
}

void OutputWindowsTest::listPrintPagesColumnsAndDate() {
    TestProgram p;
    ModalDriver driver;
    PdfDialog dialog;
    dialog.file = p.dir.filePath("list.pdf");
    dialog.Install(&p.frame());
    QDialog window(&p.frame());
    window.setWindowTitle("Numbers");
    CListCtrlEx list(&window);
    list.Model().SetColumns({{"Key", "", 60},
                             {"Hidden", "", 60},
                             {"Text", "", 60},
                             {"Wide", "", 60},
                             {"After", "", 60}});
    std::vector<QStringList> rows;
    for (int i = 0; i < 100; ++i)
        rows.push_back({QString::asprintf("row %03d", i), "secret", QString("text %1").arg(i),
                        QString(200, 'w'), "behind"});
    list.Model().SetRows(std::move(rows));
    list.ApplyColumnWidths();
    list.setColumnHidden(1, true);
    const std::time_t before = std::time(nullptr);
    QVERIFY(list.PrintForUser(window, "Numbers"));
    KeepPrint(dialog.file, "list.pdf");
    const QStringList pages = PdfPages(dialog.file);
    QCOMPARE(pages.size(), 2);
    // pdftotext gives the two blanks between date and time as one.
    const QRegularExpression date("(\\d\\d/\\d\\d/\\d{4}\\s+\\d\\d:\\d\\d:\\d\\d)");
    QString firstDate;
    int lastOnFirst = -1;
    for (int i = 0; i < 2; ++i) {
        const QString& page = pages[i];
        QVERIFY(page.contains("Numbers"));
        QVERIFY(page.contains("Key"));
        QVERIFY(page.contains("Text"));
        QVERIFY2(page.contains(QString("Page : %1").arg(i + 1)), qPrintable(page));
        QVERIFY(!page.contains("Hidden") && !page.contains("secret"));
        // The column wider than the page goes, and the one after it with it.
        QVERIFY(!page.contains("Wide") && !page.contains("behind"));
        const auto m = date.match(page);
        QVERIFY(m.hasMatch());
        if (i == 0) {
            firstDate = m.captured(1);
            const auto rowsOnPage = QRegularExpression("row (\\d{3})").globalMatch(page);
            for (auto it = rowsOnPage; it.hasNext();)
                lastOnFirst = it.next().captured(1).toInt();
        } else {
            QCOMPARE(m.captured(1), firstDate);
            // The row that did not fit opens the second page.
            const auto firstOnSecond = QRegularExpression("row (\\d{3})").match(page);
            QCOMPARE(firstOnSecond.captured(1).toInt(), lastOnFirst + 1);
            QVERIFY(page.contains("row 099"));
        }
    }
    QVERIFY(lastOnFirst > 10 && lastOnFirst < 99);
    // The date is the UTC time of the print.
    std::tm utc{};
    gmtime_r(&before, &utc);
    QCOMPARE(firstDate.mid(0, 10),
             QString::asprintf("%02d/%02d/%04d", utc.tm_mday, utc.tm_mon + 1, utc.tm_year + 1900));
    QCOMPARE(firstDate.section(QRegularExpression("\\s+"), 1).left(2).toInt(), utc.tm_hour);
    QCOMPARE(driver.unexpected, 0);
}

void OutputWindowsTest::roiPrintsAndCopiesReportTheirOutcome() {
    TestProgram p; // the example spectrum carries two ROIs
    ModalDriver driver;
    PdfDialog dialog;
    dialog.file = p.dir.filePath("rois.pdf");
    dialog.Install(&p.frame());
    p.frame().Execute(ToInt(CommandId::PrintRoi));
    QCOMPARE(p.frame().StatusText(0), QStringLiteral("Printing of ROIs was successful."));
    KeepPrint(dialog.file, "rois.pdf");
    QString page = PdfPages(dialog.file).value(0);
    QVERIFY(page.contains("Regions of Interest Details"));
    QVERIFY(page.contains("fe55.mca"));
    QVERIFY(page.contains("GOOD") || page.contains("MARGINAL") || page.contains("BAD"));
    // A cancelled dialog counts as failed.
    dialog.cancel = true;
    p.frame().Execute(ToInt(CommandId::PrintRoi));
    QCOMPARE(p.frame().StatusText(0), QStringLiteral("Printing of ROIs failed."));
    dialog.cancel = false;

    // The ROI list page: header line and both ROIs inside the frame, the spectrum above.
    dialog.file = p.dir.filePath("roilist.pdf");
    p.frame().Execute(ToInt(CommandId::RoiListPrint));
    KeepPrint(dialog.file, "roilist.pdf");
    page = PdfPages(dialog.file).value(0);
    // Headings whole, the start time whole and inside the page, the name line cut short of it.
    for (const char* heading : {"Start", "Net Area", "Gross Area", "Centroid", "Uncertainty"})
        QVERIFY2(page.contains(heading), qPrintable(page));
    // Name, tag and start time on one line, in that order, none of them cut.
    QVERIFY2(page.contains(QRegularExpression("fe55\\.mca\\s+Fe55\\s+12/09/2025 10:15:00")),
             qPrintable(page));

    // Without ROIs neither prints nor copies: the status line says why.
    p.active().Lock()->m_roi.Clear();
    const int shown = dialog.shown;
    p.frame().Execute(ToInt(CommandId::PrintRoi));
    QCOMPARE(p.frame().StatusText(0), QStringLiteral("No ROIs in spectrum."));
    QGuiApplication::clipboard()->setText("untouched");
    p.frame().Execute(ToInt(CommandId::CopyRoi));
    QCOMPARE(p.frame().StatusText(0), QStringLiteral("No ROIs in spectrum."));
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    QCOMPARE(dialog.shown, shown);
    QCOMPARE(driver.unexpected, 0);
}

void OutputWindowsTest::copiesOfListsAndEmptyLists() {
    TestProgram p;
    ModalDriver driver;
    PdfDialog dialog;
    dialog.file = p.dir.filePath("keys.pdf");
    dialog.Install(&p.frame());
    KeyboardMapDialog keys(p.frame());
    QVERIFY(keys.CopyList());
    const QString text = QGuiApplication::clipboard()->text();
    QVERIFY(text.endsWith("\t\n"));
    QVERIFY(!text.contains('\r'));
    const QStringList lines = text.chopped(1).split('\n');
    QCOMPARE(lines.size(), 34);
    QCOMPARE(lines.front(), QStringLiteral("Shortcut\tDescription\t"));
    QCOMPARE(lines.back(), QStringLiteral("F9\tOpens Acquisition Setup dialog\t"));
    // The keyboard map prints under its own title, one page.
    QVERIFY(keys.PrintList());
    KeepPrint(dialog.file, "keys.pdf");
    const QStringList pages = PdfPages(dialog.file);
    QCOMPARE(pages.size(), 1);
    QVERIFY(pages.front().contains("Keyboard Shortcuts"));
    QVERIFY(pages.front().contains("Cycle amoung linear, log, and square root scales"));

    // Empty lists copy and print nothing and say nothing.
    QGuiApplication::clipboard()->setText("untouched");
    keys.List()->Model().Clear();
    QVERIFY(!keys.CopyList());
    ReportWindow report(RoiReport{}, &p.frame());
    QVERIFY(!report.CopyList());
    const int shown = dialog.shown;
    QVERIFY(!report.PrintList());
    QCOMPARE(dialog.shown, shown);
    p.frame().Execute(ToInt(CommandId::ShowLibrary)); // no library loaded: no lines
    auto* library = p.frame().findChild<LibraryWindow*>();
    QVERIFY(library);
    QCOMPARE(library->List()->RowCount(), 0);
    QVERIFY(!library->CopyList());
    QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("untouched"));
    library->close();
    QCOMPARE(driver.seen, QStringList());
}

void OutputWindowsTest::captureWritesA32BitBitmapAndThePreviewScrolls() {
    TestProgram p;
    ModalDriver driver;
    const QString old = QDir::currentPath();
    QDir::setCurrent(p.dir.path());
    p.frame().resize(700, 500);
    TestProgram::Settle();
    p.frame().Execute(ToInt(CommandId::CapturePlot));
    QCOMPARE(p.frame().StatusText(0), QStringLiteral("Window capture successful..."));
    QFile file(p.dir.filePath("LUMO-tmp.bmp"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    file.close();
    const auto header = ReadBmpHeader(bytes.toStdString());
    QVERIFY(header);
    QCOMPARE(header->bitsPerPixel, 32);
    QCOMPARE(header->pixelOffset, 54u);
    QCOMPARE(header->width, p.frame().width());
    QCOMPARE(header->height, p.frame().height());
    QCOMPARE(header->fileSize, static_cast<uint32_t>(bytes.size()));
    QCOMPARE(QGuiApplication::clipboard()->image().size(), p.frame().size());
    // The file reads back as the picture that was grabbed (rows bottom-up, B G R order).
    const QImage grabbed = CaptureWindowImage(p.frame());
    QImage read;
    QVERIFY(read.loadFromData(bytes, "BMP"));
    QCOMPARE(read.convertToFormat(QImage::Format_RGB32).pixel(5, 5), grabbed.pixel(5, 5));
    QCOMPARE(
        read.convertToFormat(QImage::Format_RGB32).pixel(grabbed.width() - 3, grabbed.height() - 3),
        grabbed.pixel(grabbed.width() - 3, grabbed.height() - 3));
    // An empty path fails.
    QCOMPARE(CaptureWindowToFile(p.frame(), QString(), false), -1);

    // A picture larger than the view scrolls 1 and 20 pixels and stops at its far edges.
    QImage big(2000, 1500, QImage::Format_RGB32);
    big.fill(Qt::darkCyan);
    const QString bigPath = p.dir.filePath("big.bmp");
    {
        QFile out(bigPath);
        QVERIFY(out.open(QIODevice::WriteOnly));
        const auto data = BmpFileOf(big);
        out.write(data->data(), static_cast<qint64>(data->size()));
    }
    CScreenCaptureDlg preview(bigPath, "", &p.frame());
    preview.show();
    TestProgram::Settle();
    CBitmapCtrl* view = preview.View();
    QCOMPARE(view->Picture().size(), QSize(2000, 1500));
    for (QScrollBar* bar : {view->horizontalScrollBar(), view->verticalScrollBar()}) {
        bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
        QCOMPARE(bar->value(), 1);
        bar->triggerAction(QAbstractSlider::SliderPageStepAdd);
        QCOMPARE(bar->value(), 21);
        bar->setValue(100000);
    }
    QCOMPARE(view->horizontalScrollBar()->value(), 2000 - view->viewport()->width());
    QCOMPARE(view->verticalScrollBar()->value(), 1500 - view->viewport()->height());
    // Save copies the capture; a missing capture or a bad target is reported.
    const QString saved = p.dir.filePath("kept.bmp");
    QVERIFY(preview.SaveTo(saved));
    QCOMPARE(QFileInfo(saved).size(), QFileInfo(bigPath).size());
    driver.ThenButton(QMessageBox::Ok);
    QVERIFY(!preview.SaveTo(p.dir.filePath("no/such/folder/x.bmp")));
    QFile::remove(bigPath);
    driver.ThenButton(QMessageBox::Ok);
    QVERIFY(!preview.SaveTo(saved));
    QCOMPARE(driver.seen,
             QStringList({"Error saving file - " + p.dir.filePath("no/such/folder/x.bmp") + ".",
                          "Unable to find temporary bitmap file."}));
    QVERIFY(QFile::exists(saved)); // the earlier copy stays
    preview.close();
    QDir::setCurrent(old);
}

void OutputWindowsTest::capturePreviewAsksBeforeCapturing() {
    TestProgram p;
    ModalDriver driver;
    const QString old = QDir::currentPath();
    QDir::setCurrent(p.dir.path());
    const QString path = p.dir.filePath("LUMO-tmp.bmp");
    driver.ThenButton(QMessageBox::No);
    p.frame().Execute(ToInt(CommandId::CapturePreview));
    QCOMPARE(driver.seen, QStringList({"No previous screen capture exists.  Capture window now?"}));
    QVERIFY(!QFile::exists(path));
    // Yes: the window is captured first, then shown.
    driver.ThenButton(QMessageBox::Yes);
    QSize shown;
    driver.Then([&shown](QWidget* w) {
        if (auto* d = qobject_cast<CScreenCaptureDlg*>(w)) {
            shown = d->View()->Picture().size();
            d->accept();
        }
    });
    p.frame().Execute(ToInt(CommandId::CapturePreview));
    QVERIFY(QFile::exists(path));
    QCOMPARE(shown, p.frame().size());
    QCOMPARE(p.frame().StatusText(0), QStringLiteral("Window capture successful..."));
    // With a capture present the preview opens at once; a lost file shows "File not found.".
    QFile::remove(path);
    CScreenCaptureDlg missing(path, "", &p.frame());
    QVERIFY(missing.View()->Picture().isNull());
    QCOMPARE(driver.unexpected, 0);
    QDir::setCurrent(old);
}

QTEST_MAIN(OutputWindowsTest)
#include "OutputWindowsTest.moc"
