// The View and Display menus: bars, panes, fonts and colours, scale and units.

#include <QApplication>
#include <QColorDialog>
#include <QFontDialog>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include "app/CMainFrame.h"
#include "app/InfoPane.h"
#include "app/PlotPanes.h"
#include "app/ShellContext.h"
#include "app/SpectraListWindow.h"
#include "app/TextConvert.h"
#include "appcore/ProgramState.h"
#include "appcore/WindowPlacement.h"
#include "display/CPlot.h"
#include "dpp/DppController.h"
#include "kestrel/CAcq.h"

namespace vorna {

namespace {

void SetScale(ShellContext& c, int type) {
    CSProfile& p = c.state.Profile();
    if (p.scaleType == type)
        return;
    p.scaleType = type;
    c.frame.Panes().Model().SetScaleType(static_cast<ScaleType>(type));
    c.frame.RefreshPanes();
}

void ToggleCalibration(ShellContext& c) {
    CSProfile& p = c.state.Profile();
    p.calibrateEnable = p.calibrateEnable ? 0 : 1;
    c.state.ApplyProfileToEnvironment();
    c.frame.Panes().Model().UnitsChanged();
    c.frame.RefreshPanes();
}

void ToggleFlag(ShellContext& c, int CSProfile::*flag) {
    CSProfile& p = c.state.Profile();
    p.*flag = p.*flag ? 0 : 1;
    c.state.ApplyProfileToEnvironment();
    c.frame.RefreshPanes();
}

// Both panes take their look from the profile again, so whichever changed shows at once.
void ApplyPaneLooks(ShellContext& c) {
    c.frame.Info()->ApplyProfileLook();
    c.frame.Panes().ApplySelectPaneLook();
    c.frame.RefreshPanes();
}

void ChooseFont(ShellContext& c, PaneFont& font) {
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, FontFromProfile(font, QApplication::font()),
                                              &c.frame, QStringLiteral("Font"));
    if (!ok)
        return;
    StoreFont(chosen, font);
    ApplyPaneLooks(c);
}

void ChooseColour(ShellContext& c, int& colour) {
    const QColor chosen = QColorDialog::getColor(ColorFromRgbWord(colour), &c.frame);
    if (!chosen.isValid())
        return;
    colour = RgbWordFromColor(chosen);
    ApplyPaneLooks(c);
}

void AllPanes(ShellContext& c) {
    const QFontMetrics fm = c.frame.fontMetrics();
    QSplitter* columns = c.frame.ColumnSplitter();
    QSplitter* rows = c.frame.RowSplitter();
    const PaneSplit s =
        AllPanesSplit(columns->width(), rows->height(), fm.averageCharWidth(), fm.height());
    columns->setSizes({s.infoWidth, columns->width() - s.infoWidth});
    rows->setSizes({s.plotHeight, rows->height() - s.plotHeight});
    c.state.Profile().leftSplit = s.infoWidth;
    c.state.Profile().topSplit = s.plotHeight;
}

} // namespace

void RunPlotKeyCommand(ShellContext& c, int commandId) {
    c.frame.Execute(commandId);
    switch (static_cast<CommandId>(commandId)) {
    case CommandId::StartAcquisition: {
        // Space that leaves a DPP connected but idle (it stopped the run) reads it once more.
        const DppController* dpp = c.state.Dpp();
        if (c.state.Profile().deviceType != 0 && dpp && dpp->state() == DppLinkState::Connected)
            c.frame.Execute(ToInt(CommandId::UpdateData));
        break;
    }
    case CommandId::DeleteData:
    case CommandId::ResetTime: {
        // The status bar follows what the analyzer now holds: its panes are cleared and the
        // connection indicator set again through the window's own messages.
        MainWindowSink& sink = c.frame.Sink();
        const CAcq* acq = c.state.Acq();
        sink.Post(StatusTextEvent{0, ""});
        sink.Post(DeviceStateEvent{1, acq && acq->Connected()});
        sink.Post(StatusTextEvent{1, ""});
        break;
    }
    default:
        break;
    }
}

void RegisterViewCommands(CommandRouter& r, ShellContext& c) {
    using C = CommandId;
    r.Register(ToInt(C::ViewToolbar), [&c] {
        for (QToolBar* bar : c.frame.findChildren<QToolBar*>())
            bar->setVisible(!bar->isVisible());
    });
    r.Register(ToInt(C::ViewStatusBar),
               [&c] { c.frame.statusBar()->setVisible(!c.frame.statusBar()->isVisible()); });
    r.Register(ToInt(C::SpectraList), [&c] {
        c.frame.SpectraList(true)->Refresh();
        c.frame.SpectraList(false)->raise();
    });
    r.Register(ToInt(C::ScaleLin), [&c] { SetScale(c, 0); });
    r.Register(ToInt(C::ScaleLog), [&c] { SetScale(c, 1); });
    r.Register(ToInt(C::ScaleSqrt), [&c] { SetScale(c, 2); });
    r.Register(ToInt(C::Calibration), [&c] { ToggleCalibration(c); });
    r.Register(ToInt(C::ShowRoi), [&c] { ToggleFlag(c, &CSProfile::showRoi); });
    r.Register(ToInt(C::ShowAllRoi), [&c] { ToggleFlag(c, &CSProfile::showAllRoi); });
    r.Register(ToInt(C::InfoPaneFont), [&c] { ChooseFont(c, c.state.Profile().infoFont); });
    r.Register(ToInt(C::SelectPaneFont), [&c] { ChooseFont(c, c.state.Profile().selectFont); });
    r.Register(ToInt(C::InfoPaneBackground),
               [&c] { ChooseColour(c, c.state.Profile().infoColor); });
    r.Register(ToInt(C::SelectPaneBackground),
               [&c] { ChooseColour(c, c.state.Profile().selectColor); });
    r.Register(ToInt(C::AllPanes), [&c] { AllPanes(c); });
    for (C id : {C::PreviousView, C::SelectView, C::EditRoi, C::Center, C::Autoscale})
        r.Register(ToInt(id), [&c, id] { c.frame.RunPlotCommand(ToInt(id)); });
    r.Register(ToInt(C::FullRange), [&c] {
        c.frame.RunPlotCommand(ToInt(C::FullRange));
        // A connected Kestrel at rest is read once, so the whole range shows its present data.
        CAcq* acq = c.state.Acq();
        if (c.state.Profile().deviceType == 0 && acq && c.state.DeviceConnected() &&
            !c.state.Acquiring())
            acq->RequestUpload();
    });
}

} // namespace vorna
