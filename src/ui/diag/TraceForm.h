#pragma once
// Inspector windows: the trace log's settings with the current title or the
// column model.

#include <QDialog>

#include <string>
#include <vector>

class QLabel;
class QTableWidget;

namespace folianto {

struct App;

class TTraceForm : public QDialog {
    Q_OBJECT
public:
    TTraceForm(App& app, const std::vector<std::string>& headers, const std::vector<std::vector<std::string>>& rows,
               QWidget* parent = nullptr);

    // Title inspector; nothing happens without a current title.
    static void ShowTitle(App& app, QWidget* parent);
    // Column inspector.
    static void ShowColumns(App& app, QWidget* parent);

    QLabel* GridPosLabel;
    QLabel* VersionLabel;
    QLabel* WriteMasterLabel;
    QLabel* StoreLevelLabel;
    QTableWidget* Table;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void FitColumns();
    void SpreadColumns();
    void RowDoubleClicked(int row);

    App& app_;
};

// A linked detail page of the inspector, in the same three-column layout.
class TTraceSubForm : public QDialog {
    Q_OBJECT
public:
    TTraceSubForm(const std::vector<std::vector<std::string>>& rows, QWidget* parent = nullptr);

    QTableWidget* Table;
};

} // namespace folianto
