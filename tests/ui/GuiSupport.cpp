#include "ui/GuiSupport.h"

#include "application/BuchData.h"
#include "core/DatabaseFile.h"
#include "core/SampleCatalogue.h"
#include "ui/editor/BuchEditDlg.h"
#include "ui/help/HelpWindow.h"
#include "ui/shell/Startup.h"

#include <QAccessible>
#include <QTabBar>
#include <QAbstractButton>
#include <QGroupBox>
#include <QTextBrowser>
#include <QToolBar>

namespace folianto::test {

QAction* FindMenuAction(QMenu* menu, const QStringList& path)
{
    for (QAction* a : menu->actions()) {
        if (a->text() != path.front())
            continue;
        if (path.size() == 1)
            return a;
        return a->menu() ? FindMenuAction(a->menu(), path.mid(1)) : nullptr;
    }
    return nullptr;
}

QAction* FindAction(QWidget* window, const QStringList& path)
{
    for (QAction* top : window->findChild<QMenuBar*>()->actions())
        if (top->text() == path.front() && top->menu())
            return path.size() == 1 ? top : FindMenuAction(top->menu(), path.mid(1));
    return nullptr;
}

QAction* ActionNamed(QWidget* window, const char* name)
{
    return window->findChild<QAction*>(QLatin1String(name));
}

QToolButton* FindButton(QWidget* window, const QString& hint)
{
    for (QToolButton* b : window->findChild<QToolBar*>()->findChildren<QToolButton*>())
        if (b->toolTip() == hint)
            return b;
    return nullptr;
}

std::string WriteSampleDatabase(const QTemporaryDir& dir, const char* name, int count)
{
    TestApp source;
    FillSampleCatalogue(source.app.store, count, 7);
    source.app.DataVerMain = 1;
    source.app.DataVerMinor = 4;
    const std::string path = PathToCp1252(dir.filePath(QString::fromUtf8(name)));
    std::string errParam;
    Save_Buch_Data(source.app, path, errParam);
    return path;
}

std::vector<std::string> ColumnCells(const App& app, int gridCol)
{
    std::vector<std::string> cells;
    for (int r = 1; r < app.grid.RowCount(); ++r)
        cells.emplace_back(app.grid.Cell(gridCol, r));
    return cells;
}

void InEditor(WindowFixture& f, const char* titleEntry, std::function<void(TBuchEditDlg&)> steps)
{
    QTimer::singleShot(0, [steps = std::move(steps)] {
        auto* dialog = qobject_cast<TBuchEditDlg*>(QApplication::activeModalWidget());
        if (!dialog) {
            ADD_FAILURE() << "the title editor did not show";
            return;
        }
        dialog->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
        steps(*dialog);
        if (dialog->isVisible())
            dialog->reject();
    });
    FindAction(f.window.get(), {Q("&Titel"), Q(titleEntry)})->trigger();
}

std::string WidgetTexts(QWidget& window)
{
    QString out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->objectName().isEmpty() || w->objectName().startsWith(QLatin1String("qt_")))
            continue;
        QString text;
        if (auto* label = qobject_cast<QLabel*>(w))
            text = label->text();
        else if (auto* group = qobject_cast<QGroupBox*>(w))
            text = group->title();
        else if (auto* button = qobject_cast<QAbstractButton*>(w))
            text = button->text();
        else if (auto* tabs = qobject_cast<QTabWidget*>(w))
            for (int i = 0; i < tabs->count(); ++i)
                text += (i ? QStringLiteral(" | ") : QString()) + tabs->tabText(i);
        if (text.isEmpty() && w->toolTip().isEmpty())
            continue;
        out += w->objectName() + QStringLiteral(": ") + text;
        if (!w->toolTip().isEmpty())
            out += QStringLiteral("\n  hint: ") + QString(w->toolTip()).replace(QLatin1String("\r\n"), QLatin1String("\n  "));
        out += QLatin1Char('\n');
    }
    return out.toStdString();
}

QString HelpPageAfterF1(QWidget& window)
{
    QApplication::setActiveWindow(&window);
    // Pressed where the user is: the focused control must not keep the key.
    QTest::keyClick(window.focusWidget() ? window.focusWidget() : &window, Qt::Key_F1);
    auto* help = window.findChild<HelpWindow*>();
    if (!help || !help->isVisible())
        return {};
    help->close();
    return help->Browser->source().toString();
}

int ExpectBuddiesNamedByTheirLabels(QWidget& window, bool colon)
{
    int buddies = 0;
    for (QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->buddy())
            continue;
        ++buddies;
        QString name = label->text().remove(QLatin1Char('&')).trimmed();
        if (colon && name.endsWith(QLatin1Char(':')))
            name.chop(1);
        EXPECT_EQ(label->buddy()->accessibleName(), name.trimmed()) << label->text().toStdString();
    }
    return buddies;
}

QStringList LabelsOf(QWidget* control)
{
    QStringList labels;
    for (const auto& [other, relation] : QAccessible::queryAccessibleInterface(control)->relations(QAccessible::Label))
        labels << other->text(QAccessible::Name);
    return labels;
}

std::string SpokenNames(QWidget& window)
{
    QString out;
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w->focusPolicy() == Qt::NoFocus || w->isHidden() || w->window() != &window ||
            qobject_cast<QTabWidget*>(w) || qobject_cast<QComboBox*>(w) || w->parentWidget()->inherits("QAbstractSpinBox"))
            continue;
        QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
        QWidget* named = qobject_cast<QComboBox*>(w->parentWidget()) ? w->parentWidget() : w;
        out += named->objectName() + QStringLiteral(": ") + (a ? a->text(QAccessible::Name) : QString());
        if (qobject_cast<QTabBar*>(w))
            for (int i = 0; i < a->childCount(); ++i)
                if (a->child(i)->role() == QAccessible::PageTab)
                    out += (i ? QStringLiteral(" | ") : QStringLiteral("; pages: ")) + a->child(i)->text(QAccessible::Name);
        out += QLatin1Char('\n');
    }
    return out.toStdString();
}

int RunProgram(TestApp& t, const QTemporaryDir& dir, const std::function<void(TFoliantoMainWindow&)>& inside,
               const std::string& startFile)
{
    t.platform.programPath = PathToCp1252(dir.filePath(QStringLiteral("Folianto")));
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* main = qobject_cast<TFoliantoMainWindow*>(w); main && main->isVisible()) {
                if (inside)
                    inside(*main);
                main->close();
            }
    });
    return RunFolianto(t.app, PathToCp1252(dir.path()), startFile);
}

WindowFixture::WindowFixture()
{
    t.platform.programPath = PathToCp1252(dir.filePath(QStringLiteral("Folianto")));
    window = std::make_unique<TFoliantoMainWindow>(t.app);
    window->InitBuchStringGrid();
    window->show();
}

WindowFixture::~WindowFixture() = default;

std::string WindowFixture::Open(const char* name, int count)
{
    const std::string path = WriteSampleDatabase(dir, name, count);
    t.ui.filePaths.push_back(path);
    ActionNamed(window.get(), "OeffnenAction")->trigger();
    return path;
}

} // namespace folianto::test
