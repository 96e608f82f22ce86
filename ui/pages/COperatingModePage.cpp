#include "ui/pages/COperatingModePage.h"

#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = OperatingModeTemplate;
namespace Id = ParameterIds;

const ControlRow rows[] = {
    checkBox(Control::decodeFormatAutomatic, Id::decodeFormat, 0),
    checkBox(Control::decodeFormatVormoDigital, Id::decodeFormat, 1),
    checkBox(Control::detectionNormal, Id::detectionMode, 0),
    checkBox(Control::detectionSilentSwitch, Id::detectionMode, 1),
    checkBox(Control::aes3ChannelSelectAutomatic, Id::aes3ChannelSelect, 0),
    checkBox(Control::aes3ChannelSelectChannel1, Id::aes3ChannelSelect, 1),
    checkBox(Control::aes3ChannelSelectChannel2, Id::aes3ChannelSelect, 2),
    checkBox(Control::aes3ChannelSelectBoth, Id::aes3ChannelSelect, 3),
    checkBox(Control::streamSelect0, Id::streamSelect, 0),
    checkBox(Control::streamSelect1, Id::streamSelect, 1),
    checkBox(Control::streamSelect2, Id::streamSelect, 2),
    checkBox(Control::streamSelect3, Id::streamSelect, 3),
    checkBox(Control::streamSelect4, Id::streamSelect, 4),
    checkBox(Control::streamSelect5, Id::streamSelect, 5),
    checkBox(Control::streamSelect6, Id::streamSelect, 6),
    checkBox(Control::streamSelect7, Id::streamSelect, 7),
    checkBox(Control::streamSelectAutomatic, Id::streamSelect, 8),
};

} // namespace

COperatingModePage::COperatingModePage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows)
{
}
