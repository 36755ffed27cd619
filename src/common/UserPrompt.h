#pragma once
// Port through which core logic asks the user something or tells a failure.
// The UI implements it with message boxes and file dialogs; tests script it.

#include <optional>
#include <string>

namespace vorna {

enum class PromptAnswer { Yes, No, Cancel };

enum class PromptStyle { Information, Warning, Error };

class UserPrompt {
public:
    virtual ~UserPrompt() = default;
    // A modal message with an OK button.
    virtual void message(const std::string& text, PromptStyle style = PromptStyle::Warning) = 0;
    // A Yes/No question (withCancel = false) or Yes/No/Cancel question.
    virtual PromptAnswer question(const std::string& text, bool withCancel) = 0;
    // A save-file dialog; returns false on Cancel. `path` holds the proposal and receives the
    // choice.
    virtual bool chooseSaveFile(std::string& path, const std::string& defaultExtension,
                                const std::string& filter) = 0;
    // Status-bar pane text (pane 0 for progress and results).
    virtual void status(int pane, const std::string& text) = 0;
    // A whole number between `minimum` and `maximum`; nothing on Cancel. A prompt without a
    // dialog takes the proposal.
    virtual std::optional<int> askNumber(const std::string& title, int minimum, int maximum,
                                         int initial) {
        (void)title, (void)minimum, (void)maximum;
        return initial;
    }
};

// Collects everything and answers a fixed reply; used by batch tools that must never block.
class SilentPrompt : public UserPrompt {
public:
    explicit SilentPrompt(PromptAnswer answer = PromptAnswer::No) : m_answer(answer) {}
    void message(const std::string& text, PromptStyle) override { m_last = text; }
    PromptAnswer question(const std::string& text, bool) override {
        m_last = text;
        return m_answer;
    }
    bool chooseSaveFile(std::string&, const std::string&, const std::string&) override {
        return false;
    }
    void status(int, const std::string&) override {}
    const std::string& lastMessage() const { return m_last; }

private:
    PromptAnswer m_answer;
    std::string m_last;
};

} // namespace vorna
