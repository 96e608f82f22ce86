#include "PageFixture.h"

#include "ui/pages/COperatingModePage.h"

namespace {

using Row = PageTest::RadioRow;

// Each group's buttons in screen order; the last click of a group is on the button
// that is checked by then, which sends nothing.
const std::vector<Row> operatingModeRows = {
    {1104, 0x030B, 1}, {1103, 0x030B, 0}, {1103, 0x030B, 0}, {1106, 0x030C, 1}, {1105, 0x030C, 0},
    {1122, 0x0B00, 1}, {1123, 0x0B00, 2}, {1124, 0x0B00, 3}, {1121, 0x0B00, 0}, {1125, 0x0B01, 0},
    {1126, 0x0B01, 1}, {1127, 0x0B01, 2}, {1128, 0x0B01, 3}, {1129, 0x0B01, 4}, {1130, 0x0B01, 5},
    {1131, 0x0B01, 6}, {1132, 0x0B01, 7}, {1133, 0x0B01, 8}, {1133, 0x0B01, 8},
};

using OperatingModePageTest = PageTest;

TEST_F(OperatingModePageTest, EachButtonSetsItsValueAndItsGroupFollows)
{
    auto page = openPage<COperatingModePage>("operating_mode_page");
    for (int parameter : {0x030B, 0x030C, 0x0B00, 0x0B01}) {
        expectButtonsShow(*page, operatingModeRows, parameter);
    }
    clickEachRow(*page, operatingModeRows);
}

TEST_F(OperatingModePageTest, ButtonsFollowWhatTheUnitReports)
{
    auto page = openPage<COperatingModePage>("operating_mode_page_reported");
    set->report(0x0B01, 8);
    set->report(0x0B00, 3);
    set->report(0x030B, 1);
    for (int parameter : {0x030B, 0x0B00, 0x0B01}) {
        expectButtonsShow(*page, operatingModeRows, parameter);
    }
    EXPECT_EQ(page->control<Button>(1133).getCheck(), Button::Checked);
    EXPECT_TRUE(written().empty());
}

TEST_F(OperatingModePageTest, AFailedSendIsReportedAndTheButtonsKeepTheUnitsValue)
{
    auto page = openPage<COperatingModePage>("operating_mode_page_failure");
    int before = set->value(0x0B01);
    protocol.throwOnNextCall(ProtocolException("No acknowledge"));
    user::click(page->control<Button>(1127));
    EXPECT_EQ(reporter.reports, std::vector<std::string>{"reportError: No acknowledge"});
    EXPECT_EQ(set->value(0x0B01), before);
    expectButtonsShow(*page, operatingModeRows, 0x0B01);
}

} // namespace
