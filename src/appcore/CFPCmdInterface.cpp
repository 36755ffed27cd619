#include "appcore/CFPCmdInterface.h"

#include <algorithm>
#include <filesystem>
#include <memory>

#include "analysis/ExpressionDefine.h"
#include "analysis/NumberFormat.h"
#include "analysis/RoiStatistics.h"
#include "appcore/ProgramState.h"
#include "appcore/SpectrumCommands.h"
#include "common/DataFolders.h"
#include "common/NumberText.h"
#include "common/ScratchFile.h"
#include "external/FpMessages.h"
#include "external/FpText.h"
#include "spectrum/SpectrumFile.h"

namespace vorna {

namespace {

constexpr int kLivePosition = 0;
constexpr int kS1Position = 1;
constexpr int kDotsPosition = 2;
constexpr const char* kScratchName = "lumo-temp.tmp";
constexpr size_t kScratchBytes = 40000;

// Messages of spectrum operations run for the companion go nowhere: its requests are answered,
// never shown to the user in a message box.
class QuietPrompt {
public:
    explicit QuietPrompt(SpectrumEnvironment& env) : m_env(env), m_saved(env.prompt) {
        m_env.prompt = &m_silent;
    }
    ~QuietPrompt() { m_env.prompt = m_saved; }
    QuietPrompt(const QuietPrompt&) = delete;
    QuietPrompt& operator=(const QuietPrompt&) = delete;

private:
    SpectrumEnvironment& m_env;
    UserPrompt* m_saved;
    SilentPrompt m_silent;
};

bool IsFile(const std::string& path) {
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

std::vector<double> CountValues(const std::vector<std::string>& fields) {
    std::vector<double> values;
    const size_t n = std::min(fields.size(), static_cast<size_t>(kFpMaxChannels));
    values.reserve(n);
    for (size_t i = 0; i < n; ++i)
        values.push_back(static_cast<double>(std::max(0LL, FieldInteger(fields[i]))));
    return values;
}

} // namespace

CFPCmdInterface::CFPCmdInterface(ProgramState& state, FpShell& shell, FpAnswerSink& answers)
    : m_state(state), m_shell(shell), m_answers(answers) {}

void CFPCmdInterface::Fail(const std::string& text) {
    m_strLastError = text;
    m_answers.Answer(kFpErrorCode, text);
}

int CFPCmdInterface::CopyData(uint32_t code, const std::string& data, const std::string* pathData) {
    const std::string& path = pathData ? *pathData : data;
    if (!IsListedDataCode(code))
        return 0;
    switch (static_cast<FpDataCode>(code)) {
    case FpDataCode::DotsData:
    case FpDataCode::S1Data:
        WriteGroupData(code, data);
        break;
    case FpDataCode::FpVersion: {
        const std::vector<std::string> fields = SplitListFields(data);
        if (!fields.empty())
            m_state.Companion().version = CleanCompanionText(fields[0], -1);
        break;
    }
    case FpDataCode::FpMethods: {
        const std::vector<std::string> fields = SplitListFields(data);
        if (!fields.empty()) {
            FpCompanionValues& v = m_state.Companion();
            v.methods = static_cast<uint32_t>(FieldInteger(fields[0]));
            v.methodsText = Format("FP methods 0x%08X", v.methods);
        }
        break;
    }
    case FpDataCode::FpOption: {
        const std::vector<std::string> fields = SplitListFields(data);
        if (!fields.empty())
            m_state.Companion().option = static_cast<uint16_t>(FieldInteger(fields[0]) & 0xFFFF);
        break;
    }
    case FpDataCode::StatusText:
        m_shell.ShowStatus(CleanCompanionText(data, -1));
        break;
    case FpDataCode::DotsTag:
        SetGroupTag(kDotsPosition, data);
        break;
    case FpDataCode::S1Tag:
        SetGroupTag(kS1Position, data);
        break;
    case FpDataCode::SaveSpectrum:
        SaveSpectrum(data, path);
        break;
    case FpDataCode::LoadSpectrum:
        LoadSpectrum(path);
        break;
    case FpDataCode::PutCalibEntries:
        PutCalibration(data);
        break;
    default:
        break; // reserved codes: taken, no effect
    }
    return 1;
}

bool CFPCmdInterface::WriteGroupData(uint32_t code, const std::string& data) {
    const std::vector<std::string> fields = SplitListFields(data);
    if (fields.empty()) {
        Fail(fptext::kSizeZero);
        return false;
    }
    CSpectraList& list = m_state.Spectra();
    if (list.GetCount() <= kS1Position) {
        Fail(fptext::kNoS1);
        return false;
    }
    const std::vector<double> values = CountValues(fields);
    if (static_cast<FpDataCode>(code) == FpDataCode::DotsData) {
        const bool done = WriteDots(values);
        m_shell.BringToFront();
        return done;
    }
    list.Activate(kS1Position);
    WriteCounts(*list.At(kS1Position), values);
    m_shell.BringToFront();
    return true;
}

void CFPCmdInterface::WriteCounts(CSpectrum& target, const std::vector<double>& values) {
    {
        auto locked = target.Lock();
        const size_t n = std::min(values.size(), target.m_pData.size());
        std::copy_n(values.begin(), n, target.m_pData.begin());
    }
    target.RequestDisplayUpdate(m_state.Environment());
    m_shell.RefreshInfoPane();
}

bool CFPCmdInterface::WriteDots(const std::vector<double>& values) {
    CSpectraList& list = m_state.Spectra();
    list.Activate(kS1Position); // the active spectrum cannot be closed
    if (!CloseAfter(kS1Position)) {
        Fail(fptext::kS1OnlyOperation);
        return false;
    }
    list.Activate(kS1Position);
    CSpectrum& s1 = *list.At(kS1Position);
    SpectrumEnvironment& env = m_state.Environment();
    QuietPrompt quiet(env);
    if (s1.m_bDerived) {
        const std::string expression = s1.m_strExpression;
        if (SetExpression(list, s1, expression))
            s1.RequestEvaluation(env);
        return true;
    }
    auto dots = std::make_unique<CSpectrum>(env.slots, list.GetCount());
    std::string tag;
    {
        auto locked = s1.Lock();
        tag = s1.m_strTag;
    }
    if (!SetExpression(list, *dots, tag)) {
        Fail(fptext::kDotsCreate);
        return false;
    }
    {
        auto source = s1.Lock();
        dots->m_strFileName = DotsFileName(s1.m_strFileName, env.spectraDirectory);
        dots->m_nGain = s1.m_nGain;
        dots->m_strDescription = s1.m_strDescription;
        dots->m_strGeneralNotes = s1.m_strGeneralNotes;
        dots->m_strOtherNotes = s1.m_strOtherNotes;
        dots->m_strSystemNotes = s1.m_strSystemNotes;
        dots->m_nLineWidth = s1.m_nLineWidth;
        dots->m_crColor = s1.m_crColor;
        dots->m_nChannels = s1.m_nChannels;
        dots->m_nLiveMode = s1.m_nLiveMode;
        dots->m_dLiveTime = s1.m_dLiveTime;
        dots->m_dRealTime = s1.m_dRealTime;
        dots->m_nPresetTime = s1.m_nPresetTime;
        dots->m_szStartTime = s1.m_szStartTime;
        dots->m_nSerialNumber = s1.m_nSerialNumber;
        dots->m_calibrate = s1.m_calibrate;
        dots->m_roi = s1.m_roi;
    }
    dots->m_bDerived = 1;
    dots->RemakePen();
    if (!dots->AllocateData(CSpectrum::ChannelsForGain(dots->m_nGain))) {
        Fail(fptext::kDotsCreate);
        return false;
    }
    CSpectrum* added = list.Add(dots, false);
    if (!added) {
        Fail(fptext::kDotsCreate);
        return false;
    }
    {
        // The list asked for a first evaluation of the new derived spectrum, which would copy S1
        // over the companion's counts; the counts are the group's contents.
        auto locked = added->Lock();
        added->m_bEvalPending = 0;
        added->m_bValid = 1;
    }
    WriteCounts(*added, values);
    list.Activate(kS1Position);
    m_shell.RefreshSpectraList();
    return true;
}

void CFPCmdInterface::SetGroupTag(int position, const std::string& text) {
    CSpectraList& list = m_state.Spectra();
    CSpectrum* group = list.At(position);
    if (!group || text.empty())
        return;
    {
        auto locked = group->Lock();
        group->m_strTag = CleanCompanionText(text, kFpTagLength);
    }
    m_shell.RefreshSpectraList();
}

bool CFPCmdInterface::CloseAfter(int keep) {
    CSpectraList& list = m_state.Spectra();
    for (int position = list.GetCount() - 1; position > keep; --position)
        if (CloseSpectrum(list, list.At(position)) == 0)
            return false;
    return true;
}

bool CFPCmdInterface::LoadSpectrum(const std::string& data) {
    if (data.empty()) {
        Fail(fptext::kLoadEmptyName);
        return false;
    }
    const std::string path = SpectrumPathForName(data, m_state.Environment().spectraDirectory);
    if (path.size() >= static_cast<size_t>(kFpMaxPath)) {
        Fail(fptext::kTooLong);
        return false;
    }
    if (!IsFile(path)) {
        Fail(fptext::kLoadNotFound);
        return false;
    }
    if (m_state.Profile().deviceType == 0) {
        m_state.Spectra().Activate(kLivePosition);
        if (!CloseAfter(kLivePosition)) {
            Fail(fptext::kClearGroups);
            return false;
        }
    }
    m_shell.OpenSpectrum(path);
    return true;
}

bool CFPCmdInterface::SaveSpectrum(const std::string& data, const std::string& pathData) {
    std::optional<FpSaveRequest> request = ParseSaveRequest(data);
    const std::optional<FpSaveRequest> names = ParseSaveRequest(pathData);
    if (request && names)
        request->name = names->name;
    if (!request || !names) {
        Fail(fptext::kSaveParameters);
        return false;
    }
    if (request->name.empty()) {
        Fail(fptext::kLoadEmptyName);
        return false;
    }
    SpectrumEnvironment& env = m_state.Environment();
    const std::string path = SpectrumPathForName(request->name, env.spectraDirectory);
    if (path.size() >= static_cast<size_t>(kFpMaxPath)) {
        Fail(fptext::kTooLong);
        return false;
    }
    const std::string folder = HasFolder(request->name) ? FolderOfPath(path) : env.spectraDirectory;
    if (folder == UserDataFolder())
        EnsureFolder(folder);
    // The folder is tried before anything is written; the old file is never deleted first: the
    // new one replaces it only once it is safely written.
    {
        ScratchFile scratch(folder + kScratchName);
        if (!scratch.IsOpen()) {
            Fail(fptext::kSaveInvalidPath);
            return false;
        }
        if (!scratch.Fill(kScratchBytes)) {
            Fail(fptext::kSaveDiskFull);
            return false;
        }
    }
    CSpectraList& list = m_state.Spectra();
    list.Activate(kLivePosition);
    CSpectrum& live = *list.At(kLivePosition);
    std::string fileName, tag, description;
    {
        auto locked = live.Lock();
        fileName = live.m_strFileName;
        tag = live.m_strTag;
        description = live.m_strDescription;
        live.m_strFileName = path;
        live.m_strTag = CleanCompanionText(request->tag, -1);
        live.m_strDescription = CleanCompanionText(request->description, -1);
    }
    SaveResult saved;
    {
        QuietPrompt quiet(env);
        saved = SaveSpectrumToPath(env, live, path, kLivePosition);
    }
    {
        auto locked = live.Lock();
        live.m_strFileName = fileName;
        live.m_strTag = tag;
        live.m_strDescription = description;
    }
    if (saved != SaveResult::Saved) {
        Fail(fptext::kSaveDelete);
        return false;
    }
    if (m_state.Profile().deviceType == 0 && !CloseAfter(kLivePosition)) {
        Fail(fptext::kClearGroups);
        return false;
    }
    m_shell.OpenSpectrum(path);
    return true;
}

bool CFPCmdInterface::PutCalibration(const std::string& data) {
    if (data.empty()) {
        Fail(fptext::kCalibParameters);
        return false;
    }
    if (FieldInteger(data) <= 0)
        return true; // nothing to set
    const std::optional<FpCalibrationRequest> request = ParseCalibrationRequest(data);
    if (!request) {
        Fail(fptext::kCalibParameters);
        return false;
    }
    if (request->label.empty()) {
        Fail(fptext::kCalibNoLabel);
        return false;
    }
    CSpectraList& list = m_state.Spectra();
    // Only a group that is open can be calibrated (0 is the live spectrum).
    if (request->group < 0 || request->group >= list.GetCount()) {
        Fail(fptext::kCalibGroup);
        return false;
    }
    const int previous = list.GetActivePosition();
    const int position = static_cast<int>(request->group);
    list.Activate(position);
    CSpectrum& target = *list.At(position);
    {
        auto locked = target.Lock();
        CCalibrate& cal = target.m_calibrate;
        cal.Reset();
        cal.SetLabel(CleanCompanionText(request->label, -1));
        for (const FpCalibrationRequest::Point& p : request->points)
            cal.AddPoint(p.channel, p.energy);
        cal.Fit(m_state.Profile().calibEquationType);
    }
    target.RequestDisplayUpdate(m_state.Environment());
    list.Activate(previous);
    m_shell.RefreshInfoPane();
    return true;
}

void CFPCmdInterface::Command(int code, int argument) {
    if (code < 1) {
        Fail(Format(fptext::kUnknownCommand, code));
        return;
    }
    CSpectraList& list = m_state.Spectra();
    if (CommandNeedsS1(code)) {
        if (list.GetCount() <= kS1Position) {
            Fail(fptext::kNoS1);
            return;
        }
        const bool dots = code == static_cast<int>(FpCommandCode::DotsCounts);
        if (dots && list.GetCount() <= kDotsPosition) {
            Fail(fptext::kS1Only);
            return;
        }
        list.Activate(dots ? kDotsPosition : kS1Position);
        DataCommand(code, argument);
        list.Activate(kS1Position);
        return;
    }
    const CSProfile& p = m_state.Profile();
    const ElementLibrary& library = m_state.Library();
    switch (static_cast<FpCommandCode>(code)) {
    case FpCommandCode::GroupExists: {
        const bool exists = (argument == 1 && list.GetCount() > kS1Position) ||
                            (argument == 2 && list.GetCount() > kDotsPosition);
        m_answers.Answer(static_cast<uint32_t>(code), exists ? "1" : "0");
        break;
    }
    case FpCommandCode::CalibrateEnabled:
        m_answers.Answer(static_cast<uint32_t>(code), p.calibrateEnable ? "1" : "0");
        break;
    case FpCommandCode::LibraryPath:
        m_answers.Answer(static_cast<uint32_t>(code),
                         ResolveFolder(p.libraryDirectory) + library.DisplayName(), true);
        break;
    case FpCommandCode::LibraryShown:
        m_answers.Answer(static_cast<uint32_t>(code),
                         library.IsLoaded() && m_shell.LibraryWindowShown() ? "1" : "0");
        break;
    case FpCommandCode::LibraryLoaded:
        m_answers.Answer(static_cast<uint32_t>(code), library.IsLoaded() ? "1" : "0");
        break;
    case FpCommandCode::DeviceState: {
        const char* state = "2";
        if (p.deviceType == 0)
            state = m_state.Acquiring() ? "2" : m_state.DeviceConnected() ? "1" : "0";
        m_answers.Answer(static_cast<uint32_t>(code), state);
        break;
    }
    case FpCommandCode::ConnectKestrel:
        ConnectCommand(argument);
        break;
    case FpCommandCode::McaSecondsMode: {
        CSProfile& profile = m_state.Profile();
        profile.acquireMode = 0;
        profile.presetMode = 0; // Seconds
        if (list.GetActivePosition() == kLivePosition)
            m_shell.RefreshInfoPane();
        break;
    }
    default:
        break;
    }
}

void CFPCmdInterface::ConnectCommand(int argument) {
    constexpr auto kCode = static_cast<uint32_t>(FpCommandCode::ConnectKestrel);
    if (argument != 0 && argument != 1) {
        Fail(Format(fptext::kOptionOutOfRange, static_cast<int>(kCode)));
        return;
    }
    const bool kestrel = m_state.Profile().deviceType == 0;
    auto finish = [this, kestrel](int result) {
        m_answers.Answer(kCode, Format("%d", result));
        const bool connected = kestrel && m_state.DeviceConnected();
        m_shell.ShowStatus(connected ? fptext::kMcaConnected : fptext::kMcaNotConnected);
        m_shell.ShowConnectionState(connected);
    };
    const bool connected = m_state.DeviceConnected();
    if (kestrel && argument == 1 && !connected && m_state.Profile().comPort < 0) {
        finish(static_cast<int>(AcqQuietResult::NoPort)); // nothing to open
        return;
    }
    if (kestrel && ((argument == 1 && !connected) || (argument == 0 && connected))) {
        m_shell.ConnectKestrel(argument == 1, finish);
        return;
    }
    finish(0);
}

void CFPCmdInterface::DataCommand(int code, int argument) {
    CSpectraList& list = m_state.Spectra();
    CSpectrum& s1 = *list.At(kS1Position);
    const auto answer = [this, code](const std::string& text) {
        m_answers.Answer(static_cast<uint32_t>(code), text);
    };
    switch (static_cast<FpCommandCode>(code)) {
    case FpCommandCode::DotsCounts:
    case FpCommandCode::S1Counts: {
        CSpectrum& group = *list.At(code == 1 ? kDotsPosition : kS1Position);
        std::string text;
        {
            auto locked = group.Lock();
            text = JoinCounts(group.m_pData, kFpMaxChannels);
        }
        answer(text);
        return;
    }
    case FpCommandCode::ClearGroup: {
        CSpectrum* group = argument == 1 || argument == 2 ? list.At(argument) : nullptr;
        if (group) {
            {
                auto locked = group->Lock();
                std::fill(group->m_pData.begin(), group->m_pData.end(), 0.0);
            }
            group->RequestDisplayUpdate(m_state.Environment());
        }
        return;
    }
    case FpCommandCode::RoiData:
        answer(RoiDataText(s1));
        return;
    default:
        break;
    }
    std::string text;
    bool isPath = false;
    {
        auto locked = s1.Lock();
        switch (static_cast<FpCommandCode>(code)) {
        case FpCommandCode::Preset:
            text = Format("%d", s1.m_nPresetTime);
            break;
        case FpCommandCode::TimeMode:
            text = s1.m_dLiveTime == 0.0 ? "Real" : "Live";
            break;
        case FpCommandCode::FilePath:
            isPath = true;
            text = HasFolder(s1.m_strFileName)
                       ? s1.m_strFileName
                       : WithTrailingSeparator(m_state.Environment().spectraDirectory) +
                             s1.m_strFileName;
            break;
        case FpCommandCode::Version:
            text = "10";
            break;
        case FpCommandCode::LiveTime:
            text = GText(s1.m_dLiveTime);
            break;
        case FpCommandCode::RealTime:
            text = GText(s1.m_dRealTime);
            break;
        case FpCommandCode::Channels:
            text = Format("%d", s1.m_nChannels);
            break;
        case FpCommandCode::Calibration:
            text = GText(s1.m_calibrate.A()) + "," + GText(s1.m_calibrate.B()) + "," +
                   GText(s1.m_calibrate.C());
            break;
        case FpCommandCode::RoiCount:
            text = Format("%d", s1.m_roi.GetCount());
            break;
        default:
            m_answers.Answer(kFpUnknownCode, Format(fptext::kUnknownCommand, code));
            return;
        }
    }
    m_answers.Answer(static_cast<uint32_t>(code), text, isPath);
}

std::string CFPCmdInterface::RoiDataText(CSpectrum& s1) {
    const AnalysisSettings& settings = m_state.Environment().settings;
    RecomputeAllRoiStatistics(s1, settings);
    const ElementLibrary& library = m_state.Library();
    const bool use = settings.calibrateEnable != 0;
    const bool matchElements = library.IsLoaded() && m_state.Profile().calibrateEnable;
    auto locked = s1.Lock();
    const CRoi& rois = s1.m_roi;
    if (rois.IsEmpty())
        return "0:";
    const CCalibrate& cal = s1.m_calibrate;
    std::string text = Format("%d:", rois.GetCount());
    for (const CRoiEntry& roi : rois.Entries()) {
        const double centroid = cal.ChannelToValue(roi.centroid, use);
        const double fwhm = cal.WidthToValue(roi.fwhm, use);
        std::string element;
        if (matchElements) {
            const int match = library.Match(centroid, fwhm, settings.librarySens);
            element = match < 0 ? "No match" : library.Line(match).name;
        }
        text += FormatNumber(cal.ChannelToValue(roi.start, use)) + "," +
                FormatNumber(cal.ChannelToValue(roi.end, use)) + "," + FormatFixed(fwhm, 3) + "," +
                FormatFixed(roi.netArea, 0) + "," + FormatNumber(roi.grossArea) + "," +
                FormatNumber(centroid) + "," + FormatNumber(roi.uncertainty) + "," +
                RoiStatusText(roi.status) + "," + element + ";";
    }
    return text;
}

} // namespace vorna
