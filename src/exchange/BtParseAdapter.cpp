#include "exchange/BtParseAdapter.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"

#include <btparse.h>

#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace folianto {
namespace {

bool sessionActive = false;
char kSourceName[] = "BibTeX";

bool IsIdentChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_' || c == '-' ||
           c == ':' || c == '.' || c == '+';
}

bool IsSpace(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

// The position of the opening delimiter when an entry starts at `at` ('@',
// a type name, blanks, '{' or '('); npos otherwise.
std::size_t EntryOpening(const std::string& text, std::size_t at)
{
    std::size_t p = at + 1;
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t'))
        ++p;
    const std::size_t nameStart = p;
    while (p < text.size() && IsIdentChar(text[p]))
        ++p;
    if (p == nameStart)
        return std::string::npos;
    while (p < text.size() && IsSpace(text[p]))
        ++p;
    return p < text.size() && (text[p] == '{' || text[p] == '(') ? p : std::string::npos;
}

// True when the line starting at `p` opens an entry (blanks before '@' allowed).
bool LineOpensEntry(const std::string& text, std::size_t p)
{
    while (p < text.size() && (text[p] == ' ' || text[p] == '\t'))
        ++p;
    return p < text.size() && text[p] == '@' && EntryOpening(text, p) != std::string::npos;
}

std::string KeyAfter(const std::string& text, std::size_t open)
{
    std::size_t p = open + 1;
    while (p < text.size() && IsSpace(text[p]))
        ++p;
    std::string key;
    while (p < text.size() && key.size() < 60 && text[p] != ',' && text[p] != '}' && text[p] != ')' &&
           !IsSpace(text[p]) && text[p] != '=')
        key += text[p++];
    return key;
}

// What the library sees differs from the file in three ways, all undone in
// the values it hands back:
// - it turns every line break inside a value into a blank, so line breaks
//   of values travel as an escape instead;
// - its syntax error report uses the offending token's text as a printf
//   format, so a '%' inside a value (a common character in titles) would
//   make it read arguments that were never passed; every '%' inside a value
//   travels as an escape too, and a '%' comment between fields is left out
//   (the library skips it anyway), so the text it sees holds no '%' at all;
// - NUL bytes become blanks (the text is a C string).
// The escape byte never occurs in UTF-8; should it occur anyway, it is
// escaped itself, so the mapping back is exact.
constexpr char kEscape = '\xFE';
constexpr char kEscapedPercent = 'P';
constexpr char kEscapedLineBreak = 'N';

bool IsNameChar(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           (c != '\0' && std::strchr("!$&*+-./:;<>?[]^_`|", c) != nullptr);
}

// Follows the library's lexer through one entry: where a quoted or braced
// string starts and ends, and where a '%' starts a comment instead. The
// modes and entry states are the library's own.
class LibraryLexer {
public:
    enum class Mode { TopLevel, Entry, String };

    Mode mode() const { return mode_; }

    // Called for every byte outside strings except the comments; `text`
    // from `p` on is the rest of the chunk. Returns the bytes consumed.
    std::size_t outside(const char* text, std::size_t p, std::size_t end)
    {
        const char c = text[p];
        if (mode_ == Mode::TopLevel) {
            if (c == '@') {
                mode_ = Mode::Entry;
                state_ = State::AfterAt;
            }
            return 1;
        }
        if (IsNameChar(c)) {
            std::size_t q = p;
            bool digitsOnly = true;
            for (; q < end && IsNameChar(text[q]); ++q)
                digitsOnly = digitsOnly && text[q] >= '0' && text[q] <= '9';
            if (!digitsOnly && state_ == State::AfterAt) { // the entry type
                const bool comment = q - p == 7 && std::equal(text + p, text + q, "comment", [](char a, char b) {
                                         return (a | 0x20) == b;
                                     });
                state_ = comment ? State::InComment : State::AfterType;
            }
            return q - p;
        }
        switch (c) {
        case '"':
            if (state_ == State::InComment) { // refused: the entry ends here
                mode_ = Mode::TopLevel;
                state_ = State::TopLevel;
            } else {
                startString('"');
            }
            break;
        case '{':
            if (state_ == State::InEntry || state_ == State::InComment)
                startString('{');
            else if (state_ == State::AfterType)
                state_ = State::InEntry;
            break;
        case '(':
            if (state_ == State::InComment)
                startString('(');
            else if (state_ == State::AfterType)
                state_ = State::InEntry;
            break;
        case '}':
        case ')':
            if (state_ == State::InEntry) {
                mode_ = Mode::TopLevel;
                state_ = State::TopLevel;
            }
            break;
        default:
            break;
        }
        return 1;
    }

    // Called for every byte inside a string.
    void inside(char c)
    {
        switch (c) {
        case '{': ++braces_; break;
        case '}':
            if (--braces_ == 0 && opener_ == '{')
                endString();
            else if (braces_ < 0)
                braces_ = 0;
            break;
        case '(': ++parens_; break;
        case ')':
            if (--parens_ == 0 && opener_ == '(')
                endString();
            break;
        case '"':
            if (opener_ == '"' && braces_ == 0)
                endString();
            break;
        default: break;
        }
    }

private:
    enum class State { TopLevel, AfterAt, AfterType, InComment, InEntry };

    void startString(char opener)
    {
        mode_ = Mode::String;
        opener_ = opener;
        braces_ = opener == '{' ? 1 : 0;
        parens_ = opener == '(' ? 1 : 0;
    }
    void endString()
    {
        mode_ = state_ == State::InComment ? Mode::TopLevel : Mode::Entry;
        if (state_ == State::InComment)
            state_ = State::TopLevel;
    }

    Mode mode_ = Mode::TopLevel;
    State state_ = State::TopLevel;
    char opener_ = 0;
    int braces_ = 0;
    int parens_ = 0;
};

// The chunk's bytes as the C string the library parses.
void ChunkForLibrary(const std::string& text, const BibChunk& chunk, std::vector<char>& out)
{
    out.resize(2 * (chunk.End - chunk.Begin) + 1); // an escape is two bytes
    char* o = out.data();
    LibraryLexer lexer;
    std::size_t p = chunk.Begin;
    while (p < chunk.End) {
        const char c = text[p];
        if (lexer.mode() == LibraryLexer::Mode::String) {
            lexer.inside(c);
            if (c == '\r' || c == '\n') {
                if (c == '\r' && p + 1 < chunk.End && text[p + 1] == '\n')
                    ++p;
                *o++ = kEscape;
                *o++ = kEscapedLineBreak;
            } else if (c == '%' || c == kEscape) {
                *o++ = kEscape;
                *o++ = c == '%' ? kEscapedPercent : kEscape;
            } else {
                *o++ = c == '\0' ? ' ' : c;
            }
            ++p;
            continue;
        }
        if (c == '%') { // a comment up to the line break, or to the end when none follows
            while (p < chunk.End && text[p] != '\n')
                ++p;
            continue;
        }
        const std::size_t n = lexer.outside(text.data(), p, chunk.End);
        for (std::size_t k = 0; k < n; ++k, ++p)
            *o++ = text[p] == '\0' ? ' ' : text[p];
    }
    *o++ = '\0';
    out.resize(static_cast<std::size_t>(o - out.data()));
}

// A value as written: the escapes undone; blanks around a line break are
// the source's indentation and go.
std::string FromLibrary(const std::string& value)
{
    if (value.find(kEscape) == std::string::npos)
        return value;
    std::string out;
    bool afterBreak = false;
    for (std::size_t i = 0; i < value.size(); ++i) {
        char c = value[i];
        if (c == ' ' && afterBreak)
            continue;
        afterBreak = false;
        if (c == kEscape && i + 1 < value.size()) {
            c = value[++i];
            if (c == kEscapedLineBreak) {
                while (!out.empty() && out.back() == ' ')
                    out.pop_back();
                out += '\n';
                afterBreak = true;
                continue;
            }
            c = c == kEscapedPercent ? '%' : c;
        }
        out += c;
    }
    return out;
}

// A field's value. Parsing pasted the pieces into one string node already;
// only an unusual value needs the library's own join, whose copy is ours.
std::string FieldText(AST* field)
{
    bt_nodetype type = BTAST_BOGUS;
    char* text = nullptr;
    AST* value = bt_next_value(field, nullptr, &type, &text);
    bt_nodetype nextType = BTAST_BOGUS;
    char* nextText = nullptr;
    if (value && type == BTAST_STRING && !bt_next_value(field, value, &nextType, &nextText))
        return text ? text : "";
    char* joined = bt_get_text(field);
    std::string result = joined ? joined : "";
    std::free(joined);
    return result;
}

std::string Quoted(const std::string& key)
{
    return Cp1252("\xE2\x80\x9E") + Utf8ToCp1252(key) + Cp1252("\xE2\x80\x9C");
}

// One entry through the library. The tree goes and the lexer's buffers are
// released when it ends, also when reading the tree throws, so the next
// entry starts from a clean reader.
struct EntryParse {
    EntryParse(char* text, int line)
    {
        bt_reset_error_counts();
        tree = bt_parse_entry_s(text, kSourceName, line, 0, &ok);
        warnings = bt_get_error_count(BTERR_CONTENT) + bt_get_error_count(BTERR_LEXWARN);
    }
    ~EntryParse()
    {
        if (tree)
            bt_free_ast(tree);
        bt_parse_entry_s(nullptr, kSourceName, 0, 0, nullptr);
    }
    EntryParse(const EntryParse&) = delete;
    EntryParse& operator=(const EntryParse&) = delete;

    AST* tree = nullptr;
    boolean ok = FALSE;
    int warnings = 0;
};

} // namespace

