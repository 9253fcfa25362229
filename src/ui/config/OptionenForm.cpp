#include "ui/config/OptionenForm.h"

#include "config/OptionsDialogModel.h"
#include "core/Codec.h"
#include "core/UserInteraction.h"
#include "core/Trace.h"
#include "ui/help/HelpWindow.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QScreen>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

namespace folianto {

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Hints are written with CR LF; the tool tip breaks at LF.
QString Hint(const char* utf8)
{
    return U(utf8).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

// A caption as screen readers should say it: without the mnemonic marker.
QString Spoken(const QString& caption)
{
    QString text = caption;
    text.remove(QLatin1Char('&'));
    return text.trimmed();
}

template <class Control>
Control* Named(Control* control, const char* name)
{
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

QCheckBox* Check(const char* caption, const char* name, QWidget* parent, const char* hint = nullptr)
{
    auto* box = Named(new QCheckBox(U(caption), parent), name);
    if (hint)
        box->setToolTip(Hint(hint));
    return box;
}

QRadioButton* Radio(const char* caption, const char* name, QWidget* parent)
{
    return Named(new QRadioButton(U(caption), parent), name);
}

// A label whose control is its buddy and carries its text as accessible name.
QLabel* LabelFor(const char* caption, QWidget* control, QWidget* parent)
{
    auto* label = new QLabel(U(caption), parent);
    label->setBuddy(control);
    control->setAccessibleName(Spoken(label->text()));
    // On Linux an editable combo box reports its text as name; its edit
    // field carries the label instead.
    if (auto* combo = qobject_cast<QComboBox*>(control))
        combo->lineEdit()->setAccessibleName(control->accessibleName());
    return label;
}

QComboBox* PresetCombo(const char* name, QWidget* parent)
{
    auto* combo = Named(new QComboBox(parent), name);
    combo->setEditable(true);
    combo->setInsertPolicy(QComboBox::NoInsert);
    combo->lineEdit()->setMaxLength(OptionsDialogModel::PresetLength);
    return combo;
}

QListWidget* CheckList(const char* name, QWidget* parent)
{
    auto* list = Named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    return list;
}

void FillCombo(QComboBox* combo, const std::vector<std::string>& items, const std::string& text)
{
    combo->clear();
    for (const std::string& item : items)
        combo->addItem(FromCp1252(item));
    combo->setCurrentText(FromCp1252(text));
}

std::vector<std::string> ComboItems(const QComboBox* combo)
{
    std::vector<std::string> items;
    for (int i = 0; i < combo->count(); ++i)
        items.push_back(ToCp1252(combo->itemText(i)));
    return items;
}

Qt::CheckState CheckOf(bool on) { return on ? Qt::Checked : Qt::Unchecked; }

} // namespace

TOptionenForm::TOptionenForm(OptionsDialogModel& model, UserInteraction& ui, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), model_(model), ui_(ui)
{
    TraceScope trace("OptionenForm.FormCreate");
    setObjectName(QStringLiteral("OptionenForm"));
    setWindowTitle(FromCp1252(OptionsDialogModel::Caption()));
    setProperty("HelpContext", HelpContext);
    setModal(true);

    Pages = Named(new QTabWidget(this), "PageControl");
    Pages->addTab(BuildGeneralPage(), U("allgemeine Optionen"));
    Pages->addTab(BuildDisplayPage(), U("Anzeige-Optionen"));
    Pages->addTab(BuildColumnsPage(), U("Spalten-Anzeige"));
    Pages->addTab(BuildHeadersPage(), U("Header festlegen"));
    Pages->addTab(BuildPicturesPage(), U("Bilder"));
    Pages->addTab(BuildExportPage(), U("Export-Auswahl"));

    OKButton = Named(new QPushButton(U("&OK"), this), "OKButton");
    OKButton->setToolTip(U("Einstellungen des Optionen-Dialogs übernehmen"));
    OKButton->setDefault(true);
    AbbrechenButton = Named(new QPushButton(U("&Abbrechen"), this), "AbbrechenButton");
    AbbrechenButton->setToolTip(U("Einstellungen des Optionen-Dialogs NICHT übernehmen"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(OKButton);
    buttons->addWidget(AbbrechenButton);
    connect(OKButton, &QPushButton::clicked, this, &TOptionenForm::OkClicked);
    connect(AbbrechenButton, &QPushButton::clicked, this, &TOptionenForm::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(Pages);
    layout->addLayout(buttons);

    // Ctrl+Up / Ctrl+Down move export lines while their page is shown; on the
    // other pages the keys stay with the controls.
    for (const auto& [key, delta] : {std::pair{Qt::Key_Up, -1}, std::pair{Qt::Key_Down, +1}}) {
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | key), this);
        shortcut->setEnabled(false);
        connect(shortcut, &QShortcut::activated, this, [this, delta = delta] { MoveExportLine(delta); });
        connect(Pages, &QTabWidget::currentChanged, shortcut,
                [shortcut](int page) { shortcut->setEnabled(page == OptionsDialogModel::ExportPage); });
    }
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, [this] {
        if (!help_)
            help_ = new HelpWindow(this); // a child window is not blocked by this modal dialog
        help_->ShowContext(HelpContext);
    });

    LoadControls();
    Pages->setCurrentIndex(OptionsDialogModel::StartPage());
    // Wide enough that every page tab shows without scroll buttons.
    const int tabsWidth = Pages->tabBar()->sizeHint().width() + 2 * layout->contentsMargins().left() + 8;
    setFixedSize(sizeHint().expandedTo(QSize(std::max(600, tabsWidth), 500)));
}

QWidget* TOptionenForm::BuildGeneralPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* program = new QGroupBox(U(" Allgemeine Programmoptionen "), page);
    auto* programLayout = new QVBoxLayout(program);
    OpenFileAtStartCheck = Check("Letzte Buch-Datei bei Programmstart öffnen", "OpenFileAtStartCheck", program,
                                 "Markiert=zuletzt geöffnete Buch-Datei bei Programmstart wieder öffnen");
    SaveDirCheck = Check("Letztes Verzeichnis als Arbeitsverzeichnis", "SaveDirCheck", program,
                         "Markiert=das letzte Arbeitsverzeichnis beim Programmneustart wieder wieder verwenden");
    SaveOptionCheck = Check("Optionen in \"Folianto.INI\" sichern", "SaveOptionCheck", program,
                            "Markiert: diese Optionen und die Kategorieliste bei Programmende in der INI-Datei "
                            "speichern");
    for (QCheckBox* box : {OpenFileAtStartCheck, SaveDirCheck, SaveOptionCheck})
        programLayout->addWidget(box);
    layout->addWidget(program);

    auto* presets = new QGroupBox(U(" Bucheditor-Voreinstellungen "), page);
    auto* presetLayout = new QGridLayout(presets);
    TypCombo = PresetCombo("TypCombo", presets);
    SpracheCombo = PresetCombo("SpracheCombo", presets);
    BesitzerCombo = PresetCombo("BesitzerCombo", presets);
    const std::pair<const char*, QComboBox*> rows[] = {
        {"Typ:", TypCombo}, {"Sprache:", SpracheCombo}, {"Eigentümer:", BesitzerCombo}};
    int row = 0;
    for (const auto& [caption, combo] : rows) {
        presetLayout->addWidget(LabelFor(caption, combo, presets), row, 0);
        presetLayout->addWidget(combo, row++, 1);
    }
    presetLayout->setColumnStretch(1, 1);
    layout->addWidget(presets);

    KuerzelZwangCheck = Check("Kürzel erzwingen, Einhaltung auch beim Import überwachen", "KuerzelZwangCheck", page,
                              "ein Kürzel ist für wiss. Literaturrecherchen lebensnotwendig");
    layout->addWidget(KuerzelZwangCheck);
    auto* note = Named(new QLabel(U("ein Kürzel ist für wiss. Literaturrecherchen lebensnotwendig!"), page),
                       "KuerzelNote");
    note->setContentsMargins(20, 0, 0, 0);
    layout->addWidget(note);
    KuerzelZwangCheck->setAccessibleDescription(note->text());

    auto* fill = new QGroupBox(U(" Füllung der Dropdown-Listen im Bucheditor mit ... "), page);
    fill->setToolTip(U("Vorsicht: zu viele Einträge machen das Laden des Bucheditors sehr langsam! "));
    auto* fillLayout = new QVBoxLayout(fill);
    auto* line = new QHBoxLayout;
    HistryLgthPrzSpin = Named(new QSpinBox(fill), "HistryLgthPrzSpin");
    HistryLgthPrzSpin->setRange(0, 100);
    HistryLgthPrzSpin->setToolTip(Hint("Es werden (wenn vorhanden) min. 40 Einträge in einer\r\nDropdown-Liste "
                                       "angezeigt. Gibt es mehr als 40 Einträge,\r\nwerden die gezeigten x% der "
                                       "Einträge, beginnend mit den\r\nletzten Einträgen, aufgeführt"));
    line->addWidget(LabelFor("... den jeweils letzten", HistryLgthPrzSpin, fill));
    line->addWidget(HistryLgthPrzSpin);
    line->addWidget(new QLabel(U("% der Einträge der jeweiligen Liste "), fill));
    line->addStretch();
    fillLayout->addLayout(line);
    InfoLabel = Named(new QLabel(fill), "InfoLabel");
    InfoLabel->setWordWrap(true);
    fillLayout->addWidget(InfoLabel);
    connect(HistryLgthPrzSpin, qOverload<int>(&QSpinBox::valueChanged), this, [this](int percent) {
        model_.HistryLgthPrz = percent;
        InfoLabel->setText(FromCp1252(model_.InfoLine()));
    });
    layout->addWidget(fill);
    layout->addStretch();
    return page;
}

QWidget* TOptionenForm::BuildDisplayPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);

    auto* sort = new QGroupBox(U(" Sortierung nach ... "), page);
    auto* sortLayout = new QVBoxLayout(sort);
    SortRadio0 = Radio("Ä als Ä, ß als ß, also Sortierfolge a ... z, A ... Z, Ä, Ö, ....", "SortRadio0", sort);
    SortRadio1 = Radio("Ä als AE, ß als SS, also Sortierfolge a, ae, ...z, A, AE, ... Z, ...", "SortRadio1", sort);
    sortLayout->addWidget(SortRadio0);
    sortLayout->addWidget(SortRadio1);
    layout->addWidget(sort);

    auto* lengthLine = new QHBoxLayout;
    SortLengthEdit = Named(new QLineEdit(page), "SortLengthEdit");
    SortLengthEdit->setInputMask(QStringLiteral("00; "));
    SortLengthEdit->setAlignment(Qt::AlignRight);
    SortLengthEdit->setFixedWidth(SortLengthEdit->fontMetrics().horizontalAdvance(QStringLiteral("000")) + 16);
    SortLengthEdit->setToolTip(U("Anzahl der Zeichen für die Sortierung der Listen"));
    lengthLine->addWidget(LabelFor("Sortierlänge:", SortLengthEdit, page));
    lengthLine->addWidget(SortLengthEdit);
    lengthLine->addWidget(new QLabel(U("Zeichen "), page));
    lengthLine->addStretch();
    layout->addLayout(lengthLine);

    CaseSensitiveSortCheck =
        Check("Groß-/Kleinschreibung beim Sortieren beachten", "CaseSensitiveSortCheck", page,
              "markiert= Sortierfolge dann NICHT mehr 'a' vor 'A',\r\nz.B.: markiert: 'Langenscheidt' kommt vor "
              "'le Carré',\r\nunmarkiert: 'le Carré' kommt vor 'Langenscheidt'");
    ShowAllMsgCheck = Check("alle Nachrichten anzeigen", "ShowAllMsgCheck", page,
                            "auch die nur rein informativen Meldungen zeigen; \r\nWarn- und Fehlermeldungen werden "
                            "IMMER angezeigt!");
    ShowOnlyFirstLineCheck = Check("nur die ersten Zeilen anzeigen", "ShowOnlyFirstLineCheck", page);
    ShowOnlyFirstLineCheck->setVisible(false); // loaded and stored, but not offered
    for (QCheckBox* box : {CaseSensitiveSortCheck, ShowAllMsgCheck, ShowOnlyFirstLineCheck})
        layout->addWidget(box);

    ListsRadio = Radio("Auswahllisten nutzen", "ListsRadio", page);
    ListsRadio->setToolTip(Hint("kein automatisches Ergänzen von Eingabefeldern,\r\nsondern Zusammensetzen aus den "
                                "Listenfeldern des\r\njeweiligen Eingabefelds"));
    AutoFillRadio = Radio("automatisches Ergänzen", "AutoFillRadio", page);
    AutoFillRadio->setToolTip(Hint("ergänzt eingegebenen Text automatisch mit\r\ndem letzten ähnlichen Text des "
                                   "Eingabefelds;\r\nberücksichtigt nicht die Dropdown-Auswahlen\r\nbeim Ergänzen"));
    auto* fillChoice = new QButtonGroup(page);
    fillChoice->addButton(ListsRadio);
    fillChoice->addButton(AutoFillRadio);
    auto* fillLine = new QHBoxLayout;
    fillLine->addWidget(ListsRadio);
    fillLine->addWidget(AutoFillRadio);
    fillLine->addStretch();
    layout->addLayout(fillLine);

    auto* widths = new QGroupBox(U(" Spaltenbreite "), page);
    auto* widthLayout = new QVBoxLayout(widths);
    auto* limitLine = new QHBoxLayout;
    UseMaxColWidthCheck = Check("Spaltenbreite automatisch begrenzen auf ", "UseMaxColWidthCheck", widths);
    MaxColWidthEdit = Named(new QLineEdit(widths), "MaxColWidthEdit");
    MaxColWidthEdit->setValidator(
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,4}")), MaxColWidthEdit));
    MaxColWidthEdit->setFixedWidth(MaxColWidthEdit->fontMetrics().horizontalAdvance(QStringLiteral("00000")) + 16);
    MaxColWidthEdit->setAccessibleName(Spoken(UseMaxColWidthCheck->text()));
    limitLine->addWidget(UseMaxColWidthCheck);
    limitLine->addWidget(MaxColWidthEdit);
    limitLine->addWidget(new QLabel(U("Bildpunkte"), widths));
    limitLine->addStretch();
    widthLayout->addLayout(limitLine);
    AutoOptColWidthCheck = Check("Spaltenbreite automatisch optimieren auf größten Spalten-Inhalt",
                                 "AutoOptColWidthCheck", widths);
    widthLayout->addWidget(AutoOptColWidthCheck);
    layout->addWidget(widths);
    layout->addStretch();
    return page;
}

