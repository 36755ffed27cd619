#include "app/prefs/CPropAnalysis.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLocale>
#include <QSpinBox>
#include <climits>

#include "app/TextConvert.h"

namespace vorna {

namespace {

QComboBox* listOf(const std::vector<std::string>& names) {
    auto* combo = new QComboBox;
    for (const std::string& n : names)
        combo->addItem(FromCore(n));
    return combo;
}

QSpinBox* counter(int low) {
    auto* spin = new QSpinBox;
    spin->setRange(low, INT_MAX);
    return spin;
}

// Numbers read the same in every locale ("7.5"), so the field offers no other decimal mark.
QLineEdit* decimal() {
    auto* edit = new QLineEdit;
    auto* validator = new QDoubleValidator(edit);
    QLocale numbers = QLocale::c();
    numbers.setNumberOptions(QLocale::RejectGroupSeparator);
    validator->setLocale(numbers);
    edit->setValidator(validator);
    return edit;
}

} // namespace

CPropAnalysis::CPropAnalysis(PreferencesEnv& env, QWidget* parent)
    : PreferencesPageWidget(env, PreferencesPage::Analysis, parent), m_background(new QLineEdit),
      m_goodPeak(counter(0)), m_searchSens(decimal()), m_peakWidth(counter(0)),
      m_fwhmMethod(listOf(FwhmMethodNames())), m_fwhmSmooths(listOf(FwhmSmoothNames())),
      m_centroidMethod(listOf(CentroidMethodNames())), m_libFolder(new QLineEdit),
      m_libFile(new QLineEdit), m_libSens(decimal()),
      m_libAutoload(new QCheckBox(QStringLiteral("Load on S&tartup"))),
      m_repeatEnable(new QCheckBox(QStringLiteral("E&nable"))), m_repeatFolder(new QLineEdit),
      m_repeatFile(new QLineEdit), m_loops(counter(0)), m_delay(decimal()),
      m_resolutionTest(new QCheckBox(QStringLiteral("Spectrum Resol&ution Test Option"))),
      m_peakingTime(listOf(InitialPeakingTimes())) {
    auto* layout = new QGridLayout(this);
    layout->addWidget(BuildRoiGroup(), 0, 0);
    layout->addWidget(BuildLibraryGroup(), 1, 0);
    layout->addWidget(BuildRepeatGroup(), 0, 1, 2, 1);
    layout->setRowStretch(2, 1);

    m_background->setToolTip(QStringLiteral("Number of points for background fitting"));
    m_goodPeak->setToolTip(QStringLiteral(
        "Threshold value used to determine a good peak after background subtraction "));
    m_searchSens->setToolTip(QStringLiteral("Peak search sensitivity"));
    m_peakWidth->setToolTip(QStringLiteral("Peak search FWHM"));
    m_fwhmMethod->setToolTip(
        QStringLiteral("FWHM calculation method - default, smooth corrected, or percent"));
    m_fwhmSmooths->setToolTip(QStringLiteral("3 point or 5 point smooth applied to ROI"));
    m_libAutoload->setToolTip(QStringLiteral("Recall library file when starting program"));
    m_libFolder->setToolTip(QStringLiteral("Library folder"));
    m_libFile->setToolTip(QStringLiteral("Default library file"));
    m_libSens->setToolTip(QStringLiteral("Library scan sensitivity"));

    m_background->setObjectName(QStringLiteral("backgroundChannels"));
    m_searchSens->setObjectName(QStringLiteral("peakSearchSensitivity"));
    m_goodPeak->setObjectName(QStringLiteral("goodPeakValue"));
    m_loops->setObjectName(QStringLiteral("numberOfLoops"));
    m_resolutionTest->setObjectName(QStringLiteral("resolutionTest"));
    m_peakingTime->setObjectName(QStringLiteral("initialPeakingTime"));
    m_libFolder->setObjectName(QStringLiteral("libraryDirectory"));
    for (QLineEdit* e :
         {m_background, m_searchSens, m_libSens, m_repeatFolder, m_repeatFile, m_delay})
        Track(e);
    for (QSpinBox* s : {m_goodPeak, m_peakWidth, m_loops})
        Track(s);
    for (QComboBox* c : {m_fwhmMethod, m_fwhmSmooths, m_centroidMethod, m_peakingTime})
        Track(c);
    Track(m_libAutoload);
    Track(m_repeatEnable);
    connect(m_fwhmMethod, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_env.model.analysis.fwhmCalcMethod = index;
        ShowEnabledState();
    });
    connect(m_resolutionTest, &QCheckBox::clicked, this, [this](bool on) {
        Collect();
        m_env.model.SetResolutionTest(on);
        Load();
    });
    connect(m_libFolder, &QLineEdit::editingFinished, this, &CPropAnalysis::LibraryFolderLeft);
    connect(m_libFile, &QLineEdit::editingFinished, this, &CPropAnalysis::LibraryFileLeft);
    Load();
}

