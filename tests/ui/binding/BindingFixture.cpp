#include "BindingFixture.h"

#include <cstdlib>
#include <sstream>

#include "platform/Application.h"
#include "support/gui/UserInput.h"

void savePicture(Window& window, const std::string& name)
{
    EXPECT_TRUE(saveWindowPicture(window, std::string(QZ_PICTURE_DIR) + "/" + name + ".png"));
}

namespace {
class Templates : public ::testing::Environment {
public:
    void SetUp() override
    {
        setenv("QT_QPA_PLATFORM", "offscreen", 0); // headless unless told otherwise
        ensureApplication();
        register_binding_test_templates();
    }
};
const auto* templates = ::testing::AddGlobalTestEnvironment(new Templates);
} // namespace

TestSet::TestSet(RecordingProtocol* protocol) : ParameterSet(protocol, std::make_unique<RecordingProtocol>())
{
    auto control = [&](const ParameterId& id, const ParameterValue& minimum, const ParameterValue& maximum) {
        controlParameters_.emplace(id, ControlParameter(protocol, id, minimum, maximum, nullptr));
    };
    auto status = [&](const ParameterId& id, int minimum, int maximum,
                      ParameterFormatter* formatter = nullptr) {
        statusParameters_.emplace(
            id, Parameter(protocol, id, ParameterValue(minimum), ParameterValue(maximum), formatter));
    };
    control(ids::inputSelect, ParameterValue(0), ParameterValue(3));
    control(ids::bypass, ParameterValue(0), ParameterValue(1));
    control(ids::customCut, ParameterValue(0), ParameterValue(10));
    control(ids::unitName, MinimumValue(), MaximumValue());
    control(ids::timeout, ParameterValue(0), ParameterValue(2));
    control(ids::fileName, MinimumValue(), MaximumValue());
    control(ids::wide, ParameterValue(-5), ParameterValue(20));
    control(ids::volume, ParameterValue(0), ParameterValue(40));
    control(ids::digitalVolume, ParameterValue(0), ParameterValue(60));
    control(ids::trim, ParameterValue(0), ParameterValue(100));
    control(ids::flowControl, ParameterValue(0), ParameterValue(2));
    control(ids::aesRef, ParameterValue(0), ParameterValue(2));

    auto labels = std::make_unique<EnumeratedFormatter>("Input Type");
    labels->add(ParameterValue(0), "AES");
    labels->add(ParameterValue(1), "Optical");
    labels->add(ParameterValue(2), "R&D Digital");
    inputTypeFormatter = labels.get();
    formatters_.push_back(std::move(labels));
    status(ids::state, 0, 4);
    status(ids::inputType, 0, 3, inputTypeFormatter);
    status(ids::level, 0, 1023);
    status(ids::lineMode, 0, 0x7FFF);

    // What the unit holds at the start.
    protocol->values[ids::inputSelect] = ParameterValue(0);
    protocol->values[ids::bypass] = ParameterValue(0);
    protocol->values[ids::customCut] = ParameterValue(3);
    protocol->values[ids::unitName] = ParameterValue(std::string("QZ347"));
    protocol->values[ids::timeout] = ParameterValue(1);
    protocol->values[ids::fileName] = ParameterValue(std::string("intro.ac3"));
    protocol->values[ids::wide] = ParameterValue(2);
    protocol->values[ids::volume] = ParameterValue(20);
    protocol->values[ids::digitalVolume] = ParameterValue(50);
    protocol->values[ids::trim] = ParameterValue(95);
    protocol->values[ids::flowControl] = ParameterValue(2);
    protocol->values[ids::state] = ParameterValue(1);
    protocol->values[ids::inputType] = ParameterValue(2);
    protocol->values[ids::level] = ParameterValue(1023);
    protocol->values[ids::lineMode] = ParameterValue(16);
    protocol->values[ids::aesRef] = ParameterValue(1);
    refresh();
    statusParameters_.refreshAll(protocol);
}

void TestSet::report(const ParameterId& id, int value)
{
    statusParameters_.update(ParameterValueMap{{id, ParameterValue(value)}});
}

void TestSet::reportControl(const ParameterId& id, const ParameterValue& value)
{
    controlParameters_.update(ParameterValueMap{{id, value}});
}

BindingDialog::BindingDialog(ParameterSet* set, ErrorReporter* reporter)
    : Dialog(9100), controller(set, reporter)
{
    outputMeter.horizontal = true;
    outputMeter.reference = -60.0;
    outputMeter.maximum = 0.0;
    outputMeter.minimum = -60.0;
    outputMeter.fallRate = 40.0;
    lineMeter.horizontal = true;
    lineMeter.reference = 0.0;
    lineMeter.maximum = 24.0;
    lineMeter.minimum = -24.0;

    for (Notify code : {Notify::Clicked, Notify::SelChange}) {
        connect(AnyControl, code, [this](Notification& n) { controller.onCommand(n.control); });
    }
    connect(AnyControl, Notify::EditChange, [this](Notification& n) {
        if (n.control != &unitName) { // the unit name is committed on focus loss and Enter only
            controller.onEditChange(n.control);
        }
    });
    connect(AnyControl, Notify::KillFocus, [this](Notification& n) {
        if (n.control == &file) {
            controller.onCommand(&file);
        } else if (n.control == &unitName) {
            controller.onEditChange(&unitName);
        } else {
            controller.onEditKillFocus(n.control);
        }
    });
    connect(AnyControl, Notify::DeltaPos,
            [this](Notification& n) { controller.onSpinDelta(&cutSpin, n.upDown, n.result); });
    for (Notify code : {Notify::HScroll, Notify::VScroll}) {
        connect(AnyControl, code, [this](Notification& n) {
            if (n.control == &volume || n.control == &trim) {
                controller.onScroll(n.control, n.scrollCode);
            }
        });
    }
    connect(57674, Notify::Clicked, [this](Notification&) { controller.onEditChange(&unitName); });
}

