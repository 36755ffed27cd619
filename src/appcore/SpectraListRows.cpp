#include "appcore/SpectraListRows.h"

#include <algorithm>
#include <mutex>

#include "spectrum/CSpectraList.h"

namespace vorna {

namespace {
constexpr double kWidthFactor = 20.0;
constexpr double kHeightFactor = 1.0;
constexpr int kTagIndent = 8;
} // namespace

std::vector<SpectraListRow> SpectraListRows(const CSpectraList& list) {
    auto listGuard = list.Lock();
    std::vector<SpectraListRow> rows;
    const CSpectrum* active = list.GetActive();
    for (int i = 0; i < list.GetCount(); ++i) {
        const CSpectrum* s = list[i];
        auto guard = s->Lock();
        SpectraListRow row;
        row.tag = s->m_strTag;
        row.hidden = s->m_bHidden != 0;
        // The active letter wins over the hidden one: an active spectrum is always drawn.
        row.firstLetter = s == active ? "A" : (row.hidden ? "H" : "");
        row.secondLetter = s->m_bDerived ? "E" : "";
        row.color = s->m_pPen.color;
        row.lineWidth = s->m_pPen.width;
        rows.push_back(std::move(row));
    }
    return rows;
}

SpectraListGeometry SpectraListLayout(int cw, int ch, int rows) {
    SpectraListGeometry g;
    g.rowHeight = static_cast<int>(ch * kHeightFactor);
    g.width = static_cast<int>(cw * kWidthFactor);
    g.height = static_cast<int>(ch * kHeightFactor * rows);
    g.tagX = kTagIndent * cw;
    g.firstLetterX = cw / 2;
    g.secondLetterX = cw / 2 + cw;
    g.lineFromX = 4 * cw;
    g.lineToX = 6 * cw;
    return g;
}

int SpectraListRowAt(int y, int ch, int rows) {
    if (rows <= 0 || ch <= 0)
        return -1;
    const int row = static_cast<int>(y / (ch * kHeightFactor));
    return std::clamp(row, 0, rows - 1);
}

} // namespace vorna
