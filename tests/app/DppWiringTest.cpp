// The program against simulated DPPs on the simulated USB bus: Connect in timed steps, Start
// with the data timer filling the live spectrum, Stop, a saved live spectrum carrying the
// device's blocks, the watch timer noticing an unplug, and the choice among several devices.

#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/DppSession.h"
#include "app/InfoPane.h"
#include "app/PlotPanes.h"
#include "app/RepeatMeasurementRunner.h"
#include "app/TextConvert.h"
#include "appcore/CommandIds.h"
#include "display/ui/PlotWidget.h"
#include "dpp/DppModels.h"
#include "dppui/CDppSelectDlg.h"
#include "settings/MemoryProfileStore.h"
#include "sim/dpp/SimDppBus.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumFile.h"

using namespace vorna;
using vorna::test::LiveSpectrumTotal;
using vorna::test::ModalDriver;
using vorna::test::StartRealTimeProgram;
using vorna::test::WriteRepeatSeries;

namespace {

void PrepareStore(MemoryProfileStore& store, const QTemporaryDir& dir) {
    store.WriteInt("Standard", "start_dlg_show", 0);
    store.WriteInt("Standard", "dpp_update_dlg_show", 0);
    store.WriteInt("Standard", "device_type", 2);
    store.WriteInt("Standard", "data_refresh", 500);
    store.WriteText("Standard", "spectra_directory", PathToCore(dir.path() + "/"));
}

} // namespace

class DppWiringTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectStartStopSaveAndUnplug();
    void chooseAmongSeveralDevices();
    void resolutionTestSeriesWaitsForEachPresetEnd();
    void startDialogChoosesThePloverBesideTheKestrel();
};

