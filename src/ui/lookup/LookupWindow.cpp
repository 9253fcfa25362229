#include "ui/lookup/LookupWindow.h"

#include "core/Codec.h"
#include "lookup/LookupQueue.h"
#include "workspace/Workspace.h"

#include <QApplication>
#include <QClipboard>
#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace folianto {
namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QPushButton* Button(const QString& caption, const char* name, QWidget* parent)
{
    auto* b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    b->setAutoDefault(false);
    return b;
}

} // namespace

LookupWindow::LookupWindow(Workspace& ws, QWidget* parent)
    : QDialog(parent), ws_(ws),
      queue_(std::make_unique<LookupQueue>(ws, ReadLookupSources(ws.settings.Nachschlagen)))
{
    setObjectName(QStringLiteral("LookupWindow"));
    setWindowTitle(U("Nach ISBN/DOI aufnehmen"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(U("&ISBN oder DOI (Eingabe, Einfügen oder Scanner):"), this);
    input_ = new QLineEdit(this);
    input_->setObjectName(QStringLiteral("LookupInput"));
    input_->setAccessibleName(U("ISBN oder DOI"));
    label->setBuddy(input_);
    input_->installEventFilter(this);
    layout->addWidget(label);
    layout->addWidget(input_);

    auto* listLabel = new QLabel(U("&Gesuchte Titel:"), this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("LookupList"));
    list_->setAccessibleName(U("Gesuchte Titel"));
    listLabel->setBuddy(list_);
    layout->addWidget(listLabel);
    layout->addWidget(list_, 1);

    auto* buttons = new QHBoxLayout;
    takeOver_ = Button(U("&Übernehmen"), "UebernehmenButton", this);
    copyNotFound_ = Button(U("Nicht gefundene &kopieren"), "NichtGefundeneButton", this);
    cancel_ = Button(U("&Abbrechen"), "AbbrechenButton", this);
    QPushButton* close = Button(U("&Schließen"), "SchliessenButton", this);
    buttons->addWidget(takeOver_);
    buttons->addWidget(copyNotFound_);
    buttons->addStretch();
    buttons->addWidget(cancel_);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(input_, &QLineEdit::returnPressed, this, [this] {
        AddText(input_->text());
        input_->clear();
    });
    connect(takeOver_, &QPushButton::clicked, this, [this] {
        queue_->TakeOver();
        ApplyEnabled();
    });
    connect(copyNotFound_, &QPushButton::clicked, this, [this] {
        QApplication::clipboard()->setText(FromCp1252(queue_->NotFoundText()));
    });
    connect(cancel_, &QPushButton::clicked, this, [this] {
        queue_->cancel();
        ApplyEnabled();
    });
    connect(close, &QPushButton::clicked, this, &LookupWindow::reject);
    connect(queue_.get(), &LookupQueue::entryAdded, this, [this](int row) {
        list_->addItem(QString());
        ShowRow(row);
    });
    connect(queue_.get(), &LookupQueue::entryChanged, this, &LookupWindow::ShowRow);
    ApplyEnabled();
}

LookupWindow::~LookupWindow() = default;

void LookupWindow::AddText(const QString& text)
{
    queue_->add(ToCp1252(text));
    ApplyEnabled();
}

void LookupWindow::ShowRow(int row)
{
    if (QListWidgetItem* item = list_->item(row)) {
        const LookupQueue::Entry& e = queue_->entries()[static_cast<std::size_t>(row)];
        item->setText(FromCp1252(e.Id.Text) + QStringLiteral("  \u2013  ") + FromCp1252(queue_->StateText(row)));
    }
    ApplyEnabled();
}

void LookupWindow::ApplyEnabled()
{
    takeOver_->setEnabled(queue_->countIn(LookupQueue::State::Found) > 0);
    copyNotFound_->setEnabled(!queue_->NotFoundText().empty());
    cancel_->setEnabled(queue_->busy());
}

bool LookupWindow::eventFilter(QObject* watched, QEvent* event)
{
    // Many identifiers pasted at once join the queue line by line.
    if (watched == input_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->matches(QKeySequence::Paste)) {
        const QString text = QApplication::clipboard()->text();
        if (text.contains(QLatin1Char('\n'))) {
            AddText(text);
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void LookupWindow::reject()
{
    queue_->cancel();
    QDialog::reject();
}

int RunLookupWindow(Workspace& ws, QWidget* parent)
{
    LookupWindow window(ws, parent);
    window.exec();
    return window.Queue().countIn(LookupQueue::State::Taken);
}

} // namespace folianto
