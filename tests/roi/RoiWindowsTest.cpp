// The ROI and library windows driven through their real widgets, offscreen.

#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "analysis/Reports.h"
#include "analysis/RoiOperations.h"
#include "app/CListCtrlEx.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/PlotPanes.h"
#include "app/TextConvert.h"
#include "app/roi/DefineRoiDialog.h"
#include "app/roi/LibraryWindow.h"
#include "app/roi/ReportWindow.h"
#include "app/roi/RoiListWindow.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "display/CPlot.h"
#include "settings/MemoryProfileStore.h"

using namespace vorna;
using vorna::test::ModalDriver;
using vorna::test::TestProgram;

namespace {

const QString kExample = QStringLiteral(VORNA_EXAMPLES_DIR "/fe55.mca");
const QString kLibrary = QStringLiteral(VORNA_EXAMPLES_DIR "/k-lines.lib");

// The program with the example spectrum (ROIs 570-610 and 630-668, 0.01 keV per channel).
struct Program : TestProgram {
    Program() : TestProgram(Options()) {}
    static vorna::test::TestProgramOptions Options() {
        vorna::test::TestProgramOptions o;
        o.dataFolderInside = true;
        return o;
    }
    AnalysisSettings& settings() { return state().Environment().settings; }
    void LoadLibrary() {
        state().Library().SetDisplayName("k-lines.lib");
        QVERIFY(state().Library().Load(PathToCore(kLibrary)));
    }
    std::vector<std::pair<int, int>> Rois() {
        std::vector<std::pair<int, int>> out;
        auto s = active().Lock();
        for (const CRoiEntry& r : s->m_roi.Entries())
            out.emplace_back(r.start, r.end);
        return out;
    }
    template <class W> W* Window() {
        W* found = nullptr;
        for (W* w : frame().findChildren<W*>())
            if (w->isVisible())
                found = w;
        return found;
    }
};

QStringList ListRows(QListWidget* list) {
    QStringList rows;
    for (int i = 0; i < list->count(); ++i)
        rows << list->item(i)->text();
    return rows;
}

QStringList Headings(CListCtrlEx* list) {
    QStringList out;
    for (int c = 0; c < list->model()->columnCount(); ++c)
        out << list->model()->headerData(c, Qt::Horizontal).toString();
    return out;
}

void Edit(DefineRoiDialog* d, const QString& start, const QString& end, const char* button) {
    d->StartField()->setText(start);
    d->EndField()->setText(end);
    d->Button(QLatin1String(button))->click();
}

using Pairs = std::vector<std::pair<int, int>>;

} // namespace

class RoiWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void defineRoiEditsACopyUntilOk();
    void defineRoiFieldChecks();
    void reportColumnsFollowTheMethodsAndTheLibrary();
    void reportSortsNumbersAsNumbersAndCopiesWithItsHeader();
    void libraryListFollowsTheCursor();
    void loadLibraryStartsInTheLibraryFolder();
    void roiListViewFollowsTheActiveSpectrum();
};

void RoiWindowsTest::defineRoiEditsACopyUntilOk() {
    Program p;
    const Pairs original = {{570, 610}, {630, 668}};
    QCOMPARE(p.Rois(), original);
    p.frame().Execute(ToInt(CommandId::DefineRoi));
    auto* d = p.Window<DefineRoiDialog>();
    QVERIFY(d);
    QVERIFY(!d->isModal());
    QCOMPARE(ListRows(d->List()), (QStringList{"5.7\t6.1", "6.3\t6.68"}));

    Edit(d, "7", "7.5", "Add");
    QCOMPARE(ListRows(d->List()).size(), 3);
    QCOMPARE(d->List()->currentRow(), 2);
    d->List()->setCurrentRow(0); // selecting fills the fields
    QCOMPARE(d->StartField()->text(), QStringLiteral("5.7"));
    QCOMPARE(d->EndField()->text(), QStringLiteral("6.1"));
    Edit(d, "5", "5.5", "Replace");
    QCOMPARE(ListRows(d->List()), (QStringList{"5\t5.5", "6.3\t6.68", "7\t7.5"}));
    d->List()->setCurrentRow(1);
    d->Button("Remove")->click();
    QCOMPARE(ListRows(d->List()), (QStringList{"5\t5.5", "7\t7.5"}));
    // A second Define ROI raises the open dialog.
    p.frame().Execute(ToInt(CommandId::DefineRoi));
    QCOMPARE(p.frame().findChildren<DefineRoiDialog*>().size(), 1);
    // Nothing reached the spectrum, and Cancel drops the copy.
    QCOMPARE(p.Rois(), original);
    d->reject();
    Program::Settle();
    QCOMPARE(p.Rois(), original);

    p.frame().Execute(ToInt(CommandId::DefineRoi));
    d = p.Window<DefineRoiDialog>();
    QVERIFY(d);
    QCOMPARE(ListRows(d->List()).size(), 2); // a fresh copy
    Edit(d, "7", "7.5", "Add");
    d->accept();
    Program::Settle();
    const Pairs added = {{570, 610}, {630, 668}, {700, 750}};
    QCOMPARE(p.Rois(), added);
    auto s = p.active().Lock();
    QVERIFY(s->m_roi[2].status != RoiStatus::Invalid); // statistics computed on OK
}

