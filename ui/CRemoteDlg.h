#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

#include "device/UnitLink.h"
#include "model/Observer.h"
#include "model/Parameter.h"
#include "model/ParameterFormatter.h"
#include "platform/Dialog.h"
#include "platform/Resources.h"
#include "templates/MainTemplate.h"
#include "ui/binding/CTabPageControl.h"
#include "ui/binding/ControlTable.h"
#include "ui/binding/Indicators.h"
#include "unit/DefaultDeviceConnection.h"

class DialogErrorReporter;
class ErrorReporter;
class GenericProtocol;
class UnitParameterSet;
class Win32Controller;
struct FailureRoute;

// The main window: the unit's main status at a glance, the most used controls, the
// volume, and the two tab controls with the property pages. It owns the connection to
// the unit, polls it on its timer, carries the File menu and reports every failure.
class CRemoteDlg : public Dialog, public Observer<ControlParameter> {
public:
    static constexpr int templateId = MainTemplate::templateId;

    static constexpr int ethernet = 0;
    static constexpr int serial = 1;
    static constexpr int offLine = 2;
    static constexpr uint16_t unitPort = UnitLink::unitPort;
    static constexpr unsigned pollTimerId = 1;

    // Menu commands.
    static constexpr int commandConnect = 32775;
    static constexpr int commandFileOpen = 32773;
    static constexpr int commandFileSave = 32776;
    static constexpr int commandExportText = 32779;
    static constexpr int commandExportHtml = 32780;
    static constexpr int commandExit = 57665;
    static constexpr int commandAbout = 57664;

    // The property pages, in the order the window holds them.
    enum Page {
        CompressionMeters,
        OperatingMode,
        IOControl,
        MetadataStatus,
        Streaming,
        MonitorControl,
        MonitorConfiguration,
        UserPresets,
        SystemSettings,
        OutputMeters,
        PageCount
    };

    CRemoteDlg(int connectionType, std::string address, int comPort);
    ~CRemoteDlg() override;

    using Dialog::connect;
    // Builds the chain to the unit, the parameter set, the pages and the bindings, and
    // starts the poll timer. Requires the disconnected state.
    void connect(int connectionType, std::string address, int comPort);
    bool connectTcp();
    bool connectSerial();
    // Opens one link: an error message of the unit or a failure outside the family is
    // reported here (false); the family's other failures go on to connect.
    bool buildChain(const std::function<std::unique_ptr<UnitLink>()>& open);
    // Tears the connection down. The objects go at once from the window's fields; they
    // are deleted only when no handler that may still use them is running.
    void disconnect();

    void startTimer();
    bool stopTimer();

    // The observer of the monitor output: rebinds the volume controls.
    void update(Subject* changed, Transaction* hint) override;

    // Ends the application: the main window's run and every modal run above it.
    void endApplication();

    // State, for the error reporter and the tests.
    UnitParameterSet* parameterSet() const { return parameterSet_.get(); }
    GenericProtocol* protocol() const;
    int connectionType() const { return connectionType_; }
    const std::string& address() const { return address_; }
    int comPort() const { return comPort_; }
    int timerInterval() const { return timerInterval_; }
    bool timerRunning() const { return timerId_ != 0; }
    bool applicationEnded() const { return applicationEnded_; }
    DefaultDeviceConnection& offLineStore() { return offLineStore_; }
    Win32Controller* controller() const { return controller_.get(); }
    DialogErrorReporter* errorReporter() const { return errorReporter_.get(); }
    Dialog* page(Page which) const { return pages_[which].get(); }
    // Counts the connections torn down; a handler that sees it change has lost the
    // objects it was working on and stops.
    unsigned connectionGeneration() const { return generation_; }
    // Objects of torn-down connections not yet deleted.
    std::size_t retiredObjects() const;
    // The ticks of the poll timer since the program started.
    static uint32_t tickCount();

