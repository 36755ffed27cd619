#pragma once
// The "Spectra" dialog (CPropSpectra): the ten spectrum display slots, each drawn with a sample
// of its line and its tag, and the smoothing kind. Choosing a slot opens "Specify Contour and
// Tag"; the smoothing kind is stored when the dialog closes.

#include <QDialog>
#include <QStyledItemDelegate>
#include <memory>

class QListWidget;
class QRadioButton;

namespace vorna {

class CSProfile;
class SpectraSlotsEditor;
class UserPrompt;

// Draws one slot: separator, sample line in the slot's width and colour, tag.
class SlotItemDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;
    enum Role { WidthRole = Qt::UserRole + 1, ColorRole, TagRole };
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

class CPropSpectra : public QDialog {
    Q_OBJECT
public:
    CPropSpectra(CSProfile& profile, UserPrompt& prompt, QWidget* parent);
    ~CPropSpectra() override;

    QListWidget* Slots() const { return m_slots; }
    QRadioButton* ThreePoints() const { return m_three; }
    QRadioButton* FivePoints() const { return m_five; }
    // Opens "Specify Contour and Tag" for a slot and redraws the list after OK.
    void EditSlot(int slot);

    void done(int result) override;

private:
    void FillSlots();

    CSProfile& m_profile;
    UserPrompt& m_prompt;
    std::unique_ptr<SpectraSlotsEditor> m_editor;
    QListWidget* m_slots;
    QRadioButton* m_three;
    QRadioButton* m_five;
};

} // namespace vorna
