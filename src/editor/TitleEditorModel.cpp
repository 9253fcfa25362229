#include "editor/TitleEditorModel.h"

#include "core/Codec.h"
#include "core/ErrorText.h"
#include "core/Text.h"
#include "core/Trace.h"
#include "editor/PictureLinks.h"
#include "editor/ShortKeys.h"
#include "selection/SearchLists.h"
#include "workspace/Workspace.h"
#include "workspace/ColumnModel.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <unordered_map>
#include <unordered_set>

namespace folianto {
namespace {

using C = EditControl;

constexpr std::size_t Idx(EditControl c) { return static_cast<std::size_t>(c); }

bool IsBlank(const std::string& s)
{
    return s.find_first_not_of(' ') == std::string::npos;
}

// Number of a numeric field: read like an import field, fraction dropped toward
// zero. Values no 32-bit field can hold count as unreadable.
int32_t FieldNumber(const std::string& text)
{
    const double v = std::trunc(ReadNumber(text));
    if (!std::isfinite(v) || v > std::numeric_limits<int32_t>::max() || v < std::numeric_limits<int32_t>::min())
        return 0;
    return static_cast<int32_t>(v);
}

// The price as a 32-bit float; beyond the float range it is unreadable.
float PriceNumber(const std::string& text)
{
    const double v = ReadNumber(text);
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<float>::max())
        return 0.0f;
    return static_cast<float>(v);
}

// Editing in place, a number field left blank keeps a stored value it did not
// show (none, 0 or less), so an OK that changed nothing leaves the title as it was.
int32_t BlankKeeps(const std::string& text, int32_t stored, bool inPlace)
{
    return inPlace && !HasPrintable(text) && stored <= 0 ? stored : FieldNumber(text);
}

std::string PriceText(float preis)
{
    if (!(preis > 0.005f) || !std::isfinite(preis))
        return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", static_cast<double>(preis));
    return buf;
}

// Rebuilds `list` from a box's items; entries that were there keep their
// Active flag, so leaving a box does not undo a filter selection.
void RebuildKeepingActive(SearchList& list, const std::vector<std::string>& items)
{
    std::unordered_map<std::string, bool> active;
    for (const auto& e : list.entries)
        active.emplace(e.Text, e.Active);
    list.Clear();
    for (const auto& item : items) {
        const auto it = active.find(item);
        list.AddEntry(item, it == active.end() || it->second);
    }
}

const std::string& KuerzelMessage(const std::string& key)
{
    static const std::string blank = Cp1252("Es wurde kein Kürzel eingegeben!\r\nGeben Sie bitte ein Kürzel ein!");
    static const std::string taken =
        Cp1252("Das eingegebene Kürzel existiert bereits!\r\nGeben Sie ein anderes Kürzel ein!");
    return HasPrintable(key) ? taken : blank;
}

// True when a stored field of `now` differs from `before`.
bool Differs(const TBuch& now, const TBuch& before)
{
    for (int f = 1; f <= TextFieldCount; ++f)
        if (now.TextField(f).Text != before.TextField(f).Text)
            return true;
    // NaN stored in a file compares unequal to itself: two NaNs are equal
    const auto same = [](auto a, auto b) { return a == b || (std::isnan(a) && std::isnan(b)); };
    return now.Auflage != before.Auflage || now.Verleihstatus != before.Verleihstatus ||
           now.JahrNum != before.JahrNum || now.TypNum != before.TypNum || !same(now.Preis, before.Preis) ||
           !same(now.Kaufdatum, before.Kaufdatum);
}

} // namespace

TitleEditorModel::TitleEditorModel(Workspace& ws) : Pictures(ws.ui), ws_(ws), designLabels_(DesignLabels())
{
    TraceScope trace("TitleEditorModel.TitleEditorModel");
    Labels = designLabels_;
    // The type box's items before any list fills it.
    Values.Typ.Items = {"Artikel", "gebundenes Buch", "Kopie", "Taschenbuch"};
    ApplyTypePanel();
}

bool TitleEditorModel::IsDisabled(EditControl control) const
{
    return std::find(Disabled.begin(), Disabled.end(), control) != Disabled.end();
}

const std::string& TitleEditorModel::Label(EditControl control) const
{
    return Labels[Idx(control)];
}

