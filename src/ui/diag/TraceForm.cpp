#include "ui/diag/TraceForm.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "diag/InspectorRows.h"
#include "core/Trace.h"
#include "application/App.h"
#include "shell/ColumnInspector.h"

#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>

namespace folianto {

namespace {

// Detail pages of the inspector (the first one is active); the program
// registers none.
struct InspectorPage {
    std::vector<std::vector<std::string>> rows;
    std::vector<int> links; // linked page per row, -1 none
};
const std::vector<InspectorPage>& InspectorPages()
{
    static const std::vector<InspectorPage> pages;
    return pages;
}

QTableWidget* MakeTable(const std::vector<std::string>& headers, const std::vector<std::vector<std::string>>& rows,
                        QWidget* parent)
{
    auto* table = new QTableWidget(static_cast<int>(rows.size()), static_cast<int>(headers.size()), parent);
    table->setObjectName(QStringLiteral("InspectorTable"));
    QStringList labels;
    for (const std::string& h : headers)
        labels << FromCp1252(h);
    table->setHorizontalHeaderLabels(labels);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionBehavior(QAbstractItemView::SelectRows);
    table->verticalHeader()->setDefaultSectionSize(table->fontMetrics().height() + 4);
    for (int r = 0; r < static_cast<int>(rows.size()); ++r)
        for (int c = 0; c < static_cast<int>(rows[static_cast<std::size_t>(r)].size()); ++c)
            table->setItem(r, c, new QTableWidgetItem(FromCp1252(rows[static_cast<std::size_t>(r)][static_cast<std::size_t>(c)])));
    return table;
}

} // namespace

TTraceForm::TTraceForm(App& app, const std::vector<std::string>& headers,
                       const std::vector<std::vector<std::string>>& rows, QWidget* parent)
    : QDialog(parent, Qt::Tool), app_(app)
{
    setObjectName(QStringLiteral("TraceForm"));
    setWindowTitle(QStringLiteral("Debug-Fenster"));
    setModal(true);
    setSizeGripEnabled(true);
    auto* layout = new QVBoxLayout(this);
    auto* top = new QGroupBox(QStringLiteral(" gewählter Datentyp "), this);
    auto* topLayout = new QVBoxLayout(top);
    GridPosLabel = new QLabel(QStringLiteral("Gitterposition           = [%1:%2]").arg(app.grid.Col).arg(app.grid.Row), top);
    VersionLabel = new QLabel(QStringLiteral("Programmversion    = ") + FromCp1252(app.platform.ProgramVersion()), top);
    WriteMasterLabel = new QLabel(QStringLiteral("WriteMasterAlways=%1").arg(app.traceLog.WriteMasterAlways), top);
    StoreLevelLabel = new QLabel(QStringLiteral(";  MasterStoreLevel=%1").arg(app.traceLog.MasterStoreLevel), top);
    for (QLabel* l : {GridPosLabel, VersionLabel, WriteMasterLabel, StoreLevelLabel})
        topLayout->addWidget(l);
    layout->addWidget(top);
    auto* inspector = new QGroupBox(QStringLiteral(" Objekt-Inspektor "), this);
    auto* inspectorLayout = new QVBoxLayout(inspector);
    Table = MakeTable(headers, rows, inspector);
    inspectorLayout->addWidget(Table);
    layout->addWidget(inspector, 1);
    connect(Table, &QTableWidget::cellDoubleClicked, this, [this](int row, int) { RowDoubleClicked(row); });
    resize(640, 560);
}

void TTraceForm::ShowTitle(App& app, QWidget* parent)
{
    TraceScope trace("TraceForm.ShowTraceForm");
    const TBuch* b = app.store.at(app.store.ActBuch);
    if (!b)
        return;
    TTraceForm form(app, TitleInspectorHeaders(), TitleInspectorRows(*b), parent);
    form.exec();
}

void TTraceForm::ShowColumns(App& app, QWidget* parent)
{
    TraceScope trace("TraceForm.ShowCellArrayForm");
    TTraceForm form(app, ColumnInspectorHeaders(), ColumnInspectorRows(app.columns), parent);
    form.exec();
}

void TTraceForm::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (QScreen* screen = this->screen())
        move(screen->availableGeometry().center() - rect().center());
    FitColumns();
}

void TTraceForm::FitColumns()
{
    const QFontMetrics fm = Table->fontMetrics();
    for (int c = 0; c < Table->columnCount(); ++c) {
        int widest = fm.horizontalAdvance(Table->horizontalHeaderItem(c)->text());
        for (int r = 0; r < Table->rowCount(); ++r)
            if (const QTableWidgetItem* item = Table->item(r, c))
                widest = std::max(widest, fm.horizontalAdvance(item->text()));
        Table->setColumnWidth(c, widest + (c == 0 ? 10 : 5));
    }
}

void TTraceForm::SpreadColumns()
{
    const int columns = Table->columnCount();
    int total = 0;
    for (int c = 0; c < columns; ++c)
        total += Table->columnWidth(c);
    const int available = Table->viewport()->width();
    if (columns == 0 || total <= 0 || available <= 0)
        return;
    for (int c = 0; c < columns; ++c)
        Table->setColumnWidth(c, Table->columnWidth(c) * available / total);
}

void TTraceForm::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (isVisible())
        SpreadColumns();
}

void TTraceForm::RowDoubleClicked(int row)
{
    const auto& pages = InspectorPages();
    if (!pages.empty()) {
        const InspectorPage& active = pages.front();
        const int link = row < static_cast<int>(active.links.size()) ? active.links[static_cast<std::size_t>(row)] : -1;
        if (link >= 0 && link < static_cast<int>(pages.size())) {
            TTraceSubForm sub(pages[static_cast<std::size_t>(link)].rows, this);
            sub.exec();
            return;
        }
    }
    app_.ui.message(MsgKind::Error, "Keine Inhalte definiert!", Buttons::Ok);
}

TTraceSubForm::TTraceSubForm(const std::vector<std::vector<std::string>>& rows, QWidget* parent)
    : QDialog(parent, Qt::Tool)
{
    setObjectName(QStringLiteral("TraceSubForm"));
    setWindowTitle(QStringLiteral("Debug-Fenster"));
    setModal(true);
    auto* layout = new QVBoxLayout(this);
    Table = MakeTable(TitleInspectorHeaders(), rows, this);
    layout->addWidget(Table);
    resize(560, 400);
}

} // namespace folianto
