#pragma once

#include "templates/CompressionMetersTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/BoundDialog.h"

class ParameterSet;

// "Compression Meters": the line-mode and RF-mode compression values carried in the
// decoded bitstream as centre-zero meters, and the custom cut and boost factors as
// edits with spin arrows.
class CCompressionPage : public BoundDialog {
public:
    static constexpr int templateId = CompressionMetersTemplate::templateId;

    CCompressionPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);
};
