#pragma once
// The DPP oscilloscope: a small caption-less window with round corners showing the 512-sample
// trace of the analog output, with the controls that steer it. Every control change except the
// timebase, persistence and Auto ReArm goes to the device and DPP.CFG at once.

#include <QDialog>
#include <QTimer>
#include <array>
#include <cstdint>
#include <functional>
#include <vector>

class QCheckBox;
class QComboBox;
class QPushButton;

namespace vorna {

class DppNumberField;
struct DppDevice;

// What the window needs of the program.
class DppScopePort {
public:
    virtual ~DppScopePort() = default;
    virtual DppDevice& Device() = 0;
    virtual int DeviceType() const = 0;
    virtual bool Connected() const = 0;
    virtual bool LinkBusy() const = 0;
    virtual void RefreshStatus() = 0;
    // One complete trace when the device has one; false otherwise.
    virtual bool ReadTrace(std::array<uint8_t, 512>& trace) = 0;
    virtual void ArmTrigger() = 0;
    // Send the configuration (connect when not connected) and save DPP.CFG.
    virtual void SendAndSaveConfiguration() = 0;
    // Close, open and identify the link again.
    virtual void ReopenLink() = 0;
    virtual bool AutoReArm() const = 0;
    virtual void SetAutoReArm(bool on) = 0;
    // The property sheet applied since the controls were loaded.
    virtual bool ControlsStale() const = 0;
    virtual void ClearControlsStale() = 0;
    // The window's picture to a file through the program's capture; false when it failed.
    virtual bool CaptureWindow(QWidget& window) = 0;
};

// The trace area: grid, trigger marker and the trace, drawn on a 256 x 256 logical area.
class COscilloscope : public QWidget {
    Q_OBJECT
public:
    explicit COscilloscope(QWidget* parent = nullptr);
    void ShowTrace(const std::array<uint8_t, 512>& samples);
    void ClearTraces();
    void SetPersistence(bool on) { m_persistence = on; }
    void SetTriggerPosition(int position);
    int traceCount() const { return static_cast<int>(m_traces.size()); }
    QSize sizeHint() const override { return {300, 300}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<std::array<uint8_t, 512>> m_traces;
    bool m_persistence = false;
    int m_triggerPosition = 0;
};

class COscilloscopeDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kRefreshMs = 500;

    COscilloscopeDlg(DppScopePort& port, QWidget* parent = nullptr);
    // Controls from the configuration; clears the stale mark the sheet leaves.
    void LoadControls();
    // One refresh tick.
    void Tick();
    COscilloscope* display() const { return m_display; }
    QComboBox* inputCombo() const { return m_input; }
    QComboBox* timebaseCombo() const { return m_timebase; }
    QCheckBox* autoReArmCheck() const { return m_autoReArm; }
    QPushButton* armButton() const { return m_arm; }
    int tracesShown() const { return m_tracesShown; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;

private:
    void Apply();

    DppScopePort& m_port;
    COscilloscope* m_display;
    QComboBox* m_input;
    DppNumberField* m_outputOffset;
    DppNumberField* m_inputOffset;
    QComboBox* m_timebase;
    QComboBox* m_aux;
    QComboBox* m_position;
    QComboBox* m_slope;
    QCheckBox* m_autoReArm;
    QCheckBox* m_persistence;
    QPushButton* m_arm;
    QTimer m_timer;
    QPoint m_dragOffset;
    bool m_loading = false;
    int m_tracesShown = 0;
};

} // namespace vorna
