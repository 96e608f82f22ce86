#pragma once

#include <string>

class Window;

// Message box button sets.
constexpr int MB_OK = 0x0;
constexpr int MB_OKCANCEL = 0x1;
constexpr int MB_YESNO = 0x4;
constexpr int MB_ICONERROR = 0x10;
constexpr int MB_ICONWARNING = 0x30;

// Shows a modal message box over the owner (may be null) and returns the button
// pressed (IDOK, IDCANCEL, IDYES, IDNO). The text is shown as plain text.
int messageBox(Window* owner, const std::string& text, const std::string& caption = "QZ347Remote",
               int type = MB_OK);
