#include "core/SampleCatalogue.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "core/TitleStore.h"
#include "core/Trace.h"

#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <stdexcept>
#include <string>

#include <jpeglib.h>

namespace folianto {
namespace {

// splitmix64: small, fast and the same on every platform.
class Random {
public:
    explicit Random(uint64_t seed) : state_(seed) {}
    uint64_t next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1
    int below(int n) { return static_cast<int>(next() % static_cast<uint64_t>(n)); }
    int range(int lo, int hi) { return lo + below(hi - lo + 1); }
    bool percent(int p) { return below(100) < p; }
    template <class T> const T& pick(const std::vector<T>& v) { return v[static_cast<std::size_t>(below(static_cast<int>(v.size())))]; }

private:
    uint64_t state_;
};

std::vector<std::string> List(std::initializer_list<const char*> utf8)
{
    std::vector<std::string> out;
    for (const char* s : utf8)
        out.push_back(Cp1252(s));
    return out;
}

struct Words {
    std::vector<std::string> surnames = List({
        "Müller", "Schmidt", "Schneider", "Fischer", "Weber", "Meyer", "Wagner", "Becker", "Schulz",
        "Hoffmann", "Schäfer", "Koch", "Bauer", "Richter", "Klein", "Wolf", "Schröder", "Neumann",
        "Schwarz", "Zimmermann", "Braun", "Krüger", "Hartmann", "Lange", "Werner", "Krause", "Lehmann",
        "Köhler", "Herrmann", "König", "Walter", "Huber", "Kaiser", "Fuchs", "Peters", "Scholz", "Möller",
        "Weiß", "Jung", "Hahn", "Vogel", "Günther", "Böhm", "Dörfler", "Öztürk", "Ulbricht", "Ebner"});
    std::vector<std::string> givenNames = List({
        "Hans", "Ingrid", "Klaus", "Ursula", "Jürgen", "Renate", "Wolfgang", "Monika", "Dieter", "Gisela",
        "Günter", "Brigitte", "Heinz", "Helga", "Peter", "Karin", "Uwe", "Sabine", "Jörg", "Birgit",
        "Stefan", "Andrea", "Matthias", "Claudia", "Thomas", "Susanne", "Michael", "Katrin", "Björn", "Bärbel"});
    std::vector<std::string> fields = List({
        "Sprachwissenschaft", "Philosophie", "Soziologie", "Kunstgeschichte", "Mediävistik",
        "Wirtschaftsgeschichte", "Theologie", "Pädagogik", "Psychologie", "Rechtsgeschichte",
        "Literaturwissenschaft", "Musikwissenschaft", "Archäologie", "Ethnologie", "Geographie"});
    std::vector<std::string> nouns = List({
        "Erinnerung", "Aufklärung", "Moderne", "Stadt", "Landschaft", "Sprache", "Gesellschaft", "Macht",
        "Zeit", "Natur", "Kultur", "Grenze", "Arbeit", "Bildung", "Reise", "Öffentlichkeit", "Frömmigkeit",
        "Übersetzung", "Wahrnehmung", "Herrschaft"});
    std::vector<std::string> adjectives = List({
        "verborgene", "vergessene", "neue", "lange", "bürgerliche", "höfische", "europäische", "deutsche",
        "unvollendete", "städtische", "frühe", "späte"});
    std::vector<std::string> periods = List({
        "im Mittelalter", "in der Frühen Neuzeit", "im 18. Jahrhundert", "um 1800", "im Vormärz",
        "im Kaiserreich", "in der Weimarer Republik", "nach 1945", "in der Gegenwart"});
    std::vector<std::string> publishers = List({
        "Suhrkamp", "C. H. Beck", "Rowohlt", "Reclam", "De Gruyter", "Vandenhoeck & Ruprecht", "Wallstein",
        "Klett-Cotta", "Hanser", "S. Fischer", "Metzler", "Böhlau", "Niemeyer", "Campus", "Springer"});
    std::vector<std::string> places = List({
        "Frankfurt am Main", "München", "Reinbek", "Stuttgart", "Berlin", "Göttingen", "Göttingen",
        "Stuttgart", "München", "Frankfurt am Main", "Stuttgart", "Köln", "Tübingen", "Frankfurt am Main",
        "Berlin"});
    std::vector<std::string> journals = List({
        "Zeitschrift für Germanistik", "Historische Zeitschrift", "Merkur", "Geschichte und Gesellschaft",
        "Deutsche Vierteljahrsschrift", "Zeitschrift für Kunstgeschichte", "Leviathan"});
    std::vector<std::string> newspapers = List({
        "Frankfurter Allgemeine Zeitung", "Süddeutsche Zeitung", "Die Zeit", "Neue Zürcher Zeitung", "taz"});
    std::vector<std::string> series = List({
        "Studien zur deutschen Literatur", "Beiträge zur Geschichte", "Schriften des Instituts",
        "Forschungen zur Volkskunde", "Quellen und Darstellungen", "Edition Moderne"});
    std::vector<std::string> categories = List({
        "Geschichte", "Philosophie", "Literatur", "Sprachwissenschaft", "Kunst", "Musik", "Soziologie",
        "Recht", "Theologie", "Naturwissenschaft", "Pädagogik", "Reiseberichte"});
    std::vector<std::string> keywords = List({
        "Aufklärung", "Romantik", "Mittelalter", "Reformation", "Industrialisierung", "Stadtgeschichte",
        "Erinnerungskultur", "Sprachwandel", "Dialektologie", "Kulturtransfer", "Buchdruck", "Briefkultur",
        "Exilliteratur", "Frauengeschichte", "Bildungsgeschichte", "Kirchengeschichte", "Ästhetik", "Ethik",
        "Wissenschaftsgeschichte", "Nationalismus", "Weimarer Republik", "Kalter Krieg", "Migration",
        "Umweltgeschichte", "Medientheorie", "Übersetzung", "Lyrik des Barock", "Geschichte der Juden"});
    std::vector<std::string> languages = List({"deutsch", "deutsch", "deutsch", "deutsch", "englisch",
                                               "französisch", "lateinisch", "italienisch"});
    std::vector<std::string> owners = List({"", "", "privat", "Institutsbibliothek", "Seminar", "Bärbel"});
    std::vector<std::string> locations = List({
        "Regal A3", "Regal B1", "Arbeitszimmer, Regal 2", "Keller, Kiste 4", "Büro", "Wohnzimmer",
        "Handapparat"});
    std::vector<std::string> bookTypes = List({"Taschenbuch", "gebunden", "Broschur", "Leinen", "Sonderdruck",
                                               "Kopie"});
    std::vector<std::string> sentences = List({
        "Die Studie untersucht die Quellen erstmals vollständig.",
        "Mit ausführlichem Register und Bibliographie.",
        "Ein Überblick über den Forschungsstand eröffnet den Band.",
        "Die Beiträge gehen auf eine Tagung in Göttingen zurück.",
        "Zahlreiche Abbildungen, teils farbig.",
        "Kapitel 3 ist für die eigene Arbeit besonders wichtig.",
        "Kritisch: die These zur Rezeption überzeugt nicht ganz.",
        "Übersetzt aus dem Englischen; mit einem Nachwort des Herausgebers.",
        "Enthält Briefe, Tagebücher und amtliche Schriftstücke."});
};

const Words& W()
{
    static const Words words;
    return words;
}

std::string Person(Random& r)
{
    return r.pick(W().surnames) + ", " + r.pick(W().givenNames);
}

std::string Persons(Random& r, int maxCount)
{
    std::string out = Person(r);
    for (int n = r.range(1, maxCount); n > 1; --n)
        out += "; " + Person(r);
    return out;
}

std::string TitleText(Random& r)
{
    const Words& w = W();
    switch (r.below(6)) {
    case 0: return r.pick(w.nouns) + " und " + r.pick(w.nouns) + " " + r.pick(w.periods);
    case 1: return Cp1252("Einführung in die ") + r.pick(w.fields);
    case 2: return "Die " + r.pick(w.adjectives) + " " + r.pick(w.nouns);
    case 3: return "Studien zur " + r.pick(w.fields) + ". " + r.pick(w.nouns) + " " + r.pick(w.periods);
    case 4: return "Handbuch der " + r.pick(w.fields);
    default: return r.pick(w.nouns) + ". Eine Geschichte " + r.pick(w.periods);
    }
}

std::string Keywords(Random& r)
{
    std::string out;
    for (int n = r.range(1, 5); n > 0; --n)
        out += (out.empty() ? "" : ";") + r.pick(W().keywords);
    return out;
}

std::string Isbn(Random& r, int publisher)
{
    // 978-3-<publisher>-<title>-<check>
    std::string digits = "9783" + std::to_string(100 + publisher * 37) + std::to_string(r.range(10000, 99999));
    int sum = 0;
    for (std::size_t i = 0; i < digits.size(); ++i)
        sum += (digits[i] - '0') * (i % 2 == 0 ? 1 : 3);
    const int check = (10 - sum % 10) % 10;
    return digits.substr(0, 3) + "-" + digits.substr(3, 1) + "-" + digits.substr(4, 3) + "-" + digits.substr(7) +
           "-" + std::to_string(check);
}

std::string Kuerzel(const std::string& autor, std::map<std::string, int>& used)
{
    std::string prefix = autor.size() < 4 ? autor : autor.substr(0, 3);
    while (prefix.size() < 3)
        prefix += '_';
    std::string number = std::to_string(++used[prefix]);
    while (number.size() < 3)
        number.insert(number.begin(), '0');
    return prefix + number;
}

struct JpegError {
    jpeg_error_mgr mgr;
    std::jmp_buf jump;
};

void OnJpegError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<JpegError*>(info->err)->jump, 1);
}

