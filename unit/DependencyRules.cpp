#include "unit/DependencyRules.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <memory>

#include "model/Exceptions.h"
#include "unit/UnitParameterSet.h"

namespace {

constexpr int unitVersionId = 0x0100;
constexpr int remoteSourceId = 0x090A;
constexpr int testNoiseChannelId = 0x2301;
constexpr int testNoiseCycleId = 0x2302;
constexpr int positionControlId = 0x2505;
constexpr int durationId = 0x2B04;
constexpr int positionStatusId = 0x2B09;
constexpr int applicationVersionId = 0x4300;
constexpr int selectorId = 0x4301;

constexpr int remoteSourceLocal = 0;
constexpr unsigned selectorCycle = 8;
constexpr unsigned largestMaximum = 0x7FFF;

// The same loudspeaker in the unit's order (index) and the application's (value), and back.
constexpr int unitToApplication[8] = {0, 2, 1, 5, 7, 6, 4, 3};
constexpr int applicationToUnit[8] = {0, 2, 1, 7, 6, 3, 5, 4};

ParameterId idOf(int number)
{
    return ParameterId(static_cast<int16_t>(number));
}

bool isBlank(char c)
{
    return std::isspace(static_cast<unsigned char>(c)) != 0;
}

} // namespace

VersionCheckRule::VersionCheckRule(Parameter* subject, ParameterMap<Parameter>* statusMap,
                                   ControlParameterMap* controlMap)
    : ParameterDependencies(subject, statusMap, controlMap),
      unitVersion_(&controlMap->find(idOf(unitVersionId))),
      applicationVersion_(&controlMap->find(idOf(applicationVersionId)))
{
    apply(nullptr);
}

void VersionCheckRule::apply(Transaction*)
{
    if (subject_ == nullptr)
        return;
    // The values are byte strings without a terminator; compare and read them as such.
    const std::string& unitText = unitVersion_->value().toString();
    const std::string& applicationText = applicationVersion_->value().toString();
    if (unitText == applicationText)
        return;
    const std::string incompatible =
        "This version of the remote application is incompatible with this version of the firmware.  ";
    if (revisionNumber(unitText) < revisionNumber(applicationText))
        throw VormoException(incompatible + "Please upgrade your firmware.");
    throw VormoException(incompatible + "Please upgrade your remote application.");
}

int VersionCheckRule::revisionNumber(const std::string& text)
{
    // Reads "$Revision:", any blanks, "#", then a number as %d would (leading
    // blanks, an optional sign, at least one digit). What follows the number
    // does not matter, as it would not to the scan.
    static const std::string head = "$Revision:";
    if (text.compare(0, head.size(), head) != 0)
        return 0;
    std::size_t at = head.size();
    while (at < text.size() && isBlank(text[at]))
        ++at;
    if (at >= text.size() || text[at] != '#')
        return 0;
    ++at;
    while (at < text.size() && isBlank(text[at]))
        ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at])))
        return 0;
    long long number = 0;
    constexpr long long limit = static_cast<long long>(INT_MAX) + 1;
    for (; at < text.size() && std::isdigit(static_cast<unsigned char>(text[at])); ++at)
        number = std::min(limit, number * 10 + (text[at] - '0'));
    if (negative)
        return static_cast<int>(-number);
    return static_cast<int>(std::min<long long>(number, INT_MAX));
}

RemoteModeRule::RemoteModeRule(ParameterMap<Parameter>* statusMap, ControlParameterMap* controlMap)
    : ParameterDependencies(&controlMap->find(idOf(remoteSourceId)), statusMap, controlMap)
{
    apply(nullptr);
}

void RemoteModeRule::apply(Transaction*)
{
    if (subject_ != nullptr && subject_->value().toInt16() == remoteSourceLocal)
        throw RemoteSourceException("The unit is not in remote mode");
}

