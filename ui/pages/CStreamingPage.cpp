#include "ui/pages/CStreamingPage.h"

#include <algorithm>
#include <cstring>

#include "model/ParameterSet.h"
#include "unit/ParameterIds.h"

namespace {

const ParameterId streamingServer(ParameterIds::streamingServer);
const ParameterId streamingFileName(ParameterIds::streamingFileName);

// Flow-control values and the states in which their buttons show pushed.
enum : int16_t { Play = 0, Pause = 1, Stop = 2 };
enum : int16_t { Stopped = 1, Paused = 2, Playing = 4 };

constexpr int skipSeconds = 10;

namespace Control = StreamingTemplate;
namespace Id = ParameterIds;

const ControlRow rows[] = {
    // The file and the server are sent by the page's own handlers.
    handledByWindow(dropdown(Control::file, Id::streamingFileName)),
    handledByWindow(edit(Control::server, Id::streamingServer)),
    // The thumb follows the reported position; moving it asks the unit to go there.
    statusSlider(Control::positionSlider, Id::streamPosition),
    targetSlider(Control::positionSlider, Id::positionToGoTo),
    pushButton(Control::play, Id::flowControl, Id::streamState, Play, Playing),
    pushButton(Control::pause, Id::flowControl, Id::streamState, Pause, Paused),
    pushButton(Control::stop, Id::flowControl, Id::streamState, Stop, Stopped),
    statusText(Control::position, Id::streamPosition),
    controlText(Control::positionReadout, Id::positionToGoTo),
    statusText(Control::duration, Id::streamDuration),
    statusText(Control::packetsLost, Id::packetsLost),
    statusText(Control::connectionState, Id::streamState),
    statusText(Control::status, Id::streamStatus),
};

} // namespace

const char* const CStreamingPage::fileListPath = "/vormo/listFiles.jsp";
const char* const CStreamingPage::fileListHost = "localhost:8080";
const char* const CStreamingPage::fileListStatusLine = "HTTP/1.1 200 OK";
const char* const CStreamingPage::serverNotAvailable = "<server not available>";
CStreamingPage::FileListLimits CStreamingPage::fileListLimits_;

CStreamingPage::CStreamingPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows),
      serverParameter_(parameterSet->findParameter(streamingServer)),
      fileNameParameter_(parameterSet->findParameter(streamingFileName))
{
    connect(skipBackId, Notify::Clicked, [this](Notification&) { OnSkipBack10s(); });
    connect(skipForwardId, Notify::Clicked, [this](Notification&) { OnSkipForward10s(); });
    connect(fileId, Notify::SelChange, [this](Notification&) { OnSelchangeFile(); });
    connect(fileId, Notify::KillFocus, [this](Notification&) { OnSelchangeFile(); });
    connect(serverId, Notify::KillFocus, [this](Notification&) { OnKillfocusServer(); });
}

bool CStreamingPage::onInitDialog()
{
    BoundDialog::onInitDialog();
    refreshFileList();
    control<Edit>(serverId).setLimitText(serverNameLimit);
    control<ComboBox>(fileId).setLimitText(fileNameLimit);
    return true;
}

void CStreamingPage::movePosition(int target)
{
    Slider& position = control<Slider>(positionId);
    position.setPos(target);
    controller_.onScroll(&position, ThumbTrack);
}

void CStreamingPage::OnSkipBack10s()
{
    int current = control<Slider>(positionId).getPos();
    movePosition(current - skipSeconds > 0 ? current - skipSeconds : 0);
}

void CStreamingPage::OnSkipForward10s()
{
    Slider& position = control<Slider>(positionId);
    movePosition(std::min(position.getPos() + skipSeconds, position.getRangeMax()));
}

void CStreamingPage::OnSelchangeFile()
{
    // Choosing "<server not available>" would make the unit look for a file of that
    // name: the file name shown goes back to the one in use, and nothing is sent.
    ComboBox& file = control<ComboBox>(fileId);
    if (listIsStandIn_ && file.getCurSel() == 0) {
        file.setText(fileNameParameter_->value().toString());
        return;
    }
    controller_.onCommand(&file);
}

void CStreamingPage::OnKillfocusServer()
{
    // A failed send is reported, and the report replaces this page (hiding it at once):
    // the old page then has no list to fetch.
    bool shown = isVisible();
    controller_.onEditChange(&control<Edit>(serverId));
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
    ComboBox& file = control<ComboBox>(fileId);
    std::string shownFile = file.getText();
    file.replaceList(listIsStandIn_ ? std::vector<std::string>{serverNotAvailable} : names);
    file.setText(shownFile);
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
