#include "ui/selection/FilterDialog.h"

#include "core/Codec.h"
#include "core/Trace.h"
#include "application/App.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/help/HelpWindow.h"
#include "ui/selection/CheckListAdapter.h"

#include <QAction>
#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>
#include <QVBoxLayout>

namespace folianto {

namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// A caption without its mnemonic and outer blanks, as a screen reader reads it.
QString Spoken(const QString& caption)
{
    QString s = caption;
    s.remove(QLatin1Char('&'));
    return s.trimmed();
}

constexpr int HelpContextFilter = HelpFilter;

} // namespace

TFiltern_Suchen_Sortieren_Dlg::TFiltern_Suchen_Sortieren_Dlg(App& app, FilterDialogMode mode, QWidget* parent)
    : QDialog(parent), app_(app), model_(app, mode, *this)
{
    setObjectName(QStringLiteral("Filtern_Suchen_Sortieren_Dlg"));
    setWindowTitle(U("Folianto: Filtern, suchen und sortieren von (Buch-)Titeln"));
    setProperty("HelpContext", HelpContextFilter);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize); // fixed dialog border
    Pages = new QTabWidget(this);
    Pages->setObjectName(QStringLiteral("Pages"));
    Pages->setUsesScrollButtons(false); // every page tab in sight
    Pages->addTab(BuildSearchPage(), U("Buchliste &durchsuchen"));
    Pages->addTab(BuildFilterPage(), U("Bücher &filtern"));
    auto* keywordPage = new QWidget(Pages);
    auto* keywordLayout = new QVBoxLayout(keywordPage);
    keywordLayout->addWidget(NewCheckList(ListKeywords, U("Schlagworte"), keywordPage));
    Pages->addTab(keywordPage, U("Schlag&worte"));
    auto* authorPage = new QWidget(Pages);
    auto* authorLayout = new QVBoxLayout(authorPage);
    QListView* authors = NewCheckList(ListAuthors, U("Autoren"), authorPage);
    authors->setToolTip(U("nur gewählte Autoren anzeigen"));
    authors->installEventFilter(this);
    authorLayout->addWidget(authors);
    Pages->addTab(authorPage, U("&Autoren"));
    Pages->addTab(BuildDefaultsPage(), U("&Voreinstellungen"));
    layout->addWidget(Pages);

    auto* buttons = new QHBoxLayout;
    BenutzenButton = new QPushButton(U("&Benutzen"), this);
    BenutzenButton->setObjectName(QStringLiteral("BenutzenButton"));
    BenutzenButton->setDefault(true);
    StandardButton = new QPushButton(U("&Standardeinstellungen"), this);
    StandardButton->setObjectName(QStringLiteral("StandardButton"));
    StandardButton->setAutoDefault(false);
    buttons->addStretch();
    buttons->addWidget(BenutzenButton);
    buttons->addWidget(StandardButton);
    buttons->addStretch();
    layout->addLayout(buttons);

    CheckListPopup = new QMenu(this);
    CheckListPopup->setObjectName(QStringLiteral("CheckListPopup"));
    SelectAllAction = CheckListPopup->addAction(U("&alle Einträge auswählen"));
    SelectNoneAction = CheckListPopup->addAction(U("&keinen Eintrag auswählen"));
    InvertAction = CheckListPopup->addAction(U("Auswahl &umkehren"));
    CheckListPopup->addSeparator();
    SaveSetAction = CheckListPopup->addAction(U("Auswahl &speichern"));
    LoadSetAction = CheckListPopup->addAction(U("Auswahl &laden und markieren"));
    FilterPopup = new QMenu(this);
    FilterPopup->setObjectName(QStringLiteral("FilterPopup"));
    RefillKeywordsAction = FilterPopup->addAction(U("&Schlagwort-Liste neu füllen"));
    RefillFiltersAction = FilterPopup->addAction(U("&Filtern-Listen neu füllen"));
    connect(RefillKeywordsAction, &QAction::triggered, this, [this] {
        model_.RefillKeywordList();
        adapters_[ListKeywords]->Refresh();
    });
    connect(RefillFiltersAction, &QAction::triggered, this, [this] {
        model_.RefillFilterLists();
        RefreshCheckLists();
    });
    FilterGroup->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(FilterGroup, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { FilterPopup->popup(FilterGroup->mapToGlobal(pos)); });
    // From the keyboard: Shift+F10 on the sub-page tabs (the menu key reaches the group by itself).
    QTabBar* subTabs = FilterPages->tabBar();
    auto* filterPopupKey =
        new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), subTabs, nullptr, nullptr, Qt::WidgetShortcut);
    connect(filterPopupKey, &QShortcut::activated, this, [this, subTabs] {
        FilterPopup->popup(subTabs->mapToGlobal(subTabs->tabRect(subTabs->currentIndex()).center()));
    });

    connect(BenutzenButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(StandardButton, &QPushButton::clicked, this, [this] {
        model_.Defaults();
        LoadFromModel();
    });
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(helpKey, &QShortcut::activated, this, &TFiltern_Suchen_Sortieren_Dlg::ShowHelp);

    ApplyMode();
    connect(Pages, &QTabWidget::currentChanged, this, &TFiltern_Suchen_Sortieren_Dlg::PageChanged);
    connect(FilterPages, &QTabWidget::currentChanged, this, [this] { FocusPageControl(); });
}

