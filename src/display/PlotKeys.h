#pragma once
// The plot window's keyboard as data: which key does what.

#include <optional>

namespace vorna {

// The keys the plot handles; the widget translates its toolkit's key codes into these.
enum class PlotKey {
    Left,
    Right,
    Up,
    Down,
    Space,
    A,
    C,
    D,
    E,
    H,
    J,
    K,
    L,
    M,
    N,
    O,
    P,
    R,
    T,
    U,
    V,
    Y,
    Z,
    F1,
    F2,
    F3,
    F4,
    F5,
    F6,
    F7,
    F8,
    F9,
};

// Main-window command ids the plot's keys and buttons ask for.
enum class PlotCommand : int {
    StartAcquisition = 32907,
    UpdateData = 32833,
    DeleteData = 32834,
    ResetTime = 32835,
    DeleteDataAndResetTime = 32954,
    Connect = 32836,
    AcquisitionSetup = 32772,
    Calibrate = 32842,
    SpectraList = 32884,
    Calibration = 32919,
    HelpTopics = 57667,
    PreviousView = 32937,
    SelectView = 32938,
    EditRoi = 32939,
    NextRoi = 32888,
    PreviousRoi = 32887,
    ClearAllRois = 32961,
    ClearCursorRoi = 32963,
    Center = 32891,
    FullHorizontalRange = 32906,
    AutoscaleVertical = 32905,
    ScaleLinear = 32898,
    ScaleLogarithmic = 32783,
    ScaleSquareRoot = 32899,
    ShowRoi = 32886,
    ShowAllRoi = 32885,
};

enum class KeyAction {
    CursorRight,
    CursorLeft,
    NextRoi,
    PreviousRoi,
    VerticalExpand,
    VerticalCompress,
    HorizontalExpand,
    HorizontalCompress,
    ScrollChannelLeft,
    ScrollChannelRight,
    HalfPageLeft,
    HalfPageRight,
    CycleScale,
    MarkRight,
    MarkLeft,
    UnmarkRight,
    UnmarkLeft,
    ClearRois,
    DeleteCursorRoi,
    ResetHeader,
    Command,        // a main-window command (see `command`), as its menu item would
    KeyCommand,     // the command with the key's own follow-up (the Space bar)
    KestrelCommand, // a command with the key's follow-up, taken by the Kestrel family only
    AutoCalibration,
    ThresholdAtCursor,
};

struct KeyBinding {
    PlotKey key;
    bool ctrl;
    KeyAction action;
    PlotCommand command = PlotCommand::StartAcquisition; // for the command actions
};

// The action bound to a key, or nothing (the key goes to default processing).
std::optional<KeyBinding> FindKeyBinding(PlotKey key, bool ctrl);

} // namespace vorna
