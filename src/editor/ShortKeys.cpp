#include "editor/ShortKeys.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "diag/Trace.h"
#include "shell/App.h"

#include <unordered_map>
#include <unordered_set>

namespace folianto {
namespace {

constexpr int64_t kMaxRunningNumber = 999999;

bool StartsWith(const std::string& s, const std::string& prefix)
{
    return s.size() >= prefix.size() && s.compare(0, prefix.size(), prefix) == 0;
}

} // namespace

std::string FormatKuerzelNumber(int64_t number, int32_t digits)
{
    std::string text = std::to_string(number);
    if (digits > 0 && text.size() < static_cast<std::size_t>(digits))
        text.insert(0, static_cast<std::size_t>(digits) - text.size(), '0');
    return text;
}

bool KuerzelIsUnique(const App& app, const std::string& key, int32_t skipIndex)
{
    if (!HasPrintable(key))
        return false;
    const std::string upper = UpperAscii(key);
    for (int32_t i = 1; i <= app.store.AnzBuch; ++i) {
        if (i == skipIndex)
            continue;
        const TBuch* b = app.store.at(i);
        if (b && b->Kuerzel.Text.size() == upper.size() && UpperAscii(b->Kuerzel.Text) == upper)
            return false;
    }
    return true;
}

void Kuerzel_erzeugen(App& app)
{
    WriteTrace("ImportEntry: Kuerzel_erzeugen [ENTRY]");
    TBuch* b = app.store.current();
    std::string key;
    if (b) {
        const std::string& autor = b->Autor.Text;
        std::string prefix = autor.size() < 4 ? autor : autor.substr(0, 3);
        while (prefix.size() < 3)
            prefix += '_';
        // Only keys beginning with the prefix can equal a candidate: collect
        // them once instead of scanning the store for every number.
        const std::string upperPrefix = UpperAscii(prefix);
        std::unordered_set<std::string> taken;
        for (int32_t i = 1; i <= app.store.AnzBuch; ++i) {
            const TBuch* t = app.store.at(i);
            if (t && t->Kuerzel.Text.size() > prefix.size()) {
                std::string upper = UpperAscii(t->Kuerzel.Text);
                if (StartsWith(upper, upperPrefix))
                    taken.insert(std::move(upper));
            }
        }
        std::string candidate;
        bool unique = false;
        for (int64_t n = 1; n <= kMaxRunningNumber && !unique; ++n) {
            candidate = prefix + FormatKuerzelNumber(n, app.settings.LZerzwK);
            unique = taken.count(UpperAscii(candidate)) == 0;
        }
        if (unique) {
            key = candidate;
            b->Kuerzel.Text = key;
            b->Kuerzel.Len = static_cast<int32_t>(key.size());
        }
    }
    WriteTrace("ImportEntry: Kuerzel_erzeugen [EXIT]\r\n" + Cp1252("Kürzel fehlte => neu erzeugt: ") + "\"" +
               key + "\"");
}

std::string MakeUniqueKuerzel(App& app, int32_t index)
{
    TraceScope trace("ShortKeys.MakeUniqueKuerzel");
    const TBuch* source = app.store.at(index);
    if (!source)
        return {};
    const std::string base = source->Kuerzel.Text;
    // How many of the titles 1..AnzBuch-1 hold each key that begins with the
    // base; every candidate does.
    std::unordered_map<std::string, int32_t> held;
    for (int32_t i = 1; i < app.store.AnzBuch; ++i) {
        const TBuch* t = app.store.at(i);
        if (t && StartsWith(t->Kuerzel.Text, base))
            ++held[t->Kuerzel.Text];
    }
    auto count = [&held](const std::string& key) {
        const auto it = held.find(key);
        return it == held.end() ? 0 : it->second;
    };
    const int32_t digits = app.settings.LZerzwK;
    // The number follows from the count of the last candidate. That walk can
    // come back to a candidate already tried (base and base_002 held once
    // each); the lowest free number ends it then.
    std::unordered_set<std::string> tried;
    std::string candidate = base;
    for (int32_t c = count(candidate); c > 0; c = count(candidate)) {
        if (!tried.insert(candidate).second) {
            for (int64_t n = 2;; ++n) {
                candidate = base + "_" + FormatKuerzelNumber(n, digits);
                if (count(candidate) == 0)
                    return candidate;
            }
        }
        candidate = base + "_" + FormatKuerzelNumber(int64_t{c} + 1, digits);
    }
    return candidate;
}

} // namespace folianto
