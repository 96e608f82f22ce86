#include <gtest/gtest.h>

#include <memory>
#include <sstream>

#include "Recorders.h"
#include "model/Exceptions.h"
#include "model/ParameterFormatter.h"
#include "model/ParameterSet.h"
#include "model/Transaction.h"
#include "support/RecordingProtocol.h"

namespace {

// A formatter whose value text cannot be produced.
class BrokenFormatter : public ParameterFormatter {
public:
    BrokenFormatter() : ParameterFormatter("Broken") {}
    bool format(std::ostream&, const ParameterValue&) const override { return false; }
};

// Control parameters 0x0101 (text), 0x0103 (enumerated, with an unconfirmed change),
// 0x0105 (broken formatter), 0x030E (no formatter); status parameter 0x0F01.
class ExportSet : public ParameterSet {
public:
    explicit ExportSet(GenericProtocol* unit) : ParameterSet(unit, std::make_unique<RecordingProtocol>())
    {
        auto* name = new StringFormatter("Unit Name");
        formatters_.emplace_back(name);
        auto* mode = new EnumeratedFormatter("Mode");
        mode->add(v(0), "Off");
        mode->add(v(1), "On");
        formatters_.emplace_back(mode);
        auto* broken = new BrokenFormatter;
        formatters_.emplace_back(broken);
        auto* lock = new EnumeratedFormatter("Lock");
        lock->add(v(0), "Unlocked");
        formatters_.emplace_back(lock);

        add(0x0101, MinimumValue(), MaximumValue(), name);
        add(0x0103, v(0), v(1), mode);
        add(0x0105, v(0), v(1), broken);
        add(0x030E, v(0), v(10), nullptr);
        statusParameters_.emplace(ParameterId(0x0F01),
                                 Parameter(protocol_, ParameterId(0x0F01), v(0), v(1), lock));
        controlParameters_.update({{ParameterId(0x0101), ParameterValue(std::string("A&B <1>"))},
                                  {ParameterId(0x0103), v(1)},
                                  {ParameterId(0x030E), v(5)}});
        // A pending change the unit has not confirmed is not exported.
        ParameterTransaction transaction;
        controlParameters_.find(ParameterId(0x0103)).setPending(v(0), &transaction);
        transaction.commit();
    }

private:
    void add(int id, const ParameterValue& minimum, const ParameterValue& maximum,
             ParameterFormatter* formatter)
    {
        controlParameters_.emplace(ParameterId(id),
                                  ControlParameter(protocol_, ParameterId(id), minimum, maximum, formatter));
    }
};

const std::string title = "QZ347 Parameters";

const std::string goldenText = "QZ347 Parameters\r\n"
                               "\r\n"
                               "CONTROL PARAMETERS\r\n"
                               "Unit Name: A&B <1>\r\n"
                               "Mode: On\r\n"
                               "782 (3, 14): 5\r\n"
                               "STATUS PARAMETERS\r\n"
                               "Lock: Unlocked\r\n";

const std::string goldenHtml = "<HTML><HEAD><TITLE>QZ347 Parameters</TITLE> </HEAD> <BODY>\r\n"
                               "<H1>QZ347 Parameters</H1>\n"
                               "<BR><CAPTION><FONT SIZE=+1>CONTROL PARAMETERS </FONT></CAPTION>\r\n"
                               "<TABLE BORDER COLS=2>\r\n"
                               "<TR><TD>Unit Name</TD><TD>A&amp;B &lt;1&gt;</TD></TR>\r\n"
                               "<TR><TD>Mode</TD><TD>On</TD></TR>\r\n"
                               "<TR><TD>782 (3, 14)</TD><TD>5</TD></TR>\r\n"
                               "</TABLE>\r\n"
                               "<BR><CAPTION><FONT SIZE=+1>STATUS PARAMETERS </FONT></CAPTION>\r\n"
                               "<TABLE BORDER COLS=2>\r\n"
                               "<TR><TD>Lock</TD><TD>Unlocked</TD></TR>\r\n"
                               "</TABLE>\r\n"
                               "</BODY></HTML>\r\n";

class ExportTest : public ::testing::Test {
protected:
    RecordingProtocol unit_;
    ExportSet set_{&unit_};
};

} // namespace

TEST_F(ExportTest, WholeSetDocuments)
{
    std::ostringstream text;
    set_.exportText(text, title);
    EXPECT_EQ(text.str(), goldenText);
    std::ostringstream html;
    set_.exportHtml(html, title);
    EXPECT_EQ(html.str(), goldenHtml);
}

