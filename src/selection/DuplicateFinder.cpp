#include "selection/DuplicateFinder.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "selection/Selection.h"
#include "workspace/Workspace.h"

#include <algorithm>
#include <array>
#include <functional>
#include <unordered_map>

namespace folianto {

namespace {

// Folded form of each Windows-1252 byte; empty for a word separator.
using FoldTable = std::array<std::string, 256>;

FoldTable MakeFoldTable()
{
    FoldTable t;
    for (int c = '0'; c <= '9'; ++c)
        t[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>(c));
    for (int c = 'a'; c <= 'z'; ++c) {
        t[static_cast<std::size_t>(c)] = std::string(1, static_cast<char>(c));
        t[static_cast<std::size_t>(c - 'a' + 'A')] = t[static_cast<std::size_t>(c)];
    }
    const auto set = [&t](unsigned char from, unsigned char to, const char* folded) {
        for (unsigned c = from; c <= to; ++c)
            t[c] = folded;
    };
    set(0x83, 0x83, "f");             // ƒ
    set(0x8A, 0x8A, "s");             // Š
    set(0x8C, 0x8C, "oe");            // Œ
    set(0x8E, 0x8E, "z");             // Ž
    set(0x9A, 0x9A, "s");             // š
    set(0x9C, 0x9C, "oe");            // œ
    set(0x9E, 0x9E, "z");             // ž
    set(0x9F, 0x9F, "y");             // Ÿ
    set(0xDF, 0xDF, "ss");            // ß
    // Upper and lower case letters 0xC0.. and 0xE0.. share their folding.
    for (unsigned lower : {0x00u, 0x20u}) {
        set(0xC0 + lower, 0xC3 + lower, "a");
        set(0xC4 + lower, 0xC4 + lower, "ae");
        set(0xC5 + lower, 0xC5 + lower, "a");
        set(0xC6 + lower, 0xC6 + lower, "ae");
        set(0xC7 + lower, 0xC7 + lower, "c");
        set(0xC8 + lower, 0xCB + lower, "e");
        set(0xCC + lower, 0xCF + lower, "i");
        set(0xD0 + lower, 0xD0 + lower, "d");
        set(0xD1 + lower, 0xD1 + lower, "n");
        set(0xD2 + lower, 0xD5 + lower, "o");
        set(0xD6 + lower, 0xD6 + lower, "oe");
        set(0xD8 + lower, 0xD8 + lower, "o");
        set(0xD9 + lower, 0xDB + lower, "u");
        set(0xDC + lower, 0xDC + lower, "ue");
        set(0xDD + lower, 0xDD + lower, "y");
        set(0xDE + lower, 0xDE + lower, "th");
    }
    set(0xFF, 0xFF, "y"); // ÿ (0xDF above is ß, not its capital)
    return t;
}

const FoldTable& Folding()
{
    static const FoldTable table = MakeFoldTable();
    return table;
}

std::vector<std::string> Words(const std::string& folded)
{
    std::vector<std::string> words;
    std::size_t from = 0;
    while (from < folded.size()) {
        std::size_t blank = folded.find(' ', from);
        if (blank == std::string::npos)
            blank = folded.size();
        words.push_back(folded.substr(from, blank - from));
        from = blank + 1;
    }
    return words;
}

bool IsLeadingArticle(const std::string& word)
{
    static const char* const articles[] = {"der", "die", "das", "ein", "eine", "the", "a",
                                           "an",  "le",  "la",  "les", "l",   "un",  "une"};
    return std::any_of(std::begin(articles), std::end(articles), [&word](const char* a) { return word == a; });
}

// Words that follow a name without being part of it: "u. a.", "et al.", "(Hrsg.)".
bool IsNameSuffix(const std::string& word)
{
    static const char* const suffixes[] = {"u", "a", "ua", "et", "al", "hrsg", "hg", "ed", "eds"};
    return std::any_of(std::begin(suffixes), std::end(suffixes), [&word](const char* s) { return word == s; });
}

// A run of ISBN characters without its hyphens and blanks, as a key.
bool IsbnKeyOf(const std::string& chars, std::string& key)
{
    const auto digitsUpTo = [&chars](std::size_t n) {
        return std::all_of(chars.begin(), chars.begin() + static_cast<std::ptrdiff_t>(n),
                           [](char c) { return c >= '0' && c <= '9'; });
    };
    if (chars.size() == 10 && digitsUpTo(9) && (chars[9] == 'X' || (chars[9] >= '0' && chars[9] <= '9'))) {
        key = "978" + chars.substr(0, 9);
        return true;
    }
    if (chars.size() == 13 && digitsUpTo(13) && (chars.compare(0, 3, "978") == 0 || chars.compare(0, 3, "979") == 0)) {
        key = chars.substr(0, 12);
        return true;
    }
    return false;
}

// Keys of one piece of the field between characters that cannot be part of an
// ISBN: the whole piece, else each of its blank-separated parts.
void AddIsbnKeys(const std::string& piece, std::vector<std::string>& keys)
{
    const auto compact = [](const std::string& s) {
        std::string out;
        for (char c : s)
            if (c != '-' && c != ' ')
                out += c == 'x' ? 'X' : c;
        return out;
    };
    std::string key;
    if (IsbnKeyOf(compact(piece), key)) {
        keys.push_back(key);
        return;
    }
    std::size_t from = 0;
    while (from < piece.size()) {
        std::size_t blank = piece.find(' ', from);
        if (blank == std::string::npos)
            blank = piece.size();
        if (IsbnKeyOf(compact(piece.substr(from, blank - from)), key))
            keys.push_back(key);
        from = blank + 1;
    }
}

bool IsIsbnChar(char c)
{
    return (c >= '0' && c <= '9') || c == 'X' || c == 'x' || c == '-' || c == ' ';
}

uint64_t PairId(int32_t a, int32_t b)
{
    return static_cast<uint64_t>(static_cast<uint32_t>(a)) << 32 | static_cast<uint32_t>(b);
}

// Pairs of the first member of each group of two or more with every other one.
template <class Map>
void CollectPairs(const Map& groups, uint8_t reason, std::unordered_map<uint64_t, uint8_t>& pairs)
{
    for (const auto& entry : groups) {
        const std::vector<int32_t>& members = entry.second;
        for (std::size_t i = 1; i < members.size(); ++i)
            pairs[PairId(members[0], members[i])] |= reason;
    }
}

std::string Shortened(const std::string& text, std::size_t max)
{
    if (text.size() <= max)
        return text;
    return text.substr(0, max - 1) + '\x85'; // …
}

std::string TitleLabel(const TBuch& b)
{
    std::string label = HasPrintable(b.Kuerzel.Text) ? b.Kuerzel.Text : "Nr. " + IntToStr(b.BuchNr);
    label += " \x84" + Shortened(b.Titel.Text, 36) + "\x93"; // „…“
    const std::string year = YearKey(b);
    if (!year.empty())
        label += " (" + year + ")";
    return label;
}

int32_t HighestBuchNr(const TitleStore& store)
{
    int32_t highest = 0;
    for (int32_t i = 1; i <= store.AnzBuch; ++i)
        if (const TBuch* b = store.at(i))
            highest = std::max(highest, b->BuchNr);
    return highest;
}

} // namespace

std::string FoldText(const std::string& text)
{
    const FoldTable& fold = Folding();
    std::string out;
    out.reserve(text.size());
    bool pendingBlank = false;
    for (unsigned char c : text) {
        const std::string& f = fold[c];
        if (f.empty()) {
            pendingBlank = !out.empty();
            continue;
        }
        if (pendingBlank)
            out += ' ';
        pendingBlank = false;
        out += f;
    }
    return out;
}

std::string TitleWords(const std::string& titel)
{
    std::string folded = FoldText(titel);
    const std::size_t blank = folded.find(' ');
    if (blank != std::string::npos && IsLeadingArticle(folded.substr(0, blank)))
        folded.erase(0, blank + 1);
    return folded;
}

std::string FirstSurname(const std::string& persons)
{
    std::string first = persons.substr(0, FindListSeparator(persons));
    const std::size_t comma = first.find(',');
    if (comma != std::string::npos)
        first.resize(comma);
    std::vector<std::string> words = Words(FoldText(first));
    // Initials after the surname ("Kafka F.") are no surname either.
    while (words.size() > 1 && (IsNameSuffix(words.back()) || words.back().size() == 1))
        words.pop_back();
    return words.empty() ? std::string() : words.back();
}

std::string YearKey(const TBuch& b)
{
    const std::string& jahr = b.Jahr.Text;
    std::size_t run = 0;
    for (std::size_t i = 0; i <= jahr.size(); ++i) {
        if (i < jahr.size() && jahr[i] >= '0' && jahr[i] <= '9') {
            ++run;
            continue;
        }
        if (run == 4)
            return jahr.substr(i - 4, 4);
        run = 0;
    }
    if (b.JahrNum > 0 && b.JahrNum <= 9999)
        return IntToStr(b.JahrNum);
    return {};
}

std::vector<std::string> IsbnKeys(const std::string& isbn)
{
    std::vector<std::string> keys;
    std::string piece;
    for (std::size_t i = 0; i <= isbn.size(); ++i) {
        if (i < isbn.size() && IsIsbnChar(isbn[i])) {
            piece += isbn[i];
            continue;
        }
        if (!piece.empty())
            AddIsbnKeys(piece, keys);
        piece.clear();
    }
    std::sort(keys.begin(), keys.end());
    keys.erase(std::unique(keys.begin(), keys.end()), keys.end());
    return keys;
}

std::string AuthorTitleYearKey(const TBuch& b)
{
    const std::string surname = FirstSurname(HasPrintable(b.Autor.Text) ? b.Autor.Text : b.Herausgeber.Text);
    if (surname.empty())
        return {};
    const std::string year = YearKey(b);
    if (year.empty())
        return {};
    const std::string words = TitleWords(b.Titel.Text);
    if (words.empty())
        return {};
    return surname + '\x1F' + year + '\x1F' + words;
}

std::vector<DuplicatePair> FindDuplicates(const TitleStore& store)
{
    TraceScope trace("DuplicateFinder.FindDuplicates", "AnzBuch=" + IntToStr(store.AnzBuch));
    std::unordered_map<std::string, std::vector<int32_t>> byIsbn, byAuthorTitleYear;
    const std::size_t count = static_cast<std::size_t>(std::max(store.AnzBuch, 0));
    byIsbn.reserve(count);
    byAuthorTitleYear.reserve(count);
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        const TBuch* b = store.at(i);
        if (!b)
            continue;
        for (const std::string& key : IsbnKeys(b->ISBN.Text))
            byIsbn[key].push_back(i);
        std::string key = AuthorTitleYearKey(*b);
        if (!key.empty())
            byAuthorTitleYear[std::move(key)].push_back(i);
    }

