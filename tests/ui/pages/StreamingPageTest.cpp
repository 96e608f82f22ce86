#include "PageFixture.h"

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <random>

#include "platform/Application.h"
#include "support/gui/UserInput.h"
#include "tests/support/FakeUnit.h"
#include "tests/support/HttpTestServer.h"
#include "tests/ui/AppTestSupport.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"
#include "ui/pages/CStreamingPage.h"

namespace {

const std::string okHeaders = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\n";
const std::vector<std::string> notAvailable{"<server not available>"};

using FileListLimits = CStreamingPage::FileListLimits;

// Limits far past what a slow turn of the loop, or a fake server's thread waiting for a
// processor, takes on a loaded machine: only the server ends an exchange under them. A
// test of one limit shortens that one alone, and keeps it far from the others, so that
// the exchange ends at the limit the test is about (and quickly enough for the suite).
constexpr FileListLimits patient{256 * 1024, 15000, 10000, 10000};

FileListLimits patientBut(int FileListLimits::*limit, int milliseconds)
{
    FileListLimits limits = patient;
    limits.*limit = milliseconds;
    return limits;
}

// Restores the page's limits when it goes, whatever way the test ends.
class FileListLimitsFor {
public:
    explicit FileListLimitsFor(const FileListLimits& limits) { CStreamingPage::setFileListLimits(limits); }
    ~FileListLimitsFor() { CStreamingPage::setFileListLimits(FileListLimits()); }
    FileListLimitsFor(const FileListLimitsFor&) = delete;
    FileListLimitsFor& operator=(const FileListLimitsFor&) = delete;
};

std::string withLength(const std::string& body)
{
    return "HTTP/1.1 200 OK\r\nContent-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
}

// The body sent in chunks of the given sizes (the rest in one last chunk).
std::string chunked(const std::string& body, std::initializer_list<std::size_t> sizes)
{
    std::string reply = "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n";
    std::size_t start = 0;
    auto addChunk = [&](std::size_t size) {
        char length[16];
        std::snprintf(length, sizeof length, "%zx\r\n", size);
        reply += length + body.substr(start, size) + "\r\n";
        start += size;
    };
    for (std::size_t size : sizes) {
        addChunk(size);
    }
    addChunk(body.size() - start);
    return reply + "0\r\n\r\n";
}

// Names in a shuffled order, and the order the list shows them in.
struct ManyNames {
    std::string body;
    std::vector<std::string> sorted;
};

ManyNames manyNames(int count)
{
    ManyNames names;
    for (int i = 0; i < count; ++i) {
        char name[16];
        std::snprintf(name, sizeof name, "n%05d", i);
        names.sorted.push_back(name);
    }
    std::vector<std::string> shuffled = names.sorted;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(347));
    names.body = "files";
    for (const std::string& name : shuffled) {
        names.body += "!" + name;
    }
    names.body += "!@end";
    return names;
}

class StreamingPageTest : public PageTest {
protected:
    void SetUp() override
    {
        PageTest::SetUp();
        server.setReply(okHeaders + "files!zeta.ac3!alpha.ac3!@end");
        useServer(server.address());
    }

    void useServer(const std::string& name)
    {
        protocol.values[ParameterId(0x2502)] = ParameterValue(name);
        set->report(0x2502, ParameterValue(name));
    }
    CStreamingPage& openAndFetch()
    {
        CStreamingPage& page = open<CStreamingPage>();
        waitForList(page);
        return page;
    }
    void fetch(CStreamingPage& page)
    {
        page.refreshFileList();
        waitForList(page);
    }
    static void waitForList(CStreamingPage& page)
    {
        EXPECT_TRUE(apptest::waitUntil([&] { return !page.isFetchingFileList(); }, 20000));
    }
    std::vector<std::string> listed()
    {
        ComboBox& files = control<ComboBox>(CStreamingPage::fileId);
        std::vector<std::string> items;
        for (int i = 0; i < files.getCount(); ++i) {
            items.push_back(files.getLBText(i));
        }
        return items;
    }

