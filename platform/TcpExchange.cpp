#include "platform/TcpExchange.h"

#include <QHostAddress>
#include <QMetaObject>
#include <QNetworkProxy>
#include <QTcpSocket>
#include <QTimer>

#include <arpa/inet.h>
#include <netdb.h>
#include <sys/socket.h>

#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

#include "platform/Application.h"
#include "platform/qt/Internals.h"

namespace {

// As the unit's own link resolves a name: IPv4 only, in the order the system gives.
std::vector<std::string> systemLookup(const std::string& host)
{
    std::vector<std::string> addresses;
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (host.empty() || ::getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0) {
        return addresses;
    }
    for (const addrinfo* entry = found; entry != nullptr; entry = entry->ai_next) {
        char text[INET_ADDRSTRLEN] = {};
        const auto* address = reinterpret_cast<const sockaddr_in*>(entry->ai_addr);
        if (::inet_ntop(AF_INET, &address->sin_addr, text, sizeof text) != nullptr) {
            addresses.emplace_back(text);
        }
    }
    ::freeaddrinfo(found);
    return addresses;
}

std::mutex& lookupChoiceMutex()
{
    static std::mutex mutex;
    return mutex;
}

NameLookup& chosenLookup()
{
    static NameLookup lookup;
    return lookup;
}

NameLookup currentLookup()
{
    std::lock_guard lock(lookupChoiceMutex());
    return chosenLookup() ? chosenLookup() : NameLookup(systemLookup);
}

// The address of a dotted host text, read as the unit's own link reads it (so "127.1"
// is 127.0.0.1); false for a name.
bool numericAddress(const std::string& host, QHostAddress& address)
{
    in_addr numeric{};
    if (::inet_aton(host.c_str(), &numeric) == 0) {
        return false;
    }
    address.setAddress(quint32(ntohl(numeric.s_addr)));
    return true;
}

// A window system object that may be in the middle of sending a signal when its
// owner goes: it is deleted once the message loop has the control again.
struct DeleteLater {
    void operator()(QObject* object) const { object->deleteLater(); }
};
template <class T> using LaterOwned = std::unique_ptr<T, DeleteLater>;

std::string seconds(int milliseconds)
{
    return milliseconds % 1000 == 0 ? std::to_string(milliseconds / 1000) + " s"
                                    : std::to_string(milliseconds) + " ms";
}

// What Qt reads from the connection ahead of us at most: the rest waits in the
// system's buffer, so a peer that never stops cannot fill the memory.
constexpr qint64 readAhead = 64 * 1024;

} // namespace

void setNameLookup(NameLookup lookup)
{
    std::lock_guard lock(lookupChoiceMutex());
    chosenLookup() = std::move(lookup);
}

// A name lookup on a thread of its own, which the exchange never waits for: a halted
// or ended exchange abandons it, and its result then goes nowhere.
struct LookupShare {
    std::mutex mutex;
    bool abandoned = false;
    // Alive while the lookup is not abandoned.
    QObject* receiver = nullptr;
};

struct TcpExchange::Exchange {
    Exchange(const TcpRequest& request, Answer answer);
    ~Exchange();

    void begin();
    void lookUp();
    void connectTo(const std::vector<std::string>& addresses);
    void onConnected();
    // False when the bytes went past the limit, which ended the exchange.
    bool take();
    void end(TcpReply::End how, const std::string& error = std::string());
    // Stops the timers, the connection and the lookup.
    void halt();
    void setUpTimer(QTimer& timer, int limitMs, std::function<void()> onTimeout);

    TcpRequest request_;
    std::string server_;
    Answer answer_;
    TcpReply reply_;
    bool running_ = true;
    std::shared_ptr<LookupShare> lookup_;
    // The receiver of every connection below: gone with the exchange, so that no
    // signal, timer or lookup result reaches an exchange that has ended.
    std::unique_ptr<QObject> receiver_ = std::make_unique<QObject>();
    LaterOwned<QTcpSocket> socket_{new QTcpSocket};
    LaterOwned<QTimer> timeLimit_{new QTimer};
    LaterOwned<QTimer> connectLimit_{new QTimer};
    LaterOwned<QTimer> idleLimit_{new QTimer};
};

