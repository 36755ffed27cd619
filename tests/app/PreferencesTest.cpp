// The preferences sheet through its widgets, offscreen: field conversions and range checks, the
// MCA page of a DPP, the Defaults buttons, the resolution-test option, and what closing the
// sheet from the program reloads.

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QSpinBox>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>

#include "ModalDriver.h"
#include "app/CLumoApp.h"
#include "app/CMainFrame.h"
#include "app/TextConvert.h"
#include "app/prefs/CProperties.h"
#include "appcore/ProgramState.h"
#include "settings/CSProfile.h"
#include "settings/MemoryProfileStore.h"

using namespace vorna;
using vorna::test::ModalDriver;

namespace {

class RecordingPrompt : public SilentPrompt {
public:
    void message(const std::string& text, PromptStyle) override { messages.push_back(text); }
    std::vector<std::string> messages;
};

// A sheet over a profile of its own, shown without a modal loop.
struct Sheet {
    MemoryProfileStore store;
    CSProfile profile{store, {1920, 1080}};
    RecordingPrompt prompt;
    std::vector<std::string> status;
    std::vector<ApplyOutcome> applied;
    std::unique_ptr<CProperties> sheet;

    void Open(int deviceType, PreferencesPage page, McaLinkState link = {}) {
        PreferencesHooks hooks;
        hooks.status = [this](const std::string& t) { status.push_back(t); };
        hooks.applied = [this](const ApplyOutcome& o) { applied.push_back(o); };
        sheet = std::make_unique<CProperties>(profile, deviceType, link, prompt, page, hooks);
        sheet->show();
        QCoreApplication::processEvents();
    }
    template <class T> T* Find(const char* name) {
        T* w = sheet->findChild<T*>(QString::fromLatin1(name));
        if (!w)
            qFatal("no control %s", name);
        return w;
    }
    QPushButton* Button(QDialogButtonBox::StandardButton which) {
        return sheet->findChild<QDialogButtonBox*>()->button(which);
    }
};

void Type(QLineEdit* edit, const QString& text) {
    edit->selectAll();
    QTest::keyClick(edit, Qt::Key_Delete);
    QTest::keyClicks(edit, text);
}

} // namespace

class PreferencesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void mcaPageConvertsPortAndIntervalAndRefusesOutOfRange();
    void dppDeviceShowsAnInertVestaPage();
    void defaultsLetOkSkipTheFolderAndFileChecks();
    void resolutionTestOptionSetsTwentyFourLoops();
    void colourPresetsActAtOnce();
    void closingReloadsAndRecomputesOnlyWhatChanged();
};

void PreferencesTest::mcaPageConvertsPortAndIntervalAndRefusesOutOfRange() {
    Sheet s;
    s.Open(0, PreferencesPage::Mca, {true, 0, 0});
    QCOMPARE(s.sheet->Tabs()->tabText(1), QStringLiteral("  &MCA  "));
    auto* port = s.Find<QComboBox>("comPort")->lineEdit();
    auto* interval = s.Find<QLineEdit>("interval");
    QPushButton* apply = s.Button(QDialogButtonBox::Apply);
    Type(port, QStringLiteral("COM3"));
    Type(interval, QStringLiteral("0.25"));
    apply->click();
    QCOMPARE(s.profile.comPort, 3);
    QCOMPARE(s.profile.updateInterval, 250);
    Type(port, QStringLiteral("USB"));
    apply->click();
    QCOMPARE(s.profile.comPort, -1);
    Type(port, QStringLiteral("COM0"));
    apply->click();
    QCOMPARE(s.profile.comPort, -1);
    QVERIFY(s.prompt.messages.empty());

    Type(interval, QStringLiteral("100000.5"));
    s.Button(QDialogButtonBox::Ok)->click();
    QCOMPARE(s.prompt.messages,
             std::vector<std::string>{"Please enter a number between 0 and 100000."});
    QVERIFY(s.sheet->isVisible());
    QCOMPARE(s.profile.updateInterval, 250);
    // A connected Kestrel is sent the page's security code and battery type.
    QVERIFY(!s.applied.empty() && s.applied.back().mcaSend.has_value());
}

