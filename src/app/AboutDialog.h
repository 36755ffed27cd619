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
};

} // namespace vorna
