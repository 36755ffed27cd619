#include "app/prefs/CPropGen.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QVBoxLayout>

#include "app/TextConvert.h"

namespace vorna {

CPropGen::CPropGen(PreferencesEnv& env, QWidget* parent)
    : PreferencesPageWidget(env, PreferencesPage::General, parent), m_profile(new QLineEdit),
      m_saveOnExit(new QCheckBox(QStringLiteral("Sa&ve on exit"))), m_folder(new QLineEdit),
      m_template(new QLineEdit),
      m_loadCalibration(new QCheckBox(QStringLiteral("Load &Calibration on Startup"))),
      m_loadRoi(new QCheckBox(QStringLiteral("Load &ROIs on Startup"))),
      m_startDlg(new QCheckBox(QStringLiteral("Show &Start Dialog"))) {
    auto* user = new QGroupBox(QStringLiteral("User"));
    auto* userForm = new QFormLayout(user);
    userForm->addRow(QStringLiteral("&User Profile:"), m_profile);
    userForm->addRow(QString(), m_saveOnExit);
    userForm->addRow(QString(), m_startDlg);

    auto* files = new QGroupBox(QStringLiteral("Spectra"));
    auto* filesForm = new QFormLayout(files);
    auto* browseFolder = new QPushButton;
    auto* browseTemplate = new QPushButton;
    filesForm->addRow(QStringLiteral("Spectra &Directory:"),
                      WithBrowseButton(m_folder, browseFolder));
    filesForm->addRow(QStringLiteral("Spectrum &Filename:"),
                      WithBrowseButton(m_template, browseTemplate));
    filesForm->addRow(QString(), m_loadCalibration);
    filesForm->addRow(QString(), m_loadRoi);

    auto* colours = new QHBoxLayout;
    auto* lumo = new QPushButton(QStringLiteral("&LUMO Default Colors"));
    auto* vorna = new QPushButton(QStringLiteral("V&ORNA Default Colors"));
    colours->addWidget(lumo);
    colours->addWidget(vorna);
    colours->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(user);
    layout->addWidget(files);
    layout->addLayout(colours);
    layout->addStretch(1);

    m_profile->setToolTip(QStringLiteral("User settings name"));
    m_saveOnExit->setToolTip(QStringLiteral("Save user settings on exit"));
    m_startDlg->setToolTip(QStringLiteral("Show startup dialog"));
    m_folder->setToolTip(QStringLiteral("Quorix Spectra directory"));
    browseFolder->setToolTip(QStringLiteral("Select spectra folder"));
    m_template->setToolTip(
        QStringLiteral("ROIs and/or Calibration of this spectrum are used as a template"));
    browseTemplate->setToolTip(QStringLiteral("Browse for spectrum template"));
    m_loadRoi->setToolTip(QStringLiteral("Recall ROIs when loading spectrum template"));
    m_loadCalibration->setToolTip(
        QStringLiteral("Recall calibration when loading spectrum template"));

    for (QCheckBox* c : {m_saveOnExit, m_loadCalibration, m_loadRoi, m_startDlg})
        Track(c);
    Track(m_profile);
    connect(m_folder, &QLineEdit::editingFinished, this, &CPropGen::FolderLeft);
    connect(m_template, &QLineEdit::editingFinished, this, &CPropGen::TemplateLeft);
    connect(browseFolder, &QPushButton::clicked, this, &CPropGen::BrowseFolder);
    connect(browseTemplate, &QPushButton::clicked, this, &CPropGen::BrowseTemplate);
    auto preset = [this](ColourPreset p) {
        m_env.model.ColourPresetPressed(m_env.profile, p);
        if (m_env.coloursChanged)
            m_env.coloursChanged();
    };
    connect(lumo, &QPushButton::clicked, this, [preset] { preset(ColourPreset::Lumo); });
    connect(vorna, &QPushButton::clicked, this, [preset] { preset(ColourPreset::Vorna); });
    Load();
}

void CPropGen::Fill() {
    const GeneralPageValues& g = m_env.model.general;
    m_profile->setText(FromCore(g.profileName));
    m_saveOnExit->setChecked(g.saveOnExit);
    m_folder->setText(PathFromCore(g.spectraDirectory));
    m_template->setText(PathFromCore(g.templateFile));
    m_loadCalibration->setChecked(g.loadCalibration);
    m_loadRoi->setChecked(g.loadRoi);
    m_startDlg->setChecked(g.startDlgShow);
    ShowSwitchState();
}

void CPropGen::ShowSwitchState() {
    const bool on = m_env.model.TemplateSwitchesEnabled();
    m_loadCalibration->setEnabled(on);
    m_loadRoi->setEnabled(on);
}

void CPropGen::Collect() {
    GeneralPageValues& g = m_env.model.general;
    g.profileName = ToCore(m_profile->text());
    g.saveOnExit = m_saveOnExit->isChecked();
    g.spectraDirectory = PathToCore(m_folder->text());
    g.templateFile = PathToCore(m_template->text());
    g.loadCalibration = m_loadCalibration->isChecked();
    g.loadRoi = m_loadRoi->isChecked();
    g.startDlgShow = m_startDlg->isChecked();
}

void CPropGen::FolderLeft() {
    const std::string text = PathToCore(m_folder->text());
    if (text == m_env.model.general.spectraDirectory)
        return;
    m_env.model.SpectraFolderEdited(m_env.profile, m_env.prompt, text);
    m_folder->setText(PathFromCore(m_env.model.general.spectraDirectory));
}

void CPropGen::TemplateLeft() {
    const std::string text = PathToCore(m_template->text());
    if (text == m_env.model.general.templateFile)
        return;
    m_env.model.TemplateEdited(m_env.prompt, text);
    m_template->setText(PathFromCore(m_env.model.general.templateFile));
}

void CPropGen::BrowseFolder() {
    Collect();
    if (auto folder = BrowseForFolder(this, QStringLiteral("Select folder to save spectra into"),
                                      m_env.model.general.spectraDirectory)) {
        m_env.model.SpectraFolderChosen(m_env.profile, *folder);
        Load();
    }
}

void CPropGen::BrowseTemplate() {
    Collect();
    if (auto file = BrowseForFile(this, QStringLiteral("Browse for Spectrum File Template"),
                                  m_env.model.general.spectraDirectory,
                                  "Spectra Data Files (*.mca)|*.mca|All Files (*.*)|*.*||")) {
        m_env.model.TemplateChosen(m_env.profile, *file);
        Load();
    }
}

} // namespace vorna
