// The whole program while its simulated devices fail as real ones do (VORNA_SIMULATE fault
// options): a pulled cable, a device that falls silent, bad checksums, short USB reads. The
// program must keep running, tell the user once, from its own thread, and lose nothing on disk.

#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QtTest>
#include <cmath>
#include <memory>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/TextConvert.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "common/NumberText.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumFile.h"

using namespace vorna;
using vorna::test::LiveSpectrumTotal;
using vorna::test::ModalDriver;
using vorna::test::StartRealTimeProgram;

namespace {

struct Faulty {
    Faulty(const char* simulate, int deviceType) {
        qputenv("VORNA_SIMULATE", simulate);
        store.WriteInt("Standard", "start_dlg_show", 0);
        store.WriteInt("Standard", "dpp_update_dlg_show", 0);
        store.WriteInt("Standard", "update_interval", 300);
        store.WriteInt("Standard", "device_type", deviceType);
        store.WriteText("Standard", "spectra_directory", PathToCore(dir.path() + "/"));
        for (int n = 1; n <= 9; ++n)
            store.WriteText("Standard", Format("serial_device_%d", n),
                            PathToCore(dir.filePath("no-such-tty")));
        app = StartRealTimeProgram(store, dir.path());
    }
    ~Faulty() {
        app.reset();
        qunsetenv("VORNA_SIMULATE");
    }
    CMainFrame& frame() { return *app->MainFrame(); }
    ProgramState& state() { return app->State(); }
    double Total() { return LiveSpectrumTotal(state().Spectra()); }
    bool ConnectAndStart() {
        frame().Execute(ToInt(CommandId::Connect));
        if (!QTest::qWaitFor([&] { return state().DeviceConnected(); }, 15000))
            return false;
        frame().Execute(ToInt(CommandId::StartAcquisition));
        return QTest::qWaitFor([&] { return state().Acquiring(); }, 15000) &&
               QTest::qWaitFor([&] { return Total() > 0; }, 20000);
    }
    // Saves the live spectrum through Save As; the file's channel total, or -1.
    double SaveLive(ModalDriver& driver, const QString& name, CSpectrum* read = nullptr) {
        const QString path = dir.filePath(name);
        driver.Then([path](QWidget* modal) {
            auto* dialog = qobject_cast<QFileDialog*>(modal);
            if (!dialog) {
                modal->close();
                return;
            }
            dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(path);
            static_cast<QDialog*>(dialog)->accept();
        });
        state().Spectra().Activate(0);
        frame().Execute(ToInt(CommandId::FileSaveAs));
        if (!QTest::qWaitFor([&] { return QFile::exists(path); }, 20000))
            return -1;
        CSpectrum own;
        CSpectrum& s = read ? *read : own;
        if (ReadFileIntoSpectrum(state().Environment(), PathToCore(path), s) !=
            FileOpenResult::Done)
            return -1;
        double total = 0;
        for (double c : s.Lock()->m_pData) {
            if (!std::isfinite(c) || c < 0)
                return -2;
            total += c;
        }
        return total;
    }
    // Waits until the live total has not changed for a second.
    double SteadyTotal() {
        double last = -1;
        for (int i = 0; i < 30; ++i) {
            QTest::qWait(1000);
            const double now = Total();
            if (now == last)
                return now;
            last = now;
        }
        return last;
    }

    QTemporaryDir dir;
    MemoryProfileStore store;
    std::unique_ptr<CLumoApp> app;
};

int CountStartingWith(const QStringList& texts, const QString& prefix) {
    int n = 0;
    for (const QString& t : texts)
        n += t.startsWith(prefix);
    return n;
}

} // namespace

class DeviceFaultTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void kestrelCablePulledAndPluggedBack();
    void kestrelFallsSilent();
    void kestrelBadChecksums();
    void ploverUnplugged();
    void ploverShortReads();
};

