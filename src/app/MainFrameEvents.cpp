// The main window's posted events: the private messages of the device paths and of the
// companion, and what workers hand to the UI thread (messages, questions, profile values,
// finished device jobs).

#include <QFileInfo>

#include "app/CMainFrame.h"
#include "app/DppSetupCommands.h"
#include "app/QtUserPrompt.h"
#include "app/RepeatMeasurementRunner.h"
#include "app/TextConvert.h"
#include "app/companion/CompanionInterface.h"
#include "appcore/CommandTable.h"
#include "appcore/ProgramState.h"
#include "kestrel/AcqSettings.h"
#include "spectrum/SpectrumFile.h"

namespace vorna {

namespace {
template <class... Ts> struct Overloaded : Ts... { using Ts::operator()...; };
template <class... Ts> Overloaded(Ts...) -> Overloaded<Ts...>;
} // namespace

void CMainFrame::HandleEvent(MainEvent& event) {
    std::visit(Overloaded{
                   [this](Notice& n) {
                       switch (n.message) {
                       case MainMessage::RefreshSpectraList:
                           RefreshPanes();
                           break;
                       case MainMessage::Connect:
                           Execute(ToInt(CommandId::Connect));
                           break;
                       case MainMessage::AcquisitionEnded:
                           // The worker saw the run end; the plot and panes show the last upload.
                           SetDeviceIndicator(0, false);
                           RefreshPanes();
                           m_repeat->AcquisitionEnded();
                           break;
                       default:
                           // The DPP's setup, tuning and scope messages.
                           HandleDppMessage(*this, n.message);
                           break;
                       }
                   },
                   [this](TimedRequestEvent& e) { m_state.TimeQueue().Deliver(e); },
                   [this](ExternalCommandEvent& e) {
                       if (m_companion)
                           m_companion->PostedCommand(static_cast<int>(e.code), e.argument);
                   },
                   [this](OpenFileEvent& e) {
                       // A missing file is passed over quietly.
                       const QFileInfo info(PathFromCore(e.path));
                       if (info.exists() && info.isFile())
                           OpenSpectrumFile(m_state.Spectra(), e.path, &m_state.Recent());
                       RebuildRecentFileMenu();
                       RefreshPanes();
                   },
                   [this](StatusTextEvent& e) { SetStatusText(e.pane, FromCore(e.text)); },
                   [this](DeviceStateEvent& e) { SetDeviceIndicator(e.which, e.on); },
                   [this](MessageEvent& e) { ShowWorkerMessage(std::move(e)); },
                   [this](QuestionRequest& q) {
                       q.reply->Answer(m_prompt.question(q.text, q.withCancel));
                   },
                   [this](SaveFileRequest& r) {
                       std::string path = r.path;
                       if (m_prompt.chooseSaveFile(path, r.defaultExtension, r.filter))
                           r.reply->Answer(path);
                       else
                           r.reply->Answer(std::nullopt);
                   },
                   [this](NumberRequest& r) {
                       r.reply->Answer(
                           m_prompt.askNumber(r.title, r.minimum, r.maximum, r.initial));
                   },
                   [this](ProfileWriteEvent& w) {
                       ApplyProfileWrite(m_state.Profile(), w);
                       m_state.PublishSettings();
                   },
                   [this](JobFinishedEvent& e) {
                       if (KestrelProgram* kestrel = m_state.Kestrel())
                           kestrel->Finished(e.ticket);
                       UpdateCommandStates();
                   },
               },
               event);
}

void CMainFrame::ShowWorkerMessage(MessageEvent message) {
    m_pendingMessages.push_back(std::move(message));
    // A box already open runs its own event loop; the next one waits for it to close.
    if (m_showingMessage)
        return;
    m_showingMessage = true;
    while (!m_pendingMessages.empty()) {
        MessageEvent next = std::move(m_pendingMessages.front());
        m_pendingMessages.pop_front();
        if (next.caption.empty())
            m_prompt.message(next.text, next.style);
        else
            m_prompt.captionedMessage(next.caption, next.text, next.style);
    }
    m_showingMessage = false;
}

} // namespace vorna