QWidget* TOptionenForm::BuildColumnsPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    ColumnList = CheckList("ColumnList", page);
    ColumnList->setAccessibleName(U("Spalten-Anzeige"));
    // The names run down in columns, so that every one shows without scrolling.
    ColumnList->setFlow(QListView::TopToBottom);
    ColumnList->setWrapping(true);
    ColumnList->setResizeMode(QListView::Adjust);
    ColumnList->setSpacing(2);
    layout->addWidget(ColumnList);
    return page;
}

QWidget* TOptionenForm::BuildHeadersPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto* lists = new QHBoxLayout;
    auto listBox = [page, lists](const char* title, const char* name) {
        auto* group = new QGroupBox(U(title), page);
        auto* groupLayout = new QVBoxLayout(group);
        auto* list = CheckList(name, group);
        list->setAccessibleName(Spoken(U(title)));
        groupLayout->addWidget(list);
        lists->addWidget(group);
        return list;
    };
    InfoList = listBox(" Information ", "InfoList");
    HeaderList = listBox(" Header ", "HeaderList");
    layout->addLayout(lists);

    auto* editLine = new QHBoxLayout;
    HeaderEdit = Named(new QLineEdit(page), "HeaderEdit");
    editLine->addWidget(LabelFor("Header = ", HeaderEdit, page));
    editLine->addWidget(HeaderEdit);
    layout->addLayout(editLine);
    AdjustLabelsCheck = Check("nicht nur Sp.-header, sondern auch Bez. im Titeleditor anpassen", "AdjustLabelsCheck",
                              page);
    layout->addWidget(AdjustLabelsCheck);

    // Both lists select and scroll in step.
    for (QListWidget* list : {InfoList, HeaderList})
        connect(list, &QListWidget::currentRowChanged, this, &TOptionenForm::SelectHeaderLine);
    connect(InfoList->verticalScrollBar(), &QScrollBar::valueChanged, HeaderList->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(HeaderList->verticalScrollBar(), &QScrollBar::valueChanged, InfoList->verticalScrollBar(),
            &QScrollBar::setValue);
    connect(HeaderEdit, &QLineEdit::textEdited, this, [this](const QString& text) {
        model_.SetHeaderEditText(ToCp1252(text));
        if (QListWidgetItem* item = HeaderList->item(model_.HeaderIndex))
            item->setText(text);
    });
    return page;
}

