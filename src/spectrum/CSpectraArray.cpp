#include "spectrum/CSpectraArray.h"

namespace vorna {

bool CSpectraArray::Add(CSpectrum* s) {
    if (IsFull())
        return false;
    m_items.push_back(s);
    return true;
}

bool CSpectraArray::Remove(const CSpectrum* s) {
    int i = Find(s);
    if (i < 0)
        return false;
    RemoveAt(i);
    return true;
}

void CSpectraArray::RemoveAt(int index) {
    if (index >= 0 && index < GetCount())
        m_items.erase(m_items.begin() + index);
}

int CSpectraArray::Find(const CSpectrum* s) const {
    for (std::size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i] == s)
            return static_cast<int>(i);
    return -1;
}

} // namespace vorna
