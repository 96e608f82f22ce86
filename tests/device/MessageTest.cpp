#include <gtest/gtest.h>

#include <memory>

#include "device/ErrorTypeRegistry.h"
#include "device/Message.h"
#include "device/Packet.h"
#include "model/Exceptions.h"
#include "support/FakeUnit.h"

using unitframes::bytes;

namespace {

std::string encoded(const Message& message)
{
    std::string buffer(message.encodedSize(), '\xEE');
    const int written =
        message.encode(reinterpret_cast<unsigned char*>(buffer.data()), static_cast<unsigned>(buffer.size()));
    EXPECT_EQ(static_cast<std::size_t>(written), buffer.size());
    return buffer;
}

const unsigned char* data(const std::string& payload)
{
    return reinterpret_cast<const unsigned char*>(payload.data());
}

unsigned size(const std::string& payload)
{
    return static_cast<unsigned>(payload.size());
}

// Decodes a payload the way a received frame is decoded.
std::unique_ptr<Packet> decodedPacket(const std::string& payload)
{
    FakeUnitLink link;
    link.pushFrame(payload);
    auto packet = std::make_unique<Packet>();
    EXPECT_TRUE(packet->receive(link));
    return packet;
}

template <typename Exception> std::string failureOf(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& failure) {
        return failure.what();
    } catch (const std::exception& other) {
        return std::string("wrong kind: ") + other.what();
    }
    return "no exception";
}

} // namespace

TEST(CommandTypes, TableOfEighteenCodes)
{
    const std::vector<std::string> names = {"Ping Request",
                                            "Ping Response",
                                            "Set",
                                            "GetAll",
                                            "Status",
                                            "Miniumum",
                                            "Maximum",
                                            "Enable",
                                            "Error",
                                            "Erase Flash",
                                            "Download Data",
                                            "Burn And Reboot",
                                            "Flash Operation Done",
                                            "Event Log",
                                            "Error Log",
                                            "Get All Response",
                                            "Get Event Log",
                                            "Get Error Log"};
    for (unsigned code = 0; code < names.size(); ++code) {
        EXPECT_EQ(CommandType::fromCode(code).code(), code);
        EXPECT_EQ(CommandType::fromCode(code).name(), names[code]);
    }
    for (unsigned code : {18u, 127u, 128u, 200u, 255u})
        EXPECT_EQ(failureOf<VormoException>([&] { CommandType::fromCode(code); }),
                  "unrecognized command type");
    EXPECT_EQ(failureOf<VormoException>([] { CommandType::read(nullptr, 0); }),
              "missing command type in buffer");
    EXPECT_EQ(failureOf<VormoException>([] { CommandType::fromCode(3).write(nullptr, 0); }),
              "no room for command type in buffer");
    // Equality is by code only.
    EXPECT_EQ(CommandType(4, "other name"), CommandType::fromCode(4));
}