ChoiceBox* TitleEditorModel::ChoiceBoxOf(EditControl control)
{
    switch (control) {
    case C::ComboBoxZeitschrift: return &Values.Zeitschrift;
    case C::ComboBoxSerie: return &Values.Serie;
    case C::ComboBoxVerlag: return &Values.Verlag;
    case C::ComboBoxOrt: return &Values.Ort;
    case C::ComboBoxSprache: return &Values.Sprache;
    case C::ComboBoxTyp: return &Values.Typ;
    case C::ComboBoxOwner: return &Values.Owner;
    case C::ComboBoxStandort: return &Values.Standort;
    case C::ComboBoxKategorie: return &Values.Kategorie;
    case C::ComboBoxWaehrung: return &Values.Waehrung;
    default: return nullptr;
    }
}

MultiSelectBox* TitleEditorModel::MultiSelectOf(EditControl control)
{
    switch (control) {
    case C::ComboBoxAutor: return &Values.Autor;
    case C::ComboBoxHerausgeber: return &Values.Herausgeber;
    default: return nullptr;
    }
}

SearchList* TitleEditorModel::SearchListOf(EditControl control)
{
    SearchLists& l = ws_.lists;
    switch (control) {
    case C::ComboBoxZeitschrift: return &l.ZeitschriftSearchList;
    case C::ComboBoxSerie: return &l.ReiheSearchList;
    case C::ComboBoxVerlag: return &l.VerlagSearchList;
    case C::ComboBoxOrt: return &l.OrtSearchList;
    case C::ComboBoxSprache: return &l.SpracheSearchList;
    case C::ComboBoxTyp: return &l.TypSearchList;
    case C::ComboBoxOwner: return &l.BesitzerSearchList;
    case C::ComboBoxStandort: return &l.StandortSearchList;
    case C::ComboBoxKategorie: return &l.KategorieSearchList;
    case C::ComboBoxAutor: return &l.AutorSearchList;
    case C::ComboBoxHerausgeber: return &l.HerausgeberSearchList;
    default: return nullptr;
    }
}

void TitleEditorModel::ApplyTypePanel()
{
    Panel = LiteraturTypPanel(TypOf(Values.LiteraturTyp), ws_.settings.AlwaysShowAVM);
    Labels[Idx(C::ComboBoxSerie)] = Panel.SerieLabel;
    Labels[Idx(C::ComboBoxVerlag)] = Panel.VerlagLabel;
}

void TitleEditorModel::SetLiteraturTyp(int32_t typ)
{
    Values.LiteraturTyp = typ;
    ApplyTypePanel();
}

void TitleEditorModel::AdjustLabelsFromHeaders(const ColumnModel& columns)
{
    TraceScope trace("TitleEditorModel.AdjustLabelsFromHeaders");
    if (!ws_.settings.AdjustLabels)
        return;
    for (const HeaderLabel& h : HeaderLabels())
        Labels[Idx(h.control)] = columns.CellArray[static_cast<std::size_t>(h.descriptor)].Header;
}

void TitleEditorModel::SetVerleihstatus(int32_t index)
{
    Values.Verleihstatus = index;
    switch (index) {
    case 0:
        Values.VerleihstatusLabel.clear();
        Values.VerliehenAnVisible = false;
        break;
    case 1:
        Values.VerleihstatusLabel = "verliehen an";
        Values.VerliehenAnVisible = true;
        break;
    case 2:
        Values.VerleihstatusLabel = "ausgeliehen aus";
        Values.VerliehenAnVisible = true;
        break;
    default: // "zukünftig besorgen" leaves label and field as they are
        break;
    }
}

void TitleEditorModel::Fill_Waehrungen()
{
    TraceScope trace("TitleEditorModel.Fill_Waehrungen");
    std::vector<std::string>& items = Values.Waehrung.Items;
    items = {"EUR", "DM"};
    std::unordered_set<std::string> seen{"EUR", "DM"};
    const TitleStore& store = ws_.store;
    for (int32_t i = 1; i <= store.AnzBuch; ++i) {
        const TBuch* b = store.at(i);
        if (!b || IsBlank(b->Waehrung.Text))
            continue;
        if (seen.insert(UpperAscii(b->Waehrung.Text)).second)
            items.push_back(b->Waehrung.Text);
    }
}

