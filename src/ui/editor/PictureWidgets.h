#pragma once
// The widgets that show pictures: a tab's thumbnail and the viewer window.

#include "editor/PictureDecoding.h"
#include "editor/PictureSlots.h"

#include <QDialog>
#include <QImage>
#include <QLabel>

#include <optional>

class QAction;
class QScrollArea;

namespace folianto {

// A decoded picture as Qt shows it; a null image when it cannot be decoded.
struct PictureImage {
    QImage Image;
    QSize Natural; // the picture's own size (Image may be smaller for a thumbnail)
};
// With `thumbnailBox` the picture may come back scaled down to what the box shows.
PictureImage DecodePictureImage(const DecodedPicture& picture, std::optional<QSize> thumbnailBox = std::nullopt);
PictureImage LoadPictureImage(const PictureSlot& slot, std::optional<QSize> thumbnailBox = std::nullopt);

// The picture of one tab, inside its scroll box: fitted into the box
// (thumbnail) or at natural size. Double click asks for the viewer.
class PictureThumbnail : public QLabel {
    Q_OBJECT
public:
    explicit PictureThumbnail(QWidget* parent = nullptr);
    // Shows `picture`; fitted into `box` when `thumbnail` is set.
    void ShowPicture(const PictureImage& picture, QSize box, bool thumbnail);
    void Clear();
    QSize NaturalSize() const { return natural_; }

Q_SIGNALS:
    void doubleClicked();

protected:
    void mouseDoubleClickEvent(QMouseEvent* event) override;

private:
    QSize natural_;
};

// "Folianto: Bild zum Literatur-Titel": the picture at natural size, stretched
// with the window; keeps its proportions unless told otherwise.
class TForm_Image : public QDialog {
    Q_OBJECT
public:
    TForm_Image(const QImage& image, QWidget* parent = nullptr);
    ~TForm_Image() override;
    // True while a viewer is open anywhere in the program.
    static bool IsOpen();
    bool KeepsAspect() const;

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void Place();
    void ApplyAspect();

    QImage image_;
    QLabel* label_ = nullptr;
    QScrollArea* box_ = nullptr;
    QAction* keepAspect_ = nullptr;
    QAction* freeScale_ = nullptr;
    double aspect_ = 0.0;
    QSize last_;
    bool placed_ = false;
    bool adjusting_ = false;
};

} // namespace folianto
