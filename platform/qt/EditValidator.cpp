#include <QAction>
#include <QChildEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>

#include <algorithm>

#include "platform/qt/EditValidator.h"

// What a change put into the text shown before it: what lies between the longest start
// and then the longest end the two texts share. Empty for a change that only deleted.
static QStringView insertedBy(QStringView before, QStringView after)
{
    const qsizetype shorter = std::min(before.size(), after.size());
    qsizetype start = 0;
    while (start < shorter && before[start] == after[start]) {
        ++start;
    }
    qsizetype end = 0;
    while (end < shorter - start && before[before.size() - 1 - end] == after[after.size() - 1 - end]) {
        ++end;
    }
    return after.mid(start, after.size() - start - end);
}

// Whether the line edit takes the key's text as typed text, told as the line edit tells
// it: printable text, not a shortcut with Control.
static bool typesText(const QKeyEvent* key)
{
    const QString text = key->text();
    if (text.isEmpty()) {
        return false;
    }
    const QChar first = text.front();
    if (first.category() == QChar::Other_Format) {
        return true; // joiners and direction marks, which some keyboards give with Control
    }
    const Qt::KeyboardModifiers modifiers = key->modifiers();
    if (modifiers == Qt::ControlModifier || modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        return false;
    }
    return first.isPrint() || first.category() == QChar::Other_PrivateUse ||
           (first.isHighSurrogate() && text.size() > 1 && text[1].isLowSurrogate());
}

// Ends the line edit's current undo step, so that what comes next is a step of its own:
// the line edit ends a step when its caret moves, and has no other way to be told.
static void endUndoStep(QLineEdit* edit)
{
    const int caret = edit->cursorPosition();
    const int elsewhere = caret > 0 ? caret - 1 : caret + 1;
    if (elsewhere > edit->text().size()) {
        return; // an empty text: nothing before it that what comes next could join
    }
    edit->setCursorPosition(elsewhere);
    edit->setCursorPosition(caret);
}

QzEditValidator::QzEditValidator(QLineEdit* edit) : QValidator(edit), edit_(edit), shown_(edit->text())
{
    connect(edit, &QLineEdit::textChanged, this, [this](const QString& text) { shown_ = text; });
    edit->installEventFilter(this);
    // The keys and input method text of an editable drop-down list reach its edit
    // through the box, not as events of the edit.
    if (auto* combo = qobject_cast<QComboBox*>(edit->parentWidget());
        combo != nullptr && combo->lineEdit() == edit) {
        combo->installEventFilter(this);
    }
}

QValidator::State QzEditValidator::validate(QString& input, int&) const
{
    // A text set whole leaves the line edit nothing to undo, and an undo or a redo leaves
    // it something to redo: either brings a text the edit is to show as it is.
    if (input == shown_ || !edit_->isUndoAvailable() || edit_->isRedoAvailable()) {
        return Acceptable;
    }
    const QStringView inserted = insertedBy(shown_, input);
    return taken(inserted, input.size() - inserted.size()).size() == inserted.size() ? Acceptable : Invalid;
}

QStringView QzEditValidator::taken(QStringView inserted, qsizetype kept) const
{
    auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (digitsOnly() && !std::all_of(inserted.begin(), inserted.end(), isDigit)) {
        return {};
    }
    const int most = limit();
    if (most <= 0 || kept + inserted.size() <= most) {
        return inserted;
    }
    qsizetype room = std::max<qsizetype>(0, most - kept);
    // Never half of a surrogate pair: a character that does not fit whole stays out.
    if (room > 0 && inserted[room - 1].isHighSurrogate() && inserted[room].isLowSurrogate()) {
        --room;
    }
    return inserted.left(room);
}

int QzEditValidator::limit() const
{
    return edit_->property("qzLimit").toInt();
}

bool QzEditValidator::digitsOnly() const
{
    return edit_->property("number").toBool();
}

qsizetype QzEditValidator::keptAroundSelection() const
{
    return edit_->text().size() - edit_->selectionLength();
}

