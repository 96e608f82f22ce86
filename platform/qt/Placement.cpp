#include <QBasicTimer>
#include <QEvent>
#include <QLayout>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimerEvent>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/qt/Placement.h"

namespace {

// --- The frame the window manager gives a window -------------------------------------

// The frame of the last window whose frame became known: a window not yet on the
// screen is taken to get the same one.
QMargins lastFrame;

bool frameKnown(const QWidget* window)
{
    return window->frameGeometry().size() != window->size();
}

QMargins frameOf(const QWidget* window)
{
    if (!frameKnown(window)) {
        return lastFrame;
    }
    QRect frame = window->frameGeometry();
    QRect inner = window->geometry();
    return QMargins(inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
                    frame.bottom() - inner.bottom());
}

// A dialog opens over its owner, on the owner's screen.
QScreen* screenOf(const QWidget* window)
{
    const QWidget* owner = window->parentWidget() != nullptr ? window->parentWidget()->window() : window;
    return owner->screen();
}

// The largest the window may be for its frame to lie within the available area.
QSize roomFor(const QWidget* window, const QRect& available)
{
    return available.size().shrunkBy(frameOf(window));
}

bool fitsIn(QSize size, QSize room)
{
    return size.width() <= room.width() && size.height() <= room.height();
}

// --- Contents that scroll when the window is larger than its screen ------------------

// The contents keep at least the size they had in the window, so that no control
// shrinks or moves, and grow as their layout asks.
class QzWindowContents : public QWidget {
public:
    explicit QzWindowContents(QSize floor) : floor_(floor) {}
    QSize minimumSizeHint() const override { return QWidget::minimumSizeHint().expandedTo(floor_); }

private:
    QSize floor_;
};

// Holds a window's contents in its place, below its menu bar.
class QzWindowScroller : public QScrollArea {
public:
    QzWindowScroller(QWidget* window, int menuBarHeight) : QScrollArea(window), menuBarHeight_(menuBarHeight) {}

