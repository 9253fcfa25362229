#include "ui/dialogs/WaitForms.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace folianto {

namespace {
QProgressBar* MakeGauge(QWidget* parent)
{
    auto* gauge = new QProgressBar(parent);
    gauge->setRange(0, 100);
    gauge->setValue(0);
    gauge->setTextVisible(true);
    return gauge;
}
} // namespace

TWaitForm::TWaitForm(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("WaitForm"));
    setWindowTitle(QStringLiteral("Systemmeldung"));
    setModal(false);
    auto* layout = new QVBoxLayout(this);
    Label = new QLabel(this);
    Label->setAlignment(Qt::AlignCenter);
    Label->setMinimumWidth(320);
    Label->setMinimumHeight(48);
    layout->addWidget(Label, 1);
    auto* bottom = new QFrame(this);
    bottom->setFrameShape(QFrame::StyledPanel);
    auto* bottomLayout = new QVBoxLayout(bottom);
    Gauge = MakeGauge(bottom);
    bottomLayout->addWidget(Gauge);
    layout->addWidget(bottom);
}

void TWaitForm::SetText(const QString& text) { Label->setText(text); }
void TWaitForm::SetProgress(int percent) { Gauge->setValue(percent); }

TGaugeForm::TGaugeForm(const QString& caption, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("GaugeForm"));
    setWindowTitle(caption);
    setModal(false);
    setCursor(Qt::WaitCursor);
    auto* layout = new QVBoxLayout(this);
    Label = new QLabel(this);
    Label->setWordWrap(true);
    Label->setMinimumWidth(360);
    layout->addWidget(Label, 1);
    Gauge = MakeGauge(this);
    layout->addWidget(Gauge);
}

void TGaugeForm::SetText(const QString& text) { Label->setText(text); }
void TGaugeForm::SetProgress(int percent) { Gauge->setValue(percent); }

void TGaugeForm::AllowCancel()
{
    setWindowModality(Qt::ApplicationModal);
    CancelButton = new QPushButton(QStringLiteral("Abbrechen"), this);
    CancelButton->setObjectName(QStringLiteral("CancelButton"));
    CancelButton->setAccessibleName(QStringLiteral("Abbrechen"));
    CancelButton->setCursor(Qt::ArrowCursor);
    auto* row = new QHBoxLayout;
    row->addStretch();
    row->addWidget(CancelButton);
    static_cast<QVBoxLayout*>(layout())->addLayout(row);
    connect(CancelButton, &QPushButton::clicked, this, [this] {
        cancelled_ = true;
        CancelButton->setEnabled(false);
        Label->setText(QStringLiteral("Wird abgebrochen ..."));
    });
}

// The form stays until the work has stopped; closing it only asks for that.
void TGaugeForm::reject()
{
    if (!CancelButton)
        QDialog::reject();
    else if (CancelButton->isEnabled())
        CancelButton->click();
}

} // namespace folianto
