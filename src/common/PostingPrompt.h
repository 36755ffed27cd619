#pragma once
// The prompt the device core talks to. On the UI thread it is the window's own prompt; on any
// other thread it never touches a window: a message is posted and the worker goes on, a question
// is posted and the worker waits for the UI thread's answer (or its fallback, when the window is
// gone or the program quits).

#include <atomic>
#include <mutex>
#include <thread>

#include "common/CaptionedPrompt.h"
#include "common/MainWindowSink.h"
#include "common/UserPrompt.h"

namespace vorna {

class PostingPrompt : public UserPrompt, public CaptionedMessages {
public:
    // `quit` ends every wait for an answer.
    PostingPrompt(MainWindowSink& sink, const std::atomic<bool>* quit)
        : m_sink(sink), m_quit(quit) {}

    // The window's prompt and the thread it belongs to; null detaches it.
    void SetUiPrompt(UserPrompt* ui, std::thread::id uiThread = std::this_thread::get_id());

    void message(const std::string& text, PromptStyle style) override;
    void captionedMessage(const std::string& caption, const std::string& text,
                          PromptStyle style) override;
    PromptAnswer question(const std::string& text, bool withCancel) override;
    bool chooseSaveFile(std::string& path, const std::string& defaultExtension,
                        const std::string& filter) override;
    void status(int pane, const std::string& text) override;
    std::optional<int> askNumber(const std::string& title, int minimum, int maximum,
                                 int initial) override;

private:
    // The window's prompt when called on its thread, else null.
    UserPrompt* Direct() const;

    MainWindowSink& m_sink;
    const std::atomic<bool>* m_quit;
    mutable std::mutex m_mutex;
    UserPrompt* m_ui = nullptr;
    std::thread::id m_uiThread;
};

} // namespace vorna
