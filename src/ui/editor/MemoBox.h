#pragma once
// A memo of the title editor. Very long texts (a pasted document, one
// unbroken line) are wrapped anywhere: wrapping them at word boundaries takes
// the text layout minutes.

#include <QPlainTextEdit>

namespace folianto {

class MemoBox : public QPlainTextEdit {
    Q_OBJECT
public:
    explicit MemoBox(QWidget* parent = nullptr);

    // Sets the text, wrapped as its length allows.
    void SetText(const QString& text);

    // Texts from this length on are wrapped anywhere.
    static constexpr qsizetype LongText = 20000;

protected:
    void insertFromMimeData(const QMimeData* source) override;

private:
    void AdaptWrap(qsizetype length);
};

} // namespace folianto
