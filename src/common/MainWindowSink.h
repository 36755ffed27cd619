#pragma once
// The main window's private messages as a port: workers and core code post them with two
// integer parameters, the UI delivers them on its own thread in posting order.

#include <cstdint>

namespace vorna {

enum class MainMessage : int {
    TimedRequest = 0x406,     // request's first parameter, target
    ExternalCommand = 0x500,  // command code, argument
    OpenFile = 0x52C,         // 0, path text (a constant or owned by the receiver)
    StatusText = 0x52D,       // pane index, constant text
    DeviceState = 0x52E,      // 0 acquisition / 1 connection, on or off
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

class MainWindowSink {
public:
    virtual ~MainWindowSink() = default;
    // Queues the message; never waits for it to be handled.
    virtual void Post(MainMessage message, intptr_t wparam = 0, intptr_t lparam = 0) = 0;
};

} // namespace vorna
