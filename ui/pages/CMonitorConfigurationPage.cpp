#include "ui/pages/CMonitorConfigurationPage.h"

#include "model/ParameterConverter.h"
#include "ui/binding/ControlTable.h"
#include "unit/ParameterIds.h"

namespace {

namespace Control = MonitorConfigurationTemplate;
namespace Id = ParameterIds;

// Raw steps to what the user reads: (offset, scale, decimals, show sign).
const FractionParameterConverter referenceConverter{260, 10, 1, true};
const FractionParameterConverter trimConverter{160, 8, 3, true};
const FractionParameterConverter centreDelayConverter{3, 1, 0, true};
const FractionParameterConverter surroundDelayConverter{0, 1, 0, true};
const FractionParameterConverter matrixDelayConverter{-10, 1, 0, true};

const ControlRow rows[] = {
    // Each edit with its arrows.
    spin(Control::digitalRefSpin, Id::digitalRef),
    edit(Control::digitalRef, Id::digitalRef, &referenceConverter),
    spin(Control::leftTrimSpin, Id::leftTrim),
    edit(Control::leftTrim, Id::leftTrim, &trimConverter),
    spin(Control::rightTrimSpin, Id::rightTrim),
    edit(Control::rightTrim, Id::rightTrim, &trimConverter),
    spin(Control::centerTrimSpin, Id::centerTrim),
    edit(Control::centerTrim, Id::centerTrim, &trimConverter),
    spin(Control::subwooferTrimSpin, Id::subwooferTrim),
    edit(Control::subwooferTrim, Id::subwooferTrim, &trimConverter),
    spin(Control::leftSurroundTrimSpin, Id::leftSurroundTrim),
    edit(Control::leftSurroundTrim, Id::leftSurroundTrim, &trimConverter),
    spin(Control::rightSurroundTrimSpin, Id::rightSurroundTrim),
    edit(Control::rightSurroundTrim, Id::rightSurroundTrim, &trimConverter),
    spin(Control::backSurroundLeftTrimSpin, Id::backSurroundLeftTrim),
    edit(Control::backSurroundLeftTrim, Id::backSurroundLeftTrim, &trimConverter),
    spin(Control::backSurroundRightTrimSpin, Id::backSurroundRightTrim),
    edit(Control::backSurroundRightTrim, Id::backSurroundRightTrim, &trimConverter),
    spin(Control::centerDelaySpin, Id::centerDelay),
    edit(Control::centerDelay, Id::centerDelay, &centreDelayConverter),
    spin(Control::surroundDelaySpin, Id::surroundDelay),
    edit(Control::surroundDelay, Id::surroundDelay, &surroundDelayConverter),
    spin(Control::backSurroundDelaySpin, Id::backSurroundDelay),
    edit(Control::backSurroundDelay, Id::backSurroundDelay, &surroundDelayConverter),
    spin(Control::tessivaDelaySpin, Id::tessivaDelay),
    edit(Control::tessivaDelay, Id::tessivaDelay, &matrixDelayConverter),

    // Vertical and inverted: +6 dB (52) at the top, -20 dB (0) at the bottom.
    slider(Control::masterTrimSlider, Id::masterTrim, true),
    controlText(Control::masterTrimReadout, Id::masterTrim),

    checkBox(Control::digitalRefAutoCal, Id::digitalRefAutoCal, 1),
    // Two exclusive toggles over one parameter: checking one selects its noise,
    // unchecking it turns the noise off.
    checkBox(Control::testNoiseWideband, Id::testNoise, 1),
    checkBox(Control::testNoiseFiltered, Id::testNoise, 2),

    // The list shows "Mute" and dB values where the parameter's label is a bare number.
    comboBox(Control::dimGain, Id::dimGain, 1400, 1437),
    comboBox(Control::leftRightSpeakers, Id::leftRightSpeakers),
    comboBox(Control::centerSpeaker, Id::centerSpeaker),
    comboBox(Control::surroundSpeakers, Id::surroundSpeakers),
    comboBox(Control::subwoofer, Id::subwoofer),
    comboBox(Control::backSurroundSpeakers, Id::backSurroundSpeakers),
    comboBox(Control::crossoverFrequency, Id::crossoverFrequency),
    // The application's own channel selector: a rule carries it to the unit's
    // test-noise channel and cycle parameters, whose channel order differs. The list
    // shows the channels' short names ("L", "R") where the labels spell them out.
    comboBox(Control::testNoiseChannel, Id::testNoiseChannel, 1600, 1608),
};

} // namespace

CMonitorConfigurationPage::CMonitorConfigurationPage(ParameterSet* parameterSet, ErrorReporter* errorReporter)
    : BoundDialog(templateId, Win32Controller(parameterSet, errorReporter), rows)
{
}
