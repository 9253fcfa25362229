#include "ui/editor/SelectComboBox.h"

#include "core/Codec.h"
#include "editor/TitleEditorModel.h"

#include <QAbstractItemView>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QVBoxLayout>

#include <algorithm>

namespace folianto {

namespace {

constexpr int DropDownLines = 8;
const QColor PopupBackground(0x00, 0xFF, 0xFF); // aqua

Qt::CheckState CheckState(bool ticked) { return ticked ? Qt::Checked : Qt::Unchecked; }

} // namespace

SelectPopup::SelectPopup(TSelectComboBox& box) : QFrame(&box, Qt::Popup), box_(box)
{
    setObjectName(box.objectName() + QStringLiteral("Popup"));
    setFrameShape(QFrame::Box);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(1, 1, 1, 1);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("SelectList"));
    list_->setAccessibleName(box.accessibleName());
    list_->setFrameShape(QFrame::NoFrame);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    QPalette palette = list_->palette();
    palette.setColor(QPalette::Base, PopupBackground);
    palette.setColor(QPalette::Highlight, Qt::white);
    palette.setColor(QPalette::HighlightedText, Qt::black);
    list_->setPalette(palette);
    layout->addWidget(list_);

    list_->installEventFilter(this);
    list_->viewport()->installEventFilter(this);
    list_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(list_, &QListWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        QMenu menu(this);
        menu.addAction(QStringLiteral("&Select All"), this, [this] { box_.SetAllTicked(true); });
        menu.addAction(QStringLiteral("&DeSelect All"), this, [this] { box_.SetAllTicked(false); });
        menu.exec(list_->viewport()->mapToGlobal(pos));
    });
    connect(list_, &QListWidget::itemChanged, this, [this](QListWidgetItem* item) {
        const int row = list_->row(item);
        if (row < 0 || row >= static_cast<int>(box_.ticked_.size()))
            return;
        const bool ticked = item->checkState() == Qt::Checked;
        if (box_.ticked_[static_cast<std::size_t>(row)] != ticked) {
            box_.ticked_[static_cast<std::size_t>(row)] = ticked;
            box_.toggledWhileOpen_ = true;
        }
    });
}

bool SelectPopup::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == list_->viewport()) {
        // A click anywhere on an entry toggles it (not only on its tick box).
        const auto* mouse = static_cast<QMouseEvent*>(event);
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonDblClick:
            if (mouse->button() == Qt::LeftButton) {
                if (QListWidgetItem* item = list_->itemAt(mouse->position().toPoint()))
                    list_->setCurrentItem(item);
                return true;
            }
            break;
        case QEvent::MouseButtonRelease:
            if (mouse->button() == Qt::LeftButton) {
                if (QListWidgetItem* item = list_->itemAt(mouse->position().toPoint()))
                    box_.Toggle(list_->row(item));
                return true;
            }
            break;
        default:
            break;
        }
        return false;
    }
    if (watched == list_ && event->type() == QEvent::KeyPress) {
        auto* key = static_cast<QKeyEvent*>(event);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            prefix_.clear();
            return true;
        case Qt::Key_Escape:
            prefix_.clear();
            hide();
            return true;
        case Qt::Key_Space:
            if (prefix_.empty()) {
                box_.Toggle(list_->currentRow());
                return true;
            }
            break;
        case Qt::Key_F4:
            hide();
            return true;
        case Qt::Key_Up:
        case Qt::Key_Down:
            if (key->modifiers() & Qt::AltModifier) {
                hide();
                return true;
            }
            return false;
        default:
            break;
        }
        const QString text = key->text();
        if (text.isEmpty() || !text.at(0).isPrint() || (key->modifiers() & (Qt::ControlModifier | Qt::AltModifier)))
            return false;
        prefix_ += ToCp1252(text);
        const int found = FindPrefix(box_.Entries(), prefix_);
        if (found >= 0)
            list_->setCurrentRow(found);
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

void SelectPopup::hideEvent(QHideEvent* event)
{
    QFrame::hideEvent(event);
    prefix_.clear();
    box_.PopupClosed();
}

