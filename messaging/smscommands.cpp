#include "smscommands.h"

#include "core/appcontext.h"
#include "core/dialogs.h"
#include "core/programstate.h"

namespace parlix {

ComposerPreset ismss(ProgramState& state, const QString& selectedKey,
                     const std::vector<ListRowValues>& tickedRows)
{
    if (!tickedRows.empty()) {
        const ListRowValues& row = tickedRows.back();
        state.cellularesel = row.cellulare;
        state.cognomesel = row.cognome;
        if (!selectedKey.startsWith(u'r')) {
            state.testosel = row.testo;
            state.datasel = row.data;
        }
    }
    return ComposerPreset::single(state.cellularesel, state.cognomesel);
}

std::optional<ComposerPreset> ismsm(AppContext& context, const QString& selectedKey,
                                    const QStringList& tickedNumbers)
{
    if (!selectedKey.startsWith(u'r')) {
        context.dialogs.message(QStringLiteral("selezionare un Archivio Valido"), MessageIcon::Critical);
        return std::nullopt;
    }
    return ComposerPreset::multiple(tickedNumbers);
}

} // namespace parlix