QWidget* TOptionenForm::BuildPicturesPage()
{
    auto* page = new QWidget;
    auto* layout = new QVBoxLayout(page);
    auto group = [page, layout](const char* title, QRadioButton* a, QRadioButton* b) {
        auto* box = new QGroupBox(U(title), page);
        auto* boxLayout = new QVBoxLayout(box);
        a->setParent(box);
        b->setParent(box);
        boxLayout->addWidget(a);
        boxLayout->addWidget(b);
        layout->addWidget(box);
    };
    PicThumbnailRadio = Radio("Bild als &Thumbnail anzeigen", "PicThumbnailRadio", page);
    PicNaturalRadio = Radio("Bild in &Bildgröße anzeigen", "PicNaturalRadio", page);
    PicDoubleClickRadio = Radio("Bild nach &Doppelklick in Originalgröße anzeigen", "PicDoubleClickRadio", page);
    PicAutoRadio = Radio("Bild &automatisch in Originalgröße anzeigen", "PicAutoRadio", page);
    group(" Bildanzeigemöglichkeiten 1 ", PicThumbnailRadio, PicNaturalRadio);
    group(" Bildanzeigemöglichkeiten 2 ", PicDoubleClickRadio, PicAutoRadio);
    layout->addStretch();
    return page;
}

