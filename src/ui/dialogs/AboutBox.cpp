#include "ui/dialogs/AboutBox.h"

#include <QFont>
#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

namespace folianto {

namespace {

// The program logo: an open folio drawn in the window's colours.
QPixmap Logo()
{
    QPixmap pixmap(64, 64);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(60, 40, 20), 2));
    p.setBrush(QColor(150, 30, 30));
    p.drawRoundedRect(6, 8, 52, 48, 4, 4);
    p.setBrush(QColor(250, 245, 230));
    p.drawRect(12, 12, 19, 40);
    p.drawRect(33, 12, 19, 40);
    p.setPen(QPen(QColor(120, 110, 100), 1));
    for (int y = 18; y < 50; y += 5) {
        p.drawLine(15, y, 28, y);
        p.drawLine(36, y, 49, y);
    }
    return pixmap;
}

} // namespace

QString ReleaseStamp()
{
    return QStringLiteral("26-12-06-13-00-00");
}

TUeberForm::TUeberForm(const QString& version, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("UeberForm"));
    setWindowTitle(QStringLiteral("Folianto: Information zum Programm"));
    setWindowFlag(Qt::WindowStaysOnTopHint);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* layout = new QVBoxLayout(this);
    auto* top = new QFrame(this);
    top->setObjectName(QStringLiteral("TopPanel"));
    top->setFrameShape(QFrame::StyledPanel);
    top->setAutoFillBackground(true);
    auto* topLayout = new QHBoxLayout(top);
    auto* logo = new QLabel(top);
    logo->setPixmap(Logo());
    topLayout->addWidget(logo);
    auto* name = new QLabel(QStringLiteral("Quillmar's Folianto"), top);
    QFont big = name->font();
    big.setPointSize(big.pointSize() + 8);
    big.setBold(true);
    name->setFont(big);
    topLayout->addWidget(name, 1);
    auto* subtitle = new QLabel(QStringLiteral("Literaturverwaltung"), top);
    topLayout->addWidget(subtitle);
    layout->addWidget(top);

    auto* line1 = new QLabel(QString(), this);
    line1->setObjectName(QStringLiteral("Label1"));
    layout->addWidget(line1);
    auto* line2 = new QLabel(QStringLiteral("Verbesserungsvorschläge und Anregungen sind jedoch stets willkommen."), this);
    line2->setObjectName(QStringLiteral("Label2"));
    layout->addWidget(line2);
    ReleaseLabel = new QLabel(QStringLiteral("Release:  ") + version + QStringLiteral(" - ") + ReleaseStamp(), this);
    ReleaseLabel->setObjectName(QStringLiteral("ReleaseLabel"));
    layout->addWidget(ReleaseLabel);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("OKButton"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addStretch();
    layout->addLayout(buttons);
}

} // namespace folianto
