#pragma once
// The title grid: a table view over the logic GridModel, drawn by a delegate.

#include <QAbstractTableModel>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QTimer>

namespace folianto {

struct App;

// Rows 1.. of the GridModel as table rows; row 0 is the horizontal header.
class GridTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit GridTableModel(App& app, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The logic grid was refilled.
    void Reload();
    void CellsChanged();

private:
    App& app_;
    int rows_ = -1;
    int cols_ = -1;
};

class TitleGridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    TitleGridDelegate(App& app, QObject* parent);
    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

    int PicsColumn = -1; // grid column of the picture count

private:
    App& app_;
};

class TitleGrid : public QTableView {
    Q_OBJECT
public:
    explicit TitleGrid(App& app, QWidget* parent = nullptr);

    // Shows the logic grid again: rows, headers, widths and the current cell.
    void SyncFromModel();
    // Puts the cursor on (col, row) of the logic grid; its title becomes current.
    void SetCurrentCell(int col, int row);
    // First visible row of the logic grid.
    int TopRow() const;

    GridTableModel* TableModel() const { return model_; }

Q_SIGNALS:
    void CellClicked();            // the current cell was chosen by mouse or keys
    void OpenRequested();          // double click or Enter
    void EscapePressed();
    void TypeAheadKey(char key);   // a printable character typed (Windows-1252)
    void PopupRequested(const QPoint& globalPos);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    QModelIndex moveCursor(CursorAction action, Qt::KeyboardModifiers modifiers) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void ColumnDragged(int logical, int oldVisual, int newVisual);
    void ColumnResized(int logical, int oldSize, int newSize);
    void TakeLayoutBack();
    void ApplyWidths();
    void ShowCellHint(const QPoint& viewportPos);
    void ShowPendingHint();

    App& app_;
    GridTableModel* model_;
    TitleGridDelegate* delegate_;
    bool syncing_ = false;
    QString hintText_;
    QString pendingHint_;
    QPoint pendingPos_;
    QTimer hintTimer_;
};

} // namespace folianto
