#include "ui/lookup/EditorLookupDialogs.h"

#include "config/Settings.h"
#include "core/Codec.h"
#include "core/UserInteraction.h"
#include "lookup/LookupClient.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QEventLoop>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressDialog>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace folianto {
namespace {

QString U(const char* utf8)
{
    return QString::fromUtf8(utf8);
}

QDialogButtonBox* OkCancel(QDialog* dialog)
{
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    buttons->button(QDialogButtonBox::Ok)->setText(U("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(U("&Abbrechen"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

EditionChoiceDialog::EditionChoiceDialog(const std::vector<Reference>& editions, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("EditionChoiceDialog"));
    setWindowTitle(U("Ausgabe wählen"));
    auto* layout = new QVBoxLayout(this);
    auto* label = new QLabel(U("Die Quelle kennt mehrere &Ausgaben (Jahr, Auflage, Verlag, Seiten):"), this);
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("EditionList"));
    list_->setAccessibleName(U("Ausgaben"));
    label->setBuddy(list_);
    for (const Reference& e : editions)
        list_->addItem(FromCp1252(e.Title + " \x96 " + EditionSummary(e)));
    list_->setCurrentRow(0);
    layout->addWidget(label);
    layout->addWidget(list_);
    layout->addWidget(OkCancel(this));
    connect(list_, &QListWidget::itemDoubleClicked, this, &QDialog::accept);
}

int EditionChoiceDialog::Chosen() const
{
    return list_->currentRow();
}

FieldChoiceDialog::FieldChoiceDialog(const std::vector<FieldOffer>& offers, QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FieldChoiceDialog"));
    setWindowTitle(U("Gefundene Angaben übernehmen"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(
        U("Diese Felder enthalten schon etwas anderes. Angehakte Felder übernehmen den gefundenen Wert:"), this));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(U("<b>Feld</b>"), this), 0, 0);
    grid->addWidget(new QLabel(U("<b>bisher</b>"), this), 0, 1);
    grid->addWidget(new QLabel(U("<b>gefunden</b>"), this), 0, 2);
    int row = 1;
    for (const FieldOffer& o : offers) {
        auto* box = new QCheckBox(FromCp1252(o.Label), this);
        box->setObjectName(QStringLiteral("Uebernehmen_") + QString::fromLatin1(ControlName(o.Control)));
        box->setAccessibleName(FromCp1252(o.Label) + U(" übernehmen"));
        auto* current = new QLabel(FromCp1252(o.Current), this);
        auto* found = new QLabel(FromCp1252(o.Found), this);
        for (QLabel* l : {current, found}) {
            l->setWordWrap(true);
            l->setTextFormat(Qt::PlainText);
            l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        }
        grid->addWidget(box, row, 0);
        grid->addWidget(current, row, 1);
        grid->addWidget(found, row, 2);
        boxes_.push_back(box);
        ++row;
    }
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(2, 1);
    layout->addLayout(grid);
    layout->addStretch();
    layout->addWidget(OkCancel(this));
    resize(620, sizeHint().height());
}

std::vector<bool> FieldChoiceDialog::Taken() const
{
    std::vector<bool> taken;
    for (const QCheckBox* box : boxes_)
        taken.push_back(box->isChecked());
    return taken;
}

bool RunEditorLookup(TitleEditorModel& model, const Settings& settings, QWidget* parent)
{
    const LookupId id = EditorLookupId(model.Values);
    if (!id.valid()) {
        model.Ui().message(MsgKind::Warning,
                           id.Error.empty() || id.Text.empty()
                               ? Cp1252("Bitte zuerst eine ISBN (oder eine DOI unter \"Quelle:\") eingeben.")
                               : id.Error,
                           Buttons::Ok);
        return false;
    }
    LookupClient client(ReadLookupSources(settings.Nachschlagen));
    client.setTimeoutMs(settings.LookupTimeoutMs);
    QProgressDialog progress(FromCp1252("Suche nach " + id.Text + " ..."), U("&Abbrechen"), 0, 0, parent);
    progress.setObjectName(QStringLiteral("LookupProgress"));
    progress.setWindowTitle(U("Nachschlagen"));
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(300);
    QEventLoop loop;
    LookupOutcome outcome;
    bool done = false;
    client.lookUp(id, [&](const LookupOutcome& o) {
        outcome = o;
        done = true;
        loop.quit();
    });
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, &QEventLoop::quit);
    loop.exec();
    progress.reset();
    if (!done) {
        client.cancel();
        return false;
    }
    if (outcome.state != LookupOutcome::State::Found) {
        std::string text = outcome.state == LookupOutcome::State::NotFound ? id.Text + " wurde nicht gefunden."
                                                                           : "Fehler beim Nachschlagen von " + id.Text + ".";
        if (!outcome.Failures.empty())
            text += "\r\n\r\n" + outcome.FailureText();
        model.Ui().message(MsgKind::Information, text, Buttons::Ok);
        return false;
    }
    std::size_t chosen = 0;
    if (outcome.Editions.size() > 1) {
        EditionChoiceDialog dialog(outcome.Editions, parent);
        if (dialog.exec() != QDialog::Accepted || dialog.Chosen() < 0)
            return false;
        chosen = static_cast<std::size_t>(dialog.Chosen());
    }
    const TitleEditorValues before = model.Values;
    const std::vector<FieldOffer> offers = FillFromLookup(model, outcome.Editions[chosen]);
    if (!offers.empty()) {
        FieldChoiceDialog dialog(offers, parent);
        if (dialog.exec() != QDialog::Accepted) {
            model.Values = before;
            model.ApplyTypePanel();
            return false;
        }
        const std::vector<bool> taken = dialog.Taken();
        for (std::size_t i = 0; i < offers.size(); ++i)
            if (taken[i])
                TakeOffer(model, offers[i]);
    }
    return true;
}

} // namespace folianto