TEST(MessageEncoding, GoldenBytesOfEveryOutgoingKind)
{
    const unsigned char block[3] = {0xDE, 0xAD, 0x00};
    struct Case {
        const char* name;
        std::unique_ptr<Message> message;
        std::string expected;
    };
    std::vector<Case> cases;
    cases.push_back({"ping request", std::make_unique<PingRequestMessage>(), bytes({0x00})});
    cases.push_back({"ping response", std::make_unique<PingResponseMessage>(), bytes({0x01})});
    cases.push_back({"get all", std::make_unique<GetAllMessage>(), bytes({0x03})});
    cases.push_back({"erase flash", std::make_unique<EraseFlashMessage>(), bytes({0x09})});
    cases.push_back({"burn and reboot", std::make_unique<BurnAndRebootMessage>(), bytes({0x0B})});
    cases.push_back(
        {"get event log", std::make_unique<CommandMessage>(CommandType::fromCode(16)), bytes({0x10})});
    cases.push_back(
        {"get error log", std::make_unique<CommandMessage>(CommandType::fromCode(17)), bytes({0x11})});
    cases.push_back(
        {"download data", std::make_unique<DownloadDataMessage>(block, 3), bytes({0x0A, 0xDE, 0xAD, 0})});
    cases.push_back({"set, one write identifier",
                     std::make_unique<SetMessage>(ParameterId(0x0401), ParameterValue(0x10)),
                     bytes({0x02, 0x05, 0x01, 0x00, 0x00, 0x10})});
    cases.push_back(
        {"set from a map, own identifiers in order, text and empty values",
         std::make_unique<SetMessage>(ParameterValueMap{{ParameterId(0x0503), ParameterValue("ABC")},
                                                        {ParameterId(0x0501), ParameterValue(-2)},
                                                        {ParameterId(0x2502), ParameterValue("")}}),
         bytes({0x02, 0x05, 0x01, 0x00, 0xFF, 0xFE, 0x05, 0x03, 0x01, 0x03, 0x41, 0x42, 0x43, 0x25, 0x02,
                0x01, 0x00})});
    cases.push_back({"set of nothing", std::make_unique<SetMessage>(ParameterValueMap{}), bytes({0x02})});
    const std::string logPayload = bytes({0x0D, 0x61, 0x62, 0x63});
    cases.push_back(
        {"event log, encoded back as received",
         std::make_unique<LogMessage>(CommandType::fromCode(13),
                                      reinterpret_cast<const unsigned char*>(logPayload.data()), 4),
         logPayload});
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        EXPECT_EQ(test.message->encodedSize(), test.expected.size());
        EXPECT_EQ(encoded(*test.message), test.expected);
    }
}

TEST(MessageEncoding, SetFromMapKeepsWriteIdentifiers)
{
    SetMessage message(ParameterValueMap{{ParameterId(0x0501), ParameterValue(1)},
                                         {ParameterId(0x0503), ParameterValue(2)}});
    ParameterValueMap expected{{ParameterId(0x0401), ParameterValue(1)},
                               {ParameterId(0x0403), ParameterValue(2)}};
    EXPECT_EQ(message.entries(), expected);
}

TEST(MessageEncoding, RefusesABufferTooSmall)
{
    GetAllMessage getAll;
    unsigned char buffer[8] = {};
    EXPECT_EQ(failureOf<VormoException>([&] { getAll.encode(buffer, 0); }),
              "not enough room for command in buffer");
    EXPECT_EQ(getAll.encode(buffer, 1), 1);
    EXPECT_EQ(buffer[0], 0x03);

    SetMessage set(ParameterId(0x0401), ParameterValue(1));
    EXPECT_EQ(failureOf<VormoException>([&] { set.encode(buffer, 5); }),
              "not enough room for command in buffer");
}

TEST(MessageDecoding, StatusValuesReachTheCache)
{
    auto packet =
        decodedPacket(bytes({0x04, 0x05, 0x01, 0x00, 0x00, 0x10, 0x05, 0x03, 0x01, 0x02, 0x41, 0x42}));
    Message* message = packet->decodeMessage();
    EXPECT_EQ(message->type().name(), "Status");
    ParameterValueMap cache{{ParameterId(0x0501), ParameterValue(7)},
                            {ParameterId(0x0700), ParameterValue(1)}};
    FakeUnitLink link;
    Packet reply;
    message->execute(cache, link, reply);
    EXPECT_EQ(cache.at(ParameterId(0x0501)).toString(), bytes({0x00, 0x10}));
    EXPECT_EQ(cache.at(ParameterId(0x0503)).toString(), "AB");
    EXPECT_EQ(cache.at(ParameterId(0x0700)), ParameterValue(1));
    EXPECT_TRUE(link.writes.empty());
}

