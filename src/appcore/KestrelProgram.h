#pragma once
// The Kestrel side of the running program without any window: link, acquisition controller,
// upload worker and the command thread on which the user's device commands run. The UI thread
// only posts: a command becomes a job here, and what the job learns or asks comes back as
// posted events (messages, questions, profile values, "job finished"). Stopping it (device type
// switched away, shutdown) ends both threads without waiting for the window.
//
//   KestrelProgram kestrel(line, settings, ports);
//   kestrel.Run([](CAcq& a) { a.ToggleAcquisition(); }, [&] { /* on the UI thread */ });

#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>

#include "common/Clock.h"
#include "common/JobThread.h"
#include "common/PostingPrompt.h"
#include "kestrel/AcqSettings.h"
#include "kestrel/CAcq.h"
#include "kestrel/CUploadThread.h"
#include "kestrel/KestrelLink.h"
#include "kestrel/SerialLine.h"

namespace vorna {

class CSpectraList;

struct KestrelProgramPorts {
    Clock& clock;
    CSpectraList& spectra;
    MainWindowSink& sink;
    UserPrompt* uiPrompt; // the window's prompt; called only on the thread that builds this
};

class KestrelProgram {
public:
    KestrelProgram(SerialLine& line, AcqSettingsSource& settings, KestrelProgramPorts ports,
                   AcqHooks hooks);
    ~KestrelProgram();
    KestrelProgram(const KestrelProgram&) = delete;
    KestrelProgram& operator=(const KestrelProgram&) = delete;

    CAcq& Acq() { return *m_acq; }
    const CAcq& Acq() const { return *m_acq; }
    KestrelLink& Link() { return *m_link; }

    // UI thread: runs `job` on the command thread; `then` runs on the UI thread once it is done.
    void Run(std::function<void(CAcq&)> job, std::function<void()> then = {});
    // UI thread: the job with this ticket has finished (JobFinishedEvent).
    void Finished(uint64_t ticket);
    // A command is queued or running.
    bool Busy() const { return !m_commands->Idle(); }
    // Wakes the upload worker.
    void SignalUpload();

private:
    MainWindowSink& m_sink;
    std::atomic<bool> m_stop{false};
    PostingPrompt m_prompt;
    std::unique_ptr<KestrelLink> m_link;
    std::unique_ptr<CAcq> m_acq;
    std::unique_ptr<CUploadThread> m_upload;
    std::map<uint64_t, std::function<void()>> m_continuations; // UI thread only
    std::unique_ptr<JobThread> m_commands; // last: its jobs use everything above
};

} // namespace vorna