std::vector<uint8_t> EncodeJpeg(const std::vector<uint8_t>& rgb, int width, int height)
{
    jpeg_compress_struct info{};
    JpegError error{};
    info.err = jpeg_std_error(&error.mgr);
    error.mgr.error_exit = OnJpegError;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        throw std::runtime_error("JPEG encoding failed");
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &size);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 85, TRUE);
    jpeg_start_compress(&info, TRUE);
    const std::size_t stride = static_cast<std::size_t>(width) * 3;
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(rgb.data() + info.next_scanline * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::vector<uint8_t> out(buffer, buffer + size);
    std::free(buffer);
    return out;
}

// A book-cover-like picture: coloured gradient, a title band and grain.
std::vector<uint8_t> CoverPixels(uint64_t seed, int width, int height)
{
    Random r(seed);
    const int base[3] = {r.range(40, 200), r.range(40, 200), r.range(40, 200)};
    const int bandTop = height / 5;
    const int bandBottom = bandTop + height / 6;
    std::vector<uint8_t> rgb(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    std::size_t i = 0;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const uint64_t grain = r.next();
            const bool band = y >= bandTop && y < bandBottom && x > width / 10 && x < width - width / 10;
            for (int c = 0; c < 3; ++c) {
                int v = band ? 235 : base[c] + (y * 40) / height - (x * 20) / width;
                v += static_cast<int>((grain >> (c * 8)) & 0x3F) - 32;
                rgb[i++] = static_cast<uint8_t>(std::clamp(v, 0, 255));
            }
        }
    return rgb;
}

} // namespace

