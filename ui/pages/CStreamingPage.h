#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/ParameterValue.h"
#include "platform/TcpExchange.h"
#include "templates/StreamingTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/BoundDialog.h"

class Parameter;
class ParameterSet;

// "Streaming": the unit's network streaming input. Names the server and the file,
// drives play, pause and stop, shows and sets the play position and shows the
// stream's state. The file drop-down offers the list of files that the server gives
// over HTTP, fetched in the background; every new server name fetches that list again.
class CStreamingPage : public BoundDialog {
public:
    static constexpr int templateId = StreamingTemplate::templateId;
    static constexpr int playId = StreamingTemplate::play;
    static constexpr int pauseId = StreamingTemplate::pause;
    static constexpr int stopId = StreamingTemplate::stop;
    static constexpr int skipBackId = StreamingTemplate::skipBack;
    static constexpr int skipForwardId = StreamingTemplate::skipForward;
    static constexpr int positionId = StreamingTemplate::positionSlider;
    static constexpr int positionTargetTextId = StreamingTemplate::positionReadout;
    static constexpr int positionTextId = StreamingTemplate::position;
    static constexpr int durationTextId = StreamingTemplate::duration;
    static constexpr int packetsLostTextId = StreamingTemplate::packetsLost;
    static constexpr int stateTextId = StreamingTemplate::connectionState;
    static constexpr int statusTextId = StreamingTemplate::status;
    static constexpr int serverId = StreamingTemplate::server;
    static constexpr int fileId = StreamingTemplate::file;
    static constexpr int serverNameLimit = 50;
    // The longest text the program sends as a file name.
    static constexpr int fileNameLimit = int(ParameterValue::maximumEncodedLength);

    // The file-list service of a streaming server: one constant request, whose reply
    // is read until the server closes or falls silent.
    static constexpr uint16_t fileListPort = 8080;
    static const char* const fileListRequest;
    static const char* const fileListStatusLine;
    static const char* const serverNotAvailable;
    // What one exchange may take at most: a server that never stops sending, or never
    // answers, would otherwise keep its list coming for ever.
    struct FileListLimits {
        // Every byte of the reply, status line and headers included.
        std::size_t replyBytes = 256 * 1024;
        int timeMs = 10000;
        int connectMs = 5000;
        // Silence that ends the reply of a server that keeps the connection open.
        int idleMs = 1000;
    };
    // Tests shorten the times so as not to wait them out.
    static const FileListLimits& fileListLimits() { return fileListLimits_; }
    static void setFileListLimits(const FileListLimits& limits) { fileListLimits_ = limits; }

    // Throws as ParameterSet::findParameter when the set has no streaming server or file.
    CStreamingPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    // Asks the server named by the streaming-server parameter for its list of files.
    // The drop-down keeps what it shows until the answer comes; an answer for a server
    // no longer named, or for a page gone, is dropped.
    void refreshFileList();
    bool isFetchingFileList() const;

    void OnSkipBack10s();
    void OnSkipForward10s();
    // Sends the chosen or typed file name; the stand-in of a missing list is no name.
    void OnSelchangeFile();
    // Sends the server name, then fetches its file list; the main window calls it on
    // Enter too.
    void OnKillfocusServer();

    // The file names of a reply as the server sent it, status line and headers
    // included: none unless it begins with the status line of success; then, with a
    // chunked body decoded, the pieces between "!" after the first, up to the first
    // piece that begins with "@". A reply cut short (not whole) loses the name it may
    // have cut. Names longer than the program sends are left out.
    static std::vector<std::string> fileListFromReply(const std::string& reply, bool whole = true);

protected:
    bool onInitDialog() override;

private:
    void onFileList(const std::string& host, const TcpReply& reply);
    static std::vector<std::string> splitFileList(const std::string& text);
    void showFileList(const std::vector<std::string>& names);
    void movePosition(int position);

    static FileListLimits fileListLimits_;

    Parameter* serverParameter_;
    Parameter* fileNameParameter_;
    // The list holds only the stand-in for a server that gave none.
    bool listIsStandIn_ = false;
    // The exchange asking for the list; replacing it drops the older answer.
    std::unique_ptr<TcpExchange> fileListExchange_;
};
