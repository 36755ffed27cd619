#pragma once
// The first twelve members of a spectrum, copied as one block (slot defaults, Define New
// Spectrum, Revert).

#include <cstdint>
#include <string>

namespace vorna {

struct SpectrumHeader {
    int32_t m_nGain = 2; // channel-count code 0..6: 256 << m_nGain channels
    std::string m_strFileName;
    std::string m_strTag;
    std::string m_strDescription;
    std::string m_strGeneralNotes; // lines joined by CR LF
    std::string m_strOtherNotes;
    std::string m_strSystemNotes;
    std::string m_strExpression;
    int32_t m_nLineWidth = 1;
    uint32_t m_crColor = 0; // 0x00BBGGRR
    int32_t m_bDerived = 0;
    int32_t m_bPrintNotes = 1;
};

// Colour in the 0x00BBGGRR layout used by files and the profile.
constexpr uint32_t MakeRgb(unsigned r, unsigned g, unsigned b) {
    return (r & 0xFFu) | ((g & 0xFFu) << 8) | ((b & 0xFFu) << 16);
}

} // namespace vorna
