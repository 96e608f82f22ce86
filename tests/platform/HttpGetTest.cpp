#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "platform/Application.h"
#include "platform/HttpGet.h"
#include "support/HttpTestServer.h"

namespace {

HttpRequest requestTo(const HttpTestServer& server, std::size_t byteLimit = 1024)
{
    HttpRequest request;
    request.host = server.address();
    request.port = server.port();
    request.path = "/list";
    request.byteLimit = byteLimit;
    return request;
}

// Serves the messages until the condition holds; false after ten seconds.
template <class Condition> bool serveUntil(Condition condition)
{
    auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!condition() && std::chrono::steady_clock::now() < end) {
        processPendingMessages();
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return condition();
}

TEST(HttpGetTest, TheReplyComesWithItsStatusHeadersAndBodyAsFarAsTheLimitLetsIt)
{
    ensureApplication();
    struct Case {
        const char* what;
        std::string reply;
        std::size_t byteLimit;
        int status;
        std::string body;
        bool complete;
    };
    const Case cases[] = {
        {"whole", "HTTP/1.1 200 OK\r\nX-Kind: list\r\nContent-Length: 4\r\n\r\nabcd", 4, 200, "abcd", true},
        {"over the limit", "HTTP/1.1 200 OK\r\nX-Kind: list\r\n\r\nabcdef", 4, 200, "abcd", false},
        {"not found", "HTTP/1.1 404 Not Found\r\nX-Kind: list\r\nContent-Length: 2\r\n\r\nno", 4, 404, "no", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        HttpTestServer server;
        server.setReply(c.reply);
        std::unique_ptr<HttpReply> answer;
        HttpGet get(requestTo(server, c.byteLimit), [&](const HttpReply& reply) {
            answer = std::make_unique<HttpReply>(reply);
        });
        EXPECT_EQ(answer, nullptr); // never from within the constructor
        ASSERT_TRUE(serveUntil([&] { return answer != nullptr; }));
        EXPECT_FALSE(get.running());
        EXPECT_TRUE(answer->answered);
        EXPECT_EQ(answer->status, c.status);
        EXPECT_EQ(answer->body, c.body);
        EXPECT_EQ(answer->complete, c.complete);
        EXPECT_EQ(answer->error.empty(), c.complete) << answer->error;
        EXPECT_NE(std::find(answer->headers.begin(), answer->headers.end(),
                            std::pair<std::string, std::string>("X-Kind", "list")),
                  answer->headers.end());
        // The HTTP library sends the request again when the server's close overtakes its
        // reply, so a server may see it twice; never anything else.
        const std::vector<std::string> requests = server.requests();
        ASSERT_GE(requests.size(), 1u);
        ASSERT_LE(requests.size(), 2u);
        for (const std::string& request : requests) {
            EXPECT_EQ(request.rfind("GET /list HTTP/1.1\r\n", 0), 0u) << request;
        }
    }
}

TEST(HttpGetTest, AGetEndedEarlyNeverAnswersAndOneMayEndItselfFromItsAnswer)
{
    ensureApplication();
    HttpTestServer server;
    server.setReply("HTTP/1.1 200 OK\r\nContent-Length: 2\r\n\r\nok");
    server.setDelay(200);
    int answers = 0;
    auto early = std::make_unique<HttpGet>(requestTo(server), [&](const HttpReply&) { ++answers; });
    early.reset();

    std::unique_ptr<HttpGet> self;
    self = std::make_unique<HttpGet>(requestTo(server), [&](const HttpReply&) {
        self.reset();
        ++answers;
    });
    ASSERT_TRUE(serveUntil([&] { return self == nullptr; }));
    ASSERT_TRUE(serveUntil([&] { return server.openConnections() == 0; }));
    processPendingMessages();
    EXPECT_EQ(answers, 1);
}

} // namespace
