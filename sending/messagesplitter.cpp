#include "messagesplitter.h"

namespace parlix {

QStringList MessageSplitter::split(const QString& text, SplitMode mode)
{
    if (mode == SplitMode::Words && text.size() >= PartLength)
        return words(text);
    return fixed(text);
}

QStringList MessageSplitter::fixed(const QString& text)
{
    QStringList parts;
    for (qsizetype start = 0; start < text.size(); start += PartLength)
        parts << text.mid(start, PartLength);
    return parts;
}

namespace {

// Parts being filled by the word rule; `current` is the part that receives the
// next word and may not exist yet.
class WordParts
{
public:
    void addWord(const QString& word)
    {
        QString& part = at(current_);
        if (part.size() + word.size() + 1 > MessageSplitter::PartLength) {
            ++current_;
            at(current_) = word + u' ';
        } else {
            part += word + u' ';
        }
        closeIfFull();
    }

    // A word of more than 159 characters: whole pieces of 160 on parts of
    // their own, then the rest as an ordinary word.
    void addLongWord(const QString& word)
    {
        if (!at(current_).isEmpty())
            ++current_;
        qsizetype start = 0;
        for (; word.size() - start >= MessageSplitter::PartLength; start += MessageSplitter::PartLength) {
            at(current_) = word.mid(start, MessageSplitter::PartLength);
            ++current_;
        }
        if (start < word.size())
            addWord(word.mid(start));
    }

    QStringList result()
    {
        while (!parts_.isEmpty() && parts_.constLast().isEmpty())
            parts_.removeLast();
        return parts_;
    }

private:
    QString& at(qsizetype index)
    {
        while (parts_.size() <= index)
            parts_.append(QString());
        return parts_[index];
    }

    void closeIfFull()
    {
        if (at(current_).size() == MessageSplitter::PartLength)
            ++current_;
    }

    QStringList parts_;
    qsizetype current_ = 0;
};

} // namespace

QStringList MessageSplitter::words(const QString& text)
{
    if (text.isEmpty())
        return {};
    WordParts parts;
    for (const QString& word : text.split(u' ')) {
        if (word.size() > PartLength - 1)
            parts.addLongWord(word);
        else
            parts.addWord(word);
    }
    return parts.result();
}

} // namespace parlix
