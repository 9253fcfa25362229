#include "lookup/Identifier.h"

#include "core/Codec.h"

namespace folianto {
namespace {

bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool StartsWithNoCase(const std::string& s, const char* prefix)
{
    std::size_t i = 0;
    for (; prefix[i] != '\0'; ++i)
        if (i >= s.size() || LowerAscii(s[i]) != LowerAscii(prefix[i]))
            return false;
    return true;
}

std::string Trimmed(const std::string& s)
{
    const std::size_t a = s.find_first_not_of(" \t\r\n");
    if (a == std::string::npos)
        return {};
    return s.substr(a, s.find_last_not_of(" \t\r\n") - a + 1);
}

bool Isbn10CheckOk(const std::string& d)
{
    int sum = 0;
    for (int i = 0; i < 10; ++i)
        sum += (10 - i) * (d[static_cast<std::size_t>(i)] == 'X' ? 10 : d[static_cast<std::size_t>(i)] - '0');
    return sum % 11 == 0;
}

char Isbn13CheckDigit(const std::string& first12)
{
    int sum = 0;
    for (int i = 0; i < 12; ++i)
        sum += (i % 2 == 0 ? 1 : 3) * (first12[static_cast<std::size_t>(i)] - '0');
    return static_cast<char>('0' + (10 - sum % 10) % 10);
}

char Isbn10CheckDigit(const std::string& first9)
{
    int sum = 0;
    for (int i = 0; i < 9; ++i)
        sum += (10 - i) * (first9[static_cast<std::size_t>(i)] - '0');
    const int check = (11 - sum % 11) % 11;
    return check == 10 ? 'X' : static_cast<char>('0' + check);
}

// The characters of an ISBN without "ISBN", blanks and hyphens; empty when
// something else stands in it.
std::string IsbnCharacters(std::string text)
{
    if (StartsWithNoCase(text, "isbn")) {
        text.erase(0, 4);
        if (StartsWithNoCase(text, "-13") || StartsWithNoCase(text, "-10"))
            text.erase(0, 3);
        const std::size_t a = text.find_first_not_of(" :");
        text.erase(0, a == std::string::npos ? text.size() : a);
    }
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (IsDigit(c))
            out += c;
        else if ((c == 'X' || c == 'x') && i + 1 == text.size())
            out += 'X';
        else if (c != '-' && c != ' ')
            return {};
    }
    return out;
}

} // namespace

std::string LookupId::Key() const
{
    if (kind == Kind::Isbn)
        return Isbn13;
    std::string key = Doi;
    for (char& c : key)
        c = LowerAscii(c);
    return key;
}

LookupId ParseLookupId(const std::string& given)
{
    LookupId id;
    id.Text = Trimmed(given);
    std::string text = id.Text;
    if (text.empty()) {
        id.Error = "Kein Bezeichner angegeben.";
        return id;
    }
    for (const char* prefix : {"https://doi.org/", "http://doi.org/", "https://dx.doi.org/", "http://dx.doi.org/",
                               "doi.org/", "doi:", "doi "}) {
        if (StartsWithNoCase(text, prefix)) {
            text = Trimmed(text.substr(std::string(prefix).size()));
            break;
        }
    }
    if (text.compare(0, 3, "10.") == 0) {
        const std::size_t slash = text.find('/');
        if (slash == std::string::npos || slash < 4 || slash + 1 >= text.size() ||
            text.find_first_of(" \t") != std::string::npos) {
            id.Error = Cp1252("Ungültige DOI: ") + id.Text;
            return id;
        }
        id.kind = LookupId::Kind::Doi;
        id.Doi = text;
        return id;
    }

    const std::string d = IsbnCharacters(text);
    if (d.size() == 10 && d.find('X') >= 9) {
        if (!Isbn10CheckOk(d)) {
            id.Error = Cp1252("Falsche Prüfziffer, keine gültige ISBN: ") + id.Text;
            return id;
        }
        id.kind = LookupId::Kind::Isbn;
        id.Isbn10 = d;
        id.Isbn13 = "978" + d.substr(0, 9);
        id.Isbn13 += Isbn13CheckDigit(id.Isbn13);
        return id;
    }
    if (d.size() == 13 && d.find('X') == std::string::npos && (d.compare(0, 3, "978") == 0 || d.compare(0, 3, "979") == 0)) {
        if (Isbn13CheckDigit(d) != d[12]) {
            id.Error = Cp1252("Falsche Prüfziffer, keine gültige ISBN: ") + id.Text;
            return id;
        }
        id.kind = LookupId::Kind::Isbn;
        id.Isbn13 = d;
        if (d.compare(0, 3, "978") == 0)
            id.Isbn10 = d.substr(3, 9) + Isbn10CheckDigit(d.substr(3, 9));
        return id;
    }
    id.Error = Cp1252("Weder ISBN (10 oder 13 Ziffern) noch DOI: ") + id.Text;
    return id;
}

std::string NormalisedIsbn13(const std::string& isbnField)
{
    // The field may hold a qualifier ("(kart.)") or a second ISBN after a
    // separator: the first run of ISBN characters counts.
    std::string run;
    for (char c : isbnField) {
        if (IsDigit(c) || c == 'X' || c == 'x' || c == '-' || c == ' ') {
            run += c;
            continue;
        }
        if (run.find_first_of("0123456789") != std::string::npos && c != ':')
            break;
        run.clear();
    }
    std::string digits;
    for (char c : run)
        if (IsDigit(c) || c == 'X' || c == 'x')
            digits += c == 'x' ? 'X' : c;
    const LookupId id = ParseLookupId(digits);
    return id.kind == LookupId::Kind::Isbn ? id.Isbn13 : std::string();
}

} // namespace folianto
