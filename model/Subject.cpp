#include "model/Subject.h"

#include <algorithm>

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
    const std::vector<GenericObserver*> snapshot = observers_;
    for (GenericObserver* observer : snapshot) {
        if (isAttached(observer))
            observer->update(this, hint);
    }
}
