// The DPP property sheet and tuning against simulated DPPs: every page edited and applied with
// one configuration transfer, the Osprey's boot options and spectrum offset, the slow threshold
// found in the simulator's noise, the gain steps and the commands old firmware ignores.

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtTest>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "app/CMainFrame.h"
#include "app/DppSession.h"
#include "app/DppSetupCommands.h"
#include "app/TextConvert.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "dpp/DppBootFlags.h"
#include "dpp/DppDevice.h"
#include "dpp/DppFieldConversions.h"
#include "dpp/DppProtocol.h"
#include "dpp/DppSheetState.h"
#include "dpp/DppTuner.h"
#include "dppui/CDppPropertySheet.h"
#include "dppui/COscilloscopeDlg.h"
#include "dppui/DppNumberField.h"
#include "settings/MemoryProfileStore.h"
#include "sim/dpp/SimDppBus.h"

using namespace vorna;
using vorna::test::ModalDriver;
using vorna::test::StartRealTimeProgram;

namespace {

void PrepareStore(MemoryProfileStore& store, const QTemporaryDir& dir, int deviceType) {
    store.WriteInt("Standard", "start_dlg_show", 0);
    store.WriteInt("Standard", "dpp_update_dlg_show", 0);
    store.WriteInt("Standard", "device_type", deviceType);
    store.WriteInt("Standard", "data_refresh", 500);
    store.WriteText("Standard", "spectra_directory", PathToCore(dir.path() + "/"));
}

// Types into a field and presses Enter, as a user commits it.
void Enter(QWidget* edit, const QString& text) {
    auto* line = qobject_cast<QLineEdit*>(edit);
    if (auto* field = qobject_cast<DppNumberField*>(edit))
        line = field->Edit();
    if (auto* combo = qobject_cast<QComboBox*>(edit))
        line = combo->lineEdit();
    QVERIFY(line);
    line->selectAll();
    QTest::keyClicks(line, text);
    QTest::keyClick(line, Qt::Key_Return);
}

// OK after the driver's answer has returned, so that messages the apply shows are answered too.
void PressOk(CDppPropertySheet* sheet) {
    QPushButton* ok = sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok);
    QTimer::singleShot(0, ok, [ok] { ok->click(); });
}

template <typename Page> Page* PageOf(CDppPropertySheet* sheet, DppPage id) {
    sheet->SetCurrentPage(id);
    return static_cast<Page*>(sheet->page(id));
}

struct Program {
    QTemporaryDir dir;
    MemoryProfileStore store;
    std::unique_ptr<CLumoApp> app;
    CMainFrame* frame = nullptr;
    DppSession* dpp = nullptr;

    bool Start(const char* simulate, int deviceType) {
        qputenv("VORNA_SIMULATE", simulate);
        PrepareStore(store, dir, deviceType);
        app = StartRealTimeProgram(store, dir.path());
        if (!app)
            return false;
        frame = app->MainFrame();
        dpp = frame->Dpp();
        if (!dpp)
            return false;
        frame->Execute(ToInt(CommandId::Connect));
        return QTest::qWaitFor([this] { return !dpp->Connecting(); }, 10000) &&
               app->State().DeviceConnected();
    }
    SimDpp& Sim() { return static_cast<SimDppBus&>(dpp->Driver()).Device(1); }
    QString ConfigFile() const { return dir.filePath(QStringLiteral("DPP.CFG")); }
    ~Program() {
        app.reset();
        qunsetenv("VORNA_SIMULATE");
    }
};

} // namespace

class DppSetupTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void ploverPagesApplyOnceAfterTheLast();
    void ospreyBootOptionsOffsetAndClock();
    void tuningOnTheSimulator();
    void heronGainStepAtTheBottomStillSavesAndSends();
    void scopeFromTheMiscPage();
};