void PreferencesTest::dppDeviceShowsAnInertVestaPage() {
    Sheet s;
    s.Open(1, PreferencesPage::General);
    QCOMPARE(s.sheet->DefaultsButton()->text(), QStringLiteral("Defaults - General"));
    QCOMPARE(s.sheet->Tabs()->tabText(1), QStringLiteral("Vesta MCA Setup"));
    s.sheet->Tabs()->setCurrentIndex(1);
    QCOMPARE(s.sheet->DefaultsButton()->text(), QStringLiteral(" "));
    QVERIFY(!s.sheet->DefaultsButton()->isEnabled());
    for (QWidget* w : s.sheet->Tabs()->widget(1)->findChildren<QWidget*>())
        QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
    QVERIFY2(s.prompt.messages.empty(), "no \"not connected\" notice for a DPP");
    s.sheet->Tabs()->setCurrentIndex(3);
    QCOMPARE(s.sheet->DefaultsButton()->text(), QStringLiteral("Defaults - Plot"));
    QVERIFY(s.sheet->DefaultsButton()->isEnabled());
    // A Kestrel that is not connected: the page says so once, when it is first shown, and only
    // the security code and battery type are disabled.
    Sheet kestrel;
    kestrel.Open(0, PreferencesPage::General);
    QVERIFY(kestrel.prompt.messages.empty());
    kestrel.sheet->Tabs()->setCurrentIndex(1);
    kestrel.sheet->Tabs()->setCurrentIndex(0);
    kestrel.sheet->Tabs()->setCurrentIndex(1);
    QCOMPARE(kestrel.prompt.messages,
             std::vector<std::string>{"MCA is not connected.  Certain parameters are disabled."});
    QVERIFY(!kestrel.Find<QLineEdit>("securityCode")->isEnabled());
    QVERIFY(!kestrel.Find<QComboBox>("batteryType")->isEnabled());
    QVERIFY(kestrel.Find<QComboBox>("comPort")->isEnabled());
    QVERIFY(kestrel.sheet->DefaultsButton()->isEnabled());
}

void PreferencesTest::defaultsLetOkSkipTheFolderAndFileChecks() {
    QTemporaryDir dir;
    Sheet s;
    s.profile.libraryDirectory = PathToCore(dir.filePath(QStringLiteral("gone"))) + "/";
    s.profile.libraryFile = "lines.lib";
    s.Open(0, PreferencesPage::Plot, {true, 0, 0});
    s.Button(QDialogButtonBox::Ok)->click();
    QCOMPARE(s.prompt.messages, std::vector<std::string>{"Invalid pathname - library files."});
    QVERIFY(s.sheet->isVisible());

    s.sheet->DefaultsButton()->click();
    QCOMPARE(s.status, std::vector<std::string>{"Defaults applied for Plot Setup..."});
    s.Button(QDialogButtonBox::Ok)->click();
    QCOMPARE(s.sheet->result(), int(QDialog::Accepted));
    QCOMPARE(s.prompt.messages.size(), size_t(1));
    QCOMPARE(s.profile.plotHorzCells, 10);
    QCOMPARE(s.profile.plotGridStyle, 2);
}

void PreferencesTest::resolutionTestOptionSetsTwentyFourLoops() {
    // Numbers read the same under a comma-decimal locale.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    auto restore = qScopeGuard([] { QLocale::setDefault(QLocale::c()); });
    Sheet s;
    s.Open(1, PreferencesPage::Analysis);
    auto* option = s.Find<QCheckBox>("resolutionTest");
    auto* peaking = s.Find<QComboBox>("initialPeakingTime");
    QVERIFY(option->isEnabled());
    QVERIFY(!option->isChecked());
    QVERIFY(!peaking->isEnabled());
    option->click();
    QCOMPARE(s.Find<QSpinBox>("numberOfLoops")->value(), 24);
    QVERIFY(peaking->isEnabled());
    // A decimal field that does not read as a number keeps the sheet open with a message; a
    // comma cannot be typed into it.
    auto* sensitivity = s.Find<QLineEdit>("peakSearchSensitivity");
    Type(sensitivity, QStringLiteral("1e"));
    s.Button(QDialogButtonBox::Ok)->click();
    QCOMPARE(s.prompt.messages, std::vector<std::string>{"Please enter a number."});
    QVERIFY(s.sheet->isVisible());
    Type(sensitivity, QStringLiteral("7,5"));
    QCOMPARE(sensitivity->text(), QStringLiteral("75"));
    Type(sensitivity, QStringLiteral("7.5"));
    s.Button(QDialogButtonBox::Ok)->click();
    QCOMPARE(s.profile.peakSearchSens, 7.5);
    QCOMPARE(s.profile.repeatMeasLoops, 24);
    QVERIFY(!s.applied.empty() && s.applied.back().resolutionTestOption == true);

    Sheet kestrel;
    kestrel.Open(0, PreferencesPage::Analysis);
    QVERIFY(!kestrel.Find<QCheckBox>("resolutionTest")->isEnabled());
}

