// The companion interface end to end on a private session bus (the test runs under
// dbus-run-session): the program offscreen, a test companion on its own bus connection owning
// com.quorix.Elemix, every request sent over the bus and every answer read back from it.

#include <QAbstractButton>
#include <QAction>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCall>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QTest>
#include <QToolBar>
#include <fcntl.h>
#include <linux/fs.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include "ModalDriver.h"
#include "TestProgram.h"
#include "app/CMainFrame.h"
#include "app/QtUserPrompt.h"
#include "app/TextConvert.h"
#include "app/companion/CFileBrowseDlg.h"
#include "app/companion/CompanionInterface.h"
#include "appcore/CommandIds.h"
#include "appcore/ProgramState.h"
#include "common/NumberText.h"
#include "external/CompanionBus.h"
#include "settings/MemoryProfileStore.h"
#include "spectrum/CSpectraList.h"

using namespace vorna;
using vorna::test::ModalDriver;
using vorna::test::TestProgram;
using vorna::test::TestProgramOptions;

namespace {

// The companion's receiving end: the answers, and the freedesktop activation.
class AnswerObject : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.quorix.Elemix")
public:
    QList<QPair<uint, QString>> answers;
public Q_SLOTS:
    Q_SCRIPTABLE void CopyData(uint code, const QString& text) { answers.append({code, text}); }
};

class ActivateObject : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    int activations = 0;
public Q_SLOTS:
    Q_SCRIPTABLE void Activate(const QVariantMap&) { ++activations; }
};