    FileListLimitsFor limits{patient};
    HttpTestServer server;
};

TEST_F(StreamingPageTest, TheFileListComesFromTheServer)
{
    openAndFetch();
    EXPECT_EQ(listed(), (std::vector<std::string>{"alpha.ac3", "zeta.ac3"})); // the list keeps them sorted
    // One request, the same every time, in one piece.
    EXPECT_EQ(server.requests(), std::vector<std::string>{"GET /vormo/listFiles.jsp HTTP/1.1\r\n"
                                                          "Host: localhost:8080\r\n"
                                                          "Connection: close\r\n\r\n"});
    // The file name shown stays what the unit holds.
    EXPECT_EQ(control<ComboBox>(CStreamingPage::fileId).getText(), protocol.values[ParameterId(0x2503)].toString());
    picture();
    EXPECT_TRUE(sent().empty());
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(StreamingPageTest, WhatTheReplySaysOfTheList)
{
    CStreamingPage& page = openAndFetch();
    struct Case {
        const char* what;
        std::string reply;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"runs of ! count as one", okHeaders + "x!!b.ac3!!!a.ac3!!@x!c.ac3", {"a.ac3", "b.ac3"}},
        {"the headers are the first piece", okHeaders + "!first.ac3!second.ac3", {"first.ac3", "second.ac3"}},
        {"to the end without @", okHeaders + "x!one.ac3", {"one.ac3"}},
        {"another status", "HTTP/1.1 404 Not Found\r\n\r\nx!a.ac3!b.ac3", notAvailable},
        {"another version", "HTTP/1.0 200 OK\r\n\r\nx!a.ac3!b.ac3", notAvailable},
        {"a redirection is not followed", "HTTP/1.1 302 Found\r\nLocation: http://127.0.0.1/\r\n\r\nx!a.ac3",
         notAvailable},
        {"no !", okHeaders + "nothing here", notAvailable},
        {"only the status line", "HTTP/1.1 200 OK", notAvailable},
        {"nothing at all", "", notAvailable},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        server.setReply(c.reply);
        fetch(page);
        EXPECT_EQ(listed(), c.listed);
    }
    EXPECT_TRUE(reporter.reports.empty());
}

