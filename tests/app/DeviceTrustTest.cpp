// The whole program against simulated devices, checked from outside: what the user sees, what
// ends up on disk, and that nothing the analyzer does stalls or kills the window.

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QLineEdit>
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
#include "app/InfoPane.h"
#include "app/PlotPanes.h"
#include "app/TextConvert.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "appcore/SpectrumPropertiesEdit.h"
#include "common/NumberText.h"
#include "display/CPlot.h"
#include "display/ui/NavigationPane.h"
#include "display/ui/PlotWidget.h"
#include "settings/MemoryProfileStore.h"
#include "sim/kestrel/KestrelSimulator.h"
#include "spectrum/CSpectraList.h"
#include "spectrum/SpectrumFile.h"

using namespace vorna;
using vorna::test::LiveSpectrumTotal;
using vorna::test::ModalDriver;
using vorna::test::StartRealTimeProgram;

namespace {

void PrepareStore(MemoryProfileStore& store, const QTemporaryDir& dir) {
    store.WriteInt("Standard", "start_dlg_show", 0);
    store.WriteInt("Standard", "update_interval", 300);
    store.WriteText("Standard", "spectra_directory", PathToCore(dir.path() + "/"));
    for (int n = 1; n <= 9; ++n)
        store.WriteText("Standard", Format("serial_device_%d", n),
                        PathToCore(dir.filePath("no-such-tty")));
}

// The program on the simulated analyzer(s) of `simulate`, with the store prepared.
struct Running {
    explicit Running(const char* simulate,
                     const std::function<void(MemoryProfileStore&)>& prepare = {}) {
        qputenv("VORNA_SIMULATE", simulate);
        PrepareStore(store, dir);
        if (prepare)
            prepare(store);
        app = StartRealTimeProgram(store, dir.path());
    }
    ~Running() {
        app.reset();
        qunsetenv("VORNA_SIMULATE");
    }
    CMainFrame& frame() { return *app->MainFrame(); }
    ProgramState& state() { return app->State(); }
    QWidget* canvas() { return static_cast<PlotWidget*>(frame().PlotPane())->canvas(); }
    KestrelSimulator* simulator() { return dynamic_cast<KestrelSimulator*>(state().Line()); }
    bool ConnectAndStart() {
        frame().Execute(ToInt(CommandId::Connect));
        if (!QTest::qWaitFor([&] { return state().DeviceConnected(); }, 15000))
            return false;
        frame().Execute(ToInt(CommandId::StartAcquisition));
        return QTest::qWaitFor([&] { return state().Acquiring(); }, 15000) &&
               QTest::qWaitFor([&] { return LiveSpectrumTotal(state().Spectra()) > 0; }, 20000);
    }
    bool Stop() {
        frame().Execute(ToInt(CommandId::StartAcquisition));
        return QTest::qWaitFor([&] { return !state().Acquiring(); }, 15000);
    }

    QTemporaryDir dir;
    MemoryProfileStore store;
    std::unique_ptr<CLumoApp> app;
};

// Answers a Save As dialog with a file name typed into it.
ModalDriver::Answer SaveAsAnswer(QString path, QString* seenTitle = nullptr) {
    return [path, seenTitle](QWidget* modal) {
        auto* dialog = qobject_cast<QFileDialog*>(modal);
        if (!dialog) {
            modal->close();
            return;
        }
        if (seenTitle)
            *seenTitle = dialog->windowTitle();
        if (auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit")))
            name->setText(path);
        static_cast<QDialog*>(dialog)->accept();
    };
}

// Counts the paint events a widget receives (a repaint the program asked for, not a grab).
struct PaintCounter : QObject {
    explicit PaintCounter(QWidget* w) { w->installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint)
            ++count;
        return false;
    }
    int count = 0;
};

double FileTotal(ProgramState& state, const QString& path, int* channels = nullptr,
                 std::string* startTime = nullptr) {
    CSpectrum saved;
    if (ReadFileIntoSpectrum(state.Environment(), PathToCore(path), saved) != FileOpenResult::Done)
        return -1;
    auto s = saved.Lock();
    double total = 0;
    for (double c : s->m_pData)
        total += c;
    if (channels)
        *channels = static_cast<int>(s->m_pData.size());
    if (startTime)
        *startTime = s->m_szStartTime;
    return total;
}

} // namespace

class DeviceTrustTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void acquiringKestrelShowsItselfEverywhere();
    void gainChangeYesSavesTheCountsBeforeClearing();
    void saveWhileAcquiringWithManualUpdateHoldsTheDeviceCounts();
    void absolutePeakReachesEveryControlWord();
    void connectOnStartup();
    void unknownDeviceTypeStartsOnAValidRow_data();
    void unknownDeviceTypeStartsOnAValidRow();
    void kestrelChosenAfterADppAtStartup();
    void derivedSpectrumRemadeWhileAcquiring();
};

void DeviceTrustTest::acquiringKestrelShowsItselfEverywhere() {
    // Log scale: the live spectrum's few counts beside the file's many still move pixels.
    Running r("kestrela", [](MemoryProfileStore& s) { s.WriteInt("Standard", "scale_type", 1); });
    QVERIFY(r.app);
    ModalDriver driver;
    // A file spectrum is the active one; the live spectrum acquires beside it.
    QVERIFY(OpenSpectrumFile(r.state().Spectra(), PathToCore(vorna::test::kExampleSpectrum),
                             nullptr) == FileOpenResult::Done);
    r.frame().RefreshPanes();
    QVERIFY(r.state().Spectra().GetActivePosition() > 0);
    const QDateTime pressed = QDateTime::currentDateTime();
    QVERIFY(r.ConnectAndStart());

    // Not the active spectrum, still shown: every upload repaints the plot, with the line grown.
    PaintCounter paints(r.canvas());
    const QImage before = r.canvas()->grab().toImage();
    const double totalBefore = LiveSpectrumTotal(r.state().Spectra());
    QTRY_VERIFY_WITH_TIMEOUT(LiveSpectrumTotal(r.state().Spectra()) > totalBefore, 10000);
    QTRY_VERIFY_WITH_TIMEOUT(paints.count > 0, 5000);
    // The worker's redraw follows the new counts shortly; then the picture has changed.
    QTRY_VERIFY_WITH_TIMEOUT(r.canvas()->grab().toImage() != before, 10000);

    // The menu says what F3 does now; the info pane names the analyzer of the live spectrum.
    QTRY_COMPARE_WITH_TIMEOUT(r.frame().Action(CommandId::StartAcquisition)->text(),
                              QStringLiteral("&Stop Acquisition\tF3"), 5000);
    r.state().Spectra().Activate(0);
    r.frame().RefreshPanes();
    QTRY_VERIFY_WITH_TIMEOUT(r.frame().Info()->Value(0).isEmpty() ||
                                 r.frame().Info()->Label(0).startsWith("KestrelA (s/n "),
                             5000);
    QCOMPARE(r.frame().Info()->Label(0),
             QStringLiteral("KestrelA (s/n %1)").arg(r.simulator()->Options().serialNumber, 7));
    QCOMPARE(r.frame().Info()->Label(4), QStringLiteral("Group"));
    QVERIFY(!r.frame().Info()->Value(4).isEmpty());
    // The simulated KestrelA has 4096 channels: the range fields read channels, not 16383.
    const CPlot& plot = r.frame().Panes().Model();
    QTRY_COMPARE_WITH_TIMEOUT(plot.FieldText(NavField::RangeRight), std::string("4095"), 5000);
    QCOMPARE(plot.FieldText(NavField::RangeLeft), std::string("0"));

    // The saved run starts when F3 was pressed, not at the last status read.
    QTest::qWait(2500);
    QVERIFY(r.Stop());
    const QString path = r.dir.filePath("run.mca");
    driver.Then(SaveAsAnswer(path));
    r.frame().Execute(ToInt(CommandId::FileSaveAs));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 15000);
    std::string start;
    QVERIFY(FileTotal(r.state(), path, nullptr, &start) > 0);
    const QDateTime saved =
        QDateTime::fromString(FromCore(start), QStringLiteral("MM/dd/yyyy hh:mm:ss"));
    QVERIFY2(saved.isValid(), start.c_str());
    QVERIFY2(std::abs(saved.secsTo(pressed)) <= 2, start.c_str());
    QCOMPARE(driver.unexpected, 0);
}

