#pragma once

#include <string>

#include "platform/Window.h"

void register_platform_test_templates();

// Saves a picture of the window under the build folder, named after the test.
void savePicture(Window& window, const std::string& name);
