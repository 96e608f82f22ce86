#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QSlider>
#include <QStyleOption>
#include <QStylePainter>
#include <QTabBar>
#include <QTextLayout>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

#include "platform/qt/Widgets.h"

QzUpDown::QzUpDown(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Preferred);
}

QSize QzUpDown::sizeHint() const
{
    return QSize(16, 22);
}

void QzUpDown::setBuddy(QWidget* buddy)
{
    if (buddy != nullptr) {
        buddy->installEventFilter(this);
    }
}

bool QzUpDown::eventFilter(QObject*, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && isEnabled()) {
        int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Up || key == Qt::Key_Down) {
            emit stepped(key == Qt::Key_Up ? -1 : 1);
            return true;
        }
    }
    return false;
}

void QzUpDown::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    int half = height() / 2;
    QRect up(0, 0, width(), half);
    QRect down(0, half, width(), height() - half);
    style()->drawPrimitive(QStyle::PE_PanelButtonBevel, &option, &painter, this);
    QStyleOption arrow(option);
    arrow.rect = up.adjusted(2, 2, -2, -1);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowUp, &arrow, &painter, this);
    arrow.rect = down.adjusted(2, 1, -2, -2);
    style()->drawPrimitive(QStyle::PE_IndicatorArrowDown, &arrow, &painter, this);
    painter.setPen(palette().color(QPalette::Mid));
    painter.drawLine(0, half, width(), half);
}

void QzUpDown::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !isEnabled()) {
        return;
    }
    emit stepped(event->position().y() < height() / 2 ? -1 : 1);
}

