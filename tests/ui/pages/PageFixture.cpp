#include "PageFixture.h"

#include <cstdio>

#include "ui/binding/Indicators.h"
#include "unit/DefaultDeviceConnection.h"

namespace {
// The off-line store of the application, opened up for the tests.
class DefaultStore : public DefaultDeviceConnection {
public:
    using LocalDeviceConnection::store;
};
} // namespace

ParameterValueMap factoryDefaults()
{
    DefaultStore defaults;
    return defaults.store();
}

void FactoryUnitSet::report(int id, const ParameterValue& value)
{
    ParameterId parameter{int16_t(id)};
    ParameterValueMap values{{parameter, value}};
    if (statusParameters_.contains(parameter)) {
        statusParameters_.update(values);
    } else if (controlParameters_.contains(parameter)) {
        controlParameters_.update(values);
    } else {
        for (int which : {0, 1}) {
            if (presetNameMap(which).contains(parameter)) {
                presetNameMap(which).update(values);
            }
        }
    }
}

int FactoryUnitSet::value(int id)
{
    return findParameter(ParameterId(int16_t(id)))->value().toInt16();
}

ModalScript::ModalScript(std::function<void(Dialog& dialog)> script) : script_(std::move(script))
{
    user::onModal([this](Window& modal) {
        ++runs;
        auto* dialog = dynamic_cast<Dialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        script_(*dialog);
    });
}

ModalScript::~ModalScript()
{
    user::onModal(nullptr);
}

PageTest::PageTest()
{
    Win32MeterObserver::setClock(nullptr);
    protocol.values = factoryDefaults();
    set = std::make_unique<FactoryUnitSet>(&protocol);
    // The preset names come with the next two steps of the refresh rotation.
    for (int step = 0; step < 3; ++step) {
        set->refresh();
    }
    protocol.clearCalls();
}

PageTest::~PageTest()
{
    closePage();
    Win32MeterObserver::setClock(nullptr);
}

void PageTest::TearDown()
{
    closePage();
}

void PageTest::closePage()
{
    if (page_ != nullptr) {
        page_->destroyWindow();
        page_.reset();
    }
    processMessages();
}

void PageTest::processMessages()
{
    processPendingMessages();
}

std::vector<std::string> PageTest::sent()
{
    std::vector<std::string> values;
    for (const RecordedCall& call : protocol.calls) {
        if (call.operation == "getValue" || call.operation == "getValues") {
            continue;
        }
        for (std::size_t i = 0; i < call.ids.size(); ++i) {
            // A single set goes to the parameter's write identifier, a group below it.
            ParameterId id = call.operation == "setValue" ? call.ids[i].nextGroup() : call.ids[i];
            values.push_back(describe(id, call.values[i]));
        }
    }
    protocol.clearCalls();
    return values;
}

std::vector<std::string> PageTest::written()
{
    std::vector<std::string> texts;
    for (const RecordedCall& call : protocol.calls) {
        if (call.operation == "getValue" || call.operation == "getValues") {
            continue;
        }
        std::string text = call.operation;
        for (std::size_t i = 0; i < call.ids.size(); ++i) {
            char id[8];
            std::snprintf(id, sizeof id, "%04X",
                          unsigned(uint8_t(call.ids[i].group())) << 8 | uint8_t(call.ids[i].index()));
            text += std::string(" ") + id + "=";
            text += call.values[i].isInteger() ? std::to_string(call.values[i].toInt16())
                                               : '"' + call.values[i].toString() + '"';
        }
        texts.push_back(text);
    }
    protocol.clearCalls();
    return texts;
}

void PageTest::picture(const std::string& suffix)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("pages_") + test->test_suite_name() + "_" + test->name();
    if (!suffix.empty()) {
        name += "_" + suffix;
    }
    savePicture(*page_, name);
}

void PageTest::clickEachRow(Dialog& page, const std::vector<RadioRow>& rows)
{
    for (const RadioRow& row : rows) {
        SCOPED_TRACE("control " + std::to_string(row.control));
        bool unchanged = set->value(row.parameter) == row.value;
        user::click(page.control<Button>(row.control));
        char expected[32];
        std::snprintf(expected, sizeof expected, "setValues %04X=%d", unsigned(row.parameter), row.value);
        EXPECT_EQ(written(), unchanged ? std::vector<std::string>{} : std::vector<std::string>{expected});
        EXPECT_EQ(set->value(row.parameter), row.value);
        expectButtonsShow(page, rows, row.parameter);
    }
}

void PageTest::expectButtonsShow(Dialog& page, const std::vector<RadioRow>& rows, int parameter)
{
    int value = set->value(parameter);
    for (const RadioRow& other : rows) {
        if (other.parameter == parameter) {
            EXPECT_EQ(page.control<Button>(other.control).getCheck(),
                      other.value == value ? Button::Checked : Button::Unchecked)
                << "control " << other.control << " with the value " << value;
        }
    }
}
