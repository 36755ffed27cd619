#include "common/MainWindowSink.h"

namespace vorna {

namespace {
struct MessageNumberOf {
    int operator()(const Notice& n) const { return static_cast<int>(n.message); }
    int operator()(const TimedRequestEvent&) const { return 0x406; }
    int operator()(const ExternalCommandEvent&) const { return 0x500; }
    int operator()(const OpenFileEvent&) const { return 0x52C; }
    int operator()(const StatusTextEvent&) const { return 0x52D; }
    int operator()(const DeviceStateEvent&) const { return 0x52E; }
    template <class Other> int operator()(const Other&) const { return 0; }
};
} // namespace

int MessageNumber(const MainEvent& event) {
    return std::visit(MessageNumberOf{}, event);
}

} // namespace vorna
