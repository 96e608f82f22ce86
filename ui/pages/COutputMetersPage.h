#pragma once

#include <array>

#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Indicators.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "Output Meters": eight horizontal level meters, one per output channel, from -60 dB
// at the left end to 0 dB at the right. A meter rises at once and falls by at most
// 40 dB a second, so short peaks stay readable.
class COutputMetersPage : public Dialog {
public:
    static constexpr int templateId = 170;

    COutputMetersPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller; }

protected:
    bool onInitDialog() override;
    void bindMeters();

private:
    // In the order the meters are bound: L, R, C, SW, Ls, Rs, Bsl, Bsr.
    std::array<Static, 8> meters;
    LevelMeterScaler levelScaler;
    // Declared last: its observers draw into the meters and use the scaler.
    Win32Controller controller;
};
