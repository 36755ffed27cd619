#pragma once
// The ROI list of one spectrum. Statistics that fill the result fields live in RoiStatistics.

#include <string>
#include <vector>

namespace vorna {

// Status codes keep the numbers stored and shown by the program.
enum class RoiStatus : int { Invalid = 0, Bad = 1, Marginal = 2, Good = 3 };

struct CRoiEntry {
    int start = 0;
    int end = 0;
    double grossArea = 0.0;
    double netArea = 0.0;
    double centroid = 0.0;
    double uncertainty = 0.0; // percent of the net area
    double fwhm = 0.0;        // channels
    double halfMaximum = 0.0;
    double leftPosition = 0.0;  // channel where the rising edge crosses the half maximum
    double rightPosition = 0.0; // left position + FWHM
    RoiStatus status = RoiStatus::Invalid;

    CRoiEntry() = default;
    CRoiEntry(int s, int e) : start(s), end(e) {}
};

const char* RoiStatusText(RoiStatus status);

class CRoi {
public:
    // Inserts before the first entry whose start is greater, so equal starts keep insertion
    // order. Returns the index, or -1 when start >= end (nothing changes).
    int AddSorted(int start, int end);
    // Appends without ordering (the file reader keeps file order).
    void Append(int start, int end);
    void Delete(int index);
    // First ROI with start <= channel <= end, or -1.
    int Find(int channel) const;
    void Clear();

    int GetCount() const { return static_cast<int>(m_entries.size()); }
    bool IsEmpty() const { return m_entries.empty(); }
    CRoiEntry& operator[](int i) { return m_entries[static_cast<size_t>(i)]; }
    const CRoiEntry& operator[](int i) const { return m_entries[static_cast<size_t>(i)]; }
    const std::vector<CRoiEntry>& Entries() const { return m_entries; }

    int GetSelected() const { return m_selected; }
    void SetSelected(int index) { m_selected = index; }

private:
    std::vector<CRoiEntry> m_entries;
    int m_selected = -1;
};

} // namespace vorna
