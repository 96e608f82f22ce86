#include "platform/HttpGet.h"

#include <QCoreApplication>
#include <QNetworkAccessManager>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QTimer>
#include <QUrl>

#include "platform/Application.h"
#include "platform/qt/Internals.h"

namespace {

// One manager serves every exchange; like the application object, whose child it is,
// it lives until the process ends.
QNetworkAccessManager& networkManager()
{
    static QPointer<QNetworkAccessManager> shared;
    if (shared == nullptr) {
        ensureApplication();
        shared = new QNetworkAccessManager(QCoreApplication::instance());
        shared->setProxy(QNetworkProxy::NoProxy);
    }
    return *shared;
}

// A window system object that may be in the middle of sending a signal when its
// owner goes: it is deleted once the message loop has the control again.
struct DeleteLater {
    void operator()(QObject* object) const { object->deleteLater(); }
};
template <class T> using LaterOwned = std::unique_ptr<T, DeleteLater>;

QByteArray bytesOf(const std::string& text)
{
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::string textOf(const QByteArray& bytes)
{
    return std::string(bytes.constData(), std::size_t(bytes.size()));
}

std::string seconds(int milliseconds)
{
    return milliseconds % 1000 == 0 ? std::to_string(milliseconds / 1000) + " s"
                                    : std::to_string(milliseconds) + " ms";
}

// The errors that stand for the server's own status (401, 404, 500, ...): the reply
// then came whole, only its status is not a success.
bool isStatusError(QNetworkReply::NetworkError error)
{
    return (error >= QNetworkReply::ContentAccessDenied && error <= QNetworkReply::UnknownContentError) ||
           (error >= QNetworkReply::InternalServerError && error <= QNetworkReply::UnknownServerError);
}

QNetworkRequest networkRequest(const HttpRequest& request)
{
    QUrl url;
    url.setScheme(QStringLiteral("http"));
    url.setHost(toQt(request.host), QUrl::StrictMode);
    url.setPort(request.port);
    url.setPath(toQt(request.path));
    QNetworkRequest asked(url);
    for (const auto& [name, value] : request.headers) {
        asked.setRawHeader(bytesOf(name), bytesOf(value));
    }
    // The byte limit counts what the server sends, and nothing inflates behind it.
    asked.setRawHeader("Accept-Encoding", "identity");
    asked.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
    asked.setAttribute(QNetworkRequest::Http2AllowedAttribute, false);
    asked.setAttribute(QNetworkRequest::CookieLoadControlAttribute, QNetworkRequest::Manual);
    asked.setAttribute(QNetworkRequest::CookieSaveControlAttribute, QNetworkRequest::Manual);
    return asked;
}

} // namespace

struct HttpGet::Exchange {
    Exchange(const HttpRequest& request, Answer answer);
    ~Exchange();

    void takeHead();
    // False when the body went past the limit, which ended the exchange.
    bool takeBody();
    void onFinished();
    void end(bool complete, const std::string& error);
    // Stops the time limits and the network exchange.
    void halt();

    std::string server_;
    std::size_t byteLimit_;
    Answer answer_;
    HttpReply reply_;
    bool running_ = true;
    // The receiver of every connection below: gone with the exchange, so that no
    // signal reaches an exchange that has ended.
    std::unique_ptr<QObject> receiver_ = std::make_unique<QObject>();
    LaterOwned<QTimer> timeLimit_{new QTimer};
    LaterOwned<QTimer> connectLimit_{new QTimer};
    LaterOwned<QNetworkReply> network_;
};

HttpGet::Exchange::Exchange(const HttpRequest& request, Answer answer)
    : server_(request.host + ":" + std::to_string(request.port)), byteLimit_(request.byteLimit),
      answer_(std::move(answer))
{
    network_.reset(networkManager().get(networkRequest(request)));
    QNetworkReply* asked = network_.get();
    QObject* context = receiver_.get();
    QObject::connect(asked, &QNetworkReply::requestSent, context, [this] { connectLimit_->stop(); });
    QObject::connect(asked, &QNetworkReply::metaDataChanged, context, [this] { takeHead(); });
    QObject::connect(asked, &QNetworkReply::readyRead, context, [this] { takeBody(); });
    QObject::connect(asked, &QNetworkReply::finished, context, [this] { onFinished(); });
    for (auto [timer, limitMs] : {std::pair{timeLimit_.get(), request.timeLimitMs},
                                  std::pair{connectLimit_.get(), request.connectLimitMs}}) {
        timer->setSingleShot(true);
        timer->start(limitMs);
    }
    QObject::connect(timeLimit_.get(), &QTimer::timeout, context, [this, limitMs = request.timeLimitMs] {
        if (takeBody()) {
            end(false, "no whole reply from " + server_ + " within " + seconds(limitMs));
        }
    });
    QObject::connect(connectLimit_.get(), &QTimer::timeout, context, [this, limitMs = request.connectLimitMs] {
        end(false, "no connection to " + server_ + " within " + seconds(limitMs));
    });
}

HttpGet::Exchange::~Exchange()
{
    receiver_.reset();
    halt();
}

void HttpGet::Exchange::halt()
{
    timeLimit_->stop();
    connectLimit_->stop();
    if (network_->isRunning()) {
        network_->abort();
    }
}

void HttpGet::Exchange::takeHead()
{
    QVariant status = network_->attribute(QNetworkRequest::HttpStatusCodeAttribute);
    if (reply_.answered || !status.isValid()) {
        return;
    }
    connectLimit_->stop();
    reply_.answered = true;
    reply_.status = status.toInt();
    reply_.reason = textOf(network_->attribute(QNetworkRequest::HttpReasonPhraseAttribute).toByteArray());
    for (const auto& [name, value] : network_->rawHeaderPairs()) {
        reply_.headers.emplace_back(textOf(name), textOf(value));
    }
}

bool HttpGet::Exchange::takeBody()
{
    takeHead();
    // One byte past the limit tells a reply that is too long from one that just fits.
    reply_.body += textOf(network_->read(qint64(byteLimit_ - reply_.body.size() + 1)));
    if (reply_.body.size() > byteLimit_) {
        reply_.body.resize(byteLimit_);
        end(false, "the reply of " + server_ + " is longer than " + std::to_string(byteLimit_) + " bytes");
        return false;
    }
    return true;
}

void HttpGet::Exchange::onFinished()
{
    if (!takeBody()) {
        return;
    }
    QNetworkReply::NetworkError error = network_->error();
    bool complete = reply_.answered && (error == QNetworkReply::NoError || isStatusError(error));
    end(complete, complete ? std::string() : server_ + ": " + fromQt(network_->errorString()));
}

void HttpGet::Exchange::end(bool complete, const std::string& error)
{
    if (!running_) {
        return;
    }
    running_ = false;
    QObject::disconnect(network_.get(), nullptr, receiver_.get(), nullptr);
    halt();
    reply_.complete = complete;
    reply_.error = error;
    // The callback may end this exchange: it gets what it needs as its own.
    Answer done = std::move(answer_);
    HttpReply result = std::move(reply_);
    guarded([&] { done(result); });
}

HttpGet::HttpGet(const HttpRequest& request, Answer answer)
    : exchange_(std::make_unique<Exchange>(request, std::move(answer)))
{
}

HttpGet::~HttpGet() = default;

bool HttpGet::running() const
{
    return exchange_->running_;
}
