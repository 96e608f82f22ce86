#include "device/SmpteDeviceConnection.h"

#include <chrono>
#include <thread>

#include "device/transport/SerialDevice.h"
#include "model/Exceptions.h"

SmpteDeviceConnection::SmpteDeviceConnection(int address, SerialDevice* device) : device_(device)
{
    if (device_ == nullptr)
        throw ProtocolException("NULL serial device.");
    device_->setTimeout(readTimeoutMs);
    flushInput();
    const auto high = static_cast<unsigned char>((address >> 8) & 0xFF);
    const auto low = static_cast<unsigned char>(address & 0xFF);
    selectAddress_ = {high, low};
    // The low byte plus one wraps without carrying into the high byte.
    pollAddress_ = {high, static_cast<unsigned char>((low + 1) & 0xFF)};
}

void SmpteDeviceConnection::flushInput()
{
    unsigned char discard[500];
    device_->read(discard, sizeof discard);
}

bool SmpteDeviceConnection::readByte(unsigned char& byte)
{
    return device_->read(&byte, 1) == 1;
}

void SmpteDeviceConnection::writeBytes(std::initializer_list<unsigned char> bytes)
{
    device_->write(bytes.begin(), static_cast<unsigned>(bytes.size()));
}

void SmpteDeviceConnection::select()
{
    writeBytes({addressPrefix, selectAddress_[0], selectAddress_[1]});
}

void SmpteDeviceConnection::sendPoll()
{
    writeBytes({addressPrefix, pollAddress_[0], pollAddress_[1]});
}

void SmpteDeviceConnection::authorizeReply()
{
    select();
    writeBytes({mayTransmit});
}

void SmpteDeviceConnection::acknowledge()
{
    writeBytes({ack});
}

void SmpteDeviceConnection::wait(int milliseconds)
{
    if (milliseconds <= 0)
        return;
    using Clock = std::chrono::steady_clock;
    const auto end = Clock::now() + std::chrono::milliseconds(milliseconds);
    // The idle handler runs on every pass; the short sleep keeps a unit that stays
    // busy for its 750 polls from holding a processor core for 15 seconds.
    for (auto now = Clock::now(); now < end; now = Clock::now()) {
        idle();
        std::this_thread::sleep_for(std::min<Clock::duration>(end - now, std::chrono::milliseconds(1)));
    }
}

void SmpteDeviceConnection::fail(const std::string& text)
{
    unsigned char discard[256];
    device_->read(discard, sizeof discard);
    throw ProtocolException(text);
}

void SmpteDeviceConnection::sendRequest(const SmpteMessage& request)
{
    // Refused before the select, so that nothing of a frame that cannot be sent reaches the line.
    request.checkFramable();
    select();
    request.send(*device_);
    waitForAck();
}

void SmpteDeviceConnection::waitForAck()
{
    unsigned char answer = 0;
    if (!readByte(answer))
        fail("No response when expecting an ACK.");
    if (answer != ack)
        fail("The device returned " + std::to_string(answer) + " instead of ACK");
}

void SmpteDeviceConnection::pollFor(unsigned char expected)
{
    unsigned char answer = busy;
    for (int polls = 0; (answer == busy || answer == notYet) && polls < maximumPolls; ++polls) {
        sendPoll();
        if (!readByte(answer))
            fail("There was no response to a poll.");
        if (answer == busy)
            wait(busyPauseMs);
    }
    if (answer != expected)
        fail("The device returned " + std::to_string(answer) + " instead of " + std::to_string(expected));
}

void SmpteDeviceConnection::waitWhileBusy()
{
    unsigned char answer = busy;
    bool answered = true;
    for (int polls = 0; answered && (answer == busy || answer == notYet) && polls < maximumPolls; ++polls) {
        sendPoll();
        answered = readByte(answer);
        if (answered && answer == busy)
            wait(busyPauseMs);
    }
    if (answered && answer == busy)
        fail("The device seems to be stuck in the busy state.");
}

SmpteMessage SmpteDeviceConnection::getExchange(const SmpteMessage& request)
{
    sendRequest(request);
    pollFor(replyReady);
    authorizeReply();
    SmpteMessage reply;
    reply.receive(*device_);
    acknowledge();
    return reply;
}

ConnectionStatus SmpteDeviceConnection::getStatus()
{
    try {
        sendPoll();
        unsigned char answer = 0;
        if (!readByte(answer))
            return NotRespondingStatus();
        switch (answer) {
        case ack:
            return OkStatus();
        case busy:
            return BusyStatus();
        default:
            return ErrorStatus();
        }
    } catch (const VormoException&) {
        return ErrorStatus();
    }
}

void SmpteDeviceConnection::setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs)
{
    sendRequest(SmpteMessage::forSet(writeId, value));
    wait(delayMs);
    waitWhileBusy();
}

ParameterValue SmpteDeviceConnection::getValue(const ParameterId& id)
{
    SmpteMessage request = SmpteMessage::start();
    request.appendId(id);
    ParameterValueMap values;
    getExchange(request).parseValues(values);
    const auto found = values.find(id);
    return found != values.end() ? found->second : ParameterValue(0);
}

void SmpteDeviceConnection::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    const std::vector<SmpteMessage> requests = SmpteMessage::requestsByGroup(ids);
    // Refuse an unframable request before the first exchange, not halfway through.
    for (const SmpteMessage& request : requests)
        request.checkFramable();
    for (const SmpteMessage& request : requests) {
        ParameterValueMap reply;
        getExchange(request).parseValues(reply);
        // Only the asked identifiers are kept: a stray reply (for another request, or
        // with items nobody asked for) then shows as missing values, and the retry in
        // front of this connection starts again from a result it did not spoil.
        for (const ParameterId& id : ids) {
            if (const auto found = reply.find(id); found != reply.end())
                result[id] = found->second;
        }
    }
}
