// folianto-cli dump FILE: the titles of a database file as JSON lines.

#include "cli/Command.h"
#include "cli/DatabaseIo.h"
#include "core/Codec.h"

#include <QByteArray>
#include <QCryptographicHash>

#include <charconv>
#include <cmath>
#include <cstdio>
#include <iostream>

namespace folianto::cli {
namespace {

void JsonString(std::string& out, const std::string& utf8)
{
    static const char hex[] = "0123456789abcdef";
    out += '"';
    for (const unsigned char c : utf8) {
        switch (c) {
        case '"': out += "\\\""; break;
        case '\\': out += "\\\\"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        case '\t': out += "\\t"; break;
        case '\b': out += "\\b"; break;
        case '\f': out += "\\f"; break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += hex[c >> 4];
                out += hex[c & 0xF];
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

// Shortest text that reads back as the same value; JSON has no NaN or
// infinity, so those are written as the strings "NaN", "Infinity", "-Infinity".
template <class Float>
void JsonNumber(std::string& out, Float v)
{
    if (std::isnan(v)) {
        out += "\"NaN\"";
    } else if (std::isinf(v)) {
        out += v > 0 ? "\"Infinity\"" : "\"-Infinity\"";
    } else {
        char buf[64];
        const auto result = std::to_chars(buf, buf + sizeof buf, v);
        out.append(buf, result.ptr);
    }
}

void Key(std::string& out, const char* key)
{
    out += '"';
    out += key;
    out += "\":";
}

std::string TitleLine(const TBuch& b)
{
    std::string out = "{";
    for (int f = 1; f <= TextFieldCount; ++f) {
        Key(out, TextFieldNames[static_cast<std::size_t>(f - 1)]);
        JsonString(out, Cp1252ToUtf8(b.TextField(f).Text));
        out += ',';
    }
    const std::pair<const char*, int32_t> numbers[] = {
        {"Auflage", b.Auflage}, {"Verleihstatus", b.Verleihstatus}, {"JahrNum", b.JahrNum}};
    for (const auto& [key, value] : numbers) {
        Key(out, key);
        out += std::to_string(value) + ",";
    }
    Key(out, "Preis");
    JsonNumber(out, b.Preis);
    out += ',';
    Key(out, "TypNum");
    out += std::to_string(b.TypNum) + ",";
    Key(out, "AnzPics");
    out += std::to_string(b.AnzPics) + ",";
    Key(out, "Pics");
    out += '[';
    for (std::size_t i = 0; i < b.Pics.size(); ++i) {
        const TPicRec& pic = b.Pics[i];
        const QByteArray data = QByteArray::fromRawData(reinterpret_cast<const char*>(pic.Data.data()),
                                                        static_cast<qsizetype>(pic.Data.size()));
        out += i == 0 ? "{" : ",{";
        Key(out, "Size");
        out += std::to_string(pic.Size) + ",";
        Key(out, "Kind");
        out += std::to_string(pic.Kind) + ",";
        Key(out, "DataLength");
        out += std::to_string(pic.Data.size()) + ",";
        Key(out, "DataSha256");
        out += '"' + QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex().toStdString() + "\",";
        Key(out, "BildTitel");
        JsonString(out, Cp1252ToUtf8(pic.BildTitel.Text));
        out += '}';
    }
    out += "],";
    Key(out, "Kaufdatum");
    JsonNumber(out, b.Kaufdatum);
    out += ',';
    Key(out, "BuchNr");
    out += std::to_string(b.BuchNr) + "}";
    return out;
}

int Dump(Context& context, const Args& args)
{
    App& app = context.app;
    if (!LoadOrReport(app, args.positional[0]))
        return ExitFailed;
    const TitleStore& store = app.store;
    std::string out = "{\"AnzBuch\":" + std::to_string(store.AnzBuch) +
                      ",\"DataVerMain\":" + std::to_string(app.DataVerMain) +
                      ",\"DataVerMinor\":" + std::to_string(app.DataVerMinor) +
                      ",\"Gesichert\":" + (store.Gesichert() ? "true" : "false") + "}\n";
    std::fwrite(out.data(), 1, out.size(), stdout);
    for (int32_t i = 1; i <= store.AnzBuch; ++i)
        if (const TBuch* b = store.at(i)) {
            out = TitleLine(*b);
            out += '\n';
            std::fwrite(out.data(), 1, out.size(), stdout);
        }
    return std::fflush(stdout) == 0 ? ExitOk : ExitFailed;
}

const bool registered = RegisterCommand({"dump", "dump DATEI [--answers LISTE]  Titel als JSON-Zeilen ausgeben",
                                         {}, 1, 1, Dump});

} // namespace
} // namespace folianto::cli
