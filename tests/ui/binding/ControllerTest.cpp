#include "BindingFixture.h"

#include <stdexcept>

#include "model/Exceptions.h"
#include "platform/Application.h"
#include "support/gui/UserInput.h"

namespace {

using Texts = std::vector<std::string>;

TEST_F(BindingTest, EveryExceptionKindOfADispatchReachesItsReport)
{
    struct Case {
        std::function<void()> arm;
        std::string report;
    };
    std::vector<Case> cases{
        {[&] { protocol.throwOnNextCall(HostException("unit error")); }, "reportHostError: unit error"},
        {[&] { protocol.throwOnNextCall(ProtocolException("no reply")); }, "reportError: no reply"},
        {[&] { protocol.throwOnNextCall(VormoException("socket")); }, "reportError: socket"},
        {[&] { protocol.throwOnNextCall(std::runtime_error("other")); }, "reportUnknown"},
    };
    for (const Case& c : cases) {
        c.arm();
        user::click(dialog->optical); // a click's transaction fails on commit
        ASSERT_EQ(reporter.reports.size(), 1U);
        EXPECT_EQ(reporter.reports.back(), c.report);
        reporter.reports.clear();
        // The failed transaction put the pending value back: the first button shows again.
        EXPECT_EQ(dialog->aes1.getCheck(), Button::Checked);
        EXPECT_EQ(dialog->optical.getCheck(), Button::Unchecked);
        protocol.clearFailure();
    }
    // Every dispatch operation reports.
    std::vector<std::function<void()>> actions{
        [&] { user::press(dialog->volume, user::Key::Down); },
        [&] { user::stepUp(dialog->cutSpin); },
        [&] { dialog->cut.setText("0.9"); },
        [&] { user::choose(dialog->timeout, 0); },
        [&] { user::click(dialog->play); },
    };
    for (auto& action : actions) {
        protocol.throwOnNextCall(HostException("busy"));
        action();
        EXPECT_EQ(reporter.reports, Texts{"reportHostError: busy"});
        reporter.reports.clear();
        protocol.clearFailure();
    }
}

TEST_F(BindingTest, AFailedEditCommitLeavesTheEditFollowingItsParameter)
{
    protocol.throwOnNextCall(ProtocolException("no acknowledge"));
    user::type(dialog->cut, "5");
    EXPECT_EQ(reporter.reports, Texts{"reportError: no acknowledge"});
    set->reportControl(ids::customCut, ParameterValue(7));
    EXPECT_EQ(dialog->cut.getText(), "+0.7"); // not frozen by the failed commit
}

TEST_F(BindingTest, NotificationsOfControlsBoundOtherwiseDoNothing)
{
    Win32Controller& c = dialog->controller;
    c.onCommand(&dialog->cut);           // an edit
    c.onCommand(&dialog->inputType);     // a status text
    c.onEditChange(&dialog->volumeText); // a control text
    c.onEditKillFocus(&dialog->volumeText);
    c.onScroll(&dialog->cut, LineDown);
    long result = 99;
    UpDownNotify record;
    record.delta = -1;
    c.onSpinDelta(nullptr, &record, &result);
    EXPECT_EQ(result, 0);
    result = 99;
    SpinButton unbound;
    c.onSpinDelta(&unbound, &record, &result);
    EXPECT_EQ(result, 0);
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(BindingTest, ACopiedControllerHasTheSetAndReporterButNoBindings)
{
    Win32Controller copy(dialog->controller);
    EXPECT_EQ(copy.getErrorReporter(), &reporter);
    copy.onCommand(&dialog->optical);
    EXPECT_TRUE(sent().empty());
    copy.addCheckBox(&dialog->optical, ids::bypass, 1); // binds through the same set
    EXPECT_EQ(dialog->optical.getCheck(), Button::Unchecked);
    dialog->optical.setCheck(Button::Checked); // as a click leaves it
    copy.onCommand(&dialog->optical);
    EXPECT_EQ(batches(), Texts{"setValues: 309=1"});
}

TEST_F(BindingTest, BindingAnUnknownParameterFailsWithTheSetsText)
{
    try {
        dialog->controller.addCheckBox(&dialog->bypass, ParameterId(0x0F0F), 1);
        FAIL();
    } catch (const VormoException& error) {
        EXPECT_EQ(std::string(error.what()).rfind("Couldn't find parameter ", 0), 0U);
    }
    // The button no longer follows its former parameter.
    set->reportControl(ids::bypass, ParameterValue(1));
    EXPECT_EQ(dialog->bypass.getCheck(), Button::Unchecked);
    try {
        dialog->controller.addComboBox(&dialog->timeout, ids::timeout, 1178, 1180);
        FAIL();
    } catch (const VormoException& error) {
        EXPECT_STREQ(error.what(), "Unable to load the string with id: 1178");
    }
}

TEST_F(BindingTest, ABindingChangedWhileItsOwnClickIsHandledIsSafe)
{
    // A rule that rebinds the clicked control when the value changes, as the main window
    // does with its volume controls.
    class Rebinder : public Observer<ControlParameter> {
    public:
        explicit Rebinder(BindingDialog& d) : d(d) {}
        void update(Subject* changed, Transaction*) override
        {
            if (isOwnSubject(changed) && subject_->value().toInt16() == 2) {
                d.controller.addCheckBox(&d.optical, ids::inputSelect, 2);
            }
        }
        BindingDialog& d;
    } rebinder(*dialog);
    set->attachControlObserver(ids::inputSelect, &rebinder);
    user::click(dialog->optical);
    EXPECT_EQ(batches(), Texts{"setValues: 301=2"});
    EXPECT_EQ(dialog->optical.getCheck(), Button::Checked);
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(BindingTest, IsMessageBasedAsksTheSet)
{
    EXPECT_FALSE(dialog->controller.isMessageBased());
    protocol.messageBased = true;
    EXPECT_TRUE(dialog->controller.isMessageBased());
    dialog->controller.setParameterSet(nullptr);
    EXPECT_FALSE(dialog->controller.isMessageBased());
}

} // namespace
