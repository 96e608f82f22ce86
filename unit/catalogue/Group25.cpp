#include "unit/catalogue/Catalogue.h"
#include "unit/UnitParameterSet.h"

// Streaming control. The three texts notify on every refresh of their own, so
// the Streaming page hears about a server or file the unit reports again.
static ParameterDefinition alwaysNotifying(ParameterDefinition row)
{
    row.alwaysNotify = true;
    return row;
}

// The position to play from is a transient playback position, not
// configuration: its maximum follows the duration of whatever stream the unit
// has now, so a saved position would not load back once that stream is gone.
static ParameterDefinition notSaved(ParameterDefinition row)
{
    row.saved = false;
    return row;
}

const GroupCatalogue& catalogueGroup25()
{
    static const GroupCatalogue rows = {
        enumerated(0x2500, control, "Flow Control", 0, 2, {{0, "Play"}, {1, "Pause"}, {2, "Stop"}},
                   number(2)),
        // The default host stands for a streaming server on the operator's own network.
        alwaysNotifying(
            textual(0x2501, control, "Streaming URL", text("rtsp://streaming-server/temp/onions.ac3"))),
        alwaysNotifying(textual(0x2502, control, "Streaming Server", text("streaming_server"))),
        alwaysNotifying(textual(0x2503, control, "Streaming File Name", text("file_name.ac3"))),
        enumerated(0x2504, control, "Session Control", 0, 2, {{0, "Describe"}, {1, "Setup"}, {2, "Teardown"}},
                   number(0)),
        notSaved(plain(0x2505, control, 0, 32000, number(0))),
        enumerated(0x2506, control, "Session Speed", 0, 2,
                   {{0, "0.9 * original"}, {1, "1.0 * original"}, {2, "1.1 * original"}}, number(0)),
    };
    return rows;
}

// The builders of this group, one per block of at most ten identifiers.
void UnitParameterSet::defineParameters2500()
{
    define(catalogueGroup25(), 0x2500, 0x25FF);
}
