#pragma once

#include "model/Subject.h"

// An observer of one parameter (Observer<Parameter>, Observer<ControlParameter>).
// It remembers its subject, forgets it when the subject is destroyed, and
// detaches itself when it is destroyed first. Updates from any other subject
// (for example a copy of the parameter) must be ignored by update().
template <class ParameterClass> class Observer : public GenericObserver {
public:
    Observer() = default;
    Observer(const Observer&) = delete;
    Observer& operator=(const Observer&) = delete;

    ~Observer() override
    {
        if (subject_ != nullptr)
            subject_->detach(this);
    }

    void subjectGone(Subject* gone) override
    {
        if (subject_ != nullptr && gone == static_cast<Subject*>(subject_))
            subject_ = nullptr;
    }

    ParameterClass* getSubject() const { return subject_; }

    // Stores the subject this observer watches. Moving to another subject first
    // detaches from the previous one, which would otherwise keep a pointer to
    // this observer after its destruction. Attaching stays the caller's step.
    void setSubject(ParameterClass* newSubject)
    {
        if (subject_ != nullptr && subject_ != newSubject)
            subject_->detach(this);
        subject_ = newSubject;
    }

protected:
    bool isOwnSubject(const Subject* changed) const
    {
        return subject_ != nullptr && changed == static_cast<const Subject*>(subject_);
    }

    ParameterClass* subject_ = nullptr;
};
