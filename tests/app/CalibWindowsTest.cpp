// The calibration and peak search windows and the Smooth command, driven through the program's
// real widgets, offscreen.

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <memory>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "analysis/NumberFormat.h"
#include "analysis/RoiStatistics.h"
#include "app/CListCtrlEx.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/PlotPanes.h"
#include "app/TextConvert.h"
#include "app/calib/AnalysisReportDialog.h"
#include "app/calib/CalibrateDialog.h"
#include "app/calib/CalibrationPlotWindow.h"
#include "app/calib/PeakSearchDialog.h"
#include "appcore/ProgramState.h"
#include "display/CPlot.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using vorna::test::ModalDriver;
using vorna::test::TestProgram;

namespace {

const QString kExample = QStringLiteral(VORNA_EXAMPLES_DIR "/fe55.mca");

// The program with the example spectrum (1024 channels, calibrated, two ROIs) active.
struct Program : TestProgram {
    void SetRois(std::initializer_list<std::pair<int, int>> rois) {
        CSpectrum& s = active();
        {
            auto locked = s.Lock();
            locked->m_roi.Clear();
            for (auto [a, b] : rois)
                locked->m_roi.Append(a, b); // in the given order, as a file may hold them
        }
        RecomputeAllRoiStatistics(s, state().Environment().settings);
    }
    std::vector<std::pair<int, int>> Rois() {
        auto locked = active().Lock();
        std::vector<std::pair<int, int>> out;
        for (const CRoiEntry& r : locked->m_roi.Entries())
            out.emplace_back(r.start, r.end);
        return out;
    }
};

template <typename T> T* visible(QWidget& parent) {
    for (T* w : parent.findChildren<T*>())
        if (w->isVisible())
            return w;
    return nullptr;
}

void type(QWidget& dialog, const char* field, const QString& text) {
    dialog.findChild<QLineEdit*>(field)->setText(text);
}

int pointCount(const CalibrateDialog& d) {
    return d.Editor().Calibration().GetCount();
}

} // namespace

class CalibWindowsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void calibratePointRulesAndMessages();
    void calibrateOkReplacesTheCalibrationAndKeepsTheAutoFields();
    void autoCalibrationFromTheKeyPairsValuesWithChannels();
    void peakSearchFieldsResultsOverlayAndCancel();
    void peakSearchReplaceAndOkKeepTheResults();
    void smoothCommandMakesAndWrapsTheSmoothedSpectrum();
};

