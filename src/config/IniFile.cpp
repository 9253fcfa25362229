#include "config/IniFile.h"

#include "core/Codec.h"
#include "platform/ReplacementFile.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <limits>

namespace folianto {
namespace {

bool IsSpace(char c)
{
    return c == ' ' || c == '\t';
}

std::string_view TrimView(std::string_view s)
{
    std::size_t begin = 0;
    std::size_t end = s.size();
    while (begin < end && IsSpace(s[begin]))
        ++begin;
    while (end > begin && IsSpace(s[end - 1]))
        --end;
    return s.substr(begin, end - begin);
}

std::string Trim(const std::string& s, std::size_t begin = 0, std::size_t end = std::string::npos)
{
    if (end > s.size())
        end = s.size();
    return std::string(TrimView(std::string_view(s).substr(begin, end - begin)));
}

// Byte -> the byte with A..Z lowered. A table, not a comparison per byte:
// names are folded for every key read and written.
struct LowerTable {
    unsigned char map[256];
    constexpr LowerTable() : map()
    {
        for (int i = 0; i < 256; ++i)
            map[i] = static_cast<unsigned char>(i >= 'A' && i <= 'Z' ? i - 'A' + 'a' : i);
    }
};
constexpr LowerTable kLower;

unsigned char LowerAscii(char c)
{
    return kLower.map[static_cast<unsigned char>(c)];
}

bool SameName(std::string_view a, std::string_view b)
{
    if (a.size() != b.size())
        return false;
    // Names are mostly read in the case they were written in.
    if (a == b)
        return true;
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

// Nothing but blanks.
bool IsBlank(const std::string& line)
{
    return FirstNonSpace(line) == line.size();
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

// FNV-1a over the bytes with a..z folded.
uint64_t KeyHash(std::string_view key)
{
    uint64_t h = 14695981039346656037ull;
    for (char c : key) {
        h ^= LowerAscii(c);
        h *= 1099511628211ull;
    }
    return h;
}

// The trimmed key of a "key=value" line; false for other lines.
bool KeyOf(const std::string& line, std::string_view& key)
{
    std::size_t begin = 0, end = 0;
    if (!KeyBounds(line, begin, end))
        return false;
    key = std::string_view(line).substr(begin, end - begin);
    return true;
}

std::string_view OneLine(std::string_view value)
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
    for (std::size_t i = 0; i < sections_.size(); ++i) {
        Section& s = sections_[i];
        std::sort(s.keyLines.begin(), s.keyLines.end());
        sectionIndex_.emplace_back(KeyHash(s.name), i);
    }
    std::sort(sectionIndex_.begin(), sectionIndex_.end());
}

void IniFile::Section::IndexLine(std::size_t i)
{
    std::string_view key;
    if (KeyOf(lines[i], key))
        keyLines.emplace_back(KeyHash(key), i);
}

void IniFile::Section::InsertIndex(std::size_t i)
{
    std::string_view key;
    if (!KeyOf(lines[i], key))
        return;
    const std::pair<uint64_t, std::size_t> entry(KeyHash(key), i);
    keyLines.insert(std::upper_bound(keyLines.begin(), keyLines.end(), entry), entry);
}

std::size_t IniFile::Section::LineOf(std::string_view key) const
{
    const uint64_t hash = KeyHash(key);
    auto it = std::lower_bound(keyLines.begin(), keyLines.end(), std::pair<uint64_t, std::size_t>(hash, 0));
    for (; it != keyLines.end() && it->first == hash; ++it) {
        std::string_view lineKey;
        if (KeyOf(lines[it->second], lineKey) && SameName(lineKey, key))
            return it->second;
    }
    return std::string::npos;
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

std::size_t IniFile::SectionOf(std::string_view section) const
{
    if (lastSectionIndex_ != std::string::npos && lastSection_ == section)
        return lastSectionIndex_;
    const uint64_t hash = KeyHash(section);
    auto it = std::lower_bound(sectionIndex_.begin(), sectionIndex_.end(), std::pair<uint64_t, std::size_t>(hash, 0));
    for (; it != sectionIndex_.end() && it->first == hash; ++it)
        if (SameName(sections_[it->second].name, section)) {
            lastSection_.assign(section);
            lastSectionIndex_ = it->second;
            return it->second;
        }
    return std::string::npos;
}

const IniFile::Section* IniFile::Find(std::string_view section) const
{
    const std::size_t i = SectionOf(section);
    return i == std::string::npos ? nullptr : &sections_[i];
}

IniFile::Section& IniFile::FindOrAppend(std::string_view section)
{
    const std::size_t found = SectionOf(section);
    if (found != std::string::npos)
        return sections_[found];
    // A blank line between the previous content and the new section.
    if (!sections_.empty() || !preamble_.empty()) {
        std::vector<std::string>& tail = sections_.empty() ? preamble_ : sections_.back().lines;
        if (tail.empty() || !IsBlank(tail.back()))
            tail.push_back("");
    }
    sections_.push_back({std::string(section), "[" + std::string(section) + "]", {}, {}});
    const std::pair<uint64_t, std::size_t> entry(KeyHash(section), sections_.size() - 1);
    sectionIndex_.insert(std::upper_bound(sectionIndex_.begin(), sectionIndex_.end(), entry), entry);
    return sections_.back();
}

bool IniFile::SectionExists(std::string_view section) const
{
    return Find(section) != nullptr;
}

std::optional<std::string_view> IniFile::ValueOf(std::string_view section, std::string_view key) const
{
    const Section* s = Find(section);
    if (!s)
        return std::nullopt;
    const std::size_t at = s->LineOf(key);
    if (at == std::string::npos)
        return std::nullopt;
    const std::string& line = s->lines[at];
    return TrimView(std::string_view(line).substr(line.find('=') + 1));
}

std::optional<std::string> IniFile::ReadValue(std::string_view section, std::string_view key) const
{
    if (const auto v = ValueOf(section, key))
        return std::string(*v);
    return std::nullopt;
}

std::string IniFile::ReadString(std::string_view section, std::string_view key,
                                const std::string& fallback) const
{
    return ReadValue(section, key).value_or(fallback);
}

int32_t IniFile::ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const
{
    const auto v = ValueOf(section, key);
    if (!v)
        return fallback;
    return ParseIniInteger(*v).value_or(fallback);
}

bool IniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const
{
    return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> IniFile::ReadSectionValues(std::string_view section) const
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

std::vector<std::pair<std::string, std::string>> IniFile::ReadSectionEntries(std::string_view section) const
{
    std::vector<std::pair<std::string, std::string>> out;
    if (const Section* s = Find(section))
        for (const auto& line : s->lines) {
            std::size_t begin = 0, end = 0;
            if (KeyBounds(line, begin, end))
                out.emplace_back(line.substr(begin, end - begin), Trim(line, line.find('=', end) + 1));
        }
    return out;
}

void IniFile::WriteString(std::string_view section, std::string_view key, std::string_view value)
{
    Section& s = FindOrAppend(section);
    const std::string_view v = OneLine(value);
    const std::size_t found = s.LineOf(key);
    if (found != std::string::npos) {
        // The key as it stands, without its blanks, then the new value.
        std::string& line = s.lines[found];
        std::size_t begin = 0, end = 0;
        KeyBounds(line, begin, end);
        line.resize(end);
        line.erase(0, begin);
        line += '=';
        line += v;
        return;
    }
    // After the last non-blank line, so blank lines before the next section
    // stay there (only blank lines move, so the index stays right).
    auto at = s.lines.end();
    while (at != s.lines.begin() && IsBlank(*(at - 1)))
        --at;
    const std::size_t index = static_cast<std::size_t>(at - s.lines.begin());
    std::string line;
    line.reserve(key.size() + 1 + v.size());
    line += key;
    line += '=';
    line += v;
    s.lines.insert(at, std::move(line));
    s.InsertIndex(index);
}

void IniFile::WriteInteger(std::string_view section, std::string_view key, int64_t value)
{
    WriteString(section, key, std::to_string(value));
}

void IniFile::WriteBool(std::string_view section, std::string_view key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

void IniFile::EraseSectionKeys(std::string_view section)
{
    const std::size_t found = SectionOf(section);
    if (found == std::string::npos)
        return;
    Section& s = sections_[found];
    std::vector<std::string> kept;
    for (auto& line : s.lines)
        if (!IsContentLine(line))
            kept.push_back(std::move(line));
    s.lines = std::move(kept);
    s.keyLines.clear();
}

std::optional<int32_t> ParseIniInteger(std::string_view text)
{
    const std::string_view t = TrimView(text);
    std::size_t i = 0;
    const bool negative = i < t.size() && t[i] == '-';
    if (i < t.size() && (t[i] == '+' || t[i] == '-'))
        ++i;
    // More than 11 digits cannot fit; the cap also keeps the sum in 64 bits.
    if (i == t.size() || t.size() - i > 11)
        return std::nullopt;
    int64_t v = 0;
    for (std::size_t j = i; j < t.size(); ++j) {
        if (t[j] < '0' || t[j] > '9')
            return std::nullopt;
        v = v * 10 + (t[j] - '0');
    }
    if (negative)
        v = -v;
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
    FileError why;
    return ReplaceFileContent(PathFromCp1252(path), bytes.data(), bytes.size(), why);
}

} // namespace folianto
