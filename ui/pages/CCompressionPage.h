#pragma once

#include "platform/Dialog.h"
#include "templates/CompressionMetersTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "Compression Meters": the line-mode and RF-mode compression values carried in the
// decoded bitstream as centre-zero meters, and the custom cut and boost factors as
// edits with spin arrows.
class CCompressionPage : public Dialog {
public:
    static constexpr int templateId = CompressionMetersTemplate::templateId;

    CCompressionPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller_; }

protected:
    bool onInitDialog() override;

private:
    Win32Controller controller_;
};
