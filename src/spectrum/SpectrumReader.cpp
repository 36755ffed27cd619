#include "spectrum/SpectrumReader.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <initializer_list>
#include <string>
#include <strings.h>

#include "common/NumberText.h"
#include "common/Text.h"
#include "common/UserPrompt.h"
#include "spectrum/CSpectrum.h"

namespace vorna {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isAsciiLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool sameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

bool beginsWith(std::string_view line, std::string_view prefix) {
    return line.substr(0, prefix.size()) == prefix;
}

bool beginsSection(std::string_view line) {
    return !line.empty() && line.front() == '<';
}

// Lines end with LF; a CR before the LF is dropped. The last line may lack its LF.
class LineCursor {
public:
    explicit LineCursor(std::string_view bytes) : m_bytes(bytes) {}

    bool Next(std::string_view& line) {
        const size_t size = m_bytes.size();
        if (m_pos >= size)
            return false;
        const char* begin = m_bytes.data() + m_pos;
        const void* lf = std::memchr(begin, '\n', size - m_pos);
        size_t len = lf ? static_cast<size_t>(static_cast<const char*>(lf) - begin) : size - m_pos;
        m_pos += lf ? len + 1 : len;
        if (lf && len > 0 && begin[len - 1] == '\r')
            --len;
        line = std::string_view(begin, len);
        return true;
    }
    bool AtEnd() const { return m_pos >= m_bytes.size(); }

private:
    std::string_view m_bytes;
    size_t m_pos = 0;
};

enum class DppBlock { Configuration, Status, BootFlags };

// The values each block's lines may carry ("Device Type" is handled on its own).
const std::initializer_list<DppValue>& blockValues(DppBlock block) {
    static const std::initializer_list<DppValue> config = {
        DppValue::Rise,       DppValue::FastThreshold, DppValue::SlowThreshold,
        DppValue::CoarseGain, DppValue::FineGain,      DppValue::AcquisitionMode};
    static const std::initializer_list<DppValue> status = {
        DppValue::FastCount,        DppValue::SlowCount,    DppValue::Firmware, DppValue::Fpga,
        DppValue::AccumulationTime, DppValue::SerialNumber, DppValue::HvVolt,   DppValue::TecTemp,
        DppValue::BoardTemp,        DppValue::DeadTime};
    static const std::initializer_list<DppValue> boot = {
        DppValue::BootDeviceMode, DppValue::BootConfigurationState,
        DppValue::Rs232BaudRate,  DppValue::FpgaClock,
        DppValue::HvPolarity,     DppValue::AdcInvert,
        DppValue::SpectrumOffset, DppValue::FastChannelShaping,
        DppValue::McaChannel,     DppValue::PeakDetect};
    switch (block) {
    case DppBlock::Configuration:
        return config;
    case DppBlock::Status:
        return status;
    case DppBlock::BootFlags:
        break;
    }
    return boot;
}

int statusDeviceCode(std::string_view type) {
    if (sameText(type, "Heron"))
        return 1;
    if (sameText(type, "Plover"))
        return 2;
    if (sameText(type, "HERONEMUL"))
        return 3;
    if (sameText(type, "Osprey") || sameText(type, "PLOVEREMUL"))
        return 4;
    return 2;
}

// "name: value" with blanks around either; up to five '_' in the name read as blanks.
void parseDppLine(CSpectrum& s, DppBlock block, std::string_view line) {
    const size_t colon = line.find(':');
    if (colon == std::string_view::npos)
        return;
    std::string_view rawName = Trim(line.substr(0, colon));
    char nameBuf[64];
    if (rawName.size() > sizeof nameBuf)
        return; // longer than any known name
    std::memcpy(nameBuf, rawName.data(), rawName.size());
    int replaced = 0;
    for (size_t i = 0; i < rawName.size() && replaced < 5; ++i) {
        if (nameBuf[i] == '_') {
            nameBuf[i] = ' ';
            ++replaced;
        }
    }
    const std::string_view name(nameBuf, rawName.size());
    const std::string_view value = Trim(line.substr(colon + 1));

    if (block != DppBlock::BootFlags && sameText(name, "Device Type")) {
        s.DppValueText(DppValue::DeviceType).assign(value);
        s.m_nDppDeviceCode = block == DppBlock::Configuration ? (sameText(value, "Heron") ? 1 : 2)
                                                              : statusDeviceCode(value);
        return;
    }
    if (block == DppBlock::BootFlags && sameText(name, "FPGA clock") && sameText(value, "80MHz"))
        s.m_bClock80MHz = 1;
    for (DppValue v : blockValues(block)) {
        if (sameText(name, DppValueName(v))) {
            s.DppValueText(v).assign(value);
            return;
        }
    }
}

class Reader {
public:
    Reader(std::string_view bytes, CSpectrum& s, const SpectrumReadOptions& options)
        : m_lines(bytes), m_s(s), m_options(options) {}

