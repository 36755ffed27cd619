#include "spectrum/SpectrumWriter.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <string_view>

#include "common/NumberText.h"
#include "spectrum/CSpectrum.h"
#include "spectrum/SpectrumEnvironment.h"

namespace vorna {
namespace {

constexpr std::string_view kCrLf = "\r\n";

void appendLine(std::string& out, std::string_view text) {
    out.append(text);
    out.append(kCrLf);
}

// Notes are stored one line per file line, each ending LF alone. The text joins its lines
// with CR LF; a lone CR or LF (pasted text) also ends a line, so no part of the text is lost
// and no line escapes its prefix. Empty lines before the first and after the last text line are
// not written: a reader drops them anyway, and writing them would make a file that reads back
// and saves to different bytes.
void appendNotes(std::string& out, std::string_view prefix, std::string_view notes) {
    std::vector<std::string_view> lines;
    size_t pos = 0;
    while (pos < notes.size()) {
        size_t brk = notes.find_first_of("\r\n", pos);
        size_t end = brk == std::string_view::npos ? notes.size() : brk;
        lines.push_back(notes.substr(pos, end - pos));
        if (brk == std::string_view::npos)
            break;
        pos = brk + 1;
        if (notes[brk] == '\r' && pos < notes.size() && notes[pos] == '\n')
            ++pos;
    }
    size_t first = 0, last = lines.size();
    while (first < last && lines[first].empty())
        ++first;
    while (last > first && lines[last - 1].empty())
        --last;
    for (size_t i = first; i < last; ++i) {
        out.append(prefix);
        out.append(lines[i]);
        out.push_back('\n');
    }
}

void appendBlock(std::string& out, std::string_view begin, std::string_view body,
                 std::string_view end) {
    appendLine(out, begin);
    out.append(body);
    appendLine(out, end);
}

// Clamped to 0..4294967295 and rounded half up; NaN counts as 0.
inline uint32_t storedCount(double value) {
    if (!(value > 0.0))
        return 0;
    if (value >= 4294967295.0)
        return 4294967295U;
    // value + 0.5 is positive here, so truncation is the floor.
    return static_cast<uint32_t>(value + 0.5);
}

} // namespace

unsigned long long StoredChannelValue(double value) {
    return storedCount(value);
}

void WriteSpectrum(CSpectrum& s, const SpectrumWriteOptions& options, std::string& out) {
    const bool dppSelected = options.dppDeviceType > 0;
    // A reader takes exactly 256 << gain data lines, whatever the buffer holds.
    const size_t channels = s.m_nGain >= 0 && s.m_nGain <= 6
                                ? static_cast<size_t>(CSpectrum::ChannelsForGain(s.m_nGain))
                                : s.m_pData.size();
    const size_t stored = std::min(channels, s.m_pData.size());
    out.reserve(out.size() + 512 + s.m_strGeneralNotes.size() + s.m_strSystemNotes.size() +
                s.m_strOtherNotes.size() + 32 * static_cast<size_t>(s.m_calibrate.GetCount()) +
                24 * static_cast<size_t>(s.m_roi.GetCount()) + 12 * channels +
                s.m_strDppConfig.size() + s.m_strDppStatus.size() + s.m_strBootFlags.size());

    appendLine(out, "<<LUMO SPECTRUM>>");
    out.append("TAG - ").append(s.m_strTag).append(kCrLf);
    out.append("DESCRIPTION - ").append(s.m_strDescription).append(kCrLf);
    appendNotes(out, "<gen>", s.m_strGeneralNotes);
    appendNotes(out, "<sys>", s.m_strSystemNotes);
    appendNotes(out, "<not>", s.m_strOtherNotes);

    out.append(Format("GAIN - %i\r\n", s.m_nGain));
    out.append(Format("THRESHOLD - %i\r\n", s.m_nThreshold));
    out.append(Format("LIVE_MODE - %i\r\n", s.m_nLiveMode));
    out.append(Format("PRESET_TIME - %i\r\n", s.m_nPresetTime));
    out.append(Format("LIVE_TIME - %lf\r\n", s.m_dLiveTime));
    out.append(Format("REAL_TIME - %lf\r\n", s.m_dRealTime));
    out.append("START_TIME - ").append(s.m_szStartTime).append(kCrLf);
    // Only the live spectrum was acquired by the connected device; a spectrum read from a file
    // keeps the serial number that matches its own stored status block.
    if (dppSelected && options.liveBlocks && options.dpp)
        s.m_nSerialNumber = options.dpp->SerialNumber();
    out.append(Format("SERIAL_NUMBER - %i\r\n", s.m_nSerialNumber));

    if (s.m_calibrate.GetCount() > 0) {
        appendLine(out, "<<CALIBRATION>>");
        out.append("LABEL - ").append(s.m_calibrate.Label()).append(kCrLf);
        for (const CCalibrateEntry& p : s.m_calibrate.Points())
            out.append(Format("%lg %lg\r\n", p.channel, p.value));
    }
    if (!s.m_roi.IsEmpty()) {
        appendLine(out, "<<ROI>>");
        for (const CRoiEntry& r : s.m_roi.Entries())
            out.append(Format("%i %i\r\n", r.start, r.end));
    }

    appendLine(out, "<<DATA>>");
    // The bulk of a 16384-channel file: digits go straight into the grown buffer, at most
    // ten digits and CR LF per channel, and the buffer is cut back to what was written.
    const size_t base = out.size();
    out.resize(base + 12 * channels);
    char* p = out.data() + base;
    auto put = [&p](double value) {
        p = std::to_chars(p, p + 10, storedCount(value)).ptr;
        *p++ = '\r';
        *p++ = '\n';
    };
    for (size_t i = 0; i < stored; ++i)
        put(s.m_pData[i]);
    for (size_t i = stored; i < channels; ++i)
        put(0.0);
    out.resize(static_cast<size_t>(p - out.data()));
    appendLine(out, "<<END>>");

    if (!dppSelected)
        return;
    const bool osprey = options.dppDeviceType == 4;
    if (options.liveBlocks) {
        std::string config, status, boot;
        if (options.dpp) {
            config = options.dpp->ConfigurationBlock();
            status = options.dpp->StatusBlock();
            if (osprey)
                boot = options.dpp->BootFlagsBlock();
        }
        appendBlock(out, "<<DPP CONFIGURATION>>", config, "<<DPP CONFIGURATION END>>");
        appendBlock(out, "<<DPP STATUS>>", status, "<<DPP STATUS END>>");
        if (osprey)
            appendBlock(out, "<<OSPREY BOOT FLAGS>>", boot, "<<OSPREY BOOT FLAGS END>>");
        return;
    }
    appendBlock(out, "<<DPP CONFIGURATION>>", s.m_strDppConfig, "<<DPP CONFIGURATION END>>");
    appendBlock(out, "<<DPP STATUS>>", s.m_strDppStatus, "<<DPP STATUS END>>");
    if (osprey)
        appendBlock(out, "<<OSPREY BOOT FLAGS>>", s.m_strBootFlags, "<<OSPREY BOOT FLAGS END>>");
}

} // namespace vorna
