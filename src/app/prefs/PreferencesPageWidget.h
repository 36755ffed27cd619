#pragma once
// What the pages of the preferences sheet share: the working copies they show, the profile the
// folder fields write at once, and a few controls of their own kind.

#include <QLineEdit>
#include <QPushButton>
#include <QWidget>
#include <functional>
#include <optional>

#include "settings/PreferencesModel.h"

class QAbstractButton;
class QComboBox;
class QSpinBox;

namespace vorna {

class CSProfile;
class UserPrompt;

struct PreferencesEnv {
    PreferencesModel& model;
    CSProfile& profile;
    UserPrompt& prompt;
    int deviceType = 0;
    std::function<void()> coloursChanged; // the LUMO / VORNA buttons acted on the profile
};

class PreferencesPageWidget : public QWidget {
    Q_OBJECT
public:
    PreferencesPageWidget(PreferencesEnv& env, PreferencesPage page, QWidget* parent);
    PreferencesPage Page() const { return m_page; }
    // Working copy into the controls, without marking the page modified.
    void Load();
    // Controls into the working copy (before OK and Apply).
    virtual void Collect() = 0;

protected:
    virtual void Fill() = 0;
    // Any edit marks the page modified.
    void Modified();
    void Track(QAbstractButton* check);
    void Track(QLineEdit* edit);
    void Track(QComboBox* combo);
    void Track(QSpinBox* spin);

    PreferencesEnv& m_env;

private:
    PreferencesPage m_page;
    bool m_loading = false;
};

// A line edit with a "..." button beside it, as one row.
QWidget* WithBrowseButton(QLineEdit* edit, QPushButton* browse);
// The folder browser: nothing on Cancel.
std::optional<std::string> BrowseForFolder(QWidget* parent, const QString& prompt,
                                           const std::string& start);
std::optional<std::string> BrowseForFile(QWidget* parent, const QString& title,
                                         const std::string& startFolder, const char* filter);

// A button filled with its colour that opens the standard colour dialog.
class ColourButton : public QPushButton {
    Q_OBJECT
public:
    explicit ColourButton(QWidget* parent = nullptr);
    void SetColour(int bgr);
    int Colour() const { return m_bgr; }
Q_SIGNALS:
    void colourChosen(int bgr);

private:
    void Choose();
    int m_bgr = 0;
};

} // namespace vorna
