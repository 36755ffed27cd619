#pragma once
// Message boxes whose caption names the situation ("Osprey Mode Change", "Configuration File
// Error") instead of the program. A prompt that can show a caption implements
// CaptionedMessages beside UserPrompt; any other prompt shows the text alone.

#include <string>

#include "common/UserPrompt.h"

namespace vorna {

class CaptionedMessages {
public:
    virtual ~CaptionedMessages() = default;
    virtual void captionedMessage(const std::string& caption, const std::string& text,
                                  PromptStyle style) = 0;
};

inline void ShowCaptioned(UserPrompt& prompt, const std::string& caption, const std::string& text,
                          PromptStyle style) {
    if (auto* captioned = dynamic_cast<CaptionedMessages*>(&prompt))
        captioned->captionedMessage(caption, text, style);
    else
        prompt.message(text, style);
}

} // namespace vorna
