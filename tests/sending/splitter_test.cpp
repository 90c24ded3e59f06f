#include "sending/messagesplitter.h"

#include <gtest/gtest.h>

using parlix::MessageSplitter;
using parlix::SplitMode;

namespace {

QString letters(int count, char16_t letter = u'a')
{
    return QString(count, QChar(letter));
}

// n words of four letters, each followed by a blank except the last one.
QString fourLetterWords(int n)
{
    QStringList words;
    for (int i = 0; i < n; ++i)
        words << QStringLiteral("w%1").arg(i % 1000, 3, 10, QChar(u'0'));
    return words.join(u' ');
}

TEST(FixedSplit, CutsExactSlicesOf160)
{
    struct Case
    {
        int length;
        QList<int> partLengths;
    };
    for (const Case& c : {Case{0, {}}, Case{1, {1}}, Case{159, {159}}, Case{160, {160}}, Case{161, {160, 1}},
                          Case{1600, QList<int>(10, 160)}, Case{1601, QList<int>(10, 160) << 1}}) {
        QString text;
        for (int i = 0; i < c.length; ++i)
            text += QChar(u'a' + i % 26);
        const QStringList parts = MessageSplitter::split(text, SplitMode::Fixed);
        QList<int> lengths;
        for (const QString& part : parts)
            lengths << int(part.size());
        EXPECT_EQ(lengths, c.partLengths) << "length " << c.length;
        EXPECT_EQ(parts.join(QString()), text) << "length " << c.length;
    }
}

TEST(FixedSplit, LineBreaksCountAsTheyStand)
{
    const QString text = letters(158) + QStringLiteral("\r\nzz");
    EXPECT_EQ(MessageSplitter::split(text, SplitMode::Fixed),
              (QStringList{letters(158) + QStringLiteral("\r\n"), QStringLiteral("zz")}));
}

TEST(WordSplit, ThirtyFourFourLetterWordsFillOnePartAndStartAnother)
{
    const QString text = fourLetterWords(34);
    ASSERT_EQ(text.size(), 169);
    const QStringList words = text.split(u' ');
    const QString first = words.mid(0, 32).join(u' ') + u' ';
    const QString second = words.mid(32).join(u' ') + u' ';
    ASSERT_EQ(first.size(), 160);
    EXPECT_EQ(MessageSplitter::split(text, SplitMode::Words), (QStringList{first, second}));
}

TEST(WordSplit, LastPartOfExactly160CountsNoEmptyPart)
{
    const QString text = fourLetterWords(64);
    // 64 words with their blanks are 320 characters: two full parts.
    const QStringList parts = MessageSplitter::split(text, SplitMode::Words);
    ASSERT_EQ(parts.size(), 2);
    EXPECT_EQ(parts[0].size(), 160);
    EXPECT_EQ(parts[1].size(), 160);
    EXPECT_TRUE(parts[1].endsWith(u' '));
}

TEST(WordSplit, ShortTextIsOneExactPartWithoutAnAddedBlank)
{
    const QString text = fourLetterWords(32).left(159);
    EXPECT_EQ(MessageSplitter::split(text, SplitMode::Words), QStringList{text});
}

TEST(WordSplit, WordThatDoesNotFitMovesWholeToTheNextPart)
{
    const QString text = letters(150) + u' ' + letters(20, u'b');
    EXPECT_EQ(MessageSplitter::words(text), (QStringList{letters(150) + u' ', letters(20, u'b') + u' '}));
}

TEST(WordSplit, DoubleBlanksAndLineBreaksAreKept)
{
    const QString text = QStringLiteral("ciao  a\r\ntutti") + u' ' + letters(150);
    EXPECT_EQ(MessageSplitter::words(text),
              (QStringList{QStringLiteral("ciao  a\r\ntutti "), letters(150) + u' '}));
}

TEST(WordSplit, OverlongWordsAreCutIntoPiecesOf160AndNothingIsDropped)
{
    struct Case
    {
        QString text;
        QStringList parts;
    };
    const QString longWord = letters(400, u'x');
    const Case cases[] = {
        // A word of 160: one full part of its own, the rest goes on.
        {letters(160, u'x') + QStringLiteral(" fine"), {letters(160, u'x'), QStringLiteral("fine ")}},
        // After other words: it starts a part of its own.
        {QStringLiteral("prima ") + longWord + QStringLiteral(" dopo"),
         {QStringLiteral("prima "), letters(160, u'x'), letters(160, u'x'),
          letters(80, u'x') + QStringLiteral(" dopo ")}},
        // A remainder of 159 fills its part with the blank.
        {letters(319, u'x'), {letters(160, u'x'), letters(159, u'x') + u' '}},
    };
    for (const Case& c : cases) {
        const QStringList parts = MessageSplitter::split(c.text, SplitMode::Words);
        EXPECT_EQ(parts, c.parts) << c.text.size();
        QString rejoined = parts.join(QString());
        rejoined.remove(u' ');
        QString original = c.text;
        original.remove(u' ');
        EXPECT_EQ(rejoined, original);
        for (const QString& part : parts)
            EXPECT_LE(part.size(), 160);
    }
}

TEST(WordSplit, LongTextsCanNeedMoreThanTenParts)
{
    // The caller refuses these; the splitter reports them whole.
    EXPECT_EQ(MessageSplitter::split(fourLetterWords(330), SplitMode::Words).size(), 11);
    EXPECT_EQ(MessageSplitter::split(fourLetterWords(320), SplitMode::Words).size(), 10);
}

} // namespace

TEST(WordSplit, AWordWhoseBlankWouldMakeThePart161LongMovesToTheNextPart)
{
    // 151 characters taken; the next word fits only without its blank.
    const QString text = letters(150) + u' ' + letters(9, u'b') + u' ' + letters(5, u'c');
    EXPECT_EQ(MessageSplitter::split(text, SplitMode::Words),
              (QStringList{letters(150) + u' ', letters(9, u'b') + u' ' + letters(5, u'c') + u' '}));
}
