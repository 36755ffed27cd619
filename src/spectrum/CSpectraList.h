#pragma once
// The one list of open spectra: owns them, knows the active one, and enforces the rules for
// adding, activating, hiding and closing, including derived spectra's dependencies.

#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "common/UserPrompt.h"
#include "spectrum/CSpectraArray.h"
#include "spectrum/CSpectrum.h"
#include "spectrum/SpectrumEnvironment.h"

namespace vorna {

// Shown to whoever tries to open a twenty-first spectrum.
inline constexpr const char* kSpectraListFullMessage =
    "Can not open more than 20 spectra. Close a spectrum and try again.";

// Threads: every public operation takes the list lock itself. A worker that walks the list holds
// Lock() for the walk and takes one spectrum's lock at a time (ForEachLocked does both), never
// two spectrum locks at once.
class CSpectraList {
public:
    static constexpr int kCapacity = CSpectraArray::kCapacity;

    explicit CSpectraList(SpectrumEnvironment& env) : m_env(env) {}
    ~CSpectraList();
    CSpectraList(const CSpectraList&) = delete;
    CSpectraList& operator=(const CSpectraList&) = delete;

    // Takes ownership and returns the spectrum as it now stands in the list. When the list is
    // full the spectrum is not taken: the refusal is shown through the prompt (when there is
    // one), `spectrum` is left untouched and nullptr is returned.
    CSpectrum* Add(std::unique_ptr<CSpectrum>& spectrum, bool activate);
    CSpectrum* Add(std::unique_ptr<CSpectrum>&& spectrum, bool activate) {
        return Add(spectrum, activate);
    }
    // The unique tag Add would give `tag` now.
    std::string UniqueTag(const std::string& tag) const;

    void Activate(int position);
    // The low-level removal: refused (with its message) for the active spectrum.
    bool Remove(CSpectrum* spectrum);
    // 1 closed, 0 not closed.
    int Close(CSpectrum* spectrum);
    // The File menu's Close All: asks first unless `ask` is false (the MCS start).
    void CloseAll(bool ask = true);
    // The spectra list window's Hide/Show.
    void ToggleHidden(int position);
    void RequestDisplayUpdateAll();

    int GetActivePosition() const {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        return m_active;
    }
    CSpectrum* GetActive() const {
        std::lock_guard<std::recursive_mutex> guard(m_lock);
        return m_pActive;
    }
    int PositionOf(const CSpectrum* s) const { return Find(s); }
    CSpectrum* FindTag(const std::string& tag) const; // case-insensitive

    // --- entries (the list keeps ownership) ---
    int GetCount() const;
    bool IsFull() const { return GetCount() >= kCapacity; }
    // The spectrum at a position, or nullptr out of range.
    CSpectrum* At(int position) const;
    CSpectrum* operator[](int position) const { return At(position); }
    // Position of a spectrum, or -1.
    int Find(const CSpectrum* s) const;
    // Calls f(spectrum, position) for every entry in order under the list lock, each call under
    // that spectrum's lock too.
    template <class F> void ForEachLocked(F&& f) const {
        auto guard = Lock();
        for (size_t i = 0; i < m_items.size(); ++i) {
            auto locked = m_items[i]->Lock();
            f(*m_items[i], static_cast<int>(i));
        }
    }

    // How a dependent is saved after "Save %s?" is answered Yes (Save As with a dialog).
    void SetSaveAsHandler(std::function<void(CSpectrum&)> handler) {
        m_saveAs = std::move(handler);
    }

    SpectrumEnvironment& Environment() { return m_env; }
    const SpectrumEnvironment& Environment() const { return m_env; }

    // Guards entries, count and active position for as long as the returned lock lives; the
    // update worker walks the list under it.
    std::unique_lock<std::recursive_mutex> Lock() const {
        return std::unique_lock<std::recursive_mutex>(m_lock);
    }

private:
    void Message(const std::string& text) const;
    PromptAnswer Ask(const std::string& text, bool withCancel) const;

    SpectrumEnvironment& m_env;
    std::vector<std::unique_ptr<CSpectrum>> m_items;
    int m_active = -1;
    CSpectrum* m_pActive = nullptr;
    std::function<void(CSpectrum&)> m_saveAs;
    mutable std::recursive_mutex m_lock;
};

} // namespace vorna
