#pragma once
// An INI file held as its lines and edited in place: keys and sections that
// are not written stay as they are, in their order; a new key goes to the end
// of its section, a new section to the end of the file. Section and key names
// compare without regard to the case of a..z. Texts are Windows-1252 bytes;
// lines are written with CR LF.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace folianto {

class IniFile {
public:
    IniFile() = default;
    // Accepts any bytes; lines may end in CR LF or LF.
    explicit IniFile(const std::string& bytes);

    std::string Serialize() const;

    bool SectionExists(std::string_view section) const;
    // The trimmed value of the first line "key=value" of the section.
    std::optional<std::string> ReadValue(std::string_view section, std::string_view key) const;
    std::string ReadString(std::string_view section, std::string_view key,
                           const std::string& fallback) const;
    // A decimal integer; the fallback when the key is missing or not a number.
    int32_t ReadInteger(std::string_view section, std::string_view key, int32_t fallback) const;
    // Any non-zero number is true.
    bool ReadBool(std::string_view section, std::string_view key, bool fallback) const;
    // For every line of the section but blank and comment lines: the trimmed
    // text after its first equals sign (empty when it has none).
    std::vector<std::string> ReadSectionValues(std::string_view section) const;
    // The same lines as (trimmed key, trimmed value) pairs in file order.
    std::vector<std::pair<std::string, std::string>> ReadSectionEntries(std::string_view section) const;

    // A value is one line: it is cut at its first CR or LF.
    void WriteString(std::string_view section, std::string_view key, std::string_view value);
    void WriteInteger(std::string_view section, std::string_view key, int64_t value);
    void WriteBool(std::string_view section, std::string_view key, bool value);
    // Removes every key line of the section; comments, blank lines and the header stay.
    void EraseSectionKeys(std::string_view section);

private:
    struct Section {
        std::string name;   // trimmed, as in the file
        std::string header; // the header line as it stands
        std::vector<std::string> lines;
        // (hash of the key regardless of case, line index) of every key
        // line, sorted, so that reading and writing a few hundred keys
        // neither rescans every line nor builds a lower-cased copy of each
        // key. Equal hashes are told apart by comparing the keys.
        std::vector<std::pair<uint64_t, std::size_t>> keyLines;

        // Appends line i to an index that is sorted later.
        void IndexLine(std::size_t i);
        // Sorted insert of line i, which no indexed line follows.
        void InsertIndex(std::size_t i);
        // The first line of the key; npos when there is none.
        std::size_t LineOf(std::string_view key) const;
    };

    // Index into sections_ of the first section of the name; npos when none.
    std::size_t SectionOf(std::string_view section) const;
    // The trimmed value within its line.
    std::optional<std::string_view> ValueOf(std::string_view section, std::string_view key) const;
    const Section* Find(std::string_view section) const;
    Section& FindOrAppend(std::string_view section);

    std::vector<std::string> preamble_; // lines before the first section
    std::vector<Section> sections_;
    // (hash of the name regardless of case, index into sections_), sorted:
    // a file may hold hundreds of sections.
    std::vector<std::pair<uint64_t, std::size_t>> sectionIndex_;
    // The section found last: settings are read and written section by
    // section, key after key.
    mutable std::string lastSection_;
    mutable std::size_t lastSectionIndex_ = std::string::npos;
};

// Parses a decimal integer with optional sign and surrounding blanks; nothing
// when the text is no number or does not fit 32 bits.
std::optional<int32_t> ParseIniInteger(std::string_view text);

// File edge. A missing file reads as empty bytes; false when it exists but
// cannot be read.
bool ReadFileBytes(const std::string& path, std::string& bytes);
// Writes through a temporary file that replaces the target only when complete
// and flushed to disk; false when anything failed (the old file then stays).
bool WriteFileAtomically(const std::string& path, const std::string& bytes);

} // namespace folianto
