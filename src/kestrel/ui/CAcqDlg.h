#pragma once
// "Set Acquisition Mode": shows an AcqSetupForm and forwards the user's edits to it. OK writes
// the acquisition settings into the profile; OK and Cancel store where the dialog closed.

#include <QDialog>
#include <functional>
#include <optional>

#include "kestrel/AcqSetupForm.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace vorna {

class CSProfile;

class CAcqDlg : public QDialog {
    Q_OBJECT
public:
    // `cursorChannel` gives the channel under the plot cursor for the "Cursor" buttons.
    CAcqDlg(const AcqSetup& values, CSProfile& profile, KestrelDeviceType analyzer,
            std::function<int()> cursorChannel, QWidget* parent = nullptr);

    // The edited values; meaningful after OK.
    const AcqSetup& values() const { return m_form.Values(); }

    void accept() override;
    void done(int result) override;

private:
    void BuildControls();
    void InstallToolTips();
    void ShowLists();
    void ShowFieldTexts();
    AcqFieldTexts Texts() const;
    void Refuse(const AcqFormError& error);
    void OnPresetMode(int entry);
    void OnAcquisitionMode(int mode);
    void OnAdcChannels(int entry);
    void OnDefaults();

    AcqSetupForm m_form;
    CSProfile& m_profile;
    std::function<int()> m_cursorChannel;

    QComboBox* m_acqMode = nullptr;
    QComboBox* m_presetMode = nullptr;
    QLabel* m_presetLabel = nullptr;
    QLineEdit* m_preset = nullptr;
    QLineEdit* m_channelUsed = nullptr;
    QPushButton* m_channelCursor = nullptr;
    QComboBox* m_timerType = nullptr;
    QLineEdit* m_threshold = nullptr;
    QPushButton* m_thresholdCursor = nullptr;
    QComboBox* m_peakMode = nullptr;
    QComboBox* m_group = nullptr;
    QComboBox* m_adc = nullptr;
};

// Shows the dialog modally; the edited values after OK, nothing after Cancel.
std::optional<AcqSetup> RunAcqSetupDialog(const AcqSetup& values, CSProfile& profile,
                                          KestrelDeviceType analyzer,
                                          std::function<int()> cursorChannel, QWidget* parent);

} // namespace vorna
