#include "spectrum/CSpectraList.h"

#include <strings.h>

#include "common/NumberText.h"
#include "common/UserPrompt.h"

namespace vorna {
namespace {

bool sameTag(const std::string& a, const std::string& b) {
    return a.size() == b.size() && strcasecmp(a.c_str(), b.c_str()) == 0;
}

} // namespace

CSpectraList::~CSpectraList() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    // Last first, so that derived spectra let go of their operands before those go.
    while (!m_items.empty())
        m_items.pop_back();
}

int CSpectraList::GetCount() const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return static_cast<int>(m_items.size());
}

CSpectrum* CSpectraList::At(int position) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    return position >= 0 && position < static_cast<int>(m_items.size())
               ? m_items[static_cast<size_t>(position)].get()
               : nullptr;
}

int CSpectraList::Find(const CSpectrum* s) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (size_t i = 0; i < m_items.size(); ++i)
        if (m_items[i].get() == s)
            return static_cast<int>(i);
    return -1;
}

void CSpectraList::Message(const std::string& text) const {
    if (m_env.prompt)
        m_env.prompt->message(text);
}

PromptAnswer CSpectraList::Ask(const std::string& text, bool withCancel) const {
    if (!m_env.prompt)
        return withCancel ? PromptAnswer::Cancel : PromptAnswer::No;
    return m_env.prompt->question(text, withCancel);
}

std::string CSpectraList::UniqueTag(const std::string& wanted) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    std::string tag = wanted.empty() ? "Default" : wanted;
    bool changed = true;
    while (changed) {
        changed = false;
        for (const auto& s : m_items) {
            if (sameTag(s->m_strTag, tag)) {
                char last = tag.back();
                if (last >= '1' && last <= '8')
                    tag.back() = static_cast<char>(last + 1);
                else
                    tag += "_1";
                changed = true;
                break; // compare again from the first entry
            }
        }
    }
    return tag;
}

CSpectrum* CSpectraList::Add(std::unique_ptr<CSpectrum>& spectrum, bool activate) {
    if (!spectrum)
        return nullptr;
    if (IsFull()) {
        Message(kSpectraListFullMessage);
        return nullptr;
    }
    CSpectrum* s = spectrum.get();
    s->m_strTag = UniqueTag(s->m_strTag);
    const int n = CSpectrum::ChannelsForGain(s->m_nGain);
    if (s->HasData() && static_cast<int>(s->m_pData.size()) == n) {
        s->m_bValid = 1;
    } else {
        if (!s->AllocateData(n, m_env.prompt))
            return nullptr;
        s->m_bValid = 0;
    }
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        s->m_nChannels = n;
        s->m_bDisplayValid = 0;
        // Whoever built the spectrum may have set its contour after construction.
        s->RemakePen();
        m_items.push_back(std::move(spectrum));
        if (s->m_bDerived) {
            s->RequestEvaluation(m_env);
        } else if (s->m_bValid) {
            s->RequestDisplayUpdate(m_env);
            s->UpdateTotals(m_env, m_active);
        }
    }
    if (activate) {
        Activate(GetCount() - 1);
        if (m_env.display)
            m_env.display->ResetPlotToFullRange();
    }
    if (m_env.display)
        m_env.display->RefreshSpectraListWindow();
    return s;
}

void CSpectraList::Activate(int position) {
    CSpectrum* s = nullptr;
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        if (position == m_active || position < 0 || position >= GetCount())
            return;
        m_active = position;
        m_pActive = m_items[static_cast<size_t>(position)].get();
        s = m_pActive;
    }
    if (m_env.display) {
        // Select the ROI under the plot cursor in the newly active spectrum.
        const int cursor = m_env.display->CursorChannelAbsolute();
        {
            auto locked = s->Lock();
            locked->m_roi.SetSelected(locked->m_roi.Find(locked->FromAbsoluteChannel(cursor)));
        }
        m_env.display->SpectrumActivated(*s);
        m_env.display->RedrawPlot();
        m_env.display->RefreshInfoPane();
    }
}

