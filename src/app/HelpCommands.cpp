// The Help menu, the start dialog and context help.

#include <QWhatsThis>

#include "app/AboutDialog.h"
#include "app/CMainFrame.h"
#include "app/HelpWindow.h"
#include "app/KeyboardMapDialog.h"
#include "app/ShellContext.h"
#include "app/StartDialog.h"
#include "appcore/ProgramState.h"

namespace vorna {

void RegisterHelpCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::HelpTopics), [&c] {
        auto* help = new HelpWindow(&c.frame);
        help->show();
    });
    r.Register(ToInt(C::KeyboardMap), [&c] {
        KeyboardMapDialog dialog(c.frame);
        dialog.exec();
    });
    r.Register(ToInt(C::About), [&c] {
        AboutDialog dialog(c.state, &c.frame, c.frame.Dpp());
        dialog.exec();
    });
    r.Register(ToInt(C::OpenStartDialog), [&c] {
        if (!c.state.Profile().startDlgShow)
            return;
        StartDialog dialog(c.state, c.frame);
        dialog.exec();
    });
    r.Register(ToInt(C::ContextHelp), [] { QWhatsThis::enterWhatsThisMode(); });
}

} // namespace vorna
