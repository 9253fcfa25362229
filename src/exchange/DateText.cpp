#include "exchange/DateText.h"

#include "core/Codec.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>

namespace folianto {
namespace {

const QDate kEpoch(1899, 12, 30);

// The locale's short format with the year widened to four digits, so no
// century is lost in a file.
QString ShortFormat()
{
    QString fmt = QLocale().dateFormat(QLocale::ShortFormat);
    if (!fmt.contains(QLatin1String("yyyy")))
        fmt.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    return fmt;
}

// Two-digit years: the century that puts the year at most 20 years ahead.
int ExpandYear(int year)
{
    if (year >= 100)
        return year;
    const int current = QDate::currentDate().year();
    int full = current / 100 * 100 + year;
    if (full > current + 20)
        full -= 100;
    return full;
}

} // namespace

std::string DateToShortText(double value)
{
    if (!std::isfinite(value) || std::fabs(value) > 3.0e6)
        return {};
    const QDate date = kEpoch.addDays(static_cast<qint64>(std::trunc(value)));
    if (!date.isValid())
        return {};
    return ToCp1252(QLocale().toString(date, ShortFormat()));
}

std::optional<double> ShortTextToDate(const std::string& text)
{
    const QString s = FromCp1252(text).trimmed();
    if (s.isEmpty())
        return std::nullopt;
    const QString fmt = ShortFormat();
    const qsizetype d = fmt.indexOf(QLatin1Char('d'));
    const qsizetype m = fmt.indexOf(QLatin1Char('M'));
    const qsizetype y = fmt.indexOf(QLatin1Char('y'));
    const QStringList parts = s.split(QRegularExpression(QStringLiteral("[^0-9]+")), Qt::SkipEmptyParts);
    QDate date;
    if (parts.size() == 3 && d >= 0 && m >= 0 && y >= 0 && !s.contains(QRegularExpression(QStringLiteral("[^0-9./ -]")))) {
        // Three numbers in the order the format names day, month and year,
        // whatever separates them.
        auto rank = [&](qsizetype pos) { return (pos > d) + (pos > m) + (pos > y); };
        const QString& ys = parts[rank(y)];
        if (ys.size() != 2 && ys.size() != 4)
            return std::nullopt;
        date = QDate(ExpandYear(ys.toInt()), parts[rank(m)].toInt(), parts[rank(d)].toInt());
    } else {
        date = QLocale().toDate(s, fmt); // formats with month names
    }
    if (!date.isValid())
        return std::nullopt;
    return static_cast<double>(kEpoch.daysTo(date));
}

} // namespace folianto
