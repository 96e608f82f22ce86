#pragma once

#include <string>

#include "model/ParameterDependencies.h"
#include "model/ParameterMap.h"

// The rules between the unit's parameters and the application's own. Each
// watches one subject parameter, finds the others it needs by identifier when
// it is built (a missing one raises "Couldn't find parameter ...") and runs
// its check once at the end of its construction, then on every notification.

// Refuses a unit whose parameter-file version (0x0100) differs from the
// application's (0x4300). One instance watches each of the two.
class VersionCheckRule : public ParameterDependencies {
public:
    VersionCheckRule(Parameter* subject, ParameterMap<Parameter>* statusMap, ControlParameterMap* controlMap);

    void apply(Transaction* hint) override;

    // The number of a "$Revision: #N $" text, read as the scan pattern would;
    // 0 when the text does not match. A number too large for an int is taken
    // as the nearest one that fits rather than overflowing.
    static int revisionNumber(const std::string& text);

private:
    ControlParameter* unitVersion_;
    ControlParameter* applicationVersion_;
};

// Refuses a unit whose remote control source (0x090A) is Local (0).
class RemoteModeRule : public ParameterDependencies {
public:
    RemoteModeRule(ParameterMap<Parameter>* statusMap, ControlParameterMap* controlMap);

    void apply(Transaction* hint) override;
};

// Keeps the application's test-noise selector 0x4301 (channels in the
// application's order, 8 for cycling) and the unit's cycle switch 0x2302 and
// output channel 0x2301 in step: the selector is derived from the unit once
// when the rule is built, and drives the unit from then on.
class SelectorSyncRule : public ParameterDependencies {
public:
    SelectorSyncRule(ParameterMap<Parameter>* statusMap, ControlParameterMap* controlMap);

    void apply(Transaction* hint) override;

private:
    ControlParameter* selector() const;

    ControlParameter* cycle_;
    ControlParameter* channel_;
};

// Makes the maximum of the streaming position, both the one the user asks for
// (0x2505) and the one the unit reports (0x2B09), follow the stream's duration
// (0x2B04) without falling below the position itself. One instance watches
// each of the three.
class RangeFollowRule : public ParameterDependencies {
public:
    RangeFollowRule(Parameter* subject, ParameterMap<Parameter>* statusMap, ControlParameterMap* controlMap);

    void apply(Transaction* hint) override;

private:
    void follow(Parameter& position, unsigned duration);

    Parameter* duration_;
    Parameter* positionStatus_;
    ControlParameter* positionControl_;
};
