#include "dpp/DppTuner.h"

#include <algorithm>

#include "common/CaptionedPrompt.h"
#include "common/NumberText.h"
#include "dpp/DppDevice.h"
#include "dpp/DppFieldConversions.h"
#include "dpp/DppModels.h"
#include "dpp/DppProtocol.h"
#include "dpp/DppTypes.h"
#include "dpp/DppUsbLink.h"

namespace vorna {

int DppTuner::Step() {
    if (m_steps.empty())
        return -1;
    StepFn step = std::move(m_steps.front());
    m_steps.pop_front();
    const Pause p = step();
    if (p.again)
        m_steps.push_front(std::move(step));
    if (m_steps.empty())
        return p.ms > 0 ? p.ms : -1;
    return std::max(0, p.ms);
}

void DppTuner::Stop(const std::string& message) {
    // A failed procedure ends here: nothing queued behind it runs.
    m_steps.clear();
    m_ports.Prompt().message(message, PromptStyle::Error);
}

void DppTuner::ThenWaitFor(std::function<bool()> done, int limitMs,
                           std::function<int(bool)> after) {
    Then([this] {
        m_passes = 0;
        return Pause{};
    });
    Then([this, done = std::move(done), limitMs, after = std::move(after)]() -> Pause {
        if (done())
            return {after(true)};
        if (m_passes * kPassMs >= limitMs)
            return {after(false)};
        ++m_passes;
        if (m_passes % 6 == 0 && !m_ports.Link().busy())
            ReadStatusInto(m_ports.Link(), m_ports.Device());
        return {kPassMs, true};
    });
}

void DppTuner::ReadInputOffsetBack() {
    DppConfigImage image{};
    bool complete = false;
    ReadConfiguration(m_ports.Link(), image, &complete);
    if (complete)
        m_ports.Device().config.PloverInputOffset = (image[19] & 15) * 256 + image[20];
}

void DppTuner::QueueInputOffset(bool readBack, bool* failed) {
    Then([this] {
        DppConfigRecord& r = m_ports.Device().config;
        // Start from the end of the range the signal's polarity and pole zero lead to.
        const bool positive = r.InvertEn == 0;
        if (positive)
            r.PloverInputOffset = r.PoleZero > 0 ? 4090 : 2148;
        else
            r.PloverInputOffset = r.PoleZero > 0 ? 0 : 1948;
        m_ports.SendConfiguration();
        return Pause{50};
    });
    Then([this] {
        m_ports.Device().status.tuningFlags |= 0x80;
        SendRequest(m_ports.Link(), DppRequest::TuneInputOffset);
        return Pause{50};
    });
    ThenWaitFor([this] { return m_ports.Device().status.InputOffsetTuned(); }, kInputOffsetLimitMs,
                [this, failed](bool came) {
                    if (failed)
                        *failed = !came;
                    if (!came)
                        m_ports.Prompt().message(kTuneInputOffsetError, PromptStyle::Error);
                    return 0;
                });
    if (readBack) {
        ThenPause(500);
        Then([this] {
            ReadInputOffsetBack();
            return Pause{100};
        });
    }
}

void DppTuner::TuneInputOffset(bool readBack) {
    if (!IsPloverClass(m_ports.DeviceType()))
        return;
    QueueInputOffset(readBack, nullptr);
}

void DppTuner::StoreNormalized() {
    const DppDevice& d = m_ports.Device();
    m_ports.StoreNormalizedThresholds(NormalizedThreshold(d.config.SlowChThreshold, d.totalGain),
                                      NormalizedThreshold(d.config.FastChThreshold, d.totalGain));
}

void DppTuner::QueueFastThreshold(bool* failed) {
    Then([this] {
        m_ports.Device().status.statusFlags &= static_cast<uint8_t>(~0x40);
        SendRequest(m_ports.Link(), DppRequest::TuneFastThreshold);
        return Pause{50};
    });
    ThenWaitFor([this] { return m_ports.Device().status.FastThresholdTuned(); },
                kFastThresholdLimitMs,
                [this, failed](bool came) {
                    if (failed)
                        *failed = !came;
                    if (came)
                        return 200;
                    m_ports.ShowWaitWindow(false);
                    Stop(kTuneFastThresholdError);
                    return 0;
                });
    // The tuned value sits in the device's configuration.
    Then([this] {
        DppConfigImage image{};
        bool complete = false;
        ReadConfiguration(m_ports.Link(), image, &complete);
        if (complete)
            m_ports.Device().config.FastChThreshold = image[4];
        StoreNormalized();
        return Pause{100};
    });
}

void DppTuner::TuneFastThreshold() {
    QueueFastThreshold(nullptr);
}

void DppTuner::QueueSlowFromDelta() {
    Then([this] {
        m_deltaChanged = !m_ports.DeltaMode();
        if (m_deltaChanged) {
            m_ports.SetDeltaMode(true);
            return Pause{1000};
        }
        return Pause{};
    });
    Then([this] {
        DppConfigRecord& r = m_ports.Device().config;
        r.SlowChThreshold = static_cast<uint8_t>(SlowThresholdByteFromChannel(1, r.channels));
        m_ports.SendConfiguration();
        m_ports.SaveDefaultConfiguration();
        // One data interval of noise arrives meanwhile.
        return Pause{1200};
    });
    Then([this] {
        DppConfigRecord& r = m_ports.Device().config;
        std::vector<double> counts = m_ports.LiveCounts();
        counts.resize(16384, 0.0);
        const int channels = ThresholdScaleChannels(r.channels);
        const SlowThresholdSearch found = FindSlowThreshold(counts, channels);
        if (found.tooHigh)
            m_ports.Prompt().message(kSlowThresholdTooHigh, PromptStyle::Error);
        m_ports.MarkChannel(found.channel);
        r.SlowChThreshold =
            static_cast<uint8_t>(SlowThresholdByteFromChannel(found.channel, channels));
        m_ports.SendConfiguration();
        m_ports.SaveDefaultConfiguration();
        StoreNormalized();
        if (m_deltaChanged) {
            m_ports.SetDeltaMode(false);
            m_deltaChanged = false;
        }
        return Pause{};
    });
}

void DppTuner::TuneSlowThreshold() {
    Then([this] {
        if (!m_ports.Acquiring())
            Stop(kStartAcquisitionFirst);
        return Pause{};
    });
    QueueSlowFromDelta();
}

void DppTuner::TuneThresholds() {
    if (!FirmwareAtLeast(m_ports.Device().status.firmwareVersionByte, 3.11))
        return;
    Then([this] {
        m_ports.ShowWaitWindow(true);
        return Pause{200};
    });
    Then([this] {
        if (!m_ports.Acquiring()) {
            m_ports.ShowWaitWindow(false);
            Stop(kStartAcquisitionFirst);
        }
        return Pause{};
    });
    QueueFastThreshold(&m_fastFailed);
    ThenPause(200);
    QueueSlowFromDelta();
    Then([this] {
        m_ports.ShowWaitWindow(false);
        return Pause{200};
    });
    Then([this] {
        m_ports.DeleteDataAndResetTime();
        return Pause{};
    });
}

void DppTuner::StepGain(bool up, double delta) {
    DppDevice& d = m_ports.Device();
    DppConfigRecord& r = d.config;
    const int type = m_ports.DeviceType();
    auto showGain = [this, &d, type](const std::string& text) {
        const DppTotalGain total = TotalGain(d.config, type);
        d.SetTotalGain(total);
        m_ports.ShowTotalGain(text.empty() ? total.text : text, total.value);
    };
    if (type == static_cast<int>(DppDeviceType::Heron)) {
        // At either end the code stays, but the configuration is still saved and sent.
        r.CoarseGain = std::clamp(r.CoarseGain + (up ? 1 : -1), 0, 3);
        m_ports.SaveDefaultConfiguration();
        m_ports.SendConfiguration();
        showGain({});
        return;
    }
    if (!IsPloverClass(type))
        return;
    const double total = d.totalGain + (up ? delta : -delta);
    if (!TotalGainStepAllowed(total, type))
        return;
    const int before = r.CoarseGain;
    SetTotalGain(r, total, type);
    const bool osprey = type == static_cast<int>(DppDeviceType::Osprey);
    const bool retune = r.CoarseGain != before && (!osprey || r.PloverInputOffset > 0);
    if (m_ports.GainScaleThresholds()) {
        r.SlowChThreshold =
            static_cast<uint8_t>(ThresholdFromNormalized(m_ports.NormalizedSlowThreshold(), total));
        r.FastChThreshold =
            static_cast<uint8_t>(ThresholdFromNormalized(m_ports.NormalizedFastThreshold(), total));
    }
    m_ports.SaveDefaultConfiguration();
    m_ports.SendConfiguration();
    showGain(Format("%.2f", total));
    if (!retune)
        return;
    Then([this] {
        m_ports.ShowWaitWindow(true);
        return Pause{200};
    });
    QueueInputOffset(true, &m_offsetFailed);
    ThenPause(200);
    Then([this] {
        m_ports.ShowWaitWindow(false);
        return Pause{100};
    });
    Then([this] {
        m_ports.SendConfiguration();
        return Pause{100};
    });
}

} // namespace vorna
