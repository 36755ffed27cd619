#include "TestProgram.h"

#include <QCoreApplication>
#include <QFile>
#include <QTest>

#include "app/CMainFrame.h"
#include "app/TextConvert.h"
#include "appcore/ProgramState.h"
#include "common/NumberText.h"
#include "spectrum/CSpectraList.h"

namespace vorna::test {

TestProgram::TestProgram(const TestProgramOptions& options) {
    // Connect attempts never reach the simulator.
    qunsetenv("VORNA_SIMULATE");
    if (options.dataFolderInside)
        qputenv("XDG_DATA_HOME", dir.path().toLocal8Bit());
    store.WriteInt("Standard", "start_dlg_show", 0);
    store.WriteText("Standard", "spectra_directory", PathToCore(dir.path()) + "/");
    if (options.missingSerial)
        for (int n = 1; n <= 9; ++n)
            store.WriteText("Standard", Format("serial_device_%d", n),
                            PathToCore(dir.filePath(QStringLiteral("no-such-tty"))));
    if (!options.testIni.isEmpty()) {
        QFile ini(dir.filePath(QStringLiteral("VORNATST.INI")));
        if (ini.open(QIODevice::WriteOnly))
            ini.write(options.testIni.toLatin1());
    }
    if (options.prepare)
        options.prepare(store, dir.path());
    CLumoApp::Options o;
    o.programDir = dir.path();
    o.commandLineFile = options.commandLine;
    o.store = &store;
    o.clock = &clock;
    o.companionBus = options.companionBus;
    app = std::make_unique<CLumoApp>(o);
    app->InitInstance();
    Settle();
}

TestProgram::~TestProgram() = default;

CMainFrame& TestProgram::frame() {
    return *app->MainFrame();
}
ProgramState& TestProgram::state() {
    return app->State();
}
CSpectraList& TestProgram::list() {
    return state().Spectra();
}
CSpectrum& TestProgram::active() {
    return *list().GetActive();
}

void TestProgram::Settle() {
    for (int i = 0; i < 5; ++i) {
        QCoreApplication::processEvents();
        QTest::qWait(10);
    }
}

std::unique_ptr<CLumoApp> StartRealTimeProgram(MemoryProfileStore& store, const QString& folder) {
    CLumoApp::Options o;
    o.programDir = folder;
    o.store = &store;
    o.companionBus = false;
    auto app = std::make_unique<CLumoApp>(o);
    if (!app->InitInstance())
        return nullptr;
    return app;
}

void WriteRepeatSeries(MemoryProfileStore& store, const QString& folder, int loops,
                       const std::string& baseName) {
    store.WriteInt("Standard", "RepeatMeasEnable", 1);
    store.WriteInt("Standard", "RepeatMeasLoops", loops);
    store.WriteText("Standard", "RepeatMeasDelay", "0.2");
    store.WriteText("Standard", "RepeatMeasDirectory", PathToCore(folder + "/"));
    store.WriteText("Standard", "RepeatMeasFilename", baseName);
}

double LiveSpectrumTotal(CSpectraList& list) {
    auto guard = list.Lock();
    CSpectrum* live = list.At(0);
    if (!live)
        return 0;
    auto s = live->Lock();
    double total = 0;
    for (double counts : s->m_pData)
        total += counts;
    return total;
}

} // namespace vorna::test
