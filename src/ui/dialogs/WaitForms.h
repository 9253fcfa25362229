#pragma once
// The two windows shown while long work runs: the wait window of loading and
// saving, and the progress window of longer exports.

#include <QDialog>

class QLabel;
class QProgressBar;

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

    QLabel* Label;
    QProgressBar* Gauge;
};

} // namespace folianto
