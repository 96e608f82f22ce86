#pragma once

#include <QClipboard>
#include <QString>
#include <QStringView>
#include <QValidator>

class QEvent;
class QDropEvent;
class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;
class QMenu;
class QMouseEvent;

// What an edit takes from the user: no more characters than its limit ("qzLimit", 0 for
// none), and only the digits 0 to 9 where the template says "number". A limited edit
// holds a text of the unit's, one byte a character (Latin-1): a character outside that
// set goes in as one "?", as it will be sent, and counts as one. A text set by program is
// shown whole, however long, and so is an item picked from the list of an editable
// drop-down list; deleting is always possible; undo and redo move between texts the edit
// has shown.
//
// Typed, pasted and input method text is judged before it reaches the line edit: of what
// does not fit, the characters that fit go in, as the same kind of step for undo; when
// none fit, nothing happens at all. The line edit so keeps its text, caret, selection,
// undo and redo history, and the mark that ends its current undo step, as a line edit
// with a plain limit does; no change is notified.
//
// As a validator it refuses whatever other change leaves a text longer than the limit or
// brings a character the edit cannot hold: the line edit then undoes that change itself.
// A drop is such a change, once its text is made what the edit can hold.
class QzEditValidator : public QValidator {
    Q_OBJECT
public:
    explicit QzEditValidator(QLineEdit* edit);

    State validate(QString& input, int& position) const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int limit() const;       // the most characters typing may leave, 0 for no limit
    bool digitsOnly() const; // the template's "number": 0 to 9 only
    // The text as the edit holds it: for a limited edit, its characters as the unit's bytes.
    QString heldOf(QStringView text) const;
    // What of the text put in place of the selection the edit takes, with `kept`
    // characters of its text staying around it.
    QString taken(QStringView inserted, qsizetype kept) const;
    // Characters of the text that stay when the selection gives way to new text.
    qsizetype keptAroundSelection() const;

    bool onKey(QObject* receiver, QKeyEvent* key);
    void fitInputMethodText(QInputMethodEvent* input) const;
    bool onMouseRelease(QMouseEvent* mouse);
    bool onDrop(QDropEvent* drop);
    void routeMenuPaste(QMenu* menu);

    // Pastes what fits of the clipboard in place of the selection, or nothing when none
    // of it fits; false when the whole fits, for the line edit to paste it as its own.
    bool pasteWhatFits(QClipboard::Mode mode);
    // Inserts text as the line edit's own paste does: an undo step of its own.
    void insertAsPaste(const QString& text);

    QLineEdit* edit_;
    QString shown_; // the edit's text before the change being judged
};
