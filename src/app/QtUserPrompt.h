#pragma once
// Message boxes, questions and file dialogs for the core, parented to the main window.

#include <QPointer>
#include <QWidget>
#include <functional>

#include "common/CaptionedPrompt.h"
#include "common/UserPrompt.h"

namespace vorna {

class QtUserPrompt : public UserPrompt, public CaptionedMessages {
public:
    using StatusHandler = std::function<void(int, const std::string&)>;

    explicit QtUserPrompt(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }
    void SetStatusHandler(StatusHandler handler) { m_status = std::move(handler); }

    void message(const std::string& text, PromptStyle style) override;
    void captionedMessage(const std::string& caption, const std::string& text,
                          PromptStyle style) override;
    PromptAnswer question(const std::string& text, bool withCancel) override;
    bool chooseSaveFile(std::string& path, const std::string& defaultExtension,
                        const std::string& filter) override;
    void status(int pane, const std::string& text) override;
    std::optional<int> askNumber(const std::string& title, int minimum, int maximum,
                                 int initial) override;

    // An open-file dialog with the core's filter text ("Name (*.x)|*.x|...||").
    bool chooseOpenFile(std::string& path, const std::string& title,
                        const std::string& initialDirectory, const std::string& filter);

    // "Spectra Data Files (*.mca)|*.mca|All Files (*.*)|*.*||" -> Qt's ";;" list.
    static QString QtFilter(const std::string& coreFilter);

    // True (and logged) when called from a thread other than the UI thread: the call is refused.
    static bool Refused(const std::string& what);

private:
    QPointer<QWidget> m_parent;
    StatusHandler m_status;
};

} // namespace vorna