SelectorSyncRule::SelectorSyncRule(ParameterMap<Parameter>* statusMap, ControlParameterMap* controlMap)
    : ParameterDependencies(&controlMap->find(idOf(selectorId)), statusMap, controlMap),
      cycle_(&controlMap->find(idOf(testNoiseCycleId))), channel_(&controlMap->find(idOf(testNoiseChannelId)))
{
    // Derive the selector from what the unit does now. A change notifies the
    // selector, whose notification runs apply, which then finds the unit
    // already in step and sends nothing.
    if (cycle_->value().toUInt16() == 1) {
        selector()->setValue(ParameterValue(static_cast<int>(selectorCycle)));
        return;
    }
    const unsigned unitChannel = channel_->value().toUInt16();
    if (unitChannel < 8)
        selector()->setValue(ParameterValue(unitToApplication[unitChannel]));
}

ControlParameter* SelectorSyncRule::selector() const
{
    return static_cast<ControlParameter*>(subject_);
}

void SelectorSyncRule::apply(Transaction*)
{
    if (subject_ == nullptr)
        return;
    const unsigned choice = subject_->value().toUInt16();
    cycle_->setValue(ParameterValue(choice == selectorCycle ? 1 : 0));
    if (choice < 8)
        channel_->setValue(ParameterValue(applicationToUnit[choice]));
}

RangeFollowRule::RangeFollowRule(Parameter* subject, ParameterMap<Parameter>* statusMap,
                                 ControlParameterMap* controlMap)
    : ParameterDependencies(subject, statusMap, controlMap), duration_(&statusMap->find(idOf(durationId))),
      positionStatus_(&statusMap->find(idOf(positionStatusId))),
      positionControl_(&controlMap->find(idOf(positionControlId)))
{
    apply(nullptr);
}

void RangeFollowRule::apply(Transaction*)
{
    const unsigned length = duration_->value().toUInt16();
    follow(*positionControl_, length);
    follow(*positionStatus_, length);
}

void RangeFollowRule::follow(Parameter& position, unsigned length)
{
    // The maximum is compared with the current value as a signed number, so it
    // must stay a positive 16-bit number: a stream of 32768 s or more would
    // otherwise give a maximum that reads negative and fail a valid report. It
    // never falls below the value shown nor below the value last confirmed.
    unsigned maximum =
        std::max({length, unsigned{position.value().toUInt16()}, unsigned{position.current().toUInt16()}});
    maximum = std::min(maximum, largestMaximum);
    position.setMaximum(ParameterValue(static_cast<int>(maximum)), subject_);
}

void UnitParameterSet::defineDependencyRules()
{
    // The application's parameter-file version starts from this set's defaults
    // store on every kind of connection, so that any file saved from the set
    // records it. The selector is not read from the store: its default is
    // "Cycle", which would show while the unit is not cycling and make choosing
    // "Cycle" send nothing. The selector rule derives it from the unit instead.
    controlParameters_.find(idOf(applicationVersionId)).refresh();

    rules_.push_back(std::make_unique<RangeFollowRule>(&statusParameters_.find(idOf(durationId)),
                                                      &statusParameters_, &controlParameters_));
    rules_.push_back(std::make_unique<RangeFollowRule>(&statusParameters_.find(idOf(positionStatusId)),
                                                      &statusParameters_, &controlParameters_));
    rules_.push_back(std::make_unique<RangeFollowRule>(&controlParameters_.find(idOf(positionControlId)),
                                                      &statusParameters_, &controlParameters_));
    rules_.push_back(std::make_unique<SelectorSyncRule>(&statusParameters_, &controlParameters_));
}

void UnitParameterSet::defineOnlineRules(bool online)
{
    // Off line there is no unit to refuse. On line the remote-mode check comes
    // first, so a unit in Local mode is told so even when its version differs too.
    if (!online)
        return;
    rules_.push_back(std::make_unique<RemoteModeRule>(&statusParameters_, &controlParameters_));
    rules_.push_back(std::make_unique<VersionCheckRule>(&controlParameters_.find(idOf(unitVersionId)),
                                                       &statusParameters_, &controlParameters_));
    rules_.push_back(std::make_unique<VersionCheckRule>(&controlParameters_.find(idOf(applicationVersionId)),
                                                       &statusParameters_, &controlParameters_));
}