class TestCompanion {
public:
    TestCompanion()
        : bus(QDBusConnection::connectToBus(QDBusConnection::SessionBus,
                                            QStringLiteral("test-companion"))) {
        bus.registerObject(QStringLiteral("/Elemix"), &answers,
                           QDBusConnection::ExportScriptableSlots);
        bus.registerObject(QStringLiteral("/com/quorix/Elemix"), &activate,
                           QDBusConnection::ExportScriptableSlots);
        owns = bus.registerService(QStringLiteral("com.quorix.Elemix"));
    }
    ~TestCompanion() {
        bus.unregisterService(QStringLiteral("com.quorix.Elemix"));
        bus.unregisterObject(QStringLiteral("/Elemix"));
        bus.unregisterObject(QStringLiteral("/com/quorix/Elemix"));
        QDBusConnection::disconnectFromBus(QStringLiteral("test-companion"));
    }
    // One request over the bus; the program answers on this same event loop.
    QDBusMessage Call(const char* method, uint code, const QVariant& argument) {
        QDBusMessage m = QDBusMessage::createMethodCall(
            kCompanionWindowService, kCompanionWindowPath, kCompanionWindowInterface, method);
        m << code << argument;
        QDBusPendingCall pending = bus.asyncCall(m, 20000);
        QElapsedTimer t;
        t.start();
        while (!pending.isFinished() && t.elapsed() < 20000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        TestProgram::Settle(); // answers left before the reply; let them be delivered
        return pending.reply();
    }
    int CopyData(uint code, const QString& text) {
        return Call("CopyData", code, text).arguments().value(0).toInt();
    }
    void Command(uint code, int argument = 0) { Call("Command", code, argument); }
    QList<QPair<uint, QString>> Take() { return std::exchange(answers.answers, {}); }
    // The one answer of the last request.
    QPair<uint, QString> One() {
        const auto all = Take();
        return all.size() == 1 ? all.front() : QPair<uint, QString>{999, QString()};
    }

    QDBusConnection bus;
    AnswerObject answers;
    ActivateObject activate;
    bool owns = false;
};

using Answer = QPair<uint, QString>;

TestProgramOptions Options(int deviceType = 0, int comPort = 1) {
    TestProgramOptions o;
    o.missingSerial = true;
    o.companionBus = true;
    o.prepare = [deviceType, comPort](MemoryProfileStore& store, const QString&) {
        store.WriteInt("Standard", "device_type", deviceType);
        store.WriteInt("Standard", "com_port", comPort);
    };
    return o;
}

double Channel(CSpectraList& list, int position, int channel) {
    auto guard = list.Lock();
    CSpectrum* s = list.At(position);
    auto locked = s->Lock();
    return s->m_pData.at(static_cast<size_t>(channel));
}

// Makes a folder unwritable even for root (the immutable attribute), else by its mode.
bool MakeUnwritable(const QString& folder, bool on) {
    const int fd = ::open(folder.toLocal8Bit().constData(), O_RDONLY | O_DIRECTORY);
    bool done = false;
    if (fd >= 0) {
        int flags = 0;
        if (::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags = on ? flags | FS_IMMUTABLE_FL : flags & ~FS_IMMUTABLE_FL;
            done = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        ::close(fd);
    }
    if (!done && getuid() != 0)
        done = QFile::setPermissions(folder,
                                     on ? QFile::ReadOwner | QFile::ExeOwner
                                        : QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    return done;
}

} // namespace

class CompanionBusTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase();
    void drivesEveryCommandOverTheBus();
    void dppAndKestrelDeviceAnswers();
    void refusalsChangeNoSpectrumAndTheProgramGoesOn();
    void saveIntoAnUnwritableFolderKeepsTheOldFile();
    void secondProgramFindsTheNameTaken();
    void requestDuringAMessageBoxWaitsItsTurn();
    void launcherRaisesAsksAndLocates();
};

void CompanionBusTest::initTestCase() {
    QVERIFY2(QDBusConnection::sessionBus().isConnected(), "run under dbus-run-session");
}

void CompanionBusTest::drivesEveryCommandOverTheBus() {
    TestProgram program(Options());
    QVERIFY(program.frame().Companion()->Registered());
    TestCompanion fp;
    QVERIFY(fp.owns);
    CSpectraList& list = program.list();
    QCOMPARE(list.GetCount(), 2);

    QCOMPARE(fp.CopyData(2, QStringLiteral("10; 20 ;-5")), 1);
    QCOMPARE(Channel(list, 1, 0), 10.0);
    QCOMPARE(Channel(list, 1, 1), 20.0);
    QCOMPARE(Channel(list, 1, 2), 0.0);
    QVERIFY(fp.Take().isEmpty());

    fp.Command(1);
    QCOMPARE(fp.One(), Answer(100, QStringLiteral("Spectrum Group Mgmt Error - Parameters "
                                                  "retrieved for S1 group only.")));
    QCOMPARE(fp.CopyData(1, QStringLiteral("5,6")), 1);
    QCOMPARE(list.GetCount(), 3);
    fp.Command(1);
    QVERIFY(fp.One().second.startsWith(QStringLiteral("5,6,0,")));
    fp.Command(2);
    QVERIFY(fp.One().second.startsWith(QStringLiteral("10,20,0,")));
    fp.Command(14, 2);
    QVERIFY(fp.Take().isEmpty());
    QCOMPARE(Channel(list, 2, 0), 0.0);

    const QList<Answer> expected = {{3, "100"},      {4, "Live"},  {12, "10"}, {15, "100"},
                                    {16, "102.375"}, {17, "1024"}, {20, "1"},  {21, "2"},
                                    {22, "1"},       {25, "0"},    {26, "0"},  {27, "0"}};
    for (const Answer& a : expected)
        fp.Command(a.first, a.first == 20 ? 2 : 0);
    QCOMPARE(fp.Take(), expected);
    fp.Command(5);
    QCOMPARE(fp.One(), Answer(5, QStringLiteral(VORNA_EXAMPLES_DIR "/fe55.mca")));
    fp.Command(18);
    QCOMPARE(fp.One().first, 18u);
    fp.Command(23);
    QVERIFY(fp.One().second.startsWith(QStringLiteral("2:5.70,6.10,")));
    fp.Command(24);
    QCOMPARE(fp.One().first, 24u);
    fp.Command(33);
    QVERIFY(fp.Take().isEmpty());
    QCOMPARE(program.state().Profile().presetMode, 0);

    // Companion values, status text, tags; reserved codes are taken, others are not.
    QCOMPARE(fp.CopyData(9, QStringLiteral("4.2.1")), 1);
    QCOMPARE(program.state().Companion().version, std::string("4.2.1"));
    QCOMPARE(fp.CopyData(10, QStringLiteral("5")), 1);
    QCOMPARE(fp.CopyData(11, QStringLiteral("7")), 1);
    QCOMPARE(fp.CopyData(13, QStringLiteral("Fitting \u00e9l\u00e9ments...")), 1);
    QCOMPARE(program.frame().StatusText(0), QStringLiteral("Fitting \u00e9l\u00e9ments..."));
    QCOMPARE(fp.CopyData(29, QStringLiteral("Measured")), 1);
    QCOMPARE(fp.CopyData(19, QStringLiteral("Computed")), 1);
    QCOMPARE(list.At(1)->m_strTag, std::string("Measured"));
    QCOMPARE(list.At(2)->m_strTag, std::string("Computed"));
    QCOMPARE(fp.CopyData(4, QStringLiteral("x")), 1);
    QCOMPARE(fp.CopyData(6, QStringLiteral("x")), 0);
    QCOMPARE(fp.CopyData(33, QStringLiteral("x")), 0);
    QVERIFY(fp.Take().isEmpty());

    // Calibration of S1 with two points.
    QCOMPARE(fp.CopyData(32, QStringLiteral("2:keV:1:100,5.9;200,11.8;")), 1);
    QVERIFY(fp.Take().isEmpty());
    {
        const CCalibrate& cal = list.At(1)->m_calibrate;
        QCOMPARE(cal.GetCount(), 2);
        QCOMPARE(cal.Label(), std::string("keV"));
        QVERIFY(std::abs(cal.ChannelToValue(300, true) - 17.7) < 1e-9);
    }

    // Save under a bare name: the live spectrum in the spectra folder, opened as S1.
    program.state().Spectra().At(0)->m_pData[7] = 77;
    QCOMPARE(fp.CopyData(30, QStringLiteral("run1")), 1);
    QVERIFY(fp.Take().isEmpty());
    const QString saved = program.dir.filePath(QStringLiteral("run1.mca"));
    QFile file(saved);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.contains("TAG - UnknownTag"));
    QVERIFY(bytes.contains("DESCRIPTION - No Description"));
    QCOMPARE(list.GetCount(), 2);
    QCOMPARE(list.At(1)->m_strTag, std::string("UnknownTag"));
    QCOMPARE(Channel(list, 1, 7), 77.0);
    QCOMPARE(list.At(0)->m_strTag, std::string("live_data"));

