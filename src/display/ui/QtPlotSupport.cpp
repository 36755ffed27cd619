#include "display/ui/QtPlotSupport.h"

namespace vorna {

std::optional<PlotKey> ToPlotKey(int qtKey) {
    switch (qtKey) {
    case Qt::Key_Left:
        return PlotKey::Left;
    case Qt::Key_Right:
        return PlotKey::Right;
    case Qt::Key_Up:
        return PlotKey::Up;
    case Qt::Key_Down:
        return PlotKey::Down;
    case Qt::Key_Space:
        return PlotKey::Space;
    case Qt::Key_A:
        return PlotKey::A;
    case Qt::Key_C:
        return PlotKey::C;
    case Qt::Key_D:
        return PlotKey::D;
    case Qt::Key_E:
        return PlotKey::E;
    case Qt::Key_H:
        return PlotKey::H;
    case Qt::Key_J:
        return PlotKey::J;
    case Qt::Key_K:
        return PlotKey::K;
    case Qt::Key_L:
        return PlotKey::L;
    case Qt::Key_M:
        return PlotKey::M;
    case Qt::Key_N:
        return PlotKey::N;
    case Qt::Key_O:
        return PlotKey::O;
    case Qt::Key_P:
        return PlotKey::P;
    case Qt::Key_R:
        return PlotKey::R;
    case Qt::Key_T:
        return PlotKey::T;
    case Qt::Key_U:
        return PlotKey::U;
    case Qt::Key_V:
        return PlotKey::V;
    case Qt::Key_Y:
        return PlotKey::Y;
    case Qt::Key_Z:
        return PlotKey::Z;
    case Qt::Key_F1:
        return PlotKey::F1;
    case Qt::Key_F2:
        return PlotKey::F2;
    case Qt::Key_F3:
        return PlotKey::F3;
    case Qt::Key_F4:
        return PlotKey::F4;
    case Qt::Key_F5:
        return PlotKey::F5;
    case Qt::Key_F6:
        return PlotKey::F6;
    case Qt::Key_F7:
        return PlotKey::F7;
    case Qt::Key_F8:
        return PlotKey::F8;
    case Qt::Key_F9:
        return PlotKey::F9;
    default:
        return std::nullopt;
    }
}

} // namespace vorna