void TitleEditorModel::FillComboBoxes()
{
    TraceScope trace("TitleEditorModel.FillComboBoxes");
    SearchLists& l = ws_.lists;
    Values.Typ.Items = SearchListTexts(l.TypSearchList);
    Values.Owner.Items = SearchListTexts(l.BesitzerSearchList);
    Values.Sprache.Items = SearchListTexts(l.SpracheSearchList);
    Values.Kategorie.Items = SearchListTexts(l.KategorieSearchList);
    Values.Standort.Items = SearchListTexts(l.StandortSearchList);
    Values.Zeitschrift.Items = SearchListTexts(l.ZeitschriftSearchList);
    Values.Verlag.Items = SearchListTexts(l.VerlagSearchList);
    Values.Ort.Items = SearchListTexts(l.OrtSearchList);
    Values.Serie.Items = SearchListTexts(l.ReiheSearchList);
    Values.Autor.Items = SearchListTexts(l.AutorSearchList);
    TickFromText(Values.Autor, Values.Autor.Text);
    Values.Herausgeber.Items = SearchListTexts(l.HerausgeberSearchList);
    TickFromText(Values.Herausgeber, Values.Herausgeber.Text);
    // Fill_ListBoxAlleSchlagworte
    if (!l.AllKeywordsListUpToDate) {
        Values.AlleSchlagworte = DisplayOrder(SearchListTexts(l.SchlagworteSearchList));
        Values.AlleSchlagworteSelected = -1;
        Values.UebernehmenEnabled = false;
        l.AllKeywordsListUpToDate = true;
    }
    Fill_Waehrungen();
}

void TitleEditorModel::InitForm(EditModes mode, int gridColumn)
{
    TraceScope trace("TitleEditorModel.InitForm");
    mode_ = mode;
    BusyCursor busy(ws_.ui);
    FillComboBoxes();

    // Every value empty, the item lists kept.
    TitleEditorValues fresh;
    const auto keepItems = [&fresh, this](ChoiceBox TitleEditorValues::*box) {
        (fresh.*box).Items = std::move((Values.*box).Items);
    };
    for (auto box : {&TitleEditorValues::Serie, &TitleEditorValues::Verlag, &TitleEditorValues::Ort, &TitleEditorValues::Zeitschrift,
                     &TitleEditorValues::Sprache, &TitleEditorValues::Typ, &TitleEditorValues::Owner,
                     &TitleEditorValues::Standort, &TitleEditorValues::Kategorie, &TitleEditorValues::Waehrung})
        keepItems(box);
    fresh.Autor.Items = std::move(Values.Autor.Items);
    fresh.Autor.Ticked.assign(fresh.Autor.Items.size(), false);
    fresh.Herausgeber.Items = std::move(Values.Herausgeber.Items);
    fresh.Herausgeber.Ticked.assign(fresh.Herausgeber.Items.size(), false);
    fresh.AlleSchlagworte = std::move(Values.AlleSchlagworte);
    Values = std::move(fresh);

    Values.Kopieren = false;
    Values.KopierenEnabled = mode_ == EditModeEdit;
    Values.LiteraturTyp = TypUnklar;
    SetVerleihstatus(0);
    if (!Values.Waehrung.Items.empty())
        Values.Waehrung.Text = Values.Waehrung.Items.front();

    Focus = {PageAutorTitel, C::EditKuerzel};
    SearchLists& l = ws_.lists;
    RebuildKeepingActive(l.TypSearchList, DisplayOrder(Values.Typ.Items));
    Values.Typ.Items = SearchListTexts(l.TypSearchList);
    const Settings& s = ws_.settings;
    if (!s.DefaultTyp.empty())
        Values.Typ.Text = s.DefaultTyp;
    if (!s.DefaultOwner.empty())
        Values.Owner.Text = s.DefaultOwner;
    if (!s.DefaultLanguage.empty())
        Values.Sprache.Text = s.DefaultLanguage;

    Pictures.Reset();
    Values.Kaufdatum.reset();
    kaufdatumProposed_ = false;
    shown_.reset();
    Values.QuelleAlsLink = false;
    ApplyTypePanel();
    NoAutoComplete = false;

    SetWiederverwenden(false);

    if (gridColumn >= 0 && gridColumn < ws_.grid.ColCount()) {
        switch (ws_.columns.IndexOfHeader(ws_.grid.Cell(gridColumn, 0))) {
        case ColKuerzel: Focus = {PageAutorTitel, C::EditKuerzel}; break;
        case ColTitel: Focus = {PageAutorTitel, C::TitelEdit}; break;
        case ColAutor: Focus = {PageAutorTitel, C::ComboBoxAutor}; break;
        case ColKategorie: Focus = {PageIntern, C::ComboBoxKategorie}; break;
        case ColSprache: Focus = {PageIntern, C::ComboBoxSprache}; break;
        default: break;
        }
    }
}

