#include "app/KeyboardMapDialog.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QMessageBox>
#include <QVBoxLayout>
#include <algorithm>

#include "app/CListCtrlEx.h"
#include "app/CMainFrame.h"
#include "app/QtTextClipboard.h"
#include "app/ToolbarIcons.h"
#include "appcore/CommandTable.h"
#include "appcore/KeyboardMap.h"
#include "common/NumberText.h"

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

bool KeyboardMapDialog::CopyList() {
    QtTextClipboard clipboard;
    const int result = m_list->CopyToClipboard(clipboard);
    if (result < 0) {
        QMessageBox::warning(
            this, windowTitle(),
            QString::fromStdString(Format("Clipboard Error - iError = %d", result)));
        return false;
    }
    return true;
}

void KeyboardMapDialog::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(QStringLiteral("Keyboard"), this);
    const bool any = m_list->RowCount() > 0;
    // Printing the list belongs to the printing work; only the copy is offered here.
    QAction* copy =
        menu.addAction(QIcon(CommandIcon(CommandId::KeyboardCopy)),
                       QString::fromLatin1(FindCommand(CommandId::KeyboardCopy)->caption));
    copy->setEnabled(any);
    connect(copy, &QAction::triggered, this, [this] { CopyList(); });
    menu.exec(event->globalPos());
}

} // namespace vorna
