#include "app/KeyboardMapDialog.h"

#include <QVBoxLayout>
#include <algorithm>

#include "app/CListCtrlEx.h"
#include "app/CMainFrame.h"
#include "app/ToolbarIcons.h"
#include "appcore/CommandTable.h"
#include "appcore/KeyboardMap.h"
#include "common/NumberText.h"
#include "output/core/OutputTexts.h"

namespace vorna {

KeyboardMapDialog::KeyboardMapDialog(CMainFrame& frame) : QDialog(&frame) {
    setObjectName("KeyboardMapDialog");
    setWindowTitle(QString::fromLatin1(kKeyboardMapTitle));
    setWindowIcon(ProgramIcon());
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    m_list = new CListCtrlEx(this);
    m_list->setObjectName("1207");
    layout->addWidget(m_list);
    m_list->Model().SetColumns(
        {{QStringLiteral("Shortcut"), QStringLiteral("Keyboard Shortcut"), 95},
         {QStringLiteral("Description"), QStringLiteral("Shortcut Description"), 160}});
    m_list->OfferCopy(*this, QString::fromLatin1(FindCommand(CommandId::KeyboardCopy)->caption),
                      QIcon(CommandIcon(CommandId::KeyboardCopy)));
    m_list->OfferPrint(*this, QString::fromLatin1(FindCommand(CommandId::KeyboardPrint)->caption),
                       QIcon(CommandIcon(CommandId::KeyboardPrint)), [this] { PrintList(); });
    Fill();
    resize(std::max(420, m_list->ContentWidth() + 2 * layout->contentsMargins().left()), 520);
    // Centred on the main window.
    move(frame.geometry().center() - rect().center());
}

void KeyboardMapDialog::Fill() {
    std::vector<QStringList> rows;
    for (const KeyboardMapRow& r : KeyboardMapRows())
        rows.push_back({QString::fromLatin1(r.shortcut), QString::fromLatin1(r.description)});
    m_list->Model().SetRows(std::move(rows));
    m_list->ResetSort();
    m_list->ApplyColumnWidths();
}

bool KeyboardMapDialog::PrintList() {
    return m_list->PrintForUser(*this, kKeyboardPrintTitle);
}

bool KeyboardMapDialog::CopyList() {
    return m_list->CopyForUser(*this);
}

} // namespace vorna
