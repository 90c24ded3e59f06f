#pragma once

#include <QString>
#include <QStringList>

namespace parlix {

// How a message text is cut into SMS.
enum class SplitMode {
    Fixed, // every 160 characters
    Words, // at the blank nearest to the 160-character limit
};

// Cuts a message text into the parts that go out as separate SMS. Lengths are
// counted in characters of the text as it is, line breaks included.
class MessageSplitter
{
public:
    static constexpr int PartLength = 160;
    static constexpr int MaxParts = 10;

    // The parts for `mode`; a text shorter than one SMS is always one exact
    // part, whatever the mode. An empty text gives no part. The result may hold
    // more than MaxParts parts: the caller refuses such a text.
    static QStringList split(const QString& text, SplitMode mode);

    // Exact slices of 160 characters; nothing is added or removed.
    static QStringList fixed(const QString& text);

    // The text is cut at every single blank into words (two blanks in a row
    // give an empty word; line breaks are not cut points). Each word is added
    // with one blank after it to the current part while that stays within 160
    // characters, otherwise it opens the next part; a part of exactly 160 is
    // closed. So every part ends with a blank and no word straddles two parts.
    // A word too long to fit any part with its blank (more than 159 characters)
    // is cut into pieces of 160 that fill parts of their own, its remainder
    // going on like an ordinary word: no character is ever dropped.
    static QStringList words(const QString& text);
};

} // namespace parlix
