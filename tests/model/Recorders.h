#pragma once

#include <functional>
#include <streambuf>
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
        seen.push_back({this->subject_->value(), hint});
        if (onUpdate)
            onUpdate(*this->subject_);
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

// An output buffer that takes at most `limit` bytes and then fails, and whose
// flush fails when asked to: a disk that fills up or goes away.
class LimitedBuffer : public std::streambuf {
public:
    explicit LimitedBuffer(std::size_t limit, bool flushFails = false)
        : limit_(limit), flushFails_(flushFails)
    {
    }

    std::string written;

protected:
    int_type overflow(int_type c) override
    {
        if (traits_type::eq_int_type(c, traits_type::eof()))
            return traits_type::not_eof(c);
        if (written.size() >= limit_)
            return traits_type::eof();
        written.push_back(traits_type::to_char_type(c));
        return c;
    }

    int sync() override { return flushFails_ ? -1 : 0; }

private:
    std::size_t limit_;
    bool flushFails_;
};
