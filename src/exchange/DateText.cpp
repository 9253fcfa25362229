#include "exchange/DateText.h"

#include "core/Codec.h"

#include <QDate>
#include <QLocale>
#include <QRegularExpression>

#include <cmath>
#include <cstdio>

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

namespace folianto {
namespace {

// Month names, German and English, lower case (UTF-8); any beginning of three
// letters or more names the month too ("Sept", "Okt", "Dez").
const char* const kMonthNames[][3] = {
    {"januar", "january", "jänner"},  {"februar", "february", "feber"}, {"märz", "march", "maerz"},
    {"april", "april", "april"},      {"mai", "may", "may"},            {"juni", "june", "juni"},
    {"juli", "july", "juli"},         {"august", "august", "august"},   {"september", "september", "september"},
    {"oktober", "october", "oktober"}, {"november", "november", "november"}, {"dezember", "december", "dezember"},
};

bool ValidDate(const DateParts& d)
{
    if (d.Year <= 0 || d.Month < 0 || d.Month > 12 || d.Day < 0 || (d.Day > 0 && d.Month == 0))
        return false;
    return d.Day == 0 || QDate(d.Year, d.Month, d.Day).isValid();
}

// One date without span or "circa"; Year 0 when the text is none.
DateParts OneDate(const QString& s)
{
    static const QRegularExpression year(QStringLiteral("^(\\d{3,4})$"));
    static const QRegularExpression dmy(QStringLiteral("^(\\d{1,2})\\.\\s*(\\d{1,2})\\.\\s*(\\d{4})$"));
    static const QRegularExpression iso(QStringLiteral("^(\\d{4})-(\\d{1,2})(?:-(\\d{1,2}))?$"));
    static const QRegularExpression my(QStringLiteral("^(\\d{1,2})\\s*[/.]\\s*(\\d{4})$"));
    static const QRegularExpression named(
        QStringLiteral("^(?:(\\d{1,2})\\.?\\s*)?(\\p{L}+)\\.?\\s*(\\d{1,2}\\s*,)?\\s*(\\d{4})$"));
    DateParts d;
    QRegularExpressionMatch m;
    if ((m = year.match(s)).hasMatch()) {
        d.Year = m.captured(1).toInt();
    } else if ((m = dmy.match(s)).hasMatch()) {
        d = {m.captured(3).toInt(), m.captured(2).toInt(), m.captured(1).toInt()};
    } else if ((m = iso.match(s)).hasMatch()) {
        d = {m.captured(1).toInt(), m.captured(2).toInt(), m.captured(3).toInt()};
    } else if ((m = my.match(s)).hasMatch()) {
        d = {m.captured(2).toInt(), m.captured(1).toInt(), 0};
    } else if ((m = named.match(s)).hasMatch()) {
        // "10. November 1989", "Nov. 1989", "November 10, 1989"
        const int month = MonthOfName(ToCp1252(m.captured(2)));
        QString day = m.captured(1).isEmpty() ? m.captured(3) : m.captured(1);
        day.remove(QLatin1Char(','));
        if (month > 0 && (m.captured(1).isEmpty() || m.captured(3).isEmpty()))
            d = {m.captured(4).toInt(), month, day.trimmed().toInt()};
    }
    return ValidDate(d) ? d : DateParts{};
}

std::string Two(int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "%02d", n);
    return buf;
}

std::string OneDateText(const DateParts& d)
{
    if (d.Day > 0)
        return Two(d.Day) + "." + Two(d.Month) + "." + std::to_string(d.Year);
    if (d.Month > 0)
        return Two(d.Month) + "/" + std::to_string(d.Year);
    return std::to_string(d.Year);
}

} // namespace

int MonthOfName(const std::string& cp1252)
{
    QString name = FromCp1252(cp1252).trimmed().toLower();
    if (name.endsWith(QLatin1Char('.')))
        name.chop(1);
    if (name.size() < 3)
        return 0;
    if (name == QLatin1String("mrz"))
        return 3;
    for (int m = 0; m < 12; ++m)
        for (const char* full : kMonthNames[m])
            if (QString::fromUtf8(full).startsWith(name))
                return m + 1;
    return 0;
}

const char* MonthAbbreviation(int month)
{
    static const char* const names[] = {"jan", "feb", "mar", "apr", "may", "jun",
                                        "jul", "aug", "sep", "oct", "nov", "dec"};
    return month >= 1 && month <= 12 ? names[month - 1] : "";
}

IssuedDate ParseIssuedDate(const std::string& text)
{
    IssuedDate out;
    // Most years are just that: no text work.
    if ((text.size() == 4 || text.size() == 3) && text.find_first_not_of("0123456789") == std::string::npos &&
        text[0] != '0') {
        out.Parts = {{std::stoi(text), 0, 0}};
        out.Literal = text;
        return out;
    }
    QString s = FromCp1252(text).simplified();
    out.Literal = ToCp1252(s);
    if (s.size() > 60) // no date is that long; a long text stays a text, fast
        return out;
    // A year the catalogue inferred: "[2013]", "[2013?]".
    if (s.startsWith(QLatin1Char('[')) && s.endsWith(QLatin1Char(']')))
        s = s.mid(1, s.size() - 2).trimmed();
    if (s.endsWith(QLatin1Char('?')))
        s.chop(1);
    static const QRegularExpression circa(QStringLiteral("^(?:ca\\.?|circa|um|etwa|c\\.)\\s*(.+)$"),
                                          QRegularExpression::CaseInsensitiveOption);
    if (const QRegularExpressionMatch m = circa.match(s); m.hasMatch()) {
        out.Circa = true;
        s = m.captured(1);
    }
    if (const DateParts d = OneDate(s); d.Year > 0) {
        out.Parts = {d};
        return out;
    }
    // A span: "1998/99", "1998-2001", "1998 – 2001", "11/1989-02/1990".
    for (qsizetype i = 1; i + 1 < s.size(); ++i) {
        const QChar c = s.at(i);
        if (c != QLatin1Char('/') && c != QLatin1Char('-') && c != QChar(0x2013) && c != QChar(0x2014))
            continue;
        const QString first = s.left(i).trimmed();
        const QString second = s.mid(i + 1).trimmed();
        const DateParts a = OneDate(first);
        DateParts b = OneDate(second);
        if (a.Year > 0 && a.Month == 0 && b.Year == 0 && second.size() == 2 && second.at(0).isDigit() &&
            second.at(1).isDigit())
            b.Year = a.Year / 100 * 100 + second.toInt(); // "1998/99"
        const bool later = b.Year > a.Year || (b.Year == a.Year && (b.Month > a.Month || (b.Month == a.Month && b.Day > a.Day)));
        if (a.Year > 0 && b.Year > 0 && later) {
            out.Parts = {a, b};
            return out;
        }
    }
    out.Circa = false;
    return out;
}

std::string IssuedDateText(const IssuedDate& date)
{
    if (date.Parts.empty())
        return date.Literal;
    std::string out = date.Circa ? "ca. " : "";
    const DateParts& a = date.Parts[0];
    out += OneDateText(a);
    if (date.Parts.size() > 1) {
        const DateParts& b = date.Parts[1];
        if (a.Month == 0 && b.Month == 0 && b.Year == a.Year + 1 && b.Year / 100 == a.Year / 100)
            out += "/" + Two(b.Year % 100);
        else
            out += "-" + OneDateText(b);
    }
    return out;
}

} // namespace folianto
