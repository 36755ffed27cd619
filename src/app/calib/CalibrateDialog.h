#pragma once
// The Calibrate dialog (modeless, one at a time): edits a copy of the active spectrum's
// calibration point by point, shows the fit, and keeps the Auto Calibration fields.

#include <QDialog>
#include <memory>

#include "analysis/CalibrationEditor.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeWidget;

namespace vorna {

class CMainFrame;
class ProgramState;

class CalibrateDialog : public QDialog {
    Q_OBJECT
public:
    CalibrateDialog(ProgramState& state, CMainFrame& frame);
    ~CalibrateDialog() override;

    const CalibrationEditor& Editor() const { return *m_editor; }

    // The buttons, also for tests.
    void AddPoint();
    void RemovePoint();
    void RemoveAllPoints();
    void ReplacePoint();
    void TakeCentroid();
    void TakeCursor();
    void ShowPlot();
    void accept() override;
    void reject() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;

private:
    QWidget* BuildPointsGroup();
    QWidget* BuildAutoGroup();
    void SelectRow(int row);
    void EquationChosen(int index);
    void MethodChosen(int index);
    void Refresh();
    void Act(const std::vector<std::string>& messages);
    void StorePosition();

    ProgramState& m_state;
    CMainFrame& m_frame;
    std::unique_ptr<CalibrationEditor> m_editor;
    QTreeWidget* m_points = nullptr;
    QLineEdit* m_channel = nullptr;
    QLineEdit* m_value = nullptr;
    QLineEdit* m_units = nullptr;
    QComboBox* m_equation = nullptr;
    QLabel* m_cTerm = nullptr;
    QLabel* m_coefficients = nullptr;
    QPushButton* m_plot = nullptr;
    QLineEdit* m_autoUnits = nullptr;
    QLineEdit* m_autoValue = nullptr;
    QLineEdit* m_autoValue2 = nullptr;
    QComboBox* m_autoMethod = nullptr;
    bool m_refreshing = false;
};

} // namespace vorna