TcpExchange::Exchange::Exchange(const TcpRequest& request, Answer answer)
    : request_(request), server_(request.host + ":" + std::to_string(request.port)),
      answer_(std::move(answer))
{
    ensureApplication();
    socket_->setProxy(QNetworkProxy::NoProxy);
    socket_->setReadBufferSize(readAhead);
    QObject* context = receiver_.get();
    QTcpSocket* socket = socket_.get();
    QObject::connect(socket, &QTcpSocket::connected, context, [this] { onConnected(); });
    QObject::connect(socket, &QTcpSocket::readyRead, context, [this] { take(); });
    QObject::connect(socket, &QTcpSocket::disconnected, context, [this] {
        if (take()) {
            end(TcpReply::End::Closed);
        }
    });
    QObject::connect(socket, &QTcpSocket::errorOccurred, context, [this](QAbstractSocket::SocketError error) {
        if (!take()) {
            return;
        }
        if (error == QAbstractSocket::RemoteHostClosedError) {
            end(TcpReply::End::Closed);
        } else {
            end(TcpReply::End::Failed, server_ + ": " + fromQt(socket_->errorString()));
        }
    });
    setUpTimer(*timeLimit_, request_.timeLimitMs, [this] {
        if (take()) {
            end(TcpReply::End::TimeLimit,
                "no whole reply from " + server_ + " within " + seconds(request_.timeLimitMs));
        }
    });
    setUpTimer(*connectLimit_, request_.connectLimitMs, [this] {
        end(TcpReply::End::Failed,
            "no connection to " + server_ + " within " + seconds(request_.connectLimitMs));
    });
    // Started once the request is on its way.
    setUpTimer(*idleLimit_, request_.idleLimitMs, [this] {
        if (take()) {
            end(TcpReply::End::Idle);
        }
    });
    timeLimit_->start();
    connectLimit_->start();
    // Even a failure at once is answered from the message loop, never from here.
    QMetaObject::invokeMethod(
        context, [this] { begin(); }, Qt::QueuedConnection);
}

TcpExchange::Exchange::~Exchange()
{
    halt();
}

void TcpExchange::Exchange::setUpTimer(QTimer& timer, int limitMs, std::function<void()> onTimeout)
{
    // A coarse timer may end a limit of seconds a twentieth early.
    timer.setTimerType(Qt::PreciseTimer);
    timer.setSingleShot(true);
    timer.setInterval(limitMs);
    QObject::connect(&timer, &QTimer::timeout, receiver_.get(), std::move(onTimeout));
}

void TcpExchange::Exchange::begin()
{
    QHostAddress address;
    if (numericAddress(request_.host, address)) {
        socket_->connectToHost(address, request_.port);
    } else {
        lookUp();
    }
}

void TcpExchange::Exchange::lookUp()
{
    lookup_ = std::make_shared<LookupShare>();
    lookup_->receiver = receiver_.get();
    try {
        std::thread([share = lookup_, lookup = currentLookup(), host = request_.host, this] {
            std::vector<std::string> addresses;
            try {
                addresses = lookup(host);
            } catch (...) {
                addresses.clear(); // a lookup that fails finds nothing
            }
            std::lock_guard lock(share->mutex);
            if (!share->abandoned) {
                QMetaObject::invokeMethod(
                    share->receiver, [this, addresses] { connectTo(addresses); }, Qt::QueuedConnection);
            }
        }).detach();
    } catch (const std::system_error&) {
        end(TcpReply::End::Failed, "no thread to look up " + request_.host);
    }
}

void TcpExchange::Exchange::connectTo(const std::vector<std::string>& addresses)
{
    QHostAddress address;
    if (addresses.empty() || !numericAddress(addresses.front(), address)) {
        end(TcpReply::End::Failed, "unable to resolve " + request_.host);
        return;
    }
    socket_->connectToHost(address, request_.port);
}

void TcpExchange::Exchange::onConnected()
{
    connectLimit_->stop();
    idleLimit_->start();
    socket_->write(request_.bytes.data(), qint64(request_.bytes.size()));
}

bool TcpExchange::Exchange::take()
{
    // One byte past the limit tells a reply that is too long from one that just fits.
    const qint64 room = qint64(request_.byteLimit - reply_.bytes.size()) + 1;
    const QByteArray bytes = socket_->read(room);
    if (bytes.isEmpty()) {
        return true;
    }
    idleLimit_->start();
    reply_.bytes.append(bytes.constData(), std::size_t(bytes.size()));
    if (reply_.bytes.size() > request_.byteLimit) {
        reply_.bytes.resize(request_.byteLimit);
        end(TcpReply::End::ByteLimit,
            "the reply of " + server_ + " is longer than " + std::to_string(request_.byteLimit) + " bytes");
        return false;
    }
    return true;
}

void TcpExchange::Exchange::halt()
{
    timeLimit_->stop();
    connectLimit_->stop();
    idleLimit_->stop();
    if (lookup_ != nullptr) {
        std::lock_guard lock(lookup_->mutex);
        lookup_->abandoned = true;
    }
    // Closed at once, whatever is still unread or unsent; nothing reads on after it.
    QObject::disconnect(socket_.get(), nullptr, receiver_.get(), nullptr);
    socket_->abort();
}

void TcpExchange::Exchange::end(TcpReply::End how, const std::string& error)
{
    if (!running_) {
        return;
    }
    running_ = false;
    halt();
    reply_.end = how;
    reply_.error = error;
    // The callback may end this exchange: it gets what it needs as its own.
    Answer done = std::move(answer_);
    TcpReply result = std::move(reply_);
    guarded([&] { done(result); });
}

TcpExchange::TcpExchange(const TcpRequest& request, Answer answer)
    : exchange_(std::make_unique<Exchange>(request, std::move(answer)))
{
}

TcpExchange::~TcpExchange() = default;

bool TcpExchange::running() const
{
    return exchange_->running_;
}
