#include "appcore/KestrelProgram.h"

namespace vorna {

namespace {
std::atomic<uint64_t> g_nextTicket{1};
}

KestrelProgram::KestrelProgram(SerialLine& line, AcqSettingsSource& settings,
                               KestrelProgramPorts ports, AcqHooks hooks)
    : m_sink(ports.sink), m_prompt(ports.sink, &m_stop) {
    m_prompt.SetUiPrompt(ports.uiPrompt);
    m_link = std::make_unique<KestrelLink>(line, ports.clock);
    hooks.quit = &m_stop;
    if (!hooks.wakeUploadWorker)
        hooks.wakeUploadWorker = [this] { SignalUpload(); };
    m_acq = std::make_unique<CAcq>(*m_link, ports.clock, settings, ports.spectra, m_prompt,
                                   ports.sink, std::move(hooks));
    m_acq->LoadSettings();
    m_upload = std::make_unique<CUploadThread>(*m_acq, ports.clock, m_stop);
    m_commands = std::make_unique<JobThread>();
}

KestrelProgram::~KestrelProgram() {
    // Every wait of both threads watches this flag: a transfer ends before its next chunk, a
    // question waiting for the window gives up.
    m_stop = true;
    m_commands.reset();
    m_upload.reset();
    if (m_link->Connected())
        m_link->Disconnect();
}

void KestrelProgram::SignalUpload() {
    if (m_upload)
        m_upload->Signal();
}

void KestrelProgram::Run(std::function<void(CAcq&)> job, std::function<void()> then) {
    const uint64_t ticket = g_nextTicket++;
    if (then)
        m_continuations.emplace(ticket, std::move(then));
    m_commands->Post(
        [this, job = std::move(job), ticket, notify = m_continuations.count(ticket) > 0] {
            if (m_stop)
                return;
            job(*m_acq);
            if (notify)
                m_sink.Post(JobFinishedEvent{ticket});
        });
}

void KestrelProgram::Finished(uint64_t ticket) {
    auto it = m_continuations.find(ticket);
    if (it == m_continuations.end())
        return;
    std::function<void()> then = std::move(it->second);
    m_continuations.erase(it);
    then();
}

} // namespace vorna
