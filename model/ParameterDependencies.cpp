#include "model/ParameterDependencies.h"

ParameterDependencies::ParameterDependencies(Parameter* subject, ParameterMap<Parameter>* statusMap,
                                             ControlParameterMap* controlMap)
    : controlParameters(controlMap), statusParameters(statusMap), lastValue(subject->value()),
      subjectAvailable(subject->available())
{
    setSubject(subject);
    subject->attach(this);
}

ParameterDependencies::~ParameterDependencies() = default;

void ParameterDependencies::update(Subject* changed, Transaction* hint)
{
    if (!isOwnSubject(changed))
        return;
    subjectAvailable = subject->available();
    if (subject->value() != lastValue) {
        lastValue = subject->value();
        valueChanged(hint);
    }
    apply(hint);
}

void ParameterDependencies::apply(Transaction*) {}

void ParameterDependencies::valueChanged(Transaction*) {}
