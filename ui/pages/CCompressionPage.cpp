#include "ui/pages/CCompressionPage.h"

#include "model/ParameterConverter.h"
#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = CompressionMetersTemplate;
namespace Id = ParameterIds;

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

const LineModeMeterScaler lineModeScaler{};
const RfModeMeterScaler rfModeScaler{};
const MeterSettings lineModeSettings = centreZero(24.0);
const MeterSettings rfModeSettings = centreZero(48.0);
// The factors 0 to 10 shown as 0.0 to 1.0.
const FractionParameterConverter factorConverter{0, 10, 1, true};

const ControlRow rows[] = {
    // The bitstream's dynamic range word and its compression word.
    meter(Control::lineModeMeter, Id::dynamicRangeWord, lineModeScaler, lineModeSettings),
    meter(Control::rfModeMeter, Id::compressionWord, rfModeScaler, rfModeSettings),
    spin(Control::customCutSpin, Id::customCut),
    edit(Control::customCut, Id::customCut, &factorConverter),
    spin(Control::customBoostSpin, Id::customBoost),
    edit(Control::customBoost, Id::customBoost, &factorConverter),
};

} // namespace

CCompressionPage::CCompressionPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows)
{
}