    // Load by full path, then read it back.
    QCOMPARE(fp.CopyData(31, QString::fromUtf8(VORNA_EXAMPLES_DIR "/fe55.mca")), 1);
    QVERIFY(fp.Take().isEmpty());
    QCOMPARE(list.GetCount(), 2);
    QCOMPARE(list.At(1)->m_strTag, std::string("Fe55"));
    QCOMPARE(fp.CopyData(31, QStringLiteral("no-such-file")), 1);
    QCOMPARE(fp.One(), Answer(100, QStringLiteral("File not found - CMD_LUMO_LOAD_SPECTRUM.")));

    fp.Command(0);
    QCOMPARE(fp.One(),
             Answer(100, QStringLiteral("Error - Unknown command. Attempted command = 0")));
}

void CompanionBusTest::dppAndKestrelDeviceAnswers() {
    {
        TestProgram dpp(Options(2));
        TestCompanion fp;
        fp.Command(27);
        QCOMPARE(fp.One(), Answer(27, QStringLiteral("2")));
        fp.Command(28, 1);
        QCOMPARE(fp.One(), Answer(28, QStringLiteral("0")));
        QCOMPARE(dpp.frame().StatusText(0), QStringLiteral("MCA not connected..."));
    }
    TestProgram kestrel(Options(0, -1)); // no COM port defined
    TestCompanion fp;
    fp.Command(28, 1);
    QCOMPARE(fp.One(), Answer(28, QStringLiteral("-100")));
    fp.Command(28, 0);
    QCOMPARE(fp.One(), Answer(28, QStringLiteral("0")));
    fp.Command(28, 2);
    QCOMPARE(fp.One(), Answer(100, QStringLiteral("Error - command option out of range. "
                                                  "Attempted command = 28")));
    QCOMPARE(kestrel.frame().StatusText(0), QStringLiteral("MCA not connected..."));
}

