#pragma once

#include "model/Observer.h"
#include "model/Parameter.h"
#include "model/ParameterValue.h"

class ControlParameterMap;
template <class ParameterClass> class ParameterMap;

// The base of every rule that links one parameter (the subject) to others.
// valueChanged runs once per change of the subject's value, apply on every
// notification of the subject; both do nothing here.
class ParameterDependencies : public Observer<Parameter> {
public:
    // Attaches to the subject at once. The immediate update reaches only this
    // base, so a rule that must act on the current value calls apply itself.
    ParameterDependencies(Parameter* subject, ParameterMap<Parameter>* statusMap,
                          ControlParameterMap* controlMap);
    ~ParameterDependencies() override;

    void update(Subject* changed, Transaction* hint) override;
    virtual void apply(Transaction* hint);
    virtual void valueChanged(Transaction* hint);

protected:
    ControlParameterMap* controlParameters_;
    ParameterMap<Parameter>* statusParameters_;
    ParameterValue lastValue_;
    bool subjectAvailable_;
};
