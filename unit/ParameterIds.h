#pragma once

#include <cstdint>

// The identifiers of the unit's parameters that the user interface names, each under
// the name of what it is. The catalogue (unit/catalogue) defines every parameter; a
// number stands here once so that no window repeats it.
namespace ParameterIds {

// Group 01: the unit.
constexpr int16_t unitName = 0x0103;

// Group 03: input and decoding.
constexpr int16_t inputSelect = 0x0301;
constexpr int16_t monoSumControl = 0x0302;
constexpr int16_t surroundQxMode = 0x0304; // manual or automatic
constexpr int16_t surroundQxDecoding = 0x0305; // off or on
constexpr int16_t pcmDecodeFormat = 0x0306;
constexpr int16_t clockSource = 0x0307;
constexpr int16_t ifeMode = 0x0308;
constexpr int16_t bypass = 0x0309;
constexpr int16_t decodeFormat = 0x030B;
constexpr int16_t detectionMode = 0x030C;
constexpr int16_t digitalRef = 0x030D;
constexpr int16_t digitalRefAutoCal = 0x030F;
constexpr int16_t headphoneMode = 0x0310;
constexpr int16_t digitalVolume = 0x0312;

// Group 05: trims, volume and mutes.
constexpr int16_t leftTrim = 0x0508;
constexpr int16_t rightTrim = 0x0509;
constexpr int16_t centerTrim = 0x050A;
constexpr int16_t subwooferTrim = 0x050B;
constexpr int16_t leftSurroundTrim = 0x050C;
constexpr int16_t rightSurroundTrim = 0x050D;
constexpr int16_t backSurroundLeftTrim = 0x050E;
constexpr int16_t backSurroundRightTrim = 0x050F;
constexpr int16_t masterTrim = 0x0510;
constexpr int16_t masterVolume = 0x0511;
constexpr int16_t dimGain = 0x0512;
constexpr int16_t dimSelect = 0x0513;
constexpr int16_t muteLeft = 0x0514;
constexpr int16_t muteRight = 0x0515;
constexpr int16_t muteCenter = 0x0516;
constexpr int16_t muteSubwoofer = 0x0517;
constexpr int16_t muteLeftSurround = 0x0518;
constexpr int16_t muteRightSurround = 0x0519;
constexpr int16_t muteBackSurround = 0x051A;

// Group 07: speakers, delays and downmix.
constexpr int16_t backSurroundSpeakers = 0x0700;
constexpr int16_t centerDelay = 0x0701;
constexpr int16_t surroundDelay = 0x0702;
constexpr int16_t backSurroundDelay = 0x0703;
constexpr int16_t tessivaDelay = 0x0704;
constexpr int16_t centerSpeaker = 0x0705;
constexpr int16_t leftRightSpeakers = 0x0706;
constexpr int16_t surroundSpeakers = 0x0707;
constexpr int16_t crossoverFrequency = 0x0708;
constexpr int16_t subwoofer = 0x0709;
constexpr int16_t lfeMonitorMode = 0x070A;
constexpr int16_t downmixMode = 0x070B;

// Group 0B: operating mode, compression and karaoke.
constexpr int16_t aes3ChannelSelect = 0x0B00;
constexpr int16_t streamSelect = 0x0B01;
constexpr int16_t extendedBitstream = 0x0B02;
constexpr int16_t compressionMode = 0x0B03;
constexpr int16_t customCut = 0x0B04;
constexpr int16_t customBoost = 0x0B05;
constexpr int16_t downmixType = 0x0B06;
constexpr int16_t karaokeMode = 0x0B07;
constexpr int16_t vocalOneLevel = 0x0B08;
constexpr int16_t vocalTwoLevel = 0x0B09;
constexpr int16_t musicLevel = 0x0B0A;
constexpr int16_t vocalOnePan = 0x0B0B;
constexpr int16_t vocalTwoPan = 0x0B0C;
constexpr int16_t musicPan = 0x0B0D;

// Group 0D: Tessiva.
constexpr int16_t tessivaDecoding = 0x0D00;
constexpr int16_t tessivaIIMode = 0x0D01;
constexpr int16_t panorama = 0x0D02;
constexpr int16_t dimension = 0x0D03;
constexpr int16_t centerWidth = 0x0D04;

// Group 0F: AES input status.
constexpr int16_t bit0 = 0x0F06;
constexpr int16_t bit1 = 0x0F07;
constexpr int16_t emphasis = 0x0F09;

// Group 11: input and decoder status.
constexpr int16_t inputType = 0x1100;
constexpr int16_t loRoDownmixStatus = 0x1101;
constexpr int16_t ltRtDownmixStatus = 0x1102;
constexpr int16_t monoSumStatus = 0x1103;
constexpr int16_t tessivaDecodeStatus = 0x1104;
constexpr int16_t surroundQxStatus = 0x1105;
constexpr int16_t decoderLatency = 0x1106;
constexpr int16_t processingLatency = 0x1107;
constexpr int16_t encodeFormat = 0x110A;
constexpr int16_t streamNumber = 0x110D;
constexpr int16_t sampleRateStatus = 0x110F;
constexpr int16_t compressionModeStatus = 0x1113;

// Group 13: time code status.
constexpr int16_t timecodeHoursMinutes = 0x1301;
constexpr int16_t timecodeSecondsFrames = 0x1302;
constexpr int16_t frameRate = 0x1303;
constexpr int16_t tsDelayWord = 0x1304;

// Group 15: bitstream metadata.
constexpr int16_t bitstreamId = 0x1500;
constexpr int16_t dataRate = 0x1501;
constexpr int16_t bitstreamMode = 0x1502;
constexpr int16_t channelMode = 0x1503;
constexpr int16_t centerDownmix = 0x1504;
constexpr int16_t surroundDownmix = 0x1505;
constexpr int16_t vormoSurroundMode = 0x1506;
constexpr int16_t lfeChannel = 0x1507;
constexpr int16_t dialogueNormalization = 0x1508;
constexpr int16_t productionInfo = 0x150B;
constexpr int16_t mixLevel = 0x150C;
constexpr int16_t roomType = 0x150D;
constexpr int16_t copyright = 0x150E;
constexpr int16_t originalBitstream = 0x150F;
constexpr int16_t extendedBsi1Exists = 0x1510;
constexpr int16_t preferredDownmix = 0x1511;
constexpr int16_t ltRtCenterDownmix = 0x1512;
constexpr int16_t ltRtSurroundDownmix = 0x1513;
constexpr int16_t loRoCenterDownmix = 0x1514;
constexpr int16_t loRoSurroundDownmix = 0x1515;
constexpr int16_t vormoSurroundQx = 0x1517;
constexpr int16_t vormoHeadphoneMode = 0x1518;
constexpr int16_t adConverterType = 0x1519;
constexpr int16_t compressionWord = 0x1523;
constexpr int16_t dynamicRangeWord = 0x1526;

// Group 17: references.
constexpr int16_t aesRefLed = 0x1701;

// Groups 19 to 1D: presets.
constexpr int16_t recallPreset = 0x1900;
constexpr int16_t savePresetTrigger = 0x1902;
constexpr int16_t savePresetNumber = 0x1903;
constexpr int16_t savePresetName = 0x1904;
constexpr int16_t activePresetNumber = 0x1B00;
constexpr int16_t activePresetName = 0x1B01;
// The name of preset n (1 to 32) is firstPresetName + n - 1.
constexpr int16_t firstPresetName = 0x1D00;

// Groups 1F and 21: general purpose inputs and outputs. Entry e of a pin kind stands
// at its first identifier + e.
constexpr int16_t firstInputTrigger = 0x1F00;
constexpr int16_t firstInputPolarity = 0x1F10;
constexpr int16_t firstInputFunction = 0x1F20;
constexpr int16_t firstOutputTrigger = 0x2100;
constexpr int16_t firstOutputPolarity = 0x2111;
constexpr int16_t firstOutputFunction = 0x2122;

// Group 23: test noise.
constexpr int16_t testNoise = 0x2300;

// Groups 25 and 2B: streaming control and status.
constexpr int16_t flowControl = 0x2500;
constexpr int16_t streamingServer = 0x2502;
constexpr int16_t streamingFileName = 0x2503;
constexpr int16_t positionToGoTo = 0x2505;
constexpr int16_t packetsLost = 0x2B00;
constexpr int16_t streamState = 0x2B03;
constexpr int16_t streamDuration = 0x2B04;
constexpr int16_t streamPosition = 0x2B09;
constexpr int16_t streamStatus = 0x2B0A;

// Group 27: output meters.
constexpr int16_t leftMeter = 0x2700;
constexpr int16_t rightMeter = 0x2701;
constexpr int16_t centerMeter = 0x2702;
constexpr int16_t subwooferMeter = 0x2703;
constexpr int16_t leftSurroundMeter = 0x2704;
constexpr int16_t rightSurroundMeter = 0x2705;
constexpr int16_t backSurroundLeftMeter = 0x2706;
constexpr int16_t backSurroundRightMeter = 0x2707;

// Group 2D: system settings.
constexpr int16_t timecodeDisplay = 0x2D00;
constexpr int16_t screenSaverTimeout = 0x2D01;
constexpr int16_t screenSaverDesign = 0x2D02;
constexpr int16_t monitorOutput = 0x2D04;

// Group 3D: errors.
constexpr int16_t errorCondition = 0x3D00;

// Group 43: test noise routing.
constexpr int16_t testNoiseChannel = 0x4301;

} // namespace ParameterIds