void RoiWindowsTest::defineRoiFieldChecks() {
    Program p;
    p.frame().Execute(ToInt(CommandId::DefineRoi));
    auto* d = p.Window<DefineRoiDialog>();
    QVERIFY(d);
    ModalDriver driver;
    driver.ThenButton(QMessageBox::Ok);
    Edit(d, "abc", "6", "Add");
    driver.ThenButton(QMessageBox::Ok);
    Edit(d, "5", "10.24", "Add"); // past the last channel's 10.23 keV
    driver.ThenButton(QMessageBox::Ok);
    Edit(d, "-0.01", "6", "Add");
    QCOMPARE(driver.seen, (QStringList{"Invalid start position", "Invalid end position",
                                       "Invalid start position"}));
    // A start not below the end adds nothing and says nothing.
    Edit(d, "6", "6", "Add");
    Edit(d, "6.5", "6", "Add");
    QCOMPARE(ListRows(d->List()).size(), 2);
    QCOMPARE(driver.unexpected, 0);
    // The bounds themselves are valid: channel 0 to the last channel.
    Edit(d, "0", "10.23", "Add");
    QCOMPARE(ListRows(d->List()).front(), QStringLiteral("0\t10.23"));
    d->Button("RemoveAll")->click();
    QCOMPARE(d->List()->count(), 0);
    d->reject();
}

void RoiWindowsTest::reportColumnsFollowTheMethodsAndTheLibrary() {
    Program p;
    p.settings().fwhmCalcMethod = FwhmMethod::Gauss;
    p.settings().centroidCalcMethod = CentroidMethod::Median;
    p.frame().Execute(ToInt(CommandId::DefineRoi));
    auto* d = p.Window<DefineRoiDialog>();
    QVERIFY(d);
    struct Seen {
        QString title, spectrumLine, libraryLine;
        QStringList headings;
        QString centroidTip, element;
        int rows = 0;
    };
    ModalDriver driver;
    auto details = [&] {
        Seen seen;
        driver.Then([&seen](QWidget* w) {
            auto* r = qobject_cast<ReportWindow*>(w);
            if (!r) {
                w->close();
                return;
            }
            seen.title = r->windowTitle();
            seen.spectrumLine = r->SpectrumCaption()->text();
            seen.libraryLine = r->LibraryCaption()->text();
            seen.headings = Headings(r->List());
            seen.centroidTip =
                r->List()->model()->headerData(5, Qt::Horizontal, Qt::ToolTipRole).toString();
            seen.rows = r->List()->RowCount();
            seen.element = r->List()->CellText(0, 8);
            r->accept();
        });
        d->Button("Details")->click();
        return seen;
    };
    const QStringList methods = {"Start",      "End",          "FWHM (G)",    "Net Area",
                                 "Gross Area", "Centroid (M)", "Uncertainty", "Status"};
    Seen plain = details();
    QCOMPARE(plain.title, QStringLiteral("Regions of Interest Details"));
    QVERIFY(plain.spectrumLine.endsWith(QStringLiteral("fe55.mca  12/09/2025 10:15:00")));
    QCOMPARE(plain.libraryLine, QString());
    QCOMPARE(plain.headings, methods); // no library: no Element column
    QCOMPARE(plain.centroidTip, QStringLiteral("Peak Mean"));
    QCOMPARE(plain.rows, 2);

    p.LoadLibrary();
    Seen withLibrary = details();
    QCOMPARE(withLibrary.headings, methods + QStringList{"Element"});
    QCOMPARE(withLibrary.libraryLine, QStringLiteral("k-lines.lib"));
    QCOMPARE(withLibrary.element, QStringLiteral("Mn Ka"));

    p.settings().calibrateEnable = 0; // channels: no Element column even with a library
    p.settings().fwhmCalcMethod = FwhmMethod::Smoothing;
    p.settings().fwhmNoSmooths = 1;
    p.settings().centroidCalcMethod = CentroidMethod::Normal;
    Seen channels = details();
    QCOMPARE(channels.headings.size(), 8);
    QCOMPARE(channels.headings[2], QStringLiteral("FWHM (SM5)"));
    QCOMPARE(channels.headings[5], QStringLiteral("Centroid (N)"));
    QCOMPARE(channels.centroidTip, QStringLiteral("Peak Centroid"));
    QCOMPARE(driver.unexpected, 0);
    d->reject();
}