bool TitleEditorModel::LoadFromStore()
{
    TraceScope trace("TitleEditorModel.LoadFromStore");
    const TitleStore& store = ws_.store;
    const TBuch* b = store.at(store.ActBuch);
    if (!b) {
        const uint8_t nr = store.ActBuch <= store.AnzBuch && store.AnzBuch > 0 ? 12 : 17;
        ws_.ui.message(MsgKind::Error, GetErrorText(nr), Buttons::Ok);
        return false;
    }
    TitleEditorValues& v = Values;
    shown_ = ShownFields{b->Reihe, b->Jahr, b->JahrNum, b->Auflage, std::nullopt};
    v.Kuerzel = b->Kuerzel.Text;
    v.Autor.Text = b->Autor.Text;
    TickFromText(v.Autor, v.Autor.Text);
    v.Herausgeber.Text = b->Herausgeber.Text;
    TickFromText(v.Herausgeber, v.Herausgeber.Text);
    v.Titel = b->Titel.Text;
    v.AltTitel = b->AltTitel.Text;
    v.OrigTitel = b->OrigTitel.Text;
    v.Verlag.Text = b->Verlag.Text;
    v.Ort.Text = b->Ort.Text;
    v.ISBN = b->ISBN.Text;
    v.Quelle = b->Quelle.Text;
    v.Medium = b->Medium.Text;
    v.Seiten = b->Seiten.Text;
    v.Schlagworte = b->Schlagworte.Text;
    v.Inhalt = b->Inhalt.Text;
    v.Bemerkung = b->Bemerkung.Text;
    v.Sprache.Text = b->Sprache.Text;
    v.Typ.Text = b->Typ.Text;
    v.Owner.Text = b->Besitzer.Text;
    v.VerliehenAn = b->VerliehenAn.Text;
    v.Standort.Text = b->Standort.Text;
    v.Kategorie.Text = b->Kategorie.Text;
    v.Waehrung.Text = b->Waehrung.Text;
    SetVerleihstatus(b->Verleihstatus >= 0 && b->Verleihstatus <= 3 ? b->Verleihstatus : 0);

    v.LiteraturTyp = TypOf(b->TypNum);
    v.QuelleAlsLink = (b->TypNum & LinkFlag) != 0;
    ApplyTypePanel();

    v.Jahrgang.clear();
    v.Jahr.clear();
    v.FirstEdition.clear();
    v.HeftNr = b->HeftNr.Text == "0" ? std::string() : b->HeftNr.Text;
    v.Band = b->Band.Text;
    v.Laenge = b->Laenge.Text;

    if (IsJournalType(v.LiteraturTyp)) {
        v.Zeitschrift.Text = b->Reihe.Text;
        v.Jahr = b->Jahr.Text;
        if (b->JahrNum > 0)
            v.Jahr = IntToStr(b->JahrNum);
        shown_->JournalYearShown = v.Jahr;
        if (b->Auflage > 0)
            v.Jahrgang = IntToStr(b->Auflage);
    } else if (IsBookType(v.LiteraturTyp)) {
        v.Serie.Text = b->Reihe.Text;
        v.EditionYear = b->Jahr.Text;
        if (b->JahrNum > 0)
            v.FirstEdition = IntToStr(b->JahrNum);
        if (b->Auflage > 0)
            v.Ausgabe = IntToStr(b->Auflage);
    }

    v.Preis = PriceText(b->Preis);
    if (b->Kaufdatum >= 1.0)
        v.Kaufdatum = b->Kaufdatum;
    else
        v.Kaufdatum.reset();
    kaufdatumProposed_ = false;
    // A picture of a format the page cannot show keeps the dialog closed.
    return Pictures.Show(*b);
}