void CompanionBusTest::refusalsChangeNoSpectrumAndTheProgramGoesOn() {
    TestProgram program(Options());
    TestCompanion fp;
    CSpectraList& list = program.list();
    const double before = Channel(list, 1, 600);
    const double slope = list.At(1)->m_calibrate.B();

    QString huge = QStringLiteral("1,");
    huge = huge.repeated(600 * 1024); // 1.2 MB of counts
    QCOMPARE(fp.CopyData(2, huge), 0);
    QCOMPARE(fp.One(), Answer(100, QStringLiteral("Request text too long ( > 1 MiB) - refused.")));
    QCOMPARE(fp.CopyData(32, QStringLiteral("2:keV:1:100,5.9;")), 1);
    QCOMPARE(fp.One(),
             Answer(100, QStringLiteral("Invalid parameters - CMD_LUMO_PUT_CALIB_ENTRIES.")));
    QCOMPARE(fp.CopyData(32, QStringLiteral("1:keV:1:nan,5.9;")), 1);
    QCOMPARE(fp.One().first, 100u);
    QCOMPARE(Channel(list, 1, 600), before);
    QCOMPARE(list.At(1)->m_calibrate.B(), slope);
    QCOMPARE(list.GetCount(), 2);
    // Still serving.
    fp.Command(17);
    QCOMPARE(fp.One(), Answer(17, QStringLiteral("1024")));
    QVERIFY(program.frame().isVisible());
}

void CompanionBusTest::saveIntoAnUnwritableFolderKeepsTheOldFile() {
    TestProgram program(Options());
    TestCompanion fp;
    const QString folder = program.dir.filePath(QStringLiteral("locked"));
    QVERIFY(QDir().mkpath(folder));
    const QString old = folder + QStringLiteral("/run.mca");
    QFile::copy(QString::fromUtf8(VORNA_EXAMPLES_DIR "/fe55.mca"), old);
    QFile original(old);
    QVERIFY(original.open(QIODevice::ReadOnly));
    const QByteArray before = original.readAll();
    original.close();
    if (!MakeUnwritable(folder, true))
        QSKIP("this file system cannot make a folder unwritable for this user");
    const int result = fp.CopyData(30, folder + QStringLiteral("/run.mca"));
    MakeUnwritable(folder, false);
    QCOMPARE(result, 1);
    QCOMPARE(fp.One(),
             Answer(100, QStringLiteral("Invalid path or device - CMD_LUMO_SAVE_SPECTRUM.")));
    QVERIFY(original.open(QIODevice::ReadOnly));
    QCOMPARE(original.readAll(), before);
    QCOMPARE(program.list().GetCount(), 2);
}

void CompanionBusTest::secondProgramFindsTheNameTaken() {
    TestProgram first(Options());
    QVERIFY(first.frame().Companion()->Registered());
    // A second program of the same user: its own bus connection, the name already owned.
    CompanionInterface::Options options;
    options.bus =
        QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("second"));
    QtUserPrompt prompt;
    {
        CompanionInterface second(first.state(), first.frame(), prompt, options);
        QVERIFY(!second.Register());
    }
    QCOMPARE(first.frame().StatusText(0), QString::fromLatin1(kNameTakenStatus));
    // The first still serves.
    TestCompanion fp;
    fp.Command(17);
    QCOMPARE(fp.One(), Answer(17, QStringLiteral("1024")));
    QDBusConnection::disconnectFromBus(QStringLiteral("second"));
}

void CompanionBusTest::requestDuringAMessageBoxWaitsItsTurn() {
    TestProgram program(Options());
    TestCompanion fp;
    // A file with the wrong extension still loads, after a warning the user must close.
    const QString odd = program.dir.filePath(QStringLiteral("odd.txt"));
    QVERIFY(QFile::copy(QString::fromUtf8(VORNA_EXAMPLES_DIR "/fe55.mca"), odd));
    QDBusMessage load = QDBusMessage::createMethodCall(
        kCompanionWindowService, kCompanionWindowPath, kCompanionWindowInterface, "CopyData");
    load << 31u << odd;
    QDBusMessage channels = QDBusMessage::createMethodCall(
        kCompanionWindowService, kCompanionWindowPath, kCompanionWindowInterface, "Command");
    channels << 17u << 0;
    QDBusPendingCall second = QDBusPendingCall::fromError(QDBusError());
    bool secondWaited = false;
    ModalDriver driver;
    driver.Then([&](QWidget* box) {
        // The second request arrives while the first one's message box is open.
        second = fp.bus.asyncCall(channels, 20000);
        QTest::qWait(300);
        secondWaited = !second.isFinished() && fp.answers.answers.isEmpty();
        qobject_cast<QMessageBox*>(box)->button(QMessageBox::Ok)->click();
    });
    QDBusPendingCall first = fp.bus.asyncCall(load, 20000);
    QTRY_VERIFY_WITH_TIMEOUT(first.isFinished() && second.isFinished(), 15000);
    TestProgram::Settle();
    QVERIFY(secondWaited);
    QCOMPARE(driver.seen, QStringList{QStringLiteral("Invalid file extension; must be .mca, "
                                                     ".mcs!")});
    QCOMPARE(first.reply().arguments().value(0).toInt(), 1);
    QCOMPARE(second.reply().type(), QDBusMessage::ReplyMessage);
    // Answered after the load: the channel count of the file now open as S1.
    QCOMPARE(fp.Take(), QList<Answer>{Answer(17, QStringLiteral("1024"))});
    QCOMPARE(program.list().At(1)->m_strFileName, std::string("odd.txt"));
}

