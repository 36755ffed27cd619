// Windows of the program's shell.

#include "Gallery.h"
#include "app/CMainFrame.h"
#include "appcore/CommandIds.h"

namespace vorna::gallery {
namespace {

void Run(CMainFrame& frame, CommandId id) {
    frame.Execute(ToInt(id));
}

const Registrar about{{"about", [](CMainFrame& f, ProgramState&) { Run(f, CommandId::About); }}};
const Registrar keyboardMap{
    {"keyboard-map", [](CMainFrame& f, ProgramState&) { Run(f, CommandId::KeyboardMap); }}};

} // namespace
} // namespace vorna::gallery
