#include "scheduledcommand.h"

#include "cli/listedbooks.h"
#include "cli/report.h"
#include "core/datafolder.h"
#include "core/storechoice.h"
#include "sending/scheduledstore.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QJsonArray>

namespace parlix::cli {

CommandGrammar ScheduledCommand::grammar() const
{
    return {
        0,
        0,
        {},
        {{QStringLiteral("scheduled"),
          QStringLiteral("un oggetto per invio in attesa: book (la rubrica), batch (il numero), due (l'ora, "
                         "AAAA-MM-GGTHH:MM), recipients (i destinatari), sms, text (il testo come scritto), "
                         "account (il login del gateway)")}}};
}

int ScheduledCommand::execute(const DataFolder& folder, const QStringList&, Console& console)
{
    const std::optional<QStringList> books = listedBooks(folder, console);
    if (!books)
        return Failed;
    int status = Done;
    QJsonArray scheduled;
    const std::shared_ptr<Store> shared = chooseStore(folder);
    for (const QString& book : *books) {
        try {
            ScheduledStore store(*shared, folder.bookPath(book));
            for (const ScheduledBatch& batch : store.waiting()) {
                const QString due = batch.due.toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm"));
                scheduled.append(QJsonObject{{QStringLiteral("book"), book},
                                             {QStringLiteral("batch"), batch.id},
                                             {QStringLiteral("due"), due},
                                             {QStringLiteral("recipients"), batch.recipients},
                                             {QStringLiteral("sms"), batch.sms},
                                             {QStringLiteral("text"), batch.text},
                                             {QStringLiteral("account"), batch.account}});
                if (console.json)
                    continue;
                QString text = batch.text;
                text.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                    .replace(u'\n', u' ')
                    .replace(u'\t', u' ');
                console.out << book << '\t' << batch.id << '\t' << due << '\t' << batch.recipients << '\t'
                            << batch.sms << '\t' << text << '\t' << batch.account << '\n';
            }
        } catch (const StoreError& error) {
            console.err << "Rubrica \"" << book << "\": " << error.message() << '\n';
            status = Failed;
        }
    }
    report(console, {{QStringLiteral("scheduled"), scheduled}}, {});
    return status;
}

} // namespace parlix::cli
