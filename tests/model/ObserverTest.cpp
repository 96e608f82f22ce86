#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Observer.h"

namespace {

class Thing : public Subject {};

using Log = std::vector<std::string>;

// Records every call; an optional action runs inside update.
class Watcher : public Observer<Thing> {
public:
    Watcher(std::string name, Log& log) : name_(std::move(name)), log_(log) {}
    ~Watcher() override { log_.push_back(name_ + " destroyed"); }

    void update(Subject* changed, Transaction* hint) override
    {
        log_.push_back(name_ + (isOwnSubject(changed) ? " update" : " foreign update") +
                       (hint != nullptr ? " hinted" : ""));
        // One shot: the action may destroy other observers, so it must not be stored while it runs.
        if (onUpdate) {
            const auto action = std::move(onUpdate);
            onUpdate = nullptr;
            action();
        }
    }

    void subjectGone(Subject* gone) override
    {
        log_.push_back(name_ + " gone");
        Observer<Thing>::subjectGone(gone);
    }

    void watch(Thing& thing)
    {
        setSubject(&thing);
        thing.attach(this);
    }

    std::function<void()> onUpdate;

private:
    std::string name_;
    Log& log_;
};

Transaction* someHint()
{
    static int token;
    return reinterpret_cast<Transaction*>(&token);
}

} // namespace

TEST(Subject, AttachUpdatesAtOnceAndNotifiesInAttachOrder)
{
    Log log;
    Thing thing;
    Watcher a("a", log), b("b", log);
    a.watch(thing);
    b.watch(thing);
    EXPECT_EQ(log, (Log{"a update", "b update"}));
    log.clear();
    thing.notify(someHint());
    EXPECT_EQ(log, (Log{"a update hinted", "b update hinted"}));
}

TEST(Subject, DoubleAttachNotifiesTwiceAndOneDetachRemovesBoth)
{
    Log log;
    Thing thing;
    Watcher a("a", log), stranger("stranger", log);
    a.watch(thing);
    thing.attach(&a);
    log.clear();
    thing.notify(nullptr);
    EXPECT_EQ(log, (Log{"a update", "a update"}));

    log.clear();
    thing.detach(&stranger); // not attached: nothing changes
    thing.detach(&a);
    thing.notify(nullptr);
    EXPECT_TRUE(log.empty());
    EXPECT_FALSE(thing.isAttached(&a));
}

TEST(Subject, DestroyedSubjectClearsItsObservers)
{
    Log log;
    Watcher a("a", log), b("b", log);
    {
        Thing thing;
        a.watch(thing);
        b.watch(thing);
        log.clear();
    }
    EXPECT_EQ(log, (Log{"a gone", "b gone"}));
    EXPECT_EQ(a.getSubject(), nullptr);
    EXPECT_EQ(b.getSubject(), nullptr);
    // Destroying the observers now must not touch the dead subject (AddressSanitizer would tell).
}

TEST(Subject, DestroyedObserverIsNoLongerNotified)
{
    Log log;
    Thing thing;
    Watcher kept("kept", log);
    {
        Watcher brief("brief", log);
        brief.watch(thing);
        kept.watch(thing);
    }
    log.clear();
    thing.notify(nullptr);
    EXPECT_EQ(log, (Log{"kept update"}));
}

TEST(Subject, ObserversMayDetachOrDieDuringNotification)
{
    struct Case {
        const char* what;
        std::function<void(Thing&, Watcher&, std::unique_ptr<Watcher>&)> action; // run by the first observer
        Log expected;
    };
    const std::vector<Case> cases = {
        {"detaches itself",
         [](Thing& thing, Watcher& first, std::unique_ptr<Watcher>&) { thing.detach(&first); },
         {"first update", "second update"}},
        {"detaches the next one",
         [](Thing& thing, Watcher&, std::unique_ptr<Watcher>& second) { thing.detach(second.get()); },
         {"first update"}},
        {"destroys the next one",
         [](Thing&, Watcher&, std::unique_ptr<Watcher>& second) { second.reset(); },
         {"first update", "second destroyed"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Log log;
        Thing thing;
        Watcher first("first", log);
        auto second = std::make_unique<Watcher>("second", log);
        first.watch(thing);
        second->watch(thing);
        log.clear();
        first.onUpdate = [&] { c.action(thing, first, second); };
        thing.notify(nullptr);
        EXPECT_EQ(log, c.expected);
    }
}

TEST(Subject, CopyDoesNotShareObservers)
{
    Log log;
    auto original = std::make_unique<Thing>();
    std::unique_ptr<Thing> copy;
    {
        Watcher a("a", log);
        a.watch(*original);
        copy = std::make_unique<Thing>(*original);
        log.clear();
        copy->notify(nullptr);
        EXPECT_TRUE(log.empty());
    }
    // The observer is gone; the copy must hold no pointer to it.
    copy->notify(nullptr);
    copy.reset();
    original.reset();

    // Assignment keeps the target's own observers.
    Thing target, source;
    Watcher b("b", log), c("c", log);
    b.watch(target);
    c.watch(source);
    target = source;
    log.clear();
    target.notify(nullptr);
    EXPECT_EQ(log, (Log{"b update"}));
}

TEST(Observer, ForeignSubjectIsRecognisedAndMovingDetachesFromThePrevious)
{
    Log log;
    Thing first, second;
    Watcher a("a", log);
    a.watch(first);
    second.attach(&a); // attached without being its subject
    EXPECT_EQ(log.back(), "a foreign update");

    a.watch(second);
    EXPECT_FALSE(first.isAttached(&a));
    EXPECT_EQ(a.getSubject(), &second);
    log.clear();
    first.notify(nullptr);
    EXPECT_TRUE(log.empty());
}
