#include "FuzzEntries.h"

#include "application/App.h"
#include "application/BuchData.h"
#include "application/SettingsFile.h"
#include "config/IniFile.h"
#include "core/AppError.h"
#include "core/Codec.h"
#include "core/DatabaseFile.h"
#include "core/SampleCatalogue.h"
#include "editor/PictureDecoding.h"
#include "editor/PictureSlots.h"
#include "exchange/BibTexImport.h"
#include "exchange/ImportDialogModel.h"
#include "exchange/RisImport.h"
#include "exchange/TextImport.h"
#include "history/RecoveryJournal.h"
#include "history/TitleCoding.h"
#include "lookup/MarcReader.h"
#include "lookup/OpenLibraryReader.h"
#include "platform/Platform.h"
#include "spreadsheet/Ole2.h"
#include "spreadsheet/Workbook.h"

#include <QBuffer>
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace folianto::fuzz {
namespace {

struct Broken {};

void Check(bool condition)
{
    if (!condition)
        throw Broken();
}

// Runs one input; false when a Check failed.
template <class Body> bool Run(Body body)
{
    try {
        body();
    } catch (const Broken&) {
        return false;
    }
    return true;
}

// One application object per target for every input: emptying the store
// costs only the titles the last input left, a new object 10,001 slots.
template <int Target> App& SharedApp()
{
    static SilentUserInteraction user;
    static NullPlatform platform;
    static App app(user, platform);
    return app;
}

// Back to the built-in defaults of everything the settings file holds.
void ResetSettings(App& app)
{
    app.settings = Settings();
    app.columns = ColumnModel();
    app.history = FileHistory();
    app.keywordSets = KeywordSets();
    app.lists.KategorieSearchList.Clear();
    app.DataFileName.clear();
}

} // namespace

bool LoadDatabase(const uint8_t* data, std::size_t size)
{
    App& app = SharedApp<0>();
    app.store.Clear();
    app.store.ActBuch = 0;
    app.store.FehlerNr = 0;
    app.store.MarkSaved();
    app.DataVerMain = -1;
    app.DataVerMinor = -1;
    const bool merge = size > 0 && (data[size - 1] & 1);
    if (merge)
        app.store.NewBuch();
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        ReadBuchData(app, buffer, "fuzz.FOL", nullptr, merge ? LoadMode::Merge : LoadMode::Replace);
    } catch (const AppError&) {
    }
    // Whatever was read must save again.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    app.DataVerMain = 1;
    app.DataVerMinor = 4;
    WriteBuchData(app, out, "out.FOL");
    return true;
}

bool ReadSettingsFile(const uint8_t* data, std::size_t size)
{
    return Run([&] {
        const std::string bytes(reinterpret_cast<const char*>(data), size);
        const IniFile ini(bytes);
        const std::string text = ini.Serialize();
        Check(IniFile(text).Serialize() == text);

        static SilentUserInteraction ui;
        static NullPlatform platform;
        static App again(ui, platform);
        App& app = SharedApp<1>();
        ResetSettings(app);
        ReadSettings(app, ini);
        for (int i = 0; i < ColumnCount; ++i) {
            const TCellRec& c = app.columns.CellArray[static_cast<std::size_t>(i)];
            Check(c.Pos >= -1 && c.Pos < ColumnCount && c.Width >= -1);
        }
        Check(!app.columns.CellArray[9].ShowCol);
        Check(app.settings.BuchSort <= 7 && app.settings.FSDialogOpenDef >= 0 && app.settings.FSDialogOpenDef <= 3);
        Check(app.settings.DefaultTyp.size() <= 20 && app.history.Paths.size() <= 5);

        // Writing into the same file and reading it back gives the same
        // settings. This costs three times the reading, so it runs for the
        // inputs whose length is a multiple of four: the fuzzer still
        // reaches it at will, and the parser sees three times the inputs.
        if (size % 4 != 0)
            return;
        IniFile edited = ini;
        WriteSettings(app, edited);
        ResetSettings(again);
        ReadSettings(again, IniFile(edited.Serialize()));
        Check(again.settings.SortLength == app.settings.SortLength);
        Check(again.settings.ImpExp.Trennzeichen == app.settings.ImpExp.Trennzeichen);
        Check(again.settings.ImpExp.Kopfzeilen == app.settings.ImpExp.Kopfzeilen);
        Check(again.DataFileName ==
              (app.settings.OpenFileAtStart ? app.DataFileName.substr(0, app.DataFileName.find_first_of("\r\n")) : ""));
        Check(again.keywordSets.Rows.size() <= app.keywordSets.Rows.size());
    });
}

