#include "editor/ShortKeys.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "config/Settings.h"
#include "core/TitleStore.h"

#include <algorithm>
#include <vector>

namespace folianto {
namespace {

constexpr int64_t kMaxRunningNumber = 999999;

char UpperChar(char c)
{
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

int32_t DecimalDigits(int64_t n)
{
    int32_t d = 1;
    while (n >= 10) {
        n /= 10;
        ++d;
    }
    return d;
}

// How many of the titles 1..last hold prefix + FormatKuerzelNumber(n, digits),
// for n = 1..last+1 (index n; a free number always lies in that range). With
// `fold` the letters a..z compare as A..Z and `prefix` must be upper-cased.
// One pass over the store instead of one per candidate.
std::vector<int32_t> NumberCounts(const TitleStore& store, const std::string& prefix, int32_t digits, bool fold,
                                  int32_t last)
{
    std::vector<int32_t> counts(static_cast<std::size_t>(last) + 2, 0);
    const std::size_t p = prefix.size();
    for (int32_t i = 1; i <= last; ++i) {
        const TBuch* t = store.at(i);
        if (!t)
            continue;
        const std::string& k = t->Kuerzel.Text;
        if (k.size() <= p)
            continue;
        bool match = true;
        for (std::size_t j = 0; j < p && match; ++j)
            match = (fold ? UpperChar(k[j]) : k[j]) == prefix[j];
        int64_t n = 0;
        const auto size = static_cast<int64_t>(counts.size());
        for (std::size_t j = p; j < k.size() && match; ++j) {
            n = n * 10 + (k[j] - '0');
            match = k[j] >= '0' && k[j] <= '9' && n < size; // larger numbers are never asked for
        }
        // Only the number's own form counts: zero-padded to `digits`, no more.
        if (match && n > 0 && static_cast<int32_t>(k.size() - p) == std::max(digits, DecimalDigits(n)))
            ++counts[static_cast<std::size_t>(n)];
    }
    return counts;
}

} // namespace

std::string FormatKuerzelNumber(int64_t number, int32_t digits)
{
    std::string text = std::to_string(number);
    if (digits > 0 && text.size() < static_cast<std::size_t>(digits))
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

bool KuerzelIsUnique(const TitleStore& store, const std::string& key, int32_t skipIndex)
{
    if (!HasPrintable(key))
        return false;
    const std::string upper = UpperAscii(key);
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        if (i == skipIndex)
            continue;
        const TBuch* b = store.at(i);
        if (b && b->Kuerzel.Text.size() == upper.size() && UpperAscii(b->Kuerzel.Text) == upper)
            return false;
    }
    return true;
}

void Kuerzel_erzeugen(TitleStore& store, const Settings& settings)
{
    WriteTrace("ImportEntry: Kuerzel_erzeugen [ENTRY]");
    TBuch* b = store.current();
    std::string key;
    if (b) {
        const std::string& autor = b->Autor.Text;
        std::string prefix = autor.size() < 4 ? autor : autor.substr(0, 3);
        while (prefix.size() < 3)
            prefix += '_';
        const int32_t digits = settings.LZerzwK;
        const auto held = NumberCounts(store, UpperAscii(prefix), digits, true, store.AnzBuch);
        for (int64_t n = 1; n <= kMaxRunningNumber; ++n)
            if (n >= static_cast<int64_t>(held.size()) || held[static_cast<std::size_t>(n)] == 0) {
                key = prefix + FormatKuerzelNumber(n, digits);
                b->Kuerzel.Text = key;
                b->Kuerzel.Len = static_cast<int32_t>(key.size());
                break;
            }
    }
    WriteTrace("ImportEntry: Kuerzel_erzeugen [EXIT]\r\n" + Cp1252("Kürzel fehlte => neu erzeugt: ") + "\"" +
               key + "\"");
}

namespace {

// MakeUniqueKuerzel comparing the titles 1..last.
std::string UniqueVariant(const TitleStore& store, const Settings& settings, int32_t index, int32_t last)
{
    const TBuch* source = store.at(index);
    if (!source)
        return {};
    const std::string base = source->Kuerzel.Text;
    const int32_t digits = settings.LZerzwK;
    // held[n]: titles holding base + "_" + number n; held[0]: the base itself.
    std::vector<int32_t> held = NumberCounts(store, base + "_", digits, false, last);
    for (int32_t i = 1; i <= last; ++i)
        if (const TBuch* t = store.at(i); t && t->Kuerzel.Text == base)
            ++held[0];
    // The next number follows from the count of the current candidate. That
    // walk can return to a number already tried (base and base_002 held once
    // each); the lowest free number from 2 on ends it then.
    std::vector<bool> tried(held.size(), false);
    std::size_t m = 0;
    while (held[m] > 0) {
        if (tried[m]) {
            m = 2;
            while (m < held.size() && held[m] > 0)
                ++m;
            break;
        }
        tried[m] = true;
        m = static_cast<std::size_t>(held[m]) + 1;
    }
    return m == 0 ? base : base + "_" + FormatKuerzelNumber(static_cast<int64_t>(m), digits);
}

} // namespace

std::string MakeUniqueKuerzel(const TitleStore& store, const Settings& settings, int32_t index)
{
    TraceScope trace("ShortKeys.MakeUniqueKuerzel");
    return UniqueVariant(store, settings, index, store.AnzBuch - 1); // the last title is not compared
}

std::string MakeUniqueCopyKuerzel(const TitleStore& store, const Settings& settings, int32_t index)
{
    TraceScope trace("ShortKeys.MakeUniqueCopyKuerzel");
    return UniqueVariant(store, settings, index, store.AnzBuch);
}

} // namespace folianto
