#include "ui/editor/MemoBox.h"

#include <QMimeData>

namespace folianto {

MemoBox::MemoBox(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

void MemoBox::AdaptWrap(qsizetype length)
{
    const QTextOption::WrapMode mode =
        length >= LongText ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode)
        setWordWrapMode(mode);
}

void MemoBox::SetText(const QString& text)
{
    AdaptWrap(text.size());
    setPlainText(text);
}

void MemoBox::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText())
        AdaptWrap(document()->characterCount() + source->text().size());
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace folianto
