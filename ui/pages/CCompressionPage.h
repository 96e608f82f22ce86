#pragma once

#include "model/ParameterConverter.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/Indicators.h"
#include "ui/binding/Win32Controller.h"

class ParameterSet;

// "Compression Meters": the line-mode and RF-mode compression values carried in the
// decoded bitstream as centre-zero meters, and the custom cut and boost factors as
// edits with spin arrows.
class CCompressionPage : public Dialog {
public:
    static constexpr int templateId = 159;
    static constexpr int lineModeMeterId = 1163;
    static constexpr int rfModeMeterId = 1160;
    static constexpr int customCutId = 1177;
    static constexpr int customCutSpinId = 1178;
    static constexpr int customBoostId = 1169;
    static constexpr int customBoostSpinId = 1931;

    CCompressionPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& getController() { return controller; }

    void OnKillfocusCustomCut();
    void OnChangeCustomCut();
    void OnDeltaposCustomCut(UpDownNotify* record, long* result);
    void OnKillfocusCustomBoost();
    void OnChangeCustomBoost();
    void OnDeltaposCustomBoost(UpDownNotify* record, long* result);

protected:
    bool onInitDialog() override;
    void bindMeters();
    void bindEdits();

private:
    // The factors 0 to 10 shown as 0.0 to 1.0.
    FractionParameterConverter factorConverter{0, 10, 1, true};
    Edit customCut;
    SpinButton customCutSpin;
    Edit customBoost;
    SpinButton customBoostSpin;
    LineModeMeterScaler lineModeScaler;
    RfModeMeterScaler rfModeScaler;
    Static lineModeMeter;
    Static rfModeMeter;
    // Declared last: its observers use the controls, the converter and the scalers.
    Win32Controller controller;
};