void DppSetupTest::ploverPagesApplyOnceAfterTheLast() {
    Program p;
    QVERIFY(p.Start("plover", 2));
    ModalDriver driver;
    const int writesBefore = p.Sim().configurationWrites();
    QFile::remove(p.ConfigFile());
    QStringList shown;
    driver.Then([&](QWidget* w) {
        auto* sheet = qobject_cast<CDppPropertySheet*>(w);
        QVERIFY(sheet);
        QCOMPARE(sheet->windowTitle(), QStringLiteral("DPP Properties"));
        QCOMPARE(sheet->tabs()->tabText(3), QStringLiteral("Gain && Pole Zero"));
        QVERIFY(!sheet->applyButton()->isEnabled());

        auto* mca = PageOf<CPropDppAnalyzer>(sheet, DppPage::Mca);
        Enter(mca->percentField(), QStringLiteral("30"));
        shown << mca->percentField()->Text();
        QCOMPARE(mca->channelEdit()->text(), QStringLiteral("250"));
        Enter(mca->presetCombo(), QStringLiteral("2.5"));
        shown << mca->presetCombo()->currentText();
        Enter(mca->scaLowerEdit(), QStringLiteral("12a3"));
        shown << mca->scaLowerEdit()->text();
        Enter(mca->countEdit(0), QStringLiteral("100"));
        Enter(mca->countEdit(1), QStringLiteral("200"));
        Enter(mca->countEdit(2), QStringLiteral("0"));
        QCOMPARE(mca->scaCombo()->currentIndex(), 7);
        QVERIFY(sheet->applyButton()->isEnabled());

        auto* gain = PageOf<CPropDppGainPZ>(sheet, DppPage::GainPoleZero);
        Enter(gain->fineField(), QStringLiteral("1.3"));
        shown << gain->fineField()->Text();
        Enter(gain->inputOffsetField(), QStringLiteral("-2.048"));
        shown << gain->inputOffsetField()->Text();

        auto* shaping = PageOf<CPropDppShaping>(sheet, DppPage::Shaping);
        shaping->SetBlr(64);
        shaping->upCombo()->setCurrentIndex(3);
        Q_EMIT shaping->upCombo()->activated(3);
        QCOMPARE(shaping->blr(), 76);

        auto* power = PageOf<CPropDppPower>(sheet, DppPage::Power);
        Enter(power->hvField(), QStringLiteral("500"));
        QCOMPARE(power->hvCombo()->currentIndex(), 1);
        power->hvCombo()->setCurrentIndex(0);
        Q_EMIT power->hvCombo()->activated(0);
        shown << power->hvField()->Text();

        auto* misc = PageOf<CPropDppMisc>(sheet, DppPage::Misc);
        Enter(misc->offsetField(), QStringLiteral("-10"));
        shown << misc->offsetField()->Text();
        // Five modified pages: OK sends once, after the last has applied.
        QCOMPARE(DppSheetStateOf(*p.frame)->pendingApplyCount, 5);
        PressOk(sheet);
    });
    p.frame->Execute(ToInt(CommandId::DppSetup));
    QCOMPARE(shown,
             (QStringList{"24.41% FS", "2.5 sec", "123", "1.2500", "-2.048V", "0.0V", "-23mV"}));
    QCOMPARE(p.Sim().configurationWrites(), writesBefore + 1);
    const DppConfigRecord& sent = p.Sim().config();
    QCOMPARE(sent.SlowChThreshold, 250);
    QCOMPARE(sent.Preset, 25u);
    QCOMPARE(ScaLower(sent.Sca[0]), 123u);
    // A preset count of 0 switches the window off and keeps it.
    QCOMPARE(sent.PresetCount, 0u);
    QCOMPARE(sent.Sca[7], 100u + (200u << 16));
    QCOMPARE(sent.PloverFineGain, 10240);
    QCOMPARE(sent.PloverInputOffset, 0);
    QCOMPARE(sent.BLR, 76);
    QCOMPARE(sent.HV, 0);
    QCOMPARE(sent.Offset, 125);
    QCOMPARE(DppSheetStateOf(*p.frame)->pendingApplyCount, 0);
    // The same configuration went to DPP.CFG.
    QFile cfg(p.ConfigFile());
    QVERIFY(cfg.open(QIODevice::ReadOnly));
    QVERIFY(cfg.readAll().contains("10240"));
    QCOMPARE(driver.unexpected, 0);

    // F9 with a DPP opens the same sheet; Cancel sends nothing.
    driver.Then([](QWidget* w) {
        QVERIFY(qobject_cast<CDppPropertySheet*>(w));
        static_cast<QDialog*>(w)->reject();
    });
    p.frame->Execute(ToInt(CommandId::AcquisitionSetup));
    QCOMPARE(p.Sim().configurationWrites(), writesBefore + 1);
    QCOMPARE(driver.unexpected, 0);
}

