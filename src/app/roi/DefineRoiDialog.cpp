#include "app/roi/DefineRoiDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "analysis/RoiDefineEditor.h"
#include "app/CMainFrame.h"
#include "app/DialogPositions.h"
#include "app/TextConvert.h"
#include "app/ToolbarIcons.h"
#include "app/roi/ReportWindow.h"
#include "appcore/ProgramState.h"

namespace vorna {

DefineRoiDialog::DefineRoiDialog(ProgramState& state, CMainFrame& frame, CSpectrum& spectrum)
    : QDialog(&frame), m_state(state), m_frame(frame), m_spectrum(&spectrum),
      m_editor(std::make_unique<RoiDefineEditor>(spectrum,
                                                 state.Environment().settings.calibrateEnable)) {
    setObjectName("DefineRoiDialog");
    setWindowTitle(QStringLiteral("Define Regions of Interest"));
    setWindowIcon(ProgramIcon());
    setAttribute(Qt::WA_DeleteOnClose);
    setModal(false);

    auto* layout = new QGridLayout(this);
    auto* listLabel =
        new QLabel(QStringLiteral("Re&gions (%1):").arg(FromCore(m_editor->UnitLabel())), this);
    m_list = new QListWidget(this);
    m_list->setObjectName("RoiList");
    listLabel->setBuddy(m_list);
    m_list->setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('0')) * 24);
    layout->addWidget(listLabel, 0, 0);
    layout->addWidget(m_list, 1, 0, 2, 1);
    layout->addWidget(BuildFields(), 1, 1);
    layout->addWidget(BuildButtons(), 2, 1);
    auto* box = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(box, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(box, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(box, 3, 0, 1, 2);
    layout->setRowStretch(2, 1);
    connect(m_list, &QListWidget::currentRowChanged, this, &DefineRoiDialog::RowChosen);

    setTabOrder(m_list, m_start);
    setTabOrder(m_start, m_end);
    FillList();
    adjustSize();
    RestoreDialogPosition(*this, state.Profile(), ProfileDialog::RoiDlg);
}

DefineRoiDialog::~DefineRoiDialog() = default;

QWidget* DefineRoiDialog::BuildFields() {
    auto* group = new QGroupBox(QStringLiteral("Region"), this);
    auto* form = new QFormLayout(group);
    m_start = new QLineEdit(group);
    m_start->setObjectName("Start");
    m_end = new QLineEdit(group);
    m_end->setObjectName("End");
    const int width = fontMetrics().horizontalAdvance(QLatin1Char('0')) * 12;
    m_start->setMinimumWidth(width);
    m_end->setMinimumWidth(width);
    m_start->setToolTip(QStringLiteral("First position of the region"));
    m_end->setToolTip(QStringLiteral("Last position of the region"));
    form->addRow(QStringLiteral("&Start:"), m_start);
    form->addRow(QStringLiteral("E&nd:"), m_end);
    return group;
}

QWidget* DefineRoiDialog::BuildButtons() {
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    auto add = [&](const char* name, const QString& caption, auto slot) {
        auto* b = new QPushButton(caption, panel);
        b->setObjectName(QLatin1String(name));
        b->setAutoDefault(false);
        connect(b, &QPushButton::clicked, this, slot);
        column->addWidget(b);
        return b;
    };
    add("Add", QStringLiteral("&Add"),
        [this] { RunEdit(m_editor->Add(ToCore(m_start->text()), ToCore(m_end->text()))); });
    add("Replace", QStringLiteral("Re&place"),
        [this] { RunEdit(m_editor->Replace(ToCore(m_start->text()), ToCore(m_end->text()))); });
    add("Remove", QStringLiteral("&Remove"), [this] {
        m_editor->Remove();
        FillList();
    });
    add("RemoveAll", QStringLiteral("R&emove All"), [this] {
        m_editor->RemoveAll();
        FillList();
    });
    column->addSpacing(fontMetrics().height() / 2);
    add("Details", QStringLiteral("&Details..."), [this] { ShowDetails(); });
    column->addStretch(1);
    return panel;
}

QPushButton* DefineRoiDialog::Button(const QString& objectName) const {
    return findChild<QPushButton*>(objectName);
}

void DefineRoiDialog::ShowFieldMessage(const std::string& message) {
    QMessageBox::warning(this, windowTitle(), FromCore(message));
    QLineEdit* field = message == kInvalidEndPosition ? m_end : m_start;
    field->setFocus();
    field->selectAll();
}

void DefineRoiDialog::RunEdit(const std::string& message) {
    if (!message.empty()) {
        ShowFieldMessage(message);
        return;
    }
    FillList();
}

void DefineRoiDialog::FillList() {
    // Refilling must not read the fields back: they keep what the user typed.
    QSignalBlocker block(m_list);
    m_list->clear();
    for (const std::string& row : m_editor->Rows())
        m_list->addItem(FromCore(row));
    m_list->setCurrentRow(m_editor->Selected());
}

void DefineRoiDialog::RowChosen(int row) {
    if (row < 0)
        return;
    const auto [start, end] = m_editor->SelectRow(row);
    m_start->setText(FromCore(start));
    m_end->setText(FromCore(end));
}

CSpectrum* DefineRoiDialog::Spectrum() const {
    return m_state.Spectra().Find(m_spectrum) >= 0 ? m_spectrum : nullptr;
}

void DefineRoiDialog::ShowDetails() {
    CSpectrum* spectrum = Spectrum();
    if (!spectrum)
        return;
    const RoiReport report =
        m_editor->Details(*spectrum, m_state.Environment().settings, &m_state.Library());
    ShowRoiReport(report, this);
}

void DefineRoiDialog::accept() {
    // A spectrum closed while the dialog was open takes nothing.
    if (CSpectrum* spectrum = Spectrum()) {
        const bool active = m_state.Spectra().GetActive() == spectrum;
        m_editor->Accept(RoiContext{*spectrum, m_state.Spectra().Environment(), active},
                         m_state.Environment().settings);
        m_frame.RefreshPanes();
    }
    QDialog::accept();
}

// A window left open when the program ends is never closed: the profile keeps where it is now.
void DefineRoiDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    if (isVisible())
        StoreDialogPosition(*this, m_state.Profile(), ProfileDialog::RoiDlg);
}

void DefineRoiDialog::done(int result) {
    StoreDialogPosition(*this, m_state.Profile(), ProfileDialog::RoiDlg);
    QDialog::done(result);
}

} // namespace vorna
