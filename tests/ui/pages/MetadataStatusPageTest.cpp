#include "PageFixture.h"

#include <sstream>

#include "ui/pages/CMetadataStatusPage.h"

namespace {

using MetadataStatusPageTest = PageTest;

struct Field {
    int control;
    int parameter;
};

const Field fields[] = {
    {1011, 0x1502}, {1012, 0x1504}, {1013, 0x1505}, {1014, 0x1506}, {1040, 0x150B}, {1015, 0x150C},
    {1017, 0x150D}, {1041, 0x150E}, {1042, 0x150F}, {1043, 0x1511}, {1018, 0x1512}, {1019, 0x1513},
    {1020, 0x1514}, {1021, 0x1515}, {1044, 0x1517}, {1022, 0x1519}, {1024, 0x1500}, {1028, 0x110D},
    {1023, 0x110A}, {1025, 0x0F09}, {1026, 0x0F06}, {1027, 0x0F07}, {1031, 0x1303}, {1032, 0x1304},
    {1033, 0x1106}, {1034, 0x1107},
};

// The value as the parameter's own formatter shows it.
std::string formatted(UnitParameterSet& set, int id, const ParameterValue& value)
{
    Parameter* parameter = set.findParameter(ParameterId(int16_t(id)));
    std::ostringstream text;
    parameter->format(text, value);
    return doubleAmpersands(text.str());
}

TEST_F(MetadataStatusPageTest, EveryFieldShowsItsParameterThroughItsFormatter)
{
    open<CMetadataStatusPage>();
    for (const Field& field : fields) {
        SCOPED_TRACE(field.control);
        Parameter* parameter = set->findParameter(ParameterId(int16_t(field.parameter)));
        EXPECT_EQ(text(field.control), formatted(*set, field.parameter, parameter->value()));
    }
    picture();

    // Every field follows its own parameter: a new value for one changes that field only.
    for (const Field& field : fields) {
        SCOPED_TRACE(field.control);
        std::vector<std::string> before;
        for (const Field& other : fields) {
            before.push_back(text(other.control));
        }
        Parameter* parameter = set->findParameter(ParameterId(int16_t(field.parameter)));
        ParameterValue old = parameter->value();
        ParameterValue changed(int16_t(old.toInt16() == 1 ? 2 : 1));
        set->report(field.parameter, changed);
        EXPECT_EQ(text(field.control), formatted(*set, field.parameter, changed));
        for (std::size_t i = 0; i < std::size(fields); ++i) {
            if (fields[i].control != field.control) {
                EXPECT_EQ(text(fields[i].control), before[i]) << fields[i].control;
            }
        }
        set->report(field.parameter, old);
    }
    EXPECT_TRUE(sent().empty());
}

TEST_F(MetadataStatusPageTest, AValueWithoutALabelShowsAsANumber)
{
    open<CMetadataStatusPage>();
    set->report(0x1304, 0xFFFF); // no formatter: read unsigned
    EXPECT_EQ(text(1032), "65535");
    set->report(0x1107, 1234);
    EXPECT_EQ(text(1034), "1234");
    set->report(0x1502, 99); // enumerated, but no label for 99
    EXPECT_EQ(text(1011), "99");
    set->report(0x1502, -3);
    EXPECT_EQ(text(1011), "-3");
}

} // namespace
