// The security code and battery type of the MCA preferences page.
#include "kestrel/CAcq.h"

namespace vorna {

McaPreferences CAcq::PreferencesValues() const {
    McaPreferences v{Connected(), m_nSecurityCode, m_nBatteryType};
    // The analyzer knows its batteries better than a value left over from the last session.
    if (v.connected && StatusValid())
        v.batteryType = Status().NiCd() ? 1 : 0;
    return v;
}

void CAcq::ApplyPreferences(uint16_t securityCode, int batteryType) {
    m_nSecurityCode = securityCode;
    m_nBatteryType = batteryType;
    if (!Connected())
        return;
    if (DeviceType() == KestrelDeviceType::KestrelA) {
        m_link.Unlock(securityCode);
        RefreshStatus();
    }
    KestrelStatus s = Status();
    const bool nicd = batteryType == 1;
    if (s.NiCd() == nicd)
        return;
    const auto statusByte =
        static_cast<uint8_t>(nicd ? s.statusByte | kStatusNiCd : s.statusByte & ~kStatusNiCd);
    if (Retry([&] {
            return m_link.SetControl(statusByte, static_cast<uint8_t>(s.controlWord & 0xFF),
                                     static_cast<uint8_t>(s.controlWord >> 8));
        }) != 0)
        return;
    s.statusByte = statusByte;
    SetStatusCopy(EncodeStatus(s));
}

} // namespace vorna
