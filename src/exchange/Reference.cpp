#include "exchange/Reference.h"

#include "core/Buch.h"
#include "core/Codec.h"
#include "core/Text.h"
#include "exchange/DateText.h"
#include "exchange/FieldMeaning.h"

#include <cstdlib>

namespace folianto {
namespace {

bool IsBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

std::string Trimmed(const std::string& s)
{
    std::size_t a = 0;
    std::size_t b = s.size();
    while (a < b && IsBlank(s[a]))
        ++a;
    while (b > a && IsBlank(s[b - 1]))
        --b;
    return s.substr(a, b - a);
}

} // namespace

std::vector<std::string> SplitListText(const std::string& text, char separator)
{
    std::vector<std::string> parts;
    std::size_t pos = 0;
    while (pos <= text.size()) {
        std::size_t end = separator == ';' ? FindListSeparator(text, pos) : text.find(separator, pos);
        if (end == std::string::npos)
            end = text.size();
        std::string part = Trimmed(text.substr(pos, end - pos));
        if (!part.empty())
            parts.push_back(std::move(part));
        pos = end + 1;
    }
    return parts;
}

std::string JoinListText(const std::vector<std::string>& parts, const std::string& separator)
{
    std::string out;
    for (const std::string& p : parts) {
        if (!out.empty())
            out += separator;
        out += p;
    }
    return out;
}

std::string CollapseBlanks(const std::string& text)
{
    std::string out;
    out.reserve(text.size());
    bool blank = false;
    for (char c : text) {
        if (IsBlank(c)) {
            blank = !out.empty();
            continue;
        }
        if (blank)
            out += ' ';
        blank = false;
        out += c;
    }
    return out;
}

std::string NormaliseLineBreaks(const std::string& text)
{
    std::string out;
    out.reserve(text.size() + text.size() / 32);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            out += "\r\n";
        } else {
            out += text[i];
        }
    }
    return Trimmed(out);
}

int32_t LeadingNumber(const std::string& text)
{
    int64_t value = 0;
    std::size_t digits = 0;
    while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') {
        value = value * 10 + (text[digits] - '0');
        if (value > INT32_MAX)
            return -1;
        ++digits;
    }
    return digits == 0 ? -1 : static_cast<int32_t>(value);
}

int32_t EditionNumber(const std::string& text)
{
    const std::string t = CollapseBlanks(text);
    if (const int32_t n = LeadingNumber(t); n > 0)
        return n; // "3", "3rd", "2. Aufl.", "2nd ed."
    // Words, German and English, any case and inflection ("zweite", "Zweiten").
    static const char* const words[][3] = {
        {"first", "erst", "1"},    {"second", "zweit", "2"},  {"third", "dritt", "3"},   {"fourth", "viert", "4"},
        {"fifth", "fünft", "5"},   {"sixth", "sechst", "6"},  {"seventh", "siebt", "7"}, {"eighth", "acht", "8"},
        {"ninth", "neunt", "9"},   {"tenth", "zehnt", "10"},  {"eleventh", "elft", "11"}, {"twelfth", "zwölft", "12"},
    };
    const std::string lower = FromCp1252(t).toLower().toStdString();
    const std::string word = lower.substr(0, lower.find_first_of(" .,"));
    for (const auto& w : words) {
        if (word == w[0] || (word.rfind(w[1], 0) == 0 && word.size() <= std::string(w[1]).size() + 2))
            return std::atoi(w[2]);
    }
    return -1;
}

std::optional<PlaceAndPublisher> SplitPlaceAndPublisher(const std::string& verlag)
{
    const std::size_t colon = verlag.find(':');
    if (colon == std::string::npos)
        return std::nullopt;
    PlaceAndPublisher out{CollapseBlanks(verlag.substr(0, colon)), CollapseBlanks(verlag.substr(colon + 1))};
    if (out.Place.empty() || out.Publisher.empty())
        return std::nullopt;
    // A place is a few words without digits ("Frankfurt am Main", "Berlin [u.a.]").
    for (char c : out.Place)
        if (c >= '0' && c <= '9')
            return std::nullopt;
    if (out.Place.size() > 40)
        return std::nullopt;
    return out;
}

