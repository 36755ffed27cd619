#pragma once
// The companion interface on the user's session bus: VORNA owns com.quorix.LumoWindow with
// CopyData(u, s) and Command(u, i) at /LumoWindow; answers go to com.quorix.Elemix as CopyData
// calls. Requests run on the user-interface thread one at a time in arrival order; one that
// arrives while another is still running (a message box of the first runs its own event loop)
// waits in a queue and is answered later. The window reaches it through one pointer: posted
// 0x500 commands and the two companion-program commands.

#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <deque>
#include <functional>
#include <memory>
#include <optional>

#include "appcore/CFPCmdInterface.h"

namespace vorna {

class CMainFrame;
class ProgramState;
class QtUserPrompt;
class LumoWindowBusObject;

inline constexpr const char* kNameTakenStatus =
    "Companion interface not available: another VORNA owns com.quorix.LumoWindow.";

class CompanionInterface : public QObject, private FpShell, private FpAnswerSink {
    Q_OBJECT
public:
    struct Options {
        QString programDir; // where the companion programs are looked for first
        QDBusConnection bus = QDBusConnection::sessionBus();
    };
    CompanionInterface(ProgramState& state, CMainFrame& frame, QtUserPrompt& prompt,
                       Options options);
    ~CompanionInterface() override;

    // Exports the object and takes the bus name; false when there is no session bus, or when
    // another VORNA owns the name (status pane 0 then says so).
    bool Register();
    bool Registered() const { return m_registered; }

    // A posted 0x500 command.
    void PostedCommand(int code, int argument);
    // "Fundamental Parameters" and "Flare Controller".
    void ShowElemix();
    void ShowFlareController();

    // Bus requests (from the exported object).
    int BusCopyData(uint code, const QString& text, QDBusContext& context);
    int BusCommand(uint code, int argument, QDBusContext& context);

    CFPCmdInterface& Commands() { return m_commands; }

private:
    struct Pending {
        QDBusMessage message;
        bool copyData = true;
        uint code = 0;
        QString text;
        int argument = 0;
    };
    // False (and an access-denied error reply) when the caller is not this user.
    bool CallerAllowed(QDBusContext& context);
    int Accept(Pending request, QDBusContext& context);
    int Run(const Pending& request);
    int RunCopyData(uint code, const QString& text);
    void ScheduleDrain();
    bool Busy() const { return m_running || m_holding || !m_queue.empty(); }
    // After a request ran: when it left work on the Kestrel's command thread, its reply waits.
    void HoldReplyIfWorking(const QDBusMessage& message, int result);

    // FpShell
    void BringToFront() override;
    void ShowStatus(const std::string& text) override;
    void RefreshSpectraList() override;
    void RefreshInfoPane() override;
    bool LibraryWindowShown() const override;
    void OpenSpectrum(const std::string& path) override;
    void ConnectKestrel(bool connect, std::function<void(int)> done) override;
    void ShowConnectionState(bool connected) override;
    // FpAnswerSink
    void Answer(uint32_t code, const std::string& text, bool isPath) override;

    ProgramState& m_state;
    CMainFrame& m_frame;
    QtUserPrompt& m_prompt;
    Options m_options;
    CFPCmdInterface m_commands;
    std::unique_ptr<LumoWindowBusObject> m_object;
    std::deque<Pending> m_queue;
    bool m_running = false;
    bool m_drainScheduled = false;
    // A request's Kestrel job runs; its answer, its reply and the requests after it wait.
    bool m_holding = false;
    std::optional<QDBusMessage> m_heldReply;
    bool m_registered = false;
};

} // namespace vorna
