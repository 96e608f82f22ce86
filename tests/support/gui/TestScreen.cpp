#include "support/gui/TestScreen.h"

#include <cstdlib>
#include <cstring>

void useTestScreen()
{
    const char* platform = std::getenv("QT_QPA_PLATFORM");
    if (platform == nullptr || std::strcmp(platform, "offscreen") == 0) {
        setenv("QT_QPA_PLATFORM", "offscreen:configfile=" QZ_TEST_SCREEN_CONFIG, 1);
    }
}