bool QzEditValidator::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::InputMethod && type != QEvent::MouseButtonRelease &&
        type != QEvent::ChildPolished) {
        return false;
    }
    // An edit that takes whatever it is given needs no judging, nor a second look at the
    // clipboard for each paste.
    if (edit_->isReadOnly() || (limit() <= 0 && !digitsOnly())) {
        return false;
    }
    switch (type) {
    case QEvent::KeyPress:
        return onKey(watched, static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
        fitInputMethodText(static_cast<QInputMethodEvent*>(event));
        return false;
    case QEvent::MouseButtonRelease:
        return watched == edit_ && onMouseRelease(static_cast<QMouseEvent*>(event));
    case QEvent::ChildPolished:
        // The line edit's own menu, about to show: its Paste is judged as any paste.
        if (auto* menu = qobject_cast<QMenu*>(static_cast<QChildEvent*>(event)->child());
            watched == edit_ && menu) {
            routeMenuPaste(menu);
        }
        return false;
    default:
        return false;
    }
}

bool QzEditValidator::onKey(QObject* receiver, QKeyEvent* key)
{
    // Control+Shift+Insert pastes the clipboard or the selection as the desktop's key
    // scheme has it, which is not known here: the line edit pastes it, judged whole.
    const bool schemeDecides =
        key->key() == Qt::Key_Insert && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
    if (key->matches(QKeySequence::Paste) && !schemeDecides) {
        if (!pasteWhatFits(QClipboard::Clipboard)) {
            return false;
        }
        key->accept();
        return true;
    }
    if (!typesText(key)) {
        return false;
    }
    const QString typed = key->text();
    const QStringView fit = taken(typed, keptAroundSelection());
    if (fit.size() == typed.size()) {
        return false;
    }
    if (!fit.isEmpty()) {
        // The part that fits is typed as the key's own text would have been.
        QKeyEvent fitted(key->type(), key->key(), key->modifiers(), fit.toString(), key->isAutoRepeat(),
                         ushort(key->count()));
        QCoreApplication::sendEvent(receiver, &fitted);
    }
    key->accept();
    return true;
}

void QzEditValidator::fitInputMethodText(QInputMethodEvent* input) const
{
    const QString commit = input->commitString();
    if (commit.isEmpty()) {
        return;
    }
    // The line edit lets the selection go, then the characters the input method replaces
    // around the caret, and inserts the text at the caret.
    const qsizetype length = keptAroundSelection();
    const qsizetype caret = edit_->hasSelectedText() ? edit_->selectionStart() : edit_->cursorPosition();
    const qsizetype from = std::clamp<qsizetype>(caret + input->replacementStart(), 0, length);
    const qsizetype replaced = input->replacementLength();
    const QStringView fit =
        taken(commit, replaced > 0 && from + replaced <= length ? length - replaced : length);
    if (fit.size() == commit.size()) {
        return;
    }
    if (fit.isEmpty()) {
        input->setCommitString(QString()); // nothing replaced either: the change is refused whole
    } else {
        input->setCommitString(fit.toString(), input->replacementStart(), input->replacementLength());
    }
}

bool QzEditValidator::onMouseRelease(QMouseEvent* mouse)
{
    // The middle button pastes the selection where the platform has one, at the caret: the
    // line edit lets its own selection go first.
    if (mouse->button() != Qt::MiddleButton || !QGuiApplication::clipboard()->supportsSelection()) {
        return false;
    }
    edit_->deselect();
    if (!pasteWhatFits(QClipboard::Selection)) {
        return false;
    }
    mouse->accept();
    return true;
}

void QzEditValidator::routeMenuPaste(QMenu* menu)
{
    for (QAction* action : menu->actions()) {
        if (disconnect(action, SIGNAL(triggered()), edit_, SLOT(paste()))) {
            connect(action, &QAction::triggered, this, [this] {
                if (!pasteWhatFits(QClipboard::Clipboard)) {
                    edit_->paste();
                }
            });
        }
    }
}

bool QzEditValidator::pasteWhatFits(QClipboard::Mode mode)
{
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    const QStringView fit = taken(pasted, keptAroundSelection());
    if (fit.size() == pasted.size()) {
        return false;
    }
    if (!fit.isEmpty()) {
        insertAsPaste(fit.toString());
    }
    return true;
}

void QzEditValidator::insertAsPaste(const QString& text)
{
    // Text put in place of a selection starts an undo step by itself.
    if (!edit_->hasSelectedText()) {
        endUndoStep(edit_);
    }
    edit_->insert(text);
    endUndoStep(edit_);
}
