#pragma once
// Page 2 "bibliothekarisches" of the title editor: the literature type with
// its description, and the groups the type shows (books, journals, pages,
// audio-visual material).

#include <QWidget>

class QButtonGroup;
class QGroupBox;
class QPushButton;
class QVBoxLayout;

namespace folianto {

class EditorControls;
struct TitleEditorValues;
struct TypePanel;

class BibliothekPage : public QWidget {
public:
    BibliothekPage(EditorControls& controls, QWidget* parent);

    void Load(const TitleEditorValues& v);
    void Store(TitleEditorValues& v) const;
    // The groups and the description of a literature type.
    void ApplyPanel(const TypePanel& panel);
    // Quelle is read-only while it is a link; a long text shows in full as its hint.
    void ApplyQuelleLink();

    QButtonGroup* LiteraturTyp() const { return literaturTyp_; }
    QPushButton* VerlinkenButton() const { return verlinkenButton_; }
    QPushButton* LookupButton() const { return lookupButton_; }

private:
    QVBoxLayout* BuildTypeColumn();
    QGroupBox* Group(const char* objectName, const QString& title);
    QGroupBox* BuildBooks();
    QGroupBox* BuildJournals();
    QGroupBox* BuildPages();
    QGroupBox* BuildAudioVisual();

    EditorControls& controls_;
    QGroupBox* groupBuecher_ = nullptr;
    QGroupBox* groupZeitschriften_ = nullptr;
    QGroupBox* groupAudioVisuell_ = nullptr;
    QGroupBox* groupSeiten_ = nullptr;
    QButtonGroup* literaturTyp_ = nullptr;
    QPushButton* verlinkenButton_ = nullptr;
    QPushButton* lookupButton_ = nullptr; // "Nachschlagen" beside the ISBN
};

} // namespace folianto
