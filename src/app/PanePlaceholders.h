#pragma once
// Stand-ins for the plot and the navigation pane in their splitter slots, used until the
// display widgets are wired in: they keep the layout, the focus and the context menu working.

#include <QWidget>

namespace vorna {

class ProgramState;

class PlotPlaceholder : public QWidget {
    Q_OBJECT
public:
    PlotPlaceholder(ProgramState& state, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProgramState& m_state;
};

class NavigationPlaceholder : public QWidget {
    Q_OBJECT
public:
    NavigationPlaceholder(ProgramState& state, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ProgramState& m_state;
};

} // namespace vorna
