// Every seed and every crash input of the fuzz targets, through the same
// work per input as the targets: no fuzzer needed to keep them passing.

#include "FuzzEntries.h"

#include <QDir>
#include <QFile>

#include <gtest/gtest.h>

namespace {

struct Target {
    const char* corpus; // folder under fuzz/; crash inputs go there too
    bool (*entry)(const uint8_t*, std::size_t);
};

const Target kTargets[] = {
    {"corpus_load", folianto::fuzz::LoadDatabase},
    {"corpus_ini", folianto::fuzz::ReadSettingsFile},
    {"corpus_import_entry", folianto::fuzz::ImportLines},
    {"corpus_workbook", folianto::fuzz::ReadWorkbook},
    {"corpus_pictures", folianto::fuzz::DecodePictureFile},
    {"corpus_recovery", folianto::fuzz::ReplayRecoveryFile},
    {"corpus_references", folianto::fuzz::ReadReferences},
    {"corpus_sru", folianto::fuzz::ReadSruAnswer},
    {"corpus_openlibrary", folianto::fuzz::ReadOpenLibraryJson},
};

} // namespace

TEST(FuzzReplay, EveryCorpusAndCrashFilePasses)
{
    for (const Target& target : kTargets) {
        const QDir dir(QStringLiteral(FOLIANTO_SOURCE_DIR "/fuzz/") + QLatin1String(target.corpus));
        const QStringList files = dir.entryList(QDir::Files, QDir::Name);
        EXPECT_FALSE(files.isEmpty()) << target.corpus;
        for (const QString& name : files) {
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
            const QByteArray bytes = file.readAll();
            EXPECT_TRUE(target.entry(reinterpret_cast<const uint8_t*>(bytes.constData()),
                                     static_cast<std::size_t>(bytes.size())))
                << target.corpus << "/" << name.toStdString();
        }
    }
}
