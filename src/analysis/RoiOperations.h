#pragma once
// Editing and selecting the ROIs of one spectrum, with the plot and info-pane refreshes each
// change asks for.

#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

class CSpectrum;

// The spectrum an operation works on, and where it stands in the program.
struct RoiContext {
    CSpectrum& spectrum;
    const SpectrumEnvironment& env;
    bool isActive; // the spectrum is the active one (only that one is drawn with its ROIs)
};

// Adds sorted and computes the new ROI's statistics (no smoothing). Returns the index, or -1
// when start >= end.
int AddRoi(const RoiContext& ctx, int start, int end);
// Ignored when the index is out of range.
void DeleteRoi(const RoiContext& ctx, int index);
// Nothing happens when the ROI already has that range; otherwise it is deleted and the new
// range added (which may land at another index). Returns the new index, or -1.
int ModifyRoi(const RoiContext& ctx, int index, int start, int end);
// Selects the first ROI holding the channel under display position x (absolute scale), or
// none. Returns the new selection.
int SelectRoiAt(const RoiContext& ctx, double x);
// Next / previous ROI, starting from the plot cursor when nothing is selected. Return 0 when
// there is no such ROI (selection unchanged), else 1.
int SelectNextRoi(const RoiContext& ctx);
int SelectPreviousRoi(const RoiContext& ctx);
// The ROI menu's Clear.
void ClearRois(const RoiContext& ctx);
// Repaints the plot columns of one ROI.
void RedrawRoi(const RoiContext& ctx, int index);

} // namespace vorna
