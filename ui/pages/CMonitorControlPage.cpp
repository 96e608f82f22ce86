#include "ui/pages/CMonitorControlPage.h"

#include "model/ParameterId.h"
#include "ui/pages/CKaraokeDlg.h"
#include "ui/pages/CTessivaIIDlg.h"
#include "ui/pages/ModalPageDialog.h"

namespace {
const ParameterId extendedBitstream(0x0B02);
const ParameterId qxDecoding(0x0304);
const ParameterId lfeMonitorMode(0x070A);
const ParameterId tessivaDecoding(0x0D00);
const ParameterId headphoneMode(0x0310);
} // namespace

CMonitorControlPage::CMonitorControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), m_controller(parameterSet, errorReporter)
{
    using Handler = void (CMonitorControlPage::*)();
    const struct {
        int id;
        Handler handler;
    } clicks[] = {
        {1095, &CMonitorControlPage::OnExtendedBitstreamEnabled},
        {1096, &CMonitorControlPage::OnExtendedBitstreamDisabled},
        {1097, &CMonitorControlPage::OnQxDecodeManual},
        {1098, &CMonitorControlPage::OnQxDecodeAutomatic},
        {1062, &CMonitorControlPage::OnLfeMonitorAutomatic},
        {1079, &CMonitorControlPage::OnLfeMonitorOn},
        {1080, &CMonitorControlPage::OnLfeMonitorOff},
        {1099, &CMonitorControlPage::OnTessivaManual},
        {1100, &CMonitorControlPage::OnTessivaAutomatic},
        {1091, &CMonitorControlPage::OnHeadphoneOff},
        {1092, &CMonitorControlPage::OnHeadphoneVh1},
        {1093, &CMonitorControlPage::OnHeadphoneVh2},
        {1094, &CMonitorControlPage::OnHeadphoneVh3},
        {karaokeButtonId, &CMonitorControlPage::OnKaraoke},
        {tessivaIIButtonId, &CMonitorControlPage::OnTessivaII},
    };
    for (const auto& click : clicks) {
        connect(click.id, Notify::Clicked,
                [this, handler = click.handler](Notification&) { (this->*handler)(); });
    }
}

bool CMonitorControlPage::onInitDialog()
{
    doDataExchange();
    bindControls();
    return true;
}

void CMonitorControlPage::doDataExchange()
{
    attach(m_extendedBitstreamEnabled, 1095);
    attach(m_extendedBitstreamDisabled, 1096);
    attach(m_qxManual, 1097);
    attach(m_qxAutomatic, 1098);
    attach(m_lfeAutomatic, 1062);
    attach(m_lfeOn, 1079);
    attach(m_lfeOff, 1080);
    attach(m_tessivaManual, 1099);
    attach(m_tessivaAutomatic, 1100);
    attach(m_headphoneOff, 1091);
    attach(m_headphoneVh1, 1092);
    attach(m_headphoneVh2, 1093);
    attach(m_headphoneVh3, 1094);
    attach(m_karaoke, karaokeButtonId);
    attach(m_tessivaII, tessivaIIButtonId);
}

void CMonitorControlPage::bindControls()
{
    m_controller.addCheckBox(&m_extendedBitstreamEnabled, extendedBitstream, 1);
    m_controller.addCheckBox(&m_extendedBitstreamDisabled, extendedBitstream, 0);
    m_controller.addCheckBox(&m_qxManual, qxDecoding, 0);
    m_controller.addCheckBox(&m_qxAutomatic, qxDecoding, 1);
    m_controller.addCheckBox(&m_lfeAutomatic, lfeMonitorMode, 0);
    m_controller.addCheckBox(&m_lfeOn, lfeMonitorMode, 1);
    m_controller.addCheckBox(&m_lfeOff, lfeMonitorMode, 2);
    m_controller.addCheckBox(&m_tessivaManual, tessivaDecoding, 0);
    m_controller.addCheckBox(&m_tessivaAutomatic, tessivaDecoding, 1);
    m_controller.addCheckBox(&m_headphoneOff, headphoneMode, 0);
    m_controller.addCheckBox(&m_headphoneVh1, headphoneMode, 1);
    m_controller.addCheckBox(&m_headphoneVh2, headphoneMode, 2);
    m_controller.addCheckBox(&m_headphoneVh3, headphoneMode, 3);
}

void CMonitorControlPage::OnExtendedBitstreamEnabled()
{
    m_controller.onCommand(&m_extendedBitstreamEnabled);
}
void CMonitorControlPage::OnExtendedBitstreamDisabled()
{
    m_controller.onCommand(&m_extendedBitstreamDisabled);
}
void CMonitorControlPage::OnQxDecodeManual()
{
    m_controller.onCommand(&m_qxManual);
}
void CMonitorControlPage::OnQxDecodeAutomatic()
{
    m_controller.onCommand(&m_qxAutomatic);
}
void CMonitorControlPage::OnLfeMonitorAutomatic()
{
    m_controller.onCommand(&m_lfeAutomatic);
}
void CMonitorControlPage::OnLfeMonitorOn()
{
    m_controller.onCommand(&m_lfeOn);
}
void CMonitorControlPage::OnLfeMonitorOff()
{
    m_controller.onCommand(&m_lfeOff);
}
void CMonitorControlPage::OnTessivaManual()
{
    m_controller.onCommand(&m_tessivaManual);
}
void CMonitorControlPage::OnTessivaAutomatic()
{
    m_controller.onCommand(&m_tessivaAutomatic);
}
void CMonitorControlPage::OnHeadphoneOff()
{
    m_controller.onCommand(&m_headphoneOff);
}
void CMonitorControlPage::OnHeadphoneVh1()
{
    m_controller.onCommand(&m_headphoneVh1);
}
void CMonitorControlPage::OnHeadphoneVh2()
{
    m_controller.onCommand(&m_headphoneVh2);
}
void CMonitorControlPage::OnHeadphoneVh3()
{
    m_controller.onCommand(&m_headphoneVh3);
}

void CMonitorControlPage::OnKaraoke()
{
    runPageDialog<CKaraokeDlg>(m_controller);
}

void CMonitorControlPage::OnTessivaII()
{
    runPageDialog<CTessivaIIDlg>(m_controller);
}
