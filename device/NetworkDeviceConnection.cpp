#include "device/NetworkDeviceConnection.h"

#include <chrono>
#include <thread>

#include "device/ErrorTypeRegistry.h"
#include "device/FirmwareImageFile.h"
#include "device/transport/SerialDevice.h"
#include "model/Exceptions.h"

NetworkDeviceConnection::NetworkDeviceConnection(SerialDevice* device, GenericPacket* packet, Clock clock)
    : device_(device), packet_(packet),
      clock_(clock ? std::move(clock) : Clock([] { return std::time(nullptr); }))
{
    start();
    lastPing_ = clock_();
}

NetworkDeviceConnection::~NetworkDeviceConnection()
{
    ErrorTypeRegistry::destroyInstance();
}

ConnectionStatus NetworkDeviceConnection::getStatus()
{
    return OkStatus();
}

void NetworkDeviceConnection::start()
{
    device_->setTimeout(replyTimeoutMs);
    GetAllMessage request;
    packet_->setMessage(&request);
    packet_->send(*device_);
    for (int received = 1;; ++received) {
        if (!packet_->receive(*device_))
            throw ProtocolException("No response to 'Get All' request");
        Message* message = packet_->decodeMessage();
        handleMessage(*message);
        const uint8_t code = message->type().code();
        if (code == CommandType::GetAllResponse ||
            (code == CommandType::Status && packet_->length() >= largeStatusLength))
            return;
        if (received == startUpMessages)
            throw ProtocolException("No response to 'Get All' request");
    }
}

void NetworkDeviceConnection::handleMessage(Message& message)
{
    std::unique_ptr<GenericPacket> reply = packet_->create();
    message.execute(cache_, *device_, *reply);
}

void NetworkDeviceConnection::keepAlive()
{
    const std::time_t now = clock_();
    if (now - lastPing_ <= keepAliveSeconds)
        return;
    PingRequestMessage ping;
    packet_->setMessage(&ping);
    packet_->send(*device_);
    lastPing_ = now;
    device_->setTimeout(replyTimeoutMs);
    // A unit that does not answer the ping is not an error here.
    if (packet_->receive(*device_))
        handleMessage(*packet_->decodeMessage());
}

void NetworkDeviceConnection::getValues(const ParameterIdList& ids, ParameterValueMap& result)
{
    keepAlive();
    // A poll must return at once: it sends nothing and handles at most one
    // message that has already arrived; the rest wait for later polls.
    device_->setTimeout(pollTimeoutMs);
    if (packet_->receive(*device_)) {
        Message* message = packet_->decodeMessage();
        device_->setTimeout(replyTimeoutMs);
        handleMessage(*message);
        device_->setTimeout(pollTimeoutMs);
    }
    readStored(cache_, ids, result);
    device_->setTimeout(replyTimeoutMs);
}

ParameterValue NetworkDeviceConnection::getValue(const ParameterId& id)
{
    return readStored(cache_, id);
}

void NetworkDeviceConnection::setValue(const ParameterId& writeId, const ParameterValue& value, int delayMs)
{
    SetMessage message(writeId, value);
    sendAndWait(message, delayMs);
}

void NetworkDeviceConnection::setValues(const ParameterValueMap& values, int delayMs)
{
    SetMessage message(values);
    sendAndWait(message, delayMs);
}

void NetworkDeviceConnection::sendAndWait(SetMessage& message, int delayMs)
{
    packet_->setMessage(&message);
    packet_->send(*device_);
    std::this_thread::yield();

    // The unit confirms a write with a Status naming the parameter. An
    // unconfirmed write is not an error, but a unit that keeps reporting other
    // parameters must not hold the user-interface thread: the wait ends at the
    // first silence, after as many messages as any other wait allows, or once
    // about ten seconds have passed.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(writeWaitLimitMs);
    for (int received = 0; received < waitMessages && std::chrono::steady_clock::now() < deadline;
         ++received) {
        if (!packet_->receive(*device_))
            break;
        Message* reply = packet_->decodeMessage();
        handleMessage(*reply);
        if (reply->type().code() == CommandType::Status && message.sharesAnyId(*reply))
            break;
    }
    if (delayMs > 0)
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
}

void NetworkDeviceConnection::waitFor(const CommandType& type, int timeoutMs)
{
    for (int received = 1;; ++received) {
        device_->setTimeout(timeoutMs);
        if (!packet_->receive(*device_))
            throw ProtocolException("Expected response not received");
        Message* message = packet_->decodeMessage();
        handleMessage(*message);
        if (message->type() == type)
            return;
        if (received == waitMessages)
            throw ProtocolException("Expected response not received");
    }
}

void NetworkDeviceConnection::requestLog(const CommandType& request, const CommandType& reply,
                                         std::string& text)
{
    CommandMessage message(request);
    packet_->setMessage(&message);
    packet_->send(*device_);
    waitFor(reply, replyTimeoutMs);
    text = cache_[LogMessage::logId()].toString();
}

void NetworkDeviceConnection::getEventLog(std::string& text)
{
    requestLog(CommandType::fromCode(CommandType::GetEventLog), CommandType::fromCode(CommandType::EventLog),
               text);
}

void NetworkDeviceConnection::getErrorLog(std::string& text)
{
    requestLog(CommandType::fromCode(CommandType::GetErrorLog), CommandType::fromCode(CommandType::ErrorLog),
               text);
}

void NetworkDeviceConnection::downloadFirmware(const std::string& path, ProgressListener* listener)
{
    // Opening checks the whole image, so a bad one is refused before anything is sent.
    FirmwareImageFile image(path, &validator_);
    unsigned char block[FirmwareImageFile::blockSize];
    for (int count = image.readBlock(block); count != 0; count = image.readBlock(block)) {
        sendFlashBlock(block, static_cast<std::size_t>(count), image.blockIndex(), false);
        if (listener != nullptr)
            listener->setProgress(static_cast<unsigned>(image.position() * 100 / image.size()));
    }
    image.close();
}

void NetworkDeviceConnection::sendFlashBlock(const unsigned char* bytes, std::size_t length, int blockIndex,
                                             bool last)
{
    if (blockIndex == 1) {
        EraseFlashMessage erase;
        sendFlashCommand(erase);
    }
    DownloadDataMessage data(bytes, length);
    packet_->setMessage(&data);
    packet_->send(*device_);
    waitFor(CommandType::fromCode(CommandType::FlashOperationDone), flashTimeoutMs);
    if (last) {
        BurnAndRebootMessage burn;
        sendFlashCommand(burn);
    }
}

void NetworkDeviceConnection::sendFlashCommand(Message& message)
{
    packet_->setMessage(&message);
    packet_->send(*device_);
    waitFor(CommandType::fromCode(CommandType::FlashOperationDone), flashTimeoutMs);
}