void CalibWindowsTest::calibratePointRulesAndMessages() {
    Program p;
    ModalDriver driver;
    p.frame().Execute(ToInt(CommandId::Calibrate));
    auto* d = visible<CalibrateDialog>(p.frame());
    QVERIFY(d);
    p.frame().Execute(ToInt(CommandId::Calibrate)); // one dialog at a time
    QCOMPARE(p.frame().findChildren<CalibrateDialog*>().size(), 1);
    auto* equation = d->findChild<QComboBox*>("equation");
    auto* points = d->findChild<QTreeWidget*>("1001");
    QCOMPARE(points->topLevelItemCount(), 2);
    QCOMPARE(points->topLevelItem(0)->text(0), QStringLiteral("589.9"));
    QCOMPARE(points->columnCount(), 3);

    // Refusals: each with its message, the points unchanged.
    const QStringList expected = {"Calibration point for this channel\nhas been already defined!",
                                  "Invalid channel!", "Invalid channel!", "Invalid value!",
                                  "Invalid value!"};
    for (int i = 0; i < expected.size(); ++i)
        driver.ThenButton(QMessageBox::Ok);
    const char* attempts[][2] = {
        {"589.9", "1"}, {"1024", "1"}, {"12abc", "1"}, {"100", "1e101"}, {"100", "x"}};
    for (auto [channel, value] : attempts) {
        type(*d, "channel", channel);
        type(*d, "value", value);
        d->AddPoint();
    }
    QCOMPARE(driver.seen, expected);
    QCOMPARE(pointCount(*d), 2);

    // The equation selector: Linear and disabled below 2 points, enabled from the third.
    d->RemoveAllPoints();
    QCOMPARE(equation->currentText(), QStringLiteral("Linear"));
    QVERIFY(!equation->isEnabled());
    QVERIFY(!d->findChild<QPushButton*>("plot")->isEnabled());
    QCOMPARE(d->findChild<QLabel*>("coefficients")->text(), QStringLiteral("A =        B ="));
    for (auto [channel, value] : {std::pair{"100", "1"}, {"200", "2"}}) {
        type(*d, "channel", channel);
        type(*d, "value", value);
        d->AddPoint();
    }
    QVERIFY(!equation->isEnabled());
    QCOMPARE(d->findChild<QLabel*>("coefficients")->text(), QStringLiteral("A=0  B=0.01 "));
    // Enter in the Value field adds the point and keeps the dialog open.
    type(*d, "channel", "300");
    type(*d, "value", "3.5");
    d->activateWindow();
    d->findChild<QLineEdit*>("value")->setFocus();
    QTest::keyClick(d->findChild<QLineEdit*>("value"), Qt::Key_Return);
    QVERIFY(d->isVisible());
    QCOMPARE(pointCount(*d), 3);
    QVERIFY(equation->isEnabled());
    QVERIFY(d->findChild<QLabel*>("cTerm")->isHidden());
    equation->setCurrentIndex(1);
    QVERIFY(!d->findChild<QLabel*>("cTerm")->isHidden());
    QVERIFY(d->findChild<QLabel*>("coefficients")->text().contains(QStringLiteral("C=")));

    // Selecting a row fills the fields; Remove leaves two points and the selector as it was.
    points->setCurrentItem(points->topLevelItem(0));
    QCOMPARE(d->findChild<QLineEdit*>("channel")->text(), QStringLiteral("100"));
    QCOMPARE(d->findChild<QLineEdit*>("value")->text(), QStringLiteral("1"));
    d->RemovePoint();
    QCOMPARE(pointCount(*d), 2);
    QVERIFY(equation->isEnabled());
    d->RemovePoint();
    QCOMPARE(driver.seen.last(), QStringLiteral("There is no channel selected!"));

    // The plot shows the dialog's copy.
    QString plotCaption;
    driver.Then([&](QWidget* w) {
        if (auto* plot = qobject_cast<CalibrationPlotWindow*>(w))
            plotCaption = QString::fromStdString(plot->Data().channelMinCaption);
        static_cast<QDialog*>(w)->reject();
    });
    d->ShowPlot();
    QCOMPARE(plotCaption, QStringLiteral("min  200"));

    // Centroid and Cursor fill the Channel field.
    p.active().m_roi.SetSelected(0);
    d->TakeCentroid();
    QCOMPARE(d->findChild<QLineEdit*>("channel")->text(),
             QString::fromStdString(FormatNumber(p.active().m_roi[0].centroid)));
    p.frame().Panes().Model().MoveCursorTo(16 * 600);
    d->TakeCursor();
    QCOMPARE(d->findChild<QLineEdit*>("channel")->text(), QStringLiteral("600"));
    d->reject();
}

void CalibWindowsTest::calibrateOkReplacesTheCalibrationAndKeepsTheAutoFields() {
    Program p;
    ModalDriver driver;
    p.frame().Execute(ToInt(CommandId::Calibrate));
    auto* d = visible<CalibrateDialog>(p.frame());
    QVERIFY(d);
    auto* method = d->findChild<QComboBox*>("autoMethod");
    QVERIFY(!d->findChild<QLineEdit*>("autoValue2")->isEnabled());
    method->setCurrentIndex(2);
    QVERIFY(d->findChild<QLineEdit*>("autoValue2")->isEnabled());
    type(*d, "autoUnits", "eV");
    type(*d, "autoValue", "5900");
    type(*d, "autoValue2", "6490");
    type(*d, "channel", "300");
    type(*d, "value", "3");
    d->AddPoint();
    d->findChild<QComboBox*>("equation")->setCurrentIndex(0);
    type(*d, "units", "kilo-eV");
    d->move(140, 90);
    const QPoint where = d->frameGeometry().topLeft();
    d->accept();
    Program::Settle();

    const CCalibrate& c = p.active().m_calibrate;
    QCOMPARE(c.GetCount(), 3);
    QCOMPARE(QString::fromStdString(c.Label()), QStringLiteral("kilo-eV"));
    QVERIFY(c.IsCalibrated());
    QCOMPARE(c.C(), 0.0); // the linear choice applies to this fit ...
    const CSProfile& profile = p.state().Profile();
    QCOMPARE(profile.calibEquationType, 1); // ... and leaves the profile's equation alone
    QCOMPARE(profile.autoCalMethod, 2);
    QCOMPARE(QString::fromStdString(profile.autoCalUnits), QStringLiteral("eV"));
    QCOMPARE(QString::fromStdString(profile.autoCalValue2), QStringLiteral("6490"));
    const DialogPosition& saved = profile.Dialog(ProfileDialog::CalibrateDlg);
    QCOMPARE(QPoint(saved.hpos, saved.vpos), where);
    QCOMPARE(driver.unexpected, 0);
}