int TitleEditorModel::WriteToStore()
{
    TraceScope trace("TitleEditorModel.WriteToStore");
    const bool append = mode_ == EditModeNew || (mode_ == EditModeEdit && Values.Kopieren);
    TitleChange change(ws_.titleHistory, mode_ == EditModeNew ? "Neuer Titel"
                                         : append             ? "Titel kopieren"
                                                              : "Titel bearbeiten");
    TBuch* b = TargetTitle(append);
    if (!b)
        return 0;
    OldBuch = *b;
    WriteTextFields(*b, append);
    WriteTypeFields(*b, append);
    WritePriceAndDate(*b, append);
    TitleStore& store = ws_.store;
    store.UpdateBuchLengths(store.ActBuch);
    Pictures.WriteTo(*b, append);
    const int flags = MissingFields(*b);
    FeedSearchLists(*b);
    if (Pictures.PicsChanged || Pictures.PicTitlesChanged || Differs(*b, OldBuch))
        store.MarkChanged();
    return flags;
}

TBuch* TitleEditorModel::TargetTitle(bool append)
{
    TitleStore& store = ws_.store;
    if (append) {
        if (!store.NewBuch()) {
            ws_.ui.message(MsgKind::Error, "Konnte neuen Bucheintrag nicht anlegen.", Buttons::Ok);
            return nullptr;
        }
        store.ActBuch = store.AnzBuch;
        // The new slot alone already differs from the file.
        store.MarkChanged();
    }
    TBuch* b = store.current();
    if (b)
        store.Touch(store.ActBuch);
    return b;
}

void TitleEditorModel::WriteTextFields(TBuch& b, bool append) const
{
    const TitleEditorValues& v = Values;
    b.Kuerzel.Text = v.Kuerzel;
    b.Autor.Text = v.Autor.Text;
    b.Herausgeber.Text = v.Herausgeber.Text;
    b.Titel.Text = v.Titel;
    b.AltTitel.Text = v.AltTitel;
    b.OrigTitel.Text = v.OrigTitel;
    b.Band.Text = v.Band;
    b.Verlag.Text = v.Verlag.Text;
    b.Ort.Text = v.Ort.Text;
    b.ISBN.Text = v.ISBN;
    if (append || HasPrintable(v.HeftNr) || OldBuch.HeftNr.Text != "0")
        b.HeftNr.Text = v.HeftNr;
    b.Quelle.Text = v.Quelle;
    b.Medium.Text = v.Medium;
    b.Laenge.Text = v.Laenge;
    b.Seiten.Text = v.Seiten;
    b.Schlagworte.Text = v.Schlagworte;
    b.Inhalt.Text = v.Inhalt;
    b.Bemerkung.Text = v.Bemerkung;
    b.Sprache.Text = v.Sprache.Text;
    b.Typ.Text = v.Typ.Text;
    b.Besitzer.Text = v.Owner.Text;
    b.Verleihstatus = v.Verleihstatus >= 0 && v.Verleihstatus <= 3 ? v.Verleihstatus : 0;
    b.VerliehenAn.Text = v.VerliehenAn;
    b.Standort.Text = v.Standort.Text;
    b.Kategorie.Text = v.Kategorie.Text;
    b.Waehrung.Text = v.Waehrung.Text;
}

// The literature type with the fields whose meaning depends on it: series or
// journal, year, first edition or volume, edition; and the link bit.
void TitleEditorModel::WriteTypeFields(TBuch& b, bool append)
{
    const TitleEditorValues& v = Values;
    int32_t typ = v.LiteraturTyp;
    if (typ < 0 || typ >= TypCount) {
        typ = TypUnklar;
        ws_.store.MarkChanged();
    }
    b.TypNum = typ;
    if (IsJournalType(typ)) {
        b.Reihe.Text = v.Zeitschrift.Text;
        if (shown_ && shown_->JournalYearShown == v.Jahr) {
            b.Jahr = shown_->Jahr;
            b.JahrNum = shown_->JahrNum;
        } else {
            b.Jahr.Text = v.Jahr;
            b.JahrNum = BlankKeeps(v.Jahr, OldBuch.JahrNum, !append);
        }
        b.Auflage = BlankKeeps(v.Jahrgang, OldBuch.Auflage, !append);
    } else if (IsBookType(typ)) {
        b.Reihe.Text = v.Serie.Text;
        b.Jahr.Text = v.EditionYear;
        b.JahrNum = BlankKeeps(v.FirstEdition, OldBuch.JahrNum, !append);
        b.Auflage = BlankKeeps(v.Ausgabe, OldBuch.Auflage, !append);
    } else {
        // Audio-visual titles keep series, year and edition as stored; a copy
        // takes them from its source.
        const ShownFields kept =
            shown_ ? *shown_ : ShownFields{OldBuch.Reihe, OldBuch.Jahr, OldBuch.JahrNum, OldBuch.Auflage, {}};
        b.Reihe = kept.Reihe;
        b.Jahr = kept.Jahr;
        b.JahrNum = kept.JahrNum;
        b.Auflage = kept.Auflage;
    }
    if (v.QuelleAlsLink)
        b.TypNum |= LinkFlag;
}