BibChunks SplitBibChunks(const std::string& text)
{
    BibChunks result;
    JunkLines junk(result.Junk);
    std::size_t pos = 0;
    int line = 1;
    const std::size_t n = text.size();
    while (pos < n) {
        const char c = text[pos];
        if (c == '\n') {
            ++line;
            ++pos;
            continue;
        }
        if (IsSpace(c)) {
            ++pos;
            continue;
        }
        if (c == '%') { // comment line
            while (pos < n && text[pos] != '\n')
                ++pos;
            continue;
        }
        const std::size_t open = c == '@' ? EntryOpening(text, pos) : std::string::npos;
        if (open == std::string::npos) {
            junk.mark(line);
            ++pos;
            continue;
        }
        junk.flush();
        BibChunk chunk;
        chunk.Begin = pos;
        chunk.Line = line;
        chunk.Key = KeyAfter(text, open);
        for (std::size_t p = pos; p < open; ++p)
            line += text[p] == '\n';
        const bool parens = text[open] == '(';
        int depth = parens ? 0 : 1;
        bool inQuote = false;
        std::size_t p = open + 1;
        while (p < n) {
            const char d = text[p];
            if (d == '\n') {
                ++line;
                if (LineOpensEntry(text, p + 1)) {
                    ++p; // the line break is counted already
                    break;
                }
            } else if (d == '{') {
                ++depth;
            } else if (d == '}') {
                if (--depth == 0 && !parens) {
                    chunk.Terminated = true;
                    ++p;
                    break;
                }
                if (depth < 0)
                    depth = 0;
            } else if (parens && depth == 0 && d == '"') {
                inQuote = !inQuote;
            } else if (parens && depth == 0 && !inQuote && d == ')') {
                chunk.Terminated = true;
                ++p;
                break;
            }
            ++p;
        }
        chunk.End = p;
        pos = p;
        result.Chunks.push_back(std::move(chunk));
    }
    junk.flush();
    return result;
}