void CalibWindowsTest::autoCalibrationFromTheKeyPairsValuesWithChannels() {
    Program p;
    ModalDriver driver;
    CSProfile& profile = p.state().Profile();
    profile.autoCalMethod = 2;
    profile.autoCalValue = "5.89";
    profile.autoCalValue2 = "6.49";
    profile.autoCalUnits = "  ";
    // ROI 0 holds the higher peak.
    p.SetRois({{630, 668}, {570, 610}});
    const double high = p.active().m_roi[0].centroid, low = p.active().m_roi[1].centroid;
    QVERIFY(high > low);
    CPlot& plot = p.frame().Panes().Model();
    QVERIFY(plot.HandleKey(PlotKey::F5, true));
    const CCalibrate& c = p.active().m_calibrate;
    QCOMPARE(c.GetCount(), 2);
    QCOMPARE(c.Points()[0].value, 5.89);
    QCOMPARE(c.Points()[1].value, 6.49);
    QCOMPARE(c.Points()[0].channel, std::round(low * 100) / 100);
    QCOMPARE(c.Points()[1].channel, std::round(high * 100) / 100);
    QCOMPARE(QString::fromStdString(c.Label()), QStringLiteral("keV"));
    QCOMPARE(c.C(), 0.0);

    // One ROI is not enough; the calibration stays.
    p.SetRois({{570, 610}});
    driver.ThenButton(QMessageBox::Ok);
    QVERIFY(plot.HandleKey(PlotKey::F5, true));
    QCOMPARE(driver.seen.last(), QStringLiteral("Cannot AutoCal - Wrong Number of Valid ROIs"));
    QCOMPARE(c.Points()[1].value, 6.49);

    // By the cursor, with a zero value taken as 5.89.
    profile.autoCalMethod = 1;
    profile.autoCalValue = "0";
    plot.MoveCursorTo(16 * 600);
    QVERIFY(plot.HandleKey(PlotKey::F5, true));
    QCOMPARE(c.Points()[1].channel, 600.0);
    QCOMPARE(c.Points()[1].value, 5.89);
    QCOMPARE(driver.unexpected, 0);
}

void CalibWindowsTest::peakSearchFieldsResultsOverlayAndCancel() {
    Program p;
    ModalDriver driver;
    // The command opens the modal dialog.
    bool opened = false;
    driver.Then([&](QWidget* w) {
        opened = qobject_cast<PeakSearchDialog*>(w) != nullptr;
        static_cast<QDialog*>(w)->reject();
    });
    p.frame().Execute(ToInt(CommandId::PeakSearch));
    QVERIFY(opened);

    p.SetRois({{100, 120}});
    CPlot& plot = p.frame().Panes().Model();
    auto d = std::make_unique<PeakSearchDialog>(p.state(), p.frame(), p.active());
    d->show();
    QCOMPARE(d->findChild<QLineEdit*>("sensitivity")->text(), QStringLiteral("5"));
    QCOMPARE(d->findChild<QLineEdit*>("width")->text(), QStringLiteral("5"));
    QCOMPARE(d->findChild<QLineEdit*>("startRange")->text(), QStringLiteral("0"));
    QCOMPARE(d->findChild<QLineEdit*>("endRange")->text(), QStringLiteral("10.23"));
    QVERIFY(!d->findChild<QPushButton*>("addToList")->isEnabled());

    driver.ThenButton(QMessageBox::Ok);
    driver.ThenButton(QMessageBox::Ok);
    type(*d, "startRange", "6");
    type(*d, "endRange", "5.99");
    d->SearchRange();
    type(*d, "endRange", "10");
    type(*d, "width", "1");
    d->SearchAll();
    QCOMPARE(driver.seen,
             (QStringList{"Invalid range!", "Please enter an integer between 2 and 100000."}));
    type(*d, "width", "5");

    // The report shows the results in place of the spectrum's own list.
    QString title;
    int rows = 0;
    std::vector<std::pair<int, int>> during;
    driver.Then([&](QWidget* w) {
        if (auto* report = qobject_cast<AnalysisReportDialog*>(w)) {
            title = report->windowTitle();
            rows = report->List().RowCount();
            during = p.Rois();
        }
        static_cast<QDialog*>(w)->reject();
    });
    d->SearchAll();
    QCOMPARE(title, QStringLiteral("Peak Search Results"));
    QCOMPARE(rows, 2);
    QCOMPARE(during.size(), size_t(2));
    QCOMPARE(p.Rois(), (std::vector<std::pair<int, int>>{{100, 120}}));
    QVERIFY(plot.PeakSearchOverlay());
    QCOMPARE(plot.PeakSearchOverlay()->rois.size(), size_t(2));
    QCOMPARE(plot.PeakSearchOverlay()->rois[0].start, during[0].first);

    // Add, then Cancel: the list as it was, and no overlay.
    d->AddToList();
    QCOMPARE(p.Rois().size(), size_t(3));
    QVERIFY(d->findChild<QPushButton*>("details")->isEnabled());
    d->reject();
    QCOMPARE(p.Rois(), (std::vector<std::pair<int, int>>{{100, 120}}));
    QVERIFY(!plot.PeakSearchOverlay());
    QCOMPARE(driver.unexpected, 0);
}