    std::unordered_map<uint64_t, uint8_t> found;
    CollectPairs(byIsbn, SameIsbn, found);
    CollectPairs(byAuthorTitleYear, SameAuthorTitleYear, found);
    std::vector<DuplicatePair> pairs;
    pairs.reserve(found.size());
    for (const auto& [id, reasons] : found)
        pairs.push_back({static_cast<int32_t>(id >> 32), static_cast<int32_t>(id & 0xFFFFFFFFu), reasons});
    std::sort(pairs.begin(), pairs.end(), [](const DuplicatePair& a, const DuplicatePair& b) {
        return a.First != b.First ? a.First < b.First : a.Second < b.Second;
    });
    return pairs;
}

std::string DuplicateReasonText(uint8_t reasons)
{
    std::string text;
    if (reasons & SameIsbn)
        text = "gleiche ISBN";
    if (reasons & SameAuthorTitleYear)
        text += std::string(text.empty() ? "" : ", ") + "gleicher Autor, Titel und Jahr";
    return text;
}

std::string DuplicatePairText(const TitleStore& store, const DuplicatePair& pair)
{
    const TBuch* a = store.at(pair.First);
    const TBuch* b = store.at(pair.Second);
    if (!a || !b)
        return {};
    return DuplicateReasonText(pair.Reasons) + ": " + TitleLabel(*a) + " und " + TitleLabel(*b);
}

