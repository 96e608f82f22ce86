#include <QAction>
#include <QChildEvent>
#include <QComboBox>
#include <QCoreApplication>
#include <QDropEvent>
#include <QGuiApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
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

// The text as the window layer's one-byte characters (Latin-1) hold it: every other
// character, whether of one UTF-16 unit or of two, becomes one "?", which is how it
// would be read back and sent.
static QString asSingleBytes(QStringView text)
{
    QString held;
    held.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c.unicode() <= 0xFF) {
            held.append(c);
            continue;
        }
        if (c.isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate()) {
            ++i;
        }
        held.append(u'?');
    }
    return held;
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
// the line edit ends a step when its caret moves, and has no other way to be told. An
// empty text leaves the caret nowhere to go, yet what comes next would still join the
// deletion that emptied it; clearing an empty edit ends the step and changes nothing.
static void endUndoStep(QLineEdit* edit)
{
    if (edit->text().isEmpty()) {
        edit->clear();
        return;
    }
    const int caret = edit->cursorPosition();
    edit->setCursorPosition(caret > 0 ? caret - 1 : caret + 1);
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
    return taken(inserted, input.size() - inserted.size()) == inserted ? Acceptable : Invalid;
}

QString QzEditValidator::taken(QStringView inserted, qsizetype kept) const
{
    const int most = limit();
    const QString held = heldOf(inserted);
    auto isDigit = [](QChar c) { return c >= u'0' && c <= u'9'; };
    if (digitsOnly() && !std::all_of(held.begin(), held.end(), isDigit)) {
        return {};
    }
    if (most <= 0 || kept + held.size() <= most) {
        return held;
    }
    return held.left(std::max<qsizetype>(0, most - kept));
}

QString QzEditValidator::heldOf(QStringView text) const
{
    // A limited edit holds a text of the unit's, one byte a character: the limit counts
    // those, and what the edit shows is what will be sent.
    return limit() > 0 ? asSingleBytes(text) : text.toString();
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
        type != QEvent::Drop && type != QEvent::ChildPolished) {
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
    case QEvent::Drop:
        return watched == edit_ && onDrop(static_cast<QDropEvent*>(event));
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
    if (key->matches(QKeySequence::Paste)) {
        // Only the X11 key scheme makes Control+Shift+Insert a paste key, and there the
        // line edit pastes the selection with it.
        const bool selection =
            key->key() == Qt::Key_Insert && key->modifiers() == (Qt::ControlModifier | Qt::ShiftModifier);
        if (!pasteWhatFits(selection ? QClipboard::Selection : QClipboard::Clipboard)) {
            return false;
        }
        key->accept();
        return true;
    }
    if (!typesText(key)) {
        return false;
    }
    const QString typed = key->text();
    const QString fit = taken(typed, keptAroundSelection());
    if (fit == typed) {
        return false;
    }
    if (!fit.isEmpty()) {
        // What fits is typed as the key's own text would have been.
        QKeyEvent fitted(key->type(), key->key(), key->modifiers(), fit, key->isAutoRepeat(),
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
    const QString fit = taken(commit, replaced > 0 && from + replaced <= length ? length - replaced : length);
    if (fit == commit) {
        return;
    }
    if (fit.isEmpty()) {
        input->setCommitString(QString()); // nothing replaced either: the change is refused whole
    } else {
        input->setCommitString(fit, input->replacementStart(), input->replacementLength());
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

// The line edit's menu item Paste, by its name where it has one, or else by its text
// (before the tab that shows its key).
static bool isLineEditsPaste(const QAction* action)
{
    return action->objectName() == QLatin1String("edit-paste") ||
           action->text().section(u'\t', 0, 0) == QLineEdit::tr("&Paste");
}

bool QzEditValidator::onDrop(QDropEvent* drop)
{
    // A drop is judged by the validator once it is in; what it brings is first made what
    // the edit can hold, by handing the line edit the same drop with that text.
    const QMimeData* data = drop->mimeData();
    const QString text = data != nullptr ? data->text() : QString();
    const QString held = heldOf(text);
    if (held == text) {
        return false;
    }
    QMimeData heldData;
    heldData.setText(held);
    QDropEvent heldDrop(drop->position(), drop->possibleActions(), &heldData, drop->buttons(), drop->modifiers());
    heldDrop.setDropAction(drop->dropAction());
    QCoreApplication::sendEvent(edit_, &heldDrop);
    drop->setDropAction(heldDrop.dropAction());
    drop->setAccepted(heldDrop.isAccepted());
    return true;
}

void QzEditValidator::routeMenuPaste(QMenu* menu)
{
    // The menu's own Paste is put aside for one of the same look that pastes as the keys
    // do: how the line edit connects its action differs from one version of it to the next.
    for (QAction* own : menu->actions()) {
        if (!isLineEditsPaste(own) || own->property("qzJudged").toBool()) {
            continue;
        }
        auto* judged = new QAction(own->icon(), own->text(), menu);
        judged->setObjectName(own->objectName());
        judged->setEnabled(own->isEnabled());
        judged->setProperty("qzJudged", true);
        connect(judged, &QAction::triggered, this, [this] {
            if (!pasteWhatFits(QClipboard::Clipboard)) {
                edit_->paste();
            }
        });
        menu->insertAction(own, judged);
        menu->removeAction(own);
        return;
    }
}

bool QzEditValidator::pasteWhatFits(QClipboard::Mode mode)
{
    const QString pasted = QGuiApplication::clipboard()->text(mode);
    const QString fit = taken(pasted, keptAroundSelection());
    if (fit == pasted) {
        return false;
    }
    if (!fit.isEmpty()) {
        insertAsPaste(fit);
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