void PreferencesTest::colourPresetsActAtOnce() {
    Sheet s;
    int redraws = 0;
    PreferencesHooks hooks;
    hooks.coloursChanged = [&redraws] { ++redraws; };
    s.sheet = std::make_unique<CProperties>(s.profile, 0, McaLinkState{}, s.prompt,
                                            PreferencesPage::General, hooks);
    for (QPushButton* b : s.sheet->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("&LUMO Default Colors"))
            b->click();
    QCOMPARE(redraws, 1);
    QCOMPARE(s.profile.plotBackgroundColor, 0xC0C0C0);
    QCOMPARE(s.profile.infoColor, 0x808040);
    QCOMPARE(s.profile.selectColor, 0x808040);
    QCOMPARE(s.Find<ColourButton>("backgroundColor")->Colour(), 0xC0C0C0);
    s.sheet->reject();
    QCOMPARE(s.profile.plotBackgroundColor, 0xC0C0C0); // no OK needed
}

void PreferencesTest::closingReloadsAndRecomputesOnlyWhatChanged() {
    QTemporaryDir dir;
    QFile lib(dir.filePath(QStringLiteral("k.lib")));
    QVERIFY(lib.open(QIODevice::WriteOnly));
    lib.write("6.40, Fe Ka\n5.90, Mn Ka\n");
    lib.close();
    MemoryProfileStore store;
    store.WriteInt("Standard", "start_dlg_show", 0);
    store.WriteText("Standard", "spectra_directory", PathToCore(dir.path()) + "/");
    store.WriteText("Standard", "library_directory", PathToCore(dir.path()) + "/");
    store.WriteText("Standard", "library_file", "k.lib");
    store.WriteInt("Standard", "library_autoload", 1);
    qunsetenv("VORNA_SIMULATE");
    CLumoApp::Options o;
    o.programDir = dir.path();
    o.commandLineFile = QStringLiteral(VORNA_EXAMPLES_DIR "/fe55.mca");
    o.store = &store;
    CLumoApp app(o);
    QVERIFY(app.InitInstance());
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(10);
    }
    CMainFrame& frame = *app.MainFrame();
    ProgramState& state = app.State();
    QVERIFY(state.Library().IsLoaded());
    CSpectrum* active = state.Spectra().GetActive();
    QVERIFY(active);
    QCOMPARE(active->Lock()->m_roi.GetCount(), 2);

    // Edits the Analysis page through the sheet the command opens, then presses OK.
    auto runWith = [&](std::function<void(CProperties&)> edit) {
        active->Lock()->m_roi[0].grossArea = -7.0; // recomputing would overwrite it
        frame.SetStatusText(0, QStringLiteral("before"));
        ModalDriver driver;
        driver.Then([&](QWidget* w) {
            auto* sheet = qobject_cast<CProperties*>(w);
            if (!sheet)
                return;
            sheet->Tabs()->setCurrentIndex(2);
            edit(*sheet);
            sheet->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        });
        frame.Execute(ToInt(CommandId::Preferences));
        QCOMPARE(driver.unexpected, 0);
    };
    runWith([](CProperties& s) { s.findChild<QSpinBox*>("goodPeakValue")->setValue(250); });
    QCOMPARE(state.Profile().goodPeakLevel, 250);
    QCOMPARE(active->Lock()->m_roi[0].grossArea, -7.0);
    QCOMPARE(frame.StatusText(0), QStringLiteral("before"));
    QVERIFY(state.Library().IsLoaded());

    runWith([](CProperties& s) {
        Type(s.findChild<QLineEdit*>("backgroundChannels"), QStringLiteral("3"));
    });
    QCOMPARE(state.Profile().backgroundChannels, 3);
    QVERIFY(active->Lock()->m_roi[0].grossArea > 0.0);
    QCOMPARE(frame.StatusText(0), QStringLiteral("before")); // the library was not reloaded

    // "Load on Startup" switched off is for the next start: this run keeps its library.
    runWith([](CProperties& s) {
        for (QCheckBox* box : s.findChildren<QCheckBox*>())
            if (box->text() == QStringLiteral("Load on S&tartup"))
                box->setChecked(false);
    });
    QCOMPARE(state.Profile().libraryAutoload, 0);
    QVERIFY(state.Library().IsLoaded());

    // "Configure MCA properties" opens the same sheet on its MCA page, after saying that the
    // analyzer is not connected.
    int page = -1;
    ModalDriver driver;
    driver.ThenButton(QMessageBox::Ok);
    driver.Then([&](QWidget* w) {
        if (auto* sheet = qobject_cast<CProperties*>(w)) {
            page = sheet->Tabs()->currentIndex();
            sheet->reject();
        }
    });
    frame.Execute(ToInt(CommandId::ConfigureMca));
    QCOMPARE(driver.seen, QStringList{QStringLiteral(
                              "MCA is not connected.  Certain parameters are disabled.")});
    QCOMPARE(page, 1);
    frame.close();
    app.ExitInstance();
}

QTEST_MAIN(PreferencesTest)
#include "PreferencesTest.moc"
