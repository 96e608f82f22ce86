#pragma once

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "model/Exceptions.h"
#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "support/gui/UserInput.h"
#include "tests/support/RecordingProtocol.h"
#include "tests/ui/binding/BindingFixture.h"
#include "unit/UnitParameterSet.h"

// The unit's whole parameter set, off line in the sense of no link, over a recording
// protocol that starts with the unit's factory defaults.
class FactoryUnitSet : public UnitParameterSet {
public:
    explicit FactoryUnitSet(RecordingProtocol* protocol) : UnitParameterSet(protocol, false) {}

    // The unit reports a new value (as a poll or a refresh would bring it).
    void report(int id, const ParameterValue& value);
    void report(int id, int value) { report(id, ParameterValue(value)); }
    int value(int id);
};

// The factory defaults of every parameter.
ParameterValueMap factoryDefaults();

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
    std::function<void(Dialog& dialog)> script_;
};

// A page or dialog of the application over that set. A page opens as a window of its
// own and stays open until the test ends or closePage; a modal dialog runs over the
// set through a controller of the test's own.
class PageTest : public ::testing::Test {
public:
    // A push-like radio button or check box: checked while its parameter holds the value.
    struct RadioRow {
        int control;
        int parameter;
        int value;
    };

protected:
    PageTest();
    ~PageTest() override;
    void TearDown() override;

    // Builds the page over the set and the reporter, creates and shows its window.
    template <class Page> Page& open()
    {
        auto made = std::make_unique<Page>(set.get(), &reporter);
        Page& page = *made;
        closePage();
        page_ = std::move(made);
        EXPECT_TRUE(page.create(nullptr));
        page.show(true);
        processMessages();
        protocol.clearCalls();
        return page;
    }
    // The same, with a picture of the page saved under the name given.
    template <class Page> Page* openPage(const std::string& pictureName)
    {
        Page& page = open<Page>();
        savePicture(page, pictureName);
        return &page;
    }
    void closePage();
    void processMessages();

    template <class Control> Control& control(int id) { return page_->control<Control>(id); }
    std::string text(int id) { return page_->control<Static>(id).getText(); }
    // Saves a picture of the page under the build folder, named after the test.
    void picture(const std::string& suffix = "");

    // Every value sent since the last call, as "1903=4" or "1904=\"name\"", a single
    // set under the parameter's own identifier.
    std::vector<std::string> sent();
    // What was written since the last call, one text a call: the operation, then
    // "id=value" for each written entry, the id as four hexadecimal digits.
    std::vector<std::string> written();

    // Clicks each row's button in turn: the click sends the value in one batch (nothing
    // when the parameter already holds it), and afterwards exactly the buttons of the
    // same parameter that carry the new value show checked.
    void clickEachRow(Dialog& page, const std::vector<RadioRow>& rows);
    // Every button of the parameter shows whether the parameter holds its value.
    void expectButtonsShow(Dialog& page, const std::vector<RadioRow>& rows, int parameter);

    RecordingProtocol protocol;
    std::unique_ptr<FactoryUnitSet> set;
    ClosingReporter reporter;
    std::unique_ptr<Dialog> page_;
};
