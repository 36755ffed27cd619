#pragma once
// The About box: program, build, device and companion versions.

#include <QDialog>
#include <QStringList>

namespace vorna {

class DppSession;
class ProgramState;

class AboutDialog : public QDialog {
    Q_OBJECT
public:
    AboutDialog(ProgramState& state, QWidget* parent, DppSession* dpp = nullptr);
    // The lines of the device and companion list.
    static QStringList InfoLines(ProgramState& state, const QString& programDir,
                                 DppSession* dpp = nullptr);
    // The device lines alone: the connected analyzer (the Kestrel's controller or the DPP's
    // status) and the DPP texts of the spectrum shown.
    static QStringList DeviceLines(ProgramState& state, DppSession* dpp);
    // When this program was built ("Dec 11 2026", "16:04:59").
    static const char* BuildDate();
    static const char* BuildTime();
};

} // namespace vorna
