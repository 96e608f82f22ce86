#include "model/Subject.h"

#include <algorithm>
#include <array>

Subject::~Subject()
{
    // Take the list first, so an observer that reacts by detaching finds nothing to walk.
    const std::vector<GenericObserver*> observers = std::move(observers_);
    observers_.clear();
    for (GenericObserver* observer : observers)
        observer->subjectGone(this);
}

void Subject::attach(GenericObserver* observer)
{
    observers_.push_back(observer);
    observer->update(this, nullptr);
}

void Subject::detach(GenericObserver* observer)
{
    std::erase(observers_, observer);
}

bool Subject::isAttached(const GenericObserver* observer) const
{
    return std::find(observers_.begin(), observers_.end(), observer) != observers_.end();
}

void Subject::notify(Transaction* hint)
{
    // The walk goes over a copy of the list; most subjects have a few observers, whose
    // copy fits on the stack, so a poll that notifies allocates nothing.
    constexpr std::size_t onStack = 8;
    if (observers_.size() <= onStack) {
        std::array<GenericObserver*, onStack> snapshot;
        const std::size_t count = observers_.size();
        std::copy(observers_.begin(), observers_.end(), snapshot.begin());
        notifyEach(snapshot.data(), count, hint);
        return;
    }
    const std::vector<GenericObserver*> snapshot = observers_;
    notifyEach(snapshot.data(), snapshot.size(), hint);
}

void Subject::notifyEach(GenericObserver* const* snapshot, std::size_t count, Transaction* hint)
{
    for (std::size_t i = 0; i < count; ++i) {
        if (isAttached(snapshot[i]))
            snapshot[i]->update(this, hint);
    }
}