BibParseSession::BibParseSession()
{
    if (sessionActive)
        throw std::logic_error("btparse session already active");
    sessionActive = true;
    bt_initialize();
    const btshort options = BTO_CONVERT | BTO_EXPAND | BTO_PASTE; // line breaks stay
    bt_set_stringopts(BTE_REGULAR, options);
    bt_set_stringopts(BTE_MACRODEF, options);
    // The month macros every BibTeX style defines.
    static const char* const months[][2] = {
        {"jan", "January"}, {"feb", "February"}, {"mar", "March"},     {"apr", "April"},
        {"may", "May"},     {"jun", "June"},     {"jul", "July"},      {"aug", "August"},
        {"sep", "September"}, {"oct", "October"}, {"nov", "November"}, {"dec", "December"}};
    for (const auto& m : months)
        bt_add_macro_text(const_cast<char*>(m[0]), const_cast<char*>(m[1]), kSourceName, 0);
}

BibParseSession::~BibParseSession()
{
    bt_delete_all_macros();
    bt_cleanup();
    sessionActive = false;
}

BibParseResult BibParseSession::Parse(const std::string& utf8)
{
    TraceScope trace("BtParseAdapter.Parse");
    BibParseResult result;
    BibChunks chunks = SplitBibChunks(utf8);
    result.Problems = std::move(chunks.Junk);
    std::vector<char> buffer;
    for (const BibChunk& chunk : chunks.Chunks) {
        if (!chunk.Terminated) {
            result.Problems.push_back({chunk.Line, 0,
                                       "Eintrag " + Quoted(chunk.Key) +
                                           Cp1252(" ist nicht abgeschlossen (schließende Klammer fehlt) und wurde "
                                                  "nicht übernommen"),
                                       true});
            continue;
        }
        ChunkForLibrary(utf8, chunk, buffer);
        const EntryParse parse(buffer.data(), chunk.Line);
        AST* entry = parse.tree;
        if (!parse.ok || !entry) {
            result.Problems.push_back({chunk.Line, 0,
                                       "Eintrag " + Quoted(chunk.Key) +
                                           Cp1252(" ist fehlerhaft (Syntax) und wurde nicht übernommen"),
                                       true});
        } else if (bt_entry_metatype(entry) == BTE_REGULAR) {
            BibEntry e;
            e.Type = bt_entry_type(entry) ? bt_entry_type(entry) : "";
            e.Key = bt_entry_key(entry) ? bt_entry_key(entry) : "";
            e.Line = chunk.Line;
            char* name = nullptr;
            for (AST* field = bt_next_field(entry, nullptr, &name); field;
                 field = bt_next_field(entry, field, &name)) {
                e.Fields.emplace_back(name ? name : "", FromLibrary(FieldText(field)));
            }
            if (parse.warnings > 0)
                result.Problems.push_back({chunk.Line, 0,
                                           "Eintrag " + Quoted(chunk.Key) +
                                               Cp1252(": unbekanntes @string-Makro oder ähnliches, der Wert blieb "
                                                      "leer"),
                                           false});
            result.Entries.push_back(std::move(e));
        }
    }
    return result;
}

} // namespace folianto
