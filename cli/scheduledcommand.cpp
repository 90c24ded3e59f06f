#include "scheduledcommand.h"

#include "cli/listedbooks.h"
#include "core/datafolder.h"
#include "core/storechoice.h"
#include "sending/scheduledstore.h"
#include "store/store.h"
#include "store/storeerror.h"

namespace parlix::cli {

int ScheduledCommand::execute(const DataFolder& folder, const QStringList& arguments, Console& console)
{
    if (!arguments.isEmpty()) {
        console.err << "Uso: parlix-cli scheduled\n";
        return Usage;
    }
    const std::optional<QStringList> books = listedBooks(folder, console);
    if (!books)
        return Failed;
    int status = Done;
    const std::shared_ptr<Store> shared = chooseStore(folder);
    for (const QString& book : *books) {
        try {
            ScheduledStore store(*shared, folder.bookPath(book));
            for (const ScheduledBatch& batch : store.waiting()) {
                QString text = batch.text;
                text.replace(QStringLiteral("\r\n"), QStringLiteral(" "))
                    .replace(u'\n', u' ')
                    .replace(u'\t', u' ');
                console.out << book << '\t' << batch.id << '\t'
                            << batch.due.toLocalTime().toString(QStringLiteral("yyyy-MM-ddTHH:mm")) << '\t'
                            << batch.recipients << '\t' << batch.sms << '\t' << text << '\t' << batch.account
                            << '\n';
            }
        } catch (const StoreError& error) {
            console.err << "Rubrica \"" << book << "\": " << error.message() << '\n';
            status = Failed;
        }
    }
    return status;
}

} // namespace parlix::cli