namespace {

bool AllDigits(const std::string& s)
{
    if (s.empty())
        return false;
    for (char c : s)
        if (c < '0' || c > '9')
            return false;
    return true;
}

// The members a type has no field for, kept in the remark.
class Leftovers {
public:
    void add(const char* label, const std::string& value)
    {
        if (!value.empty())
            text_ += (text_.empty() ? "" : "\r\n") + Cp1252(label) + ": " + value;
    }
    // The first non-empty value; the others are left over.
    std::string pick(std::initializer_list<std::pair<const char*, const std::string*>> candidates)
    {
        std::string chosen;
        for (const auto& [label, value] : candidates) {
            if (chosen.empty())
                chosen = *value;
            else if (*value != chosen)
                add(label, *value);
        }
        return chosen;
    }
    const std::string& text() const { return text_; }

private:
    std::string text_;
};

} // namespace

Reference ReferenceOfTitle(const TBuch& b)
{
    Reference r;
    const int32_t typ = b.TypNum & ~LinkFlag;
    r.Typ = typ >= 0 && typ < TypCount ? typ : 8;
    const TypeMeaning& m = MeaningOfType(r.Typ);
    r.Key = b.Kuerzel.Text;
    r.Authors = SplitListText(b.Autor.Text, ';');
    r.Editors = SplitListText(b.Herausgeber.Text, ';');
    r.Keywords = SplitListText(b.Schlagworte.Text, ';');
    r.Title = b.Titel.Text;
    r.Subtitle = b.AltTitel.Text;
    r.OrigTitle = b.OrigTitel.Text;
    r.Year = !b.Jahr.Text.empty() ? b.Jahr.Text : b.JahrNum > 0 ? IntToStr(b.JahrNum) : std::string();
    r.Publisher = b.Verlag.Text;
    r.Address = b.Ort.Text;
    if (r.Address.empty())
        if (const std::optional<PlaceAndPublisher> split = SplitPlaceAndPublisher(r.Publisher)) {
            r.Address = split->Place;
            r.Publisher = split->Publisher;
        }
    (m.Reihe == Meaning::Container ? r.Container : m.Reihe == Meaning::Genre ? r.Genre : r.Series) = b.Reihe.Text;
    const std::string auflage = b.Auflage > 0 ? IntToStr(b.Auflage) : std::string();
    (m.Auflage == Meaning::Volume ? r.Volume : r.Edition) = auflage;
    switch (m.Band) {
    case Meaning::SeriesNumberOrVolume: (b.Reihe.Text.empty() ? r.Volume : r.SeriesNumber) = b.Band.Text; break;
    case Meaning::VolumeFallback:
        if (r.Volume.empty())
            r.Volume = b.Band.Text;
        break;
    default: r.Volume = b.Band.Text; break;
    }
    if (b.HeftNr.Text != "0")
        (m.HeftNr == Meaning::Issue ? r.Issue : r.Number) = b.HeftNr.Text;
    (m.Seiten == Meaning::PageRange ? r.Pages : r.PageCount) = b.Seiten.Text;
    (m.ISBN == Meaning::IsbnOrIssn && LooksLikeIssn(b.ISBN.Text) ? r.Issn : r.Isbn) = b.ISBN.Text;
    r.Abstract = b.Inhalt.Text;
    r.Note = b.Bemerkung.Text;
    r.Language = b.Sprache.Text;
    r.Medium = b.Medium.Text;
    r.Extent = b.Laenge.Text;
    if (b.TypNum & LinkFlag)
        r.Url = b.Quelle.Text;
    return r;
}

