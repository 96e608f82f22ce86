#pragma once

#include <array>

#include "model/ParameterConverter.h"
#include "platform/Dialog.h"
#include "ui/binding/Win32Controller.h"

class ErrorReporter;
class ParameterSet;

// The edit-and-spin rows of the page, in binding order, as (handler stem, row index).
#define QZ_MONITOR_CONFIGURATION_EDIT_ROWS(X)                                                                \
    X(DigitalRef, 0)                                                                                         \
    X(TrimL, 1) X(TrimR, 2) X(TrimC, 3) X(TrimSw, 4) X(TrimLs, 5) X(TrimRs, 6) X(TrimBsl, 7) X(TrimBsr, 8)   \
        X(DelayCenter, 9) X(DelayLsRs, 10) X(DelayBslBsr, 11) X(DelayTessiva, 12)

// The monitor outputs: reference level and its calibration, dim gain, channel and
// master trims, speaker configuration and delays, and the test noise. Its edits show
// the unit's raw steps as decibels or milliseconds.
class CMonitorConfigurationPage : public Dialog {
public:
    static constexpr int templateId = 133;
    static constexpr int masterTrimSliderId = 1242;
    static constexpr int editRows = 13;

    struct EditRow {
        int editId;
        int spinId;
        int parameter;
    };
    static const std::array<EditRow, editRows> editRowTable;

    CMonitorConfigurationPage(ParameterSet* parameterSet, ErrorReporter* errorReporter);

    Win32Controller& controller() { return m_controller; }

#define QZ_MONITOR_CONFIGURATION_DECLARE(stem, row)                                                          \
    void OnChange##stem();                                                                                   \
    void OnKillfocus##stem();                                                                                \
    void OnDeltapos##stem(UpDownNotify* record, long* result);
    QZ_MONITOR_CONFIGURATION_EDIT_ROWS(QZ_MONITOR_CONFIGURATION_DECLARE)
#undef QZ_MONITOR_CONFIGURATION_DECLARE

    void OnDigitalRefAutoCal();
    void OnTestNoiseWideband();
    void OnTestNoiseFiltered();
    void OnSelchangeDimGain();
    void OnSelchangeSpeakerLeftRight();
    void OnSelchangeSpeakerCenter();
    void OnSelchangeSpeakerSurrounds();
    void OnSelchangeSubwoofer();
    void OnSelchangeBackSurroundSpeakers();
    void OnSelchangeSubwooferCrossover();
    void OnSelchangeTestNoiseChannel();
    void OnVScroll(int code, Window* scrollBar);

protected:
    bool onInitDialog() override;
    void doDataExchange();
    void bindControls();
    void bindEdits();
    void bindSlider();
    void bindButtons();

private:
    const ParameterConverter* converterOf(int row) const;

    // Raw steps to what the user reads: (offset, scale, decimals, show sign).
    FractionParameterConverter m_referenceConverter{260, 10, 1, true};
    FractionParameterConverter m_trimConverter{160, 8, 3, true};
    FractionParameterConverter m_centreDelayConverter{3, 1, 0, true};
    FractionParameterConverter m_surroundDelayConverter{0, 1, 0, true};
    FractionParameterConverter m_matrixDelayConverter{-10, 1, 0, true};

    std::array<Edit, editRows> m_edits;
    std::array<SpinButton, editRows> m_spins;
    Slider m_masterTrim;
    Static m_masterTrimText;
    Button m_digitalRefAutoCal;
    Button m_testNoiseWideband;
    Button m_testNoiseFiltered;
    ComboBox m_dimGain;
    ComboBox m_speakerLeftRight;
    ComboBox m_speakerCenter;
    ComboBox m_speakerSurrounds;
    ComboBox m_subwoofer;
    ComboBox m_backSurroundSpeakers;
    ComboBox m_subwooferCrossover;
    ComboBox m_testNoiseChannel;
    Win32Controller m_controller;
};
