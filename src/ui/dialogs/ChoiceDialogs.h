#pragma once
// Small choice dialogs: pick from a list, radio choice, one-value input.

#include <QDialog>

#include <utility>
#include <vector>

class QButtonGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace folianto {

class UserInteraction;

class TForm_Select_From_List : public QDialog {
    Q_OBJECT
public:
    // Questions and errors of the ticking rules go through `ui`.
    TForm_Select_From_List(UserInteraction& ui, QWidget* parent = nullptr);

    // Entries; those marked false in `enabled` cannot be ticked.
    void SetEntries(const QStringList& entries, const std::vector<bool>& enabled = {});
    void SetSingleChoice(bool single) { singleChoice_ = single; }
    // The noun naming the entries, with its own leading blank (" Spalte").
    void SetNoun(const QString& noun) { noun_ = noun; }
    // Pairs of entry indices that may not be ticked together.
    void SetForbiddenPairs(std::vector<std::pair<int, int>> pairs) { forbidden_ = std::move(pairs); }

    std::vector<int> CheckedIndices() const;

    QLabel* HintLabel;
    QListWidget* CheckList;
    QPushButton* WeiterButton;
    QPushButton* AbortButton;

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;

private:
    void ItemChanged(QListWidgetItem* item);

    UserInteraction& ui_;
    bool singleChoice_ = false;
    bool adjusting_ = false;
    QString noun_;
    std::vector<std::pair<int, int>> forbidden_;
};

class TForm_RadioSelect : public QDialog {
    Q_OBJECT
public:
    explicit TForm_RadioSelect(QWidget* parent = nullptr);

    void SetChoices(const QStringList& choices, int preselected);
    int ChosenIndex() const;

    QGroupBox* RadioGroup;
    QPushButton* WeiterButton;
    QPushButton* AbortButton;

protected:
    void showEvent(QShowEvent* event) override;

private:
    QButtonGroup* buttons_;
    int count_ = 0;
};

class TEditorForm : public QDialog {
    Q_OBJECT
public:
    explicit TEditorForm(QWidget* parent = nullptr);

    void SetLabel(const QString& text);
    // Shows the 5-digit field (true) or the text field (false).
    void UseNumberField(bool number);
    void SetValue(const QString& value);
    // The number field without its blanks, or the text field.
    QString Value() const;

    QLabel* EingabeLabel;
    QLineEdit* NumberEdit;
    QLineEdit* TextEdit;
    QPushButton* OKButton;
    QPushButton* AbortButton;

private:
    bool number_ = false;
};

} // namespace folianto