TEST(MessageDecoding, StatusBodiesGoodAndBad)
{
    struct Case {
        const char* name;
        std::string payload;
        std::string failure; // empty: decodes
        ParameterValueMap expected;
    };
    const std::vector<Case> cases = {
        {"empty status", bytes({0x04}), "", {}},
        {"repeated identifier keeps the later value",
         bytes({0x04, 0x05, 0x01, 0x00, 0x00, 0x01, 0x05, 0x01, 0x00, 0x00, 0x02}),
         "",
         {{ParameterId(0x0501), ParameterValue(2)}}},
        {"empty text value",
         bytes({0x04, 0x25, 0x02, 0x01, 0x00}),
         "",
         {{ParameterId(0x2502), ParameterValue("")}}},
        {"get all response",
         bytes({0x0F, 0x01, 0x00, 0x00, 0x00, 0x03}),
         "",
         {{ParameterId(0x0100), ParameterValue(3)}}},
        {"one stray byte", bytes({0x04, 0x05, 0x01, 0x00, 0x00, 0x01, 0x05}), "id not found in buffer", {}},
        {"identifier without value", bytes({0x04, 0x05, 0x01}), "value not found in buffer", {}},
        {"integer cut short", bytes({0x04, 0x05, 0x01, 0x00, 0x00}), "value not found in buffer", {}},
        {"text longer than the payload",
         bytes({0x04, 0x05, 0x01, 0x01, 0x05, 0x41}),
         "value not found in buffer",
         {}},
        {"text length byte missing", bytes({0x04, 0x05, 0x01, 0x01}), "value not found in buffer", {}},
        {"unknown value tag", bytes({0x04, 0x05, 0x01, 0x02, 0x00, 0x00}), "unrecognized value type", {}},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        if (!test.failure.empty()) {
            EXPECT_EQ(
                failureOf<VormoException>([&] { StatusMessage(data(test.payload), size(test.payload)); }),
                test.failure);
            continue;
        }
        StatusMessage message(data(test.payload), size(test.payload));
        EXPECT_EQ(message.entries(), test.expected);
        EXPECT_EQ(message.type().code(), static_cast<unsigned char>(test.payload[0]));
    }
    const std::string set = bytes({0x02, 0x05, 0x01, 0x00, 0x00, 0x01});
    EXPECT_EQ(failureOf<VormoException>([&] { StatusMessage(data(set), size(set)); }),
              "incorrect status command type");
}

TEST(MessageDecoding, SharesAnyIdComparesTheParametersOwnIdentifiers)
{
    SetMessage set(ParameterValueMap{{ParameterId(0x0501), ParameterValue(1)},
                                     {ParameterId(0x0503), ParameterValue(2)}});
    const std::string hit = unitframes::status(
        {{ParameterId(0x0700), ParameterValue(0)}, {ParameterId(0x0503), ParameterValue(9)}});
    const std::string miss = unitframes::status(
        {{ParameterId(0x0403), ParameterValue(0)}, {ParameterId(0x0502), ParameterValue(9)}});
    const std::string getAll = unitframes::status({{ParameterId(0x0501), ParameterValue(0)}}, 15);
    EXPECT_TRUE(set.sharesAnyId(StatusMessage(data(hit), size(hit))));
    EXPECT_FALSE(set.sharesAnyId(StatusMessage(data(miss), size(miss))));
    EXPECT_TRUE(set.sharesAnyId(StatusMessage(data(getAll), size(getAll))));
    EXPECT_FALSE(set.sharesAnyId(PingResponseMessage()));
}

