#pragma once

#include "platform/Dialog.h"
#include "templates/MetadataStatusTemplate.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "Metadata Status": read only, what the unit reports of the decoded bitstream's
// metadata, of the AES input and of the time code. Each field shows its parameter
// through the parameter's own formatter; the page sends nothing.
class CMetadataStatusPage : public Dialog {
public:
    static constexpr int templateId = MetadataStatusTemplate::templateId;

    CMetadataStatusPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller_; }

protected:
    bool onInitDialog() override;

private:
    Win32Controller controller_;
};
