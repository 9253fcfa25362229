#pragma once
// Page 5 "Bilder" of the title editor: ten picture tabs, the page's buttons
// and the storage option, over the editor's PictureSlots.

#include "ui/editor/PictureWidgets.h"

#include <QWidget>

#include <array>
#include <vector>

class QButtonGroup;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;

namespace folianto {

struct Settings;
class UserInteraction;

class PicturePage : public QWidget {
    Q_OBJECT
public:
    PicturePage(PictureSlots& pictures, const Settings& settings, UserInteraction& ui, QWidget* parent = nullptr);

    // Shows the picture slots as they are now (after InitForm or LoadFromStore).
    void Refresh();
    // The viewer for the current tab, unless one is open already.
    void OpenViewer();
    // In view mode nothing may change the pictures; the viewer and saving a
    // copy stay.
    void SetReadOnly(bool readOnly);

    QPushButton* AddButton() const { return addButton_; }
    QTabWidget* Tabs() const { return tabs_; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    struct Tab {
        QWidget* page = nullptr;
        QScrollArea* box = nullptr;
        PictureThumbnail* image = nullptr;
        QLineEdit* title = nullptr;
        PictureImage picture; // as decoded for the tab
    };

    QWidget* BuildTab(int index);
    QWidget* BuildSidePanel();
    void ShowSlot(int index);
    void ShowCurrentState();
    void FitPicture(Tab& tab);
    QSize BoxSize(const Tab& tab) const;
    bool Thumbnails() const;
    void TabChanged(int index);

    PictureSlots& pictures_;
    const Settings& settings_;
    UserInteraction& ui_;
    QTabWidget* tabs_ = nullptr;
    std::array<Tab, MaxPictures> tab_;
    QLabel* sizeLabel_ = nullptr;
    QPushButton* addButton_ = nullptr;
    QButtonGroup* storage_ = nullptr;
    std::vector<QWidget*> changing_; // every control that changes the pictures
    bool readOnly_ = false;
    bool refreshing_ = false;
};

} // namespace folianto
