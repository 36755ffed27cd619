// The program against the simulated KestrelA: the real Connect and Start commands, the upload
// worker filling the live spectrum, the status texts, a shutdown while the run goes on, the
// acquisition setup dialog and a repeated-measurement series.

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "analysis/NumberFormat.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/PlotPanes.h"
#include "app/RepeatMeasurementRunner.h"
#include "app/TextConvert.h"
#include "appcore/CommandIds.h"
#include "common/NumberText.h"
#include "display/ui/PlotCanvas.h"
#include "display/ui/PlotWidget.h"
#include "kestrel/ui/CAcqDlg.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumFile.h"

using namespace vorna;
using vorna::test::LiveSpectrumTotal;
using vorna::test::ModalDriver;
using vorna::test::StartRealTimeProgram;
using vorna::test::WriteRepeatSeries;

namespace {

// A profile for the simulated analyzer that never names a real port.
void PrepareStore(MemoryProfileStore& store, const QTemporaryDir& dir) {
    store.WriteInt("Standard", "start_dlg_show", 0);
    for (int n = 1; n <= 9; ++n)
        store.WriteText("Standard", Format("serial_device_%d", n),
                        PathToCore(dir.filePath("no-such-tty")));
}

// Picks an entry of one of the setup dialog's lists as the user would.
void Choose(QWidget* dialog, const char* list, const QString& entry) {
    auto* box = dialog->findChild<QComboBox*>(QString::fromLatin1(list));
    QVERIFY(box);
    const int index = box->findText(entry);
    QVERIFY(index >= 0);
    box->setCurrentIndex(index);
    Q_EMIT box->activated(index);
}

// "Set Acquisition Mode": 256 channels, a two-second real-time preset, OK.
void SetShortRunOn256Channels(QWidget* modal) {
    auto* dialog = qobject_cast<CAcqDlg*>(modal);
    QVERIFY(dialog);
    QCOMPARE(dialog->windowTitle(), QStringLiteral("Set Acquisition Mode"));
    // The texts first: a change of mode checks them, and the simulator powers up with
    // threshold 0, below the dialog's range.
    dialog->findChild<QLineEdit*>(QStringLiteral("preset"))->setText(QStringLiteral("2"));
    dialog->findChild<QLineEdit*>(QStringLiteral("threshold"))->setText(QStringLiteral("20"));
    Choose(dialog, "presetMode", QStringLiteral("Seconds"));
    Choose(dialog, "adcChannels", QStringLiteral("256"));
    Choose(dialog, "timerType", QStringLiteral("Real Time"));
    dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

QStringList ReadLines(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList lines = QString::fromLatin1(file.readAll()).split(QStringLiteral("\r\n"));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

} // namespace

class KestrelWiringTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectAndStartFillTheLiveSpectrum();
    void setupDialogThenRepeatedSeries();
};

void KestrelWiringTest::connectAndStartFillTheLiveSpectrum() {
    qputenv("VORNA_SIMULATE", "kestrela");
    QTemporaryDir dir;
    MemoryProfileStore store;
    PrepareStore(store, dir);
    ModalDriver driver;
    auto app = StartRealTimeProgram(store, dir.path());
    QVERIFY(app);
    CMainFrame& f = *app->MainFrame();
    ProgramState& state = app->State();
    QVERIFY(state.Acq() != nullptr);

    // Device commands run on the Kestrel's command thread; the window only waits for events.
    f.Execute(ToInt(CommandId::Connect));
    QTRY_VERIFY_WITH_TIMEOUT(state.DeviceConnected(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(f.StatusText(0), QStringLiteral("MCA connected..."), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(f.StatusText(1).startsWith("Battery") ||
                                 f.StatusText(1) == QStringLiteral("AC Power"),
                             10000);

    f.Execute(ToInt(CommandId::StartAcquisition));
    QTRY_VERIFY_WITH_TIMEOUT(state.Acquiring(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(f.StatusText(0), QStringLiteral("Acquisition started..."), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(LiveSpectrumTotal(state.Spectra()) > 0, 20000);
    const double first = LiveSpectrumTotal(state.Spectra());
    // It keeps growing while the run goes on: the worker uploads at the update interval.
    QTRY_VERIFY_WITH_TIMEOUT(LiveSpectrumTotal(state.Spectra()) > first, 20000);

    f.Execute(ToInt(CommandId::StartAcquisition));
    QTRY_VERIFY_WITH_TIMEOUT(!state.Acquiring(), 10000);
    QTRY_COMPARE_WITH_TIMEOUT(f.StatusText(0), QStringLiteral("Acquisition stopped..."), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(LiveSpectrumTotal(state.Spectra()) > 0, 20000);

    // D on the plot reaches the analyzer: its memory is cleared, so the next upload is empty.
    QTest::keyClick(static_cast<PlotWidget*>(f.PlotPane())->canvas(), Qt::Key_D);
    f.Execute(ToInt(CommandId::UpdateData));
    QTRY_COMPARE_WITH_TIMEOUT(LiveSpectrumTotal(state.Spectra()), 0.0, 20000);
    QCOMPARE(driver.seen, QStringList());

    // Started again and closed mid-run: the upload worker stops first, without a hang.
    f.Execute(ToInt(CommandId::StartAcquisition));
    QTRY_VERIFY_WITH_TIMEOUT(state.Acquiring(), 10000);
    f.close();
    const auto& journal = state.Journal();
    const auto at = std::find(journal.begin(), journal.end(), "upload worker stopped");
    QVERIFY(at != journal.end());
    QCOMPARE(*(at + 1), std::string("workers stopped"));
    app.reset();
    qunsetenv("VORNA_SIMULATE");
}

void KestrelWiringTest::setupDialogThenRepeatedSeries() {
    qputenv("VORNA_SIMULATE", "kestrela");
    QTemporaryDir dir;
    MemoryProfileStore store;
    PrepareStore(store, dir);
    store.WriteInt("Standard", "update_interval", 300);
    WriteRepeatSeries(store, dir.path(), 3, "run");
    ModalDriver driver;
    auto app = StartRealTimeProgram(store, dir.path());
    QVERIFY(app);
    CMainFrame& f = *app->MainFrame();
    ProgramState& state = app->State();
    QWidget* canvas = static_cast<PlotWidget*>(f.PlotPane())->canvas();
    QTest::keyClick(canvas, Qt::Key_F2);
    QTRY_VERIFY_WITH_TIMEOUT(state.DeviceConnected(), 10000);

    // F9: the new channel count asks about the data first; No clears it.
    driver.Then(SetShortRunOn256Channels);
    driver.ThenButton(QMessageBox::No);
    QTest::keyClick(canvas, Qt::Key_F9);
    QTRY_COMPARE_WITH_TIMEOUT(state.Acq()->Status().preset, 2u, 10000);
    QCOMPARE(driver.seen, QStringList{QStringLiteral("Do you want to save MCA data?")});
    QCOMPARE(driver.unexpected, 0);
    QCOMPARE(state.Acq()->Status().GainCode(), 6);
    QCOMPARE(state.Spectra().At(0)->Lock()->m_nChannels, 256);
    QCOMPARE(state.Profile().presetMode, 0);

    // F8 on channel 40 of the 256 sets the analyzer's threshold there.
    f.Panes().Model().MoveCursorTo(40 * 64);
    QTest::keyClick(canvas, Qt::Key_F8);
    QTRY_VERIFY_WITH_TIMEOUT(state.Kestrel()->Busy() == false, 10000);
    f.Execute(ToInt(CommandId::UpdateData));
    QTRY_COMPARE_WITH_TIMEOUT(state.Acq()->Status().Threshold(), 40, 10000);
    QCOMPARE(driver.seen, QStringList{QStringLiteral("Do you want to save MCA data?")});

    // F3 starts the series; the device's preset ends each run, the series saves and restarts.
    QTest::keyClick(canvas, Qt::Key_F3);
    QTRY_VERIFY_WITH_TIMEOUT(f.Repeat().Series().Running(), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(state.Profile().repeatMeasEnable == 0, 120000);
    QVERIFY(!f.Repeat().Series().Running());
    QTRY_VERIFY_WITH_TIMEOUT(!state.Acquiring(), 10000);

    const QStringList log = ReadLines(dir.filePath("SpectrumData.csv"));
    QCOMPARE(log.size(), 4);
    QCOMPARE(log[0], QStringLiteral("Filename,Date Time Stamp,Total Counts,Centroid,FWHM,"
                                    "Net Area,Uncertainty,Net Rate,Gross Area"));
    for (int loop = 1; loop <= 3; ++loop) {
        const QString path = dir.filePath(QStringLiteral("run%1.mca").arg(loop));
        CSpectrum saved;
        QCOMPARE(ReadFileIntoSpectrum(state.Environment(), PathToCore(path), saved),
                 FileOpenResult::Done);
        auto s = saved.Lock();
        double total = 0;
        for (double counts : s->m_pData)
            total += counts;
        QCOMPARE(static_cast<int>(s->m_pData.size()), 256);
        // Two seconds at the simulator's 2500 counts per second: each file holds its own run.
        QVERIFY2(total > 3500 && total < 6500, qPrintable(QString::number(total)));
        QCOMPARE(log[loop],
                 QStringLiteral("file://%1,%2,%3,,,,,,")
                     .arg(path, FromCore(s->m_szStartTime), FromCore(FormatNumber(total))));
    }
    QVERIFY(!QFile::exists(dir.filePath("run4.mca")));
    QCOMPARE(driver.unexpected, 0);
    app.reset();
    qunsetenv("VORNA_SIMULATE");
}

QTEST_MAIN(KestrelWiringTest)
#include "KestrelWiringTest.moc"
