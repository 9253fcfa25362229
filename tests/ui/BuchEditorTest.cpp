// The title editor driven through its widgets: the title commands of the main
// window open it, the tests type, click and read what a user would.

#include "ui/GuiSupport.h"
#include "support/Golden.h"

#include "application/BuchData.h"
#include "editor/TitleEditorModel.h"
#include "selection/Selection.h"
#include "shell/GridRules.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/editor/KaufdatumBox.h"
#include "ui/editor/SelectComboBox.h"

#include <QClipboard>
#include <QGroupBox>
#include <QPlainTextEdit>

namespace folianto::test {
namespace {

using C = EditControl;

// The picture page's own button is found by its name.
QWidget* W(TBuchEditDlg& d, EditControl c)
{
    return d.Control(c) ? d.Control(c) : d.findChild<QWidget*>(QString::fromLatin1(ControlName(c)));
}

// Key presses for every character, umlauts included.
void TypeKeys(QWidget* w, const QString& text)
{
    for (const QChar ch : text) {
        if (ch.unicode() < 0x80)
            QTest::keyClick(w, static_cast<char>(ch.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(ch), Qt::NoModifier);
    }
}

// Types `text` into a control as a user does: focus, select all, keys.
void Type(TBuchEditDlg& d, EditControl c, const char* utf8)
{
    QWidget* w = W(d, c);
    w->setFocus(Qt::MouseFocusReason);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        memo->selectAll();
    else if (auto* combo = qobject_cast<QComboBox*>(w))
        combo->lineEdit()->selectAll();
    else if (auto* edit = qobject_cast<QLineEdit*>(w))
        edit->selectAll();
    TypeKeys(w, Q(utf8));
}

QString Text(TBuchEditDlg& d, EditControl c)
{
    QWidget* w = W(d, c);
    if (auto* memo = qobject_cast<QPlainTextEdit*>(w))
        return memo->toPlainText();
    if (auto* combo = qobject_cast<QComboBox*>(w))
        return combo->currentText();
    return static_cast<QLineEdit*>(w)->text();
}

void ChooseType(TBuchEditDlg& d, int typ)
{
    d.findChild<QRadioButton*>(QStringLiteral("RadioLiteraturTyp%1").arg(typ))->click();
}

void ClickOk(TBuchEditDlg& d)
{
    QTest::mouseClick(static_cast<QPushButton*>(W(d, C::OkButton)), Qt::LeftButton);
}

int GridColumn(const App& app, int descriptor) { return GridColumnOf(app.columns, app.grid, descriptor); }

// Shows the page that holds the control.
void ShowPageOf(TBuchEditDlg& d, EditControl c)
{
    for (int page = 0; page < d.Pages()->count(); ++page)
        if (d.Pages()->widget(page)->isAncestorOf(W(d, c)))
            d.Pages()->setCurrentIndex(page);
}

// An edit shows in the grid at once and keeps the scroll position; an
// untouched memo keeps its stored line ends, an edited one gets CR LF.
TEST(TitleEditor, EditShowsInTheGridAndKeepsTheScrollPositionAndStoredLineEnds)
{
    WindowFixture f;
    f.Open("edit.FOL", 120);
    App& app = f.t.app;
    const int titleCol = GridColumn(app, ColTitel);
    f.window->Grid()->SetCurrentCell(titleCol, 60);
    f.window->Grid()->scrollTo(f.window->Grid()->model()->index(59, titleCol), QAbstractItemView::PositionAtTop);
    const int topRow = f.window->Grid()->TopRow();
    GetCurrentBuch(app);
    const int32_t act = app.store.ActBuch;
    app.store.at(act)->Bemerkung.Text = "eins\ntwo";
    app.store.at(act)->Inhalt.Text = "a\r\nb";
    InEditor(f, "&Bearbeiten", [](TBuchEditDlg& d) {
        EXPECT_TRUE(W(d, C::TitelEdit)->hasFocus()); // the grid column was the title's
        Type(d, C::TitelEdit, "zzz Geänderter Titel");
        d.Pages()->setCurrentIndex(2);
        auto* inhalt = static_cast<QPlainTextEdit*>(W(d, C::MemoInhalt));
        inhalt->moveCursor(QTextCursor::End);
        TypeKeys(inhalt, Q("c"));
        ClickOk(d);
    });

    const std::vector<std::string> titles = ColumnCells(app, titleCol);
    EXPECT_NE(std::find(titles.begin(), titles.end(), Cp1252("zzz Geänderter Titel")), titles.end());
    EXPECT_EQ(f.window->Grid()->TopRow(), topRow);
    EXPECT_FALSE(app.store.Gesichert());
    EXPECT_EQ(std::tuple(app.store.at(act)->Bemerkung.Text, app.store.at(act)->Inhalt.Text),
              std::tuple("eins\ntwo", "a\r\nbc"));
}

// "&Ansehen" disables every control that changes the title, the pictures'
// too (viewing a picture and saving a copy stay), and changes nothing;
// "&Bearbeiten" afterwards allows it again.
TEST(TitleEditor, ViewModeDisablesTheDataControlsUntilTheNextCommand)
{
    WindowFixture f;
    f.Open("view.FOL", 3);
    f.window->Grid()->SetCurrentCell(1, 1);
    f.t.ui.filePaths = {FOLIANTO_TEST_DATA "/pictures/baseline.jpg"};
    InEditor(f, "&Bearbeiten", [](TBuchEditDlg& d) {
        d.Pages()->setCurrentIndex(PageBilder - 1);
        QTest::mouseClick(static_cast<QPushButton*>(W(d, C::ButtonBildHinzufuegen)), Qt::LeftButton);
        ClickOk(d);
    });
    ASSERT_EQ(f.t.app.store.current()->AnzPics, 1);
    f.t.app.store.MarkSaved();
    for (const bool view : {true, false}) {
        InEditor(f, view ? "&Ansehen" : "&Bearbeiten", [view](TBuchEditDlg& d) {
            EXPECT_EQ(d.windowTitle(), Q("Folianto - Titel-Editor: ") + Q(view ? "Ansehen" : "Bearbeiten"));
            EXPECT_EQ(d.Pages()->currentIndex(), 0);
            for (EditControl c : view ? ViewModeDisabledControls()
                                      : std::vector{C::OkButton, C::TitelEdit, C::MemoInhalt, C::RadioGroup_LiteraturTyp})
                EXPECT_EQ(W(d, c)->isEnabled(), !view) << ControlName(c);
            for (const char* name : {"ButtonBildLinkHinzufuegen", "ButtonBildLoeschen", "RadioGroupBildSpeichern"})
                EXPECT_EQ(d.findChild<QWidget*>(Q(name))->isEnabled(), !view) << name;
            EXPECT_EQ(d.findChild<QLineEdit*>(Q("EditBildTitel1"))->isReadOnly(), view);
            for (EditControl c : {C::CancelButton, C::CheckBoxWiederverwenden})
                EXPECT_TRUE(W(d, c)->isEnabled()) << ControlName(c);
            EXPECT_TRUE(d.findChild<QWidget*>(Q("ButtonBildSpeichern"))->isEnabled() && d.PictureTabs()->isTabVisible(0));
            QTest::keyClick(&d, Qt::Key_Escape);
        });
    }
    EXPECT_EQ(std::tuple(f.t.app.store.Gesichert(), f.t.app.store.current()->AnzPics), std::tuple(true, 1));
}

// Escape keeps every typed text out of the titles; Ctrl+Z in a text field
// takes back the typing there, not a change to the titles.
TEST(TitleEditor, EscapeStoresNothingAndCtrlZBelongsToTheField)
{
    WindowFixture f;
    f.Open("esc.FOL", 5);
    App& app = f.t.app;
    f.window->Grid()->SetCurrentCell(1, 2);
    GetCurrentBuch(app);
    const int32_t act = app.store.ActBuch;
    const TBuch before = *app.store.current();
    InEditor(f, "&Bearbeiten", [](TBuchEditDlg& d) {
        Type(d, C::TitelEdit, "verworfen");
        Type(d, C::MemoBemerkung, "auch verworfen");
        QTest::keyClick(W(d, C::MemoBemerkung), Qt::Key_Escape);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(std::tuple(app.store.at(act)->Titel.Text, app.store.at(act)->Bemerkung.Text, app.store.Gesichert()),
              std::tuple(before.Titel.Text, before.Bemerkung.Text, true));
    EXPECT_TRUE(f.t.ui.messages.empty());

    FindAction(f.window.get(), {Q("&Titel"), Q("&Löschen")})->trigger();
    ASSERT_EQ(app.store.AnzBuch, 4);
    InEditor(f, "&Neu eingeben", [](TBuchEditDlg& d) {
        const QString proposed = Text(d, C::EditKuerzel);
        Type(d, C::EditKuerzel, "Weg001");
        QTest::keyClick(W(d, C::EditKuerzel), Qt::Key_Z, Qt::ControlModifier);
        EXPECT_EQ(Text(d, C::EditKuerzel), proposed);
        Type(d, C::EditKuerzel, "Weg001");
        QTest::keyClick(W(d, C::EditKuerzel), Qt::Key_Escape);
    });
    EXPECT_EQ(app.store.AnzBuch, 4);
    EXPECT_EQ(app.titleHistory.UndoLabel(), Cp1252("Titel löschen"));
}

TEST(TitleEditor, CopyProposesANewKeyAndAppends)
{
    WindowFixture f;
    f.Open("copy.FOL", 3);
    // The row of the first title: the short-key rule does not compare the last one.
    for (int row = 1; row <= 3 && f.t.app.store.ActBuch != 1; ++row) {
        f.window->Grid()->SetCurrentCell(1, row);
        GetCurrentBuch(f.t.app);
    }
    const std::string sourceKey = f.t.app.store.current()->Kuerzel.Text;
    QString proposed;
    InEditor(f, "&Kopieren", [&proposed](TBuchEditDlg& d) {
        EXPECT_TRUE(static_cast<QCheckBox*>(W(d, C::CheckBoxKopieren))->isChecked() && W(d, C::CheckBoxKopieren)->isEnabled());
        proposed = Text(d, C::EditKuerzel);
        ClickOk(d);
    });
    EXPECT_NE(proposed, FromCp1252(sourceKey));
    ASSERT_EQ(f.t.app.store.AnzBuch, 4);
    EXPECT_EQ(FromCp1252(f.t.app.store.at(4)->Kuerzel.Text), proposed);
}

// Captions, hints and page names exactly as the user reads them. Labels are
// the buddies of their controls, and screen readers read the label text as
// the control's name; the picture page's "Hinweis:" and "Größe:" are notes,
// not captions of a control.
TEST(TitleEditor, CaptionsHintsPagesAndLabelsAsBuddies)
{
    WindowFixture f;
    TBuchEditDlg& d = f.window->TitleEditor();
    // Every caption and hint, the type panel as for a new title.
    ExpectGolden("editor-captions.txt", WidgetTexts(d));
    EXPECT_FALSE(W(d, C::SpeedButtonUebernehmen)->isEnabled());
    // Page 5: the ten picture tabs (captions in the file above) hidden while empty.
    for (int i = 0; i < d.PictureTabs()->count(); ++i)
        EXPECT_FALSE(d.PictureTabs()->isTabVisible(i));

    EXPECT_EQ(ExpectBuddiesNamedByTheirLabels(d, true), 32);
    const QWidget* picturePage = d.findChild<QWidget*>(Q("TabSheetBilder"));
    for (QLabel* label : d.findChildren<QLabel*>())
        EXPECT_TRUE(label->buddy() || picturePage->isAncestorOf(label) || !label->text().trimmed().endsWith(QLatin1Char(':')))
            << label->objectName().toStdString();
}

// The groups and captions each type shows; Enter and Tab to the next
// control and between the pages; F1 on every page; only the keyword page
// resizes.
TEST(TitleEditor, TypePanelKeyboardWalkAndHelpOnEveryPage)
{
    const struct {
        int typ;
        bool books, journals, audioVisual, pages;
        const char* captions; // of series and publisher
    } panels[] = {
        {TypMonographie, true, false, false, true, "Reihe Verlag"},
        {TypHochschulschrift, true, false, false, true, "Art an Uni."},
        {TypZeitschriftenaufsatz, false, true, false, true, "Reihe Verlag"},
        {TypAudiovisuell, false, false, true, false, "Reihe Verlag"},
        {TypUnklar, true, true, true, true, "Reihe Verlag"},
    };
    const struct {
        int typ;
        EditControl from;
        int key;
        int page; // tab index after the key
        const char* focus;
    } walks[] = {
        {TypMonographie, C::EditKuerzel, Qt::Key_Return, 0, "ComboBoxAutor"},
        {TypMonographie, C::TitelEdit, Qt::Key_Tab, 0, "AltTitelEdit"},
        {TypMonographie, C::OrgTitelEdit, Qt::Key_Return, 1, "AusgabeEdit"},
        {TypZeitschriftenaufsatz, C::OrgTitelEdit, Qt::Key_Tab, 1, "ComboBoxZeitschrift"},
        {TypAudiovisuell, C::OrgTitelEdit, Qt::Key_Return, 1, "EditQuelle"},
        {TypUnklar, C::OrgTitelEdit, Qt::Key_Return, 1, "AusgabeEdit"},
        {TypMonographie, C::EditSeiten, Qt::Key_Return, 2, "MemoSchlagworte"},
        {TypUnklar, C::EditSeiten, Qt::Key_Tab, 1, "EditQuelle"},
        {TypUnklar, C::EditLaenge, Qt::Key_Return, 2, "MemoSchlagworte"},
        {TypMonographie, C::MemoInhalt, Qt::Key_Return, 2, "MemoBemerkung"},
        {TypMonographie, C::MemoBemerkung, Qt::Key_Tab, 3, "ComboBoxTyp"},
        {TypMonographie, C::ComboBoxTyp, Qt::Key_Return, 3, "ComboBoxSprache"},
        {TypMonographie, C::DateTimePickerKaufdatum, Qt::Key_Return, 4, "ButtonBildHinzufuegen"},
    };
    WindowFixture f;
    f.t.app.settings.KuerzelZwang = false;
    InEditor(f, "&Neu eingeben", [&](TBuchEditDlg& d) {
        d.Pages()->setCurrentIndex(1);
        const auto shown = [&d](const char* group) { return d.findChild<QGroupBox*>(Q(group))->isVisible(); };
        const auto caption = [&d](const char* label) { return d.findChild<QLabel*>(Q(label))->text(); };
        for (const auto& p : panels) {
            SCOPED_TRACE(p.typ);
            ChooseType(d, p.typ);
            EXPECT_EQ(std::tuple(shown("GroupBoxBuecher"), shown("GroupBoxZeitschriften"), shown("GroupBoxAudioVisuell"),
                                 shown("GroupBoxSeiten")),
                      std::tuple(p.books, p.journals, p.audioVisual, p.pages));
            EXPECT_EQ(caption("ComboBoxSerieLabel") + QLatin1Char(' ') + caption("ComboBoxVerlagLabel"), Q(p.captions));
            EXPECT_FALSE(Text(d, C::MemoBeschreibung).isEmpty());
        }
        EXPECT_EQ(std::tuple(d.size(), d.maximumSize()), std::tuple(d.DesignedSize(), d.DesignedSize()));
        d.Pages()->setCurrentIndex(2);
        EXPECT_GT(d.maximumWidth(), d.DesignedSize().width());
        d.resize(d.DesignedSize() + QSize(200, 150));
        d.Pages()->setCurrentIndex(3);
        EXPECT_EQ(d.size(), d.DesignedSize());

        for (const auto& w : walks) {
            SCOPED_TRACE(std::string(ControlName(w.from)) + " type " + std::to_string(w.typ));
            d.Pages()->setCurrentIndex(1);
            ChooseType(d, w.typ);
            d.Pages()->setCurrentIndex(0);
            ShowPageOf(d, w.from);
            W(d, w.from)->setFocus(Qt::MouseFocusReason);
            QTest::keyClick(W(d, w.from), static_cast<Qt::Key>(w.key));
            EXPECT_EQ(d.Pages()->currentIndex(), w.page);
            ASSERT_NE(QApplication::focusWidget(), nullptr);
            QWidget* focus = QApplication::focusWidget();
            if (auto* combo = qobject_cast<QComboBox*>(focus->parentWidget()); combo && focus == combo->lineEdit())
                focus = combo;
            if (focus->parentWidget() == d.PictureTabs()) // no picture yet: the tabs take the focus
                focus = d.PictureTabs();
            EXPECT_EQ(focus->objectName().toStdString(), w.focus);
        }

        for (int page = 0; page < d.Pages()->count(); ++page) {
            d.Pages()->setCurrentIndex(page);
            d.Pages()->currentWidget()->nextInFocusChain()->setFocus(Qt::TabFocusReason);
            EXPECT_TRUE(HelpPageAfterF1(d).endsWith(Q("titeleditor.html"))) << page;
        }
    });
}

// Typing into a new title: keys a number, price or memo field does not let
// through; a paste of any length; the purchase date, blank until chosen; the
// authors' tick list joined into the box text.
TEST(TitleEditor, KeyFiltersPurchaseDateAndAuthorTicksOfANewTitle)
{
    const struct {
        EditControl field;
        const char* typed;
        const char* shown;
    } keys[] = {
        {C::AusgabeEdit, "2a,7 x", "27"},
        {C::FirstEditionEdit, "19-84ł文", "1984"},
        {C::EditPreis, "12,5.3", "12.53"},
        {C::EditPreis, "a1.2,3", "1.23"},
        {C::EditPreis, "ı5ş", "5"},
    };
    WindowFixture f;
    f.Open("neu.FOL", 20);
    f.t.app.settings.KuerzelZwang = false; // the short key stays blank here
    const double current = f.t.app.store.current()->Kaufdatum;
    const QDate proposed = current >= 1.0 ? KaufdatumBox::DateOf(current) : QDate::currentDate();
    InEditor(f, "&Neu eingeben", [&](TBuchEditDlg& d) {
        for (const auto& k : keys) {
            d.Pages()->setCurrentIndex(k.field == C::EditPreis ? 3 : 1);
            Type(d, k.field, k.typed);
            EXPECT_EQ(Text(d, k.field), Q(k.shown)) << ControlName(k.field);
        }
        d.Pages()->setCurrentIndex(2);
        Type(d, C::MemoInhalt, "eins");
        QTest::keyClick(W(d, C::MemoInhalt), Qt::Key_Return, Qt::ShiftModifier);
        TypeKeys(W(d, C::MemoInhalt), Q("zwei"));
        EXPECT_EQ(Text(d, C::MemoInhalt), Q("einszwei")); // no line breaks
        // A million characters pasted are stored whole.
        QApplication::clipboard()->setText(QString(1000000, QLatin1Char('x')));
        static_cast<QPlainTextEdit*>(W(d, C::MemoInhalt))->selectAll();
        QTest::keyClick(W(d, C::MemoInhalt), Qt::Key_V, Qt::ControlModifier);

        d.Pages()->setCurrentIndex(3);
        auto* date = static_cast<KaufdatumBox*>(W(d, C::DateTimePickerKaufdatum));
        EXPECT_TRUE(date->IsBlank());
        date->setFocus(Qt::TabFocusReason); // entering proposes the current title's date
        EXPECT_EQ(date->date(), proposed);
        W(d, C::EditPreis)->setFocus(Qt::TabFocusReason); // left unchosen: blank again
        EXPECT_TRUE(date->IsBlank());
        date->setFocus(Qt::TabFocusReason);
        date->setDate(QDate(2021, 3, 4));
        W(d, C::EditPreis)->setFocus(Qt::TabFocusReason);
        EXPECT_EQ(date->date(), QDate(2021, 3, 4));
        date->setFocus(Qt::TabFocusReason);
        QTest::keyClick(date, Qt::Key_Delete);
        EXPECT_TRUE(date->IsBlank());

        d.Pages()->setCurrentIndex(0);
        auto* box = static_cast<TSelectComboBox*>(W(d, C::ComboBoxAutor));
        ASSERT_GE(box->Entries().size(), 3u);
        box->showPopup();
        ASSERT_TRUE(box->PopupVisible());
        QListWidget* list = box->Popup()->List();
        EXPECT_LE(list->parentWidget()->height(),
                  list->sizeHintForRow(0) * std::min<int>(static_cast<int>(box->Entries().size()), 8) + 5);
        for (int row : {2, 0})
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
        QTest::keyClick(list, Qt::Key_Escape);
        EXPECT_FALSE(box->PopupVisible());
        const QString ticked = FromCp1252(box->Entries()[0]) + QStringLiteral("; ") + FromCp1252(box->Entries()[2]);
        EXPECT_EQ(box->currentText(), ticked + QLatin1Char(';'));
        W(d, C::ComboBoxAutor)->setFocus(Qt::MouseFocusReason);
        W(d, C::TitelEdit)->setFocus(Qt::TabFocusReason); // leaving drops the last semicolon
        EXPECT_EQ(box->currentText(), ticked);
        // Looking at the list without ticking keeps a typed name.
        Type(d, C::ComboBoxAutor, "Neuer Name");
        box->showPopup();
        QTest::keyClick(box->Popup()->List(), Qt::Key_Escape);
        EXPECT_EQ(box->currentText(), Q("Neuer Name"));

        d.Pages()->setCurrentIndex(1);
        ChooseType(d, TypMonographie);
        Type(d, C::TitelEdit, "Groß");
        ClickOk(d);
    });
    ASSERT_EQ(f.t.app.store.AnzBuch, 21);
    const TBuch& added = *f.t.app.store.at(21);
    EXPECT_EQ(std::tuple(added.Inhalt.Text.size(), added.Titel.Text, added.Kaufdatum, added.Autor.Text),
              std::tuple(1000000u, Cp1252("Groß"), 0.0, "Neuer Name"));
}

// A user's round trip: three new titles of different types with umlauts in
// every field they show, saved, opened again: every field as typed.
TEST(TitleEditor, ThreeTypedTitlesSurviveSaveAndReopen)
{
    struct Field {
        EditControl control;
        const char* typed;
    };
    struct Title {
        int typ;
        std::vector<Field> fields;
    };
    const std::vector<Field> common = {
        {C::TitelEdit, "Über Dvořák & Čapek"}, {C::AltTitelEdit, "Мастер и Маргарита"}, {C::OrgTitelEdit, "红楼梦"},
        {C::MemoInhalt, "Inhält"}, {C::MemoBemerkung, "Bemerküng"},
        {C::ComboBoxSprache, "Älteres Deutsch"}, {C::ComboBoxKategorie, "Ökologie"},
        {C::ComboBoxStandort, "Ürne"}, {C::ComboBoxOwner, "Jürgen Öhl"}, {C::ComboBoxTyp, "Übersicht"},
        {C::EditVerleihstatus, "Käthe Müßig"}, {C::ComboBoxWaehrung, "Fr.ä"},
    };
    const Title titles[] = {
        {TypMonographie,
         {{C::EditKuerzel, "Mön001"}, {C::ComboBoxAutor, "Miłosz, Czesław"}, {C::ComboBoxHerausgeber, "Yılmaz, Ayşe"},
          {C::AusgabeEdit, "3"}, {C::EditionYearEdit, "1999"}, {C::FirstEditionEdit, "1987"},
          {C::BandEdit, "Bänd 2"}, {C::ComboBoxSerie, "Reihe Ä"}, {C::ComboBoxVerlag, "Verläg"}, {C::ComboBoxOrt, "Köln"},
          {C::ISBN_Edit, "ÄSBN"}, {C::EditSeiten, "Säiten 12"}, {C::MemoSchlagworte, "Łódź; 文献; Birnen"},
          {C::EditPreis, "12.5"}}},
        {TypZeitschriftenaufsatz,
         {{C::EditKuerzel, "Zeü002"}, {C::ComboBoxAutor, "Ülla Ärger"}, {C::ComboBoxZeitschrift, "Zeitschrift Ö"},
          {C::EditJahrgang, "7"}, {C::EditJahr, "2004"}, {C::EditHeftNr, "Heft ü"},
          {C::EditSeiten, "S. 3-ä"}, {C::MemoSchlagworte, "Öl"}, {C::EditPreis, "0.99"}}},
        {TypAudiovisuell,
         {{C::EditKuerzel, "Aud003"}, {C::ComboBoxAutor, "Ödön Horváth"}, {C::EditQuelle, "Quelle ä"},
          {C::EditMedium, "Medium ö"}, {C::EditLaenge, "Länge 90"}, {C::MemoSchlagworte, "Übung"},
          {C::EditPreis, "7"}}},
    };
    WindowFixture f;
    for (const Title& title : titles) {
        InEditor(f, "&Neu eingeben", [&title, &common](TBuchEditDlg& d) {
            d.Pages()->setCurrentIndex(1);
            ChooseType(d, title.typ);
            d.Pages()->setCurrentIndex(3);
            d.findChild<QRadioButton*>(QStringLiteral("RadioVerleihstatus1"))->click();
            std::vector<Field> fields = title.fields;
            fields.insert(fields.end(), common.begin(), common.end());
            for (const Field& field : fields) {
                ShowPageOf(d, field.control);
                Type(d, field.control, field.typed);
                EXPECT_EQ(Text(d, field.control), Q(field.typed)) << ControlName(field.control);
            }
            static_cast<KaufdatumBox*>(W(d, C::DateTimePickerKaufdatum))->setDate(QDate(2020, 2, 29));
            ClickOk(d);
            EXPECT_FALSE(d.isVisible());
        });
    }
    EXPECT_TRUE(f.t.ui.messages.empty()) << f.t.ui.messages.front().text;
    // In the grid at once, unsaved, and the save entry on once idle.
    const std::vector<std::string> shown = ColumnCells(f.t.app, GridColumn(f.t.app, ColTitel));
    EXPECT_EQ(std::count(shown.begin(), shown.end(), f.t.app.store.at(1)->Titel.Text), 3);
    EXPECT_FALSE(f.t.app.store.Gesichert());
    QApplication::processEvents();
    EXPECT_TRUE(f.window->SaveAction()->isEnabled());
    // A folder and a file named in scripts the code page cannot hold.
    ASSERT_TRUE(QDir(f.dir.path()).mkdir(Q("Łódź")));
    const std::string path = PathToCp1252(f.dir.filePath(Q("Łódź/目录.FOL")));
    f.t.ui.filePaths.push_back(path);
    FindAction(f.window.get(), {Q("&Datei"), Q("Speichern &unter...")})->trigger();

    TestApp reopened;
    std::string errParam;
    ASSERT_TRUE(Load_Buch_Data(reopened.app, path, errParam));
    ASSERT_EQ(reopened.app.store.AnzBuch, 3);
    // Every field as typed, in the field of its control, before and after the file.
    const auto fields = [](const TitleStore& store) {
        std::string out;
        for (int32_t i = 1; i <= store.AnzBuch; ++i) {
            const TBuch& b = *store.at(i);
            out += "== " + std::to_string(i) + " type " + std::to_string(b.TypNum) + " Auflage " +
                   std::to_string(b.Auflage) + " JahrNum " + std::to_string(b.JahrNum) + " Preis " +
                   QString::number(b.Preis).toStdString() + " Verleihstatus " + std::to_string(b.Verleihstatus) +
                   " Kaufdatum " + KaufdatumBox::DateOf(b.Kaufdatum).toString(Qt::ISODate).toStdString() + "\n";
            for (int field = 1; field <= TextFieldCount; ++field)
                if (const std::string& text = b.TextField(field).Text; !text.empty() && text != " ")
                    out += std::string(TextFieldNames[static_cast<std::size_t>(field - 1)]) + ": " + Cp1252ToUtf8(text) + "\n";
        }
        return out;
    };
    EXPECT_EQ(fields(reopened.app.store), fields(f.t.app.store));
    ExpectGolden("editor-typed-titles.txt", fields(reopened.app.store));
}

// "Ort:" stands beside the publisher, in the group of the types with a
// publisher, tells a screen reader it is the place's caption, completes from
// the places typed before, and the grid's "Ort" column shows what was stored.
TEST(TitleEditor, ThePlaceBesideThePublisher)
{
    WindowFixture f;
    f.Open("ort.FOL", 2);
    f.t.app.lists.OrtSearchList.AddEntry("Xanten"); // as if typed before
    InEditor(f, "&Bearbeiten", [](TBuchEditDlg& d) {
        auto* ort = qobject_cast<QComboBox*>(W(d, C::ComboBoxOrt));
        ASSERT_NE(ort, nullptr);
        d.Pages()->setCurrentIndex(1);
        ChooseType(d, TypMonographie);
        EXPECT_TRUE(LabelsOf(ort).contains(Q("Ort:"))) << LabelsOf(ort).join(QLatin1Char('|')).toStdString();
        EXPECT_EQ(ort->parentWidget(), W(d, C::ComboBoxVerlag)->parentWidget());
        EXPECT_EQ(ort->geometry().top(), W(d, C::ComboBoxVerlag)->geometry().top());
        ort->setFocus(Qt::TabFocusReason);
        ort->lineEdit()->selectAll();
        QTest::keyClick(ort->lineEdit(), 'x');
        EXPECT_EQ(ort->currentText(), Q("Xanten"));
        ClickOk(d);
    });
    const App& app = f.t.app;
    EXPECT_EQ(app.store.at(app.store.ActBuch)->Ort.Text, "Xanten");
    const std::vector<std::string> places = ColumnCells(app, GridColumn(app, ColOrt));
    EXPECT_EQ(std::count(places.begin(), places.end(), "Xanten"), 1);
}

} // namespace
} // namespace folianto::test
