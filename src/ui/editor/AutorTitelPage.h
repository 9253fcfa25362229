#pragma once
// Page 1 "Autor / Titel" of the title editor: authors, editors and the titles.

#include <QWidget>

namespace folianto {

class EditorControls;
struct BuchEditValues;

class AutorTitelPage : public QWidget {
public:
    AutorTitelPage(EditorControls& controls, QWidget* parent);

    void Load(const BuchEditValues& v);
    void Store(BuchEditValues& v) const;

private:
    EditorControls& controls_;
};

} // namespace folianto
