#pragma once
// The main window's private messages as a port: workers and core code post typed events, the UI
// delivers them on its own thread in posting order. Every payload is owned by the event, so a
// dropped event leaks nothing and no pointer outlives what it points to.

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <variant>

#include "common/PromptRequests.h"
#include "common/UserPrompt.h"

namespace vorna {

enum class MainMessage : int {
    TimedRequest = 0x406,    // request's first parameter, target
    ExternalCommand = 0x500, // command code, argument
    OpenFile = 0x52C,        // 0, path text
    StatusText = 0x52D,      // pane index, text
    DeviceState = 0x52E,     // 0 acquisition / 1 connection, on or off
    RefreshSpectraList = 0x52F,
    Connect = 0x530,
    OpenDppUsb = 0x531,
    AcquisitionEnded = 0x532,
    ScopeStep = 0x534,
    SendDppConfiguration = 0x535,
    CloseDppProperties = 0x536,
    WaitDppPropertiesGone = 0x537,
    TuneInputOffset = 0x538,
    TuneFastThreshold = 0x53A,
    TuneSlowThreshold = 0x53B,
};

// A message without parameters (0x52F, 0x530, 0x531, 0x532, 0x534..0x53B).
struct Notice {
    MainMessage message;
};

class TimedRequestTarget;

// 0x406: a due timed request; the queue that posted it checks the target is still there.
struct TimedRequestEvent {
    TimedRequestTarget* target = nullptr;
    int first = 0;
    int second = 0;
};

// 0x500: a command of the companion program.
struct ExternalCommandEvent {
    uint32_t code = 0;
    int32_t argument = 0;
};

// 0x52C: open the spectrum file at the path when it exists.
struct OpenFileEvent {
    std::string path;
};

// 0x52D: a status-bar pane's text (pane 1 recomputes the device pane).
struct StatusTextEvent {
    int pane = 0;
    std::string text;
};

// 0x52E: which = 0 the acquisition indicator, 1 the connection indicator.
struct DeviceStateEvent {
    int which = 0;
    bool on = false;
};

// A message box a worker needs shown; the worker does not wait for it.
struct MessageEvent {
    std::string caption; // empty: the program's name
    std::string text;
    PromptStyle style = PromptStyle::Warning;
};

// Profile values a worker learned from the device; the UI thread stores them.
struct ProfileWriteEvent {
    int group = -1; // -1: unchanged
    int threshold = -1;
    int liveMode = -1;
    int gainIndex = -1;
    int absolutePeak = -1;
};

// A device job posted from the UI thread has finished; the ticket names its continuation.
struct JobFinishedEvent {
    uint64_t ticket = 0;
};

using MainEvent = std::variant<Notice, TimedRequestEvent, ExternalCommandEvent, OpenFileEvent,
                               StatusTextEvent, DeviceStateEvent, MessageEvent, QuestionRequest,
                               SaveFileRequest, NumberRequest, ProfileWriteEvent, JobFinishedEvent>;

class MainWindowSink {
public:
    virtual ~MainWindowSink() = default;
    // Queues the event; never waits for it to be handled.
    virtual void Post(MainEvent event) = 0;
    void Post(MainMessage message) { Post(MainEvent{Notice{message}}); }
};

// The message number an event stands for (question and job events: 0).
int MessageNumber(const MainEvent& event);

} // namespace vorna
