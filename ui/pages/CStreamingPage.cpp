#include "ui/pages/CStreamingPage.h"

#include <algorithm>
#include <chrono>
#include <cstring>

#include "device/transport/Win32Socket.h"
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

const char* const CStreamingPage::fileListRequest = "GET /vormo/listFiles.jsp HTTP/1.1\r\n"
                                                    "Host: localhost:8080\r\n"
                                                    "\r\n";
const char* const CStreamingPage::fileListStatusLine = "HTTP/1.1 200 OK";
const char* const CStreamingPage::serverNotAvailable = "<server not available>";
int CStreamingPage::fileListTimeLimitMs = 10000;

CStreamingPage::CStreamingPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), serverParameter(parameterSet->findParameter(streamingServer)),
      fileNameParameter(parameterSet->findParameter(streamingFileName)),
      controller(parameterSet, errorReporter)
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
    attach(play, playId);
    attach(pause, pauseId);
    attach(stop, stopId);
    attach(positionText, positionTextId);
    attach(positionTargetText, positionTargetTextId);
    attach(durationText, durationTextId);
    attach(packetsLostText, packetsLostTextId);
    attach(stateText, stateTextId);
    attach(statusText, statusTextId);
    attach(server, serverId);
    attach(position, positionId);
    attach(file, fileId);
    bindControls();
    refreshFileList();
    server.setLimitText(serverNameLimit);
    return true;
}

void CStreamingPage::bindControls()
{
    controller.addDropdown(&file, streamingFileName);
    controller.addEdit(&server, streamingServer, nullptr);
    // The thumb follows the reported position; moving it asks the unit to go there.
    controller.addSliderStatus(&position, streamPosition)->setup(10, 1, 100);
    controller.addSlider(&position, positionToGoTo, false, true)->setup(10, 1, 100);
    bindTransportButtons();
    bindTexts();
}

void CStreamingPage::bindTransportButtons()
{
    controller.addButton(&play, flowControl, streamState, Play, Playing);
    controller.addButton(&pause, flowControl, streamState, Pause, Paused);
    controller.addButton(&stop, flowControl, streamState, Stop, Stopped);
}

void CStreamingPage::bindTexts()
{
    controller.addStatusText(&positionText, streamPosition, nullptr);
    controller.addControlText(&positionTargetText, positionToGoTo, nullptr);
    controller.addStatusText(&durationText, streamDuration, nullptr);
    controller.addStatusText(&packetsLostText, packetsLost, nullptr);
    controller.addStatusText(&stateText, streamState, nullptr);
    controller.addStatusText(&statusText, statusString, nullptr);
}

void CStreamingPage::OnHScroll(int code, Window* scrollBar)
{
    if (scrollBar != nullptr && position.isSameWindow(scrollBar)) {
        controller.onScroll(&position, code);
    }
}

void CStreamingPage::movePosition(int target)
{
    position.setPos(target);
    controller.onScroll(&position, ThumbTrack);
}

void CStreamingPage::OnSkipBack10s()
{
    int current = position.getPos();
    movePosition(current - skipSeconds > 0 ? current - skipSeconds : 0);
}

void CStreamingPage::OnSkipForward10s()
{
    movePosition(std::min(position.getPos() + skipSeconds, position.getRangeMax()));
}

void CStreamingPage::OnPlay()
{
    controller.onCommand(&play);
}

void CStreamingPage::OnPause()
{
    controller.onCommand(&pause);
}

void CStreamingPage::OnStop()
{
    controller.onCommand(&stop);
}

void CStreamingPage::OnSelchangeFile()
{
    // Choosing "<server not available>" would make the unit look for a file of that
    // name: the file name shown goes back to the one in use, and nothing is sent.
    if (listIsStandIn && file.getCurSel() == 0) {
        file.setText(fileNameParameter->value().toString());
        return;
    }
    controller.onCommand(&file);
}

void CStreamingPage::OnKillfocusServer()
{
    // A failed send is reported, and the report replaces this page (hiding it at once):
    // the old page then has no list to fetch.
    bool shown = isVisible();
    controller.onEditChange(&server);
    if (shown && !isVisible()) {
        return;
    }
    refreshFileList();
}

void CStreamingPage::refreshFileList()
{
    std::string shownFile = file.getText();
    file.resetContent();
    for (const std::string& name : fetchFileList()) {
        file.addString(name);
    }
    listIsStandIn = file.getCount() == 0;
    if (listIsStandIn) {
        file.addString(serverNotAvailable);
    }
    // Last: an item added to an empty list would otherwise take the edit's place.
    file.setText(shownFile);
}

// The list is a convenience: whatever goes wrong on the way, the drop-down simply
// offers no server's files and the user is not bothered with a report.
std::vector<std::string> CStreamingPage::fetchFileList()
{
    try {
        std::string host = serverParameter->value().toString();
        Win32Socket socket(host, fileListPort);
        socket.setReadTimeout(fileListReadTimeoutMs);
        socket.write(reinterpret_cast<const unsigned char*>(fileListRequest),
                     unsigned(std::strlen(fileListRequest)));
        return fileListFromReply(readReply(socket));
    } catch (...) {
        return {};
    }
}

// Reads byte by byte until nothing arrives within the read time-out. Once more than
// the status line has arrived, a reply that does not begin with it is dropped at once.
std::string CStreamingPage::readReply(SerialDeviceImplementation& socket)
{
    const std::size_t statusLength = std::strlen(fileListStatusLine);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(fileListTimeLimitMs);
    std::string reply;
    unsigned char byte = 0;
    while (socket.read(&byte, 1) == 1) {
        reply.push_back(char(byte));
        if (reply.size() > statusLength && reply.compare(0, statusLength, fileListStatusLine) != 0) {
            return {};
        }
        if (reply.size() >= fileListReplyLimit || std::chrono::steady_clock::now() >= deadline) {
            // Cut off: the name being received when the limit struck may be incomplete.
            std::size_t lastSeparator = reply.rfind('!');
            reply.erase(lastSeparator == std::string::npos ? 0 : lastSeparator);
            break;
        }
    }
    if (reply.size() <= statusLength || reply.compare(0, statusLength, fileListStatusLine) != 0) {
        return {};
    }
    return reply;
}

std::vector<std::string> CStreamingPage::fileListFromReply(const std::string& reply)
{
    std::vector<std::string> pieces;
    std::size_t start = 0;
    while (start <= reply.size()) {
        std::size_t end = reply.find('!', start);
        if (end == std::string::npos) {
            end = reply.size();
        }
        if (end > start) {
            pieces.push_back(reply.substr(start, end - start));
        }
        start = end + 1;
    }
    std::vector<std::string> names;
    for (std::size_t i = 1; i < pieces.size() && pieces[i][0] != '@'; ++i) {
        names.push_back(pieces[i]);
    }
    return names;
}
