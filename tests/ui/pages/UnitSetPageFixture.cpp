#include "UnitSetPageFixture.h"

#include <cstdio>
#include <sstream>

#include "support/gui/UserInput.h"
#include "unit/DefaultDeviceConnection.h"

namespace {
// The factory defaults of every parameter.
class FactoryDefaults : public DefaultDeviceConnection {
public:
    using LocalDeviceConnection::store;
};
} // namespace

void RecordedUnitSet::report(int id, int value)
{
    controlParameters_.update(ParameterValueMap{{ParameterId(int16_t(id)), ParameterValue(value)}});
}

int RecordedUnitSet::value(int id)
{
    return findParameter(ParameterId(int16_t(id)))->value().toInt16();
}

ModalScript::ModalScript(std::function<void(Dialog& dialog)> script) : script(std::move(script))
{
    user::onModal([this](Window& modal) {
        ++runs;
        auto* dialog = dynamic_cast<Dialog*>(&modal);
        ASSERT_NE(dialog, nullptr);
        this->script(*dialog);
    });
}

ModalScript::~ModalScript()
{
    user::onModal(nullptr);
}

std::string RecordedUnitSet::shown(int id)
{
    Parameter* parameter = findParameter(ParameterId(int16_t(id)));
    std::ostringstream out;
    parameter->format(out, parameter->value());
    return out.str();
}

UnitSetPageTest::UnitSetPageTest()
{
    protocol.values = FactoryDefaults().store();
    set = std::make_unique<RecordedUnitSet>(&protocol);
    protocol.clearCalls();
}

UnitSetPageTest::~UnitSetPageTest()
{
    processPendingMessages();
}

std::vector<std::string> UnitSetPageTest::written()
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

void UnitSetPageTest::clickEachRow(Dialog& page, const std::vector<RadioRow>& rows)
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

void UnitSetPageTest::expectButtonsShow(Dialog& page, const std::vector<RadioRow>& rows, int parameter)
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
