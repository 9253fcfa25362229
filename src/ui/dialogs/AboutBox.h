#pragma once
// The about box of the program.

#include <QDialog>

class QLabel;

namespace folianto {

class TUeberForm : public QDialog {
    Q_OBJECT
public:
    // `version` is the program's file version text.
    explicit TUeberForm(const QString& version, QWidget* parent = nullptr);

    QLabel* ReleaseLabel;
};

// Release stamp of this build: six two-digit numbers joined by hyphens.
QString ReleaseStamp();

} // namespace folianto
