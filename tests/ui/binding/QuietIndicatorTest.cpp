#include "BindingFixture.h"

#include "platform/Application.h"
#include "ui/AppTestSupport.h"

namespace {

// Parameters that notify on every poll mostly bring the value already shown: the
// indicators bound to them repaint only when what they show changes.
TEST_F(BindingTest, AValueReportedAgainRepaintsNoIndicatorAndANewOneRepaintsEach)
{
    struct Case {
        const char* name;
        Window& control;
        ParameterId id;
        int value;
        int newValue;
    };
    const Case cases[] = {
        {"status text", dialog->inputType, ids::inputType, 2, 1},
        {"LCD readout", dialog->lcd, ids::inputType, 2, 1},
        {"LED", dialog->led, ids::inputType, 2, 1},
        {"level meter", dialog->meter, ids::level, 1023, 800},
        {"centre-zero meter", dialog->centreMeter, ids::lineMode, 16, 0xC0},
    };
    for (const Case& c : cases) {
        set->status(c.id).setAlwaysNotify(true);
        set->report(c.id, c.value);
    }
    // What the first showing still has to paint is done before the count starts.
    EXPECT_TRUE(apptest::settlePaints());

    const unsigned long paints = paintEventCount();
    for (int poll = 0; poll < 20; ++poll) {
        for (const Case& c : cases) {
            set->report(c.id, c.value);
        }
        processPendingMessages();
    }
    apptest::serveFor(100);
    EXPECT_EQ(paintEventCount() - paints, 0u);

    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const unsigned long before = c.control.paintCount();
        set->report(c.id, c.newValue);
        EXPECT_TRUE(apptest::waitUntil([&] { return c.control.paintCount() > before; }, 2000));
        set->report(c.id, c.value);
    }
}

} // namespace
