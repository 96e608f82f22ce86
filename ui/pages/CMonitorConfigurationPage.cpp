#include "ui/pages/CMonitorConfigurationPage.h"

#include "model/ParameterId.h"

namespace {
enum Row {
    DigitalRef,
    TrimL,
    TrimR,
    TrimC,
    TrimSw,
    TrimLs,
    TrimRs,
    TrimBsl,
    TrimBsr,
    DelayCenter,
    DelayLsRs,
    DelayBslBsr,
    DelayTessiva
};

const ParameterId masterTrim(0x0510);
const ParameterId digitalRefAutoCal(0x030F);
const ParameterId testNoise(0x2300);

ParameterId idOf(int parameter)
{
    return ParameterId(int16_t(parameter));
}
} // namespace

// The channel trims stand L, R, C, SW, Ls, Rs, Bsl, Bsr on screen; their control ids
// do not follow that order.
const std::array<CMonitorConfigurationPage::EditRow, CMonitorConfigurationPage::editRows>
    CMonitorConfigurationPage::editRowTable = {{
        {1143, 1933, 0x030D},
        {1168, 1930, 0x0508},
        {1169, 1931, 0x0509},
        {1061, 1932, 0x050A},
        {1062, 1953, 0x050B},
        {1063, 1934, 0x050C},
        {1066, 1935, 0x050D},
        {1064, 1936, 0x050E},
        {1065, 1937, 0x050F},
        {1929, 1939, 0x0701},
        {1928, 1938, 0x0702},
        {1940, 1941, 0x0703},
        {1942, 1947, 0x0704},
    }};

