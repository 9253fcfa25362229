#pragma once
// Helpers shared by the import and export tests.

#include "exchange/CslBibliography.h"
#include "support/DbBytes.h"
#include "support/Fakes.h"

#include <QFileInfo>
#include <QLocale>
#include <QStandardPaths>

#include <clocale>

namespace folianto::test {

// pandoc and the citation styles of the Debian packages are there.
inline bool HasPandocAndStyles()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pandoc")).isEmpty() &&
           QFileInfo::exists(QString::fromStdString(CslStylesFolder() + "/din-1505-2.csl"));
}

#define REQUIRE_PANDOC()                                                                                          \
    if (!test::HasPandocAndStyles())                                                                              \
    GTEST_SKIP() << "pandoc or the CSL styles are not installed (Debian packages pandoc, "                       \
                    "citation-style-language-styles)"

// German number and date formats for the duration of a test, in Qt and, where
// a German locale is installed, in the C library as a GUI run has them.
class GermanLocale {
public:
    GermanLocale() : saved_(std::setlocale(LC_NUMERIC, nullptr))
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "de_DE"})
            if (std::setlocale(LC_NUMERIC, name))
                break;
    }
    ~GermanLocale()
    {
        QLocale::setDefault(QLocale::c());
        std::setlocale(LC_NUMERIC, saved_.c_str());
    }

private:
    std::string saved_;
};

// Appends a title through the store and returns it.
inline TBuch& AddTitle(App& app)
{
    app.store.NewBuch();
    return *app.store.at(app.store.AnzBuch);
}

// Shows titles 1..n in rows 1..n of the grid, as a refresh would.
inline void ShowAllTitles(App& app)
{
    app.selection.AusgabeBuchNr.assign(static_cast<std::size_t>(app.store.AnzBuch) + 1, 0);
    for (int32_t i = 1; i <= app.store.AnzBuch; ++i)
        app.selection.AusgabeBuchNr[static_cast<std::size_t>(i)] = app.store.at(i)->BuchNr;
    app.grid.SetRowCount(app.store.AnzBuch + 1);
}

// A stand-in for pandoc in `dir` that works until it is stopped.
inline QString WriteEndlessPandoc(const QTemporaryDir& dir)
{
    const QString path = dir.filePath(QStringLiteral("pandoc"));
    QFile script(path);
    if (script.open(QIODevice::WriteOnly))
        script.write("#!/bin/sh\nexec sleep 60\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::ExeOwner);
    return path;
}

// Windows-1252 bytes as UTF-8, for comparing with what a UTF-8 format holds.
inline std::string U(const std::string& cp1252)
{
    return Cp1252ToUtf8(cp1252);
}

// A file of tests/data/<folder>.
inline std::string ReadFixture(const char* folder, const char* name)
{
    return ReadBytes(QStringLiteral(FOLIANTO_TEST_DATA "/") + QString::fromLatin1(folder) + QLatin1Char('/') +
                     QString::fromLatin1(name));
}

} // namespace folianto::test
