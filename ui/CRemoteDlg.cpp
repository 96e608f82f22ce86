#include "ui/CRemoteDlg.h"

#include <cerrno>
#include <fstream>

#include "model/Exceptions.h"
#include "platform/AppSupport.h"
#include "platform/Application.h"
#include "platform/FileDialog.h"
#include "platform/WaitCursor.h"
#include "ui/CAboutDlg.h"
#include "ui/CConnectionDlg.h"
#include "ui/CMessageDlg.h"
#include "ui/DialogErrorReporter.h"
#include "ui/DialogStack.h"
#include "ui/SafeFile.h"
#include "ui/binding/ControlTable.h"
#include "ui/binding/Win32Controller.h"
#include "ui/pages/CCompressionPage.h"
#include "ui/pages/CIOControlPage.h"
#include "ui/pages/CMetadataStatusPage.h"
#include "ui/pages/CMonitorConfigurationPage.h"
#include "ui/pages/CMonitorControlPage.h"
#include "ui/pages/COperatingModePage.h"
#include "ui/pages/COutputMetersPage.h"
#include "ui/pages/CStreamingPage.h"
#include "ui/pages/CSystemSettingsPage.h"
#include "ui/pages/CUserPresetsPage.h"
#include "unit/ParameterIds.h"
#include "unit/UnitParameterSet.h"

namespace {

// The program-wide count of poll ticks; reconnecting does not reset it.
uint32_t pollTicks = 0;

const char* const configurationFilter = "QZ347 Files (*.347)|*.347|All Files (*.*)|*.*||";
const char* const textFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
const char* const htmlFilter = "HTML Files (*.htm)|*.htm|All Files (*.*)|*.*||";
const char* const exportTitle = "QZ347 Parameters";

namespace Control = MainTemplate;
namespace Id = ParameterIds;

constexpr int16_t referenceVolume = 192; // 0 dB

// Files the page first, so that a disconnect destroys it even when its window fails,
// then creates its window in the tab control's display area and adds its tab.
template <typename PageClass>
PageClass* placePage(std::unique_ptr<Dialog>& slot, std::unique_ptr<PageClass> page, CTabPageControl& tabs,
                     const char* name)
{
    PageClass* placed = page.get();
    slot = std::move(page);
    if (!placed->create(&tabs)) {
        throw VormoException(std::string("The page \"") + name + "\" could not be created");
    }
    tabs.addPage(name, placed);
    return placed;
}

} // namespace

// What one disconnect tore down. It goes as the chain requires: the pages first, whose
// observers are attached to the set's parameters, then the set, then the link the set
// talks through (the members go in reverse order).
struct CRemoteDlg::RetiredConnection {
    std::unique_ptr<UnitLink> link;
    std::unique_ptr<UnitParameterSet> set;
    std::vector<std::unique_ptr<Dialog>> pages;

    ~RetiredConnection()
    {
        for (auto& page : pages) {
            page->destroyWindow();
            page.reset();
        }
    }
    std::size_t objects() const { return pages.size() + (set != nullptr) + (link != nullptr); }
};

// What a handler does with a failure of each kind of the family.
enum class FailureAction {
    reportHostError,
    reportProtocolError,
    reportError,
    passOn,   // rethrown, for the caller to handle
    fallBack, // shown by the window itself, which then connects off line
};

struct FailureRoute {
    FailureAction host;
    FailureAction protocol;
    FailureAction family;
};

namespace {

using Action = FailureAction;
// The timer and the tab handlers.
constexpr FailureRoute pollRoute{Action::reportHostError, Action::reportProtocolError, Action::reportError};
// The File menu's commands.
constexpr FailureRoute commandRoute{Action::reportHostError, Action::reportError, Action::reportError};
// Opening a link: only an error message of the unit is reported at once.
constexpr FailureRoute linkRoute{Action::reportHostError, Action::passOn, Action::passOn};
// Connecting as a whole.
constexpr FailureRoute connectRoute{Action::fallBack, Action::fallBack, Action::fallBack};

} // namespace

