#pragma once
// The main window's command numbers. Menus, accelerators, toolbar buttons, context menus and the
// companion interface all name commands by these numbers, so they never change.

namespace vorna {

enum class CommandId : int {
    // File
    FileOpen = 57601,
    CloseAll = 32968,
    Modify = 32797,
    FileSave = 57603,
    FileSaveAs = 57604,
    PrintSpectrum = 32914,
    CopySpectrumData = 32913,
    CapturePlot = 32964,
    CapturePreview = 32965,
    RecentFile1 = 57616, // ..57623
    RecentFileLast = 57623,
    AppExit = 57665,
    // View
    ViewToolbar = 59392,
    ViewStatusBar = 59393,
    SpectraList = 32884,
    SpectraDialog = 32947,
    Preferences = 32809,
    // MCA
    AcquisitionSetup = 32772,
    StartAcquisition = 32907,
    UpdateData = 32833,
    DeleteData = 32834,
    ResetTime = 32835,
    DeleteDataAndResetTime = 32954,
    Connect = 32836,
    // Display
    InfoPaneFont = 32861,
    InfoPaneBackground = 32860,
    SelectPaneFont = 32862,
    SelectPaneBackground = 32863,
    PlotPane = 32894,
    AllPanes = 32946,
    ScaleLin = 32898,
    ScaleLog = 32783,
    ScaleSqrt = 32899,
    Calibration = 32919,
    // Analyze
    Calibrate = 32842,
    PeakSearch = 32895,
    Expression = 32896,
    Smooth = 32903,
    LoadLibrary = 32865,
    ShowLibrary = 32904,
    DefineRoi = 32889,
    RoiDetails = 32952,
    FundamentalParameters = 32951,
    FlareController = 33000,
    // Setup
    OpenStartDialog = 32781,
    DppSetup = 32780,
    ConfigureMca = 32779,
    SendHardwareConfiguration = 32981,
    TuneThresholds = 32989,
    McaDeltaMode = 32978,
    DisplaySettings = 32985,
    MultiplyDelta = 32992,
    DivideDelta = 32993,
    IncrementGain = 32994,
    DecrementGain = 32995,
    // Help
    HelpTopics = 57667,
    KeyboardMap = 32955,
    About = 57664,
    // Context menus and keys
    ListSave = 32873,
    ListSaveAs = 32874,
    ListModify = 32910,
    ListClose = 32875,
    ListHide = 32867,
    Revert = 32966,
    RoiListPrint = 32915,
    RoiListCopy = 32916,
    PrintRoi = 32917,
    CopyRoi = 32918,
    NextRoi = 32888,
    PreviousRoi = 32887,
    ShowRoi = 32886,
    ShowAllRoi = 32885,
    ClearAllRois = 32961,
    ClearCursorRoi = 32963,
    PreviousView = 32937,
    SelectView = 32938,
    EditRoi = 32939,
    Center = 32891,
    FullRange = 32906,
    Autoscale = 32905,
    ContextHelp = 32948,
    Capture = 32967,
    KeyboardPrint = 32958,
    KeyboardCopy = 32959,
    // DPP timers and link
    StartStatusTimer = 32976,
    StopStatusTimer = 32977,
    ReadDppData = 32979,
    OpenDppUsb = 32980,
    StartDataTimer = 32982,
    StopDataTimer = 32983,
};

constexpr int ToInt(CommandId id) {
    return static_cast<int>(id);
}

} // namespace vorna