QWidget* TOptionenForm::BuildExportPage()
{
    auto* page = new QWidget;
    auto* layout = new QHBoxLayout(page);
    ExportList = CheckList("ExportList", page);
    ExportList->setAccessibleName(U("Export-Auswahl"));
    layout->addWidget(ExportList, 1);

    auto* side = new QVBoxLayout;
    auto arrow = [page](Qt::ArrowType type, const char* hint, const char* name) {
        auto* button = Named(new QToolButton(page), name);
        button->setArrowType(type);
        button->setToolTip(U(hint));
        button->setAccessibleName(U(hint));
        return button;
    };
    UpButton = arrow(Qt::UpArrow, "Zeile aufwärts bewegen (CTRL+Aufwärts)", "UpButton");
    DownButton = arrow(Qt::DownArrow, "Zeile abwärts bewegen (CTRL+Abwärts)", "DownButton");
    connect(UpButton, &QToolButton::clicked, this, [this] { MoveExportLine(-1); });
    connect(DownButton, &QToolButton::clicked, this, [this] { MoveExportLine(+1); });
    auto* arrows = new QHBoxLayout;
    arrows->addWidget(UpButton);
    arrows->addWidget(DownButton);
    arrows->addStretch();
    side->addLayout(arrows);
    // The note is hyphenated for these line ends; joined by blanks the lines
    // give its text.
    const char* noteLines[] = {"Diese Auswahl gilt", "insbesondere für den", "Export in die Zwi-",
                               "schenablage und in", "Textdateien! Der Ex-", "port nach Excel er-",
                               "folgt gemäß der ange-", "zeigten Spalten und", "Zeilen. Bitte, die",
                               "genaue Export-Menü-", "punkte beachten!"};
    QStringList note;
    for (const char* line : noteLines)
        note << U(line);
    auto* noteLabel = Named(new QLabel(note.join(QLatin1Char('\n')), page), "ExportNote");
    noteLabel->setAccessibleName(note.join(QLatin1Char(' ')));
    side->addWidget(noteLabel);
    side->addStretch();
    VorgegExportCheck = Check("vorgeg. Exportauswahl", "VorgegExportCheck", page);
    side->addWidget(VorgegExportCheck);
    auto* typeNote = new QLabel(U("entsprechend des Typs benutzen"), page);
    typeNote->setContentsMargins(20, 0, 0, 0);
    side->addWidget(typeNote);
    VorgegExportCheck->setAccessibleDescription(typeNote->text());
    layout->addLayout(side);

    connect(ExportList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int line = ExportList->row(item);
        if (line >= 0 && line < static_cast<int>(model_.ExportLines.size()))
            model_.ExportLines[static_cast<std::size_t>(line)].Checked = item->checkState() == Qt::Checked;
    });
    return page;
}

