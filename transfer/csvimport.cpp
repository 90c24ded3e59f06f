#include "csvimport.h"

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "core/userfile.h"
#include "store/storeerror.h"
#include "transfer/contactwriter.h"

#include <QFile>

namespace parlix {

CsvImportResult CsvImport::run(const QString& file, const QString& book, const Progress& progress)
{
    QFile source;
    QString problem;
    if (!userfile::openForReading(file, source, &problem)) {
        CsvImportResult result;
        result.status = CsvImportResult::Status::FileUnreadable;
        result.detail = problem;
        return result;
    }
    return run(source, book, progress);
}

CsvImportResult CsvImport::run(QIODevice& source, const QString& book, const Progress& progress)
{
    using Status = CsvImportResult::Status;
    CsvImportResult result;
    try {
        if (book.isEmpty() || !BookCatalog(state_).isStored(book)) {
            result.status = Status::BookMissing;
            return result;
        }
        const QByteArray bytes = source.readAll();
        if (const auto* file = qobject_cast<const QFileDevice*>(&source);
            file && file->error() != QFileDevice::NoError) {
            result.status = Status::FileUnreadable;
            result.detail = file->errorString();
            return result;
        }

        const csv::Reading reading = csv::read(bytes);
        appendContacts(state_, state_.folder.bookPath(book), reading.contacts, progress);
        result.imported = int(reading.contacts.size());
        result.stop = reading.stop;
        result.status = reading.stop ? Status::Stopped : Status::Done;
    } catch (const StoreError& error) {
        result = {};
        result.status = Status::StoreFailed;
        result.detail = error.message();
    }
    return result;
}

QString completedImportMessage(const CsvImportResult& result, const QString& book)
{
    const QString count = result.imported == 1 ? QStringLiteral("1 contatto importato")
                                               : QStringLiteral("%1 contatti importati").arg(result.imported);
    return QStringLiteral("Importazione completata: %1 nella rubrica \"%2\".").arg(count, book);
}

QString stoppedImportMessage(const CsvImportResult& result)
{
    if (!result.stop)
        return {};
    const int last = result.stop->number + result.stop->skipped - 1;
    const QString skipped = result.stop->skipped == 1
                                ? QStringLiteral("Riga non importata: la %1.").arg(result.stop->number)
                                : QStringLiteral("Righe non importate: %1, dalla %2 alla %3.")
                                      .arg(result.stop->skipped)
                                      .arg(result.stop->number)
                                      .arg(last);
    return QStringLiteral(
               "Importazione interrotta alla riga %1: \"%2\"\rContatti importati: %3\r%4\r"
               "Per riprendere, correggere la riga %1 e importare un file con la sola intestazione "
               "e le righe dalla %1 in poi: importando di nuovo l'intero file, i contatti prima "
               "della riga %1 verrebbero ripetuti.")
        // In one pass: the line's own text may hold "%3".
        .arg(QString::number(result.stop->number), result.stop->text, QString::number(result.imported),
             skipped);
}

} // namespace parlix
