#include "dpp/DppSheetState.h"

#include "dpp/DppTypes.h"

namespace vorna {

bool DppSheetState::TakeReload(DppPage page) {
    bool& flag = reload[static_cast<size_t>(page)];
    const bool was = flag;
    flag = false;
    return was;
}

DppFirstPage ChooseFirstPage(DppSheetState& state) {
    DppFirstPage first;
    if (state.generalMessagePending) {
        first.page = DppPage::General;
    } else if (state.offsetRetune) {
        state.offsetRetune = false;
        first.page = DppPage::GainPoleZero;
        first.pauseMs = 500;
        first.readInputOffset = true;
    } else if (state.fastThresholdTuned) {
        state.fastThresholdTuned = false;
        first.page = DppPage::Shaping;
    } else if (state.slowThresholdTuned) {
        state.slowThresholdTuned = false;
        first.page = DppPage::Mca;
        first.pauseMs = 200;
    }
    return first;
}

void MarkPageModified(DppSheetState& state, bool& pageModified) {
    if (!pageModified)
        ++state.pendingApplyCount;
    pageModified = true;
}

bool FinishPageApply(DppSheetState& state) {
    if (state.pendingApplyCount > 1) {
        --state.pendingApplyCount;
        return false;
    }
    state.pendingApplyCount = 0;
    state.scopeControlsStale = true;
    return true;
}

bool InputOffsetRetuneDue(const DppSheetState& state, int deviceType, uint8_t firmwareByte,
                          int inputOffset) {
    if (state.pendingApplyCount != 0 || !state.offsetRetune || !IsPloverClass(deviceType))
        return false;
    return !(firmwareByte >= kOspreyFirmwareByte && inputOffset == 0);
}

} // namespace vorna
