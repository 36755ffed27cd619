#include "kestrel/AcqSettings.h"

#include "settings/CSProfile.h"

namespace vorna {

AcqSettings AcqSettingsFrom(const CSProfile& p) {
    AcqSettings s;
    s.comPort = p.comPort;
    s.baudRate = p.baudRate;
    s.autoUpdate = p.autoUpdate;
    s.updateInterval = p.updateInterval;
    s.acquireMode = p.acquireMode;
    s.presetMode = p.presetMode;
    s.spTotalCts = p.spTotalCts;
    s.spChanCts = p.spChanCts;
    s.spChanPosition = p.spChanPosition;
    s.group = p.group;
    s.gainIndex = p.gainIndex;
    s.threshold = p.threshold;
    s.liveMode = p.liveMode;
    s.absolutePeak = p.absolutePeak;
    s.repeatMeasEnable = p.repeatMeasEnable;
    s.calibrateEnable = p.calibrateEnable;
    s.deviceType = p.deviceType;
    return s;
}

namespace {

template <class Target> void Apply(Target& t, const ProfileWriteEvent& w) {
    if (w.group >= 0)
        t.group = w.group;
    if (w.threshold >= 0)
        t.threshold = w.threshold;
    if (w.liveMode >= 0)
        t.liveMode = w.liveMode;
    if (w.gainIndex >= 0)
        t.gainIndex = w.gainIndex;
    if (w.absolutePeak >= 0)
        t.absolutePeak = w.absolutePeak;
}

} // namespace

void ApplyProfileWrite(CSProfile& profile, const ProfileWriteEvent& write) {
    Apply(profile, write);
}

void PublishedAcqSettings::Publish(const AcqSettings& settings) {
    auto fresh = std::make_shared<const AcqSettings>(settings);
    std::lock_guard<std::mutex> g(m_mutex);
    m_current = std::move(fresh);
}

AcqSettings PublishedAcqSettings::Get() const {
    std::lock_guard<std::mutex> g(m_mutex);
    return *m_current;
}

void PublishedAcqSettings::Write(const ProfileWriteEvent& write) {
    {
        std::lock_guard<std::mutex> g(m_mutex);
        AcqSettings copy = *m_current;
        Apply(copy, write);
        m_current = std::make_shared<const AcqSettings>(copy);
    }
    m_sink.Post(write);
}

} // namespace vorna
