#pragma once
// The Plot page: grid, ticks, ROI and plot colours, fill and vertical autoscale.

#include "app/prefs/PreferencesPageWidget.h"

class QCheckBox;
class QComboBox;
class QSpinBox;

namespace vorna {

class CPlotPanePage : public PreferencesPageWidget {
    Q_OBJECT
public:
    CPlotPanePage(PreferencesEnv& env, QWidget* parent = nullptr);
    void Collect() override;

private:
    void Fill() override;
    QWidget* BuildGridGroup();
    QWidget* BuildRoiGroup();
    QWidget* BuildPlotGroup();
    // The style list's samples and the grid colour button's cross follow style and colour.
    void DrawGridSamples();
    ColourButton* Colour(int PlotPageValues::*field);

    QCheckBox* m_grid;
    QCheckBox* m_ticks;
    QSpinBox* m_horz;
    QSpinBox* m_vert;
    QComboBox* m_style;
    ColourButton* m_gridColour;
    ColourButton* m_roiColour;
    ColourButton* m_selectColour;
    QCheckBox* m_showAll;
    QCheckBox* m_showSelected;
    ColourButton* m_background;
    ColourButton* m_fill;
    QCheckBox* m_fillEnable;
    QCheckBox* m_autoscale;
};

} // namespace vorna
