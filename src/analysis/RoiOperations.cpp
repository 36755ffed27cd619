#include "analysis/RoiOperations.h"

#include <mutex>
#include <optional>

#include "analysis/RoiStatistics.h"
#include "spectrum/CSpectrum.h"

namespace vorna {

namespace {

struct AbsoluteRange {
    int first, lastExclusive;
};

// Taken under the spectrum's lock; the sink is called after it is released.
std::optional<AbsoluteRange> roiRange(const CSpectrum& s, int index) {
    if (index < 0 || index >= s.m_roi.GetCount())
        return std::nullopt;
    const CRoiEntry& roi = s.m_roi[index];
    return AbsoluteRange{s.ToAbsoluteChannel(roi.start), s.ToAbsoluteChannel(roi.end + 1)};
}

void redraw(const RoiContext& ctx, const std::optional<AbsoluteRange>& range) {
    if (range && ctx.env.display)
        ctx.env.display->RedrawAbsoluteRange(range->first, range->lastExclusive);
}

void refreshInfo(const RoiContext& ctx) {
    if (ctx.env.display)
        ctx.env.display->RefreshInfoPane();
}

int changeSelection(const RoiContext& ctx, int next) {
    std::optional<AbsoluteRange> oldRange, newRange;
    {
        auto locked = ctx.spectrum.Lock();
        CRoi& rois = locked->m_roi;
        oldRange = roiRange(*locked, rois.GetSelected());
        rois.SetSelected(next);
        newRange = roiRange(*locked, next);
    }
    redraw(ctx, oldRange);
    redraw(ctx, newRange);
    return 1;
}

int cursorChannel(const RoiContext& ctx) {
    int absolute = ctx.env.display ? ctx.env.display->CursorChannelAbsolute() : 0;
    return ctx.spectrum.FromAbsoluteChannel(absolute);
}

} // namespace

int AddRoi(const RoiContext& ctx, int start, int end) {
    int index;
    std::optional<AbsoluteRange> range;
    {
        auto locked = ctx.spectrum.Lock();
        CSpectrum& s = *locked;
        index = s.m_roi.AddSorted(start, end);
        if (index < 0)
            return -1;
        ComputeRoiStatistics(s.m_roi[index], s.m_pData.data(), static_cast<int>(s.m_pData.size()),
                             ctx.env.settings);
        range = roiRange(s, index);
    }
    if (ctx.isActive && ctx.env.settings.showAllRoi)
        redraw(ctx, range);
    return index;
}

void DeleteRoi(const RoiContext& ctx, int index) {
    std::optional<AbsoluteRange> range;
    bool wasSelected;
    {
        auto locked = ctx.spectrum.Lock();
        CRoi& rois = locked->m_roi;
        if (index < 0 || index >= rois.GetCount())
            return;
        wasSelected = index == rois.GetSelected();
        range = roiRange(*locked, index);
        rois.Delete(index);
    }
    const AnalysisSettings& st = ctx.env.settings;
    if ((ctx.isActive && st.showAllRoi) || (st.showRoi && wasSelected))
        redraw(ctx, range);
    if (wasSelected)
        refreshInfo(ctx);
}

int ModifyRoi(const RoiContext& ctx, int index, int start, int end) {
    {
        auto locked = ctx.spectrum.Lock();
        const CRoi& rois = locked->m_roi;
        if (index < 0 || index >= rois.GetCount())
            return -1;
        if (rois[index].start == start && rois[index].end == end)
            return index;
    }
    DeleteRoi(ctx, index);
    return AddRoi(ctx, start, end);
}

int SelectRoiAt(const RoiContext& ctx, double x) {
    int old, next;
    {
        auto locked = ctx.spectrum.Lock();
        old = locked->m_roi.GetSelected();
        next = locked->m_roi.Find(locked->SnapToChannel(x));
    }
    if (next != old) {
        if (ctx.isActive && ctx.env.settings.showRoi) {
            changeSelection(ctx, next);
        } else {
            auto locked = ctx.spectrum.Lock();
            locked->m_roi.SetSelected(next);
        }
    }
    refreshInfo(ctx);
    return next;
}

int SelectNextRoi(const RoiContext& ctx) {
    const int cursor = cursorChannel(ctx);
    int next = -1;
    {
        auto locked = ctx.spectrum.Lock();
        const CRoi& rois = locked->m_roi;
        int selected = rois.GetSelected();
        if (selected < 0) {
            for (int i = 0; i < rois.GetCount() && next < 0; ++i)
                if (rois[i].start > cursor)
                    next = i;
        } else if (selected + 1 < rois.GetCount()) {
            next = selected + 1;
        }
    }
    return next < 0 ? 0 : changeSelection(ctx, next);
}

int SelectPreviousRoi(const RoiContext& ctx) {
    const int cursor = cursorChannel(ctx);
    int previous = -1;
    {
        auto locked = ctx.spectrum.Lock();
        const CRoi& rois = locked->m_roi;
        int selected = rois.GetSelected();
        if (selected < 0) {
            for (int i = rois.GetCount() - 1; i >= 0 && previous < 0; --i)
                if (rois[i].end < cursor)
                    previous = i;
        } else if (selected > 0) {
            previous = selected - 1;
        }
    }
    return previous < 0 ? 0 : changeSelection(ctx, previous);
}

void ClearRois(const RoiContext& ctx) {
    {
        auto locked = ctx.spectrum.Lock();
        locked->m_roi.Clear();
    }
    const AnalysisSettings& st = ctx.env.settings;
    if ((st.showRoi || st.showAllRoi) && ctx.env.display)
        ctx.env.display->RedrawPlot();
}

void RedrawRoi(const RoiContext& ctx, int index) {
    std::optional<AbsoluteRange> range;
    {
        auto locked = ctx.spectrum.Lock();
        range = roiRange(*locked, index);
    }
    redraw(ctx, range);
}

} // namespace vorna
