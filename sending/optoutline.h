#pragma once

#include <QString>

namespace parlix {

class DataFolder;

// The opt-out line: an optional line, set once for the data folder (file
// "esclusione.txt"), that every campaign text gets at its end, e.g. "Per non
// ricevere più SMS rispondi STOP". It is part of the text from then on: its
// length, its split and its credit, and the text kept in "SMS Inviati".
class OptOutLine
{
public:
    // The line set; empty when none.
    static QString load(const DataFolder& folder);
    // Sets the line (empty: none); false when the file cannot be written.
    static bool save(const DataFolder& folder, const QString& line);
    // `text` with `line` on a line of its own at the end; unchanged when the
    // line is empty or the text already ends with it.
    static QString appendTo(const QString& text, const QString& line);

    static QString fileName() { return QStringLiteral("esclusione.txt"); }
};

} // namespace parlix