void TOptionenForm::LoadControls()
{
    OptionsDialogModel& m = model_;
    OpenFileAtStartCheck->setChecked(m.OpenFileAtStart);
    SaveDirCheck->setChecked(m.SaveDir);
    SaveOptionCheck->setChecked(m.SaveOption);
    KuerzelZwangCheck->setChecked(m.KuerzelZwang);
    FillCombo(TypCombo, m.TypItems, m.DefaultTyp);
    FillCombo(SpracheCombo, m.SpracheItems, m.DefaultLanguage);
    FillCombo(BesitzerCombo, m.BesitzerItems, m.DefaultOwner);
    HistryLgthPrzSpin->setValue(m.HistryLgthPrz);
    InfoLabel->setText(FromCp1252(m.InfoLine()));

    (m.SortItem == 1 ? SortRadio1 : SortRadio0)->setChecked(true);
    SortLengthEdit->setText(FromCp1252(m.SortLengthText));
    CaseSensitiveSortCheck->setChecked(m.CaseSensitiveSort);
    ShowAllMsgCheck->setChecked(m.ShowAllMsg);
    ShowOnlyFirstLineCheck->setChecked(m.ShowOnlyFirstLine);
    (m.EditAutoFill ? AutoFillRadio : ListsRadio)->setChecked(true);
    UseMaxColWidthCheck->setChecked(m.UseMaxColWidth);
    MaxColWidthEdit->setText(FromCp1252(m.MaxColWidthText));
    AutoOptColWidthCheck->setChecked(m.AutoOptColWidth);

    ColumnList->clear();
    for (const auto& item : m.ColumnItems) {
        auto* entry = new QListWidgetItem(FromCp1252(item.Label), ColumnList);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setCheckState(CheckOf(item.Checked));
    }

    InfoList->clear();
    HeaderList->clear();
    for (std::size_t line = 0; line < m.InfoLines.size(); ++line) {
        InfoList->addItem(FromCp1252(m.InfoLines[line]));
        HeaderList->addItem(FromCp1252(m.HeaderLines[line]));
    }
    SelectHeaderLine(0); // the edit always belongs to a line
    AdjustLabelsCheck->setChecked(m.AdjustLabels);

    (m.PicSizeOption == 1 ? PicNaturalRadio : PicThumbnailRadio)->setChecked(true);
    (m.PicAutoShowOption == 1 ? PicAutoRadio : PicDoubleClickRadio)->setChecked(true);

    ShowExportLines();
    VorgegExportCheck->setChecked(m.VorgegExportAuswahl);
}

