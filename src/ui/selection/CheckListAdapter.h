#pragma once
// Item models over the filter dialog's lists: a check list (ticks go to the
// dialog model) and a plain list of pick entries. Rows are converted to
// Unicode only when a view asks for them.

#include <QAbstractListModel>

namespace folianto {

class FilterDialogModel;

class CheckListAdapter : public QAbstractListModel {
    Q_OBJECT
public:
    CheckListAdapter(FilterDialogModel& model, int list, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The dialog model changed ticks or locks of this list.
    void Refresh();
    int List() const { return list_; }

private:
    FilterDialogModel& model_;
    int list_;
    int rows_ = 0;
};

class PickListAdapter : public QAbstractListModel {
    Q_OBJECT
public:
    explicit PickListAdapter(FilterDialogModel& model, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    // Another list was chosen.
    void Reload();

private:
    FilterDialogModel& model_;
};

} // namespace folianto
