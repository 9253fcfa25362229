#include "support/Fakes.h"

#include "application/BuchData.h"
#include "shell/MainCommands.h"

#include <QDateTime>
#include <QFileInfo>

namespace folianto::test {

std::optional<double> FakePlatform::FileLastWriteTime(const std::string& path)
{
    if (auto it = fileTimes.find(path); it != fileTimes.end())
        return it->second;
    const QFileInfo info(QString::fromLocal8Bit(path.c_str()));
    if (!info.exists())
        return std::nullopt;
    const qint64 ms = info.lastModified().toMSecsSinceEpoch();
    return 25569.0 + static_cast<double>(ms) / 86400000.0;
}

} // namespace folianto::test

namespace folianto::test {

void EditAsBeforeACrash(TestApp& t, const std::string& folder, const std::string& database)
{
    t.app.recovery.SetFolder(folder);
    std::string err;
    Load_Buch_Data(t.app, database, err);
    t.app.store.ActBuch = 4;
    DeleteCurrentTitle(t.app);
    {
        TitleChange change(t.app.titleHistory, "Neuer Titel");
        t.app.store.NewBuch();
        t.app.store.at(t.app.store.AnzBuch)->Titel.Text = "Nachtrag";
    }
    t.app.store.ActBuch = t.app.store.AnzBuch;
    TitleChange change(t.app.titleHistory, "Titel bearbeiten");
    t.app.store.Touch(t.app.store.AnzBuch);
    t.app.store.at(t.app.store.AnzBuch)->Autor.Text = "Nachgetragen";
}

} // namespace folianto::test
