#include "ui/pages/CTessivaIIDlg.h"

#include "model/ParameterId.h"

namespace {
const ParameterId tessivaIIMode(0x0D01);
const ParameterId panorama(0x0D02);
const ParameterId dimension(0x0D03);
const ParameterId centerWidth(0x0D04);
} // namespace

CTessivaIIDlg::CTessivaIIDlg(const Win32Controller& pageController)
    : Dialog(templateId), m_controller(pageController)
{
    using Handler = void (CTessivaIIDlg::*)();
    const struct {
        int id;
        Handler handler;
    } clicks[] = {
        {1085, &CTessivaIIDlg::OnModeMovie},      {1086, &CTessivaIIDlg::OnModeMusic},
        {1087, &CTessivaIIDlg::OnModeTessiva},    {1088, &CTessivaIIDlg::OnModeMatrix},
        {1101, &CTessivaIIDlg::OnPanoramaEnable}, {1102, &CTessivaIIDlg::OnPanoramaDisable},
    };
    for (const auto& click : clicks) {
        connect(click.id, Notify::Clicked,
                [this, handler = click.handler](Notification&) { (this->*handler)(); });
    }
    connect(AnyControl, Notify::HScroll, [this](Notification& n) { OnHScroll(n.scrollCode, n.control); });
}

bool CTessivaIIDlg::onInitDialog()
{
    doDataExchange();
    bindControls();
    return true;
}

void CTessivaIIDlg::doDataExchange()
{
    attach(m_centerWidth, 1130);
    attach(m_dimension, 1091);
    attach(m_centerWidthText, 1165);
    attach(m_dimensionText, 1166);
    attach(m_movie, 1085);
    attach(m_music, 1086);
    attach(m_tessiva, 1087);
    attach(m_matrix, 1088);
    attach(m_panoramaEnable, 1101);
    attach(m_panoramaDisable, 1102);
}

void CTessivaIIDlg::bindControls()
{
    bindButtons();
    m_controller.addSlider(&m_centerWidth, centerWidth, false, false)->setup(1, 1, 7);
    m_controller.addControlText(&m_centerWidthText, centerWidth);
    m_controller.addSlider(&m_dimension, dimension, false, false)->setup(1, 1, 6);
    m_controller.addControlText(&m_dimensionText, dimension);
}

void CTessivaIIDlg::bindButtons()
{
    m_controller.addCheckBox(&m_movie, tessivaIIMode, 0);
    m_controller.addCheckBox(&m_music, tessivaIIMode, 1);
    m_controller.addCheckBox(&m_tessiva, tessivaIIMode, 2);
    m_controller.addCheckBox(&m_matrix, tessivaIIMode, 3);
    m_controller.addCheckBox(&m_panoramaEnable, panorama, 1);
    m_controller.addCheckBox(&m_panoramaDisable, panorama, 0);
}

void CTessivaIIDlg::OnHScroll(int code, Window* scrollBar)
{
    if (scrollBar == nullptr) {
        return;
    }
    for (Slider* slider : {&m_centerWidth, &m_dimension}) {
        if (slider->isSameWindow(scrollBar)) {
            m_controller.onScroll(slider, code);
            return;
        }
    }
}

void CTessivaIIDlg::OnModeMovie()
{
    m_controller.onCommand(&m_movie);
}
void CTessivaIIDlg::OnModeMusic()
{
    m_controller.onCommand(&m_music);
}
void CTessivaIIDlg::OnModeTessiva()
{
    m_controller.onCommand(&m_tessiva);
}
void CTessivaIIDlg::OnModeMatrix()
{
    m_controller.onCommand(&m_matrix);
}
void CTessivaIIDlg::OnPanoramaEnable()
{
    m_controller.onCommand(&m_panoramaEnable);
}
void CTessivaIIDlg::OnPanoramaDisable()
{
    m_controller.onCommand(&m_panoramaDisable);
}
