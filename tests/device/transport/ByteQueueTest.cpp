#include "device/transport/ByteQueue.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "model/Exceptions.h"

using namespace std::chrono_literals;

TEST(ByteQueueTest, DeliversInOrderAndAllOrNothing)
{
    ByteQueue queue(8, 100);
    const unsigned char bytes[] = {1, 2, 3};
    ASSERT_TRUE(queue.push(bytes, 3));
    EXPECT_EQ(queue.count(), 3u);

    unsigned char out[4] = {};
    EXPECT_FALSE(queue.popExactly(out, 4, 0ms));  // too few: nothing taken
    EXPECT_FALSE(queue.popExactly(out, 4, 20ms)); // nor after waiting
    EXPECT_EQ(queue.count(), 3u);

    unsigned char byte = 0;
    ASSERT_TRUE(queue.pop(byte));
    EXPECT_EQ(byte, 1);
    ASSERT_TRUE(queue.popExactly(out, 2, 0ms));
    EXPECT_EQ(out[0], 2);
    EXPECT_EQ(out[1], 3);
    EXPECT_FALSE(queue.pop(byte));
}

TEST(ByteQueueTest, AWaitingReadIsWokenByTheBytesItNeeds)
{
    ByteQueue queue;
    auto producer = std::async(std::launch::async, [&] {
        for (unsigned char b = 0; b < 4; ++b) {
            std::this_thread::sleep_for(5ms);
            queue.push(b);
        }
    });
    unsigned char out[4] = {};
    EXPECT_TRUE(queue.popExactly(out, 4, 60s));
    EXPECT_EQ(out[3], 3);
    producer.get();
}

TEST(ByteQueueTest, AFullQueueWaitsForRoomThenGivesUp)
{
    ByteQueue queue(2, 50);
    ASSERT_TRUE(queue.push(7));
    ASSERT_TRUE(queue.push(8));
    try {
        queue.push(9);
        FAIL() << "pushed into a full queue";
    } catch (const VormoException& error) {
        EXPECT_STREQ(error.what(), "queue full");
    }

    // Room made while the producer waits lets it go on.
    ByteQueue roomy(2, 60000);
    roomy.push(1);
    roomy.push(2);
    auto producer = std::async(std::launch::async, [&] { return roomy.push(3); });
    std::this_thread::sleep_for(20ms);
    unsigned char byte = 0;
    ASSERT_TRUE(roomy.pop(byte));
    EXPECT_TRUE(producer.get());
    unsigned char rest[2] = {};
    ASSERT_TRUE(roomy.popExactly(rest, 2, 0ms));
    EXPECT_EQ(rest[1], 3);
}

TEST(ByteQueueTest, StopReleasesAProducerWaitingForRoom)
{
    // A producer wait far beyond the test time-out: only stop() can end this test.
    ByteQueue queue(1, 3600 * 1000);
    queue.push(1);
    auto producer = std::async(std::launch::async, [&] { return queue.push(2); });
    std::this_thread::sleep_for(20ms);
    queue.stop();
    EXPECT_FALSE(producer.get());
    EXPECT_FALSE(queue.push(3));
}