CRemoteDlg::CRemoteDlg(int connectionType, std::string address, int comPort)
    : Dialog(templateId), address_(std::move(address)), comPort_(comPort), connectionType_(connectionType)
{
    // The LFE mark shows "L" when the channel is present and nothing otherwise, not
    // even the "N/A" that the parameter's own labels give an unknown state.
    lfeFormatter_.add(ParameterValue(0), "");
    lfeFormatter_.add(ParameterValue(1), "L");
    lfeFormatter_.add(ParameterValue(2), "");
    icon_.loadIcon(128);
    errorReporter_ = std::make_unique<DialogErrorReporter>(this);
    controller_ = std::make_unique<Win32Controller>(nullptr, errorReporter_.get());
    setMenu(menu());

    rows_ = controlRows();
    routeRows(*this, *controller_, rows_);
    routeRows(*this, *controller_, volumeRows(Id::masterVolume));

    struct CommandHandler {
        int id;
        void (CRemoteDlg::*handler)();
    };
    static const CommandHandler commands[] = {
        {commandFileOpen, &CRemoteDlg::OnFileOpen},
        {commandFileSave, &CRemoteDlg::OnFileSave},
        {commandExportText, &CRemoteDlg::OnExportText},
        {commandExportHtml, &CRemoteDlg::OnExportHtml},
        {commandConnect, &CRemoteDlg::OnConnect},
        {commandAbout, &CRemoteDlg::OnAppAbout},
        {Control::hiddenDefaultButton, &CRemoteDlg::OnEnter},
    };
    for (const CommandHandler& command : commands) {
        auto handler = command.handler;
        connect(command.id, Notify::Clicked, [this, handler](Notification&) { (this->*handler)(); });
    }
    connect(commandExit, Notify::Clicked, [this](Notification&) { onCancel(); });
    connect(Control::upperTabs, Notify::SelChange, [this](Notification&) { OnSelchangeUpperTab(); });
    connect(Control::lowerTabs, Notify::SelChange, [this](Notification&) { OnSelchangeLowerTab(); });
}

CRemoteDlg::~CRemoteDlg()
{
    stopTimer();
    disconnect();
    // No handler runs any more: everything torn down goes now.
    deleteAllRetired();
    controller_.reset();
    errorReporter_.reset();
}

std::vector<MenuItem> CRemoteDlg::menu()
{
    return {
        {"&File",
         0,
         {
             {"&Connect...", commandConnect, {}},
             {"", 0, {}},
             {"&Open Configuration File...", commandFileOpen, {}},
             {"&Save Configuration File...", commandFileSave, {}},
             {"Export", 0, {{"&Text...", commandExportText, {}}, {"&HTML...", commandExportHtml, {}}}},
             {"", 0, {}},
             {"E&xit", commandExit, {}},
         }},
        {"&Help", 0, {{"&About QZ347Remote...", commandAbout, {}}}},
    };
}

uint32_t CRemoteDlg::tickCount()
{
    return pollTicks;
}

GenericProtocol* CRemoteDlg::protocol() const
{
    return link_ != nullptr ? &link_->protocol() : nullptr;
}

std::size_t CRemoteDlg::retiredObjects() const
{
    std::size_t objects = 0;
    for (const auto& retired : retired_) {
        objects += retired->objects();
    }
    return objects;
}

// --- Window set-up ------------------------------------------------------------------

bool CRemoteDlg::onInitDialog()
{
    // Nothing torn down while the window is being set up may go before its loop runs.
    loopDepth_ = -1;

    attach(upperTab_, Control::upperTabs);
    attach(lowerTab_, Control::lowerTabs);
    attach(volumeReadout_, Control::volumeReadout);
    attach(dialogueLevel_, Control::dialogueLevel);
    if (icon_.isLoaded()) {
        setIcon(icon_);
    }
    loadLedBitmaps();
    connect(connectionType_, address_, comPort_);

    // Objects torn down from here on go once control is back in this window's loop (a
    // modal run counts from the start of its set-up).
    loopDepth_ = modalDepth();
    return true;
}