TFiltern_Suchen_Sortieren_Dlg::~TFiltern_Suchen_Sortieren_Dlg() = default;

QWidget* TFiltern_Suchen_Sortieren_Dlg::BuildSearchPage()
{
    auto* page = new QWidget(this);
    auto* pageLayout = new QVBoxLayout(page);
    auto* group = new QGroupBox(U(" Suchen "), page);
    auto* grid = new QGridLayout(group);

    auto* searchLabel = new QLabel(U("Suchen &nach "), group);
    SearchEdit = new QLineEdit(group);
    SearchEdit->setObjectName(QStringLiteral("SearchEdit"));
    SearchEdit->setMaxLength(1 << 30); // no silent cut of long search texts
    searchLabel->setBuddy(SearchEdit);
    SearchEdit->setAccessibleName(Spoken(searchLabel->text()));
    grid->addWidget(searchLabel, 0, 0);
    grid->addWidget(SearchEdit, 0, 1, 1, 2);
    NoteLabel = new QLabel(U("Hinweis: es wird z.Zt. nur nach genau dem/n eingegeb. Wort/en gesucht!"), group);
    NoteLabel->setObjectName(QStringLiteral("NoteLabel"));
    QPalette grey = NoteLabel->palette();
    grey.setColor(QPalette::WindowText, Qt::gray);
    NoteLabel->setPalette(grey);
    grid->addWidget(NoteLabel, 1, 0, 1, 3);

    ReplaceLabel = new QLabel(U("Ersetzen &durch"), group);
    ReplaceLabel->setObjectName(QStringLiteral("ReplaceLabel"));
    ReplaceEdit = new QLineEdit(group);
    ReplaceEdit->setObjectName(QStringLiteral("ReplaceEdit"));
    ReplaceEdit->setMaxLength(1 << 30);
    ReplaceLabel->setBuddy(ReplaceEdit);
    ReplaceEdit->setAccessibleName(Spoken(ReplaceLabel->text()));
    CaseBox = new QCheckBox(U("Gross-/Kleinschreibung beachten"), group);
    CaseBox->setObjectName(QStringLiteral("CaseBox"));
    grid->addWidget(ReplaceLabel, 2, 0);
    grid->addWidget(ReplaceEdit, 2, 1, 1, 2);
    grid->addWidget(CaseBox, 3, 1, 1, 2);

    // The internal lists and the entries of the chosen one.
    auto* lists = new QHBoxLayout;
    ListNames = new QListWidget(group);
    ListNames->setObjectName(QStringLiteral("ListNames"));
    ListNames->setAccessibleName(U("interne Listen"));
    for (const char* name : PickListNames)
        ListNames->addItem(U(name));
    ListNames->setFixedWidth(130);
    pickAdapter_ = new PickListAdapter(model_, this);
    ListEntries = new QListView(group);
    ListEntries->setObjectName(QStringLiteral("ListEntries"));
    ListEntries->setAccessibleName(U("Einträge der Liste"));
    ListEntries->setUniformItemSizes(true);
    ListEntries->setModel(pickAdapter_);
    ListEntries->setMinimumWidth(260);
    TakeOverButton = new QToolButton(group);
    TakeOverButton->setObjectName(QStringLiteral("TakeOverButton"));
    TakeOverButton->setArrowType(Qt::UpArrow);
    TakeOverButton->setToolTip(U("in den Such-Begriff übernehmen"));
    TakeOverButton->setAccessibleName(TakeOverButton->toolTip());
    lists->addWidget(ListNames);
    lists->addWidget(ListEntries, 1);
    lists->addWidget(TakeOverButton, 0, Qt::AlignTop);
    grid->addLayout(lists, 4, 0, 1, 3);
    connect(ListNames, &QListWidget::currentRowChanged, this, [this](int row) {
        if (loading_ || row < 0)
            return;
        model_.ChoosePickList(row);
        pickAdapter_->Reload();
    });
    auto takeOver = [this] {
        model_.TakeOver(ListEntries->currentIndex().isValid() ? ListEntries->currentIndex().row() : -1);
        SearchEdit->setText(FromCp1252(model_.SearchText()));
    };
    connect(TakeOverButton, &QToolButton::clicked, this, takeOver);
    connect(ListEntries, &QListView::doubleClicked, this, takeOver);

    auto* boxes = new QGridLayout;
    for (std::size_t i = 0; i < folianto::SearchBoxes.size(); ++i) {
        auto* box = new QCheckBox(U(folianto::SearchBoxes[i].caption), group);
        box->setObjectName(QStringLiteral("SearchBox%1").arg(folianto::SearchBoxes[i].k));
        const int k = folianto::SearchBoxes[i].k;
        connect(box, &QCheckBox::toggled, this, [this, k](bool on) {
            if (!loading_)
                model_.SetBox(k, on);
        });
        boxes->addWidget(box, static_cast<int>(i % 5), static_cast<int>(i / 5));
        SearchBoxes[i] = box;
    }
    grid->addLayout(boxes, 5, 0, 1, 3);
    grid->setColumnStretch(1, 1); // the edits take the width, the labels keep theirs
    pageLayout->addWidget(group);

    connect(SearchEdit, &QLineEdit::textChanged, this, [this](const QString& text) {
        if (!loading_)
            model_.SetSearchText(ToCp1252(text));
    });
    connect(ReplaceEdit, &QLineEdit::textChanged, this,
            [this](const QString& text) { model_.SetReplaceText(ToCp1252(text)); });
    connect(CaseBox, &QCheckBox::toggled, this, [this](bool on) { model_.SetCaseSensitive(on); });
    return page;
}

