#include "ui/pages/CKaraokeDlg.h"

#include "model/ParameterId.h"

namespace {
const ParameterId karaokeMode(0x0B07);
const ParameterId levelVocalOne(0x0B08);
const ParameterId levelVocalTwo(0x0B09);
const ParameterId levelMusic(0x0B0A);
const ParameterId panVocalOne(0x0B0B);
const ParameterId panVocalTwo(0x0B0C);
const ParameterId panMusic(0x0B0D);
constexpr int16_t muteLevel = 61;
} // namespace

CKaraokeDlg::CKaraokeDlg(const Win32Controller& pageController)
    : Dialog(templateId), m_controller(pageController)
{
    using Handler = void (CKaraokeDlg::*)();
    const struct {
        int id;
        Handler handler;
    } clicks[] = {
        {1082, &CKaraokeDlg::OnKaraokeUnaware}, {1083, &CKaraokeDlg::OnKaraokeAware},
        {1084, &CKaraokeDlg::OnKaraokeCapable}, {1067, &CKaraokeDlg::OnMuteVocalOne},
        {1065, &CKaraokeDlg::OnMuteVocalTwo},   {1063, &CKaraokeDlg::OnMuteMusic},
    };
    for (const auto& click : clicks) {
        connect(click.id, Notify::Clicked,
                [this, handler = click.handler](Notification&) { (this->*handler)(); });
    }
    connect(AnyControl, Notify::HScroll, [this](Notification& n) { OnHScroll(n.scrollCode, n.control); });
    connect(AnyControl, Notify::VScroll, [this](Notification& n) { OnVScroll(n.scrollCode, n.control); });
}

bool CKaraokeDlg::onInitDialog()
{
    doDataExchange();
    bindControls();
    return true;
}

void CKaraokeDlg::doDataExchange()
{
    attach(m_panVocalOne, 1131);
    attach(m_panVocalTwo, 1132);
    attach(m_panMusic, 1133);
    attach(m_levelVocalOne, 1134);
    attach(m_levelVocalTwo, 1135);
    attach(m_levelMusic, 1136);
    attach(m_panVocalOneText, 1140);
    attach(m_panVocalTwoText, 1141);
    attach(m_panMusicText, 1142);
    attach(m_levelVocalOneText, 1139);
    attach(m_levelVocalTwoText, 1138);
    attach(m_levelMusicText, 1137);
    attach(m_unaware, 1082);
    attach(m_aware, 1083);
    attach(m_capable, 1084);
    attach(m_muteVocalOne, 1067);
    attach(m_muteVocalTwo, 1065);
    attach(m_muteMusic, 1063);
}

void CKaraokeDlg::bindControls()
{
    bindButtons();
    const struct {
        Slider* slider;
        Static* readout;
        ParameterId id;
    } sliders[] = {
        {&m_panVocalOne, &m_panVocalOneText, panVocalOne},
        {&m_panVocalTwo, &m_panVocalTwoText, panVocalTwo},
        {&m_panMusic, &m_panMusicText, panMusic},
        {&m_levelVocalOne, &m_levelVocalOneText, levelVocalOne},
        {&m_levelVocalTwo, &m_levelVocalTwoText, levelVocalTwo},
        {&m_levelMusic, &m_levelMusicText, levelMusic},
    };
    for (const auto& row : sliders) {
        m_controller.addSlider(row.slider, row.id, false, false)->setup(10, 1, 10);
        m_controller.addControlText(row.readout, row.id);
    }
}

void CKaraokeDlg::bindButtons()
{
    m_controller.addCheckBox(&m_unaware, karaokeMode, 0);
    m_controller.addCheckBox(&m_aware, karaokeMode, 1);
    m_controller.addCheckBox(&m_capable, karaokeMode, 2);
    m_controller.addCheckBox(&m_muteVocalOne, levelVocalOne, muteLevel);
    m_controller.addCheckBox(&m_muteVocalTwo, levelVocalTwo, muteLevel);
    m_controller.addCheckBox(&m_muteMusic, levelMusic, muteLevel);
}

void CKaraokeDlg::OnHScroll(int code, Window* scrollBar)
{
    if (scrollBar == nullptr) {
        return;
    }
    for (Slider* slider : {&m_panVocalOne, &m_panVocalTwo, &m_panMusic}) {
        if (slider->isSameWindow(scrollBar)) {
            m_controller.onScroll(slider, code);
            return;
        }
    }
}

void CKaraokeDlg::OnVScroll(int code, Window* scrollBar)
{
    if (scrollBar == nullptr) {
        return;
    }
    for (Slider* slider : {&m_levelVocalOne, &m_levelVocalTwo, &m_levelMusic}) {
        if (slider->isSameWindow(scrollBar)) {
            m_controller.onScroll(slider, code);
            return;
        }
    }
}

void CKaraokeDlg::OnKaraokeUnaware()
{
    m_controller.onCommand(&m_unaware);
}
void CKaraokeDlg::OnKaraokeAware()
{
    m_controller.onCommand(&m_aware);
}
void CKaraokeDlg::OnKaraokeCapable()
{
    m_controller.onCommand(&m_capable);
}
void CKaraokeDlg::OnMuteVocalOne()
{
    mute(m_muteVocalOne);
}
void CKaraokeDlg::OnMuteVocalTwo()
{
    mute(m_muteVocalTwo);
}
void CKaraokeDlg::OnMuteMusic()
{
    mute(m_muteMusic);
}

void CKaraokeDlg::mute(Button& button)
{
    button.setCheck(Button::Checked);
    m_controller.onCommand(&button);
}
