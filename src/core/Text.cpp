#include "core/Text.h"

#include <cctype>
#include <charconv>
#include <cstdlib>
#include <cstring>

namespace folianto {

bool IsPrintable(unsigned char c)
{
    if (c >= 0x21 && c <= 0x7E)
        return true;
    switch (c) {
    case 0xC4: case 0xD6: case 0xDC: case 0xE4: case 0xF6: case 0xFC:
        return true;
    default:
        return false;
    }
}

bool HasPrintable(const std::string& s)
{
    for (unsigned char c : s)
        if (IsPrintable(c))
            return true;
    return false;
}

std::string StripBlanks(const std::string& s, Strip mode)
{
    std::size_t begin = 0;
    std::size_t end = s.size();
    if (mode != Strip::Right)
        while (begin < end && s[begin] == ' ')
            ++begin;
    if (mode != Strip::Left)
        while (end > begin && s[end - 1] == ' ')
            --end;
    return s.substr(begin, end - begin);
}

std::string RemoveAllBlanks(const std::string& s)
{
    std::string out;
    out.reserve(s.size());
    for (char c : s)
        if (c != ' ')
            out += c;
    return out;
}

std::string FillUp(const std::string& s, std::size_t width)
{
    std::string out = s;
    if (out.size() < width)
        out.append(width - out.size(), ' ');
    return out;
}

std::string UpperAscii(std::string s)
{
    for (char& c : s)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return s;
}

double ReadNumber(const std::string& s)
{
    std::string clean;
    clean.reserve(s.size());
    bool commaSeen = false;
    for (unsigned char c : s) {
        if (c <= 0x20 || c == 0x7F)
            continue;
        if (c == ',' && !commaSeen) {
            commaSeen = true;
            clean += '.';
            continue;
        }
        clean += static_cast<char>(c);
    }
    if (clean.empty())
        return 0.0;
    // The whole text must be a decimal number (no hex, no inf/nan words).
    for (unsigned char c : clean)
        if (!(std::isdigit(c) || c == '.' || c == '+' || c == '-' || c == 'e' || c == 'E'))
            return 0.0;
    // from_chars reads a point whatever the process locale (a GUI run takes
    // the user's, where strtod would stop at the point).
    const char* first = clean.data();
    const char* last = first + clean.size();
    if (*first == '+' && last - first > 1 && first[1] != '-')
        ++first;
    double v = 0.0;
    const auto [end, ec] = std::from_chars(first, last, v);
    if (ec != std::errc() || end != last)
        return 0.0;
    return v;
}

std::string IntToStr(long long v)
{
    return std::to_string(v);
}

static std::size_t NameStart(const std::string& path)
{
    const std::size_t sep = path.find_last_of("/\\");
    return sep == std::string::npos ? 0 : sep + 1;
}

std::string ChangeFileExt(const std::string& path, const std::string& ext)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < NameStart(path))
        return path + ext;
    return path.substr(0, dot) + ext;
}

std::string ExtractFileExt(const std::string& path)
{
    const std::size_t dot = path.rfind('.');
    if (dot == std::string::npos || dot < NameStart(path))
        return {};
    return path.substr(dot);
}

std::string ExtractFileName(const std::string& path)
{
    return path.substr(NameStart(path));
}

std::string ExtractFilePath(const std::string& path)
{
    return path.substr(0, NameStart(path));
}

} // namespace folianto
