#pragma once
// The About box: program, build, device and companion versions.

#include <QDialog>
#include <QStringList>

namespace vorna {

class ProgramState;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    explicit AboutDialog(ProgramState& state, QWidget* parent);
    // The lines of the device and companion list.
    static QStringList InfoLines(ProgramState& state, const QString& programDir);
    // The device lines alone, from what the acquisition controller knows of its analyzer.
    static QStringList DeviceLines(ProgramState& state);
    // When this program was built ("Dec 11 2026", "16:04:59").
    static const char* BuildDate();
    static const char* BuildTime();
};

} // namespace vorna
