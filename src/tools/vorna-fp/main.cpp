// vorna-fp: drives a running VORNA over the session bus as its companion analysis program does.
// One request per run; with --answer the tool stands in for the companion for the length of
// the call and prints the answers VORNA sends back.

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDeadlineTimer>
#include <QEventLoop>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <cstdio>

#include "external/CompanionBus.h"

namespace {

constexpr const char* kUsage = R"(Usage:
  vorna-fp copy-data CODE TEXT [--answer] [--timeout MS]
  vorna-fp command CODE [ARGUMENT] [--answer] [--timeout MS]
  vorna-fp wait [--timeout MS]
  vorna-fp --help

Sends one request to the VORNA of this user (bus name com.quorix.LumoWindow, object
/LumoWindow, interface com.quorix.LumoWindow) on the session bus:
  copy-data  CopyData(u CODE, s TEXT): spectra, tags, save (30), load (31), calibration (32)
  command    Command(u CODE, i ARGUMENT): counts, times, ROIs (23), device state (27), ...
  wait       waits until a VORNA owns its bus name (scripts that have just started one)

Without --answer the method's return value is printed. With --answer the tool owns
com.quorix.Elemix (object /Elemix) for the call and prints each answer VORNA sends as one line
"CODE<TAB>TEXT"; an error answer has code 100. --timeout (default 25000 ms) bounds the wait.

Exit status: 0 done; 1 the call failed (no VORNA, refused, timeout) with the reason on stderr;
2 bad command line; 3 an error answer (code 100) came back.

The same calls with busctl:
  busctl --user call com.quorix.LumoWindow /LumoWindow com.quorix.LumoWindow CopyData us 31 run1
  busctl --user call com.quorix.LumoWindow /LumoWindow com.quorix.LumoWindow Command ui 23 0
)";

// Stands in for the companion: collects the answers VORNA sends.
class AnswerReceiver : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "com.quorix.Elemix")
public:
    struct Entry {
        uint code;
        QString text;
    };
    QList<Entry> answers;

public Q_SLOTS:
    Q_SCRIPTABLE void CopyData(uint code, const QString& text) { answers.append({code, text}); }
};

int Fail(const QString& text, int status = 1) {
    std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
    return status;
}

bool ParseUInt(const QString& text, uint& value) {
    bool ok = false;
    value = text.toUInt(&ok);
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QStringList args = QCoreApplication::arguments().mid(1);
    if (args.isEmpty() || args.contains(QStringLiteral("--help")) ||
        args.contains(QStringLiteral("-h"))) {
        std::fputs(kUsage, args.isEmpty() ? stderr : stdout);
        return args.isEmpty() ? 2 : 0;
    }
    const bool wantAnswer = args.removeAll(QStringLiteral("--answer")) > 0;
    int timeoutMs = 25000;
    const qsizetype t = args.indexOf(QStringLiteral("--timeout"));
    if (t >= 0) {
        bool ok = false;
        timeoutMs = t + 1 < args.size() ? args.at(t + 1).toInt(&ok) : 0;
        if (!ok || timeoutMs <= 0)
            return Fail(QStringLiteral("--timeout needs a number of milliseconds"), 2);
        args.remove(t, 2);
    }
    const QString verb = args.value(0);
    const QString service = QString::fromLatin1(vorna::kCompanionWindowService);

    QDBusMessage call = QDBusMessage::createMethodCall(
        service, QString::fromLatin1(vorna::kCompanionWindowPath),
        QString::fromLatin1(vorna::kCompanionWindowInterface), QStringLiteral("Command"));
    uint code = 0;
    if (verb == QLatin1String("copy-data") && args.size() == 3 && ParseUInt(args.at(1), code)) {
        call = QDBusMessage::createMethodCall(service, call.path(), call.interface(),
                                              QStringLiteral("CopyData"));
        call << code << args.at(2);
    } else if (verb == QLatin1String("command") && (args.size() == 2 || args.size() == 3) &&
               ParseUInt(args.at(1), code)) {
        bool ok = true;
        const int argument = args.size() == 3 ? args.at(2).toInt(&ok) : 0;
        if (!ok)
            return Fail(QStringLiteral("ARGUMENT must be a whole number"), 2);
        call = QDBusMessage::createMethodCall(service, call.path(), call.interface(),
                                              QStringLiteral("Command"));
        call << code << argument;
    } else if (verb != QLatin1String("wait") || args.size() != 1) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    call.setAutoStartService(false);

    QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return Fail(QStringLiteral("no session bus: ") + bus.lastError().message());

    if (verb == QLatin1String("wait")) {
        QDeadlineTimer deadline(timeoutMs);
        while (!bus.interface()->isServiceRegistered(service).value()) {
            if (deadline.hasExpired())
                return Fail(QStringLiteral("no VORNA owns ") + service);
            QThread::msleep(50);
        }
        return 0;
    }

    AnswerReceiver receiver;
    if (wantAnswer) {
        const QString companion = QString::fromLatin1(vorna::kCompanionAnswerService);
        if (!bus.registerObject(QString::fromLatin1(vorna::kCompanionAnswerPath), &receiver,
                                QDBusConnection::ExportScriptableSlots) ||
            !bus.registerService(companion))
            return Fail(companion + QStringLiteral(" is taken: a companion is running"));
    }
    // Asynchronous, so that answers and reply are handled in the order they arrived: the
    // answers left VORNA before its reply did.
    QDBusPendingCall pending = bus.asyncCall(call, timeoutMs);
    QDBusPendingCallWatcher watcher(pending);
    QEventLoop loop;
    QObject::connect(&watcher, &QDBusPendingCallWatcher::finished, &loop, &QEventLoop::quit);
    if (!pending.isFinished())
        loop.exec();
    QCoreApplication::processEvents();
    const QDBusMessage reply = pending.reply();
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Fail(reply.errorMessage().isEmpty() ? reply.errorName() : reply.errorMessage());
    if (!wantAnswer) {
        std::printf("%d\n", reply.arguments().value(0).toInt());
        return 0;
    }
    int status = 0;
    for (const AnswerReceiver::Entry& a : receiver.answers) {
        std::printf("%u\t%s\n", a.code, a.text.toLocal8Bit().constData());
        if (a.code == 100)
            status = 3;
    }
    return status;
}

#include "main.moc"