    // Handlers, as the window's controls and menu call them.
    void OnTimer(unsigned timerId);
    void OnFileOpen();
    void OnFileSave();
    void OnExportText();
    void OnExportHtml();
    void OnConnect();
    void OnEnter();
    void OnSelchangeUpperTab();
    void OnSelchangeLowerTab();
    void OnAppAbout();

    // What the window's File menu shows.
    static std::vector<MenuItem> menu();

protected:
    bool onInitDialog() override;
    void timerElapsed(unsigned timerId) override;

    void loadLedBitmaps();
    void createPages();
    void bindControls();
    // Builds the off-line adapter and the parameter set over the off-line store.
    virtual void buildOffLineSet();

private:
    struct RetiredConnection;

    // The one place where a failure in flight is sorted by kind and handed on as the
    // route says; a failure outside the family goes to the reporter's reportUnknown.
    void handleFailure(std::exception_ptr failure, const FailureRoute& route, ErrorReporter& reporter);
    // Runs a File menu command with the timer stopped, reporting what fails.
    void runFileCommand(const std::function<void()>& command);
    // Asks for a file to save to and writes it without ever destroying the old one.
    void saveThroughDialog(const char* extension, const char* filter,
                           const std::function<void(std::ostream&)>& write);
    // Hands the failure in flight to the error reporter by kind, as the timer and the
    // tab handlers do.
    void reportPollFailure(std::exception_ptr failure);
    // Hides the page at once; it goes with the rest of the torn-down connection.
    void destroyPage(std::unique_ptr<Dialog>& page, RetiredConnection& retired);
    // Deletes the objects of torn-down connections once control is back in the
    // window's own message loop.
    void deleteRetiredObjects();
    void deleteAllRetired();
    void connectionFailed(const std::string& text, bool wasOffLine);
    std::vector<ControlRow> controlRows();
    std::vector<ControlRow> volumeRows(int16_t volume);
    void bindVolume(int16_t volume);

    // The controls of the window.
    Icon icon_;
    int32_t timerInterval_ = 1;
    std::array<std::unique_ptr<Dialog>, PageCount> pages_;
    CTabPageControl upperTab_;
    CTabPageControl lowerTab_;
    Bitmap blueOn_;
    Bitmap blueOff_;
    Bitmap greenOn_;
    Bitmap greenOff_;
    Bitmap redOn_;
    Bitmap redOff_;
    ValueEqualsPredicate equals2_{2};
    ValueEqualsPredicate equals1_{1};
    ValueEqualsPredicate equals0_{0};
    ValueEqualsPredicate equals3_{3};
    ValueNonZeroPredicate nonZero_;
    BCDFormatter timecodeHigh_{"Timecode", 1};
    BCDFormatter timecodeLow_{"Timecode", 0};
    EnumeratedFormatter lfeFormatter_{"LFE Channel"};
    CStaticLCD volumeReadout_{0x00FF00};
    CStaticLCD dialogueLevel_{0x00FF00};
    std::vector<ControlRow> rows_;

    // The window's own reporter and controller (the controller reports to the reporter,
    // so it goes first), and the connection: the link and the set over it.
    std::unique_ptr<DialogErrorReporter> errorReporter_;
    std::unique_ptr<Win32Controller> controller_;
    DefaultDeviceConnection offLineStore_;
    std::unique_ptr<UnitLink> link_;
    std::unique_ptr<UnitParameterSet> parameterSet_;
    std::string address_;
    int32_t comPort_ = 1;
    unsigned timerId_ = 0;
    int32_t connectionType_ = offLine;

    // What a page needs done when Enter is pressed anywhere in the window.
    std::array<std::function<void()>, PageCount> enterActions_{};
    // Torn-down connections, in the order they are to be deleted.
    std::vector<std::unique_ptr<RetiredConnection>> retired_;
    unsigned generation_ = 0;
    // The modal-run depth at which the window's own message loop runs.
    int loopDepth_ = 0;
    bool offLineConnectFailed_ = false;
    bool applicationEnded_ = false;
};
