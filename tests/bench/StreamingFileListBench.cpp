// The Streaming page's file list. FillFileList: 100,000 file names into the page's
// drop-down in one step (sorted once, inserted at once). PollPause: the main window
// connected over TCP to the fake unit on loopback (1 ms poll timer) while the page
// asks a loopback HTTP server for its list; reported is the longest pause between two
// poll ticks, with a reply of as many names as the reply limit allows, and without a
// server for comparison.

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "platform/Application.h"
#include "platform/Controls.h"
#include "platform/Dialog.h"
#include "support/gui/TestScreen.h"
#include "support/gui/UserInput.h"
#include "support/FakeUnit.h"
#include "support/HttpTestServer.h"
#include "ui/CRemoteDlg.h"
#include "ui/DialogStack.h"
#include "ui/pages/CStreamingPage.h"

namespace {

using Clock = std::chrono::steady_clock;

std::vector<std::string> shuffledNames(int count)
{
    std::vector<std::string> names;
    for (int i = 0; i < count; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "Track %06d.ac3", i);
        names.push_back(name);
    }
    std::shuffle(names.begin(), names.end(), std::mt19937(347));
    return names;
}

void FillFileList(benchmark::State& state)
{
    const std::vector<std::string> names = shuffledNames(int(state.range(0)));
    Dialog page(CStreamingPage::templateId);
    page.create(nullptr);
    page.show(true);
    ComboBox& files = page.control<ComboBox>(CStreamingPage::fileId);
    for (auto _ : state) {
        files.replaceList(names);
        processPendingMessages();
    }
    if (files.getCount() != int(names.size())) {
        state.SkipWithError("the list does not hold every name");
    }
    page.destroyWindow();
}

// The main window run modally, as the application runs it, noting the time between
// poll ticks until a timer of its own ends it.
class TimedWindow : public CRemoteDlg {
public:
    using CRemoteDlg::CRemoteDlg;

    static constexpr unsigned endTimerId = 99;
    bool measuring_ = false;
    Clock::time_point lastTick_;
    Clock::duration longestPause_{};

protected:
    void timerElapsed(unsigned timerId) override
    {
        if (timerId == endTimerId) {
            endDialog(IDCANCEL);
            return;
        }
        if (timerId == pollTimerId && measuring_) {
            Clock::time_point now = Clock::now();
            longestPause_ = std::max(longestPause_, now - lastTick_);
            lastTick_ = now;
        }
        CRemoteDlg::timerElapsed(timerId);
    }
};

// A reply with as many one-letter names as the reply limit lets through; the limit
// counts the status line and headers too.
std::string largestReply()
{
    std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/plain\r\n\r\nfiles";
    const std::size_t room = CStreamingPage::fileListLimits().replyBytes - 2;
    for (std::size_t i = 0; reply.size() < room; ++i) {
        reply += '!';
        reply += char('a' + i % 26);
    }
    return reply;
}

void pollPause(benchmark::State& state, const std::string& server, int expectedItems)
{
    FakeUnit unit("127.0.0.71", CRemoteDlg::unitPort);
    unit.withEngine([&](FakeUnitEngine& engine) {
        engine.store = unitCatalogueDefaults();
        engine.store[ParameterId(0x090A)] = ParameterValue(2); // controlled over Ethernet
        engine.store[ParameterId(0x2502)] = ParameterValue(server);
    });
    double longestMs = 0;
    for (auto _ : state) {
        TimedWindow window(CRemoteDlg::ethernet, unit.address(), 1);
        CStreamingPage* page = nullptr;
        user::onModal([&](Window& shown) {
            if (&shown != &window) {
                return;
            }
            window.setTimer(TimedWindow::endTimerId, 2000);
            page = dynamic_cast<CStreamingPage*>(window.page(CRemoteDlg::Streaming));
            if (page == nullptr) {
                return;
            }
            page->refreshFileList();
            window.measuring_ = true;
            window.lastTick_ = Clock::now();
        });
        window.runModal();
        user::onModal(nullptr);
        if (page == nullptr || page->control<ComboBox>(CStreamingPage::fileId).getCount() != expectedItems) {
            state.SkipWithError("the list did not come");
        }
        longestMs = std::max(longestMs, std::chrono::duration<double, std::milli>(window.longestPause_).count());
        DialogStack::destroy();
    }
    state.counters["longest_pause_ms"] = longestMs;
}

void PollPauseWhileFetching(benchmark::State& state)
{
    HttpTestServer server;
    std::string reply = largestReply();
    server.setReply(reply);
    int names = int(std::count(reply.begin(), reply.end(), '!'));
    pollPause(state, server.address(), names);
}

void PollPauseWithoutServer(benchmark::State& state)
{
    pollPause(state, "127.0.0.254", 1); // nobody listens: the stand-in only
}

} // namespace

BENCHMARK(FillFileList)->Arg(100000)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PollPauseWhileFetching)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();
BENCHMARK(PollPauseWithoutServer)->Iterations(3)->Unit(benchmark::kMillisecond)->UseRealTime();

int main(int argc, char** argv)
{
    useTestScreen();
    WindowSystem windowSystem;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
