#pragma once

#include <QTabBar>
#include <QValidator>
#include <QWidget>

class QGridLayout;

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

private:
    int pressedArrow = 0;
};

// A row of tabs over a display area in which the pages lie on top of each other.
class QzTabFrame : public QWidget {
    Q_OBJECT
public:
    explicit QzTabFrame(QWidget* parent = nullptr);

    QTabBar* tabBar() const { return bar; }
    QWidget* displayArea() const { return area; }
    void addPage(QWidget* page);

private:
    QTabBar* bar;
    QWidget* area;
    QGridLayout* areaLayout;
};

// What an edit accepts from the keyboard: at most its limit of characters ("qzLimit",
// 0 for no limit) and only digits when the template says "number". Texts set by
// program are not checked.
class QzEditValidator : public QValidator {
public:
    explicit QzEditValidator(QObject* edit) : QValidator(edit), edit(edit) {}
    State validate(QString& input, int& position) const override;

private:
    QObject* edit;
};
