#pragma once
// The profile values the Kestrel controller and its workers read, as one value. The program's
// UI thread publishes a fresh copy whenever the profile may have changed; workers only ever read
// a published copy, and what they learn from the device (group, threshold, live mode, gain,
// peak mode) goes back to the UI thread as a posted event instead of a write across threads.

#include <memory>
#include <mutex>

#include "common/MainWindowSink.h"

namespace vorna {

class CSProfile;

struct AcqSettings {
    int comPort = 0;
    int baudRate = 0;
    int autoUpdate = 0;
    int updateInterval = 1000;
    int acquireMode = 0;
    int presetMode = 3;
    int spTotalCts = 0;
    int spChanCts = 0;
    int spChanPosition = 0;
    int group = 0;
    int gainIndex = 0;
    int threshold = 0;
    int liveMode = 0;
    int absolutePeak = 0;
    int repeatMeasEnable = 0;
    int calibrateEnable = 0;
    int deviceType = 0;
};

AcqSettings AcqSettingsFrom(const CSProfile& profile);
// Stores what a worker learned in the profile (UI thread).
void ApplyProfileWrite(CSProfile& profile, const ProfileWriteEvent& write);

class AcqSettingsSource {
public:
    virtual ~AcqSettingsSource() = default;
    virtual AcqSettings Get() const = 0;
    // Device values the profile must take.
    virtual void Write(const ProfileWriteEvent& write) = 0;
};

// Reads and writes the profile itself (tests, tools); the controller's own threads meet at the
// lock, whoever else touches the profile must not do so while they run.
class ProfileAcqSettings : public AcqSettingsSource {
public:
    explicit ProfileAcqSettings(CSProfile& profile) : m_profile(profile) {}
    AcqSettings Get() const override {
        std::lock_guard<std::mutex> g(m_mutex);
        return AcqSettingsFrom(m_profile);
    }
    void Write(const ProfileWriteEvent& write) override {
        std::lock_guard<std::mutex> g(m_mutex);
        ApplyProfileWrite(m_profile, write);
    }

private:
    CSProfile& m_profile;
    mutable std::mutex m_mutex;
};

// The program's source: the UI thread publishes, any thread reads; a write updates the copy at
// once (so the worker sees its own write) and is posted for the profile.
class PublishedAcqSettings : public AcqSettingsSource {
public:
    explicit PublishedAcqSettings(MainWindowSink& sink) : m_sink(sink) {}
    void Publish(const AcqSettings& settings);
    AcqSettings Get() const override;
    void Write(const ProfileWriteEvent& write) override;

private:
    MainWindowSink& m_sink;
    mutable std::mutex m_mutex;
    std::shared_ptr<const AcqSettings> m_current = std::make_shared<AcqSettings>();
};

} // namespace vorna