void QzUpDown::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Up) {
        emit stepped(-1);
    } else if (event->key() == Qt::Key_Down) {
        emit stepped(1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

QzTabRows::QzTabRows(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::TabFocus);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

int QzTabRows::insertTab(int index, const QString& text)
{
    index = std::clamp(index, 0, count());
    texts_.insert(index, text);
    if (current_ >= index) {
        ++current_;
    }
    if (current_ < 0) {
        select(0);
    }
    arrange();
    return index;
}

void QzTabRows::removeTab(int index)
{
    if (index < 0 || index >= count()) {
        return;
    }
    texts_.removeAt(index);
    if (current_ > index) {
        --current_;
    } else if (current_ == index) {
        current_ = -1;
        select(std::min(index, count() - 1));
    }
    arrange();
}

QString QzTabRows::tabText(int index) const
{
    return index >= 0 && index < count() ? texts_[index] : QString();
}

void QzTabRows::setCurrentIndex(int index)
{
    if (index >= 0 && index < count()) {
        select(index);
        arrange();
    }
}

void QzTabRows::select(int index)
{
    if (index == current_) {
        return;
    }
    current_ = index;
    emit currentChanged(index);
}

QRect QzTabRows::tabRect(int index) const
{
    return index >= 0 && index < rects_.size() ? rects_[index] : QRect();
}

QSize QzTabRows::tabSize(int index) const
{
    QStyleOptionTab option;
    option.initFrom(this);
    option.shape = QTabBar::RoundedNorth;
    option.text = texts_[index];
    QSize text = fontMetrics().size(Qt::TextShowMnemonic, texts_[index]);
    int hMargin = style()->pixelMetric(QStyle::PM_TabBarTabHSpace, &option, this);
    int vMargin = style()->pixelMetric(QStyle::PM_TabBarTabVSpace, &option, this);
    QSize contents(text.width() + hMargin, std::max(text.height(), fontMetrics().height()) + vMargin);
    return style()->sizeFromContents(QStyle::CT_TabBarTab, &option, contents, this);
}

int QzTabRows::rowHeight() const
{
    int height = fontMetrics().height();
    for (int i = 0; i < count(); ++i) {
        height = std::max(height, tabSize(i).height());
    }
    return height;
}

QVector<QVector<int>> QzTabRows::wrap(int width) const
{
    QVector<QVector<int>> rows;
    int used = 0;
    for (int i = 0; i < count(); ++i) {
        int tab = tabSize(i).width();
        if (rows.isEmpty() || (used + tab > width && !rows.last().isEmpty())) {
            rows.append(QVector<int>());
            used = 0;
        }
        rows.last().append(i);
        used += tab;
    }
    return rows;
}

void QzTabRows::arrange()
{
    rows_ = wrap(width());
    rects_.fill(QRect(), count());
    int height = rowHeight();
    // The selected row moves next to the page; the rows below it go to the top in turn.
    int selectedRow = 0;
    for (int r = 0; r < rows_.size(); ++r) {
        if (rows_[r].contains(current_)) {
            selectedRow = r;
        }
    }
    int rowCount = int(rows_.size());
    for (int r = 0; r < rowCount; ++r) {
        int place = (r - selectedRow - 1 + 2 * rowCount) % rowCount;
        const QVector<int>& row = rows_[r];
        int natural = 0;
        for (int index : row) {
            natural += tabSize(index).width();
        }
        // Rows of a wrapped control fill its width, as the tabs of one row do not.
        int spare = rowCount > 1 ? std::max(0, width() - natural) : 0;
        int x = 0;
        for (int k = 0; k < row.size(); ++k) {
            int extra = spare / int(row.size()) + (k < spare % int(row.size()) ? 1 : 0);
            int tabWidth = tabSize(row[k]).width() + extra;
            rects_[row[k]] = QRect(x, place * height, tabWidth, height);
            x += tabWidth;
        }
    }
    // Until it is shown the bar has no width of its own to wrap to; asking for rows then
    // would make the window taller than it ever needs to be.
    int wanted = (isVisible() ? std::max(1, rowCount) : 1) * height;
    if (wanted != arrangedHeight_) {
        arrangedHeight_ = wanted;
        updateGeometry();
    }
    update();
}

QSize QzTabRows::sizeHint() const
{
    return minimumSizeHint();
}

QSize QzTabRows::minimumSizeHint() const
{
    // The width is the page's to decide; the rows follow it.
    int widest = 0;
    for (int i = 0; i < count(); ++i) {
        widest = std::max(widest, tabSize(i).width());
    }
    int height = arrangedHeight_ > 0 ? arrangedHeight_ : rowHeight();
    return QSize(widest, height);
}

void QzTabRows::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    arrange();
}

bool QzTabRows::event(QEvent* event)
{
    if (event->type() == QEvent::FontChange || event->type() == QEvent::StyleChange ||
        event->type() == QEvent::Show) {
        arrange();
    }
    return QWidget::event(event);
}

void QzTabRows::paintEvent(QPaintEvent*)
{
    QStylePainter painter(this);
    QStyleOptionTabBarBase base;
    base.initFrom(this);
    base.shape = QTabBar::RoundedNorth;
    int overlap = style()->pixelMetric(QStyle::PM_TabBarBaseOverlap, nullptr, this);
    base.rect = QRect(0, height() - overlap, width(), overlap);
    base.selectedTabRect = tabRect(current_);
    painter.drawPrimitive(QStyle::PE_FrameTabBarBase, base);
    // The selected tab last, so that it stands over its neighbours.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < count(); ++i) {
            if ((i == current_) != (pass == 1)) {
                continue;
            }
            QStyleOptionTab option;
            option.initFrom(this);
            option.shape = QTabBar::RoundedNorth;
            option.text = texts_[i];
            option.rect = rects_[i];
            option.position = QStyleOptionTab::Middle;
            option.state &= ~(QStyle::State_HasFocus | QStyle::State_Selected);
            if (i == current_) {
                option.state |= QStyle::State_Selected;
                if (hasFocus()) {
                    option.state |= QStyle::State_HasFocus;
                }
            }
            painter.drawControl(QStyle::CE_TabBarTab, option);
        }
    }
}

