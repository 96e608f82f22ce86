#pragma once

#include "templates/MetadataStatusTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/BoundDialog.h"

class ParameterSet;

// "Metadata Status": read only, what the unit reports of the decoded bitstream's
// metadata, of the AES input and of the time code. Each field shows its parameter
// through the parameter's own formatter; the page sends nothing.
class CMetadataStatusPage : public BoundDialog {
public:
    static constexpr int templateId = MetadataStatusTemplate::templateId;

    CMetadataStatusPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);
};