void DppWiringTest::connectStartStopSaveAndUnplug() {
    qputenv("VORNA_SIMULATE", "plover");
    QTemporaryDir dir;
    MemoryProfileStore store;
    PrepareStore(store, dir);
    ModalDriver driver;
    auto app = StartRealTimeProgram(store, dir.path());
    QVERIFY(app);
    CMainFrame& f = *app->MainFrame();
    ProgramState& state = app->State();
    DppSession* dpp = f.Dpp();
    QVERIFY(dpp);
    QCOMPARE(f.StatusText(1), QStringLiteral("USB Dpp not connected"));
    // Start before Connect starts nothing and says why.
    f.Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(!state.Acquiring());
    QVERIFY(!dpp->DataTimerRunning());
    QCOMPARE(f.StatusText(0),
             QStringLiteral("Plover not connected please reset Plover and try again..."));

    // The connect returns at once and finishes on its timers.
    f.Execute(ToInt(CommandId::Connect));
    QVERIFY(dpp->Connecting());
    QVERIFY(!state.DeviceConnected());
    QTRY_VERIFY_WITH_TIMEOUT(!dpp->Connecting(), 10000);
    QVERIFY(state.DeviceConnected());
    QCOMPARE(f.StatusText(0), QStringLiteral("Plover connected..."));
    QCOMPARE(f.StatusText(1), QStringLiteral("USB Dpp connected"));
    QCOMPARE(f.Action(CommandId::Connect)->text(), QStringLiteral("Disconnect\tF2"));
    QVERIFY(!f.Action(CommandId::DeleteData)->isEnabled());
    QVERIFY(f.Info()->Label(0).startsWith(QStringLiteral("Plover (s/n    1001)")));
    QCOMPARE(f.Info()->Value(9), QStringLiteral("1.00")); // the gain step of a Plover
    f.Execute(ToInt(CommandId::McaDeltaMode));
    QTRY_COMPARE(f.Info()->Value(3), QStringLiteral("MCA:DELTA"));
    f.Execute(ToInt(CommandId::McaDeltaMode));
    QTRY_COMPARE(f.Info()->Value(3), QStringLiteral("MCA"));
    driver.ThenButton(QMessageBox::Ok);
    f.Execute(ToInt(CommandId::DisplaySettings));
    QVERIFY(driver.seen.value(0).startsWith(QStringLiteral("Current Configuration \r\n")));
    driver.seen.clear();

    f.Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(state.Acquiring());
    QCOMPARE(f.StatusText(0), QStringLiteral("Acquisition started..."));
    QCOMPARE(f.Action(CommandId::StartAcquisition)->text(),
             QStringLiteral("&Stop Acquisition\tF3"));
    QTRY_VERIFY_WITH_TIMEOUT(LiveSpectrumTotal(state.Spectra()) > 0, 10000);
    const double first = LiveSpectrumTotal(state.Spectra());
    QTRY_VERIFY_WITH_TIMEOUT(LiveSpectrumTotal(state.Spectra()) > first, 10000);
    QVERIFY(state.Spectra().At(0)->Lock()->m_dRealTime > 0);

    f.Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(!state.Acquiring());
    QVERIFY(!dpp->DataTimerRunning());
    QCOMPARE(f.StatusText(0), QStringLiteral("Acquisition stopped..."));

    // F8 on channel 100 of the 1024: the low-level threshold byte 100 reaches the device.
    f.Panes().Model().MoveCursorTo(100 * 16);
    QTest::keyClick(static_cast<PlotWidget*>(f.PlotPane())->canvas(), Qt::Key_F8);
    QCOMPARE(static_cast<SimDppBus&>(dpp->Driver()).Device(1).config().SlowChThreshold, 100);
    QVERIFY(!dpp->Device().pendingSend);

    // The live spectrum saved now carries the Plover's configuration and status.
    const QString path = dir.filePath(QStringLiteral("live.mca"));
    QCOMPARE(SaveSpectrumToPath(state.Environment(), *state.Spectra().At(0), PathToCore(path), 0),
             SaveResult::Saved);
    CSpectrum saved;
    QCOMPARE(ReadFileIntoSpectrum(state.Environment(), PathToCore(path), saved),
             FileOpenResult::Done);
    {
        auto s = saved.Lock();
        QCOMPARE(s->m_nDppDeviceCode, 2);
        QCOMPARE(s->m_nSerialNumber, 1001);
        QVERIFY(!s->m_strDppConfig.empty());
        QVERIFY(FromCore(s->m_strDppStatus).contains(QStringLiteral("Plover")));
    }

    // Unplugged: the watch timer notices and the window shows it.
    static_cast<SimDppBus&>(dpp->Driver()).Unplug(1);
    QTRY_VERIFY_WITH_TIMEOUT(!state.DeviceConnected(), 15000);
    QCOMPARE(f.StatusText(1), QStringLiteral("USB Dpp not connected"));
    QCOMPARE(f.Action(CommandId::Connect)->text(), QStringLiteral("Connect\tF2"));
    // The spectrum it acquired still names it when saved after the unplug.
    QCOMPARE(SaveSpectrumToPath(state.Environment(), *state.Spectra().At(0), PathToCore(path), 0),
             SaveResult::Saved);
    CSpectrum afterUnplug;
    QCOMPARE(ReadFileIntoSpectrum(state.Environment(), PathToCore(path), afterUnplug),
             FileOpenResult::Done);
    QCOMPARE(afterUnplug.Lock()->m_nDppDeviceCode, 2);
    QCOMPARE(afterUnplug.Lock()->m_nSerialNumber, 1001);

    // A connect that finds nothing ends "not connected", never showing a connection.
    f.Execute(ToInt(CommandId::Connect));
    QTRY_VERIFY_WITH_TIMEOUT(!dpp->Connecting(), 10000);
    QVERIFY(!state.DeviceConnected());
    QCOMPARE(f.StatusText(1), QStringLiteral("USB Dpp not connected"));
    QCOMPARE(driver.unexpected, 0);
    app.reset();
    qunsetenv("VORNA_SIMULATE");
}

void DppWiringTest::chooseAmongSeveralDevices() {
    qputenv("VORNA_SIMULATE", "heron,plover,osprey");
    QTemporaryDir dir;
    MemoryProfileStore store;
    PrepareStore(store, dir);
    ModalDriver driver;
    QStringList labels;
    driver.Then([&labels](QWidget* w) {
        auto* select = qobject_cast<CDppSelectDlg*>(w);
        QVERIFY(select);
        QCOMPARE(select->windowTitle(), QStringLiteral("Please Select A DPP"));
        for (int entry = 1; entry <= 3; ++entry)
            labels << select->entryButton(entry)->text();
        select->entryButton(2)->click();
    });
    driver.ThenButton(QMessageBox::Ok);
    auto app = StartRealTimeProgram(store, dir.path());
    QVERIFY(app);
    CMainFrame& f = *app->MainFrame();
    ProgramState& state = app->State();
    f.Execute(ToInt(CommandId::Connect));
    QTRY_VERIFY_WITH_TIMEOUT(!f.Dpp()->Connecting(), 10000);
    QCOMPARE(labels.size(), 3);
    QVERIFY2(labels[1].contains(QStringLiteral("1002 [Plover]")), qPrintable(labels.join('|')));
    QCOMPARE(driver.seen, QStringList{QStringLiteral("You Selected ") + labels[1]});
    QVERIFY(state.DeviceConnected());
    QCOMPARE(state.Profile().deviceType, 2);
    QCOMPARE(f.Dpp()->Device().status.serialNumber, 1002u);
    QCOMPARE(f.StatusText(0), QStringLiteral("Plover connected..."));
    QCOMPARE(driver.unexpected, 0);
    app.reset();
    qunsetenv("VORNA_SIMULATE");
}

