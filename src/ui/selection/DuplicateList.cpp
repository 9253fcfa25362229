#include "ui/selection/DuplicateList.h"

#include "core/Codec.h"
#include "core/Text.h"
#include "selection/DuplicateFinder.h"
#include "application/App.h"
#include "ui/dialogs/ChoiceDialogs.h"
#include "ui/help/HelpWindow.h"

#include <QListWidget>
#include <QShortcut>

namespace folianto {

void RunDuplicateFinder(App& app, QWidget* parent)
{
    const std::vector<DuplicatePair> pairs = SearchDuplicates(app);
    if (pairs.empty())
        return;

    TForm_Select_From_List dialog(app.ui, parent);
    dialog.setObjectName(QStringLiteral("DuplicateList"));
    const std::string count = IntToStr(static_cast<int>(pairs.size()));
    dialog.setWindowTitle(QStringLiteral("Doppelte Titel: ") + FromCp1252(count) +
                          (pairs.size() == 1 ? QStringLiteral(" Paar") : QStringLiteral(" Paare")));
    dialog.setProperty("HelpContext", HelpContextDuplicates);
    QStringList entries;
    for (const DuplicatePair& p : pairs)
        entries << FromCp1252(DuplicatePairText(app.store, p));
    dialog.SetEntries(entries);
    for (int i = 0; i < dialog.CheckList->count(); ++i)
        dialog.CheckList->item(i)->setCheckState(Qt::Checked);
    dialog.CheckList->setCurrentRow(0);
    dialog.SetNoun(QStringLiteral("Paare"));
    dialog.resize(860, 420);

    // A child of the modal dialog, so that it can be used while the list is open.
    HelpWindow* help = nullptr;
    auto* helpKey = new QShortcut(QKeySequence(Qt::Key_F1), &dialog);
    QObject::connect(helpKey, &QShortcut::activated, &dialog, [&dialog, &help] {
        if (!help)
            help = new HelpWindow(&dialog);
        help->ShowContext(HelpContextDuplicates);
    });

    if (dialog.exec() != QDialog::Accepted)
        return;
    std::vector<DuplicatePair> chosen;
    for (int i : dialog.CheckedIndices())
        chosen.push_back(pairs[static_cast<std::size_t>(i)]);
    if (chosen.empty()) {
        app.ui.message(MsgKind::Information, Cp1252("Es wurde kein Paar ausgewählt."), Buttons::Ok);
        return;
    }
    ShowDuplicates(app, chosen);
}

} // namespace folianto