void StoreReference(const Reference& r, TBuch& b)
{
    b.TypNum = (r.Typ >= 0 && r.Typ < TypCount ? r.Typ : 8) | (r.Url.empty() ? 0 : LinkFlag);
    const TypeMeaning& m = MeaningOfType(b.TypNum & ~LinkFlag);
    Leftovers rest;
    b.Quelle.Text = r.Url;
    b.Autor.Text = JoinListText(r.Authors, "; ");
    b.Herausgeber.Text = JoinListText(r.Editors, "; ");
    b.Schlagworte.Text = JoinListText(r.Keywords, ";");
    b.Titel.Text = r.Title;
    b.AltTitel.Text = r.Subtitle;
    b.OrigTitel.Text = r.OrigTitle;
    b.Jahr.Text = r.Year;
    const IssuedDate date = ParseIssuedDate(r.Year);
    // The editor shows a journal's `JahrNum` instead of its `Jahr`: a date
    // with a month stays visible only without it.
    const bool journal = m.Auflage == Meaning::Volume;
    const int32_t leading = LeadingNumber(r.Year); // "2007/8", "1973b"
    b.JahrNum = date.isDate() ? (journal && date.Parts[0].Month > 0 ? -1 : date.Parts[0].Year)
                              : (leading >= 100 ? leading : -1);
    b.Verlag.Text = r.Publisher;
    b.Ort.Text = r.Address;
    if (const std::optional<PlaceAndPublisher> split = SplitPlaceAndPublisher(b.Verlag.Text))
        if (b.Ort.Text.empty() || b.Ort.Text == split->Place) {
            b.Ort.Text = split->Place;
            b.Verlag.Text = split->Publisher;
        }
    switch (m.Reihe) {
    case Meaning::Container:
        b.Reihe.Text = rest.pick({{"Enthalten in", &r.Container}, {"Reihe", &r.Series}, {"Art", &r.Genre}});
        break;
    case Meaning::Genre:
        b.Reihe.Text = rest.pick({{"Art", &r.Genre}, {"Reihe", &r.Series}, {"Enthalten in", &r.Container}});
        break;
    default:
        b.Reihe.Text = rest.pick({{"Reihe", &r.Series}, {"Enthalten in", &r.Container}, {"Art", &r.Genre}});
        break;
    }
    b.Auflage = -1;
    if (journal) {
        // The volume is the "Jahrgang" when it is a number, else it keeps its text in Band.
        const std::string volume = rest.pick({{"Band", &r.Volume}, {"Nummer in der Reihe", &r.SeriesNumber}});
        const int32_t n = AllDigits(volume) ? LeadingNumber(volume) : -1;
        if (n > 0)
            b.Auflage = n;
        else
            b.Band.Text = volume;
        rest.add("Auflage", r.Edition);
    } else {
        b.Band.Text = m.Band == Meaning::SeriesNumberOrVolume
                          ? rest.pick({{"Nummer in der Reihe", &r.SeriesNumber}, {"Band", &r.Volume}})
                          : rest.pick({{"Band", &r.Volume}, {"Nummer in der Reihe", &r.SeriesNumber}});
        const int32_t edition = EditionNumber(r.Edition);
        if (edition > 0)
            b.Auflage = edition;
        else
            rest.add("Auflage", r.Edition);
    }
    b.HeftNr.Text = m.HeftNr == Meaning::Issue ? rest.pick({{"Heft", &r.Issue}, {"Nummer", &r.Number}})
                                               : rest.pick({{"Nummer", &r.Number}, {"Heft", &r.Issue}});
    b.Seiten.Text = m.Seiten == Meaning::PageRange ? rest.pick({{"Seiten", &r.Pages}, {"Seitenzahl", &r.PageCount}})
                                                   : rest.pick({{"Seitenzahl", &r.PageCount}, {"Seiten", &r.Pages}});
    b.ISBN.Text = rest.pick({{"ISBN", &r.Isbn}, {"ISSN", &r.Issn}});
    b.Inhalt.Text = r.Abstract;
    b.Bemerkung.Text = r.Note;
    if (!rest.text().empty())
        b.Bemerkung.Text += (b.Bemerkung.Text.empty() ? "" : "\r\n") + rest.text();
    b.Sprache.Text = r.Language;
    b.Medium.Text = r.Medium;
    b.Laenge.Text = r.Extent;
}

} // namespace folianto
