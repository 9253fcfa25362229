#pragma once
// The two windows shown while long work runs: the wait window of loading and
// saving, and the progress window of longer exports.

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace folianto {

class TWaitForm : public QDialog {
    Q_OBJECT
public:
    explicit TWaitForm(QWidget* parent = nullptr);
    void SetText(const QString& text);
    void SetProgress(int percent);

    QLabel* Label;
    QProgressBar* Gauge;
};

class TGaugeForm : public QDialog {
    Q_OBJECT
public:
    TGaugeForm(const QString& caption, QWidget* parent = nullptr);
    void SetText(const QString& text);
    void SetProgress(int percent);
    // Adds "Abbrechen" (Escape and the close box do the same) and keeps the
    // other windows from input while the form is open.
    void AllowCancel();
    bool Cancelled() const { return cancelled_; }

    QLabel* Label;
    QProgressBar* Gauge;
    QPushButton* CancelButton = nullptr;

    void reject() override;

private:
    bool cancelled_ = false;
};

} // namespace folianto
