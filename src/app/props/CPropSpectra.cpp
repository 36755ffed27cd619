#include "app/props/CPropSpectra.h"

#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/DialogPositions.h"
#include "app/TextConvert.h"
#include "app/props/CPropDefaultDlg.h"
#include "appcore/SpectraSlotsEditor.h"
#include "display/ui/QtPlotSupport.h"
#include "settings/CSProfile.h"

namespace vorna {

namespace {
constexpr uint32_t kSeparatorColor = 0xC1C1C1;
constexpr int kSeparatorWidth = 2;
} // namespace

void SlotItemDelegate::paint(QPainter* p, const QStyleOptionViewItem& option,
                             const QModelIndex& index) const {
    QStyleOptionViewItem o = option;
    initStyleOption(&o, index);
    o.text.clear();
    const QWidget* view = option.widget;
    QStyle* style = view ? view->style() : nullptr;
    if (style)
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &o, p, view);
    const QRect r = option.rect;
    const int cw = option.fontMetrics.averageCharWidth();
    p->save();
    p->setPen(QPen(ToQColor(kSeparatorColor), kSeparatorWidth));
    p->drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    const int middle = r.top() + r.height() / 2;
    p->setPen(QPen(ToQColor(index.data(ColorRole).toUInt()), index.data(WidthRole).toInt(),
                   Qt::SolidLine, Qt::FlatCap));
    p->drawLine(r.left() + cw, middle, r.left() + 6 * cw, middle);
    const bool selected = option.state & QStyle::State_Selected;
    p->setPen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
    p->drawText(r.adjusted(8 * cw, 0, 0, -kSeparatorWidth), Qt::AlignVCenter | Qt::AlignLeft,
                index.data(TagRole).toString());
    p->restore();
}

QSize SlotItemDelegate::sizeHint(const QStyleOptionViewItem& option, const QModelIndex&) const {
    const QFontMetrics& fm = option.fontMetrics;
    return {fm.averageCharWidth() * 22, fm.height() + 8};
}

CPropSpectra::CPropSpectra(CSProfile& profile, UserPrompt& prompt, QWidget* parent)
    : QDialog(parent), m_profile(profile), m_prompt(prompt),
      m_editor(std::make_unique<SpectraSlotsEditor>(profile)) {
    setObjectName("CPropSpectra");
    setWindowTitle(QStringLiteral("Spectra"));
    auto* layout = new QVBoxLayout(this);
    m_slots = new QListWidget(this);
    m_slots->setItemDelegate(new SlotItemDelegate(m_slots));
    m_slots->setUniformItemSizes(true);
    FillSlots();
    m_slots->setMinimumHeight(m_slots->sizeHintForRow(0) * SpectraSlotsEditor::kSlots +
                              2 * m_slots->frameWidth());
    m_slots->setMinimumWidth(m_slots->sizeHintForColumn(0) + 2 * m_slots->frameWidth());
    layout->addWidget(m_slots);

    auto* smoothing = new QGroupBox(QStringLiteral("Smoothing"), this);
    auto* radios = new QHBoxLayout(smoothing);
    m_three = new QRadioButton(QStringLiteral("&Three points"), smoothing);
    m_five = new QRadioButton(QStringLiteral("&Five points"), smoothing);
    for (QRadioButton* b : {m_three, m_five}) {
        b->setToolTip(QStringLiteral("Specify either three point or five point smooth"));
        radios->addWidget(b);
    }
    (m_editor->SmoothKind() == 1 ? m_five : m_three)->setChecked(true);
    connect(m_five, &QRadioButton::toggled, this,
            [this](bool on) { m_editor->ChooseSmoothKind(on ? 1 : 0); });
    layout->addWidget(smoothing);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    // Enter on a slot opens it; it must not also close the dialog through a default button.
    buttons->button(QDialogButtonBox::Close)->setAutoDefault(false);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // A click or Enter on a slot opens it; arrow keys only move through the list.
    connect(m_slots, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { EditSlot(m_slots->row(item)); });
    connect(m_slots, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { EditSlot(m_slots->row(item)); });
    m_slots->setFocus();
    adjustSize();
    RestoreDialogPosition(*this, profile, ProfileDialog::ViewSpectraDlg);
}

CPropSpectra::~CPropSpectra() = default;

void CPropSpectra::FillSlots() {
    const int current = m_slots->currentRow();
    m_slots->clear();
    for (int i = 0; i < SpectraSlotsEditor::kSlots; ++i) {
        const ProfileSlot& s = m_editor->Slot(i);
        auto* item = new QListWidgetItem(m_slots);
        item->setData(SlotItemDelegate::WidthRole, s.width);
        item->setData(SlotItemDelegate::ColorRole, static_cast<uint32_t>(s.color));
        item->setData(SlotItemDelegate::TagRole, FromCore(s.tag));
        item->setToolTip(FromCore(s.tag));
    }
    m_slots->setCurrentRow(current < 0 ? 0 : current);
}

void CPropSpectra::EditSlot(int slot) {
    if (slot < 0 || slot >= SpectraSlotsEditor::kSlots)
        return;
    CPropDefaultDlg dlg(*m_editor, slot, m_prompt, this);
    if (dlg.exec() == QDialog::Accepted)
        FillSlots();
}

void CPropSpectra::done(int result) {
    m_editor->Close();
    StoreDialogPosition(*this, m_profile, ProfileDialog::ViewSpectraDlg);
    QDialog::done(result);
}

} // namespace vorna