void DeviceTrustTest::gainChangeYesSavesTheCountsBeforeClearing() {
    Running r("kestrela");
    QVERIFY(r.app);
    ModalDriver driver;
    QVERIFY(r.ConnectAndStart());
    QVERIFY(r.Stop());
    // What the window shows now is a lower bound of what the device holds.
    const double total = LiveSpectrumTotal(r.state().Spectra());
    QVERIFY(total > 0);

    const QString path = r.dir.filePath("before-gain.mca");
    driver.Then([](QWidget* modal) {
        // 256 channels instead of 4096, OK.
        auto* box = modal->findChild<QComboBox*>(QStringLiteral("adcChannels"));
        QVERIFY(box);
        box->setCurrentIndex(box->findText(QStringLiteral("256")));
        Q_EMIT box->activated(box->currentIndex());
        modal->findChild<QLineEdit*>(QStringLiteral("threshold"))->setText(QStringLiteral("20"));
        modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    driver.ThenButton(QMessageBox::Yes);
    driver.Then(SaveAsAnswer(path));
    QTest::keyClick(r.canvas(), Qt::Key_F9);
    QTRY_COMPARE_WITH_TIMEOUT(r.state().Spectra().At(0)->Lock()->m_nChannels, 256, 20000);
    QVERIFY2(QFile::exists(path), qPrintable(driver.seen.join('|')));
    // The file holds the device's counts, uploaded for it (at least what the window showed),
    // in the old channel layout; only then did the new gain clear the live spectrum.
    int channels = 0;
    const double saved = FileTotal(r.state(), path, &channels);
    QVERIFY2(saved >= total && total > 0,
             qPrintable(QStringLiteral("%1 %2").arg(saved).arg(total)));
    QCOMPARE(channels, 4096);
    QCOMPARE(driver.seen.first(), QStringLiteral("Do you want to save MCA data?"));
    QCOMPARE(driver.unexpected, 0);
}

void DeviceTrustTest::saveWhileAcquiringWithManualUpdateHoldsTheDeviceCounts() {
    Running r("kestrela", [](MemoryProfileStore& s) { s.WriteInt("Standard", "auto_update", 0); });
    QVERIFY(r.app);
    ModalDriver driver;
    r.frame().Execute(ToInt(CommandId::Connect));
    QTRY_VERIFY_WITH_TIMEOUT(r.state().DeviceConnected(), 15000);
    r.frame().Execute(ToInt(CommandId::StartAcquisition));
    QTRY_VERIFY_WITH_TIMEOUT(r.state().Acquiring(), 15000);
    QTest::qWait(1500);
    // "Manual": nothing is uploaded until asked; Save asks.
    const QString path = r.dir.filePath("manual.mca");
    driver.Then(SaveAsAnswer(path));
    r.frame().Execute(ToInt(CommandId::FileSaveAs));
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(path), 20000);
    QVERIFY(FileTotal(r.state(), path) > 0);
    QCOMPARE(driver.unexpected, 0);
}

void DeviceTrustTest::absolutePeakReachesEveryControlWord() {
    Running r("kestrela",
              [](MemoryProfileStore& s) { s.WriteInt("Standard", "absolute_peak", 1); });
    QVERIFY(r.app);
    QVERIFY(r.ConnectAndStart());
    QVERIFY(r.simulator()->DeviceStatus().AbsolutePeak());
    QTest::keyClick(r.canvas(), Qt::Key_F8);
    QTRY_VERIFY_WITH_TIMEOUT(!r.state().Kestrel()->Busy(), 10000);
    QVERIFY(r.simulator()->DeviceStatus().AbsolutePeak());
    QVERIFY(r.Stop());
    QVERIFY(r.simulator()->DeviceStatus().AbsolutePeak());
}

void DeviceTrustTest::connectOnStartup() {
    Running r("kestrela", [](MemoryProfileStore& s) {
        s.WriteInt("Standard", "auto_connect", 1);
        s.WriteInt("Standard", "com_port", 1);
    });
    QVERIFY(r.app);
    QTRY_VERIFY_WITH_TIMEOUT(r.state().DeviceConnected(), 15000);
    QTRY_COMPARE_WITH_TIMEOUT(r.frame().StatusText(0), QStringLiteral("MCA connected..."), 5000);
}

void DeviceTrustTest::unknownDeviceTypeStartsOnAValidRow_data() {
    QTest::addColumn<int>("type");
    QTest::newRow("7") << 7;
    QTest::newRow("-1") << -1;
}

void DeviceTrustTest::unknownDeviceTypeStartsOnAValidRow() {
    QFETCH(int, type);
    ModalDriver driver;
    int row = -2;
    driver.Then([&row](QWidget* modal) {
        if (auto* list = modal->findChild<QListWidget*>())
            row = list->currentRow();
        modal->close();
    });
    Running r("kestrela", [type](MemoryProfileStore& s) {
        s.WriteInt("Standard", "device_type", type);
        s.WriteInt("Standard", "start_dlg_show", 1);
    });
    QVERIFY(r.app);
    QCOMPARE(row, 0);
    QCOMPARE(r.state().Profile().deviceType, 0);
    QVERIFY(r.state().Kestrel() != nullptr);
}

void DeviceTrustTest::kestrelChosenAfterADppAtStartup() {
    ModalDriver driver;
    driver.Then([](QWidget* modal) { modal->close(); }); // the start dialog at start-up
    Running r("kestrela,plover", [](MemoryProfileStore& s) {
        s.WriteInt("Standard", "device_type", 2);
        s.WriteInt("Standard", "start_dlg_show", 1);
    });
    QVERIFY(r.app);
    // No Kestrel workers while a DPP is selected.
    QVERIFY(r.state().Kestrel() == nullptr);
    // Open Start Dialog, KestrelA, Cancel.
    driver.Then([](QWidget* modal) {
        auto* list = modal->findChild<QListWidget*>();
        QVERIFY(list);
        list->setCurrentRow(0);
        modal->close();
    });
    r.frame().Execute(ToInt(CommandId::OpenStartDialog));
    QCOMPARE(r.state().Profile().deviceType, 0);
    QVERIFY(r.state().Kestrel() != nullptr);

    // A Counts preset of 3000 ends the run there.
    r.state().Profile().presetMode = 1;
    r.state().Profile().spTotalCts = 3000;
    r.state().PublishSettings();
    QVERIFY(r.ConnectAndStart());
    QTRY_VERIFY_WITH_TIMEOUT(!r.state().Acquiring(), 30000);
    QTRY_VERIFY_WITH_TIMEOUT(LiveSpectrumTotal(r.state().Spectra()) >= 3000, 20000);
    // A software preset stops the run once an upload shows the count reached: the overshoot is
    // what the simulator's 2500 counts per second add during the upload and the stop (a few
    // seconds), not a run that never ends.
    QVERIFY(LiveSpectrumTotal(r.state().Spectra()) < 3000 + 5 * 2500);
}

void DeviceTrustTest::derivedSpectrumRemadeWhileAcquiring() {
    Running r("kestrela");
    QVERIFY(r.app);
    QVERIFY(r.ConnectAndStart());
    CSpectraList& list = r.state().Spectra();
    const std::string liveTag = list.At(0)->Lock()->m_strTag;
    for (int i = 0; i < 1000; ++i) {
        SpectrumPropertiesEdit edit(list);
        edit.Header().m_strTag = "D";
        edit.Header().m_strExpression = liveTag + " * 2";
        QCOMPARE(edit.Ok(), SpectrumPropertiesEdit::OkResult::Closed);
        CSpectrum* derived = edit.Result();
        QVERIFY(derived);
        list.Activate(0);
        QVERIFY(list.Close(derived) == 1);
        if (i % 50 == 0)
            QCoreApplication::processEvents();
    }
    QVERIFY(r.state().Acquiring());
    QVERIFY(r.Stop());
}

QTEST_MAIN(DeviceTrustTest)
#include "DeviceTrustTest.moc"
