#pragma once

#include <array>

#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "Metadata Status": read only, what the unit reports of the decoded bitstream's
// metadata, of the AES input and of the time code. Each field shows its parameter
// through the parameter's own formatter; the page sends nothing.
class CMetadataStatusPage : public Dialog {
public:
    static constexpr int templateId = 163;
    static constexpr std::size_t fieldCount = 26;

    CMetadataStatusPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller; }

protected:
    bool onInitDialog() override;
    void bindControls();

private:
    std::array<Static, fieldCount> fields;
    // Declared last: its observers write into the fields.
    Win32Controller controller;
};
