#include "app/companion/CompanionInterface.h"

#include <QDBusConnectionInterface>
#include <QDBusReply>
#include <QFileInfo>
#include <QTimer>
#include <unistd.h>

#include "app/CMainFrame.h"
#include "app/InfoPane.h"
#include "app/TextConvert.h"
#include "app/companion/LumoWindowBusObject.h"
#include "app/companion/QtLauncherPort.h"
#include "app/roi/LibraryWindow.h"
#include "appcore/KestrelProgram.h"
#include "appcore/ProgramState.h"
#include "common/Text.h"
#include "external/CompanionBus.h"
#include "external/CompanionGate.h"
#include "external/CompanionLauncher.h"
#include "external/FpMessages.h"
#include "spectrum/SpectrumFile.h"

namespace vorna {

namespace {

// The text as the program's 8-bit bytes, or nothing when it is too long to take.
std::optional<std::string> RequestBytes(const QString& text) {
    // Every character becomes one byte at most: twice the limit in UTF-16 units is surely over.
    if (static_cast<size_t>(text.size()) > 2 * kMaxCompanionText)
        return std::nullopt;
    std::string bytes = Utf16ToCp1252(std::u16string_view(
        reinterpret_cast<const char16_t*>(text.utf16()), static_cast<size_t>(text.size())));
    if (!CompanionTextAllowed(bytes.size()))
        return std::nullopt;
    return bytes;
}

} // namespace

CompanionInterface::CompanionInterface(ProgramState& state, CMainFrame& frame, QtUserPrompt& prompt,
                                       Options options)
    : QObject(&frame), m_state(state), m_frame(frame), m_prompt(prompt),
      m_options(std::move(options)), m_commands(state, *this, *this),
      m_object(std::make_unique<LumoWindowBusObject>(*this)) {}

CompanionInterface::~CompanionInterface() {
    if (m_registered) {
        m_options.bus.unregisterObject(QString::fromLatin1(kCompanionWindowPath));
        m_options.bus.unregisterService(QString::fromLatin1(kCompanionWindowService));
    }
}

bool CompanionInterface::Register() {
    QDBusConnection& bus = m_options.bus;
    // Without a session bus (a console login, a test) the program simply runs without it.
    if (!bus.isConnected() || !bus.interface())
        return false;
    if (!bus.registerObject(QString::fromLatin1(kCompanionWindowPath), m_object.get(),
                            QDBusConnection::ExportScriptableSlots)) {
        ShowStatus(kNameTakenStatus);
        return false;
    }
    const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
        bus.interface()->registerService(QString::fromLatin1(kCompanionWindowService),
                                         QDBusConnectionInterface::DontQueueService,
                                         QDBusConnectionInterface::DontAllowReplacement);
    if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
        bus.unregisterObject(QString::fromLatin1(kCompanionWindowPath));
        ShowStatus(kNameTakenStatus);
        return false;
    }
    m_registered = true;
    return true;
}

bool CompanionInterface::CallerAllowed(QDBusContext& context) {
    std::optional<uint32_t> uid;
    const QDBusReply<uint> reply =
        context.connection().interface()->serviceUid(context.message().service());
    if (reply.isValid())
        uid = reply.value();
    if (CompanionCallerAllowed(uid, static_cast<uint32_t>(getuid())))
        return true;
    context.sendErrorReply(QDBusError::AccessDenied,
                           QStringLiteral("VORNA takes requests from its own user only."));
    return false;
}

int CompanionInterface::BusCopyData(uint code, const QString& text, QDBusContext& context) {
    if (!CallerAllowed(context))
        return 0;
    Pending request;
    request.copyData = true;
    request.code = code;
    request.text = text;
    return Accept(std::move(request), context);
}

int CompanionInterface::BusCommand(uint code, int argument, QDBusContext& context) {
    if (!CallerAllowed(context))
        return 0;
    Pending request;
    request.copyData = false;
    request.code = code;
    request.argument = argument;
    return Accept(std::move(request), context);
}

int CompanionInterface::Accept(Pending request, QDBusContext& context) {
    if (!Busy()) {
        const int result = Run(request);
        if (m_holding) {
            context.setDelayedReply(true);
            HoldReplyIfWorking(context.message(), result);
        }
        return result;
    }
    // Later requests wait for the running one and for those before them.
    context.setDelayedReply(true);
    request.message = context.message();
    m_queue.push_back(std::move(request));
    return 0;
}

int CompanionInterface::Run(const Pending& request) {
    const bool outer = m_running;
    m_running = true;
    int result = 0;
    if (request.copyData)
        result = RunCopyData(request.code, request.text);
    else
        m_commands.Command(static_cast<int>(request.code), request.argument);
    m_running = outer;
    ScheduleDrain();
    return result;
}