QListView* TFiltern_Suchen_Sortieren_Dlg::NewCheckList(int list, const QString& name, QWidget* parent)
{
    auto* view = new QListView(parent);
    view->setObjectName(QStringLiteral("CheckList%1").arg(list));
    view->setAccessibleName(name);
    view->setUniformItemSizes(true);
    view->setMinimumSize(460, 280);
    adapters_[static_cast<std::size_t>(list)] = new CheckListAdapter(model_, list, this);
    view->setModel(adapters_[static_cast<std::size_t>(list)]);
    view->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(view, &QWidget::customContextMenuRequested, this, [this, view, list](const QPoint& pos) {
        ShowCheckListPopup(list, view->viewport()->mapToGlobal(pos));
    });
    // The menu key opens the popup by itself; Shift+F10 is the other usual key for it.
    auto* popupKey = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), view, nullptr, nullptr, Qt::WidgetShortcut);
    connect(popupKey, &QShortcut::activated, this, [this, view, list] {
        const QRect item = view->visualRect(view->currentIndex());
        const QPoint at = item.isValid() ? item.center() : QPoint(view->viewport()->width() / 2, 0);
        ShowCheckListPopup(list, view->viewport()->mapToGlobal(at));
    });
    CheckLists[static_cast<std::size_t>(list)] = view;
    return view;
}

QWidget* TFiltern_Suchen_Sortieren_Dlg::BuildFilterPage()
{
    auto* page = new QWidget(this);
    auto* pageLayout = new QVBoxLayout(page);
    FilterGroup = new QGroupBox(U(" Filtern "), page);
    FilterGroup->setObjectName(QStringLiteral("FilterGroup"));
    auto* groupLayout = new QVBoxLayout(FilterGroup);
    FilterPages = new QTabWidget(FilterGroup);
    FilterPages->setObjectName(QStringLiteral("FilterPages"));
    FilterPages->setUsesScrollButtons(false);
    for (int list = 0; list < ListKeywords; ++list) {
        auto* sub = new QWidget(FilterPages);
        auto* subLayout = new QVBoxLayout(sub);
        const QString caption = U(FilterSubPageCaptions[static_cast<std::size_t>(list)]);
        subLayout->addWidget(NewCheckList(list, caption, sub));
        FilterPages->addTab(sub, caption);
    }
    groupLayout->addWidget(FilterPages);
    pageLayout->addWidget(FilterGroup);
    return page;
}

