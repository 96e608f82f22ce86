#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "ui/CRemoteDlg.h"

using namespace apptest;

namespace {

constexpr int leftMeterId = 1028;
const ParameterId leftLevel(0x2700);

// The main window off line, shown, with the Output Meters page in front: its meters
// hear from their parameters on every poll of their group, changed or not.
class IdleRepaintTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(window.create(nullptr));
        window.show(true);
        ASSERT_TRUE(window.page(CRemoteDlg::OutputMeters)->isVisible());
        // The first showing paints everything once; let it and the first polls settle.
        settle();
    }
    void TearDown() override
    {
        window.destroyWindow();
        processPendingMessages();
    }

    // Serves messages until a spell passes without a paint anywhere (a few seconds at
    // most, more on a loaded machine).
    static void settle()
    {
        for (int spell = 0; spell < 25; ++spell) {
            const unsigned long before = paintEventCount();
            serveSpell(200);
            if (paintEventCount() == before) {
                return;
            }
        }
    }

    // Serves messages for a while and at least a few ticks of the poll timer: on a loaded
    // machine the loop may turn too seldom in that while for a poll to have come.
    static void serveSpell(int milliseconds)
    {
        const uint32_t ticks = CRemoteDlg::tickCount();
        serveFor(milliseconds);
        EXPECT_TRUE(waitUntil([&] { return CRemoteDlg::tickCount() - ticks >= 10; }))
            << "the poll timer stood still";
    }

    Static& leftMeter() { return window.page(CRemoteDlg::OutputMeters)->control<Static>(leftMeterId); }
    void setLeftLevel(int raw)
    {
        window.offLineStore().setValue(leftLevel.previousGroup(), ParameterValue(raw), 0);
    }

    TemporaryProfile profile;
    ModalUser modal;
    CRemoteDlg window{CRemoteDlg::offLine, "", 1};
};

TEST_F(IdleRepaintTest, QuietTicksRepaintNothing)
{
    const unsigned long paints = paintEventCount();
    serveSpell(300);
    EXPECT_EQ(paintEventCount() - paints, 0u);
}

TEST_F(IdleRepaintTest, AChangedMeterLevelRepaintsItsMeter)
{
    Static& meter = leftMeter();
    for (int raw : {1023, 700, 1023}) {
        SCOPED_TRACE(raw);
        const unsigned long paints = meter.paintCount();
        setLeftLevel(raw);
        EXPECT_TRUE(waitUntil([&] { return meter.paintCount() > paints; }));
    }
    // Held at a level, the meter stops repainting once it has reached it.
    settle();
    const unsigned long settled = meter.paintCount();
    serveSpell(300);
    EXPECT_EQ(meter.paintCount(), settled);
}

} // namespace
