#include "ui/pages/CIOControlPage.h"

#include "model/ParameterId.h"
#include "ui/pages/CGpioDlg.h"
#include "ui/pages/ModalPageDialog.h"

namespace {
const ParameterId monitorOutput(0x2D04);
const ParameterId ifeMode(0x0308);
const ParameterId bypass(0x0309);
const ParameterId clockSource(0x0307);
} // namespace

CIOControlPage::CIOControlPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), m_controller(parameterSet, errorReporter)
{
    using Handler = void (CIOControlPage::*)();
    const struct {
        int id;
        Handler handler;
    } clicks[] = {
        {1129, &CIOControlPage::OnMonitorOutAnalog},    {1130, &CIOControlPage::OnMonitorOutAnalogDigital},
        {1107, &CIOControlPage::OnIfeDisable},          {1050, &CIOControlPage::OnIfeEnable},
        {1128, &CIOControlPage::OnBypassDisable},       {1127, &CIOControlPage::OnBypassEnable},
        {1108, &CIOControlPage::OnClockDigitalIn},      {1053, &CIOControlPage::OnClockReferenceSrcOff},
        {1054, &CIOControlPage::OnClockReferenceSrcOn}, {gpioButtonId, &CIOControlPage::OnGpio},
    };
    for (const auto& click : clicks) {
        connect(click.id, Notify::Clicked,
                [this, handler = click.handler](Notification&) { (this->*handler)(); });
    }
}

bool CIOControlPage::onInitDialog()
{
    doDataExchange();
    bindControls();
    return true;
}

void CIOControlPage::doDataExchange()
{
    attach(m_monitorOutAnalog, 1129);
    attach(m_monitorOutAnalogDigital, 1130);
    attach(m_ifeDisable, 1107);
    attach(m_ifeEnable, 1050);
    attach(m_bypassDisable, 1128);
    attach(m_bypassEnable, 1127);
    attach(m_clockDigitalIn, 1108);
    attach(m_clockReferenceSrcOff, 1053);
    attach(m_clockReferenceSrcOn, 1054);
    attach(m_gpio, gpioButtonId);
}

void CIOControlPage::bindControls()
{
    m_controller.addCheckBox(&m_monitorOutAnalog, monitorOutput, 0);
    m_controller.addCheckBox(&m_monitorOutAnalogDigital, monitorOutput, 1);
    // The unit's IFE Mode is 0 when enabled and 1 when disabled.
    m_controller.addCheckBox(&m_ifeDisable, ifeMode, 1);
    m_controller.addCheckBox(&m_ifeEnable, ifeMode, 0);
    m_controller.addCheckBox(&m_bypassDisable, bypass, 0);
    m_controller.addCheckBox(&m_bypassEnable, bypass, 1);
    // The unit numbers the reference input with the converter on as 1 and off as 2;
    // its internal clocks (3 to 5) have no button.
    m_controller.addCheckBox(&m_clockDigitalIn, clockSource, 0);
    m_controller.addCheckBox(&m_clockReferenceSrcOff, clockSource, 2);
    m_controller.addCheckBox(&m_clockReferenceSrcOn, clockSource, 1);
}

void CIOControlPage::OnMonitorOutAnalog()
{
    m_controller.onCommand(&m_monitorOutAnalog);
}
void CIOControlPage::OnMonitorOutAnalogDigital()
{
    m_controller.onCommand(&m_monitorOutAnalogDigital);
}
void CIOControlPage::OnIfeDisable()
{
    m_controller.onCommand(&m_ifeDisable);
}
void CIOControlPage::OnIfeEnable()
{
    m_controller.onCommand(&m_ifeEnable);
}
void CIOControlPage::OnBypassDisable()
{
    m_controller.onCommand(&m_bypassDisable);
}
void CIOControlPage::OnBypassEnable()
{
    m_controller.onCommand(&m_bypassEnable);
}
void CIOControlPage::OnClockDigitalIn()
{
    m_controller.onCommand(&m_clockDigitalIn);
}
void CIOControlPage::OnClockReferenceSrcOff()
{
    m_controller.onCommand(&m_clockReferenceSrcOff);
}
void CIOControlPage::OnClockReferenceSrcOn()
{
    m_controller.onCommand(&m_clockReferenceSrcOn);
}

void CIOControlPage::OnGpio()
{
    runPageDialog<CGpioDlg>(m_controller);
}
