#pragma once
// The Analysis page: ROI statistics, peak search, the element library and repeated
// measurements.

#include "app/prefs/PreferencesPageWidget.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace vorna {

class CPropAnalysis : public PreferencesPageWidget {
    Q_OBJECT
public:
    CPropAnalysis(PreferencesEnv& env, QWidget* parent = nullptr);
    void Collect() override;

private:
    void Fill() override;
    QWidget* BuildRoiGroup();
    QWidget* BuildLibraryGroup();
    QWidget* BuildRepeatGroup();
    void ShowEnabledState();
    void LibraryFolderLeft();
    void LibraryFileLeft();
    void BrowseLibraryFolder();
    void BrowseLibraryFile();
    void BrowseRepeatFolder();

    QLineEdit* m_background;
    QSpinBox* m_goodPeak;
    QLineEdit* m_searchSens;
    QSpinBox* m_peakWidth;
    QComboBox* m_fwhmMethod;
    QComboBox* m_fwhmSmooths;
    QComboBox* m_centroidMethod;
    QLineEdit* m_libFolder;
    QLineEdit* m_libFile;
    QLineEdit* m_libSens;
    QCheckBox* m_libAutoload;
    QCheckBox* m_repeatEnable;
    QLineEdit* m_repeatFolder;
    QLineEdit* m_repeatFile;
    QSpinBox* m_loops;
    QLineEdit* m_delay;
    QCheckBox* m_resolutionTest;
    QComboBox* m_peakingTime;
};

} // namespace vorna
