#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "templates/StreamingTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Win32Controller.h"

class Parameter;
class ParameterSet;
class SerialDeviceImplementation;

// "Streaming": the unit's network streaming input. Names the server and the file,
// drives play, pause and stop, shows and sets the play position and shows the
// stream's state. The file drop-down offers the list of files that the server gives
// over HTTP; every new server name fetches that list again.
class CStreamingPage : public Dialog {
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

    // The file-list service of a streaming server.
    static constexpr uint16_t fileListPort = 8080;
    static constexpr int fileListReadTimeoutMs = 1000;
    static const char* const fileListRequest;
    static const char* const fileListStatusLine;
    static const char* const serverNotAvailable;
    // What one exchange may take at most: a server that never stops sending would
    // otherwise hold the window for ever. Tests may shorten the time.
    static constexpr std::size_t fileListReplyLimit = 256 * 1024;
    static int fileListTimeLimitMs;

    // Throws as ParameterSet::findParameter when the set has no streaming server or file.
    CStreamingPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller; }

    // Fills the file drop-down with the server's list, keeping the file name shown.
    void refreshFileList();

    void OnHScroll(int code, Window* scrollBar);
    void OnSkipBack10s();
    void OnSkipForward10s();
    void OnPlay();
    void OnPause();
    void OnStop();
    // Sends the chosen or typed file name; the stand-in of a missing list is no name.
    void OnSelchangeFile();
    // Sends the server name, then fetches its file list; the main window calls it on
    // Enter too.
    void OnKillfocusServer();

    // The file names of a reply, status line and headers included: the pieces between
    // "!" after the first, up to the first piece that begins with "@".
    static std::vector<std::string> fileListFromReply(const std::string& reply);

protected:
    bool onInitDialog() override;
    void bindControls();
    void bindTransportButtons();
    void bindTexts();

private:
    // Sends the request and reads the reply; an empty list when the server is not there.
    std::vector<std::string> fetchFileList();
    static std::string readReply(SerialDeviceImplementation& socket);
    void movePosition(int position);

    Button play;
    Button pause;
    Button stop;
    Static positionText;
    Static positionTargetText;
    Static durationText;
    Static packetsLostText;
    Static stateText;
    Static statusText;
    Edit server;
    Slider position;
    ComboBox file;
    Parameter* serverParameter;
    Parameter* fileNameParameter;
    // The list holds only the stand-in for a server that gave none.
    bool listIsStandIn = false;
    // Declared last: its observers use the controls.
    Win32Controller controller;
};
