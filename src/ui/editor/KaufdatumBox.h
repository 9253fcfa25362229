#pragma once
// The purchase date box: a date as "dd.MM.yyyy" or blank. Delete and
// Backspace blank it.

#include <QDateEdit>

#include <optional>

namespace folianto {

class KaufdatumBox : public QDateEdit {
    Q_OBJECT
public:
    explicit KaufdatumBox(QWidget* parent = nullptr);

    // Day count since 30.12.1899; nothing = blank.
    void SetDay(std::optional<double> day);
    std::optional<double> Day() const;
    bool IsBlank() const;

    static double DayOf(const QDate& date);
    static QDate DateOf(double day);

Q_SIGNALS:
    void Entered();
    void Cleared();
    void Chosen(double day);
    void Left();

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    bool setting_ = false;
};

} // namespace folianto