QWidget* TFiltern_Suchen_Sortieren_Dlg::BuildDefaultsPage()
{
    auto* page = new QWidget(this);
    auto* pageLayout = new QHBoxLayout(page);
    OpenDefGroup = new QGroupBox(U(" Anzeigen beim Öffnen "), page);
    OpenDefGroup->setObjectName(QStringLiteral("OpenDefGroup"));
    auto* radios = new QVBoxLayout(OpenDefGroup);
    openDefButtons_ = new QButtonGroup(this);
    const char* captions[] = {"Buchlisten &durchsuchen", "Bücher &filtern", "&Schlagworte", "&Autoren"};
    for (int i = 0; i < 4; ++i) {
        auto* radio = new QRadioButton(U(captions[i]), OpenDefGroup);
        radio->setObjectName(QStringLiteral("OpenDef%1").arg(i));
        openDefButtons_->addButton(radio, i);
        radios->addWidget(radio);
    }
    radios->addStretch();
    connect(openDefButtons_, &QButtonGroup::idClicked, this, [this](int id) { model_.SetOpenDefault(id); });

    auto* searchGroup = new QGroupBox(U(" Buchliste durchsuchen: suchen in "), page);
    auto* searchLayout = new QVBoxLayout(searchGroup);
    DefaultsList = new QListWidget(searchGroup);
    DefaultsList->setObjectName(QStringLiteral("DefaultsList"));
    DefaultsList->setAccessibleName(Spoken(searchGroup->title()));
    for (const DefaultSearchItem& item : DefaultSearchItems) {
        auto* entry = new QListWidgetItem(U(item.caption), DefaultsList);
        entry->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        entry->setCheckState(Qt::Unchecked);
    }
    searchLayout->addWidget(DefaultsList);
    connect(DefaultsList, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        if (!loading_)
            model_.SetDefaultItem(DefaultsList->row(item), item->checkState() == Qt::Checked);
    });
    pageLayout->addWidget(OpenDefGroup);
    pageLayout->addWidget(searchGroup, 1);
    return page;
}

void TFiltern_Suchen_Sortieren_Dlg::ApplyMode()
{
    const bool replace = model_.Mode() == FilterDialogMode::Replace;
    ReplaceLabel->setVisible(replace);
    ReplaceEdit->setVisible(replace);
    CaseBox->setVisible(replace);
    ReplaceLabel->setEnabled(replace);
    ReplaceEdit->setEnabled(replace);
    CaseBox->setEnabled(replace);
    // A page that is not shown yet keeps the size it had with the replace
    // controls; without them it is smaller whichever page opens first.
    for (QWidget* w = ReplaceLabel->parentWidget(); w && w != Pages; w = w->parentWidget()) {
        if (w->layout())
            w->layout()->invalidate();
        w->updateGeometry();
    }
    BenutzenButton->setText(replace ? U("&Ersetzen") : U("&Benutzen"));
    for (int page = 0; page < FilterDialogPageCount; ++page)
        Pages->setTabVisible(page, model_.PageReachable(page));
    Pages->setCurrentIndex(model_.Page());
}

void TFiltern_Suchen_Sortieren_Dlg::LoadFromModel()
{
    loading_ = true;
    for (std::size_t i = 0; i < SearchBoxes.size(); ++i)
        SearchBoxes[i]->setChecked(model_.Box(folianto::SearchBoxes[i].k));
    SearchEdit->setText(FromCp1252(model_.SearchText()));
    ListNames->setCurrentRow(model_.PickList());
    pickAdapter_->Reload();
    RefreshCheckLists();
    if (QAbstractButton* radio = openDefButtons_->button(app_.settings.FSDialogOpenDef))
        radio->setChecked(true);
    for (int i = 0; i < DefaultsList->count(); ++i)
        DefaultsList->item(i)->setCheckState(model_.DefaultItemChecked(i) ? Qt::Checked : Qt::Unchecked);
    loading_ = false;
}

void TFiltern_Suchen_Sortieren_Dlg::RefreshCheckLists()
{
    for (CheckListAdapter* adapter : adapters_)
        adapter->Refresh();
}

void TFiltern_Suchen_Sortieren_Dlg::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (activated_)
        return;
    // The activation step runs once: a later return from a message box must
    // not undo ticks or narrowing locks.
    activated_ = true;
    model_.Activate();
    LoadFromModel();
    if (const QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FocusPageControl();
    if (model_.Page() == PageKeywords)
        QTimer::singleShot(0, this, [this] { PageChanged(PageKeywords); });
}

void TFiltern_Suchen_Sortieren_Dlg::PageChanged(int page)
{
    FocusPageControl();
    if (model_.ChangePage(page)) {
        adapters_[ListKeywords]->Refresh();
        // The narrowing question may have taken the focus away.
        activateWindow();
        FocusPageControl();
    }
}