void QzTabRows::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton) {
        return;
    }
    for (int i = 0; i < count(); ++i) {
        if (rects_[i].contains(event->position().toPoint())) {
            setCurrentIndex(i);
            return;
        }
    }
}

void QzTabRows::keyPressEvent(QKeyEvent* event)
{
    int step = event->key() == Qt::Key_Left ? -1 : event->key() == Qt::Key_Right ? 1 : 0;
    if (step == 0 || count() == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    setCurrentIndex(std::clamp(current_ + step, 0, count() - 1));
}

QzTabFrame::QzTabFrame(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    bar_ = new QzTabRows(this);
    area_ = new QWidget(this);
    area_->setAutoFillBackground(false);
    areaLayout_ = new QGridLayout(area_);
    areaLayout_->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(bar_);
    layout->addWidget(area_, 1);
}

void QzTabFrame::addPage(QWidget* page)
{
    // A hidden page keeps its room: the display area is as large as the largest page,
    // so showing another page neither moves the controls around it nor resizes the window.
    QSizePolicy policy = page->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    page->setSizePolicy(policy);
    areaLayout_->addWidget(page, 0, 0); // every page in the same cell, one over the other
}

QzWrappingLabel::QzWrappingLabel(QWidget* parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Minimum);
}

int QzWrappingLabel::textWidth() const
{
    // The template fixes the width; before that, the width it was given.
    int width = maximumWidth() < QWIDGETSIZE_MAX ? maximumWidth() : std::max(minimumWidth(), this->width());
    return std::max(1, width - 2 * margin() - 2 * frameWidth());
}

int QzWrappingLabel::layOut(QTextLayout& layout, int width) const
{
    QTextOption option(alignment());
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setFont(font());
    layout.setTextOption(option);
    layout.setText(text());
    int height = 0;
    int leading = fontMetrics().leading();
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(width);
        height += leading;
        line.setPosition(QPointF(0, height));
        height += int(std::ceil(line.height()));
    }
    layout.endLayout();
    return height;
}

QSize QzWrappingLabel::sizeHint() const
{
    return minimumSizeHint();
}

QSize QzWrappingLabel::minimumSizeHint() const
{
    QTextLayout layout;
    int height = layOut(layout, textWidth()) + 2 * margin() + 2 * frameWidth();
    return QSize(textWidth() + 2 * margin() + 2 * frameWidth(), std::max(height, minimumHeight()));
}

void QzWrappingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    QTextLayout layout;
    layOut(layout, contentsRect().width() - 2 * margin());
    painter.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::WindowText));
    layout.draw(&painter, contentsRect().adjusted(margin(), margin(), 0, 0).topLeft());
}

QzElidingLabel::QzElidingLabel(QWidget* parent) : QLabel(parent)
{
    setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
}

QSize QzElidingLabel::sizeHint() const
{
    return minimumSizeHint();
}

QSize QzElidingLabel::minimumSizeHint() const
{
    // The width is the column's; the text never widens it.
    return QSize(std::max(minimumWidth(), 1), QLabel::minimumSizeHint().height());
}

QRect QzElidingLabel::textArea() const
{
    return contentsRect().adjusted(margin(), margin(), -margin(), -margin());
}

QString QzElidingLabel::shownText() const
{
    return fontMetrics().elidedText(text(), Qt::ElideRight, textArea().width());
}

void QzElidingLabel::refreshToolTip()
{
    QString tip = shownText() == text() ? QString() : text();
    if (tip != toolTip()) {
        setToolTip(tip);
    }
}

void QzElidingLabel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    drawFrame(&painter);
    style()->drawItemText(&painter, textArea(), int(QStyle::visualAlignment(layoutDirection(), alignment())),
                          palette(), isEnabled(), shownText(), foregroundRole());
}

void QzElidingLabel::resizeEvent(QResizeEvent* event)
{
    QLabel::resizeEvent(event);
    refreshToolTip();
}

