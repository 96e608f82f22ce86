#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QScreen>
#include <QTimer>

#include <algorithm>
#include <vector>

#include "platform/Application.h"
#include "platform/qt/Internals.h"

// --- Canvas repaints -----------------------------------------------------------------
//
// A meter may be painted into its canvas a thousand times a second, but a repaint is
// worth doing only as often as the screen can show it. The first request after a quiet
// spell is served on the next pass of the message loop, so a change shows at once;
// further requests wait for the next frame and are served together.

namespace {

constexpr double fallbackFramesPerSecond = 60.0;

int frameMilliseconds()
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    double rate = screen != nullptr ? screen->refreshRate() : 0.0;
    if (rate < 1.0) {
        rate = fallbackFramesPerSecond;
    }
    return std::max(1, int(1000.0 / rate));
}

class CanvasRepaints {
public:
    CanvasRepaints() { sinceFlush_.start(); }

    void request(ControlAgent& agent, const QRect& area)
    {
        if (timer_ == nullptr) {
            // The application object owns the timer; it outlives every window, and a
            // window system made anew after an end gets a timer of its own.
            timer_ = new QTimer(QCoreApplication::instance());
            timer_->setSingleShot(true);
            QObject::connect(timer_, &QTimer::timeout, [this] { flush(); });
        }
        if (agent.canvasDirty_.isEmpty()) {
            waiting_.emplace_back(&agent);
        }
        agent.canvasDirty_ |= area;
        if (!timer_->isActive()) {
            const qint64 wait = frameMilliseconds() - sinceFlush_.elapsed();
            timer_->start(int(std::max<qint64>(0, wait)));
        }
    }

private:
    void flush()
    {
        std::vector<QPointer<ControlAgent>> served;
        served.swap(waiting_);
        for (const QPointer<ControlAgent>& agent : served) {
            if (agent != nullptr && !agent->destroyed_) {
                agent->widget_->update(agent->canvasDirty_);
                agent->canvasDirty_ = QRect();
            }
        }
        sinceFlush_.restart();
    }

    QPointer<QTimer> timer_;
    QElapsedTimer sinceFlush_;
    std::vector<QPointer<ControlAgent>> waiting_;
};

} // namespace

void requestCanvasRepaint(ControlAgent& agent, const QRect& area)
{
    static CanvasRepaints repaints;
    repaints.request(agent, area);
}

// --- Paint events --------------------------------------------------------------------

namespace {

// Sees every event of the application before its receiver does; counts the paints.
class PaintCounter : public QObject {
public:
    using QObject::QObject;
    unsigned long count_ = 0;

    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::Paint) {
            ++count_;
        }
        return false;
    }
};

} // namespace

unsigned long paintEventCount()
{
    ensureApplication();
    // Counting starts with the first question, so an application nobody asks pays nothing.
    static QPointer<PaintCounter> counter;
    if (counter == nullptr) {
        counter = new PaintCounter(QCoreApplication::instance()); // owned by the application
        QCoreApplication::instance()->installEventFilter(counter);
    }
    return counter->count_;
}
