#pragma once
// The General page: user profile, spectra folder and template, start-up switches and the two
// colour presets.

#include "app/prefs/PreferencesPageWidget.h"

class QCheckBox;

namespace vorna {

class CPropGen : public PreferencesPageWidget {
    Q_OBJECT
public:
    CPropGen(PreferencesEnv& env, QWidget* parent = nullptr);
    void Collect() override;

private:
    void Fill() override;
    void FolderLeft();
    void TemplateLeft();
    void BrowseFolder();
    void BrowseTemplate();
    void ShowSwitchState();

    QLineEdit* m_profile;
    QCheckBox* m_saveOnExit;
    QLineEdit* m_folder;
    QLineEdit* m_template;
    QCheckBox* m_loadCalibration;
    QCheckBox* m_loadRoi;
    QCheckBox* m_startDlg;
};

} // namespace vorna
