#pragma once
// "Review or Modify Preferences": the tabbed sheet of the General, MCA, Analysis and Plot pages
// with OK, Cancel, Apply and the Defaults button of the active page. The sheet edits working
// copies; OK and Apply write them into the profile through the preferences model.

#include <QDialog>
#include <array>
#include <functional>

#include "app/prefs/PreferencesPageWidget.h"

class QPushButton;
class QTabWidget;

namespace vorna {

struct PreferencesHooks {
    std::function<void(const std::string&)> status;   // status pane 0
    std::function<void(const ApplyOutcome&)> applied; // after each OK or Apply that wrote
    std::function<void()> coloursChanged;             // the colour presets acted at once
};

class CProperties : public QDialog {
    Q_OBJECT
public:
    CProperties(CSProfile& profile, int deviceType, const McaLinkState& link, UserPrompt& prompt,
                PreferencesPage start, PreferencesHooks hooks, QWidget* parent = nullptr);

    PreferencesModel& Model() { return m_model; }
    QTabWidget* Tabs() const { return m_tabs; }
    QPushButton* DefaultsButton() const { return m_defaults; }
    // OK and Apply: false when a check refused (the sheet stays open).
    bool ApplyNow();

    void accept() override;
    void reject() override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void PageChanged(int index);
    void PressDefaults();
    PreferencesPageWidget* Current() const;

    PreferencesModel m_model;
    PreferencesEnv m_env;
    PreferencesHooks m_hooks;
    McaLinkState m_link;
    QTabWidget* m_tabs;
    QPushButton* m_defaults;
    std::array<PreferencesPageWidget*, kPreferencesPageCount> m_pages{};
    bool m_mcaOpened = false;
};

} // namespace vorna