bool ImportLines(const uint8_t* data, std::size_t size)
{
    constexpr std::size_t kHeader = 2 + DescriptorCount;
    if (size < kHeader)
        return true;
    return Run([&] {
        App& app = SharedApp<2>();
        app.store.Clear();
        app.store.ActBuch = 0;
        app.settings.ImpExp.Trennzeichen = static_cast<char>(data[0]);
        app.settings.KuerzelZwang = (data[1] & 1) != 0;
        app.settings.ImpExp.Kopfzeilen = (data[1] >> 1) & 3;
        for (int i = 0; i < DescriptorCount; ++i)
            app.columns.CellArray[static_cast<std::size_t>(i)].ImportPos = static_cast<int8_t>(data[2 + i]);

        const std::string bytes(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
        const std::vector<std::string> lines = SplitLines(bytes);
        std::size_t total = 0;
        for (const auto& l : lines)
            total += l.size();
        Check(total <= bytes.size());

        // A title without a short key gets one numbered past those of all
        // titles before it, so an input's cost grows with the square of its
        // lines. Every line takes the same path: the first 100 stand for the rest.
        constexpr std::size_t kMaxLines = 100;
        for (std::size_t n = 0; n < lines.size() && n < kMaxLines; ++n) {
            const std::string& line = lines[n];
            const int32_t before = app.store.AnzBuch;
            Check(ImportEntry(app, line));
            Check(app.store.AnzBuch == before + 1 && app.store.ActBuch == app.store.AnzBuch);
            const TBuch& b = *app.store.current();
            std::size_t stored = 0;
            for (int f = 1; f <= 26; ++f) {
                Check(b.TextField(f).Len == static_cast<int32_t>(b.TextField(f).Text.size()));
                stored += b.TextField(f).Text.size();
            }
            if (!app.settings.KuerzelZwang)
                Check(stored <= line.size());
            Check((b.TypNum & LinkFlag) == 0 && b.TypNum >= 0 && b.TypNum <= 8);
        }

        // The dialog's check on position texts taken from the same bytes.
        ImportDialogModel model(app, ImportDialogModel::TextMode);
        for (std::size_t i = 0; i < lines.size() && i < ImportDialogModel::RowCount; ++i)
            model.Positions[i] = lines[i];
        model.Delimiter = lines.empty() ? std::string() : lines.back();
        if (model.Ok())
            for (int i = 0; i < ImportDialogModel::RowCount; ++i)
                Check(app.columns.CellArray[static_cast<std::size_t>(i)].ImportPos == 0 ||
                      ImportDialogModel::RowEditable(i));
        app.store.Clear();
        app.store.ActBuch = 0;
    });
}

bool ReadWorkbook(const uint8_t* data, std::size_t size)
{
    static const uint8_t kSignature[] = {0xD0, 0xCF, 0x11, 0xE0, 0xA1, 0xB1, 0x1A, 0xE1};
    std::vector<uint8_t> bytes(data, data + size);
    if (size < sizeof kSignature || std::memcmp(data, kSignature, sizeof kSignature) != 0)
        bytes = ole2::PackWorkbookStream(bytes, (size & 1) ? "Book" : "Workbook");
    Workbook workbook;
    try {
        workbook.ReadFromBytes(bytes);
    } catch (const WorkbookError&) {
        return true;
    }
    LocaleNumberFormatter fmt("de_DE");
    std::size_t total = 0;
    for (std::size_t s = 0; s < workbook.SheetCount(); ++s) {
        const Sheet& sheet = workbook.GetSheet(s);
        sheet.ForEachCell([&](const Sheet::Cell& c) { total += sheet.ReadCellText(c.col, c.row, fmt).size(); });
        total += sheet.ReadCellText(sheet.LastUsedCol(), sheet.FirstUsedRow(), fmt).size();
    }
    // Writing back what was read must either work or refuse cleanly.
    try {
        (void)workbook.WriteToBytes();
    } catch (const WorkbookError&) {
    }
    return total != static_cast<std::size_t>(-1);
}

bool DecodePictureFile(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return true;
    static const int32_t formats[] = {PicJpg, PicBmp, PicEmf, PicWmf};
    const int32_t format = formats[data[0] % 4];
    std::optional<PicSize> box;
    if (data[0] & 4)
        box = PicSize{120, 90};
    const DecodedPicture picture = DecodePicture(data + 1, size - 1, format, box);
    // A raster picture holds exactly the pixels its size says.
    return picture.Pixels.empty() ||
           picture.Pixels.size() == static_cast<std::size_t>(picture.Size.Width) * picture.Size.Height * 3;
}

bool ReplayRecoveryFile(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return true;
    static QTemporaryDir dir;
    static TitleStore store;
    RecoveryJournal journal(store, PathToCp1252(dir.path()));
    std::string file;
    if (data[0] & 1) {
        file.assign(reinterpret_cast<const char*>(data) + 1, size - 1);
    } else {
        // The file a catalogue never saved would have: mark, header, changes.
        const auto frame = [&file](const std::string& payload) {
            PutU32(file, static_cast<uint32_t>(payload.size()));
            PutU32(file, Crc32(payload.data(), payload.size()));
            file += payload;
        };
        file = "FolRec01";
        std::string header;
        PutBytes(header, std::string());
        PutI64(header, -1);
        PutI64(header, 0);
        frame(header);
        for (std::size_t i = 1; i + 2 <= size;) {
            const std::size_t n = std::min<std::size_t>(static_cast<std::size_t>(data[i] | data[i + 1] << 8), size - i - 2);
            frame(std::string(reinterpret_cast<const char*>(data) + i + 2, n));
            i += 2 + n;
        }
    }
    {
        QFile out(PathFromCp1252(journal.FileFor({})));
        out.open(QIODevice::WriteOnly | QIODevice::Truncate);
        out.write(file.data(), static_cast<qint64>(file.size()));
    }
    store.Clear();
    FillSampleCatalogue(store, 5, 1);
    bool whole = true;
    if (const std::optional<RecoveryInfo> info = journal.Find({}); info && info->changes > 0)
        journal.Recover(*info);
    journal.Stop();
    // Whatever was replayed, the store is a row of titles.
    for (int32_t i = 1; i <= MaxBuch && whole; ++i)
        whole = (store.at(i) != nullptr) == (i <= store.AnzBuch);
    QDir folder(dir.path());
    for (const QString& name : folder.entryList(QDir::Files))
        folder.remove(name);
    return whole && store.AnzBuch >= 0 && store.AnzBuch <= MaxBuch;
}

bool ReadReferences(const uint8_t* data, std::size_t size)
{
    if (size < 1)
        return true;
    return Run([&] {
        const bool ris = (data[0] & 1) != 0;
        const std::string bytes(reinterpret_cast<const char*>(data + 1), size - 1);
        const ParsedReferences parsed = ris ? ParseRis(bytes) : ParseBibTex(bytes);

        const int lines = static_cast<int>(std::count(bytes.begin(), bytes.end(), '\n')) + 1;
        const auto marks = static_cast<std::size_t>(std::count(bytes.begin(), bytes.end(), ris ? 'T' : '@'));
        std::size_t dropped = 0;
        for (const ImportProblem& p : parsed.Problems) {
            Check(p.Line >= 1 && p.Line <= lines && (p.LastLine == 0 || p.LastLine >= p.Line));
            Check(!p.Text.empty());
            dropped += p.Dropped ? 1 : 0;
        }
        for (const Reference& r : parsed.References)
            Check(r.Line >= 1 && r.Line <= lines && r.Typ >= 0 && r.Typ <= 8);
        Check(parsed.References.size() + dropped <= marks);

        App& app = SharedApp<3>();
        app.store.Clear();
        app.settings.ShowAllMsg = false;
        const ReferenceImportResult result = ImportReferences(app, "fuzz", parsed);
        Check(app.store.AnzBuch == result.Imported);
        Check(result.Imported == static_cast<int>(parsed.References.size()) || !result.Read);
        for (int32_t i = 1; i <= app.store.AnzBuch; ++i) {
            const TBuch& b = *app.store.at(i);
            for (int f = 1; f <= 26; ++f)
                Check(b.TextField(f).Len == static_cast<int32_t>(b.TextField(f).Text.size()));
        }
    });
}

namespace {

bool AnswerHolds(const SourceAnswer& answer)
{
    // Found exactly when there are titles; a failure names its reason.
    if ((answer.kind == SourceAnswer::Kind::Found) != !answer.Editions.empty())
        return false;
    if (answer.kind == SourceAnswer::Kind::Failed && answer.Reason.empty())
        return false;
    for (const Reference& r : answer.Editions) {
        if (r.Typ < 0 || r.Typ > 2 || r.Title.find_first_of("\r\n") != std::string::npos)
            return false;
        TBuch b;
        StoreReference(r, b);
        if (b.Auflage == 0 || b.JahrNum == 0)
            return false;
    }
    return true;
}

} // namespace

bool ReadSruAnswer(const uint8_t* data, std::size_t size)
{
    return AnswerHolds(ReadSruMarcAnswer(std::string(reinterpret_cast<const char*>(data), size)));
}

bool ReadOpenLibraryJson(const uint8_t* data, std::size_t size)
{
    return AnswerHolds(ReadOpenLibraryAnswer(std::string(reinterpret_cast<const char*>(data), size)));
}

} // namespace folianto::fuzz
