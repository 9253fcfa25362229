#include "core/Codec.h"

#include <QList>

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

} // namespace

int Cp1252Byte(char32_t codePoint)
{
    return FromUnicode(codePoint);
}

QString FromCp1252(std::string_view bytes)
{
    QString out;
    out.resize(static_cast<qsizetype>(bytes.size()));
    QChar* dst = out.data();
    for (unsigned char c : bytes)
        *dst++ = QChar(ToUnicode(c));
    return out;
}

std::string ToCp1252(const QString& text)
{
    std::string out;
    out.reserve(static_cast<std::size_t>(text.size()));
    for (const char32_t u : text.toUcs4()) {
        const int c = FromUnicode(u);
        out += c < 0 ? '?' : static_cast<char>(c);
    }
    return out;
}

std::string Cp1252ToUtf8(std::string_view bytes)
{
    bool ascii = true;
    for (unsigned char c : bytes)
        if (c >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
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

bool IsLatin1Compatible(const std::string& bytes)
{
    for (unsigned char c : bytes)
        if (c >= 0x80 && c <= 0x9F)
            return false;
    return true;
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
