// Throughput and wake-up latency of the TCP transport, from a loopback peer
// through the read thread and the byte queue to Win32Socket::read.
#include <benchmark/benchmark.h>

#include <atomic>
#include <chrono>
#include <memory>
#include <semaphore>
#include <string>
#include <thread>
#include <vector>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "device/transport/Win32Socket.h"

namespace {

using Clock = std::chrono::steady_clock;

// A connected pair: the transport under test and the peer's end of the connection.
struct Connection {
    Connection()
    {
        const int listener = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        ::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address);
        ::listen(listener, 1);
        socklen_t length = sizeof address;
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length);
        socket = std::make_unique<Win32Socket>("127.0.0.1", ntohs(address.sin_port));
        peer = ::accept(listener, nullptr, nullptr);
        ::close(listener);
    }
    ~Connection()
    {
        socket.reset();
        ::close(peer);
    }

    std::unique_ptr<Win32Socket> socket;
    int peer = -1;
};

// The peer sends as fast as it can; the reader takes the stream in reads of range(0) bytes.
void readThroughput(benchmark::State& state)
{
    Connection connection;
    const auto readSize = static_cast<unsigned>(state.range(0));
    std::atomic<bool> running{true};
    std::thread sender([&] {
        std::vector<unsigned char> block(65536, 0x55);
        while (running.load(std::memory_order_relaxed))
            if (::send(connection.peer, block.data(), block.size(), MSG_NOSIGNAL) <= 0)
                break;
    });
    connection.socket->setReadTimeout(10000);
    std::vector<unsigned char> buffer(readSize);
    for (auto _ : state) {
        if (connection.socket->read(buffer.data(), readSize) != readSize) {
            state.SkipWithError("read timed out");
            break;
        }
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * readSize);
    running = false;
    connection.socket.reset(); // the peer's blocked send fails once the connection is gone
    sender.join();
}
BENCHMARK(readThroughput)->Arg(1)->Arg(64)->Arg(4096)->Arg(16388)->UseRealTime();

// From the moment the peer sends one byte to the return of the read waiting for it.
void arrivalToReadLatency(benchmark::State& state)
{
    Connection connection;
    std::binary_semaphore go{0};
    std::atomic<Clock::rep> sentAt{0};
    std::atomic<bool> running{true};
    std::thread sender([&] {
        for (;;) {
            go.acquire();
            if (!running)
                break;
            std::this_thread::sleep_for(std::chrono::microseconds(500)); // let the read start waiting
            sentAt = Clock::now().time_since_epoch().count();
            const unsigned char byte = 0x08;
            ::send(connection.peer, &byte, 1, MSG_NOSIGNAL);
        }
    });
    connection.socket->setReadTimeout(1000);
    unsigned char byte = 0;
    for (auto _ : state) {
        go.release();
        if (connection.socket->read(&byte, 1) != 1) {
            state.SkipWithError("read timed out");
            break;
        }
        const auto returnedAt = Clock::now().time_since_epoch().count();
        state.SetIterationTime(std::chrono::duration<double>(Clock::duration(returnedAt - sentAt)).count());
    }
    running = false;
    go.release();
    sender.join();
}
BENCHMARK(arrivalToReadLatency)->UseManualTime()->Unit(benchmark::kMicrosecond);

// How long a read waits when nothing arrives: its time-out, not the next 30 ms step
// (the message connection reads with 1 ms on every poll of the user interface).
void emptyReadWaits(benchmark::State& state)
{
    Connection connection;
    connection.socket->setReadTimeout(static_cast<int>(state.range(0)));
    unsigned char byte = 0;
    for (auto _ : state)
        benchmark::DoNotOptimize(connection.socket->read(&byte, 1));
}
BENCHMARK(emptyReadWaits)->Arg(0)->Arg(1)->Arg(31)->Arg(200)->UseRealTime()->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
