#include "config/IniFile.h"

#include "core/Codec.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <cstdlib>
#include <limits>

namespace folianto {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

std::string Trim(const std::string& s, std::size_t begin = 0, std::size_t end = std::string::npos)
{
    if (end > s.size())
        end = s.size();
    while (begin < end && IsSpace(s[begin]))
        ++begin;
    while (end > begin && IsSpace(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

char LowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (LowerAscii(a[i]) != LowerAscii(b[i]))
            return false;
    return true;
}

std::size_t FirstNonSpace(const std::string& line)
{
    std::size_t i = 0;
    while (i < line.size() && IsSpace(line[i]))
        ++i;
    return i;
}

// "[name]" (the closing bracket may be missing): the trimmed name.
std::optional<std::string> SectionName(const std::string& line)
{
    const std::size_t i = FirstNonSpace(line);
    if (i >= line.size() || line[i] != '[')
        return std::nullopt;
    const std::size_t close = line.find(']', i + 1);
    return Trim(line, i + 1, close);
}

// Neither blank nor a comment.
bool IsContentLine(const std::string& line)
{
    const std::size_t i = FirstNonSpace(line);
    return i < line.size() && line[i] != ';';
}

// Bounds of the trimmed key of a "key=value" line; false for other lines.
bool KeyBounds(const std::string& line, std::size_t& begin, std::size_t& end)
{
    if (!IsContentLine(line))
        return false;
    begin = FirstNonSpace(line);
    end = line.find('=', begin);
    if (end == std::string::npos)
        return false;
    while (end > begin && IsSpace(line[end - 1]))
        --end;
    return true;
}

std::string LowerKey(const std::string& text, std::size_t begin, std::size_t end)
{
    std::string key(text, begin, end - begin);
    for (char& c : key)
        c = LowerAscii(c);
    return key;
}

std::string OneLine(const std::string& value)
{
    return value.substr(0, value.find_first_of("\r\n"));
}

} // namespace

IniFile::IniFile(const std::string& bytes)
{
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        std::size_t nl = bytes.find('\n', pos);
        const std::size_t next = nl == std::string::npos ? bytes.size() : nl + 1;
        if (nl == std::string::npos)
            nl = bytes.size();
        std::size_t end = nl;
        if (end > pos && bytes[end - 1] == '\r')
            --end;
        std::string line = bytes.substr(pos, end - pos);
        pos = next;
        if (auto name = SectionName(line)) {
            sections_.push_back({*name, std::move(line), {}, {}});
        } else if (sections_.empty()) {
            preamble_.push_back(std::move(line));
        } else {
            Section& section = sections_.back();
            section.lines.push_back(std::move(line));
            section.IndexLine(section.lines.size() - 1);
        }
    }
}

void IniFile::Section::IndexLine(std::size_t i)
{
    std::size_t begin = 0, end = 0;
    if (KeyBounds(lines[i], begin, end))
        keyLines.emplace(LowerKey(lines[i], begin, end), i);
}

std::string IniFile::Serialize() const
{
    std::string out;
    auto put = [&out](const std::string& line) {
        out += line;
        out += "\r\n";
    };
    for (const auto& line : preamble_)
        put(line);
    for (const auto& s : sections_) {
        put(s.header);
        for (const auto& line : s.lines)
            put(line);
    }
    return out;
}

const IniFile::Section* IniFile::Find(const std::string& section) const
{
    for (const auto& s : sections_)
        if (SameName(s.name, section))
            return &s;
    return nullptr;
}

IniFile::Section& IniFile::FindOrAppend(const std::string& section)
{
    for (auto& s : sections_)
        if (SameName(s.name, section))
            return s;
    // A blank line between the previous content and the new section.
    if (!sections_.empty() || !preamble_.empty()) {
        std::vector<std::string>& tail = sections_.empty() ? preamble_ : sections_.back().lines;
        if (tail.empty() || !Trim(tail.back()).empty())
            tail.push_back("");
    }
    sections_.push_back({section, "[" + section + "]", {}, {}});
    return sections_.back();
}

bool IniFile::SectionExists(const std::string& section) const
{
    return Find(section) != nullptr;
}

std::optional<std::string> IniFile::ReadValue(const std::string& section, const std::string& key) const
{
    const Section* s = Find(section);
    if (!s)
        return std::nullopt;
    const auto hit = s->keyLines.find(LowerKey(key, 0, key.size()));
    if (hit == s->keyLines.end())
        return std::nullopt;
    const std::string& line = s->lines[hit->second];
    return Trim(line, line.find('=') + 1);
}

std::string IniFile::ReadString(const std::string& section, const std::string& key,
                                const std::string& fallback) const
{
    return ReadValue(section, key).value_or(fallback);
}

int32_t IniFile::ReadInteger(const std::string& section, const std::string& key, int32_t fallback) const
{
    const auto v = ReadValue(section, key);
    if (!v)
        return fallback;
    return ParseIniInteger(*v).value_or(fallback);
}

bool IniFile::ReadBool(const std::string& section, const std::string& key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::ReadSectionValues(const std::string& section) const
{
    std::vector<std::string> out;
    if (const Section* s = Find(section))
        for (const auto& line : s->lines) {
            if (!IsContentLine(line))
                continue;
            const std::size_t eq = line.find('=');
            out.push_back(eq == std::string::npos ? std::string() : Trim(line, eq + 1));
        }
    return out;
}

void IniFile::WriteString(const std::string& section, const std::string& key, const std::string& value)
{
    Section& s = FindOrAppend(section);
    const std::string v = OneLine(value);
    const auto hit = s.keyLines.find(LowerKey(key, 0, key.size()));
    if (hit != s.keyLines.end()) {
        std::string& line = s.lines[hit->second];
        std::size_t begin = 0, end = 0;
        KeyBounds(line, begin, end);
        line = line.substr(begin, end - begin) + "=" + v;
        return;
    }
    // After the last non-blank line, so blank lines before the next section
    // stay there (only blank lines move, so the index stays right).
    auto at = s.lines.end();
    while (at != s.lines.begin() && Trim(*(at - 1)).empty())
        --at;
    const std::size_t index = static_cast<std::size_t>(at - s.lines.begin());
    s.lines.insert(at, key + "=" + v);
    s.IndexLine(index);
}

void IniFile::WriteInteger(const std::string& section, const std::string& key, int64_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::EraseSectionKeys(const std::string& section)
{
    for (auto& s : sections_)
        if (SameName(s.name, section)) {
            std::vector<std::string> kept;
            for (auto& line : s.lines)
                if (!IsContentLine(line))
                    kept.push_back(std::move(line));
            s.lines = std::move(kept);
            s.keyLines.clear();
            return;
        }
}

std::optional<int32_t> ParseIniInteger(const std::string& text)
{
    const std::string t = Trim(text);
    std::size_t i = 0;
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    if (i == t.size())
        return std::nullopt;
    for (std::size_t j = i; j < t.size(); ++j)
        if (t[j] < '0' || t[j] > '9')
            return std::nullopt;
    // Cap the digits so strtoll cannot overflow silently.
    if (t.size() - i > 11)
        return std::nullopt;
    const long long v = std::strtoll(t.c_str(), nullptr, 10);
    if (v < std::numeric_limits<int32_t>::min() || v > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    return static_cast<int32_t>(v);
}

bool ReadFileBytes(const std::string& path, std::string& bytes)
{
    bytes.clear();
    const QString p = PathFromCp1252(path);
    if (!QFileInfo::exists(p))
        return true;
    QFile f(p);
    if (!f.open(QIODevice::ReadOnly))
        return false;
    const QByteArray data = f.readAll();
    if (f.error() != QFileDevice::NoError)
        return false;
    bytes.assign(data.constData(), static_cast<std::size_t>(data.size()));
    return true;
}

bool WriteFileAtomically(const std::string& path, const std::string& bytes)
{
    QSaveFile f(PathFromCp1252(path));
    if (!f.open(QIODevice::WriteOnly))
        return false;
    if (f.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

} // namespace folianto
