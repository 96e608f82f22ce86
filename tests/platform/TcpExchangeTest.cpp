#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/Application.h"
#include "platform/TcpExchange.h"
#include "support/HttpTestServer.h"

namespace {

const std::string request = "GET /list HTTP/1.1\r\n\r\n";

// Limits far past what a slow turn of the loop, or the fake server's thread waiting
// for a processor, takes on a loaded machine: only the server ends an exchange under
// them. A case about one limit shortens that one alone and keeps it far from the others.
TcpRequest requestTo(const std::string& host, std::size_t byteLimit = 1024)
{
    TcpRequest asked;
    asked.host = host;
    asked.port = 8080;
    asked.bytes = request;
    asked.byteLimit = byteLimit;
    asked.idleLimitMs = 10000;
    asked.connectLimitMs = 10000;
    asked.timeLimitMs = 15000;
    return asked;
}

// The callback that keeps the reply.
TcpExchange::Answer keepIn(std::unique_ptr<TcpReply>& answer)
{
    return [&answer](const TcpReply& reply) { answer = std::make_unique<TcpReply>(reply); };
}

// Serves the messages until the condition holds; false after twenty seconds.
template <class Condition> bool serveUntil(Condition condition)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition() && std::chrono::steady_clock::now() < end) {
        processPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
}

// The system's lookup comes back whatever a test put in its place.
class TcpExchangeTest : public ::testing::Test {
protected:
    void SetUp() override { ensureApplication(); }
    void TearDown() override { setNameLookup(nullptr); }
};