std::vector<uint8_t> MakeSampleJpeg(uint64_t seed, std::size_t minBytes, std::size_t maxBytes)
{
    Random r(seed);
    const double target = static_cast<double>(minBytes) +
                          static_cast<double>(r.next() % (maxBytes - minBytes + 1));
    double pixels = target / 0.45; // about 0.45 bytes per pixel at this quality and grain
    std::vector<uint8_t> jpeg;
    for (int attempt = 0; attempt < 6; ++attempt) {
        const int width = std::max(16, static_cast<int>(std::sqrt(pixels * 0.7)));
        const int height = std::max(16, static_cast<int>(pixels / width));
        jpeg = EncodeJpeg(CoverPixels(seed, width, height), width, height);
        const double size = static_cast<double>(jpeg.size());
        if (jpeg.size() >= minBytes && jpeg.size() <= maxBytes && std::abs(size - target) < 0.15 * target)
            break;
        pixels *= target / size;
    }
    return jpeg;
}

namespace {

// The fields that depend on the literature type.
void FillTypeFields(TBuch& b, Random& r, int typ, int publisher)
{
    const Words& w = W();
    switch (typ) {
    case 0:
    case 1:
    case 2:
        b.ISBN.Text = Isbn(r, publisher);
        b.Seiten.Text = IntToStr(r.range(80, 900)) + " S.";
        if (r.percent(30))
            b.Reihe.Text = r.pick(w.series);
        if (r.percent(20))
            b.Band.Text = IntToStr(r.range(1, 60));
        if (typ == 1)
            b.Bemerkung.Text = "Diss. Univ. " + r.pick(w.places);
        if (typ == 2)
            b.Herausgeber.Text = Persons(r, 2);
        b.Auflage = r.percent(60) ? 1 : r.range(2, 12);
        break;
    case 3:
        b.Herausgeber.Text = Persons(r, 2);
        b.Reihe.Text = TitleText(r);
        b.Seiten.Text = "S. " + IntToStr(r.range(1, 300)) + "-" + IntToStr(r.range(301, 420));
        break;
    case 4:
    case 5:
        b.Reihe.Text = typ == 4 ? r.pick(w.journals) : r.pick(w.newspapers);
        b.HeftNr.Text = IntToStr(r.range(1, 12));
        b.Band.Text = typ == 4 ? IntToStr(r.range(1, 80)) : "";
        b.Seiten.Text = "S. " + IntToStr(r.range(1, 120));
        b.Verlag.Text.clear();
        break;
    case 6:
        b.Medium.Text = r.percent(50) ? "DVD" : "Audio-CD";
        b.Laenge.Text = IntToStr(r.range(40, 180)) + " min";
        break;
    default:
        break;
    }
}

// Contents, remarks and the source or document link of title `nr`.
void FillNotes(TBuch& b, Random& r, int typ, int32_t nr)
{
    const Words& w = W();
    if (r.percent(60)) {
        std::string text = r.pick(w.sentences);
        for (int k = r.range(0, 3); k > 0; --k)
            text += "\r\n" + r.pick(w.sentences);
        b.Inhalt.Text = text;
    }
    if (r.percent(15))
        b.Bemerkung.Text += (b.Bemerkung.Text.empty() ? "" : "\r\n") + r.pick(w.sentences);
    if (r.percent(3)) {
        b.TypNum |= LinkFlag;
        b.Quelle.Text = r.percent(50) ? "/home/benutzer/Dokumente/aufsatz_" + IntToStr(nr) + ".pdf"
                                      : "https://www.example.org/texte/" + IntToStr(nr);
    } else if (typ == 7) {
        b.Quelle.Text = "Arbeitspapier des Instituts, Nr. " + IntToStr(r.range(1, 99));
    }
}

// Lending state, price and purchase date.
void FillLendingAndPurchase(TBuch& b, Random& r, int year)
{
    const Words& w = W();
    const int lend = r.below(100);
    if (lend < 5) {
        b.Verleihstatus = 1;
        b.VerliehenAn.Text = r.pick(w.givenNames) + " " + r.pick(w.surnames);
    } else if (lend < 7) {
        b.Verleihstatus = 2;
        b.VerliehenAn.Text = "Stadtbibliothek " + r.pick(w.places);
    } else if (lend < 9) {
        b.Verleihstatus = 3;
    }
    if (r.percent(75)) {
        const int cents = r.range(290, 12800);
        b.Preis = static_cast<float>(cents) / 100.0f;
        b.Waehrung.Text = year < 2002 ? "DM" : "EUR";
    }
    if (r.percent(80)) // 1 Jan 1985 .. 31 Dec 2024, some with a time of day
        b.Kaufdatum = r.range(31048, 45657) + (r.percent(20) ? r.range(1, 95) / 96.0 : 0.0);
}

// Covers stored in the file for a few titles, a linked scan for fewer.
void AddPictures(TBuch& b, Random& r, int32_t nr)
{
    if (r.percent(5)) {
        for (int k = r.percent(20) ? 2 : 1; k > 0; --k) {
            TPicRec pic;
            pic.Kind = 1 + 128; // JPEG stored in the file
            pic.Data = MakeSampleJpeg(r.next(), 20 * 1024, 200 * 1024);
            pic.Size = static_cast<int32_t>(pic.Data.size());
            pic.BildTitel.Text = "Umschlag_" + IntToStr(nr) + (k > 1 ? "_hinten" : "");
            b.Pics.push_back(std::move(pic));
        }
    }
    if (r.percent(1)) {
        TPicRec pic;
        pic.Kind = 1 + 256; // link to a picture file
        pic.Size = r.range(30000, 400000);
        pic.BildTitel.Text = "/home/benutzer/Bilder/Scans/titel_" + IntToStr(nr) + ".jpg";
        b.Pics.push_back(std::move(pic));
    }
    b.AnzPics = static_cast<int32_t>(b.Pics.size());
}

} // namespace

