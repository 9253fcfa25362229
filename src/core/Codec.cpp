#include "core/Codec.h"

#include <QList>

#include <algorithm>
#include <array>

namespace folianto {
namespace {

// Unicode code points of the bytes 0x80..0x9F; 0 marks the five unused codes,
// which map to the C1 control of the same number so nothing is lost.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
    0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

char16_t ToUnicode(unsigned char c)
{
    if (c >= 0x80 && c <= 0x9F && kHigh[c - 0x80] != 0)
        return kHigh[c - 0x80];
    return c;
}

int FromUnicode(char32_t u)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return static_cast<int>(u);
    for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u)
            return 0x80 + i;
    if (u >= 0x80 && u <= 0x9F && kHigh[u - 0x80] == 0)
        return static_cast<int>(u);
    return -1;
}

// The longest decimal number a reference may hold (1114111 = U+10FFFF).
constexpr std::size_t kMaxDigits = 7;

// Shared by both directions so that the writer escapes exactly the '&' the
// reader would take for a reference. `at(i)` is the character at i or 0.
template <typename At>
CharReference ReferenceFrom(At at)
{
    if (at(0) != '&' || at(1) != '#')
        return {};
    char32_t value = 0;
    std::size_t i = 2;
    for (; i < 2 + kMaxDigits; ++i) {
        const char32_t c = at(i);
        if (c < '0' || c > '9')
            break;
        value = value * 10 + (c - '0');
    }
    if (i == 2 || at(i) != ';' || value == 0 || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF))
        return {};
    return {value, i + 1};
}

void AppendReference(std::string& out, char32_t u)
{
    out += "&#";
    out += std::to_string(static_cast<unsigned long>(u));
    out += ';';
}

// Appends `text` to `out`; false (with `out` partly written) when a
// character needs a reference and the text is not yet in composed form.
bool Encode(const QString& text, std::string& out, bool composed)
{
    const qsizetype n = text.size();
    const auto at = [&text, n](qsizetype from) {
        return [&text, n, from](std::size_t i) -> char32_t {
            const qsizetype k = from + static_cast<qsizetype>(i);
            return k < n ? text[k].unicode() : 0;
        };
    };
    for (qsizetype i = 0; i < n; ++i) {
        char32_t u = text[i].unicode();
        if (QChar::isHighSurrogate(u) && i + 1 < n && text[i + 1].isLowSurrogate()) {
            u = QChar::surrogateToUcs4(text[i].unicode(), text[i + 1].unicode());
            ++i;
        } else if (QChar::isSurrogate(u)) {
            u = 0xFFFD; // half a pair is no character
        }
        const int c = FromUnicode(u);
        if (c == '&' && ReferenceFrom(at(i)).length > 0) {
            out += "&#38;";
        } else if (c >= 0) {
            out += static_cast<char>(c);
        } else if (composed) {
            AppendReference(out, u);
        } else {
            return false;
        }
    }
    return true;
}

} // namespace

CharReference ReferenceAt(std::string_view bytes, std::size_t pos)
{
    return ReferenceFrom([bytes, pos](std::size_t i) -> char32_t {
        return pos + i < bytes.size() ? static_cast<unsigned char>(bytes[pos + i]) : 0;
    });
}

bool HasReference(std::string_view bytes)
{
    for (std::size_t p = bytes.find('&'); p != std::string_view::npos; p = bytes.find('&', p + 1))
        if (ReferenceAt(bytes, p).length > 0)
            return true;
    return false;
}

int BaseLetter(char32_t u)
{
    // Letters with a stroke have no decomposition.
    switch (u) {
    case 0x0141: return 'L';
    case 0x0142: return 'l';
    case 0x0110: return 'D';
    case 0x0111: return 'd';
    case 0x0126: return 'H';
    case 0x0127: return 'h';
    case 0x0131: return 'i';
    default: break;
    }
    const QString decomposed = QString::fromUcs4(&u, 1).normalized(QString::NormalizationForm_D);
    const int base = decomposed.size() > 1 ? FromUnicode(decomposed[0].unicode()) : -1;
    return base > 0x20 ? base : -1;
}

bool IsListSeparator(std::string_view bytes, std::size_t pos)
{
    if (pos >= bytes.size() || bytes[pos] != ';')
        return false;
    std::size_t start = pos;
    while (start > 0 && pos - start <= kMaxDigits && bytes[start - 1] >= '0' && bytes[start - 1] <= '9')
        --start;
    return start < 2 || bytes[start - 1] != '#' || bytes[start - 2] != '&' ||
           ReferenceAt(bytes, start - 2).length != pos - start + 3;
}