void CRemoteDlg::loadLedBitmaps()
{
    struct Led {
        Bitmap* bitmap;
        int resource;
        const char* name;
    };
    const Led leds[] = {
        {&blueOn_, 163, "blue on"},     {&blueOff_, 164, "blue off"}, {&greenOn_, 160, "green on"},
        {&greenOff_, 159, "green off"}, {&redOn_, 161, "red on"},     {&redOff_, 162, "red off"},
    };
    for (const Led& led : leds) {
        if (!led.bitmap->loadBitmap(led.resource)) {
            throw VormoException(std::string("Error loading the ") + led.name + " led");
        }
    }
}

// Each page comes with one line here: it is built over the set and the reporter,
// created as a child of its tab control and added under its tab name.
void CRemoteDlg::createPages()
{
    ParameterSet* set = parameterSet_.get();
    ErrorReporter* reporter = errorReporter_.get();
    placePage(pages_[MetadataStatus], std::make_unique<CMetadataStatusPage>(set, reporter), upperTab_,
              "Metadata Status");
    placePage(pages_[OperatingMode], std::make_unique<COperatingModePage>(set, reporter), upperTab_,
              "Operating Mode");
    placePage(pages_[MonitorControl], std::make_unique<CMonitorControlPage>(set, reporter), upperTab_,
              "Monitor Control");
    auto* userPresets = placePage(pages_[UserPresets], std::make_unique<CUserPresetsPage>(set, reporter),
                                  upperTab_, "User Presets");
    enterActions_[UserPresets] = [userPresets] { userPresets->commitName(); };
    placePage(pages_[IOControl], std::make_unique<CIOControlPage>(set, reporter), upperTab_, "I/O Control");
    placePage(pages_[MonitorConfiguration], std::make_unique<CMonitorConfigurationPage>(set, reporter),
              upperTab_, "Monitor Configuration");
    auto* systemSettings =
        placePage(pages_[SystemSettings], std::make_unique<CSystemSettingsPage>(set, reporter), upperTab_,
                  "System Settings");
    enterActions_[SystemSettings] = [systemSettings] { systemSettings->OnKillfocusUnitName(); };
    auto* streaming = placePage(pages_[Streaming], std::make_unique<CStreamingPage>(set, reporter),
                                upperTab_, "Streaming");
    enterActions_[Streaming] = [this, streaming] {
        unsigned generation = generation_;
        streaming->OnKillfocusServer();
        if (generation_ == generation) { // a reported failure has replaced the page
            streaming->OnSelchangeFile();
        }
    };
    placePage(pages_[OutputMeters], std::make_unique<COutputMetersPage>(set, reporter), lowerTab_,
              "Output Meters");
    placePage(pages_[CompressionMeters], std::make_unique<CCompressionPage>(set, reporter), lowerTab_,
              "Compression Meters");
}