void TitleEditorModel::WritePriceAndDate(TBuch& b, bool append) const
{
    const TitleEditorValues& v = Values;
    const bool unpricedBefore = std::isfinite(OldBuch.Preis) && !(OldBuch.Preis > 0.005f);
    b.Preis = !append && !HasPrintable(v.Preis) && unpricedBefore ? OldBuch.Preis : PriceNumber(v.Preis);
    if (v.Kaufdatum && !kaufdatumProposed_)
        b.Kaufdatum = *v.Kaufdatum;
    else if (!append && OldBuch.Kaufdatum < 1.0) // blank before: the stored value stays
        b.Kaufdatum = OldBuch.Kaufdatum;
    else
        b.Kaufdatum = 0.0;
}

int TitleEditorModel::MissingFields(const TBuch& b) const
{
    int flags = 0;
    if (!HasPrintable(b.Autor.Text))
        flags |= MissingAutor;
    if (!HasPrintable(b.Titel.Text))
        flags |= MissingTitel;
    if (!HasPrintable(b.Kuerzel.Text) && ws_.settings.KuerzelZwang)
        flags |= MissingKuerzel;
    return flags;
}

void TitleEditorModel::FeedSearchLists(const TBuch& b)
{
    SearchLists& l = ws_.lists;
    AddTitleToSearchLists(l, b, ReiheToJournals::Always);
    AddSeparatedEntries(l.AutorSearchList, b.Autor.Text);
    AddSeparatedEntries(l.SchlagworteSearchList, b.Schlagworte.Text);
    AddSeparatedEntries(l.HerausgeberSearchList, b.Herausgeber.Text);
}

const Settings& TitleEditorModel::PictureSettings() const
{
    return ws_.settings;
}

UserInteraction& TitleEditorModel::Ui() const
{
    return ws_.ui;
}

std::optional<std::string> TitleEditorModel::ChooseDocument(const std::string& quelle) const
{
    return ChooseLinkedDocument(ws_.ui, quelle);
}

void TitleEditorModel::StartLinkedDocument(const std::string& quelle)
{
    StartDocument(ws_.ui, ws_.DocStarted, quelle);
}

bool TitleEditorModel::KuerzelIsUnique(const std::string& key) const
{
    const bool editingInPlace = mode_ == EditModeEdit && !Values.Kopieren;
    return folianto::KuerzelIsUnique(ws_.store, key, editingInPlace ? ws_.store.ActBuch : 0);
}

OkOutcome TitleEditorModel::OkClicked()
{
    TraceScope trace("TitleEditorModel.OkClicked");
    BusyCursor busy(ws_.ui);
    if (mode_ == EditModeView)
        return OkOutcome::Close;

    if (Values.LiteraturTyp == TypUnklar &&
        ws_.ui.message(MsgKind::Warning,
                        Cp1252("Warnung!\r\n\r\nSie haben keinen Literatur-Typ festgelegt!\r\n\r\n"
                               "Zur Zeit können nicht alle Datenfelder gleichzeitig gespeichert werden.\r\n"
                               "Wählen Sie daher bitte einen Literatur-Typ aus, um Ihre\r\n"
                               "Informationen vollständig speichern zu können.\r\n\r\n"
                               "Zurück [Wiederholen] oder fortfahren [Ignorieren]?"),
                        Buttons::RetryIgnore) == Answer::Retry) {
        Focus = {PageBibliothek, C::RadioGroup_LiteraturTyp};
        return OkOutcome::StayOnType;
    }

    if (ws_.settings.KuerzelZwang && !KuerzelIsUnique(Values.Kuerzel)) {
        ws_.ui.message(MsgKind::Error, KuerzelMessage(Values.Kuerzel), Buttons::Ok);
        Focus = {PageNone, C::EditKuerzel};
        return OkOutcome::StayOnKuerzel;
    }

    const int flags = WriteToStore();
    std::string missing;
    if (flags & MissingKuerzel)
        missing += Cp1252("Kürzel wurde nicht angegeben. ");
    if (flags & MissingTitel)
        missing += "Titel wurde nicht angegeben. ";
    if ((flags & MissingAutor) && !HasPrintable(Values.Herausgeber.Text))
        missing += "Autor wurde nicht angegeben. ";
    if (!missing.empty())
        ws_.ui.message(MsgKind::Error, missing, Buttons::Ok);

    SearchLists& l = ws_.lists;
    if (!IsBlank(Values.Schlagworte) && Values.Schlagworte != OldBuch.Schlagworte.Text)
        FillSearchListWithColonSeparatedText(ws_.store, l.SchlagworteSearchList, 1);
    if (!IsBlank(Values.Autor.Text) && Values.Autor.Text != OldBuch.Autor.Text)
        FillSearchListWithColonSeparatedText(ws_.store, l.AutorSearchList, 2);
    FillComboBoxes();
    return OkOutcome::Close;
}

