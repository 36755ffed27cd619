#include "app/props/CNotes.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QVBoxLayout>

#include "app/DialogPositions.h"
#include "app/TextConvert.h"
#include "appcore/SpectrumNotesFields.h"
#include "settings/CSProfile.h"

namespace vorna {

CNotes::CNotes(SpectrumHeader& header, CSProfile& profile, QWidget* parent)
    : QDialog(parent), m_header(header), m_profile(profile) {
    setObjectName("CNotes");
    setWindowTitle(QStringLiteral("Additional Notes"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    form->setRowWrapPolicy(QFormLayout::WrapAllRows);
    m_general = AddNotesField(form, QStringLiteral("&General:"));
    m_system = AddNotesField(form, QStringLiteral("&Type of System:"));
    m_other = AddNotesField(form, QStringLiteral("&Performance and Other Notes:"));
    layout->addLayout(form);
    m_printNotes = new QCheckBox(QStringLiteral("Include &Notes When Printing"), this);
    m_printDpp = new QCheckBox(QStringLiteral("Include &DPP Settings When Printing"), this);
    layout->addWidget(m_printNotes);
    layout->addWidget(m_printDpp);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const SpectrumNotesFields f = NotesOf(header, profile.dppPrintConfig != 0);
    m_general->setPlainText(FromCore(f.general));
    m_system->setPlainText(FromCore(f.system));
    m_other->setPlainText(FromCore(f.other));
    m_printNotes->setChecked(f.printNotes);
    m_printDpp->setChecked(f.printDppSettings);
    adjustSize();
    RestoreDialogPosition(*this, profile, ProfileDialog::NotesDlg);
}

QPlainTextEdit* CNotes::AddNotesField(QFormLayout* form, const QString& label) {
    auto* edit = new QPlainTextEdit(this);
    edit->setTabChangesFocus(true); // Tab moves on; Enter starts a new line
    const QFontMetrics fm = edit->fontMetrics();
    edit->setMinimumSize(fm.averageCharWidth() * 60, fm.lineSpacing() * 4);
    auto* caption = new QLabel(label, this);
    caption->setBuddy(edit);
    form->addRow(caption, edit);
    return edit;
}

void CNotes::accept() {
    SpectrumNotesFields f;
    f.general = ToCore(m_general->toPlainText());
    f.system = ToCore(m_system->toPlainText());
    f.other = ToCore(m_other->toPlainText());
    f.printNotes = m_printNotes->isChecked();
    f.printDppSettings = m_printDpp->isChecked();
    ApplyNotes(f, m_header, m_profile.dppPrintConfig);
    QDialog::accept();
}

void CNotes::done(int result) {
    StoreDialogPosition(*this, m_profile, ProfileDialog::NotesDlg);
    QDialog::done(result);
}

} // namespace vorna