void DppSetupTest::ospreyBootOptionsOffsetAndClock() {
    Program p;
    QVERIFY(p.Start("osprey", 4));
    ModalDriver driver;
    // Only the spectrum-offset choice: sent at once, no power-cycle message.
    driver.Then([](QWidget* w) {
        auto* sheet = qobject_cast<CDppPropertySheet*>(w);
        QVERIFY(sheet);
        auto* general = PageOf<CPropDppGeneral>(sheet, DppPage::General);
        QVERIFY(general->bootTree()->isEnabled());
        QVERIFY(!general->spectrumOffsetEdit()->isEnabled());
        general->ChooseBootOption(1, true);
        general->ChooseBootOption(4, true); // 80 MHz applies at once as well
        PressOk(sheet);
    });
    p.frame->Execute(ToInt(CommandId::DppSetup));
    QCOMPARE(p.Sim().bootFlags() & 0x12, 0x12);
    QVERIFY(!driver.seen.contains(QString::fromLatin1(kBootOptionChangeText)));
    QVERIFY(ReadStatusInto(p.dpp->Link(), p.dpp->Device()));

    // Now the offset can be typed: -100 % sends the most negative value. The 80 MHz clock
    // shows a quarter of a Plover's peaking times.
    QString fastest, slowest;
    driver.Then([&](QWidget* w) {
        auto* sheet = qobject_cast<CDppPropertySheet*>(w);
        QVERIFY(sheet);
        auto* general = PageOf<CPropDppGeneral>(sheet, DppPage::General);
        QVERIFY(general->spectrumOffsetEdit()->isEnabled());
        general->spectrumOffsetEdit()->selectAll();
        QTest::keyClicks(general->spectrumOffsetEdit(), QStringLiteral("-100"));
        auto* shaping = PageOf<CPropDppShaping>(sheet, DppPage::Shaping);
        fastest = shaping->peakingCombo()->itemText(0);
        slowest = shaping->peakingCombo()->itemText(23);
        PressOk(sheet);
    });
    p.frame->Execute(ToInt(CommandId::DppSetup));
    QCOMPARE(p.Sim().spectrumOffset(), -32768);
    QCOMPARE(fastest, QStringLiteral("0.2uS"));
    QCOMPARE(slowest, QStringLiteral("25.6uS"));

    // A change of HV polarity waits for the next power cycle and says so.
    const bool positive = (p.Sim().bootFlags() & 0x08) != 0;
    driver.Then([positive](QWidget* w) {
        auto* sheet = qobject_cast<CDppPropertySheet*>(w);
        QVERIFY(sheet);
        auto* general = PageOf<CPropDppGeneral>(sheet, DppPage::General);
        general->ChooseBootOption(3, !positive);
        PressOk(sheet);
    });
    driver.ThenButton(QMessageBox::Ok);
    p.frame->Execute(ToInt(CommandId::DppSetup));
    QVERIFY(driver.seen.contains(QString::fromLatin1(kBootOptionChangeText)));
    QCOMPARE(driver.unexpected, 0);
}

void DppSetupTest::tuningOnTheSimulator() {
    Program p;
    QVERIFY(p.Start("plover", 2));
    ModalDriver driver;
    DppTuner& tuner = *DppTunerOf(*p.frame);
    ProgramState& state = p.app->State();
    DppDevice& device = p.dpp->Device();

    // Slow threshold: the source removed, only the input noise arrives; the threshold lands just
    // above it and DELTA mode is back off afterwards.
    p.Sim().source.ratePerSecond = 0;
    p.Sim().noiseRatePerSecond = 3000;
    p.frame->Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(state.Acquiring());
    state.MainWindow().Post(MainEvent{Notice{MainMessage::TuneSlowThreshold}});
    QVERIFY(QTest::qWaitFor([&] { return tuner.busy(); }, 2000));
    QVERIFY(QTest::qWaitFor([&] { return !tuner.busy(); }, 15000));
    const int slow = p.Sim().config().SlowChThreshold;
    QVERIFY2(slow > 6 && slow < 60, qPrintable(QString::number(slow)));
    QVERIFY(!p.dpp->Controller().deltaMode());
    QVERIFY(QFile::exists(p.ConfigFile()));

    // Fast threshold: the device's own answer is read back and normalised by the gain.
    state.MainWindow().Post(MainEvent{Notice{MainMessage::TuneFastThreshold}});
    QVERIFY(QTest::qWaitFor([&] { return tuner.busy(); }, 2000));
    QVERIFY(QTest::qWaitFor([&] { return !tuner.busy(); }, 15000));
    QCOMPARE(device.config.FastChThreshold, 12);
    QVERIFY(std::abs(state.Profile().fastThreshDeltaMult * device.totalGain - 12) < 0.01);
    p.frame->Execute(ToInt(CommandId::StartAcquisition));
    QVERIFY(!state.Acquiring());

    // A gain step across a coarse step retunes the input offset and reads it back.
    const int codeBefore = device.config.CoarseGain;
    const double totalBefore = device.totalGain;
    p.frame->Execute(ToInt(CommandId::IncrementGain));
    QVERIFY(std::abs(device.totalGain - (totalBefore + 1)) < 0.011);
    QVERIFY(device.config.CoarseGain != codeBefore);
    QVERIFY(tuner.busy());
    QVERIFY(QTest::qWaitFor([&] { return !tuner.busy(); }, 20000));
    QCOMPARE(device.config.PloverInputOffset, 2048 + SimDpp::kTunedOffsetStep);
    QCOMPARE(p.Sim().config().PloverInputOffset, 2048 + SimDpp::kTunedOffsetStep);

    // Firmware 3.10 cannot tune its thresholds: the command does nothing.
    p.Sim().SetFirmwareByte(0x3A);
    QVERIFY(ReadStatusInto(p.dpp->Link(), device));
    const int writes = p.Sim().configurationWrites();
    p.frame->Execute(ToInt(CommandId::TuneThresholds));
    QVERIFY(!tuner.busy());
    QTest::qWait(300);
    QCOMPARE(p.Sim().configurationWrites(), writes);
    QCOMPARE(driver.unexpected, 0);
}

