#include "UnitPageTest.h"

#include "support/gui/UserInput.h"
#include "tests/support/HttpTestServer.h"
#include "ui/pages/CStreamingPage.h"

namespace {

const std::string okHeaders = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";

class StreamingPageTest : public UnitPageTest {
protected:
    void SetUp() override
    {
        UnitPageTest::SetUp();
        server.setReply(okHeaders + "files!zeta.ac3!alpha.ac3!@end");
        useServer(server.address());
    }
    void TearDown() override
    {
        CStreamingPage::fileListTimeLimitMs = 10000;
        UnitPageTest::TearDown();
    }

    void useServer(const std::string& name)
    {
        protocol.values[ParameterId(0x2502)] = ParameterValue(name);
        set->report(0x2502, ParameterValue(name));
    }
    std::vector<std::string> listed()
    {
        ComboBox& files = control<ComboBox>(1057);
        std::vector<std::string> items;
        for (int i = 0; i < files.getCount(); ++i) {
            items.push_back(files.getLBText(i));
        }
        return items;
    }

    HttpTestServer server;
};

const std::vector<std::string> notAvailable{"<server not available>"};

TEST_F(StreamingPageTest, TheFileListComesFromTheServer)
{
    open<CStreamingPage>();
    EXPECT_EQ(listed(), (std::vector<std::string>{"alpha.ac3", "zeta.ac3"})); // the list keeps them sorted
    std::vector<std::string> requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].rfind("GET /vormo/listFiles.jsp HTTP/1.1\r\nHost: ", 0), 0u) << requests[0];
    EXPECT_EQ(requests[0].substr(requests[0].size() - 9), ":8080\r\n\r\n");
    // The file name shown stays what the unit holds.
    EXPECT_EQ(control<ComboBox>(1057).getText(), protocol.values[ParameterId(0x2503)].toString());
    picture();
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(StreamingPageTest, WhatTheReplySaysOfTheList)
{
    CStreamingPage& page = open<CStreamingPage>();
    struct Case {
        const char* what;
        std::string reply;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"runs of ! count as one", okHeaders + "x!!b.ac3!!!a.ac3!!@x!c.ac3", {"a.ac3", "b.ac3"}},
        {"to the end without @", okHeaders + "x!one.ac3", {"one.ac3"}},
        {"another status", "HTTP/1.1 404 Not Found\r\n\r\nx!a.ac3!b.ac3", notAvailable},
        {"no !", okHeaders + "nothing here", notAvailable},
        {"only the status line", "HTTP/1.1 200 OK", notAvailable},
        {"nothing at all", "", notAvailable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.setReply(c.reply);
        page.refreshFileList();
        EXPECT_EQ(listed(), c.listed);
    }
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(StreamingPageTest, AServerThatIsNotThereGivesNoReport)
{
    useServer("no-such-server.invalid");
    open<CStreamingPage>();
    EXPECT_EQ(listed(), notAvailable);
    ComboBox& file = control<ComboBox>(1057);
    EXPECT_EQ(file.getText(), "file_name.ac3"); // the file in use stays shown
    EXPECT_TRUE(reporter.reports.empty());

    // The stand-in names no file: choosing it sends nothing and keeps the file shown.
    user::choose(file, 0);
    EXPECT_EQ(file.getText(), "file_name.ac3");
    user::focus(control<Edit>(1172));
    EXPECT_TRUE(sent().empty());
}

TEST_F(StreamingPageTest, LeavingTheServerEditSendsItAndFetchesItsList)
{
    useServer("no-such-server.invalid");
    open<CStreamingPage>();
    ASSERT_EQ(listed(), notAvailable);
    Edit& name = control<Edit>(1172);
    user::focus(name);
    name.setText("");
    user::type(name, server.address());
    EXPECT_TRUE(sent().empty()); // not while typing
    user::focus(control<Slider>(1129));
    EXPECT_EQ(sent(), std::vector<std::string>{"2502=\"" + server.address() + "\""});
    EXPECT_EQ(listed(), (std::vector<std::string>{"alpha.ac3", "zeta.ac3"}));

    // Choosing a file sends its name.
    user::choose(control<ComboBox>(1057), 0);
    EXPECT_EQ(sent(), std::vector<std::string>{"2503=\"alpha.ac3\""});
}

TEST_F(StreamingPageTest, ASkipMovesTenSecondsWithinTheRange)
{
    CStreamingPage& page = open<CStreamingPage>();
    Slider& position = control<Slider>(1129);
    set->report(0x2B04, 100); // a stream of 100 s: the range of both positions
    set->report(0x2505, 30);
    set->report(0x2B09, 4); // the thumb follows the reported position
    ASSERT_EQ(position.getPos(), 4);
    sent();
    user::click(control<Button>(1053));
    EXPECT_EQ(position.getPos(), 0);
    EXPECT_EQ(sent(), std::vector<std::string>{"2505=0"});
    user::click(control<Button>(1053)); // 0x2505 holds 0 already
    EXPECT_TRUE(sent().empty());

    int end = position.getRangeMax();
    ASSERT_EQ(end, 100);
    set->report(0x2B09, end - 5);
    user::click(control<Button>(1056));
    EXPECT_EQ(position.getPos(), end);
    EXPECT_EQ(sent(), std::vector<std::string>{"2505=" + std::to_string(end)});
    (void)page;
}

TEST_F(StreamingPageTest, TheTransportButtonsFollowTheState)
{
    set->report(0x2500, 0);
    set->report(0x2B03, 1); // Stopped
    open<CStreamingPage>();
    auto pushed = [&](int id) { return (control<Button>(id).getState() & Button::PushedBit) != 0; };
    EXPECT_TRUE(pushed(1055));
    EXPECT_FALSE(pushed(1001));
    EXPECT_EQ(text(1126), "Stopped");

    user::click(control<Button>(1001)); // sent although 0x2500 holds 0 already
    EXPECT_EQ(sent(), std::vector<std::string>{"2500=0"});
    set->report(0x2B03, 2); // Paused
    EXPECT_TRUE(pushed(1054));
    EXPECT_FALSE(pushed(1055));
    EXPECT_EQ(text(1126), "Paused");
    user::click(control<Button>(1054)); // already paused
    EXPECT_TRUE(sent().empty());
    user::click(control<Button>(1055));
    EXPECT_EQ(sent(), std::vector<std::string>{"2500=2"});
    set->report(0x2B03, 4);
    EXPECT_TRUE(pushed(1001));
    EXPECT_EQ(text(1126), "Playing");
}

TEST_F(StreamingPageTest, AServerThatNeverStopsDoesNotHoldTheWindow)
{
    // A reply that goes on and on is cut at the size limit; the names before the cut stay.
    server.setReply(okHeaders + "x!first.ac3!second.ac3!");
    server.setEndlessFiller('z');
    CStreamingPage& page = open<CStreamingPage>();
    EXPECT_EQ(listed(), (std::vector<std::string>{"first.ac3", "second.ac3"}));

    // A reply that comes a byte at a time, just fast enough, ends at the time limit.
    CStreamingPage::fileListTimeLimitMs = 1500;
    server.setReply(okHeaders + "x!slow.ac3!");
    server.setTrickle('y', 100);
    page.refreshFileList();
    EXPECT_EQ(listed(), std::vector<std::string>{"slow.ac3"});
    EXPECT_TRUE(reporter.reports.empty());
}

} // namespace

namespace {

// As the main window's reporter does, a report hides the page it replaces.
class HidingReporter : public RecordingReporter {
public:
    Window* page = nullptr;
    void reportError(const VormoException& error) override
    {
        RecordingReporter::reportError(error);
        page->show(false);
        page->enable(false);
    }
};

TEST_F(StreamingPageTest, NoListIsFetchedForAServerNameThatFailed)
{
    HidingReporter hiding;
    CStreamingPage page(set.get(), &hiding);
    hiding.page = &page;
    ASSERT_TRUE(page.create(nullptr));
    page.show(true);
    processMessages();
    ASSERT_EQ(server.requests().size(), 1u);
    Edit& name = page.control<Edit>(1172);
    user::focus(name);
    user::type(name, "x");
    protocol.throwOnNextCall(ProtocolException("no reply"));
    user::focus(page.control<Slider>(1129));
    EXPECT_EQ(hiding.reports, std::vector<std::string>{"reportError: no reply"});
    EXPECT_EQ(server.requests().size(), 1u);
    page.destroyWindow();
    processMessages();
}

} // namespace
