#include "PlatformTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/Application.h"
#include "support/gui/UserInput.h"

void savePicture(Window& window, const std::string& name)
{
    EXPECT_TRUE(saveWindowPicture(window, std::string(QZ_PICTURE_DIR) + "/" + name + ".png"));
}

namespace {
// The templates of these tests, registered once before any test runs.
class Templates : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0); // headless unless told otherwise
        ensureApplication();
        register_platform_test_templates();
    }
};
const auto* templates = ::testing::AddGlobalTestEnvironment(new Templates);
} // namespace
