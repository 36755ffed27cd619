#include "app/prefs/CPlotPanePage.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QPainter>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/InfoPane.h"

namespace vorna {

namespace {

constexpr Qt::PenStyle kGridStyles[] = {Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine,
                                        Qt::DashDotDotLine};

QPen gridPen(int style, int bgr) {
    const int index = style >= 0 && style < 5 ? style : 0;
    return QPen(ColorFromRgbWord(bgr), 1, kGridStyles[index]);
}

QSpinBox* cells() {
    auto* spin = new QSpinBox;
    spin->setRange(0, 100);
    return spin;
}

} // namespace

CPlotPanePage::CPlotPanePage(PreferencesEnv& env, QWidget* parent)
    : PreferencesPageWidget(env, PreferencesPage::Plot, parent),
      m_grid(new QCheckBox(QStringLiteral("G&rid"))),
      m_ticks(new QCheckBox(QStringLiteral("&Ticks"))), m_horz(cells()), m_vert(cells()),
      m_style(new QComboBox), m_gridColour(Colour(&PlotPageValues::gridColor)),
      m_roiColour(Colour(&PlotPageValues::roiColor)),
      m_selectColour(Colour(&PlotPageValues::roiSelectColor)),
      m_showAll(new QCheckBox(QStringLiteral("Show A&ll"))),
      m_showSelected(new QCheckBox(QStringLiteral("Show S&elected"))),
      m_background(Colour(&PlotPageValues::backgroundColor)),
      m_fill(Colour(&PlotPageValues::fillColor)),
      m_fillEnable(new QCheckBox(QStringLiteral("E&nable Fill"))),
      m_autoscale(new QCheckBox(QStringLiteral("A&uto Scale Vertical"))) {
    m_style->setIconSize(QSize(80, 16));
    for (int i = 0; i < 5; ++i)
        m_style->addItem(QString());
    auto* layout = new QGridLayout(this);
    layout->addWidget(BuildGridGroup(), 0, 0, 2, 1);
    layout->addWidget(BuildRoiGroup(), 0, 1);
    layout->addWidget(BuildPlotGroup(), 1, 1);
    layout->addWidget(m_autoscale, 2, 0, 1, 2);
    layout->setRowStretch(3, 1);

    m_background->setObjectName(QStringLiteral("backgroundColor"));
    m_grid->setToolTip(QStringLiteral("Enable or disable grids"));
    m_ticks->setToolTip(QStringLiteral("Enable or disable tick markers"));
    m_horz->setToolTip(QStringLiteral("Number of horizontal cells in grid"));
    m_vert->setToolTip(QStringLiteral("Number of veritical cells in grid"));
    m_fillEnable->setToolTip(QStringLiteral("Enable or disable the plot fill"));
    m_showAll->setToolTip(QStringLiteral("Enable or disable show all ROI"));
    m_showSelected->setToolTip(QStringLiteral("Enable or disable show selected ROI"));
    m_autoscale->setToolTip(QStringLiteral("Enable Plot Vertical AutoScaling"));

    for (QCheckBox* c : {m_grid, m_ticks, m_showAll, m_showSelected, m_fillEnable, m_autoscale})
        Track(c);
    Track(m_horz);
    Track(m_vert);
    Track(m_style);
    connect(m_style, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_env.model.plot.gridStyle = index;
        DrawGridSamples();
    });
    Load();
}

ColourButton* CPlotPanePage::Colour(int PlotPageValues::*field) {
    auto* button = new ColourButton;
    connect(button, &ColourButton::colourChosen, this, [this, field](int bgr) {
        m_env.model.plot.*field = bgr;
        Modified();
        DrawGridSamples();
    });
    return button;
}

QWidget* CPlotPanePage::BuildGridGroup() {
    auto* box = new QGroupBox(QStringLiteral(" Grid "));
    auto* form = new QFormLayout(box);
    form->addRow(m_grid);
    form->addRow(m_ticks);
    form->addRow(QStringLiteral("&Horizontal Cells:"), m_horz);
    form->addRow(QStringLiteral("&Vertical Cells:"), m_vert);
    form->addRow(QStringLiteral("&Style:"), m_style);
    form->addRow(QStringLiteral("&Color:"), m_gridColour);
    return box;
}

QWidget* CPlotPanePage::BuildRoiGroup() {
    auto* box = new QGroupBox(QStringLiteral(" ROI "));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("Color - All:"), m_roiColour);
    form->addRow(QStringLiteral("Color - Selected:"), m_selectColour);
    form->addRow(m_showAll);
    form->addRow(m_showSelected);
    return box;
}

QWidget* CPlotPanePage::BuildPlotGroup() {
    auto* box = new QGroupBox(QStringLiteral(" Plot "));
    auto* form = new QFormLayout(box);
    form->addRow(QStringLiteral("&Background Color:"), m_background);
    form->addRow(QStringLiteral("Plot &Fill Color:"), m_fill);
    form->addRow(m_fillEnable);
    return box;
}

void CPlotPanePage::DrawGridSamples() {
    const PlotPageValues& p = m_env.model.plot;
    const QSize size = m_style->iconSize();
    for (int i = 0; i < 5; ++i) {
        QPixmap sample(size);
        sample.fill(Qt::transparent);
        QPainter painter(&sample);
        painter.setPen(gridPen(i, p.gridColor));
        painter.drawLine(2, size.height() / 2, size.width() - 3, size.height() / 2);
        m_style->setItemIcon(i, sample);
    }
    QPixmap cross(40, 20);
    cross.fill(Qt::white);
    QPainter painter(&cross);
    painter.setPen(gridPen(p.gridStyle, p.gridColor));
    painter.drawLine(0, 10, 39, 10);
    painter.drawLine(20, 0, 20, 19);
    m_gridColour->setIcon(cross);
    m_gridColour->setIconSize(cross.size());
}

void CPlotPanePage::Fill() {
    const PlotPageValues& p = m_env.model.plot;
    m_grid->setChecked(p.gridEnable);
    m_ticks->setChecked(p.ticksEnable);
    m_horz->setValue(p.horzCells);
    m_vert->setValue(p.vertCells);
    m_style->setCurrentIndex(p.gridStyle >= 0 && p.gridStyle < 5 ? p.gridStyle : 0);
    m_gridColour->SetColour(p.gridColor);
    m_roiColour->SetColour(p.roiColor);
    m_selectColour->SetColour(p.roiSelectColor);
    m_showAll->setChecked(p.showAllRoi);
    m_showSelected->setChecked(p.showRoi);
    m_background->SetColour(p.backgroundColor);
    m_fill->SetColour(p.fillColor);
    m_fillEnable->setChecked(p.fillEnable);
    m_autoscale->setChecked(p.autoscale);
    DrawGridSamples();
}

void CPlotPanePage::Collect() {
    PlotPageValues& p = m_env.model.plot;
    p.gridEnable = m_grid->isChecked();
    p.ticksEnable = m_ticks->isChecked();
    p.horzCells = m_horz->value();
    p.vertCells = m_vert->value();
    p.gridStyle = m_style->currentIndex();
    p.showAllRoi = m_showAll->isChecked();
    p.showRoi = m_showSelected->isChecked();
    p.fillEnable = m_fillEnable->isChecked();
    p.autoscale = m_autoscale->isChecked();
}

} // namespace vorna
