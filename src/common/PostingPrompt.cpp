#include "common/PostingPrompt.h"

namespace vorna {

void PostingPrompt::SetUiPrompt(UserPrompt* ui, std::thread::id uiThread) {
    std::lock_guard<std::mutex> g(m_mutex);
    m_ui = ui;
    m_uiThread = uiThread;
}

UserPrompt* PostingPrompt::Direct() const {
    std::lock_guard<std::mutex> g(m_mutex);
    return m_ui && std::this_thread::get_id() == m_uiThread ? m_ui : nullptr;
}

void PostingPrompt::message(const std::string& text, PromptStyle style) {
    if (UserPrompt* ui = Direct())
        ui->message(text, style);
    else
        m_sink.Post(MessageEvent{{}, text, style});
}

void PostingPrompt::captionedMessage(const std::string& caption, const std::string& text,
                                     PromptStyle style) {
    if (UserPrompt* ui = Direct())
        ShowCaptioned(*ui, caption, text, style);
    else
        m_sink.Post(MessageEvent{caption, text, style});
}

PromptAnswer PostingPrompt::question(const std::string& text, bool withCancel) {
    if (UserPrompt* ui = Direct())
        return ui->question(text, withCancel);
    PendingAnswer<PromptAnswer> pending;
    m_sink.Post(QuestionRequest{text, withCancel, pending.MakeResponder()});
    return pending.channel->Wait(withCancel ? PromptAnswer::Cancel : PromptAnswer::No, m_quit);
}

bool PostingPrompt::chooseSaveFile(std::string& path, const std::string& defaultExtension,
                                   const std::string& filter) {
    if (UserPrompt* ui = Direct())
        return ui->chooseSaveFile(path, defaultExtension, filter);
    PendingAnswer<std::optional<std::string>> pending;
    m_sink.Post(SaveFileRequest{path, defaultExtension, filter, pending.MakeResponder()});
    const std::optional<std::string> chosen = pending.channel->Wait(std::nullopt, m_quit);
    if (!chosen)
        return false;
    path = *chosen;
    return true;
}

void PostingPrompt::status(int pane, const std::string& text) {
    if (UserPrompt* ui = Direct())
        ui->status(pane, text);
    else
        m_sink.Post(StatusTextEvent{pane, text});
}

std::optional<int> PostingPrompt::askNumber(const std::string& title, int minimum, int maximum,
                                            int initial) {
    if (UserPrompt* ui = Direct())
        return ui->askNumber(title, minimum, maximum, initial);
    PendingAnswer<std::optional<int>> pending;
    m_sink.Post(NumberRequest{title, minimum, maximum, initial, pending.MakeResponder()});
    return pending.channel->Wait(std::nullopt, m_quit);
}

} // namespace vorna
