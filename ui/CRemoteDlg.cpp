#include "ui/CRemoteDlg.h"

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
#include "unit/UnitParameterSet.h"

namespace {

// The program-wide count of poll ticks; reconnecting does not reset it.
uint32_t pollTicks = 0;

const char* const configurationFilter = "QZ347 Files (*.347)|*.347|All Files (*.*)|*.*||";
const char* const textFilter = "Text Files (*.txt)|*.txt|All Files (*.*)|*.*||";
const char* const htmlFilter = "HTML Files (*.htm)|*.htm|All Files (*.*)|*.*||";
const char* const exportTitle = "QZ347 Parameters";

const ParameterId monitorOutput(0x2D04);
const ParameterId masterVolume(0x0511);
const ParameterId digitalVolume(0x0312);
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
    : Dialog(templateId), m_address(std::move(address)), m_comPort(comPort), m_connectionType(connectionType)
{
    m_lfeFormatter.add(ParameterValue(0), "");
    m_lfeFormatter.add(ParameterValue(1), "L");
    m_lfeFormatter.add(ParameterValue(2), "");
    m_icon.loadIcon(128);
    m_errorReporter = std::make_unique<DialogErrorReporter>(this);
    m_controller = std::make_unique<Win32Controller>(nullptr, m_errorReporter.get());
    setMenu(menu());

    struct ButtonHandler {
        int id;
        void (CRemoteDlg::*handler)();
    };
    static const ButtonHandler buttons[] = {
        {1097, &CRemoteDlg::OnInputAes1},
        {1098, &CRemoteDlg::OnInputAes2},
        {1099, &CRemoteDlg::OnInputOptical},
        {1100, &CRemoteDlg::OnInputStreaming},
        {1051, &CRemoteDlg::OnBypass},
        {1218, &CRemoteDlg::OnDim},
        {1219, &CRemoteDlg::OnRef},
        {1080, &CRemoteDlg::OnDownmixStereo},
        {1081, &CRemoteDlg::OnDownmixLtRt},
        {1082, &CRemoteDlg::OnDownmixMono},
        {1083, &CRemoteDlg::OnDecodeTessivaII},
        {1084, &CRemoteDlg::OnDecodeTessiva},
        {1085, &CRemoteDlg::OnDecodeQx},
        {1086, &CRemoteDlg::OnListeningFull},
        {1087, &CRemoteDlg::OnListening3Stereo},
        {1088, &CRemoteDlg::OnListeningPhantom},
        {1089, &CRemoteDlg::OnCompressionCustom},
        {1090, &CRemoteDlg::OnCompressionLine},
        {1091, &CRemoteDlg::OnCompressionRf},
        {1072, &CRemoteDlg::OnMuteL},
        {1074, &CRemoteDlg::OnMuteR},
        {1073, &CRemoteDlg::OnMuteC},
        {1075, &CRemoteDlg::OnMuteSw},
        {1076, &CRemoteDlg::OnMuteLs},
        {1077, &CRemoteDlg::OnMuteRs},
        {1078, &CRemoteDlg::OnMuteBs},
        {commandFileOpen, &CRemoteDlg::OnFileOpen},
        {commandFileSave, &CRemoteDlg::OnFileSave},
        {commandExportText, &CRemoteDlg::OnExportText},
        {commandExportHtml, &CRemoteDlg::OnExportHtml},
        {commandConnect, &CRemoteDlg::OnConnect},
        {commandAbout, &CRemoteDlg::OnAppAbout},
        {enterButtonId, &CRemoteDlg::OnEnter},
    };
    for (const ButtonHandler& button : buttons) {
        auto handler = button.handler;
        connect(button.id, Notify::Clicked, [this, handler](Notification&) { (this->*handler)(); });
    }
    connect(commandExit, Notify::Clicked, [this](Notification&) { onCancel(); });
    connect(upperTabId, Notify::SelChange, [this](Notification&) { OnSelchangeUpperTab(); });
    connect(lowerTabId, Notify::SelChange, [this](Notification&) { OnSelchangeLowerTab(); });
    connect(AnyControl, Notify::VScroll, [this](Notification& n) { OnVScroll(n.scrollCode, n.control); });
}

CRemoteDlg::~CRemoteDlg()
{
    stopTimer();
    disconnect();
    // No handler runs any more: everything torn down goes now.
    deleteAllRetired();
    m_controller.reset();
    m_errorReporter.reset();
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
    m_loopDepth = -1;

    attach(m_upperTab, upperTabId);
    attach(m_lowerTab, lowerTabId);
    struct Binding {
        Window* wrapper;
        int id;
    };
    const Binding controls[] = {
        {&m_vormoDigitalLed, 1150},
        {&m_errorLed, 1153},
        {&m_aesRefLed, 1158},
        {&m_tsLed, 1151},
        {&m_qxLed, 1160},
        {&m_ebLed, 1155},
        {&m_vhLed, 1159},
        {&m_timecodeHours, 1176},
        {&m_timecodeMinutes, 1177},
        {&m_timecodeSeconds, 1178},
        {&m_timecodeFrames, 1179},
        {&m_frameRate, 1031},
        {&m_inputType, 1161},
        {&m_sampleRate, 1011},
        {&m_dataRate, 1162},
        {&m_channelMode, 1163},
        {&m_lfeMark, 1182},
        {&m_presetName, 1012},
        {&m_bypass, 1051},
        {&m_inputAes1, 1097},
        {&m_inputAes2, 1098},
        {&m_inputOptical, 1099},
        {&m_inputStreaming, 1100},
        {&m_dim, 1218},
        {&m_ref, 1219},
        {&m_downmixStereo, 1080},
        {&m_downmixLtRt, 1081},
        {&m_downmixMono, 1082},
        {&m_downmixStereoLed, 1164},
        {&m_downmixLtRtLed, 1165},
        {&m_downmixMonoLed, 1166},
        {&m_decodeTessivaII, 1083},
        {&m_decodeTessiva, 1084},
        {&m_decodeQx, 1085},
        {&m_decodeTessivaIILed, 1167},
        {&m_decodeTessivaLed, 1168},
        {&m_decodeQxLed, 1169},
        {&m_listeningFull, 1086},
        {&m_listening3Stereo, 1087},
        {&m_listeningPhantom, 1088},
        {&m_listeningFullLed, 1170},
        {&m_listening3StereoLed, 1171},
        {&m_listeningPhantomLed, 1172},
        {&m_compressionCustom, 1089},
        {&m_compressionLine, 1090},
        {&m_compressionRf, 1091},
        {&m_compressionCustomLed, 1173},
        {&m_compressionLineLed, 1174},
        {&m_compressionRfLed, 1175},
        {&m_muteL, 1072},
        {&m_muteR, 1074},
        {&m_muteC, 1073},
        {&m_muteSw, 1075},
        {&m_muteLs, 1076},
        {&m_muteRs, 1077},
        {&m_muteBs, 1078},
        {&m_volumeSlider, volumeSliderId},
        {&m_volumeTopLabel, volumeTopLabelId},
        {&m_volumeZeroMark, volumeZeroMarkId},
        {&m_volumeReadout, 1247},
        {&m_dialogueLevel, 1079},
    };
    for (const Binding& binding : controls) {
        attach(*binding.wrapper, binding.id);
    }
    if (m_icon.isLoaded()) {
        setIcon(m_icon);
    }
    loadLedBitmaps();
    connect(m_connectionType, m_address, m_comPort);

    // Objects torn down from here on go once control is back in this window's loop.
    m_loopDepth = isRunningModal() ? modalDepth() + 1 : modalDepth();
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
        {&m_blueOn, 163, "blue on"},     {&m_blueOff, 164, "blue off"}, {&m_greenOn, 160, "green on"},
        {&m_greenOff, 159, "green off"}, {&m_redOn, 161, "red on"},     {&m_redOff, 162, "red off"},
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
    ParameterSet* set = m_parameterSet.get();
    ErrorReporter* reporter = m_errorReporter.get();
    placePage(m_pages[MetadataStatus], std::make_unique<CMetadataStatusPage>(set, reporter), m_upperTab,
              "Metadata Status");
    placePage(m_pages[OperatingMode], std::make_unique<COperatingModePage>(set, reporter), m_upperTab,
              "Operating Mode");
    placePage(m_pages[MonitorControl], std::make_unique<CMonitorControlPage>(set, reporter), m_upperTab,
              "Monitor Control");
    auto* userPresets = placePage(m_pages[UserPresets], std::make_unique<CUserPresetsPage>(set, reporter),
                                  m_upperTab, "User Presets");
    m_enterActions[UserPresets] = [userPresets] { userPresets->commitName(); };
    placePage(m_pages[IOControl], std::make_unique<CIOControlPage>(set, reporter), m_upperTab, "I/O Control");
    placePage(m_pages[MonitorConfiguration], std::make_unique<CMonitorConfigurationPage>(set, reporter),
              m_upperTab, "Monitor Configuration");
    auto* systemSettings =
        placePage(m_pages[SystemSettings], std::make_unique<CSystemSettingsPage>(set, reporter), m_upperTab,
                  "System Settings");
    m_enterActions[SystemSettings] = [systemSettings] { systemSettings->OnKillfocusUnitName(); };
    auto* streaming = placePage(m_pages[Streaming], std::make_unique<CStreamingPage>(set, reporter),
                                m_upperTab, "Streaming");
    m_enterActions[Streaming] = [this, streaming] {
        unsigned generation = m_generation;
        streaming->OnKillfocusServer();
        if (m_generation == generation) { // a reported failure has replaced the page
            streaming->OnSelchangeFile();
        }
    };
    placePage(m_pages[OutputMeters], std::make_unique<COutputMetersPage>(set, reporter), m_lowerTab,
              "Output Meters");
    placePage(m_pages[CompressionMeters], std::make_unique<CCompressionPage>(set, reporter), m_lowerTab,
              "Compression Meters");
}

void CRemoteDlg::bindControls()
{
    bindLeds();
    bindButtons();
    bindTexts();
    m_parameterSet->attachControlObserver(monitorOutput, this);
}

void CRemoteDlg::bindLeds()
{
    Win32Controller& c = *m_controller;
    c.addBitmap(&m_vormoDigitalLed, ParameterId(0x1100), &m_equals2, &m_blueOn, &m_blueOff, false);
    c.addBitmap(&m_errorLed, ParameterId(0x3D00), &m_nonZero, &m_redOn, &m_redOff, true);
    Win32BitmapMapObserver* aesRef = c.addBitmapMap(&m_aesRefLed, ParameterId(0x1701), &m_greenOff, true);
    aesRef->addBitmap(ParameterValue(0), &m_greenOff);
    aesRef->addBitmap(ParameterValue(1), &m_greenOn);
    aesRef->addBitmap(ParameterValue(2), &m_redOn);
    c.addBitmap(&m_tsLed, ParameterId(0x1506), &m_equals2, &m_greenOn, &m_greenOff, false);
    c.addBitmap(&m_qxLed, ParameterId(0x1517), &m_equals2, &m_greenOn, &m_greenOff, false);
    c.addBitmap(&m_ebLed, ParameterId(0x1510), &m_equals1, &m_greenOn, &m_greenOff, false);
    c.addBitmap(&m_vhLed, ParameterId(0x1518), &m_equals2, &m_greenOn, &m_greenOff, false);
}

void CRemoteDlg::bindButtons()
{
    Win32Controller& c = *m_controller;
    c.addCheckBox(&m_inputAes1, ParameterId(0x0301), 0);
    c.addCheckBox(&m_inputAes2, ParameterId(0x0301), 1);
    c.addCheckBox(&m_inputOptical, ParameterId(0x0301), 2);
    c.addCheckBox(&m_inputStreaming, ParameterId(0x0301), 3);
    c.addCheckBox(&m_dim, ParameterId(0x0513), 1);
    c.addCheckBox(&m_bypass, ParameterId(0x0309), 1);

    c.addCheckBox(&m_downmixMono, ParameterId(0x0302), 1);
    c.addBitmap(&m_downmixMonoLed, ParameterId(0x1103), &m_nonZero, &m_greenOn, &m_greenOff, false);
    c.addCheckBox(&m_downmixStereo, ParameterId(0x0B06), 1);
    c.addBitmap(&m_downmixStereoLed, ParameterId(0x1101), &m_nonZero, &m_greenOn, &m_greenOff, false);
    c.addCheckBox(&m_downmixLtRt, ParameterId(0x0B06), 2);
    c.addBitmap(&m_downmixLtRtLed, ParameterId(0x1102), &m_nonZero, &m_greenOn, &m_greenOff, false);

    c.addCheckBox(&m_decodeTessivaII, ParameterId(0x0306), 2);
    c.addBitmap(&m_decodeTessivaIILed, ParameterId(0x1104), &m_equals2, &m_greenOn, &m_greenOff, false);
    c.addCheckBox(&m_decodeTessiva, ParameterId(0x0306), 1);
    c.addBitmap(&m_decodeTessivaLed, ParameterId(0x1104), &m_equals1, &m_greenOn, &m_greenOff, false);
    c.addCheckBox(&m_decodeQx, ParameterId(0x0305), 1);
    c.addBitmap(&m_decodeQxLed, ParameterId(0x1105), &m_nonZero, &m_greenOn, &m_greenOff, false);

    c.addCheckBox(&m_listeningFull, ParameterId(0x070B), 0);
    c.addBitmap(&m_listeningFullLed, ParameterId(0x070B), &m_equals0, &m_greenOn, &m_greenOff, true);
    c.addCheckBox(&m_listening3Stereo, ParameterId(0x070B), 1);
    c.addBitmap(&m_listening3StereoLed, ParameterId(0x070B), &m_equals1, &m_greenOn, &m_greenOff, true);
    c.addCheckBox(&m_listeningPhantom, ParameterId(0x070B), 2);
    c.addBitmap(&m_listeningPhantomLed, ParameterId(0x070B), &m_equals2, &m_greenOn, &m_greenOff, true);

    c.addCheckBox(&m_compressionCustom, ParameterId(0x0B03), 3);
    c.addBitmap(&m_compressionCustomLed, ParameterId(0x1113), &m_equals3, &m_greenOn, &m_greenOff, false);
    c.addCheckBox(&m_compressionLine, ParameterId(0x0B03), 2);
    c.addBitmap(&m_compressionLineLed, ParameterId(0x1113), &m_equals2, &m_greenOn, &m_greenOff, false);
    c.addCheckBox(&m_compressionRf, ParameterId(0x0B03), 1);
    c.addBitmap(&m_compressionRfLed, ParameterId(0x1113), &m_equals1, &m_greenOn, &m_greenOff, false);

    c.addCheckBox(&m_muteL, ParameterId(0x0514), 1);
    c.addCheckBox(&m_muteR, ParameterId(0x0515), 1);
    c.addCheckBox(&m_muteC, ParameterId(0x0516), 1);
    c.addCheckBox(&m_muteSw, ParameterId(0x0517), 1);
    c.addCheckBox(&m_muteLs, ParameterId(0x0518), 1);
    c.addCheckBox(&m_muteRs, ParameterId(0x0519), 1);
    c.addCheckBox(&m_muteBs, ParameterId(0x051A), 1);
}

void CRemoteDlg::bindTexts()
{
    Win32Controller& c = *m_controller;
    c.addStatusText(&m_inputType, ParameterId(0x1100), nullptr);
    c.addStatusText(&m_sampleRate, ParameterId(0x110F), nullptr);
    c.addStatusText(&m_dataRate, ParameterId(0x1501), nullptr);
    c.addStatusText(&m_channelMode, ParameterId(0x1503), nullptr);
    c.addStatusText(&m_lfeMark, ParameterId(0x1507), &m_lfeFormatter);
    c.addStatusText(&m_presetName, ParameterId(0x1B01), nullptr);
    c.addStatusText(&m_frameRate, ParameterId(0x1303), nullptr);
    c.addStatusText(&m_timecodeHours, ParameterId(0x1301), &m_timecodeHigh);
    c.addStatusText(&m_timecodeMinutes, ParameterId(0x1301), &m_timecodeLow);
    c.addStatusText(&m_timecodeSeconds, ParameterId(0x1302), &m_timecodeHigh);
    c.addStatusText(&m_timecodeFrames, ParameterId(0x1302), &m_timecodeLow);
    c.addStatusText(&m_dialogueLevel, ParameterId(0x1508), nullptr);
}

void CRemoteDlg::update(Subject* changed, Transaction*)
{
    if (!isOwnSubject(changed)) {
        return;
    }
    bindVolume(subject->value().toUInt16() != 0 ? digitalVolume : masterVolume);
}

void CRemoteDlg::bindVolume(const ParameterId& volume)
{
    Win32SliderObserver* slider = m_controller->addSlider(&m_volumeSlider, volume, true, false);
    slider->setup(10, 1, 10);
    m_controller->addControlText(&m_volumeReadout, volume, nullptr);
    m_controller->addCheckBox(&m_ref, volume, referenceVolume);
    bool master = volume == masterVolume;
    m_volumeTopLabel.setText(master ? "+10 dB" : "0 dB");
    m_volumeZeroMark.show(master);
}

// --- Connection chain ---------------------------------------------------------------

void CRemoteDlg::connect(int connectionType, std::string address, int comPort)
{
    FatalErrorReporter fatal(this);
    m_connectionType = connectionType;
    m_address = std::move(address);
    m_comPort = comPort;
    std::exception_ptr failure;
    try {
        if (m_connectionType == ethernet || m_connectionType == serial) {
            bool built = m_connectionType == ethernet ? connectTcp() : connectSerial();
            if (built) {
                m_parameterSet = std::make_unique<UnitParameterSet>(&link_->protocol(), true);
            } else {
                disconnect();
            }
        } else {
            m_connectionType = offLine;
            buildOffLineSet();
        }
        if (m_parameterSet == nullptr) {
            m_connectionType = offLine;
            buildOffLineSet();
        }
        m_controller->setParameterSet(m_parameterSet.get());
        m_parameterSet->pollStatusGroup();
        m_parameterSet->refresh();
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
    // Shown before the teardown: while it is open, what had been built still exists.
    CCommErrorDlg dialog(text);
    dialog.runModal();
    disconnect();
    connect(offLine, "", 1);
}

void CRemoteDlg::buildOffLineSet()
{
    link_ = openOffLineLink(m_offLineStore);
    m_parameterSet = std::make_unique<UnitParameterSet>(&link_->protocol(), false);
}

bool CRemoteDlg::buildChain(const std::function<std::unique_ptr<UnitLink>()>& open)
{
    try {
        link_ = open();
        return true;
    } catch (...) {
        handleFailure(std::current_exception(), linkRoute, *m_errorReporter);
    }
    return false;
}

bool CRemoteDlg::connectTcp()
{
    m_timerInterval = 1;
    return buildChain([this] { return openTcpLink(m_address); });
}

bool CRemoteDlg::connectSerial()
{
    m_timerInterval = 30;
    return buildChain([this] { return openSerialLink(m_comPort, m_address); });
}

void CRemoteDlg::disconnect()
{
    m_upperTab.removeAll();
    m_lowerTab.removeAll();
    auto retired = std::make_unique<RetiredConnection>();
    for (Page page : {OperatingMode, IOControl, MetadataStatus, Streaming, MonitorControl,
                      MonitorConfiguration, UserPresets, SystemSettings, CompressionMeters, OutputMeters}) {
        destroyPage(m_pages[page], *retired);
    }
    retired->set = std::move(m_parameterSet);
    retired->link = std::move(link_);
    bool wasConnected = retired->set != nullptr || retired->link != nullptr;
    if (retired->objects() != 0) {
        retired_.push_back(std::move(retired));
    }
    clearConnectionPointers();
    if (wasConnected) {
        ++m_generation;
    }
}

// The pages, the set and the link have gone to the retired list already; the Enter
// actions point into the pages and go with them.
void CRemoteDlg::clearConnectionPointers()
{
    m_enterActions.fill(nullptr);
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
    if (retired_.empty() || m_loopDepth < 0 || modalDepth() > m_loopDepth) {
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
            connectionFailed(error.what(), m_connectionType == offLine);
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
    m_applicationEnded = true;
    stopTimer();
    endDialog(IDCANCEL);
    if (modalDepth() > 0) {
        quitApplication();
    }
}

// --- Timer --------------------------------------------------------------------------

void CRemoteDlg::startTimer()
{
    m_timerId = setTimer(pollTimerId, m_timerInterval);
}

bool CRemoteDlg::stopTimer()
{
    if (m_timerId == 0) {
        return false;
    }
    killTimer(m_timerId);
    m_timerId = 0;
    return true;
}

void CRemoteDlg::onTimer(unsigned timerId)
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
    if (m_parameterSet == nullptr) {
        return;
    }
    std::exception_ptr failure;
    try {
        m_parameterSet->pollStatusGroup();
        uint32_t tick = pollTicks++;
        if (tick % 10 == 0) {
            m_parameterSet->refresh();
        }
        m_parameterSet->pollStatusGroup();
    } catch (...) {
        failure = std::current_exception();
    }
    if (failure != nullptr) {
        reportPollFailure(failure);
    }
}

void CRemoteDlg::reportPollFailure(std::exception_ptr failure)
{
    handleFailure(failure, pollRoute, *m_errorReporter);
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
        handleFailure(failure, commandRoute, *m_errorReporter);
    }
    if (!m_applicationEnded) {
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
        std::ifstream in(path, std::ios::binary);
        if (!in) {
            throw VormoException("Error opening " + path);
        }
        WaitCursor wait;
        m_parameterSet->loadConfiguration(in);
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
                      [this](std::ostream& out) { m_parameterSet->saveConfiguration(out); });
}

void CRemoteDlg::OnExportText()
{
    saveThroughDialog("txt", textFilter,
                      [this](std::ostream& out) { m_parameterSet->exportText(out, exportTitle); });
}

void CRemoteDlg::OnExportHtml()
{
    saveThroughDialog("htm", htmlFilter,
                      [this](std::ostream& out) { m_parameterSet->exportGroupsHtml(out, exportTitle); });
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
    if (!m_applicationEnded) {
        startTimer();
    }
}

void CRemoteDlg::OnEnter()
{
    unsigned generation = m_generation;
    for (Page page : {Streaming, UserPresets, SystemSettings}) {
        // A step whose failure was reported has replaced the pages: the rest is gone.
        if (m_generation != generation) {
            return;
        }
        if (m_pages[page] != nullptr && m_enterActions[page]) {
            m_enterActions[page]();
        }
    }
}

void CRemoteDlg::OnSelchangeUpperTab()
{
    try {
        m_upperTab.showSelected();
    } catch (...) {
        reportPollFailure(std::current_exception());
    }
}

void CRemoteDlg::OnSelchangeLowerTab()
{
    try {
        m_lowerTab.showSelected();
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

void CRemoteDlg::OnVScroll(int code, Window* scrollBar)
{
    if (scrollBar != nullptr && m_volumeSlider.isSameWindow(scrollBar)) {
        m_controller->onScroll(&m_volumeSlider, code);
    }
}

void CRemoteDlg::OnInputAes1()
{
    m_controller->onCommand(&m_inputAes1);
}
void CRemoteDlg::OnInputAes2()
{
    m_controller->onCommand(&m_inputAes2);
}
void CRemoteDlg::OnInputOptical()
{
    m_controller->onCommand(&m_inputOptical);
}
void CRemoteDlg::OnInputStreaming()
{
    m_controller->onCommand(&m_inputStreaming);
}
void CRemoteDlg::OnBypass()
{
    m_controller->onCommand(&m_bypass);
}
void CRemoteDlg::OnDim()
{
    m_controller->onCommand(&m_dim);
}
void CRemoteDlg::OnRef()
{
    m_controller->onCommand(&m_ref);
}
void CRemoteDlg::OnDownmixStereo()
{
    m_controller->onCommand(&m_downmixStereo);
}
void CRemoteDlg::OnDownmixLtRt()
{
    m_controller->onCommand(&m_downmixLtRt);
}
void CRemoteDlg::OnDownmixMono()
{
    m_controller->onCommand(&m_downmixMono);
}
void CRemoteDlg::OnDecodeTessivaII()
{
    m_controller->onCommand(&m_decodeTessivaII);
}
void CRemoteDlg::OnDecodeTessiva()
{
    m_controller->onCommand(&m_decodeTessiva);
}
void CRemoteDlg::OnDecodeQx()
{
    m_controller->onCommand(&m_decodeQx);
}
void CRemoteDlg::OnListeningFull()
{
    m_controller->onCommand(&m_listeningFull);
}
void CRemoteDlg::OnListening3Stereo()
{
    m_controller->onCommand(&m_listening3Stereo);
}
void CRemoteDlg::OnListeningPhantom()
{
    m_controller->onCommand(&m_listeningPhantom);
}
void CRemoteDlg::OnCompressionCustom()
{
    m_controller->onCommand(&m_compressionCustom);
}
void CRemoteDlg::OnCompressionLine()
{
    m_controller->onCommand(&m_compressionLine);
}
void CRemoteDlg::OnCompressionRf()
{
    m_controller->onCommand(&m_compressionRf);
}
void CRemoteDlg::OnMuteL()
{
    m_controller->onCommand(&m_muteL);
}
void CRemoteDlg::OnMuteR()
{
    m_controller->onCommand(&m_muteR);
}
void CRemoteDlg::OnMuteC()
{
    m_controller->onCommand(&m_muteC);
}
void CRemoteDlg::OnMuteSw()
{
    m_controller->onCommand(&m_muteSw);
}
void CRemoteDlg::OnMuteLs()
{
    m_controller->onCommand(&m_muteLs);
}
void CRemoteDlg::OnMuteRs()
{
    m_controller->onCommand(&m_muteRs);
}
void CRemoteDlg::OnMuteBs()
{
    m_controller->onCommand(&m_muteBs);
}
