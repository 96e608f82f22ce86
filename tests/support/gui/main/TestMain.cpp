// The entry of the test programs that show windows. They hold the window system as the
// application does and let it go after the last test, so that a test program ends
// through the same path as the application: with every exchange and timer ended, and
// the toolkit's scratch folder removed, before any static object goes.
#include <gtest/gtest.h>

#include <memory>

#include "platform/Application.h"
#include "support/gui/TestScreen.h"

namespace {

class WindowSystemEnvironment : public ::testing::Environment {
public:
    // The window system is made before any test runs.
    void SetUp() override
    {
        windowSystem_ = std::make_unique<WindowSystem>();
    }
    void TearDown() override { windowSystem_.reset(); }

private:
    std::unique_ptr<WindowSystem> windowSystem_;
};

} // namespace

int main(int argc, char** argv)
{
    // Before any test environment, some of which make the application object.
    useTestScreen();
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new WindowSystemEnvironment);
    return RUN_ALL_TESTS();
}
