#pragma once

#include <cstddef>
#include <vector>

class Subject;
class Transaction;

// Anything that watches a subject. The hint is the transaction on whose behalf
// a change was made, or null; observers use it to recognise their own changes.
class GenericObserver {
public:
    virtual void update(Subject* subject, Transaction* hint) = 0;
    virtual void subjectGone(Subject* subject) = 0;
    virtual ~GenericObserver() = default;
};

// Keeps a list of observers (not owned) and tells them about changes.
//
// A copy starts with no observers of its own: the observers of the original
// detach only from the original, so sharing the list would leave the copy with
// pointers that outlive them. Assignment keeps the target's own observers for
// the same reason.
class Subject {
public:
    Subject() = default;
    Subject(const Subject&) {}
    Subject& operator=(const Subject&) { return *this; }
    virtual ~Subject();

    // Appends the observer and updates it at once with a null hint, so that it
    // shows the current state without waiting for a change. The caller stores
    // the subject in the observer first.
    void attach(GenericObserver* observer);
    // Removes every entry of the observer; nothing when it is not attached.
    void detach(GenericObserver* observer);
    // Updates every observer in attach order. An observer may detach itself or
    // another one (or be destroyed) from inside its update: the walk goes over a
    // snapshot and skips whoever is no longer attached when their turn comes.
    void notify(Transaction* hint);

    bool isAttached(const GenericObserver* observer) const;

private:
    void notifyEach(GenericObserver* const* snapshot, std::size_t count, Transaction* hint);

    std::vector<GenericObserver*> observers_;
};
