#include <QGridLayout>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOption>
#include <QVBoxLayout>

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

QzTabFrame::QzTabFrame(QWidget* parent) : QWidget(parent)
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    bar = new QTabBar(this);
    bar->setDrawBase(true);
    bar->setExpanding(false);
    area = new QWidget(this);
    area->setAutoFillBackground(false);
    areaLayout = new QGridLayout(area);
    areaLayout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(bar);
    layout->addWidget(area, 1);
}

void QzTabFrame::addPage(QWidget* page)
{
    areaLayout->addWidget(page, 0, 0); // every page in the same cell, one over the other
}

QValidator::State QzEditValidator::validate(QString& input, int&) const
{
    int limit = edit->property("qzLimit").toInt();
    if (limit > 0 && input.size() > limit) {
        return Invalid;
    }
    if (edit->property("number").toBool()) {
        for (QChar c : input) {
            if (!c.isDigit()) {
                return Invalid;
            }
        }
    }
    return Acceptable;
}