void CompanionBusTest::launcherRaisesAsksAndLocates() {
    TestProgram program(Options());
    CMainFrame& frame = program.frame();
    // Without FlareCtrl.exe beside the program its command is in no menu and not on the toolbar.
    QAction* flare = frame.Action(CommandId::FlareController);
    for (const QMenu* menu : frame.menuBar()->findChildren<QMenu*>())
        QVERIFY(!menu->actions().contains(flare));
    for (const QToolBar* bar : frame.findChildren<QToolBar*>())
        QVERIFY(!bar->actions().contains(flare));
    {
        // Running: only raised, nothing asked.
        TestCompanion running;
        ModalDriver driver;
        frame.Execute(ToInt(CommandId::FundamentalParameters));
        TestProgram::Settle();
        QTRY_COMPARE(running.activate.activations, 1);
        QCOMPARE(driver.unexpected, 0);
        QVERIFY(driver.seen.isEmpty());
    }
    {
        ModalDriver driver;
        driver.ThenButton(QMessageBox::No);
        frame.Execute(ToInt(CommandId::FundamentalParameters));
        QCOMPARE(driver.seen, QStringList{QStringLiteral("Elemix not running.  Start Elemix?")});
        QCOMPARE(driver.unexpected, 0);
    }
    {
        // Missing: the locate dialog says so; Cancel ends it.
        ModalDriver driver;
        driver.ThenButton(QMessageBox::Yes);
        QString title, text;
        driver.Then([&](QWidget* w) {
            auto* dialog = qobject_cast<CFileBrowseDlg*>(w);
            if (dialog) {
                title = dialog->windowTitle();
                text = dialog->Text();
            }
            qobject_cast<QDialog*>(w)->reject();
        });
        frame.Execute(ToInt(CommandId::FundamentalParameters));
        QCOMPARE(title, QStringLiteral("Location for Elemix.Exe..."));
        QCOMPARE(text, QStringLiteral("Program executable file not found."));
        QCOMPARE(driver.unexpected, 0);
    }
    {
        // A located program is started with OK.
        const QString marker = program.dir.filePath(QStringLiteral("started"));
        const QString script = program.dir.filePath(QStringLiteral("my-elemix"));
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\ntouch '%1'\n").arg(marker).toLocal8Bit());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ModalDriver driver;
        driver.ThenButton(QMessageBox::Yes);
        QString text;
        driver.Then([&](QWidget* w) {
            auto* dialog = qobject_cast<CFileBrowseDlg*>(w);
            QVERIFY(dialog);
            dialog->TakeChosenFile(script);
            text = dialog->Text();
            dialog->accept();
        });
        frame.Execute(ToInt(CommandId::FundamentalParameters));
        QCOMPARE(text, QStringLiteral("File located - ") + script);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(marker), 10000);
        QCOMPARE(driver.unexpected, 0);
    }
    {
        // A file that is no program: said so, no locate dialog.
        QFile fake(program.dir.filePath(QStringLiteral("Elemix.Exe")));
        QVERIFY(fake.open(QIODevice::WriteOnly));
        fake.write("not a program\n");
        fake.close();
        fake.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ModalDriver driver;
        driver.ThenButton(QMessageBox::Yes);
        driver.ThenButton(QMessageBox::Ok);
        frame.Execute(ToInt(CommandId::FundamentalParameters));
        QCOMPARE(driver.seen, (QStringList{QStringLiteral("Elemix not running.  Start Elemix?"),
                                           QStringLiteral("Program executable is invalid or "
                                                          "corrupt.")}));
        QCOMPARE(driver.unexpected, 0);
    }
}

QTEST_MAIN(CompanionBusTest)
#include "CompanionBusTest.moc"