bool TitleEditorModel::LeaveKuerzel(bool cancelling)
{
    if (cancelling || mode_ == EditModeView || !ws_.settings.KuerzelZwang ||
        KuerzelIsUnique(Values.Kuerzel))
        return true;
    TraceScope trace("TitleEditorModel.LeaveKuerzel");
    ws_.ui.message(MsgKind::Error, KuerzelMessage(Values.Kuerzel), Buttons::Ok);
    Focus = {PageNone, C::EditKuerzel};
    return false;
}

void TitleEditorModel::SetWiederverwenden(bool ticked)
{
    TraceScope trace("TitleEditorModel.SetWiederverwenden");
    Values.Wiederverwenden = ticked;
    const TitleEditorValues& v = Values;
    const bool touched = !IsBlank(v.Autor.Text) || !IsBlank(v.Herausgeber.Text) || !IsBlank(v.Zeitschrift.Text) ||
                         !IsBlank(v.Serie.Text) || !IsBlank(v.Verlag.Text) || !IsBlank(v.Ort.Text) ||
                         !IsBlank(v.Kategorie.Text) ||
                         !IsBlank(v.Standort.Text) || v.LiteraturTyp != TypUnklar;
    bool use = ticked;
    if (ticked && touched)
        use = ws_.ui.message(MsgKind::Confirmation,
                              Cp1252("Hinweis:\r\n\r\nDurch das Setzen des \"Wiederverwenden\"-Schalters werden\r\n"
                                     "bereits getätigte Eingaben überschrieben!\r\n\r\n"
                                     "Wollen Sie Ihre bisherigen Eingaben überschreiben und\r\n"
                                     "die Einstellungen des zuletzt eingegebenen Titels verwenden?"),
                              Buttons::YesNo) == Answer::Yes;
    ws_.settings.UseLastSettings = use;
    const TBuch* last = ws_.store.at(ws_.store.AnzBuch);
    if (!use || !last)
        return;
    Values.Autor.Text = last->Autor.Text;
    TickFromText(Values.Autor, Values.Autor.Text);
    Values.Herausgeber.Text = last->Herausgeber.Text;
    TickFromText(Values.Herausgeber, Values.Herausgeber.Text);
    Values.Zeitschrift.Text = last->Reihe.Text;
    Values.Serie.Text = last->Reihe.Text;
    Values.Verlag.Text = last->Verlag.Text;
    Values.Ort.Text = last->Ort.Text; // the place belongs to the publisher
    Values.Typ.Text = last->Typ.Text;
    Values.Sprache.Text = last->Sprache.Text;
    Values.Owner.Text = last->Besitzer.Text;
    Values.Kategorie.Text = last->Kategorie.Text;
    Values.Standort.Text = last->Standort.Text;
    SetLiteraturTyp(TypOf(last->TypNum));
}

std::optional<Completion> TitleEditorModel::TypeAhead(EditControl box, const std::string& typed, int caret)
{
    if (NoAutoComplete)
        return std::nullopt;
    const bool multi = MultiSelectOf(box) != nullptr;
    if (multi && !ws_.settings.EditAutoFill)
        return std::nullopt;
    const SearchList* list = SearchListOf(box);
    if (!list)
        return std::nullopt;
    return CompleteText(*list, typed, caret, multi);
}

