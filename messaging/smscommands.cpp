#include "smscommands.h"

#include "core/appcontext.h"
#include "core/dialogs.h"

namespace parlix {

ComposerPreset singleSendPreset(const std::vector<ListRowValues>& tickedRows,
                                const ListRowValues& selectedRow)
{
    const ListRowValues& row = tickedRows.empty() ? selectedRow : tickedRows.back();
    return ComposerPreset::single(row.cellulare, row.cognome);
}

std::optional<ComposerPreset> multipleSendPreset(AppContext& context, const QString& selectedKey,
                                                 const QStringList& tickedNumbers)
{
    if (!selectedKey.startsWith(u'r')) {
        context.dialogs.message(QStringLiteral("selezionare un Archivio Valido"), MessageIcon::Critical);
        return std::nullopt;
    }
    return ComposerPreset::multiple(tickedNumbers);
}

} // namespace parlix
