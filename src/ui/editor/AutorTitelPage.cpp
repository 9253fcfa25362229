#include "ui/editor/AutorTitelPage.h"

#include "ui/editor/EditorControls.h"
#include "ui/editor/SelectComboBox.h"

#include <QGridLayout>
#include <QLineEdit>

namespace folianto {

namespace {

using C = EditControl;
using V = TitleEditorValues;
const std::initializer_list<EditorControls::TextField> kTexts = {
    {C::TitelEdit, &V::Titel}, {C::AltTitelEdit, &V::AltTitel}, {C::OrgTitelEdit, &V::OrigTitel}};

} // namespace

AutorTitelPage::AutorTitelPage(EditorControls& controls, QWidget* parent) : QWidget(parent), controls_(controls)
{
    setObjectName(QStringLiteral("TabSheetAutorTitel"));
    auto* grid = new QGridLayout(this);
    int row = 0;
    for (EditControl c : {C::ComboBoxAutor, C::ComboBoxHerausgeber}) {
        auto* box = new TSelectComboBox(this);
        controls_.Register(c, box);
        controls_.AddField(grid, row++, 0, c, box);
    }
    for (EditControl c : {C::TitelEdit, C::AltTitelEdit, C::OrgTitelEdit})
        controls_.AddField(grid, row++, 0, c, controls_.LineEdit(c, this));
    grid->setColumnStretch(1, 1);
    grid->setRowStretch(row, 1);
}

void AutorTitelPage::Load(const TitleEditorValues& v)
{
    controls_.ShowMultiSelect(C::ComboBoxAutor, v.Autor);
    controls_.ShowMultiSelect(C::ComboBoxHerausgeber, v.Herausgeber);
    controls_.ShowFields(v, kTexts);
}

void AutorTitelPage::Store(TitleEditorValues& v) const
{
    controls_.ReadMultiSelect(C::ComboBoxAutor, v.Autor);
    controls_.ReadMultiSelect(C::ComboBoxHerausgeber, v.Herausgeber);
    controls_.ReadFields(v, kTexts);
}

} // namespace folianto
