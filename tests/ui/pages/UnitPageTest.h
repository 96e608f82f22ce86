#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/Controls.h"
#include "platform/Dialog.h"
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
};

// The factory defaults of every parameter.
ParameterValueMap factoryDefaults();

// A page of the application over that set, shown as a window of its own. What the page
// sends is read back as "id=value" texts, one per value, in the order sent.
class UnitPageTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Builds the page over the set and the reporter, creates and shows its window.
    template <class Page> Page& open()
    {
        auto made = std::make_unique<Page>(set.get(), &reporter);
        Page& page = *made;
        page_ = std::move(made);
        EXPECT_TRUE(page.create(nullptr));
        page.show(true);
        processMessages();
        protocol.clearCalls();
        return page;
    }
    void closePage();
    void processMessages();

    template <class Control> Control& control(int id) { return page_->control<Control>(id); }
    std::string text(int id) { return page_->control<Static>(id).getText(); }
    // Every value sent since the last call, as "1903=4" or "1904=\"name\"".
    std::vector<std::string> sent();
    // Saves a picture of the page under the build folder, named after the test.
    void picture(const std::string& suffix = "");

    RecordingProtocol protocol;
    std::unique_ptr<FactoryUnitSet> set;
    RecordingReporter reporter;
    std::unique_ptr<Dialog> page_;
};