QPointF thumbCentre(const QSlider* slider, int value)
{
    QStyleOptionSlider option;
    option.initFrom(slider);
    option.orientation = slider->orientation();
    option.minimum = slider->minimum();
    option.maximum = slider->maximum();
    option.sliderPosition = value;
    option.sliderValue = value;
    option.tickPosition = slider->tickPosition();
    option.tickInterval = slider->tickInterval();
    option.upsideDown = slider->orientation() == Qt::Horizontal ? slider->invertedAppearance()
                                                                 : !slider->invertedAppearance();
    option.subControls = QStyle::SC_SliderHandle;
    return QRectF(slider->style()->subControlRect(QStyle::CC_Slider, &option, QStyle::SC_SliderHandle, slider))
        .center();
}

QzScale::QzScale(QWidget* parent) : QWidget(parent) {}

QWidget* QzScale::findBuddy()
{
    if (buddy_ == nullptr) {
        QString name = property("buddy").toString();
        buddy_ = name.isEmpty() ? nullptr : window()->findChild<QWidget*>(name);
        if (buddy_ != nullptr) {
            buddy_->installEventFilter(this);
            if (auto* slider = qobject_cast<QSlider*>(buddy_)) {
                connect(slider, &QSlider::rangeChanged, this, &QzScale::placeMarks);
            }
        }
    }
    return buddy_;
}

bool QzScale::event(QEvent* event)
{
    switch (event->type()) {
    case QEvent::Show:
    case QEvent::Resize:
    case QEvent::Move:
    case QEvent::LayoutRequest: // a mark's text changed
        placeMarks();
        break;
    default:
        break;
    }
    return QWidget::event(event);
}

bool QzScale::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == buddy_ &&
        (event->type() == QEvent::Resize || event->type() == QEvent::Move || event->type() == QEvent::Show)) {
        placeMarks();
    }
    return false;
}

bool QzScale::placeOf(const QLabel* mark, double& place) const
{
    auto* slider = qobject_cast<QSlider*>(buddy_.data());
    bool horizontal = slider == nullptr || slider->orientation() == Qt::Horizontal;
    QString end = mark->property("markEnd").toString();
    QVariant value = mark->property("markValue");
    QPointF point;
    if (slider != nullptr) {
        int position = end == "minimum" ? slider->minimum() : end == "maximum" ? slider->maximum() : value.toInt();
        if (end.isEmpty() && !value.isValid()) {
            return false;
        }
        point = thumbCentre(slider, position);
    } else {
        double minimum = property("minimum").toDouble();
        double maximum = property("maximum").toDouble();
        if (!value.isValid() || maximum == minimum) {
            return false;
        }
        point = QPointF((value.toDouble() - minimum) / (maximum - minimum) * buddy_->width(), 0);
    }
    QPointF here = mapFrom(window(), buddy_->mapTo(window(), point.toPoint())) + (point - point.toPoint());
    place = horizontal ? here.x() : here.y();
    return true;
}

void QzScale::placeMarks()
{
    if (findBuddy() == nullptr) {
        return;
    }
    auto* slider = qobject_cast<QSlider*>(buddy_.data());
    bool horizontal = slider == nullptr || slider->orientation() == Qt::Horizontal;
    for (QLabel* mark : findChildren<QLabel*>(Qt::FindDirectChildrenOnly)) {
        double place = 0;
        if (!placeOf(mark, place)) {
            continue;
        }
        QRect shown = mark->geometry();
        QSize size = mark->sizeHint();
        // Centred on the value, yet never reaching out of the strip.
        if (horizontal) {
            int left = int(std::lround(place - size.width() / 2.0));
            shown.setRect(std::clamp(left, 0, std::max(0, width() - size.width())), shown.top(), size.width(),
                          shown.height());
        } else {
            int top = int(std::lround(place - size.height() / 2.0));
            shown.setRect(shown.left(), std::clamp(top, 0, std::max(0, height() - size.height())), shown.width(),
                          size.height());
        }
        mark->setGeometry(shown);
    }
}