// A resolution test from peaking time 22 of 24: two runs, each ended by the device's preset,
// saved, the peaking time stepped and sent between them.
void DppWiringTest::resolutionTestSeriesWaitsForEachPresetEnd() {
    qputenv("VORNA_SIMULATE", "plover");
    QTemporaryDir dir;
    MemoryProfileStore store;
    PrepareStore(store, dir);
    WriteRepeatSeries(store, dir.path(), 5, "res");
    store.WriteInt("Standard", "SpectrumResStartInt", 22);
    ModalDriver driver;
    auto app = StartRealTimeProgram(store, dir.path());
    QVERIFY(app);
    CMainFrame& f = *app->MainFrame();
    ProgramState& state = app->State();
    f.Execute(ToInt(CommandId::Connect));
    QTRY_VERIFY_WITH_TIMEOUT(state.DeviceConnected(), 10000);
    f.Dpp()->Device().config.Preset = 10; // one second
    f.Repeat().Series().SetResolutionTestOption(true);

    f.Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(state.Acquiring());
    QVERIFY(f.Repeat().Series().Running());
    QCOMPARE(state.Profile().repeatMeasLoops, 2);
    QTRY_VERIFY_WITH_TIMEOUT(state.Profile().repeatMeasEnable == 0, 30000);
    QTRY_VERIFY_WITH_TIMEOUT(!state.Acquiring(), 5000);
    QVERIFY(QFile::exists(dir.filePath("res1.mca")));
    QVERIFY(QFile::exists(dir.filePath("res2.mca")));
    QVERIFY(!QFile::exists(dir.filePath("res3.mca")));
    QFile log(dir.filePath("SpectrumResTest.csv"));
    QVERIFY(log.open(QIODevice::ReadOnly));
    QCOMPARE(log.readAll().count("\r\n"), 3); // header and two runs
    const DppConfigRecord& sent = static_cast<SimDppBus&>(f.Dpp()->Driver()).Device(1).config();
    QCOMPARE(PeakingTimeUs(sent.Rise, sent.Avg, false), PeakingTimeFromIndex(23));
    CSpectrum saved;
    QCOMPARE(ReadFileIntoSpectrum(state.Environment(), PathToCore(dir.filePath("res1.mca")), saved),
             FileOpenResult::Done);
    QCOMPARE(saved.Lock()->m_nDppDeviceCode, 2);
    QVERIFY(saved.Lock()->m_dRealTime >= 1.0);
    QCOMPARE(driver.unexpected, 0);
    app.reset();
    qunsetenv("VORNA_SIMULATE");
}

// ./run.sh's setting: a simulated KestrelA and a simulated Plover; the start dialog picks the
// Plover and its Connect reaches it.
void DppWiringTest::startDialogChoosesThePloverBesideTheKestrel() {
    qputenv("VORNA_SIMULATE", "kestrela,plover");
    QTemporaryDir dir;
    MemoryProfileStore store;
    PrepareStore(store, dir);
    store.WriteInt("Standard", "start_dlg_show", 1);
    store.WriteInt("Standard", "device_type", 0);
    // The notice follows the connect; the simulated Plover is up to date, so it stays closed.
    store.WriteInt("Standard", "dpp_update_dlg_show", 1);
    ModalDriver driver;
    driver.Then([](QWidget* w) {
        QCOMPARE(w->objectName(), QStringLiteral("StartDialog"));
        w->findChild<QListWidget*>()->setCurrentRow(2);
        QCOMPARE(w->windowTitle(), QStringLiteral("Setup Plover"));
        for (QPushButton* b : w->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("Connect"))
                b->click();
    });
    auto app = StartRealTimeProgram(store, dir.path());
    QVERIFY(app);
    ProgramState& state = app->State();
    QCOMPARE(state.Profile().deviceType, 2);
    QTRY_VERIFY_WITH_TIMEOUT(state.DeviceConnected(), 10000);
    // One device stack at a time: with the Plover chosen, the Kestrel's workers are gone.
    QVERIFY(state.Acq() == nullptr);
    CMainFrame& f = *app->MainFrame();
    QCOMPARE(f.StatusText(1), QStringLiteral("USB Dpp connected"));
    f.Execute(ToInt(CommandId::StartAcquisition));
    QTRY_VERIFY_WITH_TIMEOUT(LiveSpectrumTotal(state.Spectra()) > 0, 10000);
    QCOMPARE(driver.unexpected, 0);
    app.reset();
    qunsetenv("VORNA_SIMULATE");
}

QTEST_MAIN(DppWiringTest)
#include "DppWiringTest.moc"