std::vector<DuplicatePair> SearchDuplicates(Workspace& ws)
{
    TraceScope trace("DuplicateFinder.DoppelteTitelSuchen");
    std::vector<DuplicatePair> pairs;
    {
        BusyCursor busy(ws.ui);
        pairs = FindDuplicates(ws.store);
    }
    if (pairs.empty())
        ws.ui.message(MsgKind::Information, "Es wurden keine doppelten Titel gefunden.", Buttons::Ok);
    return pairs;
}

void ShowDuplicates(Workspace& ws, const std::vector<DuplicatePair>& pairs)
{
    TraceScope trace("DuplicateFinder.DoppelteTitelZeigen", "Paare=" + IntToStr(static_cast<int>(pairs.size())));
    // Titles joined by pairs form one group, numbered by its lowest store index.
    std::unordered_map<int32_t, int32_t> parent;
    const std::function<int32_t(int32_t)> root = [&](int32_t i) {
        auto it = parent.find(i);
        if (it == parent.end() || it->second == i)
            return i;
        return it->second = root(it->second);
    };
    for (const DuplicatePair& p : pairs) {
        if (!ws.store.at(p.First) || !ws.store.at(p.Second))
            continue;
        const int32_t a = root(p.First), b = root(p.Second);
        parent[a] = a;
        parent[b] = b;
        parent[std::max(a, b)] = std::min(a, b);
    }
    SelectionState& sel = ws.selection;
    sel.DuplicateGroup.clear();
    for (const auto& entry : parent)
        sel.DuplicateGroup[ws.store.at(entry.first)->BuchNr] = root(entry.first);
    sel.DuplicatesNewFrom = HighestBuchNr(ws.store) + 1;
    SetAusgabeData(ws);
    SelectGridRow(ws, 1);
}

void EndDuplicateSelection(Workspace& ws)
{
    ws.selection.DuplicateGroup.clear();
    ws.selection.DuplicatesNewFrom = 0;
}

} // namespace folianto
