#include "ui/pages/CStreamingPage.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cstring>
#include <string_view>

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

// The header that says the body comes in chunks, in a head of any letter case.
bool saysChunked(std::string_view head)
{
    std::string lower(head);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return char(std::tolower(c)); });
    for (std::size_t line = lower.find("\r\n"); line != std::string::npos;
         line = lower.find("\r\n", line + 2)) {
        std::size_t end = std::min(lower.find("\r\n", line + 2), lower.size());
        std::string_view header = std::string_view(lower).substr(line + 2, end - line - 2);
        if (header.rfind("transfer-encoding:", 0) == 0 && header.find("chunked") != std::string_view::npos) {
            return true;
        }
    }
    return false;
}

// The hexadecimal size at the start of a chunk's line; false when there is none.
bool chunkSize(std::string_view line, std::size_t& size)
{
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), size, 16);
    return error == std::errc() && end != line.data();
}

// The reply with its chunked body (if it has one) decoded, so that the chunks' size
// lines neither become names nor split them. `whole` turns false when the chunks end
// before their last.
std::string withBodyDecoded(const std::string& reply, bool& whole)
{
    std::size_t bodyStart = reply.find("\r\n\r\n");
    if (bodyStart == std::string::npos || !saysChunked(std::string_view(reply).substr(0, bodyStart + 2))) {
        return reply;
    }
    bodyStart += 4;
    std::string text = reply.substr(0, bodyStart);
    std::size_t at = bodyStart;
    std::size_t size = 0;
    for (;;) {
        std::size_t lineEnd = reply.find("\r\n", at);
        if (lineEnd == std::string::npos ||
            !chunkSize(std::string_view(reply).substr(at, lineEnd - at), size)) {
            whole = false;
            break;
        }
        if (size == 0) {
            break; // the last chunk
        }
        std::size_t data = lineEnd + 2;
        text.append(reply, data, size);
        std::size_t left = reply.size() - data;
        if (size > left || left - size < 2) {
            whole = false; // the chunk, or the line end after it, was cut off
            break;
        }
        at = data + size + 2;
    }
    return text;
}

} // namespace

const char* const CStreamingPage::fileListRequest = "GET /vormo/listFiles.jsp HTTP/1.1\r\n"
                                                    "Host: localhost:8080\r\n"
                                                    // One exchange per list: the server closes after
                                                    // its reply instead of falling silent.
                                                    "Connection: close\r\n"
                                                    "\r\n";
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
        file.setText(heldText(fileNameParameter_->value()));
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
    TcpRequest request;
    request.host = host;
    request.port = fileListPort;
    request.bytes = fileListRequest;
    request.byteLimit = fileListLimits_.replyBytes;
    request.timeLimitMs = fileListLimits_.timeMs;
    request.connectLimitMs = fileListLimits_.connectMs;
    request.idleLimitMs = fileListLimits_.idleMs;
    // Replacing the exchange ends the one before at once: its answer never comes.
    fileListExchange_ = std::make_unique<TcpExchange>(
        request, [this, host](const TcpReply& reply) { onFileList(host, reply); });
}

bool CStreamingPage::isFetchingFileList() const
{
    return fileListExchange_ != nullptr && fileListExchange_->running();
}

// The list is a convenience: whatever goes wrong on the way, the drop-down simply
// offers no server's files and the user is not bothered with a report.
void CStreamingPage::onFileList(const std::string& host, const TcpReply& reply)
{
    if (host != serverParameter_->value().toString()) {
        return; // the list of a server no longer named
    }
    showFileList(fileListFromReply(reply.bytes, reply.whole()));
}

void CStreamingPage::showFileList(const std::vector<std::string>& names)
{
    listIsStandIn_ = names.empty();
    ComboBox& file = control<ComboBox>(fileId);
    std::string shownFile = file.getText();
    file.replaceList(listIsStandIn_ ? std::vector<std::string>{serverNotAvailable} : names);
    file.setText(shownFile);
}

std::vector<std::string> CStreamingPage::fileListFromReply(const std::string& reply, bool whole)
{
    std::size_t statusLength = std::strlen(fileListStatusLine);
    if (reply.size() <= statusLength || reply.compare(0, statusLength, fileListStatusLine) != 0) {
        return {};
    }
    std::string text = withBodyDecoded(reply, whole);
    if (!whole) {
        // Cut off: the name being received when the reply ended may be incomplete.
        std::size_t lastSeparator = text.rfind('!');
        text.erase(lastSeparator == std::string::npos ? 0 : lastSeparator);
    }
    return splitFileList(text);
}

std::vector<std::string> CStreamingPage::splitFileList(const std::string& text)
{
    std::vector<std::string> names;
    bool first = true;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = std::min(text.find('!', start), text.size());
        if (end > start) {
            if (!first && text[start] == '@') {
                break;
            }
            // A name the program would refuse to send is no choice to offer.
            if (!first && end - start <= std::size_t(fileNameLimit)) {
                names.push_back(text.substr(start, end - start));
            }
            first = false;
        }
        start = end + 1;
    }
    return names;
}