TSelectComboBox::TSelectComboBox(QWidget* parent) : QComboBox(parent)
{
    setEditable(true);
    setInsertPolicy(QComboBox::NoInsert);
    setCompleter(nullptr);
    setMaxVisibleItems(DropDownLines);
    popup_ = new SelectPopup(*this);
}

void TSelectComboBox::SetEntries(const std::vector<std::string>& entries, const std::vector<bool>& ticked)
{
    entries_ = entries;
    ticked_ = ticked;
    ticked_.resize(entries_.size(), false);
    QListWidget* list = popup_->List();
    const QSignalBlocker block(list);
    list->clear();
    for (std::size_t i = 0; i < entries_.size(); ++i) {
        auto* item = new QListWidgetItem(FromCp1252(entries_[i]), list);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(CheckState(ticked_[i]));
    }
}

void TSelectComboBox::TickFromText(const std::string& text)
{
    MultiSelectBox box{text, entries_, {}};
    folianto::TickFromText(box, text);
    for (std::size_t i = 0; i < entries_.size(); ++i)
        if (ticked_[i] != box.Ticked[i]) {
            ticked_[i] = box.Ticked[i];
            RefreshItem(static_cast<int>(i));
        }
}

void TSelectComboBox::RefreshItem(int index)
{
    QListWidget* list = popup_->List();
    if (QListWidgetItem* item = list->item(index)) {
        const QSignalBlocker block(list);
        item->setCheckState(CheckState(ticked_[static_cast<std::size_t>(index)]));
    }
}

void TSelectComboBox::SetTicks(const std::vector<bool>& ticked)
{
    for (std::size_t i = 0; i < ticked_.size(); ++i) {
        const bool tick = i < ticked.size() && ticked[i];
        if (ticked_[i] != tick) {
            ticked_[i] = tick;
            RefreshItem(static_cast<int>(i));
        }
    }
}

void TSelectComboBox::SetTicked(int index, bool ticked)
{
    if (index < 0 || index >= static_cast<int>(entries_.size()))
        return;
    // Through the item, so that the change is noted like a click.
    popup_->List()->item(index)->setCheckState(CheckState(ticked));
}

void TSelectComboBox::Toggle(int index)
{
    if (index >= 0 && index < static_cast<int>(ticked_.size()))
        SetTicked(index, !ticked_[static_cast<std::size_t>(index)]);
}

void TSelectComboBox::SetAllTicked(bool ticked)
{
    for (int i = 0; i < static_cast<int>(entries_.size()); ++i)
        SetTicked(i, ticked);
}

void TSelectComboBox::showPopup()
{
    if (entries_.empty() || popup_->isVisible())
        return;
    // The ticks follow what was typed since.
    TickFromText(ToCp1252(currentText()));
    toggledWhileOpen_ = false;
    QListWidget* list = popup_->List();
    const int rowHeight = std::max(list->sizeHintForRow(0), fontMetrics().height());
    const int lines = std::min(static_cast<int>(entries_.size()), maxVisibleItems());
    const QSize size(width(), rowHeight * lines + 5);
    QPoint pos = mapToGlobal(QPoint(0, height()));
    if (const QScreen* screen = this->screen()) {
        const QRect area = screen->availableGeometry();
        if (pos.y() + size.height() > area.bottom())
            pos.setY(mapToGlobal(QPoint(0, 0)).y() - size.height());
    }
    popup_->setGeometry(QRect(pos, size));
    int current = 0;
    for (std::size_t i = 0; i < ticked_.size(); ++i)
        if (ticked_[i]) {
            current = static_cast<int>(i);
            break;
        }
    list->setCurrentRow(current);
    popup_->show();
    list->setFocus(Qt::PopupFocusReason);
}

void TSelectComboBox::hidePopup()
{
    popup_->hide();
    QComboBox::hidePopup();
}

bool TSelectComboBox::PopupVisible() const
{
    return popup_->isVisible();
}

void TSelectComboBox::PopupClosed()
{
    if (!toggledWhileOpen_)
        return; // only looked: what was typed stays
    toggledWhileOpen_ = false;
    MultiSelectBox box{{}, entries_, ticked_};
    lineEdit()->setText(FromCp1252(JoinTicked(box)));
    lineEdit()->setModified(true);
    Q_EMIT TicksApplied();
}

} // namespace folianto