bool BindingDialog::onInitDialog()
{
    attach(aes1, 3001);
    attach(aes2, 3002);
    attach(optical, 3003);
    attach(bypass, 3004);
    attach(play, 3010);
    attach(pause, 3011);
    attach(stop, 3012);
    attach(cut, 3020);
    attach(cutSpin, 3021);
    attach(unitName, 3022);
    attach(timeout, 3030);
    attach(file, 3031);
    attach(wide, 3032);
    attach(volume, 3040);
    attach(trim, 3041);
    attach(volumeText, 3042);
    attach(inputType, 3050);
    attach(lcd, 3051);
    attach(led, 3052);
    attach(ledMap, 3053);
    attach(meter, 3054);
    attach(centreMeter, 3055);
    attach(tabs, 3060);
    for (auto [bitmap, id] :
         {std::pair{&blueOn, 163}, {&blueOff, 164}, {&greenOn, 160}, {&greenOff, 159}, {&redOn, 161}}) {
        EXPECT_TRUE(bitmap->loadBitmap(id));
    }

    controller.addCheckBox(&aes1, ids::inputSelect, 0);
    controller.addCheckBox(&aes2, ids::inputSelect, 1);
    controller.addCheckBox(&optical, ids::inputSelect, 2);
    controller.addCheckBox(&bypass, ids::bypass, 1);
    controller.addButton(&play, ids::flowControl, ids::state, 0, 4);
    controller.addButton(&pause, ids::flowControl, ids::state, 1, 2);
    controller.addButton(&stop, ids::flowControl, ids::state, 2, 1);
    controller.addSpin(&cutSpin, ids::customCut);
    controller.addEdit(&cut, ids::customCut, &cutConverter);
    controller.addEdit(&unitName, ids::unitName);
    unitName.setLimitText(12);
    controller.addComboBox(&timeout, ids::timeout, 900, 902);
    controller.addDropdown(&file, ids::fileName);
    controller.addComboBox(&wide, ids::wide, 1100, 1104);
    volumeObserver = controller.addSlider(&volume, ids::volume, true, false);
    volumeObserver->setup(10, 1, 10);
    controller.addSlider(&trim, ids::trim, false, false)->setup(10, 1, 10);
    controller.addControlText(&volumeText, ids::volume);
    controller.addStatusText(&inputType, ids::inputType);
    controller.addStatusText(&lcd, ids::inputType);
    controller.addBitmap(&led, ids::inputType, &isDigital, &blueOn, &blueOff, false);
    ledMapObserver = controller.addBitmapMap(&ledMap, ids::aesRef, &greenOff, true);
    ledMapObserver->addBitmap(ParameterValue(0), &greenOff);
    ledMapObserver->addBitmap(ParameterValue(1), &greenOn);
    ledMapObserver->addBitmap(ParameterValue(2), &redOn);
    controller.addMeter(&meter, ids::level, &levelScaler, &outputMeter);
    controller.addMeter(&centreMeter, ids::lineMode, &lineScaler, &lineMeter);
    return true;
}

void BindingTest::SetUp()
{
    Win32MeterObserver::setClock(nullptr);
    set = std::make_unique<TestSet>(&protocol);
    dialog = std::make_unique<BindingDialog>(set.get(), &reporter);
    ASSERT_TRUE(dialog->create(nullptr));
    dialog->show(true);
    processPendingMessages();
    protocol.clearCalls();
}

void BindingTest::TearDown()
{
    user::onModal(nullptr);
    Win32MeterObserver::setClock(nullptr);
    dialog.reset();
    set.reset();
    processPendingMessages();
}

std::string describe(const ParameterId& id, const ParameterValue& value)
{
    std::ostringstream text;
    text << std::hex << std::uppercase << (uint16_t(uint8_t(id.group())) << 8 | uint8_t(id.index()))
         << std::dec << '=';
    if (value.isInteger()) {
        text << value.toInt16();
    } else {
        text << '"' << value.toString() << '"';
    }
    return text.str();
}

std::vector<RecordedCall> BindingTest::sent()
{
    std::vector<RecordedCall> calls;
    for (const RecordedCall& call : protocol.calls) {
        if (call.operation != "getValue" && call.operation != "getValues") {
            calls.push_back(call);
        }
    }
    protocol.clearCalls();
    return calls;
}

std::vector<std::string> BindingTest::batches()
{
    std::vector<std::string> texts;
    for (const RecordedCall& call : sent()) {
        std::string text = call.operation + ":";
        for (std::size_t i = 0; i < call.ids.size(); ++i) {
            text += ' ';
            text += describe(call.ids[i], call.values[i]);
        }
        texts.push_back(text);
    }
    return texts;
}
