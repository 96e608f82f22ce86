#pragma once

#include <functional>
#include <string>

// Runs an action in a forked child, so that what it changes for itself (a lower
// resource limit, another user) never reaches the test process, and hands back
// the text the action returned. A child that could not report gives a text in
// parentheses saying so, which no expectation matches.
std::string textFromChild(const std::function<std::string()>& action);
