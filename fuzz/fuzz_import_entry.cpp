// libFuzzer target: import lines of any bytes, any delimiter and any column
// assignment through ImportEntry.
//
// Input: byte 0 the delimiter, byte 1 option bits, bytes 2..36 the import
// positions of the 35 column descriptors, the rest the file's bytes.

#include "exchange/ImportDialogModel.h"
#include "exchange/TextImport.h"
#include "platform/Platform.h"
#include "application/App.h"

#include <QCoreApplication>

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

using namespace folianto;

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    constexpr size_t kHeader = 2 + DescriptorCount;
    if (size < kHeader)
        return 0;
    static SilentUserInteraction user;
    static NullPlatform platform;
    static App app(user, platform);
    app.store.Clear();
    app.store.ActBuch = 0;
    app.settings.ImpExp.Trennzeichen = static_cast<char>(data[0]);
    app.settings.KuerzelZwang = (data[1] & 1) != 0;
    app.settings.ImpExp.Kopfzeilen = (data[1] >> 1) & 3;
    for (int i = 0; i < DescriptorCount; ++i)
        app.columns.CellArray[static_cast<size_t>(i)].ImportPos = static_cast<int8_t>(data[2 + i]);

    const std::string bytes(reinterpret_cast<const char*>(data + kHeader), size - kHeader);
    const std::vector<std::string> lines = SplitLines(bytes);
    std::size_t total = 0;
    for (const auto& l : lines)
        total += l.size();
    Check(total <= bytes.size());

    for (const std::string& line : lines) {
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
            Check(app.columns.CellArray[static_cast<size_t>(i)].ImportPos == 0 ||
                  ImportDialogModel::RowEditable(i));
    return 0;
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication qapp(*argc, *argv); // locale and codecs for dates and paths
    return 0;
}