// Whatever the server does, the list ends right (or with the stand-in), the window is
// never held, and no item chosen is a file name the unit would refuse.
TEST_F(StreamingPageTest, EveryKindOfServerEndsWithTheRightList)
{
    // A server that falls silent is waited for 2 s, a trickling one is cut at 4 s (its
    // bytes come every second, far inside the idle limit), and an address that does
    // not answer is given up after half a second.
    const FileListLimits untilSilent = patientBut(&FileListLimits::idleMs, 2000);
    const FileListLimits untilTime = patientBut(&FileListLimits::timeMs, 4000);
    const FileListLimits untilNoConnection = patientBut(&FileListLimits::connectMs, 500);
    const ManyNames many = manyNames(30000);
    const std::string overLongName(300, 'o');
    const std::string longName(128, 'n');
    const std::string longestName(127, 'm');
    const std::string withNul("c\x7f\0z", 4);
    enum class Peer { Server, Unanswering, Named };
    struct Case {
        const char* what;
        std::string reply;
        std::function<void(HttpTestServer&)> setUp;
        std::vector<std::string> listed;
        FileListLimits limits = patient;
        Peer peer = Peer::Server;
        std::string name{}; // of a server named as it is
    };
    // The bodies end without "!" or "@": a reply cut short would lose its last name.
    const Case cases[] = {
        {"kept alive after a reply of known length", withLength("files!beta.ac3!alpha.ac3"),
         [](HttpTestServer& s) { s.setKeepOpen(true); }, {"alpha.ac3", "beta.ac3"}, untilSilent},
        {"chunked, names across the chunks", chunked("files!beta.ac3!alpha.ac3", {7, 9}),
         [](HttpTestServer& s) { s.setKeepOpen(true); }, {"alpha.ac3", "beta.ac3"}, untilSilent},
        {"ended by closing the connection", okHeaders + "files!beta.ac3!alpha.ac3", nullptr,
         {"alpha.ac3", "beta.ac3"}},
        {"a status other than 200", "HTTP/1.1 500 Internal Server Error\r\n\r\nx!a.ac3!b.ac3", nullptr,
         notAvailable},
        {"binary bytes in names", okHeaders + "x!b\xff\x80\xe9!a\x01\x02!" + withNul + "!@", nullptr,
         {"a\x01\x02", "b\xff\x80\xe9", withNul}},
        {"names longer than the program sends",
         okHeaders + "x!" + overLongName + "!" + longName + "!ok.ac3!" + longestName, nullptr,
         {longestName, "ok.ac3"}},
        {"chunked with a chunk extension, a name split over three chunks",
         "HTTP/1.1 200 OK\r\nTRANSFER-ENCODING: Chunked\r\n\r\n"
         "4;x=1\r\nx!ab\r\n2\r\nc.\r\n7\r\nac3!d.a\r\n2\r\nc3\r\n0\r\n\r\n",
         nullptr, {"abc.ac3", "d.ac3"}},
        {"chunked, cut before its last chunk",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n9\r\nx!a.ac3!b\r\n", nullptr, {"a.ac3"}},
        {"chunked with a size that is no number",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n9\r\nx!c.ac3!d\r\nzz\r\n.ac3\r\n", nullptr,
         {"c.ac3"}},
        {"chunked with a size past any reply",
         "HTTP/1.1 200 OK\r\nTransfer-Encoding: chunked\r\n\r\n9\r\nx!e.ac3!f\r\nfffffffffffffffe\r\n.ac3",
         nullptr, {"e.ac3"}},
        {"tens of thousands of names", okHeaders + many.body, nullptr, many.sorted},
        {"a byte a second after two names", okHeaders + "x!first.ac3!second.ac3!",
         [](HttpTestServer& s) { s.setTrickle('y', 1000); }, {"first.ac3", "second.ac3"}, untilTime},
        {"sending without end", okHeaders + "x!first.ac3!second.ac3!",
         [](HttpTestServer& s) { s.setEndlessFiller('z'); }, {"first.ac3", "second.ac3"}},
        {"taking the request and never answering", "", [](HttpTestServer& s) { s.setKeepOpen(true); },
         notAvailable, untilSilent},
        {"an address that does not answer", "", nullptr, notAvailable, untilNoConnection, Peer::Unanswering},
        {"an address where nobody listens", "", nullptr, notAvailable, patient, Peer::Named, "127.0.0.254"},
        {"no server name", "", nullptr, notAvailable, patient, Peer::Named, ""},
        {"a server name that is no host name", "", nullptr, notAvailable, patient, Peer::Named,
         "a b\r\nHost: x"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CStreamingPage::setFileListLimits(c.limits);
        HttpTestServer peer;
        peer.setReply(c.reply);
        if (c.setUp) {
            c.setUp(peer);
        }
        std::optional<UnansweringAddress> unanswering;
        if (c.peer == Peer::Unanswering) {
            unanswering.emplace();
        }
        useServer(c.peer == Peer::Server ? peer.address() : unanswering ? unanswering->address() : c.name);
        openAndFetch();
        std::vector<std::string> shown = listed();
        EXPECT_EQ(shown, c.listed);
        if (shown != c.listed) {
            closePage();
            continue;
        }

        // Choosing an item sends its name as it is; the stand-in sends nothing.
        ComboBox& file = control<ComboBox>(CStreamingPage::fileId);
        std::vector<std::string> expected;
        for (int index : {0, file.getCount() - 1}) {
            user::choose(file, index);
            std::string name = "2503=\"" + c.listed[std::size_t(index)] + "\"";
            if (c.listed != notAvailable && (expected.empty() || expected.back() != name)) {
                expected.push_back(name);
            }
        }
        EXPECT_EQ(sent(), expected);
        EXPECT_TRUE(reporter.reports.empty());
        closePage();
    }
}

// Servers that never stop sending: the exchange ends at its limit (the byte limit
// counts the status line and headers too), the server sees the connection closed,
// and the next server asked gives its list.
TEST_F(StreamingPageTest, AServerThatNeverStopsSendingIsCutOffAndTheNextServerIsAsked)
{
    // Each case meets one limit; the others are far away (the idle limit far past the
    // trickle's interval, the time limit far past what the bytes at full speed take).
    FileListLimits byteLimited = patient;
    byteLimited.replyBytes = 64 * 1024;
    FileListLimits timeLimited = patientBut(&FileListLimits::timeMs, 1500);
    timeLimited.replyBytes = 64 * 1024 * 1024;
    // What the client may have let the server send past the limit: what the two
    // sockets' buffers hold.
    constexpr long long buffered = 40LL * 1024 * 1024;
    struct Case {
        const char* what;
        std::string reply;
        std::string endless;
        int intervalMs; // 0: at full speed
        FileListLimits limits;
        std::vector<std::string> listed;
    };
    const Case cases[] = {
        {"header lines at full speed", "HTTP/1.1 200 OK\r\n", "X-Filler: 0123456789abcdef\r\n", 0, byteLimited,
         notAvailable},
        {"one header line that never ends", "HTTP/1.1 200 OK\r\nX-Filler: ", "a", 0, byteLimited, notAvailable},
        {"100 Continue for ever", "", "HTTP/1.1 100 Continue\r\n\r\n", 0, byteLimited, notAvailable},
        {"a body at full speed", okHeaders + "x!first.ac3!second.ac3!", "z", 0, byteLimited,
         {"first.ac3", "second.ac3"}},
        {"header lines trickling in", "HTTP/1.1 200 OK\r\n", "X-Filler: slow\r\n", 5, timeLimited,
         notAvailable},
    };
    CStreamingPage& page = openAndFetch();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CStreamingPage::setFileListLimits(c.limits);
        HttpTestServer endless;
        endless.setReply(c.reply);
        endless.setTrickle(c.endless, c.intervalMs);
        useServer(endless.address());
        fetch(page);
        EXPECT_EQ(listed(), c.listed);
        EXPECT_TRUE(apptest::waitUntil([&] { return endless.openConnections() == 0; }, 5000));
        EXPECT_LT(endless.bytesSent(), (long long)c.limits.replyBytes + buffered);

        CStreamingPage::setFileListLimits(patient);
        useServer(server.address());
        fetch(page);
        EXPECT_EQ(listed(), (std::vector<std::string>{"alpha.ac3", "zeta.ac3"}));
    }
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(StreamingPageTest, TheFileBoxTakesNoMoreThanTheUnitDoes)
{
    openAndFetch();
    ComboBox& file = control<ComboBox>(CStreamingPage::fileId);
    // Every character past the longest name sent is refused as it is typed: a name of
    // 128 bytes or more never leaves.
    for (std::size_t typed : {128u, 300u}) {
        SCOPED_TRACE(typed);
        user::focus(file);
        file.setText("");
        user::type(file, std::string(typed, 'x'));
        EXPECT_EQ(file.getText(), std::string(127, 'x'));
        user::focus(control<Slider>(CStreamingPage::positionId));
        std::vector<std::string> expected;
        if (typed == 128) {
            expected.push_back("2503=\"" + std::string(127, 'x') + "\"");
        }
        EXPECT_EQ(sent(), expected);
    }
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(StreamingPageTest, AnAnswerCountsOnlyForTheServerStillNamedOnAPageStillThere)
{
    // The older server answers long after it was asked: the new name comes first.
    server.setReply(okHeaders + "x!old.ac3");
    server.setDelay(2000);
    HttpTestServer newer;
    newer.setReply(okHeaders + "x!new.ac3");
    CStreamingPage& page = open<CStreamingPage>();
    ASSERT_TRUE(page.isFetchingFileList());
    EXPECT_TRUE(listed().empty()); // the drop-down keeps what it shows until the answer
    ASSERT_TRUE(apptest::waitUntil([&] { return !server.requests().empty(); }));

    // A new server name asks the new server; the older server's answer is dropped.
    Edit& name = control<Edit>(CStreamingPage::serverId);
    user::focus(name);
    name.setText(newer.address());
    user::focus(control<Slider>(CStreamingPage::positionId));
    waitForList(page);
    ASSERT_EQ(listed(), std::vector<std::string>{"new.ac3"});
    // Once the older server has sent its answer and closed, whatever came of it is in.
    EXPECT_TRUE(apptest::waitUntil([&] { return server.openConnections() == 0; }));
    processMessages();
    EXPECT_EQ(listed(), std::vector<std::string>{"new.ac3"});

    // The unit names another server while the list is on its way: the list stays.
    newer.setReply(okHeaders + "x!newer.ac3");
    newer.setDelay(300);
    std::size_t asked = newer.requests().size();
    page.refreshFileList();
    set->report(0x2502, ParameterValue(std::string("127.0.0.254")));
    waitForList(page);
    EXPECT_GT(newer.requests().size(), asked);
    EXPECT_EQ(listed(), std::vector<std::string>{"new.ac3"});

    // A page torn down while its list is on its way takes no answer.
    page.refreshFileList();
    closePage();
    apptest::serveFor(500);
    EXPECT_TRUE(reporter.reports.empty());
}

TEST_F(StreamingPageTest, AServerThatIsNotThereGivesNoReport)
{
    useServer("no-such-server.invalid");
    openAndFetch();
    EXPECT_EQ(listed(), notAvailable);
    ComboBox& file = control<ComboBox>(CStreamingPage::fileId);
    EXPECT_EQ(file.getText(), "file_name.ac3"); // the file in use stays shown
    EXPECT_TRUE(reporter.reports.empty());

    // The stand-in names no file: choosing it sends nothing and keeps the file shown.
    user::choose(file, 0);
    EXPECT_EQ(file.getText(), "file_name.ac3");
    user::focus(control<Edit>(CStreamingPage::serverId));
    EXPECT_TRUE(sent().empty());
}

TEST_F(StreamingPageTest, LeavingTheServerEditSendsItAndFetchesItsList)
{
    useServer("no-such-server.invalid");
    CStreamingPage& page = openAndFetch();
    ASSERT_EQ(listed(), notAvailable);
    Edit& name = control<Edit>(CStreamingPage::serverId);
    user::focus(name);
    name.setText("");
    user::type(name, server.address());
    EXPECT_TRUE(sent().empty()); // not while typing
    user::focus(control<Slider>(CStreamingPage::positionId));
    EXPECT_EQ(sent(), std::vector<std::string>{"2502=\"" + server.address() + "\""});
    waitForList(page);
    EXPECT_EQ(listed(), (std::vector<std::string>{"alpha.ac3", "zeta.ac3"}));

    // Choosing a file sends its name.
    user::choose(control<ComboBox>(CStreamingPage::fileId), 0);
    EXPECT_EQ(sent(), std::vector<std::string>{"2503=\"alpha.ac3\""});
}

TEST_F(StreamingPageTest, ASkipMovesTenSecondsWithinTheRange)
{
    open<CStreamingPage>();
    Slider& position = control<Slider>(CStreamingPage::positionId);
    set->report(0x2B04, 100); // a stream of 100 s: the range of both positions
    set->report(0x2505, 30);
    set->report(0x2B09, 4); // the thumb follows the reported position
    ASSERT_EQ(position.getPos(), 4);
    sent();
    user::click(control<Button>(CStreamingPage::skipBackId));
    EXPECT_EQ(position.getPos(), 0);
    EXPECT_EQ(sent(), std::vector<std::string>{"2505=0"});
    user::click(control<Button>(CStreamingPage::skipBackId)); // 0x2505 holds 0 already
    EXPECT_TRUE(sent().empty());

    int end = position.getRangeMax();
    ASSERT_EQ(end, 100);
    set->report(0x2B09, end - 5);
    user::click(control<Button>(CStreamingPage::skipForwardId));
    EXPECT_EQ(position.getPos(), end);
    EXPECT_EQ(sent(), std::vector<std::string>{"2505=" + std::to_string(end)});
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
    waitForList(page);
    std::size_t asked = server.requests().size();
    ASSERT_GT(asked, 0u);
    Edit& name = page.control<Edit>(CStreamingPage::serverId);
    user::focus(name);
    user::type(name, "x");
    protocol.throwOnNextCall(ProtocolException("no reply"));
    user::focus(page.control<Slider>(CStreamingPage::positionId));
    EXPECT_EQ(hiding.reports, std::vector<std::string>{"reportError: no reply"});
    EXPECT_FALSE(page.isFetchingFileList());
    EXPECT_EQ(server.requests().size(), asked);
    page.destroyWindow();
    processMessages();
}

// The main window over TCP to a fake unit that names a streaming server which takes
// the request and never answers: the poll timer goes on meanwhile, and takes in what
// the unit reports.
TEST(StreamingPageInWindowTest, TheWindowKeepsPollingWhileASlowServerIsAsked)
{
    // The exchange outlasts the test, however slowly the window comes up and the polls
    // bring the report in: its silence never ends it first.
    FileListLimitsFor limits({256 * 1024, 60000, 60000, 60000});
    apptest::TemporaryProfile profile;
    apptest::ModalUser modal;
    HttpTestServer slow;
    slow.setKeepOpen(true);
    auto unitAtItsPort = FakeUnit::onFreeLoopbackAddress(CRemoteDlg::unitPort);
    FakeUnit& unit = *unitAtItsPort;
    unit.withEngine([&](FakeUnitEngine& engine) {
        engine.store = unitCatalogueDefaults();
        engine.store[ParameterId(0x090A)] = ParameterValue(2); // controlled over Ethernet
        engine.store[ParameterId(0x1100)] = ParameterValue(2); // Vormo Digital input
        engine.store[ParameterId(0x2502)] = ParameterValue(slow.address());
    });
    {
        CRemoteDlg window(CRemoteDlg::ethernet, unit.address(), 1);
        ASSERT_TRUE(window.create(nullptr));
        window.show(true);
        ASSERT_EQ(window.connectionType(), CRemoteDlg::ethernet);
        auto* page = dynamic_cast<CStreamingPage*>(window.page(CRemoteDlg::Streaming));
        ASSERT_NE(page, nullptr);
        ASSERT_TRUE(apptest::waitUntil([&] { return !slow.requests().empty(); }));
        ASSERT_TRUE(apptest::waitUntil([&] { return window.control<Static>(1161).getText() == "Vormo Digital"; }));

        // A report of the unit reaches the window only through the timer's polls.
        uint32_t ticks = CRemoteDlg::tickCount();
        unit.sendStatus({{ParameterId(0x1100), ParameterValue(1)}});
        EXPECT_TRUE(apptest::waitUntil([&] { return window.control<Static>(1161).getText() == "PCM"; }));
        EXPECT_GT(CRemoteDlg::tickCount(), ticks);
        EXPECT_TRUE(page->isFetchingFileList());
        EXPECT_EQ(slow.openConnections(), 1);
        EXPECT_TRUE(modal.shown.empty());
        window.destroyWindow();
    }
    processPendingMessages();
    DialogStack::destroy();
}

} // namespace
