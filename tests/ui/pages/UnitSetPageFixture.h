#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Exceptions.h"
#include "platform/Application.h"
#include "platform/Dialog.h"
#include "support/gui/UserInput.h"
#include "tests/support/RecordingProtocol.h"
#include "tests/ui/binding/BindingFixture.h"
#include "unit/UnitParameterSet.h"

// The unit's whole parameter set over a recording protocol that starts with the
// factory defaults, as a unit fresh from the factory would answer.
class RecordedUnitSet : public UnitParameterSet {
public:
    explicit RecordedUnitSet(RecordingProtocol* protocol) : UnitParameterSet(protocol, false) {}

    // The unit reports a new value of a settable parameter (as the refresh would).
    void report(int id, int value);
    int value(int id);
    // The value as the parameter's own formatter shows it.
    std::string shown(int id);
};

// Records every report and, as the main window's reporter does, asks the open modal
// dialogs to close.
class ClosingReporter : public RecordingReporter {
public:
    void reportError(const VormoException& error) override
    {
        RecordingReporter::reportError(error);
        closeWindows();
    }
    void reportHostError(const HostException& error) override
    {
        RecordingReporter::reportHostError(error);
        closeWindows();
    }
    void reportUnknown() override
    {
        RecordingReporter::reportUnknown();
        closeWindows();
    }
};

// Acts as the user in every modal run while it lives; the script gets the dialog.
class ModalScript {
public:
    explicit ModalScript(std::function<void(Dialog& dialog)> script);
    ~ModalScript();
    int runs = 0;

private:
    std::function<void(Dialog& dialog)> script;
};

// Pages and dialogs tried out on that set: each page opens as a window of its own.
class UnitSetPageTest : public ::testing::Test {
public:
    // A push-like radio button or check box: checked while its parameter holds the value.
    struct RadioRow {
        int control;
        int parameter;
        int value;
    };

protected:
    UnitSetPageTest();
    ~UnitSetPageTest() override;

    template <class Page> std::unique_ptr<Page> openPage(const std::string& picture)
    {
        auto page = std::make_unique<Page>(set.get(), &reporter);
        EXPECT_TRUE(page->create(nullptr));
        page->show(true);
        processPendingMessages();
        savePicture(*page, picture);
        return page;
    }

    // Clicks each row's button in turn: the click sends the value in one batch (nothing
    // when the parameter already holds it), and afterwards exactly the buttons of the
    // same parameter that carry the new value show checked.
    void clickEachRow(Dialog& page, const std::vector<RadioRow>& rows);
    // Every button of the parameter shows whether the parameter holds its value.
    void expectButtonsShow(Dialog& page, const std::vector<RadioRow>& rows, int parameter);

    // What was written since the last call, one text a call: the operation, then
    // "id=value" for each written entry, the id as four hexadecimal digits.
    std::vector<std::string> written();

    RecordingProtocol protocol;
    std::unique_ptr<RecordedUnitSet> set;
    ClosingReporter reporter;
};