TEST_F(ExportTest, EmptySetStillWritesBothHeadings)
{
    ParameterSet empty(&unit_, std::make_unique<RecordingProtocol>());
    std::ostringstream text;
    empty.exportText(text, "T");
    EXPECT_EQ(text.str(), "T\r\n\r\nCONTROL PARAMETERS\r\nSTATUS PARAMETERS\r\n");
    std::ostringstream html;
    empty.exportHtml(html, "T");
    EXPECT_EQ(html.str(), "<HTML><HEAD><TITLE>T</TITLE> </HEAD> <BODY>\r\n<H1>T</H1>\n"
                          "<BR><CAPTION><FONT SIZE=+1>CONTROL PARAMETERS </FONT></CAPTION>\r\n"
                          "<TABLE BORDER COLS=2>\r\n</TABLE>\r\n"
                          "<BR><CAPTION><FONT SIZE=+1>STATUS PARAMETERS </FONT></CAPTION>\r\n"
                          "<TABLE BORDER COLS=2>\r\n</TABLE>\r\n</BODY></HTML>\r\n");
}

TEST_F(ExportTest, Sections)
{
    struct Case {
        const char* what;
        std::function<void(std::ostream&)> write;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"control text",
         [&](std::ostream& out) { set_.writeControlTextSection(out, 0x01, "System Information"); },
         "\r\nSystem Information\r\n\tUnit Name: A&B <1>\r\n\tMode: On\r\n"},
        {"empty control text", [&](std::ostream& out) { set_.writeControlTextSection(out, 0x07, "Speakers"); },
         "\r\nSpeakers\r\n"},
        {"status text", [&](std::ostream& out) { set_.writeStatusTextSection(out, 0x0F, "Input"); },
         "\r\nInput\r\n\tLock: Unlocked\r\n"},
        {"control html", [&](std::ostream& out) { set_.writeControlHtmlSection(out, 0x03, "System"); },
         "<BR><CAPTION><FONT SIZE=+1>System </FONT></CAPTION>\r\n<TABLE BORDER COLS=2>\r\n"
         "<TR><TD>782 (3, 14)</TD><TD>5</TD></TR>\r\n</TABLE>\r\n"},
        {"empty status html", [&](std::ostream& out) { set_.writeStatusHtmlSection(out, 0x01, "None"); },
         "<BR><CAPTION><FONT SIZE=+1>None </FONT></CAPTION>\r\n<TABLE BORDER COLS=2>\r\n</TABLE>\r\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::ostringstream out;
        c.write(out);
        EXPECT_EQ(out.str(), c.expected);
    }
}

TEST_F(ExportTest, HtmlCellsStayWellFormedWhateverTheText)
{
    auto& name = const_cast<ControlParameter&>(set_.controls().find(ParameterId(0x0101)));
    name.updateFrom({{name.id(), ParameterValue(std::string("</TD></TR><script>&amp;"))}});
    std::ostringstream row;
    name.formatHtml(row);
    EXPECT_EQ(row.str(),
              "<TR><TD>Unit Name</TD><TD>&lt;/TD&gt;&lt;/TR&gt;&lt;script&gt;&amp;amp;</TD></TR>\r\n");
}

TEST_F(ExportTest, AFailedStreamIsReported)
{
    // Already failed: the whole-set documents throw before their first row; sections run quietly.
    std::ostringstream failed;
    failed.setstate(std::ios::badbit);
    EXPECT_THROW(set_.exportText(failed, title), VormoException);
    EXPECT_NO_THROW(set_.writeControlTextSection(failed, 0x01, "System Information"));
    EXPECT_NO_THROW(set_.writeControlHtmlSection(failed, 0x01, "System Information"));

    // Failing inside the last row or the footer is reported too.
    struct Case {
        const char* what;
        std::function<void(std::ostream&)> write;
        std::size_t limit;
        const char* error;
    };
    const std::vector<Case> cases = {
        {"text, last row", [&](std::ostream& out) { set_.exportText(out, title); }, goldenText.size() - 3,
         "Error formatting a parameter as text."},
        {"html, footer", [&](std::ostream& out) { set_.exportHtml(out, title); }, goldenHtml.size() - 3,
         "Error formatting a parameter as html."},
        {"html, early", [&](std::ostream& out) { set_.exportHtml(out, title); }, 10,
         "Error formatting a parameter as html."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        LimitedBuffer buffer(c.limit);
        std::ostream out(&buffer);
        try {
            c.write(out);
            ADD_FAILURE() << "no exception";
        } catch (const VormoException& e) {
            EXPECT_STREQ(e.what(), c.error);
        }
    }
}