void RoiWindowsTest::reportSortsNumbersAsNumbersAndCopiesWithItsHeader() {
    Program p;
    RoiReport report;
    report.captions = {"ROI Details", "a.mca  now", ""};
    report.headings = {"Start",      "End",          "FWHM (N)",    "Net Area",
                       "Gross Area", "Centroid (N)", "Uncertainty", "Status"};
    report.rows = {{"1", "2", "0.100", "319242", "5", "1.5", "0.18", "GOOD"},
                   {"3", "4", "0.100", "45602", "5", "3.5", "0.48", "BAD"}};
    ReportWindow window(report, &p.frame());
    CListCtrlEx* list = window.List();
    QVERIFY(!window.LibraryCaption()->isVisibleTo(&window)); // an empty caption takes no line
    list->sortByColumn(3, Qt::AscendingOrder);
    QCOMPARE(list->CellText(0, 3), QStringLiteral("45602")); // as text it would come second
    list->sortByColumn(7, Qt::AscendingOrder);
    QCOMPARE(list->CellText(0, 7), QStringLiteral("BAD"));
    QCOMPARE(list->model()
                 ->data(list->model()->index(0, 7), Qt::TextAlignmentRole)
                 .value<Qt::Alignment>(),
             Qt::Alignment(Qt::AlignCenter));
    QCOMPARE(list->CopyText(), std::string("Start\tEnd\tFWHM (N)\tNet Area\tGross Area\t"
                                           "Centroid (N)\tUncertainty\tStatus\t\n"
                                           "3\t4\t0.100\t45602\t5\t3.5\t0.48\tBAD\t\n"
                                           "1\t2\t0.100\t319242\t5\t1.5\t0.18\tGOOD\t\n"));
    QVERIFY(window.CopyList());
    QCOMPARE(QGuiApplication::clipboard()->text(), QString::fromStdString(list->CopyText()));
    // An empty report copies nothing and says nothing.
    report.rows.clear();
    ReportWindow empty(report, &p.frame());
    QVERIFY(!empty.CopyList());
}

void RoiWindowsTest::libraryListFollowsTheCursor() {
    Program p;
    p.LoadLibrary();
    p.settings().librarySens = 0.5;
    CPlot& plot = p.frame().Panes().Model();
    plot.MoveCursorTo(p.active().ToAbsoluteChannel(590)); // 5.90 keV
    p.frame().Execute(ToInt(CommandId::ShowLibrary));
    auto* w = p.Window<LibraryWindow>();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Library - k-lines.lib"));
    QCOMPARE(w->List()->Text(), std::string("5.42\tCr Ka\t\n5.43\tV Kb\t\n5.90\tMn Ka\t\n"
                                            "5.95\tCr Kb\t\n"));
    plot.MoveCursorTo(p.active().ToAbsoluteChannel(700)); // 7.00 keV
    QCOMPARE(w->List()->Text(), std::string("6.93\tCo Ka\t\n7.06\tFe Kb\t\n7.48\tNi Ka\t\n"));
    QCOMPARE(w->List()->CopyText().substr(0, 16), std::string("Energy\tElement\t\n"));
    // Emptied by the preferences: the list follows the panes' refresh.
    p.state().Library().Clear();
    p.frame().RefreshPanes();
    QCOMPARE(w->List()->RowCount(), 0);
    p.LoadLibrary();
    p.frame().RefreshPanes();
    QCOMPARE(w->List()->RowCount(), 3);
    plot.MoveCursorTo(p.active().ToAbsoluteChannel(100)); // 1.00 keV: nothing near
    QCOMPARE(w->List()->RowCount(), 0);
    QVERIFY(!w->CopyList());
    p.frame().Execute(ToInt(CommandId::ShowLibrary));
    QCOMPARE(p.frame().findChildren<LibraryWindow*>().size(), 1);
    // The profile follows the open window: the program's end saves it without closing it.
    w->resize(260, 300);
    w->move(140, 90);
    QCOMPARE(p.state().Profile().libListWidth, 260);
    QCOMPARE(p.state().Profile().libListHeight, 300);
    QCOMPARE(p.state().Profile().Dialog(ProfileDialog::LibList).hpos, w->frameGeometry().left());
    QCOMPARE(p.state().Profile().Dialog(ProfileDialog::LibList).vpos, w->frameGeometry().top());
    w->close();
    QCOMPARE(p.state().Profile().libListWidth, 260);
    QCOMPARE(p.state().Profile().libListHeight, 300);
}

