#include "ui/pages/CCompressionPage.h"

namespace {

const ParameterId lineModeCompression(0x1526); // the bitstream's dynamic range word
const ParameterId rfModeCompression(0x1523);   // the bitstream's compression word
const ParameterId customCutFactor(0x0B04);
const ParameterId customBoostFactor(0x0B05);

// A centre-zero meter from -range to +range, without easing.
MeterSettings centreZero(double range)
{
    MeterSettings settings;
    settings.horizontal = true;
    settings.offset = 0.0;
    settings.reference = 0.0;
    settings.maximum = range;
    settings.minimum = -range;
    settings.riseRate = 0.0;
    settings.fallRate = 0.0;
    settings.scale = 1.0;
    return settings;
}

} // namespace

CCompressionPage::CCompressionPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : Dialog(templateId), controller(parameterSet, errorReporter)
{
    connect(customCutId, Notify::KillFocus, [this](Notification&) { OnKillfocusCustomCut(); });
    connect(customCutId, Notify::EditChange, [this](Notification&) { OnChangeCustomCut(); });
    connect(customCutSpinId, Notify::DeltaPos,
            [this](Notification& n) { OnDeltaposCustomCut(n.upDown, n.result); });
    connect(customBoostId, Notify::KillFocus, [this](Notification&) { OnKillfocusCustomBoost(); });
    connect(customBoostId, Notify::EditChange, [this](Notification&) { OnChangeCustomBoost(); });
    connect(customBoostSpinId, Notify::DeltaPos,
            [this](Notification& n) { OnDeltaposCustomBoost(n.upDown, n.result); });
}

bool CCompressionPage::onInitDialog()
{
    Dialog::onInitDialog();
    attach(lineModeMeter, lineModeMeterId);
    attach(rfModeMeter, rfModeMeterId);
    attach(customCut, customCutId);
    attach(customCutSpin, customCutSpinId);
    attach(customBoost, customBoostId);
    attach(customBoostSpin, customBoostSpinId);
    bindMeters();
    bindEdits();
    return true;
}

void CCompressionPage::bindMeters()
{
    MeterSettings lineMode = centreZero(24.0);
    MeterSettings rfMode = centreZero(48.0);
    controller.addMeter(&lineModeMeter, lineModeCompression, &lineModeScaler, &lineMode);
    controller.addMeter(&rfModeMeter, rfModeCompression, &rfModeScaler, &rfMode);
}

void CCompressionPage::bindEdits()
{
    controller.addSpin(&customCutSpin, customCutFactor);
    controller.addEdit(&customCut, customCutFactor, &factorConverter);
    controller.addSpin(&customBoostSpin, customBoostFactor);
    controller.addEdit(&customBoost, customBoostFactor, &factorConverter);
}

void CCompressionPage::OnKillfocusCustomCut()
{
    controller.onEditKillFocus(&customCut);
}

void CCompressionPage::OnChangeCustomCut()
{
    controller.onEditChange(&customCut);
}

void CCompressionPage::OnDeltaposCustomCut(UpDownNotify* record, long* result)
{
    controller.onSpinDelta(&customCutSpin, record, result);
}

void CCompressionPage::OnKillfocusCustomBoost()
{
    controller.onEditKillFocus(&customBoost);
}

void CCompressionPage::OnChangeCustomBoost()
{
    controller.onEditChange(&customBoost);
}

void CCompressionPage::OnDeltaposCustomBoost(UpDownNotify* record, long* result)
{
    controller.onSpinDelta(&customBoostSpin, record, result);
}