TEST_F(TcpExchangeTest, TheReplyIsWhatTheServerSentAsFarAsTheLimitsLetIt)
{
    using End = TcpReply::End;
    struct Case {
        const char* what;
        std::string reply;
        std::function<void(HttpTestServer&)> setUp;
        std::size_t byteLimit;
        std::string bytes;
        End end;
        std::function<void(TcpRequest&)> shorten = nullptr; // the limit the case is about
    };
    // Silence ends the reply after 1 s; the time limit cuts a trickle after 3 s, while
    // its bytes come far inside the idle limit.
    auto silenceEndsIt = [](TcpRequest& asked) { asked.idleLimitMs = 1000; };
    auto timeEndsIt = [](TcpRequest& asked) { asked.timeLimitMs = 3000; };
    const Case cases[] = {
        {"closed after the reply", "HTTP/1.1 200 OK\r\n\r\nabcd", nullptr, 64, "HTTP/1.1 200 OK\r\n\r\nabcd",
         End::Closed},
        {"just as long as the limit", "0123456789", nullptr, 10, "0123456789", End::Closed},
        {"silent after the reply", "abcd", [](HttpTestServer& s) { s.setKeepOpen(true); }, 64, "abcd",
         End::Idle, silenceEndsIt},
        // The limit counts every byte, the status line and headers too.
        {"longer than the limit", "HTTP/1.1 200 OK\r\nX-Long: header\r\n\r\n", nullptr, 10, "HTTP/1.1 2",
         End::ByteLimit},
        {"header lines without end", "HTTP/1.1 200 OK\r\n",
         [](HttpTestServer& s) { s.setEndlessFiller(std::string("X-Filler: 0123456789\r\n")); }, 100000, "",
         End::ByteLimit},
        {"a byte every 100 ms", "ab", [](HttpTestServer& s) { s.setTrickle('c', 100); }, 100000, "",
         End::TimeLimit, timeEndsIt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HttpTestServer server;
        server.setReply(c.reply);
        if (c.setUp) {
            c.setUp(server);
        }
        std::unique_ptr<TcpReply> answer;
        TcpRequest asked = requestTo(server.address(), c.byteLimit);
        if (c.shorten) {
            c.shorten(asked);
        }
        TcpExchange exchange(asked, keepIn(answer));
        EXPECT_EQ(answer, nullptr); // never from within the constructor
        ASSERT_TRUE(serveUntil([&] { return answer != nullptr; }));
        EXPECT_FALSE(exchange.running());
        EXPECT_EQ(answer->end, c.end) << answer->error;
        EXPECT_EQ(answer->error.empty(), answer->whole()) << answer->error;
        if (c.end == End::ByteLimit) {
            EXPECT_EQ(answer->bytes.size(), c.byteLimit);
        }
        if (!c.bytes.empty()) {
            EXPECT_EQ(answer->bytes, c.bytes);
        } else {
            EXPECT_EQ(answer->bytes.rfind(c.reply, 0), 0u);
        }
        // The connection is closed as the exchange ends: the server sees it at once.
        EXPECT_TRUE(serveUntil([&] { return server.openConnections() == 0; }));
        EXPECT_EQ(server.requests(), std::vector<std::string>{request});
    }
}

TEST_F(TcpExchangeTest, AnExchangeWithoutAConnectionFails)
{
    UnansweringAddress unanswering;
    const std::string names[] = {"127.0.0.254", unanswering.address(), "", "no-such-host.invalid"};
    for (const std::string& name : names) {
        SCOPED_TRACE(name);
        std::unique_ptr<TcpReply> answer;
        TcpRequest asked = requestTo(name);
        asked.connectLimitMs = 2000; // what ends the attempt at the address that does not answer
        TcpExchange exchange(asked, keepIn(answer));
        EXPECT_EQ(answer, nullptr);
        ASSERT_TRUE(serveUntil([&] { return answer != nullptr; }));
        EXPECT_EQ(answer->end, TcpReply::End::Failed);
        EXPECT_TRUE(answer->bytes.empty());
        EXPECT_FALSE(answer->error.empty());
    }
}

TEST_F(TcpExchangeTest, ANameIsLookedUpAsTheUnitsLinkDoesIt)
{
    HttpTestServer server;
    server.setReply("listed");
    std::vector<std::string> asked;
    setNameLookup([&](const std::string& host) {
        asked.push_back(host);
        return std::vector<std::string>{server.address(), "127.0.0.254"}; // the first is used
    });
    std::unique_ptr<TcpReply> answer;
    TcpExchange exchange(requestTo("streaming.example"), keepIn(answer));
    ASSERT_TRUE(serveUntil([&] { return answer != nullptr; }));
    EXPECT_EQ(answer->bytes, "listed");
    EXPECT_EQ(asked, std::vector<std::string>{"streaming.example"});

    // A numeric address is no name: it goes to the server without a lookup.
    answer.reset();
    TcpExchange numeric(requestTo(server.address()), keepIn(answer));
    ASSERT_TRUE(serveUntil([&] { return answer != nullptr; }));
    EXPECT_EQ(answer->bytes, "listed");
    EXPECT_EQ(asked.size(), 1u);
}

// A lookup that never answers holds nothing up: the exchange ends at its limit, one
// ended early never answers, and the next exchange goes out at once.
TEST_F(TcpExchangeTest, ALookupThatNeverAnswersHoldsNothingUp)
{
    struct Gate {
        std::mutex mutex;
        std::condition_variable opened;
        bool open = false;
        std::atomic<int> waiting{0};
    };
    auto gate = std::make_shared<Gate>();
    setNameLookup([gate](const std::string&) {
        ++gate->waiting;
        std::unique_lock lock(gate->mutex);
        gate->opened.wait(lock, [&] { return gate->open; });
        return std::vector<std::string>{"127.0.0.254"};
    });
    int abandonedAnswers = 0;
    auto abandoned = std::make_unique<TcpExchange>(requestTo("stuck.example"),
                                                   [&](const TcpReply&) { ++abandonedAnswers; });
    std::unique_ptr<TcpReply> limited;
    TcpRequest quick = requestTo("stuck.example");
    quick.connectLimitMs = 200;
    TcpExchange waiting(quick, keepIn(limited));
    ASSERT_TRUE(serveUntil([&] { return gate->waiting == 2; }));
    abandoned.reset();
    ASSERT_TRUE(serveUntil([&] { return limited != nullptr; }));
    EXPECT_EQ(limited->end, TcpReply::End::Failed);

    HttpTestServer server;
    server.setReply("next");
    std::unique_ptr<TcpReply> next;
    TcpExchange after(requestTo(server.address()), keepIn(next));
    ASSERT_TRUE(serveUntil([&] { return next != nullptr; }));
    EXPECT_EQ(next->bytes, "next");

    // Answered at last, the lookups reach no exchange. Each lookup's thread holds a copy
    // of the lookup, and with it the gate, until it has handed its result on or dropped
    // it: once the test holds the gate alone, whatever they sent is in the queue.
    setNameLookup(nullptr);
    {
        std::lock_guard lock(gate->mutex);
        gate->open = true;
    }
    gate->opened.notify_all();
    EXPECT_TRUE(serveUntil([&] { return gate.use_count() == 1; }));
    processPendingMessages();
    EXPECT_EQ(abandonedAnswers, 0);
}

TEST_F(TcpExchangeTest, AnExchangeEndedEarlyNeverAnswersAndOneMayEndItselfFromItsAnswer)
{
    HttpTestServer server;
    server.setReply("ok");
    server.setDelay(200);
    int answers = 0;
    auto early =
        std::make_unique<TcpExchange>(requestTo(server.address()), [&](const TcpReply&) { ++answers; });
    early.reset();

    std::unique_ptr<TcpExchange> self;
    self = std::make_unique<TcpExchange>(requestTo(server.address()), [&](const TcpReply&) {
        self.reset();
        ++answers;
    });
    ASSERT_TRUE(serveUntil([&] { return self == nullptr; }));
    ASSERT_TRUE(serveUntil([&] { return server.openConnections() == 0; }));
    processPendingMessages();
    EXPECT_EQ(answers, 1);
}

} // namespace