void RoiWindowsTest::loadLibraryStartsInTheLibraryFolder() {
    Program p;
    p.state().Profile().libraryDirectory.assign(1, '\\'); // the stored default: no folder
    p.frame().Execute(ToInt(CommandId::ShowLibrary));
    auto* w = p.Window<LibraryWindow>();
    QVERIFY(w);
    const QString folder = p.dir.filePath("vorna");
    QDir().mkpath(folder);
    QFile::copy(kLibrary, folder + "/k-lines.lib");
    QString started;
    ModalDriver driver;
    driver.Then([&](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        started = dialog->directory().absolutePath();
        // Typed as a user would (selectFile leaves a focused name field alone).
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(QStringLiteral("k-lines.lib"));
        static_cast<QDialog*>(dialog)->accept();
    });
    p.frame().Execute(ToInt(CommandId::LoadLibrary));
    QCOMPARE(started, folder);
    QCOMPARE(driver.unexpected, 0);
    QCOMPARE(p.state().Library().GetCount(), 18);
    QCOMPARE(w->windowTitle(), QStringLiteral("Library - k-lines.lib"));
    QCOMPARE(p.state().Profile().libraryFile, std::string("*.lib")); // the profile keeps its file
}

void RoiWindowsTest::roiListViewFollowsTheActiveSpectrum() {
    Program p;
    p.frame().Execute(ToInt(CommandId::RoiDetails));
    auto* w = p.Window<RoiListWindow>();
    QVERIFY(w);
    QCOMPARE(w->windowTitle(), QStringLiteral("Regions of Interest Details"));
    CListCtrlEx* list = w->List();
    QCOMPARE(Headings(list), (QStringList{"Start", "End", "FWHM", "Net Area", "Gross Area",
                                          "Centroid", "Uncertainty", "Status"}));
    QCOMPARE(list->RowCount(), 2);
    QCOMPARE(list->CellText(0, 7), QStringLiteral("GOOD")); // statistics computed on opening
    QCOMPARE(list->CellText(0, 2).section('.', 1).size(), 4);
    QVERIFY(!list->isSortingEnabled());

    // A ROI added in the plot shows up.
    AddRoi(RoiContext{p.active(), p.state().Spectra().Environment(), true}, 100, 120);
    p.frame().RefreshPanes();
    QCOMPARE(list->RowCount(), 3);
    QCOMPARE(list->CellText(0, 0), QStringLiteral("1.00"));

    p.frame().Execute(ToInt(CommandId::RoiListCopy));
    std::string expected;
    {
        auto s = p.active().Lock();
        expected = RoiListText(s->m_roi, s->m_calibrate, p.settings());
    }
    QCOMPARE(ToCore(QGuiApplication::clipboard()->text()), expected);

    // Copy ROI copies the report (FWHM with 3 decimals) and says so.
    p.frame().Execute(ToInt(CommandId::CopyRoi));
    QCOMPARE(p.frame().StatusText(0),
             QStringLiteral("Copying of ROIs to clipboard was successful."));
    const QStringList lines = QGuiApplication::clipboard()->text().split('\n');
    QCOMPARE(lines.front(), QStringLiteral("Start\tEnd\tFWHM (N)\tNet Area\tGross Area\t"
                                           "Centroid (N)\tUncertainty\tStatus\t"));
    QCOMPARE(lines[2].section('\t', 2, 2).section('.', 1).size(), 3);

    w->move(150, 70);
    QCOMPARE(p.state().Profile().Dialog(ProfileDialog::RoiList).hpos, w->frameGeometry().left());
}

QTEST_MAIN(RoiWindowsTest)
#include "RoiWindowsTest.moc"
