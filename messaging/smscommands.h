#pragma once

#include "messaging/composerpreset.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace parlix {

struct AppContext;
struct ProgramState;

// The values of one row of the archive list, by field.
struct ListRowValues
{
    QString cellulare;
    QString cognome;
    QString testo; // message archives only
    QString data;  // message archives only
};

// "Invia SMS Singoli": the last of the ticked rows becomes the selected row
// (with none ticked, the row last clicked stays), and the composer opens for
// its number and surname. `selectedKey` is the key of the selected tree node.
ComposerPreset ismss(ProgramState& state, const QString& selectedKey,
                     const std::vector<ListRowValues>& tickedRows);

// "Invia SMS Multipli": the numbers of the ticked rows, in list order, become
// the recipients. Nothing, after telling the user, when the tree does not show
// an address book.
std::optional<ComposerPreset> ismsm(AppContext& context, const QString& selectedKey,
                                    const QStringList& tickedNumbers);

} // namespace parlix