    bool Run();

private:
    bool Next() { return m_lines.Next(m_line); }
    // The value after `prefix` on the current line, then the next line (which must exist).
    bool Field(std::string_view prefix, std::string_view& rest) {
        if (!beginsWith(m_line, prefix))
            return false;
        rest = m_line.substr(prefix.size());
        return true;
    }
    // The file's parts in order; each false when the file is not a spectrum.
    bool Identity(); // marker, tag, description, notes
    bool Scale();    // gain and the optional threshold
    bool Times();    // live mode to serial number
    bool Tables();   // optional calibration and ROIs, then the data
    bool DppBlocks();
    bool Notes(std::string_view prefix, std::string& target);
    bool Calibration();
    bool Rois();
    bool Data();
    // Collects a DPP block after its marker; false when the file ends inside it.
    bool Block(DppBlock block, std::string& text);

    LineCursor m_lines;
    std::string_view m_line;
    CSpectrum& m_s;
    const SpectrumReadOptions& m_options;
};

bool Reader::Notes(std::string_view prefix, std::string& target) {
    while (beginsWith(m_line, prefix)) {
        // Lines are joined only after a non-empty start, so an empty first line is dropped.
        if (!target.empty())
            target += "\r\n";
        target.append(m_line.substr(prefix.size()));
        if (!Next())
            return false;
    }
    return true;
}

bool Reader::Calibration() {
    std::string_view rest;
    if (!Next() || !Field("LABEL - ", rest))
        return false;
    m_s.m_calibrate.SetLabel(std::string(rest));
    for (;;) {
        if (!Next())
            return false;
        if (beginsSection(m_line))
            return true;
        double channel = 0.0, value = 0.0;
        // A line without two finite numbers carries no point.
        if (ScanTwoDoubles(m_line, channel, value) == 2 && std::isfinite(channel) &&
            std::isfinite(value))
            m_s.m_calibrate.AddPoint(channel, value);
    }
}

bool Reader::Rois() {
    const int n = CSpectrum::ChannelsForGain(m_s.m_nGain);
    for (;;) {
        if (!Next())
            return false;
        if (beginsSection(m_line))
            return true;
        int start = 0, end = 0;
        // Only ROIs that lie inside the spectrum and have a width: the statistics index the
        // channel buffer with them.
        if (ScanTwoInts(m_line, start, end) == 2 && start >= 0 && start < end && end <= n - 1)
            m_s.m_roi.Append(start, end);
    }
}

bool Reader::Data() {
    const int n = CSpectrum::ChannelsForGain(m_s.m_nGain);
    m_s.m_nChannels = n;
    if (!m_s.AllocateData(n, m_options.prompt))
        return false;
    double total = 0.0;
    double* data = m_s.m_pData.data();
    for (int i = 0; i < n; ++i) {
        if (!Next() || beginsSection(m_line))
            return false;
        const double v = ParseChannelValue(m_line);
        data[i] = v;
        total += v;
    }
    m_s.m_dTotalCounts = total;
    return true;
}

bool Reader::Block(DppBlock block, std::string& text) {
    for (;;) {
        if (!Next())
            return false;
        if (beginsSection(m_line))
            return true;
        text.append(m_line);
        text += "\r\n";
        parseDppLine(m_s, block, m_line);
    }
}

bool Reader::Run() {
    m_s.m_strGeneralNotes.clear();
    m_s.m_strSystemNotes.clear();
    m_s.m_strOtherNotes.clear();
    m_s.m_calibrate.Reset();
    m_s.m_roi.Clear();
    m_s.ClearDppTexts();
    if (!Identity() || !Scale() || !Times() || !Tables())
        return false;
    std::string fitFailure;
    if (!m_s.m_calibrate.Fit(m_options.calibEquationType, &fitFailure) && m_options.prompt)
        m_options.prompt->message(fitFailure, PromptStyle::Error);
    m_s.m_nDppDeviceCode = 0;
    return DppBlocks();
}

bool Reader::Identity() {
    std::string_view rest;
    if (!Next() || m_line != "<<LUMO SPECTRUM>>" || !Next() || !Field("TAG - ", rest))
        return false;
    m_s.m_strTag.assign(rest);
    if (!IsValidSpectrumTag(rest)) {
        if (m_options.prompt)
            m_options.prompt->message("Invalid Tag!", PromptStyle::Error);
        return false;
    }
    if (!Next() || !Field("DESCRIPTION - ", rest))
        return false;
    m_s.m_strDescription.assign(rest);
    if (!Next())
        return false;
    return Notes("<gen>", m_s.m_strGeneralNotes) && Notes("<sys>", m_s.m_strSystemNotes) &&
           Notes("<not>", m_s.m_strOtherNotes) && !m_line.empty();
}

bool Reader::Scale() {
    std::string_view rest;
    if (!Field("GAIN - ", rest))
        return false;
    std::optional<int> gain = ScanInt(rest);
    if (!gain || *gain < 0 || *gain > 6 || !Next())
        return false;
    m_s.m_nGain = *gain;
    if (Field("THRESHOLD - ", rest)) {
        if (auto v = ScanInt(rest))
            m_s.m_nThreshold = *v;
        return Next();
    }
    m_s.m_nThreshold = 99999;
    return true;
}

// Each field is required, in this order, and another line must follow it. A value that does
// not convert leaves the field as it was.
bool Reader::Times() {
    CSpectrum& s = m_s;
    std::string_view rest;
    if (!Field("LIVE_MODE - ", rest))
        return false;
    if (auto v = ScanInt(rest))
        s.m_nLiveMode = *v;
    if (!Next() || !Field("PRESET_TIME - ", rest))
        return false;
    if (auto v = ScanInt(rest))
        s.m_nPresetTime = *v;
    if (!Next() || !Field("LIVE_TIME - ", rest))
        return false;
    if (auto v = ScanDouble(rest))
        s.m_dLiveTime = *v;
    if (!Next() || !Field("REAL_TIME - ", rest))
        return false;
    if (auto v = ScanDouble(rest))
        s.m_dRealTime = *v;
    if (!Next() || !Field("START_TIME - ", rest))
        return false;
    s.SetStartTime(std::string(rest));
    if (!Next() || !Field("SERIAL_NUMBER - ", rest))
        return false;
    if (auto v = ScanInt(rest))
        s.m_nSerialNumber = *v;
    return Next();
}

bool Reader::Tables() {
    if (m_line == "<<CALIBRATION>>" && !Calibration())
        return false;
    if (m_line == "<<ROI>>" && !Rois())
        return false;
    return m_line == "<<DATA>>" && Data();
}

// Everything after the data is optional: a file that ends there, or goes on with anything but
// "<<END>>", is complete.
bool Reader::DppBlocks() {
    CSpectrum& s = m_s;
    if (!Next() || m_line != "<<END>>" || m_lines.AtEnd())
        return true;
    Next();
    if (Trim(m_line) == "<<DPP CONFIGURATION>>" &&
        !Block(DppBlock::Configuration, s.m_strDppConfig))
        return false;
    if (!Next())
        return true;
    if (Trim(m_line) == "<<DPP STATUS>>" && !Block(DppBlock::Status, s.m_strDppStatus))
        return false;
    if (!Next())
        return true;
    if (Trim(m_line) == "<<OSPREY BOOT FLAGS>>") {
        s.m_bClock80MHz = 0;
        if (!Block(DppBlock::BootFlags, s.m_strBootFlags))
            s.m_strBootFlags.clear(); // an unfinished boot flags block is dropped, not fatal
    }
    return true;
}

} // namespace

