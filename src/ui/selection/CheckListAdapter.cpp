#include "ui/selection/CheckListAdapter.h"

#include "core/Codec.h"
#include "selection/FilterDialogModel.h"

namespace folianto {

CheckListAdapter::CheckListAdapter(FilterDialogModel& model, int list, QObject* parent)
    : QAbstractListModel(parent), model_(model), list_(list), rows_(static_cast<int>(model.Items(list).size()))
{
}

int CheckListAdapter::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : rows_;
}

QVariant CheckListAdapter::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rows_)
        return {};
    const KeywordItem& item = model_.Items(list_)[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole: return FromCp1252(item.Text);
    case Qt::CheckStateRole: return item.Checked ? Qt::Checked : Qt::Unchecked;
    default: return {};
    }
}

bool CheckListAdapter::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || role != Qt::CheckStateRole || index.row() >= rows_)
        return false;
    model_.Tick(list_, index.row(), value.toInt() == Qt::Checked);
    Q_EMIT dataChanged(index, index, {Qt::CheckStateRole});
    return true;
}

Qt::ItemFlags CheckListAdapter::flags(const QModelIndex& index) const
{
    if (!index.isValid() || index.row() >= rows_)
        return Qt::NoItemFlags;
    // Items locked by a narrowing stage stay visible and ticked, but fixed.
    if (!model_.Items(list_)[static_cast<std::size_t>(index.row())].Enabled)
        return Qt::ItemIsSelectable;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable;
}

void CheckListAdapter::Refresh()
{
    const int rows = static_cast<int>(model_.Items(list_).size());
    if (rows != rows_) {
        beginResetModel();
        rows_ = rows;
        endResetModel();
    } else if (rows_ > 0) {
        Q_EMIT dataChanged(index(0), index(rows_ - 1), {Qt::CheckStateRole});
    }
}

PickListAdapter::PickListAdapter(FilterDialogModel& model, QObject* parent) : QAbstractListModel(parent), model_(model)
{
}

int PickListAdapter::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(model_.PickEntries().size());
}

QVariant PickListAdapter::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::AccessibleTextRole))
        return {};
    return FromCp1252(model_.PickEntries()[static_cast<std::size_t>(index.row())]);
}

void PickListAdapter::Reload()
{
    beginResetModel();
    endResetModel();
}

} // namespace folianto