// Every bound control of the window but the volume controls, which follow the monitor
// output. Adding a control is its row here and its widget in the template.
std::vector<ControlRow> CRemoteDlg::controlRows()
{
    return {
        led(Control::vormoDigitalLed, Id::inputType, equals2_, blueOn_, blueOff_),
        controlLed(Control::errorLed, Id::errorCondition, nonZero_, redOn_, redOff_),
        led(Control::tsLed, Id::vormoSurroundMode, equals2_, greenOn_, greenOff_),
        led(Control::qxLed, Id::vormoSurroundQx, equals2_, greenOn_, greenOff_),
        led(Control::ebLed, Id::extendedBsi1Exists, equals1_, greenOn_, greenOff_),
        led(Control::vhLed, Id::vormoHeadphoneMode, equals2_, greenOn_, greenOff_),

        checkBox(Control::inputAes1, Id::inputSelect, 0),
        checkBox(Control::inputAes2, Id::inputSelect, 1),
        checkBox(Control::inputOptical, Id::inputSelect, 2),
        checkBox(Control::inputStreaming, Id::inputSelect, 3),
        checkBox(Control::dim, Id::dimSelect, 1),
        checkBox(Control::bypass, Id::bypass, 1),

        checkBox(Control::downmixMono, Id::monoSumControl, 1),
        led(Control::downmixMonoLed, Id::monoSumStatus, nonZero_, greenOn_, greenOff_),
        checkBox(Control::downmixStereo, Id::downmixType, 1),
        led(Control::downmixStereoLed, Id::loRoDownmixStatus, nonZero_, greenOn_, greenOff_),
        checkBox(Control::downmixLtRt, Id::downmixType, 2),
        led(Control::downmixLtRtLed, Id::ltRtDownmixStatus, nonZero_, greenOn_, greenOff_),

        checkBox(Control::decodeTessivaII, Id::pcmDecodeFormat, 2),
        led(Control::decodeTessivaIILed, Id::tessivaDecodeStatus, equals2_, greenOn_, greenOff_),
        checkBox(Control::decodeTessiva, Id::pcmDecodeFormat, 1),
        led(Control::decodeTessivaLed, Id::tessivaDecodeStatus, equals1_, greenOn_, greenOff_),
        checkBox(Control::decodeQx, Id::surroundQxDecoding, 1),
        led(Control::decodeQxLed, Id::surroundQxStatus, nonZero_, greenOn_, greenOff_),

        checkBox(Control::listeningFull, Id::downmixMode, 0),
        controlLed(Control::listeningFullLed, Id::downmixMode, equals0_, greenOn_, greenOff_),
        checkBox(Control::listening3Stereo, Id::downmixMode, 1),
        controlLed(Control::listening3StereoLed, Id::downmixMode, equals1_, greenOn_, greenOff_),
        checkBox(Control::listeningPhantom, Id::downmixMode, 2),
        controlLed(Control::listeningPhantomLed, Id::downmixMode, equals2_, greenOn_, greenOff_),

        checkBox(Control::compressionCustom, Id::compressionMode, 3),
        led(Control::compressionCustomLed, Id::compressionModeStatus, equals3_, greenOn_, greenOff_),
        checkBox(Control::compressionLine, Id::compressionMode, 2),
        led(Control::compressionLineLed, Id::compressionModeStatus, equals2_, greenOn_, greenOff_),
        checkBox(Control::compressionRf, Id::compressionMode, 1),
        led(Control::compressionRfLed, Id::compressionModeStatus, equals1_, greenOn_, greenOff_),

        checkBox(Control::muteLeft, Id::muteLeft, 1),
        checkBox(Control::muteRight, Id::muteRight, 1),
        checkBox(Control::muteCenter, Id::muteCenter, 1),
        checkBox(Control::muteSubwoofer, Id::muteSubwoofer, 1),
        checkBox(Control::muteLeftSurround, Id::muteLeftSurround, 1),
        checkBox(Control::muteRightSurround, Id::muteRightSurround, 1),
        checkBox(Control::muteBackSurround, Id::muteBackSurround, 1),

        statusText(Control::inputType, Id::inputType),
        statusText(Control::sampleRate, Id::sampleRateStatus),
        statusText(Control::dataRate, Id::dataRate),
        statusText(Control::channelMode, Id::channelMode),
        statusText(Control::lfeMark, Id::lfeChannel, &lfeFormatter_),
        statusText(Control::presetName, Id::activePresetName),
        statusText(Control::frameRate, Id::frameRate),
        statusText(Control::timecodeHours, Id::timecodeHoursMinutes, &timecodeHigh_),
        statusText(Control::timecodeMinutes, Id::timecodeHoursMinutes, &timecodeLow_),
        statusText(Control::timecodeSeconds, Id::timecodeSecondsFrames, &timecodeHigh_),
        statusText(Control::timecodeFrames, Id::timecodeSecondsFrames, &timecodeLow_),
        through(statusText(Control::dialogueLevel, Id::dialogueNormalization), dialogueLevel_),
    };
}

