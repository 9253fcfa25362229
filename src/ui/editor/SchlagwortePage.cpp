#include "ui/editor/SchlagwortePage.h"

#include "core/Codec.h"
#include "ui/editor/EditorControls.h"

#include <QHBoxLayout>
#include <QHelpEvent>
#include <QLabel>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QToolButton>
#include <QToolTip>
#include <QVBoxLayout>

namespace folianto {

namespace {

using C = EditControl;

using V = TitleEditorValues;
const std::initializer_list<EditorControls::TextField> kTexts = {
    {C::MemoSchlagworte, &V::Schlagworte}, {C::MemoInhalt, &V::Inhalt}, {C::MemoBemerkung, &V::Bemerkung}};

constexpr int ListMinHeight = 30;
constexpr int PaneMinHeight = 60;

// One pane per memo: its label above it; the splitter keeps each pane visible.
QVBoxLayout* MemoPane(EditorControls& controls, EditControl c, QWidget* pane)
{
    pane->setMinimumHeight(PaneMinHeight);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(0, 0, 0, 0);
    QPlainTextEdit* memo = controls.Memo(c, pane);
    QLabel* label = controls.BuddyLabel(c, pane);
    label->setBuddy(memo);
    column->addWidget(label);
    column->addWidget(memo, 1);
    return column;
}

} // namespace

SchlagwortePage::SchlagwortePage(EditorControls& controls, const TitleEditorModel& model, QWidget* parent)
    : QWidget(parent), controls_(controls), model_(model)
{
    setObjectName(QStringLiteral("TabSheetSchlagworte"));
    auto* layout = new QVBoxLayout(this);
    auto* splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("SplitterSchlagworte"));
    splitter->setChildrenCollapsible(false);
    splitter->addWidget(BuildKeywordPane(splitter));
    for (EditControl c : {C::MemoInhalt, C::MemoBemerkung}) {
        auto* pane = new QWidget(splitter);
        QVBoxLayout* column = MemoPane(controls_, c, pane);
        splitter->addWidget(pane);
        pane->setLayout(column);
    }
    layout->addWidget(splitter);
}

// The keyword memo shares its pane with the list of all keywords.
QWidget* SchlagwortePage::BuildKeywordPane(QWidget* splitter)
{
    auto* pane = new QWidget(splitter);
    QVBoxLayout* keywordColumn = MemoPane(controls_, C::MemoSchlagworte, pane);
    auto* note = new QLabel(Utf8("Hinweis: die Schlagworte sind durch Semikola zu trennen!"), pane);
    note->setObjectName(QStringLiteral("LabelHinweisSchlagworte"));
    keywordColumn->addWidget(note);
    list_ = new QListWidget(pane);
    list_->setToolTip(Hint(C::ListBoxAlleSchlagworte));
    list_->setAccessibleName(Hint(C::ListBoxAlleSchlagworte));
    list_->setMinimumHeight(ListMinHeight);
    controls_.Register(C::ListBoxAlleSchlagworte, list_);
    list_->viewport()->installEventFilter(this);
    take_ = new QToolButton(pane);
    take_->setText(QStringLiteral("<<"));
    take_->setToolTip(Hint(C::SpeedButtonUebernehmen));
    take_->setAccessibleName(Hint(C::SpeedButtonUebernehmen));
    take_->setFocusPolicy(Qt::StrongFocus);
    controls_.Register(C::SpeedButtonUebernehmen, take_);
    auto* listColumn = new QVBoxLayout;
    auto* takeRow = new QHBoxLayout;
    takeRow->addWidget(take_);
    takeRow->addStretch();
    listColumn->addLayout(takeRow);
    listColumn->addWidget(list_, 1);
    auto* keywordRow = new QHBoxLayout(pane);
    keywordRow->setContentsMargins(0, 0, 0, 0);
    keywordRow->addLayout(keywordColumn, 3);
    keywordRow->addLayout(listColumn, 2);
    return pane;
}

void SchlagwortePage::Load(const TitleEditorValues& v)
{
    controls_.ShowFields(v, kTexts);
    controls_.ShowItems(C::ListBoxAlleSchlagworte, v.AlleSchlagworte);
    ShowKeywordSelection(v.AlleSchlagworteSelected);
}

void SchlagwortePage::Store(TitleEditorValues& v) const
{
    controls_.ReadFields(v, kTexts);
    if (list_->currentItem() && list_->currentItem()->isSelected())
        v.AlleSchlagworteSelected = list_->currentRow();
}

void SchlagwortePage::ShowKeywordSelection(int selected)
{
    const QSignalBlocker block(list_);
    if (selected < 0 || selected >= list_->count()) {
        list_->clearSelection();
        return;
    }
    if (list_->currentRow() != selected || !list_->item(selected)->isSelected())
        list_->setCurrentRow(selected);
    list_->scrollToItem(list_->item(selected), QAbstractItemView::PositionAtTop);
}

bool SchlagwortePage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != list_->viewport() || event->type() != QEvent::ToolTip)
        return QWidget::eventFilter(watched, event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const QModelIndex under = list_->indexAt(help->pos());
    const std::string hint = KeywordListHint(model_.Values.AlleSchlagworte, under.isValid() ? under.row() : -1);
    QToolTip::showText(help->globalPos(), FromCp1252(hint), list_);
    return true;
}

} // namespace folianto
