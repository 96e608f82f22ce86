#include "ui/pages/CMetadataStatusPage.h"

#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = MetadataStatusTemplate;
namespace Id = ParameterIds;

// In the order the fields are bound: the bitstream's metadata, the AES input status,
// then the time-code status.
const ControlRow rows[] = {
    statusText(Control::bsMode, Id::bitstreamMode),
    statusText(Control::centerDownmix, Id::centerDownmix),
    statusText(Control::surroundDownmix, Id::surroundDownmix),
    statusText(Control::vormoSurround, Id::vormoSurroundMode),
    statusText(Control::productionInfo, Id::productionInfo),
    statusText(Control::mixLevel, Id::mixLevel),
    statusText(Control::roomType, Id::roomType),
    statusText(Control::copyright, Id::copyright),
    statusText(Control::originalBitstream, Id::originalBitstream),
    statusText(Control::preferredDownmix, Id::preferredDownmix),
    statusText(Control::ltRtCDownmix, Id::ltRtCenterDownmix),
    statusText(Control::ltRtSDownmix, Id::ltRtSurroundDownmix),
    statusText(Control::loRoCDownmix, Id::loRoCenterDownmix),
    statusText(Control::loRoSDownmix, Id::loRoSurroundDownmix),
    statusText(Control::vormoSurroundQx, Id::vormoSurroundQx),
    statusText(Control::adConverter, Id::adConverterType),
    statusText(Control::bitstreamId, Id::bitstreamId),
    statusText(Control::streamNumber, Id::streamNumber),
    statusText(Control::encodeFormat, Id::encodeFormat),
    statusText(Control::emphasis, Id::emphasis),
    statusText(Control::bit0, Id::bit0),
    statusText(Control::bit1, Id::bit1),
    statusText(Control::frameRate, Id::frameRate),
    statusText(Control::tsDelayWord, Id::tsDelayWord),
    statusText(Control::decoderLatency, Id::decoderLatency),
    statusText(Control::processingLatency, Id::processingLatency),
};

} // namespace

CMetadataStatusPage::CMetadataStatusPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows)
{
}