// The controls that follow the volume the monitor output selects.
std::vector<ControlRow> CRemoteDlg::volumeRows(int16_t volume)
{
    return {
        slider(Control::volumeSlider, volume, true),
        through(controlText(Control::volumeReadout, volume), volumeReadout_),
        checkBox(Control::ref, volume, referenceVolume),
    };
}

void CRemoteDlg::bindControls()
{
    bindRows(*this, *controller_, rows_);
    // The AES reference LED has a picture per value rather than a test.
    Win32BitmapMapObserver* aesRef =
        controller_->addBitmapMap(&control<Static>(Control::aesRefLed), ParameterId(Id::aesRefLed), &greenOff_, true);
    aesRef->addBitmap(ParameterValue(0), &greenOff_);
    aesRef->addBitmap(ParameterValue(1), &greenOn_);
    aesRef->addBitmap(ParameterValue(2), &redOn_);
    parameterSet_->attachControlObserver(ParameterId(Id::monitorOutput), this);
}

void CRemoteDlg::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    bindVolume(subject_->value().toUInt16() != 0 ? Id::digitalVolume : Id::masterVolume);
}

void CRemoteDlg::bindVolume(int16_t volume)
{
    bindRows(*this, *controller_, volumeRows(volume));
    bool master = volume == Id::masterVolume;
    control<Static>(Control::volumeTopLabel).setText(master ? "+10 dB" : "0 dB");
    control<Static>(Control::volumeZeroMark).show(master);
}

// --- Connection chain ---------------------------------------------------------------

void CRemoteDlg::connect(int connectionType, std::string address, int comPort)
{
    FatalErrorReporter fatal(this);
    connectionType_ = connectionType;
    address_ = std::move(address);
    comPort_ = comPort;
    std::exception_ptr failure;
    try {
        if (connectionType_ == ethernet || connectionType_ == serial) {
            bool built = connectionType_ == ethernet ? connectTcp() : connectSerial();
            if (built) {
                parameterSet_ = std::make_unique<UnitParameterSet>(&link_->protocol(), true);
            } else {
                disconnect();
            }
        } else {
            connectionType_ = offLine;
            buildOffLineSet();
        }
        if (parameterSet_ == nullptr) {
            connectionType_ = offLine;
            buildOffLineSet();
        }
        controller_->setParameterSet(parameterSet_.get());
        parameterSet_->pollStatusGroup();
        parameterSet_->refresh();
        createPages();
        bindControls();
        startTimer();
        return;
    } catch (...) {
        failure = std::current_exception();
    }
    handleFailure(failure, connectRoute, fatal);
}

// The off-line connection is the last resort: when even that fails there is nothing
// to fall back to, so its failure is shown once and the application ends.
void CRemoteDlg::connectionFailed(const std::string& text, bool wasOffLine)
{
    if (wasOffLine) {
        stopTimer();
        CMessageDlg dialog(applicationErrorTemplateId, text);
        dialog.runModal();
        disconnect();
        endApplication();
        return;
    }
    // Shown before the teardown: while it is open, the link and what was built over it
    // still exist (a link that failed to open has closed itself already).
    CCommErrorDlg dialog(text);
    dialog.runModal();
    disconnect();
    connect(offLine, "", 1);
}

void CRemoteDlg::buildOffLineSet()
{
    link_ = openOffLineLink(offLineStore_);
    parameterSet_ = std::make_unique<UnitParameterSet>(&link_->protocol(), false);
}

bool CRemoteDlg::buildChain(const std::function<std::unique_ptr<UnitLink>()>& open)
{
    try {
        link_ = open();
        return true;
    } catch (...) {
        handleFailure(std::current_exception(), linkRoute, *errorReporter_);
    }
    return false;
}

