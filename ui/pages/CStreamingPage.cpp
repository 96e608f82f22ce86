#include "ui/pages/CStreamingPage.h"

#include <algorithm>
#include <cstring>

#include "model/ParameterSet.h"
#include "unit/ParameterIds.h"

namespace {

const ParameterId flowControl(ParameterIds::flowControl);
const ParameterId streamingServer(ParameterIds::streamingServer);
const ParameterId streamingFileName(ParameterIds::streamingFileName);
const ParameterId positionToGoTo(ParameterIds::positionToGoTo);
const ParameterId packetsLost(ParameterIds::packetsLost);
const ParameterId streamState(ParameterIds::streamState);
const ParameterId streamDuration(ParameterIds::streamDuration);
const ParameterId streamPosition(ParameterIds::streamPosition);
const ParameterId statusString(ParameterIds::streamStatus);

// Flow-control values and the states in which their buttons show pushed.
enum : int16_t { Play = 0, Pause = 1, Stop = 2 };
enum : int16_t { Stopped = 1, Paused = 2, Playing = 4 };

constexpr int skipSeconds = 10;

} // namespace

const char* const CStreamingPage::fileListPath = "/vormo/listFiles.jsp";
const char* const CStreamingPage::fileListHost = "localhost:8080";
const char* const CStreamingPage::fileListStatusLine = "HTTP/1.1 200 OK";
const char* const CStreamingPage::serverNotAvailable = "<server not available>";
CStreamingPage::FileListLimits CStreamingPage::fileListLimits_;

CStreamingPage::CStreamingPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), serverParameter_(parameterSet->findParameter(streamingServer)),
      fileNameParameter_(parameterSet->findParameter(streamingFileName)),
      controller_(parameterSet, errorReporter)
{
    connect(AnyControl, Notify::HScroll, [this](Notification& n) { OnHScroll(n.scrollCode, n.control); });
    connect(skipBackId, Notify::Clicked, [this](Notification&) { OnSkipBack10s(); });
    connect(skipForwardId, Notify::Clicked, [this](Notification&) { OnSkipForward10s(); });
    connect(playId, Notify::Clicked, [this](Notification&) { OnPlay(); });
    connect(pauseId, Notify::Clicked, [this](Notification&) { OnPause(); });
    connect(stopId, Notify::Clicked, [this](Notification&) { OnStop(); });
    connect(fileId, Notify::SelChange, [this](Notification&) { OnSelchangeFile(); });
    connect(fileId, Notify::KillFocus, [this](Notification&) { OnSelchangeFile(); });
    connect(serverId, Notify::KillFocus, [this](Notification&) { OnKillfocusServer(); });
}

bool CStreamingPage::onInitDialog()
{
    Dialog::onInitDialog();
    attach(play_, playId);
    attach(pause_, pauseId);
    attach(stop_, stopId);
    attach(positionText_, positionTextId);
    attach(positionTargetText_, positionTargetTextId);
    attach(durationText_, durationTextId);
    attach(packetsLostText_, packetsLostTextId);
    attach(stateText_, stateTextId);
    attach(statusText_, statusTextId);
    attach(server_, serverId);
    attach(position_, positionId);
    attach(file_, fileId);
    bindControls();
    refreshFileList();
    server_.setLimitText(serverNameLimit);
    file_.setLimitText(fileNameLimit);
    return true;
}

void CStreamingPage::bindControls()
{
    controller_.addDropdown(&file_, streamingFileName);
    controller_.addEdit(&server_, streamingServer, nullptr);
    // The thumb follows the reported position; moving it asks the unit to go there.
    controller_.addSliderStatus(&position_, streamPosition)->setup(10, 1, 100);
    controller_.addSlider(&position_, positionToGoTo, false, true)->setup(10, 1, 100);
    bindTransportButtons();
    bindTexts();
}

void CStreamingPage::bindTransportButtons()
{
    controller_.addButton(&play_, flowControl, streamState, Play, Playing);
    controller_.addButton(&pause_, flowControl, streamState, Pause, Paused);
    controller_.addButton(&stop_, flowControl, streamState, Stop, Stopped);
}

void CStreamingPage::bindTexts()
{
    controller_.addStatusText(&positionText_, streamPosition, nullptr);
    controller_.addControlText(&positionTargetText_, positionToGoTo, nullptr);
    controller_.addStatusText(&durationText_, streamDuration, nullptr);
    controller_.addStatusText(&packetsLostText_, packetsLost, nullptr);
    controller_.addStatusText(&stateText_, streamState, nullptr);
    controller_.addStatusText(&statusText_, statusString, nullptr);
}

