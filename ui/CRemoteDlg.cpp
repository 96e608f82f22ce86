#include "ui/CRemoteDlg.h"

#include <cstdio>
#include <fstream>

#include "device/NetworkDeviceConnection.h"
#include "device/ProtocolAdapter.h"
#include "device/RetryingProtocol.h"
#include "device/SmpteDeviceConnection.h"
#include "device/transport/SerialDevice.h"
#include "device/transport/Win32SerialPort.h"
#include "device/transport/Win32Socket.h"
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
void placePage(Dialog*& slot, Dialog* page, CTabPageControl& tabs, const char* name)
{
    slot = page;
    if (!page->create(&tabs)) {
        throw VormoException(std::string("The page \"") + name + "\" could not be created");
    }
    tabs.addPage(name, page);
}

} // namespace

CRemoteDlg::CRemoteDlg(int connectionType, std::string address, int comPort)
    : Dialog(templateId), m_address(std::move(address)), m_comPort(comPort), m_connectionType(connectionType)
{
    m_lfeFormatter.add(ParameterValue(0), "");
    m_lfeFormatter.add(ParameterValue(1), "L");
    m_lfeFormatter.add(ParameterValue(2), "");
    m_icon.loadIcon(128);
    m_errorReporter = new DialogErrorReporter(this);
    m_controller = new Win32Controller(nullptr, m_errorReporter);
    clearConnectionPointers();
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
    std::vector<std::function<void()>> retired;
    retired.swap(m_retired);
    for (auto& deleter : retired) {
        deleter();
    }
    delete m_controller;
    delete m_errorReporter;
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
    if (m_retryingProtocol != nullptr) {
        return m_retryingProtocol;
    }
    return m_adapter;
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
    ParameterSet* set = m_parameterSet;
    ErrorReporter* reporter = m_errorReporter;
    placePage(m_pages[MetadataStatus], new CMetadataStatusPage(set, reporter), m_upperTab, "Metadata Status");
    placePage(m_pages[OperatingMode], new COperatingModePage(set, reporter), m_upperTab, "Operating Mode");
    placePage(m_pages[MonitorControl], new CMonitorControlPage(set, reporter), m_upperTab, "Monitor Control");
    auto* userPresets = new CUserPresetsPage(set, reporter);
    placePage(m_pages[UserPresets], userPresets, m_upperTab, "User Presets");
    m_enterActions[UserPresets] = [userPresets] { userPresets->commitName(); };
    placePage(m_pages[IOControl], new CIOControlPage(set, reporter), m_upperTab, "I/O Control");
    placePage(m_pages[MonitorConfiguration], new CMonitorConfigurationPage(set, reporter), m_upperTab,
              "Monitor Configuration");
    auto* systemSettings = new CSystemSettingsPage(set, reporter);
    placePage(m_pages[SystemSettings], systemSettings, m_upperTab, "System Settings");
    m_enterActions[SystemSettings] = [systemSettings] { systemSettings->OnKillfocusUnitName(); };
    auto* streaming = new CStreamingPage(set, reporter);
    placePage(m_pages[Streaming], streaming, m_upperTab, "Streaming");
    m_enterActions[Streaming] = [this, streaming] {
        unsigned generation = m_generation;
        streaming->OnKillfocusServer();
        if (m_generation == generation) { // a reported failure has replaced the page
            streaming->OnSelchangeFile();
        }
    };
    placePage(m_pages[OutputMeters], new COutputMetersPage(set, reporter), m_lowerTab, "Output Meters");
    placePage(m_pages[CompressionMeters], new CCompressionPage(set, reporter), m_lowerTab,
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
    std::string failureText;
    try {
        if (m_connectionType == ethernet) {
            if (connectTcp()) {
                m_parameterSet = new UnitParameterSet(m_adapter, true);
            } else {
                disconnect();
            }
        } else if (m_connectionType == serial) {
            if (connectSerial()) {
                m_parameterSet = new UnitParameterSet(m_retryingProtocol, true);
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
        m_controller->setParameterSet(m_parameterSet);
        m_parameterSet->pollStatusGroup();
        m_parameterSet->refresh();
        createPages();
        bindControls();
        startTimer();
        return;
    } catch (const VormoException& error) {
        failureText = error.what();
    } catch (...) {
        fatal.reportUnknown();
        return;
    }
    connectionFailed(failureText, m_connectionType == offLine);
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
    m_adapter = new ProtocolAdapter(&m_offLineStore);
    m_parameterSet = new UnitParameterSet(m_adapter, false);
}

bool CRemoteDlg::buildChain(const std::function<void()>& build)
{
    try {
        build();
        return true;
    } catch (const HostException& error) {
        m_errorReporter->reportHostError(error);
        return false;
    } catch (const VormoException&) {
        throw;
    } catch (...) {
        m_errorReporter->reportUnknown();
        return false;
    }
}

bool CRemoteDlg::connectTcp()
{
    return buildChain([this] {
        m_timerInterval = 1;
        m_transport = new Win32Socket(m_address, unitPort);
        m_bridge = new SerialDevice(m_transport);
        m_deviceConnection = new NetworkDeviceConnection(m_bridge, &m_packet);
        m_adapter = new ProtocolAdapter(m_deviceConnection);
    });
}

bool CRemoteDlg::connectSerial()
{
    return buildChain([this] {
        m_timerInterval = 30;
        m_transport = new Win32SerialPort(m_comPort, serialBaudRate);
        m_bridge = new SerialDevice(m_transport);
        unsigned address = 0;
        int digitsEnd = 0;
        int digitsStart = 0;
        if (std::sscanf(m_address.c_str(), " %n%x%n", &digitsStart, &address, &digitsEnd) != 1) {
            throw VormoException("invalid SMPTE address");
        }
        // The unit's address has 16 bits; a longer number would select another unit.
        if (digitsEnd - digitsStart > 4 || address > 0xFFFF) {
            throw VormoException("invalid SMPTE address");
        }
        m_deviceConnection = new SmpteDeviceConnection(int(address), m_bridge);
        m_adapter = new ProtocolAdapter(m_deviceConnection);
        m_retryingProtocol = new RetryingProtocol(m_adapter, serialTries);
    });
}

void CRemoteDlg::disconnect()
{
    m_upperTab.removeAll();
    m_lowerTab.removeAll();
    for (Page page : {OperatingMode, IOControl, MetadataStatus, Streaming, MonitorControl,
                      MonitorConfiguration, UserPresets, SystemSettings, CompressionMeters, OutputMeters}) {
        destroyPage(m_pages[page]);
    }
    if (m_parameterSet != nullptr) {
        retire([set = m_parameterSet] { delete set; });
    }
    if (m_retryingProtocol != nullptr) {
        retire([protocol = m_retryingProtocol] { delete protocol; });
    }
    if (m_adapter != nullptr) {
        retire([adapter = m_adapter] { delete adapter; });
    }
    if (m_deviceConnection != nullptr) {
        retire([connection = m_deviceConnection] { delete connection; });
    }
    if (m_bridge != nullptr) {
        retire([bridge = m_bridge] { delete bridge; });
    }
    if (m_transport != nullptr) {
        retire([transport = m_transport] { delete transport; });
    }
    bool wasConnected = m_parameterSet != nullptr || m_transport != nullptr;
    clearConnectionPointers();
    if (wasConnected) {
        ++m_generation;
    }
}

void CRemoteDlg::clearConnectionPointers()
{
    m_pages.fill(nullptr);
    m_enterActions.fill(nullptr);
    m_parameterSet = nullptr;
    m_retryingProtocol = nullptr;
    m_adapter = nullptr;
    m_deviceConnection = nullptr;
    m_bridge = nullptr;
    m_transport = nullptr;
}

// The page may be the one whose handler is running: its window is hidden at once, and
// it is destroyed with the rest of the old connection.
void CRemoteDlg::destroyPage(Dialog* page)
{
    if (page == nullptr) {
        return;
    }
    page->show(false);
    page->enable(false);
    retire([page] {
        page->destroyWindow();
        delete page;
    });
}

void CRemoteDlg::retire(std::function<void()> deleter)
{
    m_retired.push_back(std::move(deleter));
}

void CRemoteDlg::deleteRetiredObjects()
{
    // Only at the level of the window's own loop is no handler of ours on the stack
    // that could still use a torn-down page, controller or link.
    if (m_retired.empty() || m_loopDepth < 0 || modalDepth() > m_loopDepth) {
        return;
    }
    std::vector<std::function<void()>> retired;
    retired.swap(m_retired);
    for (auto& deleter : retired) {
        deleter();
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
    try {
        std::rethrow_exception(failure);
    } catch (const HostException& error) {
        m_errorReporter->reportHostError(error);
    } catch (const ProtocolException& error) {
        m_errorReporter->reportProtocolError(error);
    } catch (const VormoException& error) {
        m_errorReporter->reportError(error);
    } catch (...) {
        m_errorReporter->reportUnknown();
    }
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
        try {
            std::rethrow_exception(failure);
        } catch (const HostException& error) {
            m_errorReporter->reportHostError(error);
        } catch (const VormoException& error) {
            m_errorReporter->reportError(error);
        } catch (...) {
            m_errorReporter->reportUnknown();
        }
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
