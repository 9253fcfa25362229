#include "ui/editor/PictureWidgets.h"

#include "core/Trace.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QMenu>
#include <QPainter>
#include <QScreen>
#include <QScrollArea>
#include <QSvgRenderer>
#include <QVBoxLayout>

namespace folianto {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// Vector pictures are drawn at most this large on either side.
constexpr int MaxVectorSide = 4096;

QSize ToQSize(PicSize s) { return {s.Width, s.Height}; }
PicSize ToPicSize(QSize s) { return {s.width(), s.height()}; }

int openViewers = 0;

} // namespace

PictureImage DecodePictureImage(const DecodedPicture& picture, std::optional<QSize> thumbnailBox)
{
    PictureImage result;
    if (picture.IsVector()) {
        QSvgRenderer renderer(QByteArray::fromStdString(picture.Svg));
        if (!renderer.isValid())
            return result;
        QSize natural = picture.Natural.Width > 0 ? ToQSize(picture.Natural) : renderer.defaultSize();
        if (natural.isEmpty())
            return result;
        QSize drawn = natural.boundedTo({MaxVectorSide, MaxVectorSide});
        if (thumbnailBox) {
            const ThumbnailShape fit = ThumbnailFit(ToPicSize(natural), ToPicSize(*thumbnailBox));
            drawn = ToQSize(fit.Size).boundedTo(drawn);
        }
        if (drawn != natural)
            drawn = natural.scaled(drawn, Qt::KeepAspectRatio).expandedTo({1, 1});
        QImage image(drawn, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        renderer.render(&painter);
        painter.end();
        result.Image = image;
        result.Natural = natural;
        return result;
    }
    if (picture.Pixels.empty())
        return result;
    const QImage view(picture.Pixels.data(), picture.Size.Width, picture.Size.Height, picture.Size.Width * 3,
                      QImage::Format_RGB888);
    result.Image = view.copy();
    result.Natural = ToQSize(picture.Natural);
    return result;
}

PictureImage LoadPictureImage(const PictureSlot& slot, std::optional<QSize> thumbnailBox)
{
    TraceScope trace("PictureWidgets.LoadPictureImage", slot.Title);
    const std::optional<std::vector<uint8_t>> bytes = PictureBytes(slot);
    if (!bytes)
        return {};
    std::optional<PicSize> box;
    if (thumbnailBox)
        box = ToPicSize(*thumbnailBox);
    return DecodePictureImage(DecodePicture(bytes->data(), bytes->size(), PicFormat(slot.Kind), box), thumbnailBox);
}

PictureThumbnail::PictureThumbnail(QWidget* parent) : QLabel(parent)
{
    setObjectName(QStringLiteral("Image"));
    setToolTip(U("Doppelklick öffnet großes Fenster"));
    setAccessibleName(U("Bild"));
    setAlignment(Qt::AlignLeft | Qt::AlignTop);
    setScaledContents(true);
}

void PictureThumbnail::ShowPicture(const PictureImage& picture, QSize box, bool thumbnail)
{
    natural_ = picture.Natural;
    if (picture.Image.isNull()) {
        Clear();
        return;
    }
    QSize shown = natural_;
    if (thumbnail)
        shown = ToQSize(ThumbnailFit(ToPicSize(natural_), ToPicSize(box)).Size);
    setPixmap(QPixmap::fromImage(picture.Image));
    setFixedSize(shown);
}

void PictureThumbnail::Clear()
{
    natural_ = {};
    clear();
    setFixedSize(0, 0);
}

void PictureThumbnail::mouseDoubleClickEvent(QMouseEvent* event)
{
    QLabel::mouseDoubleClickEvent(event);
    Q_EMIT doubleClicked();
}

TForm_Image::TForm_Image(const QImage& image, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint), image_(image)
{
    TraceScope trace("TForm_Image.Create");
    ++openViewers;
    setObjectName(QStringLiteral("Form_Image"));
    setWindowTitle(QStringLiteral("Folianto: Bild zum Literatur-Titel"));
    setSizeGripEnabled(true);
    setAttribute(Qt::WA_DeleteOnClose, false);

    box_ = new QScrollArea(this);
    box_->setObjectName(QStringLiteral("ScrollBox"));
    box_->setWidgetResizable(true);
    box_->setFrameShape(QFrame::NoFrame);
    label_ = new QLabel(box_);
    label_->setObjectName(QStringLiteral("Image"));
    label_->setAccessibleName(U("Bild"));
    label_->setScaledContents(true);
    label_->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored); // stretched with the window
    label_->setPixmap(QPixmap::fromImage(image_));
    box_->setWidget(label_);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(box_);

    auto* group = new QActionGroup(this);
    keepAspect_ = new QAction(U("&Seitenverhältnis beibehalten"), group);
    freeScale_ = new QAction(U("&frei skalierber"), group);
    for (QAction* a : {keepAspect_, freeScale_}) {
        a->setCheckable(true);
        addAction(a);
    }
    keepAspect_->setObjectName(QStringLiteral("KeepAspect"));
    freeScale_->setObjectName(QStringLiteral("FreeScale"));
    keepAspect_->setChecked(true);
    connect(keepAspect_, &QAction::triggered, this, [this] { ApplyAspect(); });

    resize(image_.size() + QSize(10, 10));
}

TForm_Image::~TForm_Image() { --openViewers; }

bool TForm_Image::IsOpen() { return openViewers > 0; }

bool TForm_Image::KeepsAspect() const { return keepAspect_->isChecked(); }

void TForm_Image::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!placed_)
        Place();
}

void TForm_Image::Place()
{
    TraceScope trace("TForm_Image.FormActivate");
    placed_ = true;
    aspect_ = image_.height() > 0 ? static_cast<double>(image_.width()) / image_.height() : 0.0;
    last_ = image_.size();
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1280, 1024);
    const ViewerPlacement p = ViewerInitialPlacement(ToPicSize(image_.size()), ToPicSize(area.size()));
    // The sizes count the frame; Qt sizes the client area.
    const QSize frame = frameGeometry().size() - size();
    QSize client = (ToQSize(p.Size) - frame).expandedTo({1, 1});
    // The new size is a resize from the picture's own: the proportions rule applies.
    if (KeepsAspect())
        client = ToQSize(ViewerAspectSize(ToPicSize(last_), ToPicSize(client), aspect_));
    adjusting_ = true;
    resize(client);
    adjusting_ = false;
    last_ = client;
    QPoint at = pos();
    if (p.X)
        at.setX(area.x() + *p.X);
    if (p.Y)
        at.setY(area.y() + *p.Y);
    move(at);
}

void TForm_Image::resizeEvent(QResizeEvent* event)
{
    QDialog::resizeEvent(event);
    if (!adjusting_ && placed_ && KeepsAspect())
        ApplyAspect();
}

void TForm_Image::ApplyAspect()
{
    if (aspect_ == 0.0)
        return;
    const QSize wanted = ToQSize(ViewerAspectSize(ToPicSize(last_), ToPicSize(size()), aspect_));
    last_ = wanted;
    if (wanted != size()) {
        adjusting_ = true;
        resize(wanted);
        adjusting_ = false;
    }
}

void TForm_Image::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    menu.setObjectName(QStringLiteral("PopupMenu"));
    menu.addAction(keepAspect_);
    menu.addAction(freeScale_);
    menu.exec(event->globalPos());
}

} // namespace folianto
