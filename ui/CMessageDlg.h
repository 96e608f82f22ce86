#pragma once

#include <string>

#include "platform/Dialog.h"
#include "templates/ErrorTemplate.h"
#include "templates/MessageTemplate.h"

// A message in a dialog of its own template: the text goes into its message static,
// and the one button ("OK", with the cancel id) ends the dialog like Escape and the
// close box. While it is open it stands on the dialog stack.
class CMessageDlg : public Dialog {
public:
    static constexpr int textId = MessageTemplate::messageText;
    static constexpr int okId = MessageTemplate::okButton;

    CMessageDlg(int templateId, std::string text);
    ~CMessageDlg() override;

    const std::string& text() const { return text_; }

protected:
    bool onInitDialog() override;
    void onDestroy() override;

private:
    Button ok_;
    std::string text_;
};

// Both message templates carry the text and the button under the same ids.
static_assert(ErrorTemplate::messageText == MessageTemplate::messageText);
static_assert(ErrorTemplate::okButton == MessageTemplate::okButton);

// The "Error" dialog of a failure that sends the application off line.
class CCommErrorDlg : public CMessageDlg {
public:
    static constexpr int templateId = ErrorTemplate::templateId;

    explicit CCommErrorDlg(std::string text);
};

// The application-error dialog and its one text.
constexpr int applicationErrorTemplateId = MessageTemplate::templateId;
inline const char* const applicationErrorText = "QZ347 Remote Application Error (generic exception)";
