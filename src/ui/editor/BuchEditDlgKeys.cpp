// The title editor's key and focus filters: what Enter, Tab and typed keys do
// in each control, and leaving a control.

#include "ui/editor/BuchEditDlg.h"

#include "core/Codec.h"
#include "ui/editor/BibliothekPage.h"

#include <QApplication>
#include <QButtonGroup>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QToolButton>

namespace folianto {

namespace {

using C = EditControl;

// Focus changes that do not mean the user left a control.
bool Passing(const QFocusEvent* event)
{
    return event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason;
}

bool IsDigitsOnly(EditControl c)
{
    return c == C::AusgabeEdit || c == C::FirstEditionEdit || c == C::EditionYearEdit;
}

// The key as the key filters see it: a Windows-1252 character, '\b' for
// Backspace, '\r' for Enter; 0 for keys that type nothing.
char KeyChar(const QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Backspace: return '\b';
    case Qt::Key_Return:
    case Qt::Key_Enter: return '\r';
    default: break;
    }
    const QList<uint> chars = event->text().toUcs4();
    if (chars.size() != 1 || !QChar::isPrint(chars[0]))
        return 0;
    const std::string bytes = ToCp1252(event->text());
    // A character of another script is stored as a reference: to the key
    // filters it is neither a digit nor a separator.
    return bytes.size() == 1 ? bytes[0] : '?';
}

// The verdict of the field's key filter on `ch`; nothing for fields without one.
std::optional<KeyFilterResult> FieldKeyVerdict(EditControl control, QWidget* w, char ch)
{
    if (IsDigitsOnly(control))
        return DigitsOnlyKey(ch);
    if (control != C::EditPreis)
        return std::nullopt;
    auto* edit = static_cast<QLineEdit*>(w);
    const bool selection = edit->hasSelectedText();
    return PriceKey(ToCp1252(edit->text()), selection ? edit->selectionStart() : edit->cursorPosition(),
                    selection ? static_cast<int>(edit->selectedText().size()) : 0, ch);
}

} // namespace

bool TBuchEditDlg::FilterKey(EditControl control, QKeyEvent* event)
{
    const int key = event->key();
    model_.NoteKey(key == Qt::Key_Backspace || key == Qt::Key_Delete || key == Qt::Key_Clear);
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    QWidget* w = Control(control);
    const bool textual = LineEditOf(w) || qobject_cast<QPlainTextEdit*>(w);

    if (enter && control == C::ListBoxAlleSchlagworte) {
        TakeOverKeyword();
        return true;
    }
    if (enter && mods == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(w)) {
            button->click();
            return true;
        }
        if (qobject_cast<QToolButton*>(w))
            return false;
        WalkFocus(control);
        return true;
    }
    if (enter && textual)
        return true; // no line breaks anywhere
    if (key == Qt::Key_Tab && mods == Qt::NoModifier) {
        WalkFocus(control);
        return true;
    }

    const char ch = (mods & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier)) ? 0 : KeyChar(event);
    const std::optional<KeyFilterResult> verdict = ch ? FieldKeyVerdict(control, w, ch) : std::nullopt;
    if (!verdict)
        return false;
    switch (verdict->Verdict) {
    case KeyVerdict::Accept:
        return false;
    case KeyVerdict::Replace:
        static_cast<QLineEdit*>(w)->insert(FromCp1252(std::string(1, verdict->Replacement)));
        return true;
    case KeyVerdict::DiscardBeep:
        QApplication::beep();
        return true;
    case KeyVerdict::Discard:
        return true;
    }
    return true;
}

void TBuchEditDlg::WalkFocus(EditControl from)
{
    const QButtonGroup* types = bibliothekPage_->LiteraturTyp();
    const int typ = types->checkedId() >= 0 ? types->checkedId() : model_.Values.LiteraturTyp;
    const std::optional<FocusRequest> target = FocusWalk(from, CurrentPage(), typ);
    QWidget* before = QApplication::focusWidget();
    focusNextChild();
    // A leave rule that refused (message shown) has put the focus back.
    if (!target || QApplication::focusWidget() == before)
        return;
    if (target->Page != PageNone)
        pages_->setCurrentIndex(target->Page - 1);
    if (target->Control)
        FocusControl(*target->Control);
}

bool TBuchEditDlg::eventFilter(QObject* watched, QEvent* event)
{
    const EditControl control = controls_.ControlOf(watched);
    if (control == C::Count)
        return QDialog::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::KeyPress:
        if (FilterKey(control, static_cast<QKeyEvent*>(event)))
            return true;
        break;
    case QEvent::FocusOut:
        if (!Passing(static_cast<QFocusEvent*>(event)))
            LeaveControl(control);
        break;
    case QEvent::Show:
    case QEvent::Resize:
        if (control == C::EditQuelle && bibliothekPage_)
            bibliothekPage_->ApplyQuelleLink();
        break;
    case QEvent::MouseButtonDblClick:
        if (control == C::EditQuelle && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            QuelleDoubleClicked();
        break;
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void TBuchEditDlg::keyPressEvent(QKeyEvent* event)
{
    // Escape closes as cancel; Enter reaching the dialog presses nothing.
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace folianto