void TOptionenForm::StoreControls()
{
    OptionsDialogModel& m = model_;
    m.OpenFileAtStart = OpenFileAtStartCheck->isChecked();
    m.SaveDir = SaveDirCheck->isChecked();
    m.SaveOption = SaveOptionCheck->isChecked();
    m.KuerzelZwang = KuerzelZwangCheck->isChecked();
    m.DefaultTyp = ToCp1252(TypCombo->currentText());
    m.DefaultLanguage = ToCp1252(SpracheCombo->currentText());
    m.DefaultOwner = ToCp1252(BesitzerCombo->currentText());
    m.TypItems = ComboItems(TypCombo);
    m.SpracheItems = ComboItems(SpracheCombo);
    m.BesitzerItems = ComboItems(BesitzerCombo);
    m.HistryLgthPrz = HistryLgthPrzSpin->value();

    m.SortItem = SortRadio1->isChecked() ? 1 : 0;
    m.SortLengthText = ToCp1252(SortLengthEdit->text());
    m.CaseSensitiveSort = CaseSensitiveSortCheck->isChecked();
    m.ShowAllMsg = ShowAllMsgCheck->isChecked();
    m.ShowOnlyFirstLine = ShowOnlyFirstLineCheck->isChecked();
    m.EditAutoFill = AutoFillRadio->isChecked();
    m.UseMaxColWidth = UseMaxColWidthCheck->isChecked();
    m.MaxColWidthText = ToCp1252(MaxColWidthEdit->text());
    m.AutoOptColWidth = AutoOptColWidthCheck->isChecked();

    for (int row = 0; row < ColumnList->count(); ++row)
        m.ColumnItems[static_cast<std::size_t>(row)].Checked = ColumnList->item(row)->checkState() == Qt::Checked;
    m.AdjustLabels = AdjustLabelsCheck->isChecked();
    m.PicSizeOption = PicNaturalRadio->isChecked() ? 1 : 0;
    m.PicAutoShowOption = PicAutoRadio->isChecked() ? 1 : 0;
    m.VorgegExportAuswahl = VorgegExportCheck->isChecked();
}