QWidget* CPropAnalysis::BuildRoiGroup() {
    auto* box = new QGroupBox(QStringLiteral("ROI and Peak Search"));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("&Background Channels:"), m_background);
    form->addRow(QStringLiteral("Good Peak &Value:"), m_goodPeak);
    form->addRow(QStringLiteral("FWHM &Calc Method:"), m_fwhmMethod);
    form->addRow(QStringLiteral("FWHM No. of &Smooths:"), m_fwhmSmooths);
    form->addRow(QStringLiteral("Centr&oid Calc. Method:"), m_centroidMethod);
    form->addRow(QStringLiteral("Sens&itivity: "), m_searchSens);
    form->addRow(QStringLiteral("FWHM (C&hannels):"), m_peakWidth);
    return box;
}

QWidget* CPropAnalysis::BuildLibraryGroup() {
    auto* box = new QGroupBox(QStringLiteral("Library"));
    auto* form = new QFormLayout(box);
    auto* browseFolder = new QPushButton;
    auto* browseFile = new QPushButton;
    browseFolder->setToolTip(QStringLiteral("Select library folder"));
    browseFile->setToolTip(QStringLiteral("Select default library file"));
    form->addRow(QStringLiteral("&Directory:"), WithBrowseButton(m_libFolder, browseFolder));
    form->addRow(QStringLiteral("Default &File:"), WithBrowseButton(m_libFile, browseFile));
    form->addRow(QStringLiteral("Sensitivity (&x FWHM):"), m_libSens);
    form->addRow(QString(), m_libAutoload);
    connect(browseFolder, &QPushButton::clicked, this, &CPropAnalysis::BrowseLibraryFolder);
    connect(browseFile, &QPushButton::clicked, this, &CPropAnalysis::BrowseLibraryFile);
    return box;
}

QWidget* CPropAnalysis::BuildRepeatGroup() {
    auto* box = new QGroupBox(QStringLiteral("Repeat Measurements"));
    auto* form = new QFormLayout(box);
    auto* browse = new QPushButton;
    form->addRow(QString(), m_repeatEnable);
    form->addRow(QStringLiteral("File Save Di&rectory:"), WithBrowseButton(m_repeatFolder, browse));
    form->addRow(QStringLiteral("Default Filenam&e:"), m_repeatFile);
    form->addRow(QStringLiteral("Number of &Loops:"), m_loops);
    form->addRow(QStringLiteral("Dela&y Between Loops:"), m_delay);
    form->addRow(QString(), m_resolutionTest);
    form->addRow(QStringLiteral("Initial Pea&king Time"), m_peakingTime);
    connect(browse, &QPushButton::clicked, this, &CPropAnalysis::BrowseRepeatFolder);
    return box;
}

