#pragma once

#include "messaging/composerpreset.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace parlix {

struct AppContext;

// The values of one row of the archive list, by field.
struct ListRowValues
{
    QString cellulare;
    QString cognome;
    QString testo; // message archives only
    QString data;  // message archives only
};

// "Invia SMS Singoli": the composer opens for the number and surname of the
// last of the ticked rows, or with none ticked of the selected row (empty
// without one).
ComposerPreset singleSendPreset(const std::vector<ListRowValues>& tickedRows,
                                const ListRowValues& selectedRow);

// "Invia SMS Multipli": the numbers of the ticked rows, in list order, become
// the recipients. Nothing, after telling the user, when the tree does not show
// an address book.
std::optional<ComposerPreset> multipleSendPreset(AppContext& context, const QString& selectedKey,
                                                 const QStringList& tickedNumbers);

} // namespace parlix