double ParseChannelValue(std::string_view line) {
    const char* p = line.data();
    const char* const e = p + line.size();
    while (p < e && IsSpace(*p))
        ++p;
    // The writer's form, a plain unsigned integer, converts exactly without the general parser.
    const char* q = p;
    uint64_t whole = 0;
    while (q < e && isDigit(*q) && q - p < 18) {
        whole = whole * 10 + static_cast<uint64_t>(*q - '0');
        ++q;
    }
    if (q > p && (q == e || !(isDigit(*q) || *q == '.' || *q == 'e' || *q == 'E')))
        return static_cast<double>(whole);

    // from_chars takes no '+'; a sign is followed directly by the number.
    const char* number = p;
    const char* first = p;
    if (p < e && *p == '+')
        number = first = p + 1;
    else if (p < e && *p == '-')
        first = p + 1;
    if (first == e || !(isDigit(*first) || *first == '.'))
        return 0.0; // no decimal number here ("inf", "nan" and hexadecimal are not data)
    double value = 0.0;
    auto res = std::from_chars(number, e, value, std::chars_format::general);
    if (res.ec == std::errc())
        return value;
    if (res.ec == std::errc::result_out_of_range) {
        // Overflow and underflow as the C library gives them (±HUGE_VAL, 0 or a denormal).
        if (auto v = ScanDouble(std::string_view(number, static_cast<size_t>(e - number))))
            return *v;
    }
    return 0.0;
}

bool ReadSpectrum(std::string_view bytes, CSpectrum& spectrum, const SpectrumReadOptions& options) {
    Reader reader(bytes, spectrum, options);
    if (reader.Run())
        return true;
    spectrum.FreeData();
    return false;
}

// Tags name spectra in expressions, so they must look like identifiers.
bool IsValidSpectrumTag(std::string_view tag) {
    if (tag.empty() || !(isAsciiLetter(tag.front()) || tag.front() == '_'))
        return false;
    for (char c : tag)
        if (!(isAsciiLetter(c) || isDigit(c) || c == '_'))
            return false;
    return true;
}

} // namespace vorna
