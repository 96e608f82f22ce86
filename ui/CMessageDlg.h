#pragma once

#include <string>

#include "platform/Dialog.h"

// A message in a dialog of its own template: the text goes into static 1019, and the
// one button (id 2, "OK") ends the dialog like Escape and the close box. While it is
// open it stands on the dialog stack.
class CMessageDlg : public Dialog {
public:
    static constexpr int textId = 1019;
    static constexpr int okId = 2;

    CMessageDlg(int templateId, std::string text);
    ~CMessageDlg() override;

    const std::string& text() const { return m_text; }

protected:
    bool onInitDialog() override;
    void onDestroy() override;

private:
    Button m_ok;
    std::string m_text;
};

// The "Error" dialog of a failure that sends the application off line.
class CCommErrorDlg : public CMessageDlg {
public:
    static constexpr int templateId = 172;

    explicit CCommErrorDlg(std::string text);
};

// The application-error dialog (template 171) and its one text.
constexpr int applicationErrorTemplateId = 171;
inline const char* const applicationErrorText = "QZ347 Remote Application Error (generic exception)";
