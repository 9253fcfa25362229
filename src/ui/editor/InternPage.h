#pragma once
// Page 4 "interne Zuordnung und anderes" of the title editor: type, language,
// category, owner, location, lending state, price and purchase date.

#include <QWidget>

#include <initializer_list>

class QButtonGroup;
class QGridLayout;
class QLabel;

namespace folianto {

class EditorControls;
enum class EditControl : int;
struct TitleEditorValues;

class InternPage : public QWidget {
public:
    InternPage(EditorControls& controls, QWidget* parent);

    void Load(const TitleEditorValues& v);
    void Store(TitleEditorValues& v) const;

    QButtonGroup* Verleihstatus() const { return verleihstatus_; }

private:
    QWidget* BuildVerleihstatus();
    // A label and fields that keep their natural width.
    void AddShortRow(EditControl control, std::initializer_list<QWidget*> fields);

    EditorControls& controls_;
    QGridLayout* grid_ = nullptr;
    int row_ = 0;
    QButtonGroup* verleihstatus_ = nullptr;
    QLabel* verleihstatusLabel_ = nullptr;
};

} // namespace folianto