TEST(MessageDecoding, ErrorMessages)
{
    ErrorTypeRegistry::destroyInstance();
    struct Case {
        const char* name;
        std::string payload;
        std::string text;
        bool decodes;
    };
    const std::vector<Case> cases = {
        {"five bytes", bytes({0x08, 0x00, 0x00, 0x00, 0x07}), "Error: Host Error", true},
        {"trailing bytes ignored", bytes({0x08, 0x12, 0x34, 0x00, 0x07, 0x99, 0x98}), "Error: Host Error",
         true},
        {"one byte", bytes({0x08}), "error type id not found in buffer", false},
        {"two bytes", bytes({0x08, 0x00}), "error type id not found in buffer", false},
        {"three bytes", bytes({0x08, 0x00, 0x00}), "error type id not found in buffer", false},
        {"four bytes", bytes({0x08, 0x00, 0x00, 0x00}), "error type id not found in buffer", false},
    };
    for (const Case& test : cases) {
        SCOPED_TRACE(test.name);
        auto packet = std::make_unique<Packet>();
        FakeUnitLink link;
        link.pushFrame(test.payload);
        ASSERT_TRUE(packet->receive(link));
        if (!test.decodes) {
            EXPECT_EQ(failureOf<VormoException>([&] { packet->decodeMessage(); }), test.text);
            continue;
        }
        Message* message = packet->decodeMessage();
        ParameterValueMap cache{{ParameterId(0x0101), ParameterValue(1)}};
        Packet reply;
        EXPECT_EQ(failureOf<HostException>([&] { message->execute(cache, link, reply); }), test.text);
        EXPECT_EQ(cache.size(), 1u);
    }
}

TEST(MessageDecoding, FlashOperationDone)
{
    ErrorTypeRegistry::destroyInstance();
    const std::string success = bytes({0x0C, 0x00, 0x00, 0x00, 0x00, 0x55});
    FlashOperationDoneMessage done(data(success), size(success));
    ParameterValueMap cache;
    FakeUnitLink link;
    Packet reply;
    EXPECT_NO_THROW(done.execute(cache, link, reply));
    EXPECT_EQ(done.result().code, 0);

    const std::string failed = unitframes::flashDone(3);
    FlashOperationDoneMessage bad(data(failed), size(failed));
    EXPECT_EQ(failureOf<FlashException>([&] { bad.execute(cache, link, reply); }), "Error: Host Error");

    for (const std::string& shortPayload : {bytes({0x0C}), bytes({0x0C, 0, 0}), bytes({0x0C, 0, 0, 0})}) {
        const std::string expected = shortPayload.size() <= 3 ? "Missing flash operation success code"
                                                              : "error type id not found in buffer";
        EXPECT_EQ(failureOf<VormoException>(
                      [&] { FlashOperationDoneMessage(data(shortPayload), size(shortPayload)); }),
                  expected);
    }
    EXPECT_EQ(failureOf<FlashException>([&] {
                  FlashOperationDoneMessage(data(bytes({0x0C, 0, 0})), 3);
              }),
              "Missing flash operation success code");
}

TEST(MessageDecoding, LogsAndPings)
{
    ParameterValueMap cache;
    FakeUnitLink link;
    auto log = decodedPacket(bytes({0x0D, 0x61, 0x62, 0x63}));
    Packet reply;
    log->decodeMessage()->execute(cache, link, reply);
    EXPECT_EQ(cache.at(ParameterId(static_cast<int16_t>(-1))).toString(), "abc");

    auto errorLog = decodedPacket(bytes({0x0E}));
    EXPECT_EQ(errorLog->decodeMessage()->type().name(), "Error Log");
    errorLog->decodeMessage()->execute(cache, link, reply);
    EXPECT_EQ(cache.at(LogMessage::logId()).toString(), "");

    // A ping from the unit is answered at once on the reply packet; extra bytes are ignored.
    auto ping = decodedPacket(bytes({0x00, 0x55, 0x66}));
    ping->decodeMessage()->execute(cache, link, reply);
    EXPECT_EQ(link.writes, (std::vector<std::string>{bytes({0, 0, 0, 5}), bytes({0x01})}));

    const std::string wrongCode = bytes({0x01});
    EXPECT_EQ(failureOf<VormoException>([&] { PingRequestMessage().decode(data(wrongCode), 1); }),
              "incorrect command type");

    auto response = decodedPacket(bytes({0x01, 0x02}));
    EXPECT_EQ(response->decodeMessage()->type().name(), "Ping Response");

    auto download = decodedPacket(bytes({0x0A, 0x01, 0x02}));
    auto* data = dynamic_cast<DownloadDataMessage*>(download->decodeMessage());
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(data->bytes(), (std::vector<unsigned char>{0x0A, 0x01, 0x02}));
}
