#include "ui/help/HelpWindow.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

// Resources of a static library must be registered by name.
static void InitHelpResources()
{
    Q_INIT_RESOURCE(help);
}

namespace folianto {

namespace {

struct HelpPage {
    int context;
    const char* file;
    const char* title;
};

// The pages in the order of the contents.
constexpr HelpPage Pages[] = {
    {HelpOverview, "uebersicht.html", "Überblick"},
    {HelpQuickStart, "schnelleinstieg.html", "Schnelleinstieg"},
    {HelpFiles, "dateien.html", "Dateien öffnen, speichern und sichern"},
    {HelpTitleGrid, "titelliste.html", "Die Titelliste"},
    {HelpSorting, "sortieren.html", "Sortieren und Schnellsuche"},
    {HelpFilter, "filter.html", "Filtern und Suchen"},
    {HelpDuplicates, "doppelte.html", "Doppelte Titel suchen"},
    {HelpKeywords, "schlagworte.html", "Konventionen für Schlagworte"},
    {HelpLiteratureTypes, "literaturtypen.html", "Literaturtypen"},
    {HelpImport, "import.html", "Import aus Text- und Excel-Dateien"},
    {HelpExport, "export.html", "Export und Export-Auswahl"},
    {HelpKeys, "tastatur.html", "Tastaturbefehle"},
    {HelpTitleEditor, "titeleditor.html", "Der Titel-Editor"},
    {HelpOptions, "optionen.html", "Programmoptionen"},
    {HelpBibTexRis, "bibtex-ris.html", "Austausch mit BibTeX und RIS"},
    {HelpCitationStyles, "zitierstile.html", "Zitierstile und CSL-JSON"},
    {HelpLookup, "nachschlagen.html", "Titel nachschlagen"},
};

struct IndexEntry {
    const char* keyword;
    const char* file;
};

constexpr IndexEntry IndexEntries[] = {
    {"Autorenauswahl", "filter.html"},
    {"Beenden", "schnelleinstieg.html"},
    {"BibTeX", "bibtex-ris.html"},
    {"Bildanzeige", "optionen.html"},
    {"CSL-JSON", "zitierstile.html"},
    {"Dateien im Netz", "dateien.html"},
    {"DOI", "nachschlagen.html"},
    {"Doppelte Titel", "doppelte.html"},
    {"Eingabereihenfolge", "sortieren.html"},
    {"Eingrenzen in Stufen", "filter.html"},
    {"Ersetzen", "filter.html"},
    {"Excel-Export", "export.html"},
    {"Excel-Import", "import.html"},
    {"Export-Auswahl", "export.html"},
    {"Filter", "filter.html"},
    {"Import-Positionen", "import.html"},
    {"ISBN", "doppelte.html"},
    {"ISBN nachschlagen", "nachschlagen.html"},
    {"Kaufdatum", "titeleditor.html"},
    {"Kopfzeilen", "import.html"},
    {"Kürzel", "titelliste.html"},
    {"Kürzel kopieren", "titeleditor.html"},
    {"Literaturliste", "export.html"},
    {"Nachschlagen", "nachschlagen.html"},
    {"Optionen", "optionen.html"},
    {"Spaltenbreite", "optionen.html"},
    {"Spalten-Header", "optionen.html"},
    {"Literaturtypen", "literaturtypen.html"},
    {"Löschen", "schnelleinstieg.html"},
    {"Öffnen", "dateien.html"},
    {"RIS", "bibtex-ris.html"},
    {"Schlagworte", "schlagworte.html"},
    {"Schlagwort-Sets", "filter.html"},
    {"Schnellsuche", "sortieren.html"},
    {"Sicherungskopien", "dateien.html"},
    {"Sortieren", "sortieren.html"},
    {"Spalten verschieben", "titelliste.html"},
    {"Speichern", "dateien.html"},
    {"Suchen", "filter.html"},
    {"Tastaturbefehle", "tastatur.html"},
    {"Titel-Editor", "titeleditor.html"},
    {"Titelliste", "titelliste.html"},
    {"Trennzeichen", "import.html"},
    {"Typ", "literaturtypen.html"},
    {"Verleihstatus", "titeleditor.html"},
    {"Volltextsuche", "filter.html"},
    {"Zitat", "zitierstile.html"},
    {"Zitierstile", "zitierstile.html"},
    {"Zusammenführen", "dateien.html"},
    {"Zwischenablage", "export.html"},
};

QString Qrc(const char* file) { return QStringLiteral("qrc:/help/") + QString::fromLatin1(file); }

} // namespace

QString HelpWindow::PageOf(int context)
{
    for (const HelpPage& p : Pages)
        if (p.context == context)
            return Qrc(p.file);
    return Qrc(Pages[0].file);
}

HelpWindow::HelpWindow(QWidget* parent) : QWidget(parent, Qt::Window)
{
    InitHelpResources();
    setObjectName(QStringLiteral("HelpWindow"));
    setWindowTitle(QStringLiteral("Folianto - Hilfe"));
    auto* splitter = new QSplitter(this);
    tabs_ = new QTabWidget(splitter);
    Contents = new QTreeWidget(tabs_);
    Contents->setObjectName(QStringLiteral("HelpContents"));
    Contents->setHeaderHidden(true);
    Contents->setRootIsDecorated(false);
    for (const HelpPage& p : Pages) {
        auto* item = new QTreeWidgetItem(Contents, {QString::fromUtf8(p.title)});
        item->setData(0, Qt::UserRole, Qrc(p.file));
    }
    tabs_->addTab(Contents, QStringLiteral("Inhalt"));
    auto* indexPage = new QWidget(tabs_);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexSearch_ = new QLineEdit(indexPage);
    indexSearch_->setPlaceholderText(QStringLiteral("Suchbegriff"));
    Index = new QListWidget(indexPage);
    Index->setObjectName(QStringLiteral("HelpIndex"));
    for (const IndexEntry& e : IndexEntries) {
        auto* item = new QListWidgetItem(QString::fromUtf8(e.keyword), Index);
        item->setData(Qt::UserRole, Qrc(e.file));
    }
    indexLayout->addWidget(indexSearch_);
    indexLayout->addWidget(Index);
    tabs_->addTab(indexPage, QStringLiteral("Index"));
    Browser = new QTextBrowser(splitter);
    Browser->setObjectName(QStringLiteral("HelpBrowser"));
    Browser->setOpenExternalLinks(true);
    splitter->setStretchFactor(1, 1);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(splitter);
    resize(900, 600);
    splitter->setSizes({250, 650});

    connect(Contents, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { ShowPage(item->data(0, Qt::UserRole).toString()); });
    connect(Contents, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowPage(item->data(0, Qt::UserRole).toString()); });
    connect(Index, &QListWidget::itemActivated, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); });
    connect(Index, &QListWidget::itemClicked, this,
            [this](QListWidgetItem* item) { ShowPage(item->data(Qt::UserRole).toString()); });
    connect(indexSearch_, &QLineEdit::textChanged, this, &HelpWindow::FilterIndex);
}

void HelpWindow::ShowPage(const QString& page)
{
    Browser->setSource(QUrl(page));
}

void HelpWindow::ShowContext(int context)
{
    ShowPage(PageOf(context));
    show();
    raise();
    activateWindow();
}

void HelpWindow::ShowContents()
{
    ShowPage(PageOf(HelpOverview));
    tabs_->setCurrentIndex(0);
    show();
    raise();
    activateWindow();
}

void HelpWindow::FilterIndex(const QString& text)
{
    for (int i = 0; i < Index->count(); ++i) {
        QListWidgetItem* item = Index->item(i);
        item->setHidden(!item->text().startsWith(text, Qt::CaseInsensitive));
    }
    for (int i = 0; i < Index->count(); ++i) {
        if (!Index->item(i)->isHidden()) {
            Index->setCurrentRow(i);
            break;
        }
    }
}

int FocusHelpContext(QWidget* window)
{
    for (QWidget* w = QApplication::focusWidget(); w; w = w->parentWidget()) {
        const QVariant context = w->property("HelpContext");
        if (context.isValid())
            return context.toInt();
        if (w == window)
            break;
    }
    const QVariant context = window->property("HelpContext");
    return context.isValid() ? context.toInt() : HelpOverview;
}

} // namespace folianto
