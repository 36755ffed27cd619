#include "display/PlotKeys.h"

#include <array>

namespace vorna {

namespace {

using K = PlotKey;
using A = KeyAction;
using C = PlotCommand;

constexpr std::array kBindings{
    KeyBinding{K::Right, false, A::CursorRight},
    KeyBinding{K::Left, false, A::CursorLeft},
    KeyBinding{K::Right, true, A::NextRoi},
    KeyBinding{K::Left, true, A::PreviousRoi},
    KeyBinding{K::Up, false, A::VerticalExpand},
    KeyBinding{K::Down, false, A::VerticalCompress},
    KeyBinding{K::M, false, A::HorizontalExpand},
    KeyBinding{K::N, false, A::HorizontalCompress},
    KeyBinding{K::J, false, A::ScrollChannelLeft},
    KeyBinding{K::K, false, A::ScrollChannelRight},
    KeyBinding{K::O, false, A::HalfPageLeft},
    KeyBinding{K::P, false, A::HalfPageRight},
    KeyBinding{K::L, false, A::CycleScale},
    KeyBinding{K::C, false, A::Command, C::Center},
    KeyBinding{K::H, false, A::Command, C::FullHorizontalRange},
    KeyBinding{K::V, false, A::Command, C::AutoscaleVertical},
    KeyBinding{K::U, false, A::MarkRight},
    KeyBinding{K::Y, false, A::MarkLeft},
    KeyBinding{K::U, true, A::UnmarkRight},
    KeyBinding{K::Y, true, A::UnmarkLeft},
    KeyBinding{K::R, false, A::ClearRois},
    KeyBinding{K::E, false, A::DeleteCursorRoi},
    KeyBinding{K::Z, true, A::ResetHeader},
    KeyBinding{K::Space, false, A::KeyCommand, C::StartAcquisition},
    KeyBinding{K::A, false, A::Command, C::DeleteDataAndResetTime},
    KeyBinding{K::D, false, A::KestrelCommand, C::DeleteData},
    KeyBinding{K::T, false, A::KestrelCommand, C::ResetTime},
    KeyBinding{K::F1, false, A::Command, C::HelpTopics},
    KeyBinding{K::F2, false, A::Command, C::Connect},
    KeyBinding{K::F3, false, A::Command, C::StartAcquisition},
    KeyBinding{K::F4, false, A::Command, C::UpdateData},
    KeyBinding{K::F5, false, A::Command, C::Calibrate},
    KeyBinding{K::F5, true, A::AutoCalibration},
    KeyBinding{K::F6, false, A::Command, C::SpectraList},
    KeyBinding{K::F7, false, A::Command, C::Calibration},
    KeyBinding{K::F8, false, A::ThresholdAtCursor},
    KeyBinding{K::F9, false, A::Command, C::AcquisitionSetup},
};

} // namespace

std::optional<KeyBinding> FindKeyBinding(PlotKey key, bool ctrl) {
    for (const KeyBinding& b : kBindings)
        if (b.key == key && b.ctrl == ctrl)
            return b;
    return std::nullopt;
}

} // namespace vorna