void CStreamingPage::OnHScroll(int code, Window* scrollBar)
{
    if (scrollBar != nullptr && position_.isSameWindow(scrollBar)) {
        controller_.onScroll(&position_, code);
    }
}

void CStreamingPage::movePosition(int target)
{
    position_.setPos(target);
    controller_.onScroll(&position_, ThumbTrack);
}

void CStreamingPage::OnSkipBack10s()
{
    int current = position_.getPos();
    movePosition(current - skipSeconds > 0 ? current - skipSeconds : 0);
}

void CStreamingPage::OnSkipForward10s()
{
    movePosition(std::min(position_.getPos() + skipSeconds, position_.getRangeMax()));
}

void CStreamingPage::OnPlay()
{
    controller_.onCommand(&play_);
}

void CStreamingPage::OnPause()
{
    controller_.onCommand(&pause_);
}

void CStreamingPage::OnStop()
{
    controller_.onCommand(&stop_);
}

void CStreamingPage::OnSelchangeFile()
{
    // Choosing "<server not available>" would make the unit look for a file of that
    // name: the file name shown goes back to the one in use, and nothing is sent.
    if (listIsStandIn_ && file_.getCurSel() == 0) {
        file_.setText(fileNameParameter_->value().toString());
        return;
    }
    controller_.onCommand(&file_);
}

void CStreamingPage::OnKillfocusServer()
{
    // A failed send is reported, and the report replaces this page (hiding it at once):
    // the old page then has no list to fetch.
    bool shown = isVisible();
    controller_.onEditChange(&server_);
    if (shown && !isVisible()) {
        return;
    }
    refreshFileList();
}


void CStreamingPage::refreshFileList()
{
    std::string host = serverParameter_->value().toString();
    HttpRequest request;
    request.host = host;
    request.port = fileListPort;
    request.path = fileListPath;
    // One exchange per list: the server is asked to close the connection after it.
    request.headers = {{"Host", fileListHost}, {"Connection", "close"}};
    request.byteLimit = fileListLimits_.replyBytes;
    request.timeLimitMs = fileListLimits_.timeMs;
    request.connectLimitMs = fileListLimits_.connectMs;
    fileListGet_ = std::make_unique<HttpGet>(
        request, [this, host](const HttpReply& reply) { onFileList(host, reply); });
}

bool CStreamingPage::isFetchingFileList() const
{
    return fileListGet_ != nullptr && fileListGet_->running();
}

// The list is a convenience: whatever goes wrong on the way, the drop-down simply
// offers no server's files and the user is not bothered with a report.
void CStreamingPage::onFileList(const std::string& host, const HttpReply& reply)
{
    if (host != serverParameter_->value().toString()) {
        return; // the list of a server no longer named
    }
    if (!reply.answered) {
        showFileList({});
        return;
    }
    // The reply as the server sent it, as far as the list goes: the status line and
    // headers come first, so that the first piece is dropped as it always was.
    std::string whole = "HTTP/1.1 " + std::to_string(reply.status) + " " + reply.reason + "\r\n";
    for (const auto& [name, value] : reply.headers) {
        whole += name + ": " + value + "\r\n";
    }
    whole += "\r\n" + reply.body;
    if (!reply.complete) {
        // Cut off: the name being received when the limit struck may be incomplete.
        std::size_t lastSeparator = whole.rfind('!');
        whole.erase(lastSeparator == std::string::npos ? 0 : lastSeparator);
    }
    std::size_t statusLength = std::strlen(fileListStatusLine);
    bool listed = whole.size() > statusLength && whole.compare(0, statusLength, fileListStatusLine) == 0;
    showFileList(listed ? fileListFromReply(whole) : std::vector<std::string>());
}

void CStreamingPage::showFileList(const std::vector<std::string>& names)
{
    listIsStandIn_ = names.empty();
    std::string shownFile = file_.getText();
    file_.replaceList(listIsStandIn_ ? std::vector<std::string>{serverNotAvailable} : names);
    file_.setText(shownFile);
}

std::vector<std::string> CStreamingPage::fileListFromReply(const std::string& reply)
{
    std::vector<std::string> names;
    bool first = true;
    std::size_t start = 0;
    while (start < reply.size()) {
        std::size_t end = std::min(reply.find('!', start), reply.size());
        if (end > start) {
            if (!first && reply[start] == '@') {
                break;
            }
            // A name the unit would refuse is no choice to offer.
            if (!first && end - start <= std::size_t(fileNameLimit)) {
                names.push_back(reply.substr(start, end - start));
            }
            first = false;
        }
        start = end + 1;
    }
    return names;
}
