#include "app/calib/CalibrateDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <mutex>

#include "analysis/AutoCalibration.h"
#include "analysis/NumberFormat.h"
#include "app/CMainFrame.h"
#include "app/DialogPositions.h"
#include "app/PlotPanes.h"
#include "app/TextConvert.h"
#include "app/calib/CalibMessages.h"
#include "app/calib/CalibrationPlotWindow.h"
#include "appcore/ProgramState.h"
#include "spectrum/CSpectraList.h"

namespace vorna {

namespace {

QPushButton* button(const char* caption, const char* name, QWidget* parent) {
    auto* b = new QPushButton(QString::fromLatin1(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAutoDefault(false);
    return b;
}

QLineEdit* field(const char* name, QWidget* parent) {
    auto* e = new QLineEdit(parent);
    e->setObjectName(QString::fromLatin1(name));
    return e;
}

} // namespace

CalibrateDialog::CalibrateDialog(ProgramState& state, CMainFrame& frame)
    : QDialog(&frame), m_state(state), m_frame(frame) {
    setObjectName("CalibrateDialog");
    setWindowTitle(QStringLiteral("Calibrate"));
    setAttribute(Qt::WA_DeleteOnClose);
    CCalibrate copy;
    int channels = 0;
    if (CSpectrum* s = state.Spectra().GetActive()) {
        auto locked = s->Lock();
        copy = locked->m_calibrate;
        channels = locked->m_nChannels;
    }
    m_editor =
        std::make_unique<CalibrationEditor>(copy, channels, state.Profile().calibEquationType);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(BuildPointsGroup());
    layout->addWidget(BuildAutoGroup());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CalibrateDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CalibrateDialog::reject);
    layout->addWidget(buttons);
    m_units->setText(FromCore(copy.Label()));
    Refresh();
    adjustSize();
    RestoreDialogPosition(*this, state.Profile(), ProfileDialog::CalibrateDlg);
    m_channel->setFocus();
}

CalibrateDialog::~CalibrateDialog() = default;

QWidget* CalibrateDialog::BuildPointsGroup() {
    auto* group = new QGroupBox(QStringLiteral("Calibration Points"), this);
    auto* grid = new QGridLayout(group);
    m_points = new QTreeWidget(group);
    m_points->setObjectName("1001");
    m_points->setRootIsDecorated(false);
    m_points->setHeaderLabels(
        {QStringLiteral("Channel"), QStringLiteral("Value"), QStringLiteral("Deviation")});
    m_points->header()->setSectionResizeMode(QHeaderView::Stretch);
    m_points->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_points->setMinimumHeight(fontMetrics().height() * 9);
    m_points->setToolTip(QStringLiteral("Calibration points: channel, value and deviation"));
    connect(m_points, &QTreeWidget::currentItemChanged, this, [this] {
        if (!m_refreshing)
            SelectRow(m_points->indexOfTopLevelItem(m_points->currentItem()));
    });
    grid->addWidget(m_points, 0, 0, 1, 2);

    auto* side = new QVBoxLayout;
    auto* add = button("&Add", "add", group);
    auto* replace = button("&Replace", "replace", group);
    auto* remove = button("R&emove", "remove", group);
    auto* removeAll = button("Re&move All", "removeAll", group);
    m_plot = button("&Plot...", "plot", group);
    add->setToolTip(QStringLiteral("Add the channel and value as a calibration point"));
    replace->setToolTip(QStringLiteral("Replace the selected point by the channel and value"));
    remove->setToolTip(QStringLiteral("Remove the selected point"));
    removeAll->setToolTip(QStringLiteral("Remove all points"));
    m_plot->setToolTip(QStringLiteral("Plot the points and the fitted curve"));
    for (QPushButton* b : {add, replace, remove, removeAll})
        side->addWidget(b);
    side->addStretch();
    side->addWidget(m_plot);
    grid->addLayout(side, 0, 2);
    connect(add, &QPushButton::clicked, this, &CalibrateDialog::AddPoint);
    connect(replace, &QPushButton::clicked, this, &CalibrateDialog::ReplacePoint);
    connect(remove, &QPushButton::clicked, this, &CalibrateDialog::RemovePoint);
    connect(removeAll, &QPushButton::clicked, this, &CalibrateDialog::RemoveAllPoints);
    connect(m_plot, &QPushButton::clicked, this, &CalibrateDialog::ShowPlot);

    m_coefficients = new QLabel(group);
    m_coefficients->setObjectName("coefficients");
    m_coefficients->setTextInteractionFlags(Qt::TextSelectableByMouse);
    grid->addWidget(m_coefficients, 1, 0, 1, 3);

    auto* form = new QFormLayout;
    m_equation = new QComboBox(group);
    m_equation->setObjectName("equation");
    m_equation->addItems({QStringLiteral("Linear"), QStringLiteral("Quadratic")});
    m_equation->setToolTip(QStringLiteral("Equation of the fit"));
    auto* equationRow = new QHBoxLayout;
    equationRow->addWidget(m_equation);
    equationRow->addWidget(new QLabel(QStringLiteral("Value = A + B*Ch"), group));
    m_cTerm = new QLabel(QStringLiteral("+ C*Ch\u00b2"), group);
    m_cTerm->setObjectName("cTerm");
    equationRow->addWidget(m_cTerm);
    equationRow->addStretch();
    auto* equationLabel = new QLabel(QStringLiteral("E&quation:"), group);
    equationLabel->setBuddy(m_equation);
    form->addRow(equationLabel, equationRow);
    connect(m_equation, &QComboBox::currentIndexChanged, this, &CalibrateDialog::EquationChosen);

    m_channel = field("channel", group);
    m_channel->setToolTip(QStringLiteral("Channel of the calibration point"));
    auto* centroid = button("&Centroid", "centroid", group);
    auto* cursor = button("C&ursor", "cursor", group);
    centroid->setToolTip(QStringLiteral("Centroid of the selected ROI"));
    cursor->setToolTip(QStringLiteral("Channel at the cursor"));
    auto* channelRow = new QHBoxLayout;
    channelRow->addWidget(m_channel);
    channelRow->addWidget(centroid);
    channelRow->addWidget(cursor);
    auto* channelLabel = new QLabel(QStringLiteral("C&hannel:"), group);
    channelLabel->setBuddy(m_channel);
    form->addRow(channelLabel, channelRow);
    connect(centroid, &QPushButton::clicked, this, &CalibrateDialog::TakeCentroid);
    connect(cursor, &QPushButton::clicked, this, &CalibrateDialog::TakeCursor);

    m_value = field("value", group);
    m_value->setToolTip(QStringLiteral("Value at the channel"));
    auto* valueLabel = new QLabel(QStringLiteral("&Value:"), group);
    valueLabel->setBuddy(m_value);
    form->addRow(valueLabel, m_value);

    m_units = field("units", group);
    m_units->setToolTip(QStringLiteral("Unit of the calibrated values"));
    auto* unitsLabel = new QLabel(QStringLiteral("Un&its:"), group);
    unitsLabel->setBuddy(m_units);
    form->addRow(unitsLabel, m_units);
    grid->addLayout(form, 2, 0, 1, 3);
    return group;
}

QWidget* CalibrateDialog::BuildAutoGroup() {
    const CSProfile& p = m_state.Profile();
    auto* group = new QGroupBox(QStringLiteral("Auto Calibration"), this);
    auto* form = new QFormLayout(group);
    m_autoUnits = field("autoUnits", group);
    m_autoValue = field("autoValue", group);
    m_autoValue2 = field("autoValue2", group);
    m_autoMethod = new QComboBox(group);
    m_autoMethod->setObjectName("autoMethod");
    m_autoMethod->addItems(
        {QStringLiteral("Centroid"), QStringLiteral("Cursor"), QStringLiteral("2 Peak Centroid")});
    m_autoUnits->setToolTip(QStringLiteral("Unit of the automatic calibration"));
    m_autoValue->setToolTip(QStringLiteral("Value of the (first) calibration peak"));
    m_autoValue2->setToolTip(QStringLiteral("Value of the second calibration peak"));
    m_autoMethod->setToolTip(QStringLiteral("Where Ctrl+F5 takes the calibration channels"));
    auto row = [&](const char* caption, QWidget* w) {
        auto* label = new QLabel(QString::fromLatin1(caption), group);
        label->setBuddy(w);
        form->addRow(label, w);
    };
    row("U&nits:", m_autoUnits);
    row("Va&lue:", m_autoValue);
    row("Peak &2 Value:", m_autoValue2);
    row("Metho&d:", m_autoMethod);
    m_autoUnits->setText(FromCore(p.autoCalUnits));
    m_autoValue->setText(FromCore(p.autoCalValue));
    m_autoValue2->setText(FromCore(p.autoCalValue2));
    const int method = p.autoCalMethod >= 0 && p.autoCalMethod <= 2 ? p.autoCalMethod : 0;
    m_autoMethod->setCurrentIndex(method);
    MethodChosen(method);
    connect(m_autoMethod, &QComboBox::currentIndexChanged, this, &CalibrateDialog::MethodChosen);
    return group;
}

void CalibrateDialog::Refresh() {
    m_refreshing = true;
    m_points->clear();
    for (const std::string& row : m_editor->Rows()) {
        const QStringList cells = QString::fromStdString(row).split(QLatin1Char('\t'));
        m_points->addTopLevelItem(new QTreeWidgetItem(cells));
    }
    const int selected = m_editor->Selected();
    if (selected >= 0 && selected < m_points->topLevelItemCount())
        m_points->setCurrentItem(m_points->topLevelItem(selected));
    m_equation->setCurrentIndex(m_editor->Equation());
    m_equation->setEnabled(m_editor->EquationEnabled());
    m_cTerm->setVisible(m_editor->Equation() == static_cast<int>(CalibEquation::Quadratic));
    m_coefficients->setText(QString::fromStdString(m_editor->CoefficientText()));
    m_plot->setEnabled(m_editor->PlotEnabled());
    m_refreshing = false;
}

void CalibrateDialog::Act(const std::vector<std::string>& messages) {
    Refresh();
    ShowMessages(this, messages);
}

void CalibrateDialog::SelectRow(int row) {
    auto [channel, value] = m_editor->SelectRow(row);
    if (row < 0)
        return;
    m_channel->setText(QString::fromStdString(channel));
    m_value->setText(QString::fromStdString(value));
}

void CalibrateDialog::EquationChosen(int index) {
    if (!m_refreshing && index >= 0)
        Act(m_editor->SetEquation(index));
}

void CalibrateDialog::MethodChosen(int index) {
    m_autoValue2->setEnabled(index == static_cast<int>(AutoCalMethod::TwoPeakCentroid));
}

void CalibrateDialog::AddPoint() {
    Act(m_editor->Add(ToCore(m_channel->text()), ToCore(m_value->text())));
}

void CalibrateDialog::RemovePoint() {
    Act(m_editor->Remove());
}

void CalibrateDialog::RemoveAllPoints() {
    Act(m_editor->RemoveAll());
}

void CalibrateDialog::ReplacePoint() {
    Act(m_editor->Replace(ToCore(m_channel->text()), ToCore(m_value->text())));
}

void CalibrateDialog::TakeCentroid() {
    CSpectrum* s = m_state.Spectra().GetActive();
    if (!s)
        return;
    auto locked = s->Lock();
    const int selected = locked->m_roi.GetSelected();
    if (selected >= 0 && selected < locked->m_roi.GetCount())
        m_channel->setText(QString::fromStdString(FormatNumber(locked->m_roi[selected].centroid)));
}

void CalibrateDialog::TakeCursor() {
    CSpectrum* s = m_state.Spectra().GetActive();
    if (!s)
        return;
    const int channel = s->FromAbsoluteChannel(m_frame.Panes().CursorAbsolute());
    m_channel->setText(QString::fromStdString(FormatNumber(channel)));
}

void CalibrateDialog::ShowPlot() {
    CalibrationPlotWindow plot(m_editor->Calibration(), this);
    plot.exec();
}

// Enter in the point fields adds the point instead of closing the dialog.
void CalibrateDialog::keyPressEvent(QKeyEvent* event) {
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && (focusWidget() == m_channel || focusWidget() == m_value)) {
        event->accept();
        AddPoint();
        return;
    }
    QDialog::keyPressEvent(event);
}

// A window left open when the program ends is never closed: the profile keeps where it is now.
void CalibrateDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (isVisible())
        StorePosition();
}

void CalibrateDialog::StorePosition() {
    StoreDialogPosition(*this, m_state.Profile(), ProfileDialog::CalibrateDlg);
}

void CalibrateDialog::accept() {
    if (CSpectrum* s = m_state.Spectra().GetActive()) {
        {
            auto locked = s->Lock();
            locked->m_calibrate = m_editor->Accept(ToCore(m_units->text()));
        }
        DisplaySink& display = m_state.Display();
        display.SpectrumActivated(*s);
        display.RefreshInfoPane();
        display.RedrawPlot();
    }
    CSProfile& p = m_state.Profile();
    p.autoCalUnits = ToCore(m_autoUnits->text());
    p.autoCalValue = ToCore(m_autoValue->text());
    p.autoCalValue2 = ToCore(m_autoValue2->text());
    p.autoCalMethod = m_autoMethod->currentIndex();
    StorePosition();
    QDialog::accept();
}

void CalibrateDialog::reject() {
    StorePosition();
    QDialog::reject();
}

} // namespace vorna
