// The program against the simulated KestrelA: the real Connect and Start commands, the upload
// worker filling the live spectrum, the status texts, and a shutdown while the run goes on.

#include <QMessageBox>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "ModalDriver.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/TextConvert.h"
#include "appcore/CommandIds.h"
#include "common/NumberText.h"
#include "display/ui/PlotCanvas.h"
#include "display/ui/PlotWidget.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using vorna::test::ModalDriver;

namespace {

double LiveTotal(CSpectraList& list) {
    auto guard = list.Lock();
    CSpectrum* live = list.At(0);
    if (!live)
        return 0;
    auto s = live->Lock();
    double total = 0;
    for (double counts : s->m_pData)
        total += counts;
    return total;
}

} // namespace

class KestrelWiringTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void connectAndStartFillTheLiveSpectrum();
};

void KestrelWiringTest::connectAndStartFillTheLiveSpectrum() {
    qputenv("VORNA_SIMULATE", "kestrela");
    QTemporaryDir dir;
    MemoryProfileStore store;
    store.WriteInt("Standard", "start_dlg_show", 0);
    // Never a real port, should the simulator not be chosen.
    for (int n = 1; n <= 9; ++n)
        store.WriteText("Standard", Format("serial_device_%d", n),
                        PathToCore(dir.filePath("no-such-tty")));
    ModalDriver driver;
    CLumoApp::Options o;
    o.programDir = dir.path();
    o.store = &store;
    auto app = std::make_unique<CLumoApp>(o); // the steady clock paces the simulator
    QVERIFY(app->InitInstance());
    CMainFrame& f = *app->MainFrame();
    ProgramState& state = app->State();
    QVERIFY(state.Acq() != nullptr);

    f.Execute(ToInt(CommandId::Connect));
    QVERIFY(state.DeviceConnected());
    QTRY_COMPARE_WITH_TIMEOUT(f.StatusText(0), QStringLiteral("MCA connected..."), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(f.StatusText(1).startsWith("Battery") ||
                                 f.StatusText(1) == QStringLiteral("AC Power"),
                             10000);

    f.Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(state.Acquiring());
    QTRY_COMPARE_WITH_TIMEOUT(f.StatusText(0), QStringLiteral("Acquisition started..."), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(LiveTotal(state.Spectra()) > 0, 20000);
    const double first = LiveTotal(state.Spectra());
    // It keeps growing while the run goes on: the worker uploads at the update interval.
    QTRY_VERIFY_WITH_TIMEOUT(LiveTotal(state.Spectra()) > first, 20000);

    f.Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(!state.Acquiring());
    QTRY_COMPARE_WITH_TIMEOUT(f.StatusText(0), QStringLiteral("Acquisition stopped..."), 10000);
    QTRY_VERIFY_WITH_TIMEOUT(LiveTotal(state.Spectra()) > 0, 20000);

    // D on the plot reaches the analyzer: its memory is cleared, so the next upload is empty.
    QTest::keyClick(static_cast<PlotWidget*>(f.PlotPane())->canvas(), Qt::Key_D);
    f.Execute(ToInt(CommandId::UpdateData));
    QTRY_COMPARE_WITH_TIMEOUT(LiveTotal(state.Spectra()), 0.0, 20000);
    QCOMPARE(driver.seen, QStringList());

    // Started again and closed mid-run: the upload worker stops first, without a hang.
    f.Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(state.Acquiring());
    f.close();
    const auto& journal = state.Journal();
    const auto at = std::find(journal.begin(), journal.end(), "upload worker stopped");
    QVERIFY(at != journal.end());
    QCOMPARE(*(at + 1), std::string("workers stopped"));
    app.reset();
    qunsetenv("VORNA_SIMULATE");
}

QTEST_MAIN(KestrelWiringTest)
#include "KestrelWiringTest.moc"
