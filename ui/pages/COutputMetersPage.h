#pragma once

#include "templates/OutputMetersTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/BoundDialog.h"

class ParameterSet;

// "Output Meters": eight horizontal level meters, one per output channel, from -60 dB
// at the left end to 0 dB at the right. A meter rises at once and falls by at most
// 40 dB a second, so short peaks stay readable.
class COutputMetersPage : public BoundDialog {
public:
    static constexpr int templateId = OutputMetersTemplate::templateId;

    COutputMetersPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);
};
