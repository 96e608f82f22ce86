#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "model/ParameterConverter.h"
#include "model/ParameterFormatter.h"
#include "model/ParameterSet.h"
#include "platform/Dialog.h"
#include "tests/support/RecordingProtocol.h"
#include "ui/ErrorReporter.h"
#include "ui/binding/CTabPageControl.h"
#include "ui/binding/Win32Controller.h"

void register_binding_test_templates();

// Saves a picture of the window under the build folder, named after the test.
void savePicture(Window& window, const std::string& name);

// Identifiers of the small set the tests bind to.
namespace ids {
const ParameterId inputSelect(0x0301);   // 0..3
const ParameterId bypass(0x0309);        // 0..1
const ParameterId customCut(0x0B04);     // 0..10
const ParameterId unitName(0x0103);      // text
const ParameterId timeout(0x2D01);       // 0..2, strings 900..902
const ParameterId fileName(0x2503);      // text
const ParameterId wide(0x0700);          // -5..20, strings 1100..1104
const ParameterId volume(0x0511);        // 0..40
const ParameterId digitalVolume(0x0312); // 0..60
const ParameterId trim(0x0510);          // 0..100
const ParameterId flowControl(0x2500);   // 0..2
const ParameterId state(0x2B03);         // status 0..4
const ParameterId inputType(0x1100);     // status 0..3, labels
const ParameterId level(0x2700);         // status 0..1023
const ParameterId lineMode(0x1526);      // status
const ParameterId aesRef(0x1701);        // control 0..2
} // namespace ids

// Parameters built directly from the model's classes, all owned by one recording protocol.
class TestSet : public ParameterSet {
public:
    explicit TestSet(RecordingProtocol* protocol);

    ControlParameter& control(const ParameterId& id) { return controlParameters_.find(id); }
    Parameter& status(const ParameterId& id) { return statusParameters_.find(id); }
    // The unit reports a new status value (as a poll would).
    void report(const ParameterId& id, int value);
    void reportControl(const ParameterId& id, const ParameterValue& value);

    EnumeratedFormatter* inputTypeFormatter = nullptr;
};

// Records every report.
class RecordingReporter : public ErrorReporter {
public:
    void reportError(const VormoException& error) override
    {
        reports.push_back("reportError: " + std::string(error.what()));
    }
    void reportHostError(const HostException& error) override
    {
        reports.push_back("reportHostError: " + std::string(error.what()));
    }
    void reportProtocolError(const ProtocolException& error) override
    {
        reports.push_back("reportProtocolError: " + std::string(error.what()));
    }
    void reportUnknown() override { reports.push_back("reportUnknown"); }

    std::vector<std::string> reports;
};

// The test dialog: every control bound as a page binds its controls, every handler
// one call into the controller.
class BindingDialog : public Dialog {
public:
    BindingDialog(ParameterSet* set, ErrorReporter* reporter);

    Win32Controller controller;
    Button aes1, aes2, optical, bypass, play, pause, stop;
    Edit cut, unitName;
    SpinButton cutSpin;
    ComboBox timeout, file, wide;
    Slider volume, trim;
    Static volumeText, inputType, led, ledMap, meter, centreMeter;
    CStaticLCD lcd{0x00FF00};
    CTabPageControl tabs;

    FractionParameterConverter cutConverter{0, 10, 1, true};
    LevelMeterScaler levelScaler;
    LineModeMeterScaler lineScaler;
    MeterSettings outputMeter;
    MeterSettings lineMeter;
    ValueEqualsPredicate isDigital{2};
    Bitmap blueOn, blueOff, greenOn, greenOff, redOn;
    Win32SliderObserver* volumeObserver = nullptr;
    Win32BitmapMapObserver* ledMapObserver = nullptr;

protected:
    bool onInitDialog() override;
};

class BindingTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    std::vector<RecordedCall> sent();
    // The single batch sent since the last call, as "id=value" texts.
    std::vector<std::string> batches();

    RecordingProtocol protocol;
    std::unique_ptr<TestSet> set;
    RecordingReporter reporter;
    std::unique_ptr<BindingDialog> dialog;
};

std::string describe(const ParameterId& id, const ParameterValue& value);
