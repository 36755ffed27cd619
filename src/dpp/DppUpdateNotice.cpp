#include "dpp/DppUpdateNotice.h"

#include "common/NumberText.h"
#include "dpp/DppTypes.h"

namespace vorna {

DppUpdateNotice MakeUpdateNotice(const std::string& programLines, uint32_t serialNumber,
                                 uint8_t firmwareByte, uint8_t fpgaByte) {
    DppUpdateNotice notice;
    notice.headline = kUpdateNoticeHeadline;
    std::string& t = notice.text;
    t = programLines;
    t += serialNumber != 0 ? Format("Plover (s/n %7i)", static_cast<int>(serialNumber))
                           : std::string("Plover");
    t += "\r\n";
    t += Format("Firmware Version:  %d.%02d\r\n", firmwareByte >> 4, firmwareByte & 0x0F);
    t += Format("FPGA Version:  %d.%02d\r\n", fpgaByte >> 4, fpgaByte & 0x0F);
    const bool firmwareOk = DppVersionValue(firmwareByte) >= kRequiredFirmware;
    const bool fpgaOk = DppVersionValue(fpgaByte) >= kRequiredFpga;
    if (firmwareOk && fpgaOk) {
        notice.headline = "FPGA and Firmware OK";
        t += "FPGA and Firmware OK";
        notice.upToDate = true;
        return notice;
    }
    t += firmwareOk
             ? std::string("Firmware OK")
             : Format("***Firmware needs update to version %.2f or above.***", kRequiredFirmware);
    t += "\r\n";
    t += fpgaOk ? std::string("FPGA OK")
                : Format("***FPGA needs update to version %.2f or above.***", kRequiredFpga);
    return notice;
}

} // namespace vorna
