#include "app/prefs/PreferencesPageWidget.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QPainter>
#include <QPixmap>
#include <QSpinBox>

#include "app/InfoPane.h"
#include "app/QtUserPrompt.h"
#include "app/TextConvert.h"
#include "common/DataFolders.h"

namespace vorna {

PreferencesPageWidget::PreferencesPageWidget(PreferencesEnv& env, PreferencesPage page,
                                             QWidget* parent)
    : QWidget(parent), m_env(env), m_page(page) {}

void PreferencesPageWidget::Load() {
    m_loading = true;
    Fill();
    m_loading = false;
}

void PreferencesPageWidget::Modified() {
    if (!m_loading)
        m_env.model.MarkModified(m_page);
}

void PreferencesPageWidget::Track(QAbstractButton* check) {
    connect(check, &QAbstractButton::toggled, this, [this] { Modified(); });
}
void PreferencesPageWidget::Track(QLineEdit* edit) {
    connect(edit, &QLineEdit::textEdited, this, [this] { Modified(); });
}
void PreferencesPageWidget::Track(QComboBox* combo) {
    connect(combo, &QComboBox::currentIndexChanged, this, [this] { Modified(); });
    if (combo->isEditable())
        connect(combo, &QComboBox::editTextChanged, this, [this] { Modified(); });
}
void PreferencesPageWidget::Track(QSpinBox* spin) {
    connect(spin, &QSpinBox::valueChanged, this, [this] { Modified(); });
}

QWidget* WithBrowseButton(QLineEdit* edit, QPushButton* browse) {
    auto* row = new QWidget;
    auto* layout = new QHBoxLayout(row);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(edit, 1);
    browse->setText(QStringLiteral("..."));
    browse->setMaximumWidth(browse->fontMetrics().horizontalAdvance(QStringLiteral("....")) + 16);
    layout->addWidget(browse);
    row->setFocusProxy(edit); // the row's label is the edit's buddy
    return row;
}

std::optional<std::string> BrowseForFolder(QWidget* parent, const QString& prompt,
                                           const std::string& start) {
    QFileDialog dialog(parent, QStringLiteral("Browse for Folder"),
                       PathFromCore(DialogFolder(start)));
    dialog.setFileMode(QFileDialog::Directory);
    dialog.setOption(QFileDialog::ShowDirsOnly);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setLabelText(QFileDialog::LookIn, prompt);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return std::nullopt;
    return PathToCore(dialog.selectedFiles().front());
}

std::optional<std::string> BrowseForFile(QWidget* parent, const QString& title,
                                         const std::string& startFolder, const char* filter) {
    QtUserPrompt prompt(parent);
    std::string path;
    if (!prompt.chooseOpenFile(path, ToCore(title), DialogFolder(startFolder), filter))
        return std::nullopt;
    return path;
}

ColourButton::ColourButton(QWidget* parent) : QPushButton(parent) {
    setMinimumWidth(64);
    connect(this, &QPushButton::clicked, this, &ColourButton::Choose);
}

void ColourButton::SetColour(int bgr) {
    m_bgr = bgr;
    QPixmap swatch(40, 14);
    swatch.fill(ColorFromRgbWord(bgr));
    QPainter(&swatch).drawRect(0, 0, swatch.width() - 1, swatch.height() - 1);
    setIcon(swatch);
    setIconSize(swatch.size());
}

void ColourButton::Choose() {
    const QColor chosen = QColorDialog::getColor(ColorFromRgbWord(m_bgr), this);
    if (!chosen.isValid())
        return;
    SetColour(RgbWordFromColor(chosen));
    Q_EMIT colourChosen(m_bgr);
}

} // namespace vorna
