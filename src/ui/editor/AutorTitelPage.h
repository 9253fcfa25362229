#pragma once
// Page 1 "Autor / Titel" of the title editor: authors, editors and the titles.

#include <QWidget>

namespace folianto {

class EditorControls;
struct TitleEditorValues;

class AutorTitelPage : public QWidget {
public:
    AutorTitelPage(EditorControls& controls, QWidget* parent);

    void Load(const TitleEditorValues& v);
    void Store(TitleEditorValues& v) const;

private:
    EditorControls& controls_;
};

} // namespace folianto
