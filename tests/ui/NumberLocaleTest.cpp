// Numbers look and read alike in every locale. ctest runs the window test programs under
// a locale whose decimal mark is a comma (LC_NUMERIC=de_DE.UTF-8, which scripts/setup.sh
// makes); the window system, made before any test, has taken it up as the application's
// start does.
#include <gtest/gtest.h>

#include <langinfo.h>
#include <locale.h>

#include <regex>
#include <sstream>
#include <string>

#include "device/ProtocolAdapter.h"
#include "model/ParameterConverter.h"
#include "model/ParameterFormatter.h"
#include "unit/DefaultDeviceConnection.h"
#include "unit/UnitParameterSet.h"

namespace {

// The decimal mark of the locale the environment names, or nothing when the locale is
// not to be had.
std::string environmentsDecimalMark()
{
    locale_t named = newlocale(LC_NUMERIC_MASK, "", nullptr);
    if (named == nullptr) {
        return {};
    }
    std::string mark = nl_langinfo_l(RADIXCHAR, named);
    freelocale(named);
    return mark;
}

class NumberLocaleTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const std::string mark = environmentsDecimalMark();
        ASSERT_FALSE(mark.empty()) << "the locale the environment names is not installed: scripts/setup.sh "
                                      "makes de_DE.UTF-8";
        if (mark == ".") {
            GTEST_SKIP() << "not under a locale with a decimal comma, as ctest runs it (LC_NUMERIC=de_DE.UTF-8)";
        }
    }
};

TEST_F(NumberLocaleTest, AFractionShowsAndReadsBackWithAPoint)
{
    const FractionParameterConverter customCut(0, 10, 1, true);
    std::string text;
    customCut.toText(text, ParameterValue(3));
    EXPECT_EQ(text, "+0.3");
    ParameterValue read;
    ASSERT_TRUE(customCut.toValue(read, "0.5"));
    EXPECT_EQ(read.toInt16(), 5);
    ASSERT_TRUE(customCut.toValue(read, text));
    EXPECT_EQ(read.toInt16(), 3);

    const FractionFormatter volume("Digital Volume", "", 10, 192, 2);
    std::ostringstream shown;
    volume.format(shown, ParameterValue(150));
    EXPECT_EQ(shown.str(), "-21.0");
}

TEST_F(NumberLocaleTest, AnExportedRowHasAPoint)
{
    DefaultDeviceConnection store;
    ProtocolAdapter adapter(&store);
    UnitParameterSet set(&adapter, false);
    std::ostringstream text;
    std::ostringstream html;
    set.exportText(text, "QZ347");
    set.exportHtml(html, "QZ347");
    for (const std::string& document : {text.str(), html.str()}) {
        const std::regex fraction("[0-9][.,][0-9]");
        std::smatch found;
        ASSERT_TRUE(std::regex_search(document, found, fraction)) << document;
        EXPECT_EQ(found.str()[1], '.') << document;
        EXPECT_FALSE(std::regex_search(document, std::regex("[0-9],[0-9]")));
    }
}

} // namespace