bool CRemoteDlg::connectTcp()
{
    timerInterval_ = 1;
    return buildChain([this] { return openTcpLink(address_); });
}

bool CRemoteDlg::connectSerial()
{
    timerInterval_ = 30;
    return buildChain([this] { return openSerialLink(comPort_, address_); });
}

void CRemoteDlg::disconnect()
{
    upperTab_.removeAll();
    lowerTab_.removeAll();
    auto retired = std::make_unique<RetiredConnection>();
    for (Page page : {OperatingMode, IOControl, MetadataStatus, Streaming, MonitorControl,
                      MonitorConfiguration, UserPresets, SystemSettings, CompressionMeters, OutputMeters}) {
        destroyPage(pages_[page], *retired);
    }
    retired->set = std::move(parameterSet_);
    retired->link = std::move(link_);
    bool wasConnected = retired->set != nullptr || retired->link != nullptr;
    if (retired->objects() != 0) {
        retired_.push_back(std::move(retired));
    }
    // The Enter actions point into the pages, which have gone to the retired list.
    enterActions_.fill(nullptr);
    if (wasConnected) {
        ++generation_;
    }
}

// The page may be the one whose handler is running: its window is hidden at once, and
// it is destroyed with the rest of the old connection.
void CRemoteDlg::destroyPage(std::unique_ptr<Dialog>& page, RetiredConnection& retired)
{
    if (page == nullptr) {
        return;
    }
    page->show(false);
    page->enable(false);
    retired.pages.push_back(std::move(page));
}

void CRemoteDlg::deleteRetiredObjects()
{
    // Only at the level of the window's own loop is no handler of ours on the stack
    // that could still use a torn-down page, controller or link.
    if (retired_.empty() || loopDepth_ < 0 || modalDepth() > loopDepth_) {
        return;
    }
    deleteAllRetired();
}

void CRemoteDlg::deleteAllRetired()
{
    // Taken out of the list first: a page's last words may tear down more.
    std::vector<std::unique_ptr<RetiredConnection>> retired;
    retired.swap(retired_);
    for (auto& connection : retired) {
        connection.reset();
    }
}

void CRemoteDlg::handleFailure(std::exception_ptr failure, const FailureRoute& route, ErrorReporter& reporter)
{
    auto take = [&](FailureAction action, const VormoException& error) {
        switch (action) {
        case FailureAction::reportHostError:
            reporter.reportHostError(dynamic_cast<const HostException&>(error));
            break;
        case FailureAction::reportProtocolError:
            reporter.reportProtocolError(dynamic_cast<const ProtocolException&>(error));
            break;
        case FailureAction::reportError:
            reporter.reportError(error);
            break;
        case FailureAction::passOn:
            throw;
        case FailureAction::fallBack:
            connectionFailed(error.what(), connectionType_ == offLine);
            break;
        }
    };
    try {
        std::rethrow_exception(failure);
    } catch (const HostException& error) {
        take(route.host, error);
    } catch (const ProtocolException& error) {
        take(route.protocol, error);
    } catch (const VormoException& error) {
        take(route.family, error);
    } catch (...) {
        reporter.reportUnknown();
    }
}

void CRemoteDlg::endApplication()
{
    applicationEnded_ = true;
    stopTimer();
    endDialog(IDCANCEL);
    if (modalDepth() > 0) {
        quitApplication();
    }
}

// --- Timer --------------------------------------------------------------------------

void CRemoteDlg::startTimer()
{
    timerId_ = setTimer(pollTimerId, timerInterval_);
}

bool CRemoteDlg::stopTimer()
{
    if (timerId_ == 0) {
        return false;
    }
    killTimer(timerId_);
    timerId_ = 0;
    return true;
}

void CRemoteDlg::timerElapsed(unsigned timerId)
{
    OnTimer(timerId);
}

