#include "ericsoftmessages.h"

namespace parlix::ericsoft {

QString folderNotSetText()
{
    return QStringLiteral("Impostare il percorso per gli archivi Ericsoft quindi ripetere il comando");
}

QString completedText()
{
    return QStringLiteral("Importazione Completata");
}

QString unplacedText(const EricsoftImportResult& result)
{
    if (result.unplaced == 0)
        return {};
    QString text = QStringLiteral("Importazione incompleta: contatti importati %1; clienti non importati %2, "
                                  "perché il loro codice di mercato non può essere il nome di una rubrica:")
                       .arg(result.imported)
                       .arg(result.unplaced);
    for (const QString& customer : result.unplacedCustomers)
        text += QStringLiteral("\r\n") + customer;
    if (result.unplaced > result.unplacedCustomers.size())
        text += QStringLiteral("\r\n(e altri %1)").arg(result.unplaced - result.unplacedCustomers.size());
    return text;
}

QString unreadableText()
{
    return QStringLiteral("Controllare che il software Ericsoft non sia in esecuzione\r\n"
                          "Se l'errore persiste contattare l'assistenza su ") +
           QStringLiteral(PARLIX_VENDOR_SITE "/assistenza");
}

QString tableMissingText()
{
    return QStringLiteral("Database non trovato");
}

QString failureText(const EricsoftImportResult& result)
{
    using Status = EricsoftImportResult::Status;
    switch (result.status) {
    case Status::Done:
        return completedText();
    case Status::FolderNotSet:
        return folderNotSetText();
    case Status::Unreadable:
        return unreadableText();
    case Status::TableMissing:
        return tableMissingText();
    case Status::FieldMissing:
        return QStringLiteral("Archivio Ericsoft non valido: nella tabella Anagrafiche manca il campo ") +
               result.detail;
    case Status::StoreFailed:
        return QStringLiteral("Importazione interrotta: ") + result.detail;
    }
    return {};
}

} // namespace parlix::ericsoft
