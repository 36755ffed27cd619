#pragma once
// The window gallery: the program with the example spectrum open, each registered window opened
// the way a user opens it and saved as a picture. A shot file registers its windows with a
// static `Registrar`; the gallery opens them in name order.

#include <functional>
#include <string>

namespace vorna {
class CMainFrame;
class ProgramState;
} // namespace vorna

namespace vorna::gallery {

struct Shot {
    std::string name; // picture file name without ".png"
    // Opens the window. A modal dialog may block here in exec(): the gallery grabs the active
    // modal widget, or else the newest visible top-level window, and then closes it.
    std::function<void(CMainFrame& frame, ProgramState& state)> open;
};

void Register(Shot shot);

struct Registrar {
    explicit Registrar(Shot shot) { Register(std::move(shot)); }
};

} // namespace vorna::gallery
