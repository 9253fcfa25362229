#include "ui/editor/Memo.h"

#include <QMimeData>

namespace folianto {

TMemo::TMemo(QWidget* parent) : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
}

void TMemo::AdaptWrap(qsizetype length)
{
    const QTextOption::WrapMode mode =
        length >= LongText ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    if (wordWrapMode() != mode)
        setWordWrapMode(mode);
}

void TMemo::SetText(const QString& text)
{
    AdaptWrap(text.size());
    setPlainText(text);
}

void TMemo::insertFromMimeData(const QMimeData* source)
{
    if (source && source->hasText())
        AdaptWrap(document()->characterCount() + source->text().size());
    QPlainTextEdit::insertFromMimeData(source);
}

} // namespace folianto
