// Loads arbitrary bytes as a database file (header format or older records).

#include "core/AppError.h"
#include "core/DatabaseFile.h"
#include "application/App.h"
#include "application/BuchData.h"

#include <QBuffer>
#include <QByteArray>

#include <cstddef>
#include <cstdint>

using namespace folianto;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    // One application object for every input: emptying the store costs only
    // the titles the last input left.
    static SilentUserInteraction user;
    static NullPlatform platform;
    static App app(user, platform);
    app.store.Clear();
    app.store.ActBuch = 0;
    app.store.FehlerNr = 0;
    app.store.Gesichert = true;
    app.DataVerMain = -1;
    app.DataVerMinor = -1;
    app.EditMode = EditModeNone;
    // The last byte, when odd, makes the load a merge into one title.
    if (size > 0 && (data[size - 1] & 1)) {
        app.EditMode = EditModeMerge;
        app.store.NewBuch();
    }
    QByteArray bytes = QByteArray::fromRawData(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::ReadOnly);
    try {
        ReadBuchData(app, buffer, "fuzz.FOL");
    } catch (const AppError&) {
    }
    // Whatever was read must save again.
    QBuffer out;
    out.open(QIODevice::WriteOnly);
    app.DataVerMain = 1;
    app.DataVerMinor = 4;
    WriteBuchData(app, out, "out.FOL");
    return 0;
}
