#pragma once
// The whole program for a widget test: its own settings store, folder and virtual clock, started
// offscreen with no device simulator and, unless asked, the example Fe-55 spectrum open.

#include <QString>
#include <QTemporaryDir>
#include <functional>
#include <memory>

#include "app/CLumoApp.h"
#include "common/Clock.h"
#include "settings/MemoryProfileStore.h"

namespace vorna {
class CMainFrame;
class CSpectraList;
class CSpectrum;
class ProgramState;
} // namespace vorna

namespace vorna::test {

inline const QString kExampleSpectrum = QStringLiteral(VORNA_EXAMPLES_DIR "/fe55.mca");

struct TestProgramOptions {
    QString commandLine = kExampleSpectrum;
    QString testIni;               // written as VORNATST.INI in the program folder when set
    bool missingSerial = false;    // every COM port names a device that is not there
    bool dataFolderInside = false; // "no folder" settings resolve inside the test folder
    bool companionBus = false;     // the program takes its name on the session bus
    // Further settings, written before the program starts (the test folder is passed in).
    std::function<void(MemoryProfileStore&, const QString& folder)> prepare;
};

class TestProgram {
public:
    explicit TestProgram(const TestProgramOptions& options = {});
    ~TestProgram();

    CMainFrame& frame();
    ProgramState& state();
    CSpectraList& list();
    CSpectrum& active();
    // Lets queued refreshes and timers of the event loop run.
    static void Settle();

    QTemporaryDir dir;
    MemoryProfileStore store;
    VirtualClock clock;
    std::unique_ptr<CLumoApp> app;
};

// The program on the steady clock (device simulators pace themselves by it) with `store`,
// its program folder `folder`; nullptr when it did not start.
std::unique_ptr<CLumoApp> StartRealTimeProgram(MemoryProfileStore& store, const QString& folder);

// A repeated-measurement series of `loops` runs 0.2 s apart, saved in `folder` as
// `baseName`1.mca, ...
void WriteRepeatSeries(MemoryProfileStore& store, const QString& folder, int loops,
                       const std::string& baseName);

// The sum of the live spectrum's channels, read under the list's and the spectrum's locks.
double LiveSpectrumTotal(CSpectraList& list);

} // namespace vorna::test
