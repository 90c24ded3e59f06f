#include "messagetextedit.h"

#include <QKeyEvent>
#include <QMimeData>
#include <QTextCursor>

namespace parlix {

MessageTextEdit::MessageTextEdit(QWidget* parent) : QPlainTextEdit(parent)
{
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // Tab moves to the next control; it is not part of a message.
    setTabChangesFocus(true);
}

QString MessageTextEdit::messageText() const
{
    return toPlainText().replace(u'\n', QStringLiteral("\r\n"));
}

void MessageTextEdit::setMessageText(const QString& text)
{
    QString plain = text;
    plain.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    setPlainText(plain);
}

void MessageTextEdit::appendAtEnd(const QString& text)
{
    setPlainText(toPlainText() + text);
    moveCursor(QTextCursor::End);
}

int MessageTextEdit::messageLength(const QString& plainText)
{
    return int(plainText.size() + plainText.count(u'\n'));
}

int MessageTextEdit::messageLength() const
{
    return messageLength(toPlainText());
}

int MessageTextEdit::room() const
{
    QString selected = textCursor().selectedText();
    selected.replace(QChar::ParagraphSeparator, u'\n');
    return maxLength_ - messageLength() + messageLength(selected);
}

void MessageTextEdit::keyPressEvent(QKeyEvent* event)
{
    if (maxLength_ > 0) {
        const bool newLine = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
        const QString typed = event->text();
        const bool printable = !typed.isEmpty() && typed.front().isPrint();
        if (newLine || printable) {
            const int length = newLine ? 2 : messageLength(typed);
            if (length > room()) {
                event->accept();
                return;
            }
        }
    }
    QPlainTextEdit::keyPressEvent(event);
}

void MessageTextEdit::insertFromMimeData(const QMimeData* source)
{
    if (maxLength_ <= 0 || !source->hasText()) {
        QPlainTextEdit::insertFromMimeData(source);
        return;
    }
    QString text = source->text();
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    // One pass: a line break counts as two characters; never keep half of a
    // surrogate pair.
    const int room = this->room();
    int used = 0;
    qsizetype keep = 0;
    while (keep < text.size()) {
        const int cost = text.at(keep) == u'\n' ? 2 : 1;
        if (used + cost > room)
            break;
        used += cost;
        ++keep;
    }
    if (keep > 0 && keep < text.size() && text.at(keep - 1).isHighSurrogate())
        --keep;
    text.truncate(keep);
    insertPlainText(text);
}

} // namespace parlix