void CRemoteDlg::OnTimer(unsigned timerId)
{
    if (timerId != pollTimerId) {
        return;
    }
    deleteRetiredObjects();
    DialogStack::instance().showTop();
    if (parameterSet_ == nullptr) {
        return;
    }
    std::exception_ptr failure;
    try {
        parameterSet_->pollStatusGroup();
        uint32_t tick = pollTicks++;
        if (tick % 10 == 0) {
            parameterSet_->refresh();
        }
        parameterSet_->pollStatusGroup();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure != nullptr) {
        reportPollFailure(failure);
    }
}

void CRemoteDlg::reportPollFailure(std::exception_ptr failure)
{
    handleFailure(failure, pollRoute, *errorReporter_);
}

// --- Menu and window handlers -------------------------------------------------------

void CRemoteDlg::runFileCommand(const std::function<void()>& command)
{
    stopTimer();
    std::exception_ptr failure;
    try {
        command();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure != nullptr) {
        handleFailure(failure, commandRoute, *errorReporter_);
    }
    if (!applicationEnded_) {
        startTimer();
    }
}

void CRemoteDlg::OnFileOpen()
{
    runFileCommand([this] {
        FileDialog dialog(true, "347", "", FileDialog::HideReadOnly, configurationFilter, this);
        if (dialog.runModal() != IDOK) {
            return;
        }
        std::string path = dialog.getPathName();
        // The stream leaves the system's reason for a failed open in errno.
        errno = 0;
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            throw fileFailure("Error opening", path, errno);
        }
        WaitCursor wait;
        parameterSet_->loadConfiguration(in);
    });
}

void CRemoteDlg::saveThroughDialog(const char* extension, const char* filter,
                                   const std::function<void(std::ostream&)>& write)
{
    runFileCommand([&] {
        FileDialog dialog(false, extension, "", FileDialog::HideReadOnly | FileDialog::OverwritePrompt,
                          filter, this);
        if (dialog.runModal() != IDOK) {
            return;
        }
        writeFileSafely(dialog.getPathName(), write);
    });
}

void CRemoteDlg::OnFileSave()
{
    saveThroughDialog("347", configurationFilter,
                      [this](std::ostream& out) { parameterSet_->saveConfiguration(out); });
}

void CRemoteDlg::OnExportText()
{
    saveThroughDialog("txt", textFilter,
                      [this](std::ostream& out) { parameterSet_->exportText(out, exportTitle); });
}

void CRemoteDlg::OnExportHtml()
{
    saveThroughDialog("htm", htmlFilter,
                      [this](std::ostream& out) { parameterSet_->exportGroupsHtml(out, exportTitle); });
}

void CRemoteDlg::OnConnect()
{
    stopTimer();
    CConnectionDlg dialog;
    if (dialog.runModal() == IDOK) {
        disconnect();
        // A serial port opens only once and the unit may take one connection at a
        // time: the old link must be closed before the new one opens, and from this
        // handler nothing still uses it.
        deleteRetiredObjects();
        connect(dialog.getConnectionType(), dialog.getAddress(), dialog.getComPort());
    }
    if (!applicationEnded_) {
        startTimer();
    }
}

void CRemoteDlg::OnEnter()
{
    unsigned generation = generation_;
    for (Page page : {Streaming, UserPresets, SystemSettings}) {
        // A step whose failure was reported has replaced the pages: the rest is gone.
        if (generation_ != generation) {
            return;
        }
        if (pages_[page] != nullptr && enterActions_[page]) {
            enterActions_[page]();
        }
    }
}

void CRemoteDlg::OnSelchangeUpperTab()
{
    try {
        upperTab_.showSelected();
    } catch (...) {
        reportPollFailure(std::current_exception());
    }
}

void CRemoteDlg::OnSelchangeLowerTab()
{
    try {
        lowerTab_.showSelected();
    } catch (...) {
        reportPollFailure(std::current_exception());
    }
}

void CRemoteDlg::OnAppAbout()
{
    CAboutDlg about;
    DialogStack::Entry entry(&about);
    about.runModal();
}
