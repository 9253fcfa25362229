#pragma once
// TSelectComboBox: an editable combo box whose drop-down is a list of tick
// boxes (authors, editors). Closing the list after ticking joins the ticked
// entries into the box text.

#include <QComboBox>
#include <QFrame>

#include <string>
#include <vector>

class QListWidget;
class QListWidgetItem;

namespace folianto {

class TSelectComboBox;

// The pop-up list under the box.
class SelectPopup : public QFrame {
    Q_OBJECT
public:
    explicit SelectPopup(TSelectComboBox& box);
    QListWidget* List() const { return list_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TSelectComboBox& box_;
    QListWidget* list_;
    std::string prefix_; // typed characters, Windows-1252
};

class TSelectComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TSelectComboBox(QWidget* parent = nullptr);

    // Entries (Windows-1252) in the order shown, with their ticks.
    void SetEntries(const std::vector<std::string>& entries, const std::vector<bool>& ticked);
    const std::vector<std::string>& Entries() const { return entries_; }
    const std::vector<bool>& Ticks() const { return ticked_; }
    // Ticks the entries named in a box text ("a; b").
    void TickFromText(const std::string& text);

    // Ticks as the model holds them (not counted as the user's change).
    void SetTicks(const std::vector<bool>& ticked);
    void SetTicked(int index, bool ticked);
    void Toggle(int index);
    void SetAllTicked(bool ticked);

    void showPopup() override;
    void hidePopup() override;
    bool PopupVisible() const;
    SelectPopup* Popup() const { return popup_; }

Q_SIGNALS:
    // The pop-up closed after ticks changed; the box text holds the joined entries.
    void TicksApplied();

private:
    friend class SelectPopup;
    void PopupClosed();
    void RefreshItem(int index);

    std::vector<std::string> entries_;
    std::vector<bool> ticked_;
    SelectPopup* popup_;
    bool toggledWhileOpen_ = false;
};

} // namespace folianto
