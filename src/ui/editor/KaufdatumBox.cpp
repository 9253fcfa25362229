#include "ui/editor/KaufdatumBox.h"

#include <QFocusEvent>
#include <QKeyEvent>

#include <cmath>

namespace folianto {

namespace {

const QDate DayZero(1899, 12, 30);
// The box's minimum stands for "blank"; real dates start the day after.
const QDate BlankDate(1899, 12, 31);

// Focus changes that do not mean the user entered or left the box.
bool Passing(const QFocusEvent* event)
{
    return event->reason() == Qt::PopupFocusReason || event->reason() == Qt::ActiveWindowFocusReason;
}

} // namespace

KaufdatumBox::KaufdatumBox(QWidget* parent) : QDateEdit(parent)
{
    setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    setCalendarPopup(true);
    setMinimumDate(BlankDate);
    setMaximumDate(QDate(9999, 12, 31));
    setSpecialValueText(QStringLiteral(" "));
    SetDay(std::nullopt);
    connect(this, &QDateEdit::dateChanged, this, [this](const QDate& date) {
        if (setting_)
            return;
        if (date <= BlankDate)
            Q_EMIT Cleared();
        else
            Q_EMIT Chosen(DayOf(date));
    });
}

double KaufdatumBox::DayOf(const QDate& date)
{
    return static_cast<double>(DayZero.daysTo(date));
}

QDate KaufdatumBox::DateOf(double day)
{
    return DayZero.addDays(static_cast<qint64>(std::floor(day)));
}

void KaufdatumBox::SetDay(std::optional<double> day)
{
    const QDate wanted = day && *day >= 1.0 && std::fabs(*day) < 4e6 ? DateOf(*day) : BlankDate;
    if (date() == wanted && (wanted != BlankDate || IsBlank()))
        return;
    setting_ = true;
    setDate(wanted < BlankDate ? BlankDate : wanted);
    setting_ = false;
}

std::optional<double> KaufdatumBox::Day() const
{
    if (IsBlank())
        return std::nullopt;
    return DayOf(date());
}

bool KaufdatumBox::IsBlank() const
{
    return date() <= BlankDate;
}

void KaufdatumBox::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Delete || event->key() == Qt::Key_Backspace) {
        SetDay(std::nullopt);
        Q_EMIT Cleared();
        return;
    }
    QDateEdit::keyPressEvent(event);
}

void KaufdatumBox::focusInEvent(QFocusEvent* event)
{
    QDateEdit::focusInEvent(event);
    if (!Passing(event))
        Q_EMIT Entered();
}

void KaufdatumBox::focusOutEvent(QFocusEvent* event)
{
    QDateEdit::focusOutEvent(event);
    if (!Passing(event))
        Q_EMIT Left();
}

} // namespace folianto