void CalibWindowsTest::peakSearchReplaceAndOkKeepTheResults() {
    Program p;
    ModalDriver driver;
    CPlot& plot = p.frame().Panes().Model();
    auto d = std::make_unique<PeakSearchDialog>(p.state(), p.frame(), p.active());
    d->show();
    driver.Then([](QWidget* w) { static_cast<QDialog*>(w)->reject(); }); // the report
    d->SearchAll();
    const std::vector<std::pair<int, int>> found = {
        {plot.PeakSearchOverlay()->rois[0].start, plot.PeakSearchOverlay()->rois[0].end},
        {plot.PeakSearchOverlay()->rois[1].start, plot.PeakSearchOverlay()->rois[1].end}};
    // A search that finds nothing takes the earlier results off the plot.
    driver.ThenButton(QMessageBox::Ok);
    type(*d, "startRange", "1");
    type(*d, "endRange", "2");
    d->SearchRange();
    QCOMPARE(driver.seen.last(), QStringLiteral("No valid peaks are found!"));
    QVERIFY(!plot.PeakSearchOverlay());

    driver.Then([](QWidget* w) { static_cast<QDialog*>(w)->reject(); });
    d->SearchAll();
    d->ReplaceList();
    QCOMPARE(p.Rois(), found);
    // ROI Details reports the spectrum's own, recomputed list.
    QString title;
    driver.Then([&](QWidget* w) {
        title = w->windowTitle();
        static_cast<QDialog*>(w)->reject();
    });
    d->ShowDetails();
    QCOMPARE(title, QStringLiteral("Regions of Interest Details"));
    // A field refused after a search says so instead of showing the earlier results again.
    driver.ThenButton(QMessageBox::Ok);
    type(*d, "width", "1");
    d->SearchAll();
    QCOMPARE(driver.seen.last(), QStringLiteral("Please enter an integer between 2 and 100000."));
    QVERIFY(plot.PeakSearchOverlay());
    type(*d, "width", "7");
    type(*d, "sensitivity", "6.5");
    d->accept();
    QCOMPARE(p.Rois(), found);
    QCOMPARE(p.state().Profile().peakWidth, 7);
    QCOMPARE(p.state().Profile().peakSearchSens, 6.5);
    QCOMPARE(p.state().Environment().settings.peakWidth, 7);
    QVERIFY(!plot.PeakSearchOverlay());
    QCOMPARE(driver.unexpected, 0);
}

void CalibWindowsTest::smoothCommandMakesAndWrapsTheSmoothedSpectrum() {
    Program p;
    ModalDriver driver;
    CSpectrum* source = &p.active();
    p.frame().Execute(ToInt(CommandId::Smooth));
    CSpectrum* smoothed = &p.active();
    QVERIFY(smoothed != source);
    QCOMPARE(QString::fromStdString(smoothed->m_strTag), QStringLiteral("SM3_Fe55"));
    QCOMPARE(QString::fromStdString(smoothed->m_strExpression), QStringLiteral("SM3(Fe55)"));
    QVERIFY(QString::fromStdString(smoothed->m_strFileName).endsWith("fe55_SM3.mca"));
    QCOMPARE(source->m_bHidden, 1);
    QCOMPARE(smoothed->m_roi.GetCount(), 2);
    QTRY_VERIFY_WITH_TIMEOUT(smoothed->Lock()->m_bValid != 0, 5000);
    p.state().Profile().smoothKind = 1;
    p.state().ApplyProfileToEnvironment();
    p.frame().Execute(ToInt(CommandId::Smooth));
    QCOMPARE(&p.active(), smoothed);
    QCOMPARE(QString::fromStdString(smoothed->m_strExpression), QStringLiteral("SM5(SM3(Fe55))"));
    QCOMPARE(driver.unexpected, 0);
}

QTEST_MAIN(CalibWindowsTest)
#include "CalibWindowsTest.moc"
