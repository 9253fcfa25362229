#pragma once
// The one place that calls btparse. The library keeps global state (macro
// table, lexer buffers, error counts) and is not reentrant, so one session
// object at a time owns it, from initialisation to clean-up.

#include "exchange/ReferenceExchange.h"

#include <string>
#include <utility>
#include <vector>

namespace folianto {

// An entry as written: lower-case type and field names, values with the
// @string macros expanded and the pieces pasted, still in LaTeX (UTF-8).
struct BibEntry {
    std::string Type;
    std::string Key;
    int Line = 0;
    std::vector<std::pair<std::string, std::string>> Fields;
};

struct BibParseResult {
    std::vector<BibEntry> Entries; // regular entries in file order
    std::vector<ImportProblem> Problems;
};

// Where an entry starts and ends in the text. Every '@' that opens an entry
// starts one; an entry whose closing brace is missing ends before the next
// line that starts another entry, so one fault never swallows the rest.
struct BibChunk {
    std::size_t Begin = 0;
    std::size_t End = 0;
    int Line = 0;
    bool Terminated = false;
    std::string Key; // as written, for messages
};
struct BibChunks {
    std::vector<BibChunk> Chunks;
    std::vector<ImportProblem> Junk; // text outside entries, by line ranges
};
BibChunks SplitBibChunks(const std::string& text);

class BibParseSession {
public:
    BibParseSession();
    ~BibParseSession();
    BibParseSession(const BibParseSession&) = delete;
    BibParseSession& operator=(const BibParseSession&) = delete;

    // Parses UTF-8 text; @string definitions stay known for later entries of
    // the same session.
    BibParseResult Parse(const std::string& utf8);
};

} // namespace folianto
