#include "ui/shell/TitleGrid.h"

#include "core/Codec.h"
#include "application/App.h"
#include "selection/Selection.h"
#include "shell/GridRules.h"

#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>
#include <QWheelEvent>

namespace folianto {

namespace {

constexpr int DefaultRowHeight = 19;

QString HeaderText(std::string_view header)
{
    QString s = FromCp1252(header);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

} // namespace

// --- model adapter -----------------------------------------------------------

GridTableModel::GridTableModel(App& app, QObject* parent) : QAbstractTableModel(parent), app_(app) {}

int GridTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : app_.grid.RowCount() - 1;
}

int GridTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : app_.grid.ColCount();
}

QVariant GridTableModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid())
        return {};
    if (role == Qt::DisplayRole)
        return FromCp1252(app_.grid.Cell(index.column(), index.row() + 1));
    return {};
}

QVariant GridTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal)
        return {};
    if (role == Qt::DisplayRole)
        return HeaderText(app_.grid.Cell(section, 0));
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::Alignment(Qt::AlignHCenter | Qt::AlignTop));
    return {};
}

Qt::ItemFlags GridTableModel::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.column() == 0)
        return Qt::ItemIsEnabled;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridTableModel::Reload()
{
    // Same shape: a repaint is enough and keeps the view's scroll position.
    if (rows_ == rowCount() && cols_ == columnCount()) {
        CellsChanged();
        return;
    }
    beginResetModel();
    rows_ = rowCount();
    cols_ = columnCount();
    endResetModel();
}

void GridTableModel::CellsChanged()
{
    if (rowCount() > 0 && columnCount() > 0)
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
    Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
}

// --- drawing -----------------------------------------------------------------

TitleGridDelegate::TitleGridDelegate(App& app, QObject* parent) : QStyledItemDelegate(parent), app_(app) {}

void TitleGridDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const
{
    const int col = index.column();
    const int row = index.row() + 1;
    const QPalette& pal = option.palette;
    QColor background = Qt::white;
    QColor textColour = Qt::black;
    QFont font = option.font;
    font.setBold(false);
    font.setItalic(false);
    if (col == 0) {
        background = pal.color(QPalette::Button);
    } else if (row == app_.grid.Row) {
        background = pal.color(QPalette::ToolTipBase);
        textColour = col == app_.grid.Col ? Qt::red : Qt::blue;
    }
    QString text = index.data(Qt::DisplayRole).toString();
    if (col == PicsColumn) {
        switch (PictureCountStyle(TitleInRow(app_, row))) {
        case PicCountStyle::NoText:
            text.clear();
            textColour = pal.color(QPalette::Disabled, QPalette::WindowText);
            break;
        case PicCountStyle::Grey:
            textColour = pal.color(QPalette::Disabled, QPalette::WindowText);
            break;
        case PicCountStyle::RedBoldItalic:
            textColour = Qt::red;
            font.setBold(true);
            font.setItalic(true);
            break;
        case PicCountStyle::Red:
            textColour = Qt::red;
            break;
        }
    }
    QRect rect = option.rect;
    if (col == 0)
        rect.adjust(0, 0, -1, -1);
    painter->save();
    painter->fillRect(rect, background);
    painter->setFont(font);
    painter->setPen(textColour);
    const QRect textRect = option.rect.adjusted(2, 3, -1, 0);
    painter->setClipRect(option.rect);
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, text);
    painter->restore();
}

// --- the view ----------------------------------------------------------------

TitleGrid::TitleGrid(App& app, QWidget* parent)
    : QTableView(parent), app_(app), model_(new GridTableModel(app, this)), delegate_(new TitleGridDelegate(app, this))
{
    setObjectName(QStringLiteral("BuchStringGrid"));
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setTabKeyNavigation(false);
    setMouseTracking(true);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setToolTip(QStringLiteral("Buchliste; Doppelklick auf Eintrag aktiviert Bucheditor"));
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(DefaultRowHeight);
    verticalHeader()->setMinimumSectionSize(DefaultRowHeight);
    QHeaderView* header = horizontalHeader();
    header->setSectionsMovable(true);
    header->setSectionsClickable(false);
    header->setHighlightSections(false);
    header->setDefaultSectionSize(240);
    header->setMinimumSectionSize(5);
    header->setDefaultAlignment(Qt::AlignHCenter | Qt::AlignTop);
    header->setStretchLastSection(false);
    header->viewport()->installEventFilter(this);
    connect(header, &QHeaderView::sectionMoved, this, &TitleGrid::ColumnDragged);
    connect(header, &QHeaderView::sectionResized, this, &TitleGrid::ColumnResized);
    hintTimer_.setSingleShot(true);
    connect(&hintTimer_, &QTimer::timeout, this, &TitleGrid::ShowPendingHint);
}

