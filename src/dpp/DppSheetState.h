#pragma once
// What the six pages of the DPP property sheet share: how many modified pages still have to
// apply (the last one sends and saves the configuration once), which pages refill from the
// device image, the General page's pending note, and the flags tuning leaves for the next
// opening of the sheet.

#include <array>
#include <cstdint>
#include <string>

namespace vorna {

enum class DppPage : int {
    General = 0,
    Mca = 1,
    Shaping = 2,
    GainPoleZero = 3,
    Power = 4,
    Misc = 5
};
constexpr int kDppPageCount = 6;

struct DppSheetState {
    int pendingApplyCount = 0;
    std::array<bool, kDppPageCount> reload{};
    bool generalMessagePending = false;
    std::string generalMessage;
    // Input offset retune after the apply, and the Gain & Pole Zero page first next time.
    bool offsetRetune = false;
    bool fastThresholdTuned = false;
    bool slowThresholdTuned = false;
    // The oscilloscope reloads its controls after an apply.
    bool scopeControlsStale = false;

    void MarkAllForReload() { reload.fill(true); }
    // True once per page after a reload was asked for.
    bool TakeReload(DppPage page);
};

struct DppFirstPage {
    DppPage page = DppPage::General;
    int pauseMs = 0;              // before the sheet shows
    bool readInputOffset = false; // read the device's configuration for its input offset
};
// Chooses the page the sheet opens on and clears the tuning flag that chose it.
DppFirstPage ChooseFirstPage(DppSheetState& state);

// A page's edit: the first one counts the page among those to apply.
void MarkPageModified(DppSheetState& state, bool& pageModified);

// The end of one page's apply. True when this was the last modified page: the configuration
// goes out (or the device connects) and DPP.CFG is saved now, once for the whole sheet.
bool FinishPageApply(DppSheetState& state);

// After the last page applied: the input offset retune the Gain & Pole Zero page asked for
// (Plover class; firmware 5.00 on with input offset 0 picks its own default).
bool InputOffsetRetuneDue(const DppSheetState& state, int deviceType, uint8_t firmwareByte,
                          int inputOffset);

} // namespace vorna