void CompanionInterface::ScheduleDrain() {
    if (m_queue.empty() || m_drainScheduled || m_holding)
        return;
    m_drainScheduled = true;
    QTimer::singleShot(0, this, [this] {
        m_drainScheduled = false;
        // One at a time: each reply goes out before the next request runs.
        if (m_running || m_holding || m_queue.empty())
            return;
        Pending next = std::move(m_queue.front());
        m_queue.pop_front();
        const int result = Run(next);
        if (m_holding)
            HoldReplyIfWorking(next.message, result);
        else
            m_options.bus.send(next.message.createReply(result));
    });
}

void CompanionInterface::HoldReplyIfWorking(const QDBusMessage& message, int result) {
    m_heldReply = message.createReply(result);
}

int CompanionInterface::RunCopyData(uint code, const QString& text) {
    const std::optional<std::string> bytes = RequestBytes(text);
    if (!bytes) {
        Answer(kFpErrorCode, fptext::kTextTooLong, false);
        return 0;
    }
    const std::string path = PathToCore(text);
    return m_commands.CopyData(code, *bytes, &path);
}

void CompanionInterface::PostedCommand(int code, int argument) {
    Pending request;
    request.copyData = false;
    request.code = static_cast<uint>(code);
    request.argument = argument;
    Run(request);
}

void CompanionInterface::ShowElemix() {
    QtLauncherPort port(m_prompt, &m_frame, m_options.programDir, m_options.bus);
    ShowCompanion(ElemixProgram(), port);
}

void CompanionInterface::ShowFlareController() {
    QtLauncherPort port(m_prompt, &m_frame, m_options.programDir, m_options.bus);
    ShowCompanion(FlareProgram(), port);
}

void CompanionInterface::BringToFront() {
    if (m_frame.isMinimized())
        m_frame.showNormal();
    m_frame.show();
    m_frame.raise();
    m_frame.activateWindow();
}

void CompanionInterface::ShowStatus(const std::string& text) {
    m_frame.SetStatusText(0, FromCore(text));
}

void CompanionInterface::RefreshSpectraList() {
    m_frame.RefreshPanes();
}

void CompanionInterface::RefreshInfoPane() {
    m_frame.Info()->Refresh();
}

bool CompanionInterface::LibraryWindowShown() const {
    for (const LibraryWindow* w : m_frame.findChildren<LibraryWindow*>())
        if (w->isVisible())
            return true;
    return false;
}

void CompanionInterface::OpenSpectrum(const std::string& path) {
    // Opened before the request is answered, so the companion's next request already finds it.
    const QFileInfo info(PathFromCore(path));
    if (info.exists() && info.isFile())
        OpenSpectrumFile(m_state.Spectra(), path, &m_state.Recent());
    m_frame.RebuildRecentFileMenu();
    m_frame.RefreshPanes();
}

void CompanionInterface::ConnectKestrel(bool connect, std::function<void(int)> done) {
    KestrelProgram* kestrel = m_state.Kestrel();
    if (!kestrel) {
        done(connect ? static_cast<int>(AcqQuietResult::NoPort) : 0);
        return;
    }
    // The link is the command thread's; the answer follows when the job is done.
    m_holding = true;
    auto result = std::make_shared<int>(0);
    kestrel->Run(
        [connect, result](CAcq& acq) {
            *result = static_cast<int>(connect ? acq.ConnectQuiet() : acq.DisconnectQuiet(true));
        },
        [this, result, done = std::move(done)] {
            done(*result);
            m_holding = false;
            if (m_heldReply) {
                m_options.bus.send(*m_heldReply);
                m_heldReply.reset();
            }
            ScheduleDrain();
        });
}

void CompanionInterface::ShowConnectionState(bool connected) {
    m_frame.UpdateDevicePane();
    m_frame.SetDeviceIndicator(1, connected);
}

void CompanionInterface::Answer(uint32_t code, const std::string& text, bool isPath) {
    QDBusMessage call = QDBusMessage::createMethodCall(
        QString::fromLatin1(kCompanionAnswerService), QString::fromLatin1(kCompanionAnswerPath),
        QString::fromLatin1(kCompanionAnswerInterface), QStringLiteral("CopyData"));
    call << static_cast<uint>(code) << (isPath ? PathFromCore(text) : FromCore(text));
    // Nobody is started for an answer, and nobody waits for one: with no companion it is lost.
    call.setAutoStartService(false);
    m_options.bus.send(call);
}

} // namespace vorna