bool CSpectraList::Remove(CSpectrum* spectrum) {
    {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        int position = Find(spectrum);
        if (position < 0)
            return false;
        if (spectrum == m_pActive) {
            Message("Can not delete active spectrum!");
            return false;
        }
        std::unique_ptr<CSpectrum> gone = std::move(m_items[static_cast<size_t>(position)]);
        m_items.erase(m_items.begin() + position);
        if (position < m_active)
            --m_active;
    }
    if (m_env.display)
        m_env.display->RefreshSpectraListWindow();
    return true;
}

int CSpectraList::Close(CSpectrum* spectrum) {
    if (!spectrum || Find(spectrum) < 0)
        return 0;
    if (spectrum == GetActive()) {
        Message("The active spectrum can't be closed!");
        return 0;
    }
    if (Find(spectrum) == 0) {
        Message("The acquisition spectrum (live_data) can't be closed!");
        return 0;
    }
    if (spectrum->m_bDerived) {
        // The update worker reads these links while it evaluates under the list lock.
        auto guard = Lock();
        for (int i = 0; i < spectrum->m_linked.GetCount(); ++i)
            spectrum->m_linked[i]->m_linked.Remove(spectrum);
        spectrum->m_linked.RemoveAll();
        return Remove(spectrum) ? 1 : 0;
    }
    if (spectrum->m_linked.GetCount() > 0) {
        PromptAnswer answer = Ask(Format("Expressions that depend on %s will be closed. Do you "
                                         "want to save them?",
                                         spectrum->m_strTag.c_str()),
                                  true);
        if (answer == PromptAnswer::Cancel)
            return 0;
        while (spectrum->m_linked.GetCount() > 0) {
            CSpectrum* dependent = spectrum->m_linked[0];
            if (answer == PromptAnswer::Yes) {
                PromptAnswer save = Ask(Format("Save %s?", dependent->m_strTag.c_str()), true);
                if (save == PromptAnswer::Cancel)
                    return 0;
                if (save == PromptAnswer::Yes && m_saveAs)
                    m_saveAs(*dependent);
            }
            if (Close(dependent) == 0)
                return 0;
        }
    }
    return Remove(spectrum) ? 1 : 0;
}

void CSpectraList::CloseAll(bool ask) {
    if (GetCount() < 2) {
        // The MCS start needs the live spectrum active even when nothing else is open.
        if (!ask)
            Activate(0);
        return;
    }
    if (ask && Ask("This action will close all spectrum files.  Any derived or\n modified spectrum "
                   "should be saved prior to this action.\n\nClose all spectrum files? ",
                   false) != PromptAnswer::Yes)
        return;
    const int before = GetCount();
    Activate(0);
    for (int position = GetCount() - 1; position >= 1; --position) {
        CSpectrum* s = At(position);
        if (!s)
            continue;
        if (Close(s) == 0)
            break;
    }
    if (GetCount() != before && m_env.display)
        m_env.display->RedrawPlot();
}

void CSpectraList::ToggleHidden(int position) {
    CSpectrum* s = At(position);
    if (!s)
        return;
    {
        auto locked = s->Lock();
        locked->m_bHidden = locked->m_bHidden ? 0 : 1;
    }
    if (m_env.display) {
        m_env.display->RedrawPlot();
        m_env.display->RefreshSpectraListWindow();
    }
}

void CSpectraList::RequestDisplayUpdateAll() {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (const auto& s : m_items)
        s->RequestDisplayUpdate(m_env);
}

CSpectrum* CSpectraList::FindTag(const std::string& tag) const {
    std::lock_guard<std::recursive_mutex> guard(m_lock);
    for (const auto& s : m_items)
        if (sameTag(s->m_strTag, tag))
            return s.get();
    return nullptr;
}

} // namespace vorna