void TitleGrid::SyncFromModel()
{
    syncing_ = true;
    model_->Reload();
    delegate_->PicsColumn = GridColumnOf(app_.columns, app_.grid, ColAnzahlBilder);
    ApplyWidths();
    syncing_ = false;
    SetCurrentCell(app_.grid.Col, app_.grid.Row);
}

void TitleGrid::ApplyWidths()
{
    const bool was = syncing_;
    syncing_ = true;
    const auto& widths = app_.grid.ColWidths;
    for (int c = 0; c < model_->columnCount() && c < static_cast<int>(widths.size()); ++c)
        if (horizontalHeader()->sectionSize(c) != widths[static_cast<std::size_t>(c)])
            horizontalHeader()->resizeSection(c, widths[static_cast<std::size_t>(c)]);
    syncing_ = was;
}

void TitleGrid::SetCurrentCell(int col, int row)
{
    const int rows = model_->rowCount();
    if (rows < 1 || model_->columnCount() < 1)
        return;
    row = std::clamp(row, 1, rows);
    col = std::clamp(col, std::min(1, model_->columnCount() - 1), model_->columnCount() - 1);
    const QModelIndex target = model_->index(row - 1, col);
    if (currentIndex() != target) {
        syncing_ = true;
        setCurrentIndex(target);
        syncing_ = false;
    }
    app_.grid.SelectCell(col, row);
    GetCurrentBuch(app_); // the highlighted title is the current one
    // Bring the row into view without scrolling sideways.
    scrollTo(model_->index(row - 1, std::max(columnAt(0), 0)));
    viewport()->update();
}

int TitleGrid::TopRow() const
{
    const int r = rowAt(0);
    return r < 0 ? 1 : r + 1;
}

void TitleGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    if (syncing_ || !current.isValid())
        return;
    app_.grid.SelectCell(std::max(current.column(), 1), current.row() + 1);
    // Another cell: the next document start need not ask again.
    app_.DocStarted = false;
    viewport()->update();
    Q_EMIT CellClicked();
}

QModelIndex TitleGrid::moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers)
{
    QModelIndex next = QTableView::moveCursor(action, modifiers);
    if (next.isValid() && next.column() == 0)
        next = model_->index(next.row(), std::max(1, currentIndex().column()));
    return next;
}

void TitleGrid::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton && event->button() != Qt::RightButton) {
        QTableView::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    const QPoint pos = event->position().toPoint();
    int row = rowAt(pos.y()) + 1;
    int col = columnAt(pos.x());
    if (row < 1)
        row = TopRow();
    if (col < 1)
        col = std::max(columnAt(0), 0);
    if (col < 1)
        col = app_.grid.Col; // column 0 never becomes the current cell
    if (model_->rowCount() > 0) {
        SetCurrentCell(col, row);
        Q_EMIT CellClicked();
    }
    if (event->button() == Qt::RightButton)
        Q_EMIT PopupRequested(event->globalPosition().toPoint());
}

void TitleGrid::mouseReleaseEvent(QMouseEvent* event)
{
    QTableView::mouseReleaseEvent(event);
    TakeLayoutBack();
}

void TitleGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rowAt(event->position().toPoint().y()) >= 0)
        Q_EMIT OpenRequested();
}

void TitleGrid::mouseMoveEvent(QMouseEvent* event)
{
    QTableView::mouseMoveEvent(event);
    ShowCellHint(event->position().toPoint());
}