void TFiltern_Suchen_Sortieren_Dlg::FocusPageControl()
{
    switch (Pages->currentIndex()) {
    case PageSearch: SearchEdit->setFocus(); break;
    case PageFilter: CheckLists[static_cast<std::size_t>(FilterPages->currentIndex())]->setFocus(); break;
    case PageKeywords: CheckLists[ListKeywords]->setFocus(); break;
    case PageAuthors: CheckLists[ListAuthors]->setFocus(); break;
    default: DefaultsList->setFocus(); break;
    }
}

void TFiltern_Suchen_Sortieren_Dlg::ShowCheckListPopup(int list, const QPoint& globalPos)
{
    SaveSetAction->setEnabled(list == ListKeywords);
    LoadSetAction->setEnabled(list == ListKeywords);
    if (QAction* chosen = CheckListPopup->exec(globalPos))
        RunPopupCommand(chosen, list);
}

int TFiltern_Suchen_Sortieren_Dlg::VisibleCheckList() const
{
    switch (Pages->currentIndex()) {
    case PageFilter: return FilterPages->currentIndex();
    case PageKeywords: return ListKeywords;
    case PageAuthors: return ListAuthors;
    default: return -1;
    }
}

void TFiltern_Suchen_Sortieren_Dlg::RunPopupCommand(QAction* action, int list)
{
    if (list < 0 || list >= CheckListCount)
        return;
    if (action == SelectAllAction)
        model_.SelectAll(list);
    else if (action == SelectNoneAction)
        model_.SelectNone(list);
    else if (action == InvertAction)
        model_.InvertSelection(list);
    else if (action == SaveSetAction && list == ListKeywords)
        model_.SaveKeywordSelection();
    else if (action == LoadSetAction && list == ListKeywords)
        model_.LoadKeywordSelection();
    adapters_[static_cast<std::size_t>(list)]->Refresh();
}

bool TFiltern_Suchen_Sortieren_Dlg::eventFilter(QObject* watched, QEvent* event)
{
    // Authors page: a typed letter jumps to the first author starting with it.
    if (watched == CheckLists[ListAuthors] && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        const QString text = key->text();
        if (text.size() == 1 && text[0].isPrint() && text[0] != QLatin1Char(' ') &&
            !(key->modifiers() & (Qt::ControlModifier | Qt::AltModifier))) {
            const std::string byte = ToCp1252(text);
            const int row = model_.FirstAuthorWithLetter(byte[0]);
            if (row >= 0) {
                const QModelIndex index = adapters_[ListAuthors]->index(row);
                CheckLists[ListAuthors]->setCurrentIndex(index);
                CheckLists[ListAuthors]->scrollTo(index);
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void TFiltern_Suchen_Sortieren_Dlg::done(int result)
{
    model_.Close(result == QDialog::Accepted);
    if (help_)
        help_->close();
    QDialog::done(result);
}

void TFiltern_Suchen_Sortieren_Dlg::ShowHelp()
{
    // A child of the modal dialog, so that it can be used while the dialog is open.
    if (!help_)
        help_ = new HelpWindow(this);
    help_->ShowContext(HelpContextFilter);
}

std::optional<int> TFiltern_Suchen_Sortieren_Dlg::RadioChoice(const std::vector<std::string>& choices, int preselected)
{
    TForm_RadioSelect dialog(this);
    QStringList texts;
    for (const std::string& c : choices)
        texts << FromCp1252(c);
    dialog.SetChoices(texts, preselected);
    if (dialog.exec() != QDialog::Accepted || dialog.ChosenIndex() < 0)
        return std::nullopt;
    return dialog.ChosenIndex();
}

std::optional<std::string> TFiltern_Suchen_Sortieren_Dlg::InputText(const std::string& label)
{
    TEditorForm dialog(this);
    dialog.SetLabel(FromCp1252(label));
    dialog.UseNumberField(false);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return ToCp1252(dialog.Value());
}

std::optional<std::string> TFiltern_Suchen_Sortieren_Dlg::PickOne(const std::string& caption, const std::string& noun,
                                                                   const std::vector<std::string>& entries)
{
    TForm_Select_From_List dialog(app_.ui, this);
    dialog.setWindowTitle(FromCp1252(caption));
    QStringList texts;
    for (const std::string& e : entries)
        texts << FromCp1252(e);
    dialog.SetEntries(texts);
    dialog.SetSingleChoice(true);
    dialog.SetNoun(FromCp1252(noun));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const std::vector<int> checked = dialog.CheckedIndices();
    if (checked.empty())
        return std::nullopt;
    return entries[static_cast<std::size_t>(checked.front())];
}

} // namespace folianto
