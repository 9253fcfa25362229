#include "lookup/EditorLookup.h"

#include "core/Codec.h"
#include "core/Text.h"

#include <functional>
#include <utility>

namespace folianto {
namespace {

bool IsJournal(int32_t typ)
{
    return typ == TypZeitschriftenaufsatz || typ == TypZeitungsartikel;
}

// A field of the editor's values as text, for comparing and setting.
struct FieldAccess {
    EditControl control;
    std::function<std::string(const TitleEditorValues&)> get;
    std::function<void(TitleEditorValues&, const std::string&)> set;
};

std::string NumberText(int32_t n)
{
    return n > 0 ? IntToStr(n) : std::string();
}

// Every field a found title can fill.
const std::vector<FieldAccess>& Fields()
{
    using V = TitleEditorValues;
    using C = EditControl;
    auto text = [](C c, std::string V::*m) {
        return FieldAccess{c, [m](const V& v) { return v.*m; }, [m](V& v, const std::string& s) { v.*m = s; }};
    };
    auto choice = [](C c, ChoiceBox V::*m) {
        return FieldAccess{c, [m](const V& v) { return (v.*m).Text; },
                           [m](V& v, const std::string& s) { (v.*m).Text = s; }};
    };
    auto multi = [](C c, MultiSelectBox V::*m) {
        return FieldAccess{c, [m](const V& v) { return (v.*m).Text; }, [m](V& v, const std::string& s) {
                               TickFromText(v.*m, s);
                               (v.*m).Text = s;
                           }};
    };
    static const std::vector<FieldAccess> fields = {
        multi(C::ComboBoxAutor, &V::Autor),
        multi(C::ComboBoxHerausgeber, &V::Herausgeber),
        text(C::TitelEdit, &V::Titel),
        text(C::AltTitelEdit, &V::AltTitel),
        choice(C::ComboBoxZeitschrift, &V::Zeitschrift),
        text(C::EditJahrgang, &V::Jahrgang),
        text(C::EditJahr, &V::Jahr),
        text(C::AusgabeEdit, &V::Ausgabe),
        text(C::EditionYearEdit, &V::EditionYear),
        choice(C::ComboBoxSerie, &V::Serie),
        text(C::EditHeftNr, &V::HeftNr),
        text(C::BandEdit, &V::Band),
        choice(C::ComboBoxVerlag, &V::Verlag),
        choice(C::ComboBoxOrt, &V::Ort),
        text(C::ISBN_Edit, &V::ISBN),
        text(C::EditSeiten, &V::Seiten),
        choice(C::ComboBoxSprache, &V::Sprache),
        text(C::MemoSchlagworte, &V::Schlagworte),
        FieldAccess{C::EditQuelle, [](const V& v) { return v.Quelle; },
                    [](V& v, const std::string& s) {
                        v.Quelle = s;
                        v.QuelleAlsLink = true;
                    }},
    };
    return fields;
}

const FieldAccess* FieldOf(EditControl control)
{
    for (const FieldAccess& f : Fields())
        if (f.control == control)
            return &f;
    return nullptr;
}

// What the found title holds for each field, as the editor shows it.
std::vector<std::pair<EditControl, std::string>> FoundValues(const Reference& r)
{
    TBuch t;
    StoreReference(r, t);
    using C = EditControl;
    std::vector<std::pair<EditControl, std::string>> out = {
        {C::ComboBoxAutor, t.Autor.Text}, {C::ComboBoxHerausgeber, t.Herausgeber.Text},
        {C::TitelEdit, t.Titel.Text},     {C::AltTitelEdit, t.AltTitel.Text},
    };
    if (IsJournal(r.Typ)) {
        out.insert(out.end(), {{C::ComboBoxZeitschrift, t.Reihe.Text},
                               {C::EditJahrgang, NumberText(t.Auflage)},
                               {C::EditJahr, t.Jahr.Text}});
    } else {
        out.insert(out.end(), {{C::AusgabeEdit, NumberText(t.Auflage)},
                               {C::EditionYearEdit, t.Jahr.Text},
                               {C::ComboBoxSerie, t.Reihe.Text}});
    }
    out.insert(out.end(), {{C::EditHeftNr, t.HeftNr.Text},
                           {C::BandEdit, t.Band.Text},
                           {C::ComboBoxVerlag, t.Verlag.Text},
                           {C::ComboBoxOrt, t.Ort.Text},
                           {C::ISBN_Edit, t.ISBN.Text},
                           {C::EditSeiten, t.Seiten.Text},
                           {C::ComboBoxSprache, t.Sprache.Text},
                           {C::MemoSchlagworte, JoinListText(r.Keywords, "; ")},
                           {C::EditQuelle, r.Url}});
    return out;
}

// "3-16-148410-X" and "978-3-16-148410-0" name one book: no choice to offer.
bool SameIsbn(EditControl control, const std::string& current, const std::string& found)
{
    if (control != EditControl::ISBN_Edit)
        return false;
    const std::string isbn = NormalisedIsbn13(current);
    return !isbn.empty() && isbn == NormalisedIsbn13(found);
}

std::string WithoutColon(std::string label)
{
    while (!label.empty() && (label.back() == ':' || label.back() == ' '))
        label.pop_back();
    while (!label.empty() && label.front() == ' ')
        label.erase(0, 1);
    return label;
}

} // namespace

LookupId EditorLookupId(const TitleEditorValues& values)
{
    const LookupId isbn = ParseLookupId(values.ISBN);
    if (isbn.valid())
        return isbn;
    const LookupId quelle = ParseLookupId(values.Quelle);
    if (quelle.kind == LookupId::Kind::Doi)
        return quelle;
    if (!HasPrintable(values.ISBN))
        return ParseLookupId(std::string());
    return isbn;
}

std::string EditionSummary(const Reference& e)
{
    std::string text = e.Year.empty() ? std::string("o. J.") : e.Year;
    const int32_t edition = LeadingNumber(e.Edition);
    if (edition > 0)
        text += ", " + IntToStr(edition) + ". Auflage";
    if (!e.Publisher.empty())
        text += ", " + e.Publisher;
    const std::string& pages = e.PageCount.empty() ? e.Pages : e.PageCount;
    if (!pages.empty())
        text += ", " + pages + " S.";
    return text;
}

std::vector<FieldOffer> FillFromLookup(TitleEditorModel& model, const Reference& found)
{
    TitleEditorValues& v = model.Values;
    std::vector<FieldOffer> offers;
    if (v.LiteraturTyp == TypUnklar && found.Typ != TypUnklar) {
        model.SetLiteraturTyp(found.Typ);
    } else if (v.LiteraturTyp != found.Typ && found.Typ != TypUnklar) {
        offers.push_back({EditControl::RadioGroup_LiteraturTyp, "Literatur-Typ", TypNumToName(v.LiteraturTyp),
                          TypNumToName(found.Typ)});
    }
    for (const auto& [control, value] : FoundValues(found)) {
        const FieldAccess* field = FieldOf(control);
        if (value.empty() || !field)
            continue;
        const std::string current = field->get(v);
        if (!HasPrintable(current))
            field->set(v, value);
        else if (StripBlanks(current) != value && !SameIsbn(control, current, value))
            offers.push_back({control, WithoutColon(model.Label(control)), current, value});
    }
    return offers;
}

void TakeOffer(TitleEditorModel& model, const FieldOffer& offer)
{
    if (offer.Control == EditControl::RadioGroup_LiteraturTyp) {
        model.SetLiteraturTyp(TypNameToNum(offer.Found) & ~LinkFlag);
        return;
    }
    if (const FieldAccess* field = FieldOf(offer.Control))
        field->set(model.Values, offer.Found);
}

} // namespace folianto
