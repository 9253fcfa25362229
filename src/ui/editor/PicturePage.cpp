#include "ui/editor/PicturePage.h"

#include "config/Settings.h"
#include "core/Codec.h"
#include "core/Trace.h"
#include "core/UserInteraction.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

namespace folianto {
namespace {

QString U(const char* utf8) { return QString::fromUtf8(utf8); }

// The scroll box of a tab before the page has been laid out.
constexpr QSize DesignBox{440, 300};

QString WithoutMnemonic(QString caption) { return caption.remove(QLatin1Char('&')); }

} // namespace

PicturePage::PicturePage(PictureSlots& pictures, const Settings& settings, UserInteraction& ui, QWidget* parent)
    : QWidget(parent), pictures_(pictures), settings_(settings), ui_(ui)
{
    setObjectName(QStringLiteral("TabSheetBilder"));
    auto* layout = new QHBoxLayout(this);
    tabs_ = new QTabWidget(this);
    tabs_->setObjectName(QStringLiteral("PageControlBilder"));
    for (int i = 0; i < MaxPictures; ++i) {
        QString caption = QStringLiteral("Bild %1").arg(i + 1);
        caption.insert(caption.size() - 1, QLatin1Char('&')); // "Bild &1" .. "Bild 1&0"
        tabs_->addTab(BuildTab(i), caption);
        tabs_->setTabVisible(i, false);
    }
    layout->addWidget(tabs_, 1);
    layout->addWidget(BuildSidePanel());
    connect(tabs_, &QTabWidget::currentChanged, this, &PicturePage::TabChanged);
}

QWidget* PicturePage::BuildTab(int index)
{
    Tab& t = tab_[static_cast<std::size_t>(index)];
    const QString n = QString::number(index + 1);
    t.page = new QWidget(tabs_);
    t.page->setObjectName(QStringLiteral("TabSheetBild") + n);
    auto* column = new QVBoxLayout(t.page);
    t.box = new QScrollArea(t.page);
    t.box->setObjectName(QStringLiteral("ScrollBox") + n);
    t.box->setAccessibleName(U("Bild ") + n);
    t.image = new PictureThumbnail(t.box);
    t.image->setObjectName(QStringLiteral("Image") + n);
    t.box->setWidget(t.image);
    t.title = new QLineEdit(t.page);
    t.title->setObjectName(QStringLiteral("EditBildTitel") + n);
    t.title->setAccessibleName(U("Bildtitel ") + n);
    column->addWidget(t.box, 1);
    column->addWidget(t.title);
    connect(t.title, &QLineEdit::textEdited, this,
            [this, index](const QString& text) { pictures_.TitleEdited(index, ToCp1252(text)); });
    connect(t.image, &PictureThumbnail::doubleClicked, this, &PicturePage::OpenViewer);
    return t.page;
}

QWidget* PicturePage::BuildSidePanel()
{
    auto* panel = new QWidget(this);
    auto* column = new QVBoxLayout(panel);
    column->setContentsMargins(0, 0, 0, 0);
    auto* hint = new QLabel(U("Hinweis:"), panel);
    hint->setObjectName(QStringLiteral("LabelHinweis"));
    auto* note = new QLabel(U("die Darstellung der Bilder kann via Optionen [Bilder] beeinflusst werden!"), panel);
    note->setObjectName(QStringLiteral("LabelHinweisOptionen"));
    note->setWordWrap(true);
    sizeLabel_ = new QLabel(U("Größe:"), panel);
    sizeLabel_->setObjectName(QStringLiteral("LabelGroesse"));
    column->addWidget(hint);
    column->addWidget(note);
    column->addWidget(sizeLabel_);

    auto* choice = new QGroupBox(U(" Auswahl "), panel);
    choice->setObjectName(QStringLiteral("GroupBoxAuswahl"));
    auto* buttons = new QVBoxLayout(choice);
    const auto button = [&](const char* caption, const char* name) {
        auto* b = new QPushButton(U(caption), choice);
        b->setObjectName(QString::fromLatin1(name));
        b->setAccessibleName(WithoutMnemonic(b->text()));
        b->setAutoDefault(false);
        buttons->addWidget(b);
        return b;
    };
    addButton_ = button("Bild &hinzufügen", "ButtonBildHinzufuegen");
    QPushButton* addLink = button("Bild als &Link hinzufügen", "ButtonBildLinkHinzufuegen");
    QPushButton* remove = button("Bild löschen", "ButtonBildLoeschen");
    QPushButton* save = button("Bild speichern unter", "ButtonBildSpeichern");
    column->addWidget(choice);

    auto* storage = new QGroupBox(U(" Bild speichern ... "), panel);
    storage->setObjectName(QStringLiteral("RadioGroupBildSpeichern"));
    storage->setToolTip(U("die Bilddaten können gespeichert werden\n"
                          "1.) in der Folianto-Datendatei gespeichert;\n"
                          "ACHTUNG: dadurch steigt die Dateigröße drastisch an!\n"
                          "2.) als Verknüpfung/Link auf die Bilddatei; es werden also\n"
                          "Pfad und Dateiname gespeichert\n"
                          "ACHTUNG: das Bild MUSS sich dann an der angegebenen Stelle befinden!"));
    auto* radios = new QVBoxLayout(storage);
    storage_ = new QButtonGroup(storage);
    const char* items[] = {"in Daten-Datei", "als Link"};
    for (int i = 0; i < 2; ++i) {
        auto* r = new QRadioButton(U(items[i]), storage);
        r->setObjectName(QStringLiteral("RadioBildSpeichern%1").arg(i));
        r->setAccessibleName(r->text());
        storage_->addButton(r, i);
        radios->addWidget(r);
    }
    storage_->button(0)->setChecked(true);
    column->addWidget(storage);
    column->addStretch(1);
    changing_ = {addButton_, addLink, remove, storage};

    connect(addButton_, &QPushButton::clicked, this, [this] {
        if (pictures_.AddPicture(false))
            ShowSlot(pictures_.Current);
    });
    connect(addLink, &QPushButton::clicked, this, [this] {
        if (pictures_.AddPicture(true))
            ShowSlot(pictures_.Current);
    });
    connect(remove, &QPushButton::clicked, this, [this] {
        const int removed = pictures_.Current;
        pictures_.DeleteCurrent();
        ShowSlot(removed);
        ShowSlot(pictures_.Current);
    });
    connect(save, &QPushButton::clicked, this, [this] { pictures_.SaveCopy(); });
    // idClicked comes from the user only; the page sets the radios itself without it.
    connect(storage_, &QButtonGroup::idClicked, this, [this](int id) {
        pictures_.StorageClicked(id);
        ShowCurrentState();
    });
    return panel;
}

bool PicturePage::Thumbnails() const { return settings_.PicSizeOption == 0; }

QSize PicturePage::BoxSize(const Tab& tab) const
{
    const QSize viewport = tab.box->viewport()->size();
    return tab.box->isVisible() && viewport.width() > 8 && viewport.height() > 8 ? viewport : DesignBox;
}

void PicturePage::Refresh()
{
    TraceScope trace("PicturePage.Refresh");
    for (int i = 0; i < MaxPictures; ++i)
        ShowSlot(i);
}

void PicturePage::ShowSlot(int index)
{
    if (index < 0 || index >= MaxPictures)
        return;
    Tab& t = tab_[static_cast<std::size_t>(index)];
    const PictureSlot& slot = pictures_.Slots[static_cast<std::size_t>(index)];
    const bool shown = slot.HasPicture();
    refreshing_ = true;
    t.picture = {};
    if (shown) {
        std::optional<QSize> box;
        if (Thumbnails())
            box = BoxSize(t);
        t.picture = LoadPictureImage(slot, box);
    }
    FitPicture(t);
    t.title->setText(FromCp1252(slot.Title));
    tabs_->setTabVisible(index, shown);
    if (shown && index == pictures_.Current)
        tabs_->setCurrentIndex(index);
    refreshing_ = false;
    ShowCurrentState();
}

void PicturePage::FitPicture(Tab& t)
{
    if (t.picture.Image.isNull()) {
        t.image->Clear();
        return;
    }
    t.image->ShowPicture(t.picture, BoxSize(t), Thumbnails());
}

void PicturePage::ShowCurrentState()
{
    const PictureSizeLabel label = pictures_.SizeLabel();
    sizeLabel_->setText(FromCp1252(label.Text));
    sizeLabel_->setToolTip(QString(FromCp1252(label.Hint)).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    sizeLabel_->setStyleSheet(label.FileMissing ? QStringLiteral("color: red; font-weight: bold;") : QString());
    {
        const QSignalBlocker block(storage_);
        storage_->button(pictures_.StorageIndex)->setChecked(true);
    }
    for (int i = 0; i < MaxPictures; ++i) {
        const PictureSlot& slot = pictures_.Slots[static_cast<std::size_t>(i)];
        QLineEdit* title = tab_[static_cast<std::size_t>(i)].title;
        title->setEnabled(slot.HasPicture() && !slot.IsLinked());
        title->setReadOnly(readOnly_);
    }
}

void PicturePage::SetReadOnly(bool readOnly)
{
    readOnly_ = readOnly;
    for (QWidget* w : changing_)
        w->setEnabled(!readOnly);
    ShowCurrentState();
}

void PicturePage::TabChanged(int index)
{
    if (refreshing_ || index < 0)
        return;
    pictures_.SelectTab(index);
    ShowCurrentState();
    if (settings_.PicAutoShowOption == 1 && pictures_.Slots[static_cast<std::size_t>(index)].HasPicture())
        OpenViewer();
}

void PicturePage::OpenViewer()
{
    TraceScope trace("PicturePage.OpenViewer");
    const PictureSlot& slot = pictures_.Slots[static_cast<std::size_t>(pictures_.Current)];
    if (!slot.HasPicture())
        return;
    if (TForm_Image::IsOpen()) {
        ui_.message(MsgKind::Error, Cp1252("Erst das Bild-Fenster schließen!"), Buttons::Ok);
        return;
    }
    const PictureImage full = LoadPictureImage(slot);
    if (full.Image.isNull())
        return;
    TForm_Image viewer(full.Image, window());
    viewer.exec();
}

void PicturePage::resizeEvent(QResizeEvent* event)
{
    QWidget::resizeEvent(event);
    for (Tab& t : tab_)
        FitPicture(t);
}

} // namespace folianto