void TitleEditorModel::LeaveChoiceBox(EditControl box)
{
    if (MultiSelectBox* multi = MultiSelectOf(box)) {
        std::string text = StripBlanks(multi->Text, Strip::Right);
        if (!text.empty() && IsListSeparator(text, text.size() - 1))
            text.pop_back();
        multi->Text = text;
        return;
    }
    ChoiceBox* choice = ChoiceBoxOf(box);
    SearchList* list = SearchListOf(box);
    if (!choice || !list)
        return;
    TraceScope trace("TitleEditorModel.LeaveChoiceBox");
    RebuildKeepingActive(*list, DisplayOrder(choice->Items));
    choice->Items = SearchListTexts(*list);
}

void TitleEditorModel::SchlagworteTyped()
{
    const std::string& memo = Values.Schlagworte;
    const std::size_t semi = RFindListSeparator(memo);
    std::string fragment = UpperAscii(semi == std::string::npos ? memo : memo.substr(semi + 1));
    fragment = StripBlanks(fragment, Strip::Left);
    const int found = FindPrefix(Values.AlleSchlagworte, fragment);
    if (found >= 0)
        Values.AlleSchlagworteSelected = found;
}

void TitleEditorModel::SelectKeyword(int index)
{
    const bool valid = index >= 0 && index < static_cast<int>(Values.AlleSchlagworte.size());
    Values.AlleSchlagworteSelected = valid ? index : -1;
    Values.UebernehmenEnabled = valid;
}

void TitleEditorModel::TakeOverKeyword()
{
    TraceScope trace("TitleEditorModel.TakeOverKeyword");
    const int sel = Values.AlleSchlagworteSelected;
    if (sel < 0 || sel >= static_cast<int>(Values.AlleSchlagworte.size()))
        return;
    const std::string& keyword = Values.AlleSchlagworte[static_cast<std::size_t>(sel)];
    std::string& memo = Values.Schlagworte;
    const std::size_t semi = RFindListSeparator(memo);
    const std::size_t fragmentStart = semi == std::string::npos ? 0 : semi + 1;
    const std::string fragment = StripBlanks(memo.substr(fragmentStart));
    if (UpperAscii(keyword).find(UpperAscii(fragment)) != std::string::npos)
        memo.erase(fragmentStart);
    if (HasPrintable(memo)) {
        const std::string compact = RemoveAllBlanks(memo);
        memo += !compact.empty() && IsListSeparator(compact, compact.size() - 1) ? " " : "; ";
    } else {
        memo.clear();
    }
    memo += keyword;
    Focus = {PageNone, C::ListBoxAlleSchlagworte};
}

bool TitleEditorModel::LeaveSchlagworte()
{
    TraceScope trace("TitleEditorModel.LeaveSchlagworte");
    SearchList keywords;
    AddSeparatedEntries(keywords, Values.Schlagworte);
    if (KeywordConventionsOK(keywords, ws_.settings.SchlwLenght))
        return true;
    ws_.ui.message(MsgKind::Error,
                    "Die Konventionen f\xFCr die Erstellung von Schlagworten werden nicht eingehalten!\r\n\r\n"
                    "Bitte, informieren Sie sich in der Hilfe und \xE4ndern Sie Ihre Eingaben\r\n"
                    "zur Vermeidung von Problemen dahingehend um!",
                    Buttons::Ok);
    Focus = {PageSchlagworte, C::MemoSchlagworte};
    return false;
}

void TitleEditorModel::EnterKaufdatum(double today)
{
    if (Values.Kaufdatum)
        return;
    const TBuch* b = ws_.store.current();
    Values.Kaufdatum = b && b->Kaufdatum >= 1.0 ? b->Kaufdatum : today;
    kaufdatumProposed_ = true;
}

void TitleEditorModel::ClearKaufdatum()
{
    Values.Kaufdatum.reset();
    kaufdatumProposed_ = false;
}

void TitleEditorModel::ChooseKaufdatum(double day)
{
    Values.Kaufdatum = day;
    kaufdatumProposed_ = false;
}

void TitleEditorModel::LeaveKaufdatum()
{
    // A date only filled in on entering stays unchosen: the box is blank again.
    if (kaufdatumProposed_)
        ClearKaufdatum();
}

} // namespace folianto
