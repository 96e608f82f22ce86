#pragma once

#include <functional>
#include <string>
#include <vector>

#include "model/Observer.h"
#include "model/Parameter.h"

// What an observer saw at one update: the value it would show and whether a hint came with it.
struct Seen {
    ParameterValue value;
    Transaction* hint;
    bool operator==(const Seen&) const = default;
};

// Records every update from its own subject; optionally runs a check inside update.
template <class ParameterClass> class RecordingObserver : public Observer<ParameterClass> {
public:
    void update(Subject* changed, Transaction* hint) override
    {
        if (!this->isOwnSubject(changed)) {
            ++foreign;
            return;
        }
        seen.push_back({this->subject->value(), hint});
        if (onUpdate)
            onUpdate(*this->subject);
    }

    void watch(ParameterClass& parameter)
    {
        this->setSubject(&parameter);
        parameter.attach(this);
        seen.clear();
    }

    std::vector<Seen> seen;
    int foreign = 0;
    std::function<void(ParameterClass&)> onUpdate;
};

inline ParameterValue v(int number)
{
    return ParameterValue(number);
}