void DppSetupTest::heronGainStepAtTheBottomStillSavesAndSends() {
    ModalDriver driver;
    Program p;
    QVERIFY(p.Start("heron", 1));
    DppDevice& device = p.dpp->Device();
    device.config.CoarseGain = 0;
    QFile::remove(p.ConfigFile());
    const int writes = p.Sim().configurationWrites();
    p.frame->Execute(ToInt(CommandId::DecrementGain));
    QCOMPARE(device.config.CoarseGain, 0);
    QCOMPARE(p.Sim().configurationWrites(), writes + 1);
    QVERIFY(QFile::exists(p.ConfigFile()));
    QCOMPARE(device.totalGainText, std::string("10.80"));
}

// The Misc page's button opens the scope; a timebase change sends nothing; without Auto ReArm
// one trace arrives per Arm Trigger; an input change goes to the device at once.
void DppSetupTest::scopeFromTheMiscPage() {
    Program p;
    QVERIFY(p.Start("plover", 2));
    ModalDriver driver;
    driver.Then([](QWidget* w) {
        auto* sheet = qobject_cast<CDppPropertySheet*>(w);
        QVERIFY(sheet);
        auto* misc = PageOf<CPropDppMisc>(sheet, DppPage::Misc);
        misc->scopeButton()->click();
    });
    p.frame->Execute(ToInt(CommandId::DppSetup));
    QVERIFY(QTest::qWaitFor([&] { return DppScopeOf(*p.frame) != nullptr; }, 2000));
    COscilloscopeDlg* scope = DppScopeOf(*p.frame);
    QVERIFY(!scope->windowFlags().testFlag(Qt::WindowTitleHint) ||
            scope->windowFlags().testFlag(Qt::FramelessWindowHint));
    scope->autoReArmCheck()->setChecked(false);
    const int writes = p.Sim().configurationWrites();
    scope->timebaseCombo()->setCurrentIndex(3);
    QCOMPARE(p.Sim().configurationWrites(), writes);

    scope->armButton()->click();
    QVERIFY(QTest::qWaitFor([&] { return scope->tracesShown() == 1; }, 3000));
    QTest::qWait(4 * COscilloscopeDlg::kRefreshMs);
    QCOMPARE(scope->tracesShown(), 1);
    scope->armButton()->click();
    QVERIFY(QTest::qWaitFor([&] { return scope->tracesShown() == 2; }, 3000));

    // With Auto ReArm the traces keep coming.
    scope->autoReArmCheck()->setChecked(true);
    scope->armButton()->click();
    QVERIFY(QTest::qWaitFor([&] { return scope->tracesShown() >= 5; }, 5000));
    QCOMPARE(p.app->State().Profile().scopeAutoReArm, 1);

    scope->inputCombo()->setCurrentIndex(0);
    Q_EMIT scope->inputCombo()->activated(0);
    QCOMPARE(p.Sim().configurationWrites(), writes + 1);
    QCOMPARE(p.Sim().config().DAC, 0);
    QCOMPARE(p.Sim().config().DAC_Enable, 1);
    QCOMPARE(driver.unexpected, 0);
    scope->close();
}

QTEST_MAIN(DppSetupTest)
#include "DppSetupTest.moc"
