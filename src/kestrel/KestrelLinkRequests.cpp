// The typed face of the dispatcher: each call builds its request record.
#include <algorithm>
#include <array>

#include "kestrel/KestrelLink.h"

namespace vorna {

namespace {

KestrelRequestRecord Request(KestrelRequest code, int32_t a = 0, int32_t b = 0, int32_t c = 0) {
    KestrelRequestRecord r;
    r.code = code;
    r.args[0] = a;
    r.args[1] = b;
    r.args[2] = c;
    return r;
}

} // namespace

int KestrelLink::DetectUsb(int port) {
    return Dispatch(Request(KestrelRequest::DetectUsb, port));
}

int KestrelLink::Connect(int port, int baud, KestrelDeviceType expectedType) {
    return Dispatch(
        Request(KestrelRequest::Connect, port, baud, static_cast<int32_t>(expectedType)));
}

int KestrelLink::Disconnect() {
    return Dispatch(Request(KestrelRequest::Disconnect));
}

int KestrelLink::GetBattery() {
    return Dispatch(Request(KestrelRequest::GetBattery));
}

int KestrelLink::GetStatus(StatusRecord& record) {
    KestrelRequestRecord r = Request(KestrelRequest::GetStatus);
    r.bytes = record;
    return Dispatch(r);
}

int KestrelLink::ReadData(std::span<uint32_t> counts, int start, int count) {
    KestrelRequestRecord r = Request(KestrelRequest::ReadData, start, count);
    r.counts = counts;
    return Dispatch(r);
}

int KestrelLink::ReadClock(std::string& text) {
    std::array<uint8_t, 20> buffer{};
    KestrelRequestRecord r = Request(KestrelRequest::ReadClock);
    r.bytes = buffer;
    int result = Dispatch(r);
    if (result == 0)
        text.assign(reinterpret_cast<const char*>(buffer.data()),
                    std::find(buffer.begin(), buffer.end(), uint8_t{0}) - buffer.begin());
    return result;
}

int KestrelLink::ClearData() {
    return Dispatch(Request(KestrelRequest::ClearData));
}
int KestrelLink::ClearTime() {
    return Dispatch(Request(KestrelRequest::ClearTime));
}
int KestrelLink::ClearAll() {
    return Dispatch(Request(KestrelRequest::ClearAll));
}

int KestrelLink::Start(bool setClock) {
    return Dispatch(Request(KestrelRequest::Start, setClock ? 1 : 0));
}

int KestrelLink::Stop() {
    return Dispatch(Request(KestrelRequest::Stop));
}

int KestrelLink::SetGroup(int group) {
    return Dispatch(Request(KestrelRequest::SetGroup, group));
}

int KestrelLink::Unlock(uint16_t code) {
    return Dispatch(Request(KestrelRequest::Unlock, code));
}

int KestrelLink::SetControl(uint8_t statusByte, uint8_t controlLow, uint8_t controlHigh) {
    return Dispatch(Request(KestrelRequest::SetControl, statusByte, controlLow, controlHigh));
}

int KestrelLink::SetPreset(int32_t preset) {
    return Dispatch(Request(KestrelRequest::SetPreset, preset));
}

int KestrelLink::SetThreshold(int32_t threshold) {
    return Dispatch(Request(KestrelRequest::SetThreshold, threshold));
}

} // namespace vorna