    // The size the window would take to show its contents whole.
    QSize naturalWindowSize() const { return widget()->minimumSizeHint() + QSize(0, menuBarHeight_); }

private:
    int menuBarHeight_;
};

QzWindowScroller* scrollerOf(const QWidget* window)
{
    for (QScrollArea* area : window->findChildren<QScrollArea*>(Qt::FindDirectChildrenOnly)) {
        if (auto* scroller = dynamic_cast<QzWindowScroller*>(area)) {
            return scroller;
        }
    }
    return nullptr;
}

// Moves the window's layout, and with it every control it holds, into a scroll area
// that takes its place. Null when the window has no layout.
QzWindowScroller* scrollContents(QWidget* window)
{
    QLayout* layout = window->layout();
    if (layout == nullptr) {
        return nullptr;
    }
    // Laid out at the window's size now: its geometry is the room under the menu bar.
    layout->invalidate();
    layout->activate();
    const QSize floor = layout->geometry().size();
    // The style gives a window's layout wider margins than another widget's: they are
    // kept as the window had them.
    layout->setContentsMargins(layout->contentsMargins());
    QWidget* menuBar = layout->menuBar();
    layout->setMenuBar(nullptr);
    QWidget* focus = window->focusWidget();

    auto* scroller = new QzWindowScroller(window, window->height() - floor.height());
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setWidgetResizable(true);
    // The contents are in the window before the controls move into them, so that the
    // controls keep their tab order; the scroll area is not shown yet, so that they
    // come along shown as they were.
    auto* contents = new QzWindowContents(floor);
    scroller->setWidget(contents);
    contents->setLayout(layout); // takes it from the window, with the widgets it lays out

    auto* frame = new QVBoxLayout(window);
    frame->setContentsMargins(0, 0, 0, 0);
    frame->setSpacing(0);
    frame->setMenuBar(menuBar);
    frame->addWidget(scroller);
    frame->activate(); // the window's smallest size is now the scroll area's
    if (window->isVisible()) {
        scroller->show();
        if (focus != nullptr) {
            focus->setFocus();
        }
    }
    return scroller;
}

// The natural size bounded to the room, with room for the scroll bars where the
// contents scroll: a scroll bar takes room across its direction, which may then have
// to scroll too.
QSize scrolledSize(QSize natural, QSize room, QSize bars)
{
    bool wide = natural.width() > room.width();
    bool tall = natural.height() > room.height();
    wide = wide || (tall && natural.width() + bars.width() > room.width());
    tall = tall || (wide && natural.height() + bars.height() > room.height());
    QSize size(natural.width() + (tall ? bars.width() : 0), natural.height() + (wide ? bars.height() : 0));
    return size.boundedTo(room);
}

// Sizes the window to fit, frame included, into the available area: unchanged where
// it fits, its contents scrolled where not.
void fitWithin(QWidget* window, const QRect& available)
{
    const QSize room = roomFor(window, available);
    QzWindowScroller* scroller = scrollerOf(window);
    const QSize natural = scroller != nullptr ? scroller->naturalWindowSize() : window->size();
    if (fitsIn(natural, room)) {
        if (scroller != nullptr) {
            window->resize(natural); // its frame took less room than feared
        }
        return;
    }
    if (scroller == nullptr) {
        scroller = scrollContents(window);
    }
    if (scroller != nullptr) {
        QSize bars(scroller->verticalScrollBar()->sizeHint().width(),
                   scroller->horizontalScrollBar()->sizeHint().height());
        window->resize(scrolledSize(natural, room, bars));
    }
}

// --- Where the window stands ----------------------------------------------------------

// Where the window's frame stands centred on the available area, with the frame's top
// left kept on it when the frame is the larger.
QPoint centredPlace(const QWidget* window, const QRect& available)
{
    QSize frame = window->frameGeometry().size();
    return available.topLeft() + QPoint(std::max(0, (available.width() - frame.width()) / 2),
                                        std::max(0, (available.height() - frame.height()) / 2));
}

// The place nearest the window's own that keeps its frame on the available area.
QPoint placeOnArea(const QWidget* window, const QRect& available)
{
    QRect frame = window->frameGeometry();
    auto within = [](int at, int length, int start, int room) {
        return std::max(start, std::min(at, start + room - length));
    };
    return QPoint(within(frame.left(), frame.width(), available.left(), available.width()),
                  within(frame.top(), frame.height(), available.top(), available.height()));
}

void placeWithin(QWidget* window, bool centre)
{
    QScreen* screen = screenOf(window);
    if (screen == nullptr) {
        return;
    }
    const QRect available = screen->availableGeometry();
    fitWithin(window, available);
    if (centre) {
        window->move(centredPlace(window, available));
    } else if (window->isVisible() && !available.contains(window->frameGeometry())) {
        window->move(placeOnArea(window, available));
    }
}

// Places the window again once the window manager's frame is known, and keeps it
// within the available area when its layout grows it past that area after it is
// shown (some controls know their size only then).
//
// The title bar and borders are known only once the window is on the screen, and they
// come without notice: for its first second the window looks for them now and then,
// and once they are there it is placed again, frame included. Its size may still change
// then: a control that knows its size only once shown grows the window, and the window
// manager may report the size the window was mapped with before the grown one. So the
// window is placed again whenever its frame's size has changed since it was last
// placed, until that size has stayed the same for a while.
class QzScreenKeeper : public QObject {
public:
    QzScreenKeeper(QWidget* window, bool centre) : QObject(window), window_(window), centre_(centre)
    {
        window->installEventFilter(this);
        timer_.start(10, this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched == window_ && event->type() == QEvent::Resize && window_->isVisible() &&
            scrollerOf(window_) == nullptr && !fitsOnScreen()) {
            placeWithin(window_, centre_);
        }
        return false;
    }

protected:
    void timerEvent(QTimerEvent*) override
    {
        // How many looks the window manager has to frame the window, and how many the
        // framed window's size then stays the same before the window counts as settled;
        // it is left alone after both at the most.
        constexpr int frameLooks = 100;
        constexpr int settleLooks = 25;
        ++looks_;
        if (frameKnown(window_)) {
            // The size the place is worked out with: the window's size may change while
            // it is moved, as the window system's reports of it are read then.
            const QSize frame = window_->frameGeometry().size();
            if (frame != placedFrame_) {
                placedFrame_ = frame;
                steadyLooks_ = 0;
                lastFrame = frameOf(window_);
                placeWithin(window_, centre_);
            } else {
                ++steadyLooks_;
            }
        }
        const bool framed = placedFrame_.isValid();
        if (steadyLooks_ >= settleLooks || (!framed && looks_ >= frameLooks) ||
            looks_ >= frameLooks + settleLooks) {
            timer_.stop();
        }
    }

private:
    bool fitsOnScreen() const
    {
        QScreen* screen = screenOf(window_);
        return screen == nullptr || fitsIn(window_->size(), roomFor(window_, screen->availableGeometry()));
    }

    QWidget* window_;
    bool centre_;
    QBasicTimer timer_;
    int looks_ = 0;
    QSize placedFrame_; // the frame's size the window was last placed with
    int steadyLooks_ = 0;
};

} // namespace

void openWithinScreen(QWidget* window, bool centre)
{
    if (screenOf(window) == nullptr) {
        return;
    }
    // Sized as showing it would size it (which then leaves the size alone).
    if (centre || !window->testAttribute(Qt::WA_Resized)) {
        window->adjustSize();
    }
    placeWithin(window, centre);
    new QzScreenKeeper(window, centre); // a child of the window
}