void FillSampleCatalogue(TitleStore& store, int32_t count, uint64_t seed)
{
    TraceScope trace("SampleCatalogue.FillSampleCatalogue");
    const Words& w = W();
    Random r(seed);
    std::map<std::string, int> usedKeys;
    for (int32_t n = 0; n < count && store.NewBuch(); ++n) {
        const int32_t nr = store.AnzBuch;
        TBuch& b = *store.at(nr);
        const int typ = r.below(100) < 40 ? 0 : r.below(TypCount);
        b.TypNum = typ;
        b.Autor.Text = Persons(r, typ == 2 ? 1 : 3);
        b.Kuerzel.Text = Kuerzel(b.Autor.Text, usedKeys);
        b.Titel.Text = TitleText(r);
        if (r.percent(10))
            b.OrigTitel.Text = "The " + r.pick(w.nouns);
        if (r.percent(5))
            b.AltTitel.Text = r.pick(w.nouns) + " " + r.pick(w.periods);
        b.Sprache.Text = r.pick(w.languages);
        const int publisher = r.below(static_cast<int>(w.publishers.size()));
        b.Verlag.Text = w.publishers[static_cast<std::size_t>(publisher)];
        b.Ort.Text = w.places[static_cast<std::size_t>(publisher)];
        b.Besitzer.Text = r.pick(w.owners);
        b.Kategorie.Text = r.pick(w.categories);
        b.Schlagworte.Text = Keywords(r);
        b.Standort.Text = r.pick(w.locations);
        b.Typ.Text = r.pick(w.bookTypes);

        const int year = r.range(1950, 2024);
        if (r.percent(3)) {
            b.Jahr.Text = "o. J.";
        } else {
            b.Jahr.Text = r.percent(5) ? IntToStr(year) + "/" + IntToStr((year + 1) % 100) : IntToStr(year);
            b.JahrNum = year;
        }
        FillTypeFields(b, r, typ, publisher);
        FillNotes(b, r, typ, nr);
        FillLendingAndPurchase(b, r, year);
        AddPictures(b, r, nr);
        store.UpdateBuchLengths(nr);
    }
}

} // namespace folianto