std::size_t FindListSeparator(std::string_view bytes, std::size_t from)
{
    std::size_t p = bytes.find(';', from);
    while (p != std::string_view::npos && !IsListSeparator(bytes, p))
        p = bytes.find(';', p + 1);
    return p;
}

std::size_t RFindListSeparator(std::string_view bytes)
{
    std::size_t p = bytes.rfind(';');
    while (p != std::string_view::npos && !IsListSeparator(bytes, p))
        p = p == 0 ? std::string_view::npos : bytes.rfind(';', p - 1);
    return p;
}

int Cp1252Byte(char32_t codePoint)
{
    return FromUnicode(codePoint);
}

QString FromCp1252(std::string_view bytes)
{
    QString out;
    out.resize(static_cast<qsizetype>(bytes.size()));
    QChar* dst = out.data();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        const CharReference ref = c == '&' ? ReferenceAt(bytes, i) : CharReference{};
        if (ref.length == 0) {
            *dst++ = QChar(ToUnicode(c));
        } else if (QChar::requiresSurrogates(ref.codePoint)) {
            *dst++ = QChar(QChar::highSurrogate(ref.codePoint));
            *dst++ = QChar(QChar::lowSurrogate(ref.codePoint));
            i += ref.length - 1;
        } else {
            *dst++ = QChar(static_cast<char16_t>(ref.codePoint));
            i += ref.length - 1;
        }
    }
    out.truncate(dst - out.constData());
    return out;
}

std::string ToCp1252(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    if (Encode(text, out, false))
        return out;
    // Decomposed accents ("r" and a combining caron) become one character.
    out.clear();
    Encode(text.normalized(QString::NormalizationForm_C), out, true);
    return out;
}

std::string Cp1252ToUtf8(std::string_view bytes)
{
    bool plain = true;
    for (unsigned char c : bytes)
        if (c >= 0x80 || c == '&') {
            plain = false;
            break;
        }
    if (plain)
        return std::string(bytes);
    return FromCp1252(bytes).toStdString();
}

std::string Utf8ToCp1252(const std::string& utf8)
{
    return ToCp1252(QString::fromStdString(utf8));
}

std::string Cp1252(const char* utf8)
{
    return Utf8ToCp1252(utf8);
}

bool SplitsReference(std::string_view bytes, std::size_t pos)
{
    for (std::size_t k = pos; k-- > 0 && pos - k <= 2 + kMaxDigits;) {
        const char c = bytes[k];
        if (c == '&')
            return ReferenceAt(bytes, k).length > pos - k;
        if (c != '#' && (c < '0' || c > '9'))
            return false;
    }
    return false;
}

std::string CutCp1252(const std::string& bytes, std::size_t maxBytes)
{
    if (bytes.size() <= maxBytes)
        return bytes;
    std::size_t cut = maxBytes;
    const std::size_t reach = std::min<std::size_t>(cut, 2 + kMaxDigits);
    for (std::size_t p = cut; p-- > cut - reach;)
        if (bytes[p] == '&') {
            if (ReferenceAt(bytes, p).length > cut - p)
                cut = p;
            break;
        }
    return bytes.substr(0, cut);
}

std::string FoldReferences(std::string bytes)
{
    if (bytes.find('&') == std::string::npos)
        return bytes;
    std::string out;
    out.reserve(bytes.size());
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const CharReference ref = bytes[i] == '&' ? ReferenceAt(bytes, i) : CharReference{};
        if (ref.length == 0) {
            out += bytes[i];
            continue;
        }
        int base = FromUnicode(ref.codePoint);
        if (base < 0)
            base = BaseLetter(ref.codePoint);
        if (base >= 0) {
            out += static_cast<char>(base);
        } else {
            // Other scripts after every letter of the code page, in code
            // point order: 0xFF and the code point in three bytes of 7 bits.
            const char32_t u = ref.codePoint;
            out += '\xFF';
            out += static_cast<char>(0x80 | (u >> 14));
            out += static_cast<char>(0x80 | ((u >> 7) & 0x7F));
            out += static_cast<char>(0x80 | (u & 0x7F));
        }
        i += ref.length - 1;
    }
    return out;
}

bool IsLatin1Compatible(const std::string& bytes)
{
    for (unsigned char c : bytes)
        if (c >= 0x80 && c <= 0x9F)
            return false;
    return !HasReference(bytes);
}

QString PathFromCp1252(const std::string& path)
{
    return FromCp1252(path);
}

std::string PathToCp1252(const QString& path)
{
    return ToCp1252(path);
}

} // namespace folianto
