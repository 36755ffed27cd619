#include "app/props/CPropDefaultDlg.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "app/TextConvert.h"
#include "app/props/ColorButton.h"
#include "appcore/SpectraSlotsEditor.h"
#include "common/UserPrompt.h"

namespace vorna {

CPropDefaultDlg::CPropDefaultDlg(SpectraSlotsEditor& editor, int slot, UserPrompt& prompt,
                                 QWidget* parent)
    : QDialog(parent), m_editor(editor), m_slot(slot), m_prompt(prompt) {
    setObjectName("CPropDefaultDlg");
    setWindowTitle(QStringLiteral("Specify Contour and Tag"));
    auto* layout = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_width = new QComboBox(this);
    for (int w = kSlotWidthMin; w <= kSlotWidthMax; ++w)
        m_width->addItem(QString::number(w), w);
    m_width->setToolTip(QStringLiteral("Contour width"));
    m_color = new ColorButton(this);
    m_tag = new QLineEdit(this);
    m_tag->setMaxLength(kSlotTagMaxLength);
    m_tag->setToolTip(QStringLiteral("Tag name"));
    m_tag->setMinimumWidth(fontMetrics().averageCharWidth() * (kSlotTagMaxLength + 6));
    auto addRow = [&](const QString& text, QWidget* field) {
        auto* label = new QLabel(text, this);
        label->setBuddy(field);
        form->addRow(label, field);
    };
    addRow(QStringLiteral("Contour &Width:"), m_width);
    addRow(QStringLiteral("Contour &Color:"), m_color);
    addRow(QStringLiteral("&Tag:"), m_tag);
    layout->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &CPropDefaultDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    const ProfileSlot& s = editor.Slot(slot);
    m_width->setCurrentIndex(std::clamp(s.width, kSlotWidthMin, kSlotWidthMax) - kSlotWidthMin);
    m_color->SetColor(static_cast<uint32_t>(s.color));
    m_tag->setText(FromCore(s.tag));
    m_tag->setFocus();
    adjustSize();
}

void CPropDefaultDlg::accept() {
    ProfileSlot entry;
    entry.width = m_width->currentData().toInt();
    entry.color = static_cast<int>(m_color->Color());
    entry.tag = ToCore(m_tag->text());
    const std::string refusal = m_editor.SetSlot(m_slot, entry);
    if (!refusal.empty()) {
        m_prompt.message(refusal, PromptStyle::Warning);
        m_tag->setFocus();
        return;
    }
    QDialog::accept();
}

} // namespace vorna