void DeviceFaultTest::kestrelCablePulledAndPluggedBack() {
    Faulty f("kestrela:unplug=10:replug=40", 0);
    QVERIFY(f.app);
    ModalDriver driver;
    QElapsedTimer sinceConnect;
    sinceConnect.start();
    QVERIFY(f.ConnectAndStart());
    // The cable goes ten seconds after the connect: the worker's retries run out, the
    // connection is dropped and the user is told once.
    QTRY_VERIFY_WITH_TIMEOUT(!f.state().DeviceConnected(), 40000);
    QTRY_COMPARE_WITH_TIMEOUT(CountStartingWith(driver.seen, QStringLiteral("Failed to upload")), 1,
                              10000);
    QTest::qWait(1500);
    QCOMPARE(CountStartingWith(driver.seen, QStringLiteral("Failed to upload")), 1);
    QVERIFY(f.frame().isVisible());
    QCOMPARE(f.frame().StatusText(1), QStringLiteral("MCA not connected"));

    // The live spectrum keeps the last good upload, and that is what is saved.
    const double kept = f.Total();
    QVERIFY(kept > 0);
    QCOMPARE(f.SaveLive(driver, QStringLiteral("kept.mca")), kept);

    // Plugged back: F2 connects again and F3 acquires again.
    QTRY_VERIFY_WITH_TIMEOUT(sinceConnect.elapsed() > 52000, 60000);
    f.frame().Execute(ToInt(CommandId::Connect));
    QTRY_VERIFY_WITH_TIMEOUT(f.state().DeviceConnected(), 20000);
    f.frame().Execute(ToInt(CommandId::StartAcquisition));
    QTRY_VERIFY_WITH_TIMEOUT(f.state().Acquiring(), 15000);
    const double again = f.Total();
    QTRY_VERIFY_WITH_TIMEOUT(f.Total() > again, 20000);
}

void DeviceFaultTest::kestrelFallsSilent() {
    Faulty f("kestrela:silent=6", 0);
    QVERIFY(f.app);
    ModalDriver driver;
    QVERIFY(f.ConnectAndStart());
    QTRY_VERIFY_WITH_TIMEOUT(!f.state().DeviceConnected(), 60000);
    QTRY_VERIFY_WITH_TIMEOUT(
        CountStartingWith(driver.seen, QStringLiteral("Failed to upload")) >= 1, 10000);
    const double kept = f.SteadyTotal();
    QVERIFY(kept > 0);
    QCOMPARE(f.SaveLive(driver, QStringLiteral("silent.mca")), kept);
}

void DeviceFaultTest::kestrelBadChecksums() {
    Faulty f("kestrela:checksum=4", 0);
    QVERIFY(f.app);
    ModalDriver driver;
    QVERIFY(f.ConnectAndStart());
    // The link's retries ride over every fourth bad record: the run goes on, nobody is bothered.
    const double first = f.Total();
    QTRY_VERIFY_WITH_TIMEOUT(f.Total() > first, 20000);
    QVERIFY(f.state().Acquiring());
    f.frame().Execute(ToInt(CommandId::StartAcquisition));
    QTRY_VERIFY_WITH_TIMEOUT(!f.state().Acquiring(), 15000);
    // Save asks the analyzer for its counts once more; the file holds exactly what arrived.
    const double saved = f.SaveLive(driver, QStringLiteral("checked.mca"));
    QVERIFY(saved > 0);
    QCOMPARE(saved, f.Total());
    QCOMPARE(CountStartingWith(driver.seen, QStringLiteral("Failed")), 0);
}

void DeviceFaultTest::ploverUnplugged() {
    Faulty f("plover:unplug=5", 2);
    QVERIFY(f.app);
    ModalDriver driver;
    QVERIFY(f.ConnectAndStart());
    QTRY_COMPARE_WITH_TIMEOUT(f.frame().StatusText(1), QStringLiteral("USB Dpp not connected"),
                              30000);
    QVERIFY(f.frame().isVisible());
    const double kept = f.SteadyTotal();
    QVERIFY(kept > 0);
    CSpectrum saved;
    QCOMPARE(f.SaveLive(driver, QStringLiteral("plover.mca"), &saved), kept);
    auto s = saved.Lock();
    QVERIFY(s->m_nDppDeviceCode > 0);
    QVERIFY(!s->m_strDppConfig.empty());
    QCOMPARE(FromCore(s->DppValueText(DppValue::SerialNumber)).trimmed(), QStringLiteral("1001"));
}

void DeviceFaultTest::ploverShortReads() {
    Faulty f("plover:short=3", 2);
    QVERIFY(f.app);
    QVERIFY(f.ConnectAndStart());
    // A short read is dropped: the counts never step back to a partial spectrum.
    double last = f.Total();
    for (int i = 0; i < 8; ++i) {
        QTest::qWait(700);
        const double now = f.Total();
        QVERIFY2(now >= last, qPrintable(QStringLiteral("%1 after %2").arg(now).arg(last)));
        last = now;
    }
    QVERIFY(f.state().Acquiring());
}

QTEST_MAIN(DeviceFaultTest)
#include "DeviceFaultTest.moc"
