#include "csvimport.h"

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "store/storeerror.h"
#include "transfer/contactwriter.h"

#include <QFile>
#include <QFileInfo>

namespace parlix {

CsvImportResult CsvImport::run(const QString& file, const QString& book, const Progress& progress)
{
    using Status = CsvImportResult::Status;
    CsvImportResult result;
    try {
        if (book.isEmpty() || !BookCatalog(state_).isStored(book)) {
            result.status = Status::BookMissing;
            return result;
        }
        QFile source(file);
        if (!source.open(QIODevice::ReadOnly) || !QFileInfo(file).isFile()) {
            result.status = Status::FileUnreadable;
            return result;
        }
        const QByteArray bytes = source.readAll();
        if (source.error() != QFileDevice::NoError) {
            result.status = Status::FileUnreadable;
            return result;
        }
        source.close();

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

QString stoppedImportMessage(const CsvImportResult& result)
{
    if (!result.stop)
        return {};
    return QStringLiteral("Importazione interrotta alla riga %1: \"%2\"\rContatti importati: %3")
        .arg(QString::number(result.stop->number), result.stop->text, QString::number(result.imported));
}

} // namespace parlix
