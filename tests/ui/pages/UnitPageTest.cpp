#include "UnitPageTest.h"

#include "platform/Application.h"
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

void UnitPageTest::SetUp()
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

void UnitPageTest::TearDown()
{
    closePage();
    Win32MeterObserver::setClock(nullptr);
    set.reset();
}

void UnitPageTest::closePage()
{
    if (page_ != nullptr) {
        page_->destroyWindow();
        page_.reset();
    }
    processMessages();
}

void UnitPageTest::processMessages()
{
    processPendingMessages();
}

std::vector<std::string> UnitPageTest::sent()
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

void UnitPageTest::picture(const std::string& suffix)
{
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("pages_") + test->test_suite_name() + "_" + test->name();
    if (!suffix.empty()) {
        name += "_" + suffix;
    }
    savePicture(*page_, name);
}
