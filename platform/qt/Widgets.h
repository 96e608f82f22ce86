#pragma once

#include <QLabel>
#include <QPointer>
#include <QStringList>
#include <QVector>
#include <QWidget>

class QGridLayout;
class QSlider;
class QTextLayout;

// An up-down control: two arrows and nothing else. The up arrow notifies -1, the
// down arrow +1; the arrow keys do the same when it has the focus.
class QzUpDown : public QWidget {
    Q_OBJECT
public:
    explicit QzUpDown(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    // The arrow keys in the buddy (the edit the control serves) work the arrows too.
    void setBuddy(QWidget* buddy);
    bool eventFilter(QObject* watched, QEvent* event) override;

signals:
    void stepped(int delta);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};

// Tabs in as many rows as the width needs, so that every caption shows whole and no
// tab hides behind scroll arrows. The row of the selected tab stands next to the
// page, the other rows keep their order above it, as users of multi-row tab
// controls know them.
class QzTabRows : public QWidget {
    Q_OBJECT
public:
    explicit QzTabRows(QWidget* parent = nullptr);

    int insertTab(int index, const QString& text);
    void removeTab(int index);
    int count() const { return int(texts_.size()); }
    QString tabText(int index) const;
    int currentIndex() const { return current_; }
    void setCurrentIndex(int index);
    // Where the tab stands now; empty for an index out of range.
    QRect tabRect(int index) const;
    int rowCount() const { return int(rows_.size()); }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void currentChanged(int index);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool event(QEvent* event) override;

private:
    QSize tabSize(int index) const;
    int rowHeight() const;
    // Splits the tabs into rows that fit the width, first tab first.
    QVector<QVector<int>> wrap(int width) const;
    void arrange();
    void select(int index);

    QStringList texts_;
    int current_ = -1;
    QVector<QVector<int>> rows_; // as wrapped, before the selected row is moved
    QVector<QRect> rects_;
    int arrangedHeight_ = 0;
};

// A tab control: rows of tabs over a display area in which the pages lie on top of
// each other.
class QzTabFrame : public QWidget {
    Q_OBJECT
public:
    explicit QzTabFrame(QWidget* parent = nullptr);

    QzTabRows* tabBar() const { return bar_; }
    QWidget* displayArea() const { return area_; }
    void addPage(QWidget* page);

private:
    QzTabRows* bar_;
    QWidget* area_;
    QGridLayout* areaLayout_;
};

// A label of a fixed width (the template's) whose text wraps at word boundaries and,
// where one word is wider than the label, inside the word; the label grows in height
// instead, so that no part of a message is cut off.
class QzWrappingLabel : public QLabel {
    Q_OBJECT
public:
    explicit QzWrappingLabel(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    // Lays the text out in the width and returns the height it takes.
    int layOut(QTextLayout& layout, int width) const;
    int textWidth() const;
};

// A status text of a fixed column whose text comes from outside (a name the unit
// reports, say): a text too long for the column shows shortened with an ellipsis and
// whole in the tooltip. It never asks for more room than the column gives it.
class QzElidingLabel : public QLabel {
    Q_OBJECT
public:
    explicit QzElidingLabel(QWidget* parent = nullptr);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The text as the label shows it now: whole, or shortened to its width.
    QString shownText() const;
    // The tooltip follows the text and the width; setting a text calls this.
    void refreshToolTip();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QRect textArea() const;
};

// Where a value of the slider stands: the middle of its thumb there, in the slider's
// own coordinates.
QPointF thumbCentre(const QSlider* slider, int value);

// A strip of marks beside a slider or a meter (its "buddy", by object name, in the same
// window). Each child label with a "markValue" stands centred on the place of that value
// along the buddy, however the layout or the slider's range changes; "markEnd" set to
// "minimum" or "maximum" marks an end of the slider's range. A slider's values are its
// own positions; a meter runs from the strip's "minimum" to its "maximum" across the
// buddy's width. Across the axis each label keeps the place the template gives it.
class QzScale : public QWidget {
    Q_OBJECT
public:
    explicit QzScale(QWidget* parent = nullptr);
    bool eventFilter(QObject* watched, QEvent* event) override;

protected:
    bool event(QEvent* event) override;

private:
    QWidget* findBuddy();
    void placeMarks();
    // Where the mark's value stands along the buddy, in this strip's coordinates.
    bool placeOf(const QLabel* mark, double& place) const;

    QPointer<QWidget> buddy_; // the window's own: it may go before the strip does
};
