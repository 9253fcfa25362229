#pragma once
// The help window: German pages with contents and an index.

#include "ui/help/HelpTopics.h"

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace folianto {

class HelpWindow : public QWidget {
    Q_OBJECT
public:
    explicit HelpWindow(QWidget* parent = nullptr);

    // Opens the page of a help context number (the overview when unknown).
    void ShowContext(int context);
    // Opens the contents and index.
    void ShowContents();

    // Resource path of the page of a context number.
    static QString PageOf(int context);

    QTextBrowser* Browser;
    QTreeWidget* Contents;
    QListWidget* Index;

private:
    void ShowPage(const QString& page);
    void FilterIndex(const QString& text);

    QTabWidget* tabs_;
    QLineEdit* indexSearch_;
};

// Help context of the focused control of `window` (or of its nearest parent
// that has one).
int FocusHelpContext(QWidget* window);

} // namespace folianto
