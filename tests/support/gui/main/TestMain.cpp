// The entry of the test programs that show windows. They hold the window system as the
// application does and let it go after the last test, so that a test program ends
// through the same path as the application: with every exchange and timer ended, and
// the toolkit's scratch folder removed, before any static object goes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

#include "platform/Application.h"

namespace {

class WindowSystemEnvironment : public ::testing::Environment {
public:
    // Headless unless told otherwise; the window system is made before any test runs.
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
        windowSystem_ = std::make_unique<WindowSystem>();
    }
    void TearDown() override { windowSystem_.reset(); }

private:
    std::unique_ptr<WindowSystem> windowSystem_;
};

} // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new WindowSystemEnvironment);
    return RUN_ALL_TESTS();
}
