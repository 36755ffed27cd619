#pragma once
// The command interface an outside analysis program drives VORNA through: copy-data requests
// (spectra, tags, save, load, calibration) and private-message commands (counts, times, ROIs,
// device state, connect). Answers go to the companion through FpAnswerSink; what the commands
// need of the window goes through FpShell. Runs on the user-interface thread, one request at a
// time.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace vorna {

class ProgramState;
class CSpectrum;

// What the window does for companion commands.
class FpShell {
public:
    virtual ~FpShell() = default;
    // Raises the main window (restored when minimised).
    virtual void BringToFront() = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void RefreshSpectraList() = 0;
    virtual void RefreshInfoPane() = 0;
    virtual bool LibraryWindowShown() const = 0;
    // Opens a spectrum file as the window opens a posted file (it joins the list and becomes
    // active), then refreshes the spectra list display.
    virtual void OpenSpectrum(const std::string& path) = 0;
    // Connects (true) or disconnects the Kestrel without messages, off the user-interface
    // thread; `done` gets the controller's quiet result (0, -98 acquiring, -99 failed, -100 no
    // port) on the user-interface thread.
    virtual void ConnectKestrel(bool connect, std::function<void(int)> done) = 0;
    // Device pane and connection indicator after a connect or disconnect.
    virtual void ShowConnectionState(bool connected) = 0;
};

// Where answers go: one call per answer, in order, never waiting for the companion.
class FpAnswerSink {
public:
    virtual ~FpAnswerSink() = default;
    // `isPath`: the text is a file path in the file system's bytes, not 8-bit program text.
    virtual void Answer(uint32_t code, const std::string& text, bool isPath = false) = 0;
};

class CFPCmdInterface {
public:
    CFPCmdInterface(ProgramState& state, FpShell& shell, FpAnswerSink& answers);

    // A copy-data request; returns what the window procedure returns: 1 for the codes it takes,
    // 0 for others. `pathData` is the same text in the file system's bytes, for the file names
    // of load and save (nullptr: the same bytes as `data`).
    int CopyData(uint32_t code, const std::string& data, const std::string* pathData = nullptr);
    // A private-message command.
    void Command(int code, int argument);

    // The text of the last error answered.
    const std::string& LastError() const { return m_strLastError; }

private:
    void Fail(const std::string& text);
    bool WriteGroupData(uint32_t code, const std::string& data);
    bool WriteDots(const std::vector<double>& values);
    void WriteCounts(CSpectrum& target, const std::vector<double>& values);
    void SetGroupTag(int position, const std::string& text);
    bool SaveSpectrum(const std::string& data, const std::string& pathData);
    bool LoadSpectrum(const std::string& data);
    bool PutCalibration(const std::string& data);
    // Closes every spectrum after `keep`, last first; false when one refuses.
    bool CloseAfter(int keep);
    void DataCommand(int code, int argument);
    std::string RoiDataText(CSpectrum& s1);
    void ConnectCommand(int argument);

    ProgramState& m_state;
    FpShell& m_shell;
    FpAnswerSink& m_answers;
    std::string m_strLastError;
};

} // namespace vorna
