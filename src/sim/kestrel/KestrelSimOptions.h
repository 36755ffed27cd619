#pragma once
// How a simulated Kestrel is built and which faults it can be told to show.

#include <cstdint>
#include <optional>

#include "kestrel/SerialLine.h"
#include "sim/SimFaultPlan.h"

namespace vorna {

enum class KestrelSimModel {
    Kestrel,     // the older model on RS-232: serial number 0, no clock, no lock, no group report
    KestrelA,    // on RS-232, DSR answers and DTR-clocked bytes
    KestrelAUsb, // behind its USB interface: CTS answers, the device sends on its own
};

struct KestrelSimOptions {
    KestrelSimModel model = KestrelSimModel::KestrelA;
    uint16_t serialNumber = 1207; // forced to 0 on the older model
    int gainCode = 2;             // 4096 channels
    double countRate = 2500.0;    // counts per second of live time
    uint64_t seed = 1;
    uint8_t batteryLevel = 80;
    bool nicd = false;
    // A device that comes up locked and opens with this code (KestrelA only).
    std::optional<uint16_t> securityCode;
    // What the port driver reports; the defaults are those of a plain PC serial port.
    SerialProperties port{true, true, true, true, 115200, 0, 0};
    // Device wall clock at simulated time zero.
    int clockYear = 2026, clockMonth = 1, clockDay = 15;
    int clockHour = 9, clockMinute = 30, clockSecond = 0;
    // Faults that come by themselves as time passes: the cable is pulled (and put back), the
    // device falls silent, every Nth status record and data transfer is spoilt.
    SimFaultPlan faults;
};

enum class KestrelSimFault {
    MissingHandshake, // the device does not answer on CTS or DSR
    StatusChecksum,   // a record goes out with a wrong checksum byte
    DataChecksum,     // line noise flips a bit of a data transfer, so its sum disagrees
    ReceiveTimeout,   // the device stays silent instead of sending a record, data or its clock
    PulledCable,      // RS-232: the lines go dead; USB: the port disappears
};

} // namespace vorna