CMonitorConfigurationPage::CMonitorConfigurationPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), m_controller(parameterSet, errorReporter)
{
#define QZ_MONITOR_CONFIGURATION_CONNECT(stem, row)                                                          \
    connect(editRowTable[row].editId, Notify::EditChange, [this](Notification&) { OnChange##stem(); });      \
    connect(editRowTable[row].editId, Notify::KillFocus, [this](Notification&) { OnKillfocus##stem(); });    \
    connect(editRowTable[row].spinId, Notify::DeltaPos,                                                      \
            [this](Notification& n) { OnDeltapos##stem(n.upDown, n.result); });
    QZ_MONITOR_CONFIGURATION_EDIT_ROWS(QZ_MONITOR_CONFIGURATION_CONNECT)
#undef QZ_MONITOR_CONFIGURATION_CONNECT

    using Handler = void (CMonitorConfigurationPage::*)();
    const struct {
        int id;
        Notify code;
        Handler handler;
    } handlers[] = {
        {1051, Notify::Clicked, &CMonitorConfigurationPage::OnDigitalRefAutoCal},
        {1145, Notify::Clicked, &CMonitorConfigurationPage::OnTestNoiseWideband},
        {1164, Notify::Clicked, &CMonitorConfigurationPage::OnTestNoiseFiltered},
        {1241, Notify::SelChange, &CMonitorConfigurationPage::OnSelchangeDimGain},
        {1055, Notify::SelChange, &CMonitorConfigurationPage::OnSelchangeSpeakerLeftRight},
        {1056, Notify::SelChange, &CMonitorConfigurationPage::OnSelchangeSpeakerCenter},
        {1057, Notify::SelChange, &CMonitorConfigurationPage::OnSelchangeSpeakerSurrounds},
        {1058, Notify::SelChange, &CMonitorConfigurationPage::OnSelchangeSubwoofer},
        {1059, Notify::SelChange, &CMonitorConfigurationPage::OnSelchangeBackSurroundSpeakers},
        {1060, Notify::SelChange, &CMonitorConfigurationPage::OnSelchangeSubwooferCrossover},
        {1181, Notify::SelChange, &CMonitorConfigurationPage::OnSelchangeTestNoiseChannel},
    };
    for (const auto& entry : handlers) {
        connect(entry.id, entry.code, [this, handler = entry.handler](Notification&) { (this->*handler)(); });
    }
    connect(AnyControl, Notify::VScroll, [this](Notification& n) { OnVScroll(n.scrollCode, n.control); });
}

bool CMonitorConfigurationPage::onInitDialog()
{
    doDataExchange();
    bindControls();
    return true;
}

void CMonitorConfigurationPage::doDataExchange()
{
    for (int row = 0; row < editRows; ++row) {
        attach(m_edits[row], editRowTable[row].editId);
        attach(m_spins[row], editRowTable[row].spinId);
    }
    attach(m_masterTrim, masterTrimSliderId);
    attach(m_masterTrimText, 1249);
    attach(m_digitalRefAutoCal, 1051);
    attach(m_testNoiseWideband, 1145);
    attach(m_testNoiseFiltered, 1164);
    attach(m_dimGain, 1241);
    attach(m_speakerLeftRight, 1055);
    attach(m_speakerCenter, 1056);
    attach(m_speakerSurrounds, 1057);
    attach(m_subwoofer, 1058);
    attach(m_backSurroundSpeakers, 1059);
    attach(m_subwooferCrossover, 1060);
    attach(m_testNoiseChannel, 1181);
}

void CMonitorConfigurationPage::bindControls()
{
    bindEdits();
    bindSlider();
    bindButtons();
    m_controller.addComboBox(&m_dimGain, idOf(0x0512), 1400, 1437);
    m_controller.addComboBox(&m_speakerLeftRight, idOf(0x0706), 500, 501);
    m_controller.addComboBox(&m_speakerCenter, idOf(0x0705), 500, 501);
    m_controller.addComboBox(&m_speakerSurrounds, idOf(0x0707), 500, 501);
    m_controller.addComboBox(&m_subwoofer, idOf(0x0709), 600, 601);
    m_controller.addComboBox(&m_backSurroundSpeakers, idOf(0x0700), 700, 702);
    m_controller.addComboBox(&m_subwooferCrossover, idOf(0x0708), 800, 802);
    // The application's own channel selector: a rule carries it to the unit's
    // test-noise channel and cycle parameters, whose channel order differs.
    m_controller.addComboBox(&m_testNoiseChannel, idOf(0x4301), 1600, 1608);
}

const ParameterConverter* CMonitorConfigurationPage::converterOf(int row) const
{
    switch (row) {
    case DigitalRef:
        return &m_referenceConverter;
    case DelayCenter:
        return &m_centreDelayConverter;
    case DelayLsRs:
    case DelayBslBsr:
        return &m_surroundDelayConverter;
    case DelayTessiva:
        return &m_matrixDelayConverter;
    default:
        return &m_trimConverter;
    }
}

void CMonitorConfigurationPage::bindEdits()
{
    for (int row = 0; row < editRows; ++row) {
        ParameterId id = idOf(editRowTable[row].parameter);
        m_controller.addSpin(&m_spins[row], id);
        m_controller.addEdit(&m_edits[row], id, converterOf(row));
    }
}

void CMonitorConfigurationPage::bindSlider()
{
    // Vertical and inverted: +6 dB (52) at the top, -20 dB (0) at the bottom.
    m_controller.addSlider(&m_masterTrim, masterTrim, true, false)->setup(10, 1, 10);
    m_controller.addControlText(&m_masterTrimText, masterTrim);
}

void CMonitorConfigurationPage::bindButtons()
{
    m_controller.addCheckBox(&m_digitalRefAutoCal, digitalRefAutoCal, 1);
    // Two exclusive toggles over one parameter: checking one selects its noise,
    // unchecking it turns the noise off.
    m_controller.addCheckBox(&m_testNoiseWideband, testNoise, 1);
    m_controller.addCheckBox(&m_testNoiseFiltered, testNoise, 2);
}

#define QZ_MONITOR_CONFIGURATION_DEFINE(stem, row)                                                           \
    void CMonitorConfigurationPage::OnChange##stem()                                                         \
    {                                                                                                        \
        m_controller.onEditChange(&m_edits[row]);                                                            \
    }                                                                                                        \
    void CMonitorConfigurationPage::OnKillfocus##stem()                                                      \
    {                                                                                                        \
        m_controller.onEditKillFocus(&m_edits[row]);                                                         \
    }                                                                                                        \
    void CMonitorConfigurationPage::OnDeltapos##stem(UpDownNotify* record, long* result)                     \
    {                                                                                                        \
        m_controller.onSpinDelta(&m_spins[row], record, result);                                             \
    }
QZ_MONITOR_CONFIGURATION_EDIT_ROWS(QZ_MONITOR_CONFIGURATION_DEFINE)
#undef QZ_MONITOR_CONFIGURATION_DEFINE

void CMonitorConfigurationPage::OnDigitalRefAutoCal()
{
    m_controller.onCommand(&m_digitalRefAutoCal);
}
void CMonitorConfigurationPage::OnTestNoiseWideband()
{
    m_controller.onCommand(&m_testNoiseWideband);
}
void CMonitorConfigurationPage::OnTestNoiseFiltered()
{
    m_controller.onCommand(&m_testNoiseFiltered);
}
void CMonitorConfigurationPage::OnSelchangeDimGain()
{
    m_controller.onCommand(&m_dimGain);
}
void CMonitorConfigurationPage::OnSelchangeSpeakerLeftRight()
{
    m_controller.onCommand(&m_speakerLeftRight);
}
void CMonitorConfigurationPage::OnSelchangeSpeakerCenter()
{
    m_controller.onCommand(&m_speakerCenter);
}
void CMonitorConfigurationPage::OnSelchangeSpeakerSurrounds()
{
    m_controller.onCommand(&m_speakerSurrounds);
}
void CMonitorConfigurationPage::OnSelchangeSubwoofer()
{
    m_controller.onCommand(&m_subwoofer);
}
void CMonitorConfigurationPage::OnSelchangeBackSurroundSpeakers()
{
    m_controller.onCommand(&m_backSurroundSpeakers);
}
void CMonitorConfigurationPage::OnSelchangeSubwooferCrossover()
{
    m_controller.onCommand(&m_subwooferCrossover);
}
void CMonitorConfigurationPage::OnSelchangeTestNoiseChannel()
{
    m_controller.onCommand(&m_testNoiseChannel);
}

void CMonitorConfigurationPage::OnVScroll(int code, Window* scrollBar)
{
    if (scrollBar != nullptr && m_masterTrim.isSameWindow(scrollBar)) {
        m_controller.onScroll(&m_masterTrim, code);
    }
}