void TitleGrid::wheelEvent(QWheelEvent* event)
{
    const int delta = event->angleDelta().y();
    if (delta != 0 && model_->rowCount() > 0) {
        const int row = std::clamp(app_.grid.Row + (delta < 0 ? 1 : -1), 1, model_->rowCount());
        if (row != app_.grid.Row) {
            SetCurrentCell(app_.grid.Col, row);
            Q_EMIT CellClicked();
        }
    }
    event->accept();
}

void TitleGrid::keyPressEvent(QKeyEvent* event)
{
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        Q_EMIT OpenRequested();
        return;
    }
    if (key == Qt::Key_Escape) {
        Q_EMIT EscapePressed();
        return;
    }
    // Ctrl or Alt alone make a command; both together are AltGr on some systems.
    const bool ctrl = event->modifiers() & Qt::ControlModifier;
    const bool alt = event->modifiers() & Qt::AltModifier;
    const QString text = event->text();
    const int byte = text.size() == 1 && ctrl == alt ? Cp1252Byte(text.at(0).unicode()) : -1;
    if (byte >= 0x20 && byte != 0x7F) {
        Q_EMIT TypeAheadKey(static_cast<char>(byte));
        return;
    }
    QTableView::keyPressEvent(event);
}

void TitleGrid::resizeEvent(QResizeEvent* event)
{
    QTableView::resizeEvent(event);
    app_.grid.ViewWidth = viewport()->width(); // the next refresh fits columns to it
}

void TitleGrid::focusOutEvent(QFocusEvent* event)
{
    QTableView::focusOutEvent(event);
    hintTimer_.stop();
}

bool TitleGrid::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == horizontalHeader()->viewport() && event->type() == QEvent::MouseButtonRelease)
        QTimer::singleShot(0, this, &TitleGrid::TakeLayoutBack);
    return QTableView::eventFilter(watched, event);
}

bool TitleGrid::viewportEvent(QEvent* event)
{
    // Cell hints are shown by ShowCellHint; before the first one the grid's
    // own hint stands for the whole grid.
    if (event->type() == QEvent::ToolTip) {
        if (hintText_.isEmpty())
            QToolTip::showText(static_cast<QHelpEvent*>(event)->globalPos(), toolTip(), viewport());
        return true;
    }
    return QTableView::viewportEvent(event);
}

void TitleGrid::ColumnDragged(int, int oldVisual, int newVisual)
{
    if (syncing_)
        return;
    // The view keeps its columns in model order; the cells move instead.
    syncing_ = true;
    horizontalHeader()->moveSection(newVisual, oldVisual);
    syncing_ = false;
    app_.columns.ColumnDragged(oldVisual);
    app_.grid.MoveColumn(oldVisual, newVisual);
    if (app_.grid.Col == oldVisual)
        app_.grid.Col = std::max(1, newVisual);
    model_->CellsChanged();
    delegate_->PicsColumn = GridColumnOf(app_.columns, app_.grid, ColAnzahlBilder);
    ApplyWidths();
    viewport()->update();
}

void TitleGrid::ColumnResized(int logical, int, int newSize)
{
    if (syncing_)
        return;
    auto& widths = app_.grid.ColWidths;
    if (logical >= 0 && logical < static_cast<int>(widths.size()))
        widths[static_cast<std::size_t>(logical)] = newSize;
}

void TitleGrid::TakeLayoutBack()
{
    app_.columns.TakeLayoutFromGrid(app_.grid, app_.settings);
}

void TitleGrid::ShowCellHint(const QPoint& viewportPos)
{
    if (!CellHintAllowed(app_.grid))
        return;
    const QModelIndex index = indexAt(viewportPos);
    if (!index.isValid())
        return;
    const QString text = FromCp1252(WrapCellHint(app_.grid.Cell(index.column(), index.row() + 1)))
                             .replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    if (text == hintText_)
        return;
    hintText_ = text;
    pendingHint_ = text;
    pendingPos_ = viewport()->mapToGlobal(viewportPos);
    hintTimer_.stop();
    QToolTip::hideText();
    // Hints come quickly while the grid has the focus, slowly otherwise.
    hintTimer_.start(hasFocus() ? 50 : 2500);
}

void TitleGrid::ShowPendingHint()
{
    if (!pendingHint_.isEmpty())
        QToolTip::showText(pendingPos_, pendingHint_, viewport(), QRect(), hasFocus() ? 10000 : 2500);
}

} // namespace folianto
