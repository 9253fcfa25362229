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

// The library turns every line break inside a value into a blank. Line
// breaks of values travel through it as this private-use character instead.
const char kLineBreakMark[] = "\xEE\x80\x80";

// The chunk's bytes as a C string for the library: NUL bytes become blanks,
// line breaks inside values the mark.
void ChunkForLibrary(const std::string& text, const BibChunk& chunk, std::vector<char>& out)
{
    const std::size_t open = EntryOpening(text, chunk.Begin);
    const int entryLevel = open != std::string::npos && text[open] == '{' ? 1 : 0;
    out.resize(3 * (chunk.End - chunk.Begin) + 1); // a mark is three bytes
    char* o = out.data();
    int depth = 0;
    bool inQuote = false;
    for (std::size_t p = chunk.Begin; p < chunk.End; ++p) {
        const char c = text[p];
        switch (c) {
        case '{': ++depth; break;
        case '}': --depth; break;
        case '"':
            if (depth == entryLevel && p > open)
                inQuote = !inQuote;
            break;
        case '\r':
        case '\n':
            if (p > open && (depth > entryLevel || inQuote)) {
                if (c == '\r' && p + 1 < chunk.End && text[p + 1] == '\n')
                    continue;
                for (const char m : {kLineBreakMark[0], kLineBreakMark[1], kLineBreakMark[2]})
                    *o++ = m;
                continue;
            }
            break;
        case '\0':
            *o++ = ' ';
            continue;
        default:
            break;
        }
        *o++ = c;
    }
    *o++ = '\0';
    out.resize(static_cast<std::size_t>(o - out.data()));
}

// The value with the marks as line breaks; blanks around them are the
// source's indentation and go.
std::string RestoreLineBreaks(const std::string& value)
{
    if (value.find(kLineBreakMark) == std::string::npos)
        return value;
    std::string out;
    std::size_t pos = 0;
    while (true) {
        const std::size_t mark = value.find(kLineBreakMark, pos);
        std::string piece = value.substr(pos, mark == std::string::npos ? std::string::npos : mark - pos);
        if (pos > 0)
            piece.erase(0, piece.find_first_not_of(' '));
        if (mark == std::string::npos) {
            out += piece;
            break;
        }
        while (!piece.empty() && piece.back() == ' ')
            piece.pop_back();
        out += piece + "\n";
        pos = mark + 3;
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
        bt_reset_error_counts();
        boolean ok = FALSE;
        AST* entry = bt_parse_entry_s(buffer.data(), kSourceName, chunk.Line, 0, &ok);
        const int warnings = bt_get_error_count(BTERR_CONTENT) + bt_get_error_count(BTERR_LEXWARN);
        if (!ok || !entry) {
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
                e.Fields.emplace_back(name ? name : "", RestoreLineBreaks(FieldText(field)));
            }
            if (warnings > 0)
                result.Problems.push_back({chunk.Line, 0,
                                           "Eintrag " + Quoted(chunk.Key) +
                                               Cp1252(": unbekanntes @string-Makro oder ähnliches, der Wert blieb "
                                                      "leer"),
                                           false});
            result.Entries.push_back(std::move(e));
        }
        if (entry)
            bt_free_ast(entry);
        bt_parse_entry_s(nullptr, nullptr, 0, 0, nullptr); // resets the lexer
    }
    return result;
}

} // namespace folianto
