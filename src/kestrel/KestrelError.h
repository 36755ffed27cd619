#pragma once
// Result codes of the Kestrel link. Requests return 0 (or a non-negative value) on success, one
// of these negative codes, or a positive operating-system error code from the serial port.

namespace vorna {

enum class KestrelError : int {
    UndefinedRequest = -9,
    MissingBuffer = -10,
    GroupOutOfRange = -11,
    BaudOutOfRange = -12,
    PresetOutOfRange = -15,
    NotConnected = -17,
    PortOutOfRange = -18,
    NotRs232 = -19,
    NoModemControl = -20,
    NotSupported = -21,
    WrongDeviceType = -22,
    DataChecksum = -23,
    StatusChecksum = -24,
    HandshakeTimeout = -26,
    ReceiveTimeout = -27,
    ThresholdBit15 = -34,
    Unexpected = -36,
    StartBeyondChannels = -38,
};

constexpr int Code(KestrelError e) {
    return static_cast<int>(e);
}

} // namespace vorna
