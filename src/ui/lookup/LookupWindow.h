#pragma once
// "Titel | Nach ISBN/DOI aufnehmen...": one input line (typed, pasted or
// scanned identifiers), the list of their states, "Übernehmen".

#include <QDialog>

#include <memory>

class QLineEdit;
class QListWidget;
class QPushButton;

namespace folianto {

struct Workspace;
class LookupQueue;

class LookupWindow : public QDialog {
    Q_OBJECT
public:
    explicit LookupWindow(Workspace& ws, QWidget* parent = nullptr);
    ~LookupWindow() override;

    LookupQueue& Queue() const { return *queue_; }
    // Adds text of one or more lines to the queue.
    void AddText(const QString& text);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void reject() override;

private:
    void ShowRow(int row);
    void ApplyEnabled();

    Workspace& ws_;
    std::unique_ptr<LookupQueue> queue_;
    QLineEdit* input_ = nullptr;
    QListWidget* list_ = nullptr;
    QPushButton* takeOver_ = nullptr;
    QPushButton* copyNotFound_ = nullptr;
    QPushButton* cancel_ = nullptr;
};

// Runs the window modally; returns the number of titles taken over.
int RunLookupWindow(Workspace& ws, QWidget* parent);

} // namespace folianto
