#include "model/ParameterDependencies.h"

ParameterDependencies::ParameterDependencies(Parameter* subject, ParameterMap<Parameter>* statusMap,
                                             ControlParameterMap* controlMap)
    : controlParameters_(controlMap), statusParameters_(statusMap), lastValue_(subject->value()),
      subjectAvailable_(subject->available())
{
    setSubject(subject);
    subject->attach(this);
}

ParameterDependencies::~ParameterDependencies() = default;

void ParameterDependencies::update(Subject* changed, Transaction* hint)
{
    if (!isOwnSubject(changed))
        return;
    subjectAvailable_ = subject_->available();
    if (subject_->value() != lastValue_) {
        lastValue_ = subject_->value();
        valueChanged(hint);
    }
    apply(hint);
}

void ParameterDependencies::apply(Transaction*) {}

void ParameterDependencies::valueChanged(Transaction*) {}
