#include "ui/pages/COutputMetersPage.h"

#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = OutputMetersTemplate;
namespace Id = ParameterIds;

const LevelMeterScaler levelScaler{};

// The bar is amber from the left end up to the level.
const MeterSettings levelSettings = [] {
    MeterSettings settings;
    settings.horizontal = true;
    settings.offset = 0.0;
    settings.reference = -60.0;
    settings.maximum = 0.0;
    settings.minimum = -60.0;
    settings.riseRate = 0.0;
    settings.fallRate = 40.0;
    settings.scale = 1.0;
    return settings;
}();

// Channel by channel as the unit numbers its output levels.
const ControlRow rows[] = {
    meter(Control::leftMeter, Id::leftMeter, levelScaler, levelSettings),
    meter(Control::rightMeter, Id::rightMeter, levelScaler, levelSettings),
    meter(Control::centerMeter, Id::centerMeter, levelScaler, levelSettings),
    meter(Control::subwooferMeter, Id::subwooferMeter, levelScaler, levelSettings),
    meter(Control::leftSurroundMeter, Id::leftSurroundMeter, levelScaler, levelSettings),
    meter(Control::rightSurroundMeter, Id::rightSurroundMeter, levelScaler, levelSettings),
    meter(Control::backSurroundLeftMeter, Id::backSurroundLeftMeter, levelScaler, levelSettings),
    meter(Control::backSurroundRightMeter, Id::backSurroundRightMeter, levelScaler, levelSettings),
};

} // namespace

COutputMetersPage::COutputMetersPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows)
{
}
