#pragma once
// Every setting of a DPP in one record; the device is always configured as a whole from it.

#include <array>
#include <cstdint>

namespace vorna {

struct DppConfigRecord {
    int32_t Port = 0;     // 0 USB, n > 0 COMn, -1 not set
    uint32_t Preset = 0;  // preset time in tenths of a second (24 bits reach the device), 0 none
    int32_t Avg = 1;      // decimation code 1..5 of the shaping clock
    int32_t FlatTop = 0;  // flat-top index 0..15
    uint8_t DetReset = 8; // detector-reset lockout code 0..7, 8 off
    uint8_t SlowChThreshold = 0;
    uint8_t FastChThreshold = 0;
    int32_t Offset = 0;     // analog-output offset, 7 bits
    uint8_t DAC_Enable = 0; // analog output on (1) or off (0)
    int32_t DAC = 0;        // analog output source 0..3
    int32_t MCA = 2;        // channel-count code 0..5
    int32_t channels = 1024;
    int32_t MCAEnable = 0; // acquisition-enable bit
    int32_t PUREnable = 0; // pile-up rejection
    int32_t Rise = 1;      // peaking multiple 1..8
    int32_t AutoBaseline = 0;
    uint8_t RTDSlow = 0;    // RTD ratio (Osprey class) or threshold (others)
    int32_t CoarseGain = 0; // coarse gain code; range by device type
    uint8_t RTDOn = 0;
    uint8_t RTDFast = 4;      // RTD slow threshold (Osprey class) or fast-channel half width, 4..19
    uint8_t BLR = 0x3F;       // baseline restoration; 0x3F off
    uint8_t Gate = 0;         // 0x00 off, 0x80 active high, 0xC0 active low
    uint8_t BufferSelect = 0; // 0x00 buffer A, 0x10 buffer B, 0x20 hardware select
    uint8_t AcqMode = 0;      // 0 MCA, 1 MCS
    uint8_t MCSEnable = 1;
    uint8_t MCSTimebase = 0; // MCS dwell code 0..15
    uint8_t TECEnabled = 1;
    int32_t TEC = 0; // cooler set point, 12 bits
    int32_t HVEnabled = 0;
    int32_t HV = 0; // high-voltage setting, 12 bits
    int32_t FINCH = 1;
    int32_t SEL8_5V = 0;              // preamp supply 8.5 V (1) or 5.0 V (0)
    int32_t PoleZero = 0;             // 8 bits, 0 off
    int32_t PloverInputOffset = 2048; // 12 bits, 2048 = 0 V
    int32_t PloverFineGain = 8192;    // fine gain x 8192
    int32_t InvertEn = 0;             // input polarity negative 1, positive 0
    int32_t IndLED = 0;               // audio level bit 1
    int32_t IndBuzzer = 0;            // audio level bit 0
    int32_t PwrCtrl9V = 1;
    int32_t PwrCtrl5VA = 1;
    int32_t AuxOut = 0; // auxiliary output source 0..7
    uint32_t PresetCount = 0;
    // Single-channel analyzers 1..8: bits 0..15 lower level, bits 16..30 upper level, bit 31
    // enabled. Word 7 also holds the preset-count window.
    std::array<uint32_t, 8> Sca{};
    uint8_t ScopeTriggerFalling = 0;
    int32_t ScopeTriggerPosition = 0; // 0..3

    bool operator==(const DppConfigRecord&) const = default;
};

} // namespace vorna
