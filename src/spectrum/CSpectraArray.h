#pragma once
// Up to twenty non-owning spectrum pointers; removal shifts later entries down.

#include <cstddef>
#include <vector>

namespace vorna {

class CSpectrum;

class CSpectraArray {
public:
    static constexpr int kCapacity = 20;

    virtual ~CSpectraArray() = default;

    // False (nothing added) when the array is full.
    bool Add(CSpectrum* s);
    // Removes the first occurrence; false when absent.
    bool Remove(const CSpectrum* s);
    void RemoveAt(int index);
    int Find(const CSpectrum* s) const;
    void RemoveAll() { m_items.clear(); }

    int GetCount() const { return static_cast<int>(m_items.size()); }
    bool IsFull() const { return GetCount() >= kCapacity; }
    CSpectrum* operator[](int i) const { return m_items[static_cast<std::size_t>(i)]; }
    CSpectrum* At(int i) const {
        return i >= 0 && i < GetCount() ? m_items[static_cast<std::size_t>(i)] : nullptr;
    }

protected:
    std::vector<CSpectrum*> m_items;
};

} // namespace vorna