void TOptionenForm::ShowExportLines()
{
    const QSignalBlocker block(ExportList);
    ExportList->clear();
    for (const auto& line : model_.ExportLines) {
        auto* entry = new QListWidgetItem(FromCp1252(line.Label), ExportList);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setCheckState(CheckOf(line.Checked));
    }
    ExportList->setCurrentRow(model_.ExportIndex);
}

void TOptionenForm::MoveExportLine(int delta)
{
    model_.ExportIndex = ExportList->currentRow();
    if (!model_.MoveExportLine(delta))
        return;
    const int scroll = ExportList->verticalScrollBar()->value();
    ShowExportLines();
    ExportList->verticalScrollBar()->setValue(scroll);
    ExportList->scrollToItem(ExportList->currentItem());
}

void TOptionenForm::SelectHeaderLine(int line)
{
    if (syncingHeaders_ || line < 0)
        return;
    syncingHeaders_ = true;
    model_.SelectHeaderLine(line);
    InfoList->setCurrentRow(model_.HeaderIndex);
    HeaderList->setCurrentRow(model_.HeaderIndex);
    HeaderEdit->setText(FromCp1252(model_.HeaderEditText()));
    syncingHeaders_ = false;
}

void TOptionenForm::OkClicked()
{
    StoreControls();
    if (model_.Ok(ui_)) {
        accept();
        return;
    }
    // A header could not be taken: show it for correction.
    Pages->setCurrentIndex(OptionsDialogModel::HeadersPage);
    SelectHeaderLine(model_.HeaderIndex);
    HeaderEdit->setFocus();
    HeaderEdit->selectAll();
}

void TOptionenForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
}

} // namespace folianto
