#include "app/props/CSpectrumDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/DialogPositions.h"
#include "app/TextConvert.h"
#include "app/props/CNotes.h"
#include "app/props/ColorButton.h"
#include "appcore/SpectrumPropertiesEdit.h"
#include "settings/CSProfile.h"

namespace vorna {

namespace {

QLabel* Buddy(const QString& text, QWidget* field, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setBuddy(field);
    return label;
}

} // namespace

CSpectrumDlg::CSpectrumDlg(SpectrumPropertiesEdit& edit, CSProfile& profile, QWidget* parent)
    : QDialog(parent), m_edit(edit), m_profile(profile) {
    setObjectName("CSpectrumDlg");
    setWindowTitle(QString::fromLatin1(edit.Title()));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    BuildFields(form);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_notes =
        buttons->addButton(QStringLiteral("Additional &Notes..."), QDialogButtonBox::ActionRole);
    m_notes->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CSpectrumDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CSpectrumDlg::reject);
    connect(m_notes, &QPushButton::clicked, this, [this] { OpenNotes(); });
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);

    ShowHeader();
    // A new spectrum is defined by its expression: start there.
    if (edit.Role() == SpectrumDlgRole::DefineExpression)
        m_expression->setFocus();
    adjustSize();
    RestoreDialogPosition(*this, profile, ProfileDialog::ExpressionDlg);
}

void CSpectrumDlg::BuildFields(QFormLayout* form) {
    const int chars = fontMetrics().averageCharWidth();
    m_fileName = new QLineEdit(this);
    m_fileName->setMinimumWidth(chars * 44);
    m_description = new QLineEdit(this);
    m_tag = new QLineEdit(this);
    m_expression = new QLineEdit(this);
    m_width = new QComboBox(this);
    for (int w = kContourWidthMin; w <= kContourWidthMax; ++w)
        m_width->addItem(QString::number(w), w);
    m_color = new ColorButton(this);
    m_gain = new QComboBox(this);
    for (int code = 0; code <= kGainCodeMax; ++code)
        m_gain->addItem(QString::fromStdString(GainChoiceText(code)), code);

    form->addRow(Buddy(QStringLiteral("&File Name:"), m_fileName, this), m_fileName);
    form->addRow(Buddy(QStringLiteral("&Description:"), m_description, this), m_description);
    form->addRow(Buddy(QStringLiteral("&Tag:"), m_tag, this), m_tag);
    m_expressionLabel = Buddy(QStringLiteral("&Expression:"), m_expression, this);
    form->addRow(m_expressionLabel, m_expression);
    form->addRow(Buddy(QStringLiteral("Contour &Width:"), m_width, this), m_width);
    form->addRow(Buddy(QStringLiteral("Contour &Color:"), m_color, this), m_color);
    form->addRow(Buddy(QStringLiteral("ADC &Gain:"), m_gain, this), m_gain);

    m_expressionLabel->setVisible(m_edit.ShowsExpression());
    m_expression->setVisible(m_edit.ShowsExpression());
    m_gain->setEnabled(m_edit.GainEditable());
}

void CSpectrumDlg::ShowHeader() {
    const SpectrumHeader& h = m_edit.Header();
    m_fileName->setText(PathFromCore(h.m_strFileName));
    m_description->setText(FromCore(h.m_strDescription));
    m_tag->setText(FromCore(h.m_strTag));
    m_expression->setText(FromCore(h.m_strExpression));
    m_width->setCurrentIndex(std::clamp(h.m_nLineWidth, kContourWidthMin, kContourWidthMax) -
                             kContourWidthMin);
    m_color->SetColor(h.m_crColor);
    m_gain->setCurrentIndex(std::clamp(h.m_nGain, 0, kGainCodeMax));
}

void CSpectrumDlg::CollectHeader() {
    SpectrumHeader& h = m_edit.Header();
    h.m_strFileName = PathToCore(m_fileName->text());
    h.m_strDescription = ToCore(m_description->text());
    h.m_strTag = ToCore(m_tag->text());
    if (m_edit.ShowsExpression())
        h.m_strExpression = ToCore(m_expression->text());
    h.m_nLineWidth = m_width->currentData().toInt();
    h.m_crColor = m_color->Color();
    if (m_edit.GainEditable())
        h.m_nGain = m_gain->currentData().toInt();
}

void CSpectrumDlg::OpenNotes() {
    CNotes notes(m_edit.Header(), m_profile, this);
    notes.exec();
}

void CSpectrumDlg::accept() {
    CollectHeader();
    if (m_edit.Ok() == SpectrumPropertiesEdit::OkResult::KeepOpen)
        return;
    QDialog::accept();
}

void CSpectrumDlg::reject() {
    m_edit.Cancel();
    QDialog::reject();
}

void CSpectrumDlg::done(int result) {
    StoreDialogPosition(*this, m_profile, ProfileDialog::ExpressionDlg);
    QDialog::done(result);
}

} // namespace vorna