void CPropAnalysis::Fill() {
    const AnalysisPageValues& a = m_env.model.analysis;
    m_background->setText(FromCore(a.backgroundChannels));
    m_goodPeak->setValue(a.goodPeakLevel);
    m_searchSens->setText(FromCore(a.peakSearchSens));
    m_peakWidth->setValue(a.peakWidth);
    m_fwhmMethod->setCurrentIndex(a.fwhmCalcMethod);
    m_fwhmSmooths->setCurrentIndex(a.fwhmNoSmooths);
    m_centroidMethod->setCurrentIndex(a.centroidCalcMethod);
    m_libFolder->setText(PathFromCore(a.libraryDirectory));
    m_libFile->setText(PathFromCore(a.libraryFile));
    m_libSens->setText(FromCore(a.librarySens));
    m_libAutoload->setChecked(a.libraryAutoload);
    m_repeatEnable->setChecked(a.repeatEnable);
    m_repeatFolder->setText(PathFromCore(a.repeatDirectory));
    m_repeatFile->setText(FromCore(a.repeatFilename));
    m_loops->setValue(a.repeatLoops);
    m_delay->setText(FromCore(a.repeatDelay));
    m_resolutionTest->setChecked(a.resolutionTest);
    m_peakingTime->setCurrentIndex(a.initialPeakingTime);
    ShowEnabledState();
}

void CPropAnalysis::ShowEnabledState() {
    const PreferencesModel& m = m_env.model;
    m_fwhmSmooths->setEnabled(m.FwhmSmoothsEnabled());
    m_resolutionTest->setEnabled(m.ResolutionTestEnabled());
    m_peakingTime->setEnabled(m.InitialPeakingTimeEnabled());
}

void CPropAnalysis::Collect() {
    AnalysisPageValues& a = m_env.model.analysis;
    a.backgroundChannels = ToCore(m_background->text().trimmed());
    a.goodPeakLevel = m_goodPeak->value();
    a.peakSearchSens = ToCore(m_searchSens->text().trimmed());
    a.peakWidth = m_peakWidth->value();
    a.fwhmCalcMethod = m_fwhmMethod->currentIndex();
    a.fwhmNoSmooths = m_fwhmSmooths->currentIndex();
    a.centroidCalcMethod = m_centroidMethod->currentIndex();
    a.libraryDirectory = PathToCore(m_libFolder->text());
    a.libraryFile = PathToCore(m_libFile->text());
    a.librarySens = ToCore(m_libSens->text().trimmed());
    a.libraryAutoload = m_libAutoload->isChecked();
    a.repeatEnable = m_repeatEnable->isChecked();
    a.repeatDirectory = PathToCore(m_repeatFolder->text());
    a.repeatFilename = ToCore(m_repeatFile->text());
    a.repeatLoops = m_loops->value();
    a.repeatDelay = ToCore(m_delay->text().trimmed());
    a.initialPeakingTime = m_peakingTime->currentIndex();
}

void CPropAnalysis::LibraryFolderLeft() {
    const std::string text = PathToCore(m_libFolder->text());
    if (text == m_env.model.analysis.libraryDirectory)
        return;
    m_env.model.LibraryFolderEdited(m_env.profile, m_env.prompt, text);
    m_libFolder->setText(PathFromCore(m_env.model.analysis.libraryDirectory));
}

void CPropAnalysis::LibraryFileLeft() {
    const std::string text = PathToCore(m_libFile->text());
    if (text == m_env.model.analysis.libraryFile)
        return;
    m_env.model.LibraryFileEdited(m_env.prompt, text);
    m_libFile->setText(PathFromCore(m_env.model.analysis.libraryFile));
}

void CPropAnalysis::BrowseLibraryFolder() {
    Collect();
    if (auto folder = BrowseForFolder(this, QStringLiteral("Select folder to load library from"),
                                      m_env.model.analysis.libraryDirectory)) {
        m_env.model.LibraryFolderChosen(m_env.profile, *folder);
        Load();
    }
}

void CPropAnalysis::BrowseLibraryFile() {
    Collect();
    if (auto file = BrowseForFile(this, QStringLiteral("Browse for Library"),
                                  m_env.model.analysis.libraryDirectory,
                                  "Library Files (*.lib)|*.lib|All Files (*.*)|*.*||")) {
        m_env.model.LibraryFileChosen(m_env.profile, *file);
        Load();
    }
}

void CPropAnalysis::BrowseRepeatFolder() {
    Collect();
    if (auto folder =
            BrowseForFolder(this, QStringLiteral("Select folder to save spectra files to"),
                            m_env.model.analysis.repeatDirectory)) {
        m_env.model.RepeatFolderChosen(*folder);
        Load();
    }
}

} // namespace vorna
