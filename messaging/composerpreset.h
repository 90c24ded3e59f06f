#pragma once

#include <QString>
#include <QStringList>

namespace parlix {

// What a caller fixes before the composer opens.
struct ComposerPreset
{
    enum class Mode { Single, Multiple };

    Mode mode = Mode::Single;
    // The recipient string: one number, or numbers separated by ";" (a final
    // ";" after the last number is dropped when the composer opens).
    QString recipientString;
    // Multiple mode: the numbers served, in order.
    QStringList recipients;
    QString surname;
    QString text;
    // The number's title and the search button are hidden for ticked contacts;
    // a saved message to a list keeps them.
    bool hideNumberBox = false;

    // One recipient with its surname (menu, contact panel, list, search).
    static ComposerPreset single(const QString& number, const QString& surname);
    // A list of numbers, each one as a recipient (ticked contacts).
    static ComposerPreset multiple(const QStringList& numbers);
    // A saved message opened again: a stored number text holding ";" is a
    // list of numbers.
    static ComposerPreset saved(const QString& storedNumbers, const QString& surname, const QString& text);
};

} // namespace parlix
