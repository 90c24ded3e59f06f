#include "csvimport.h"

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "core/userfile.h"
#include "store/storeerror.h"
#include "transfer/contactwriter.h"

#include <QFile>
#include <QTemporaryFile>

namespace parlix {

namespace {

constexpr int progressStep = 512;

bool spoolInto(QIODevice& source, QTemporaryFile& spool)
{
    if (!spool.open())
        return false;
    QByteArray block(64 * 1024, Qt::Uninitialized);
    for (;;) {
        const qint64 read = source.read(block.data(), block.size());
        if (read < 0)
            return false;
        // Nothing yet from a pipe or a process: wait for more, or for its end.
        if (read == 0 && !source.waitForReadyRead(-1))
            return spool.flush() && spool.seek(0);
        if (spool.write(block.constData(), read) != read)
            return false;
    }
}

QString tooLongText(int line)
{
    return QStringLiteral("la riga %1 è più lunga di %2 MB, troppo per un elenco di contatti; "
                          "nessun contatto importato")
        .arg(line)
        .arg(csv::maxLineBytes >> 20);
}

} // namespace

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
        // The file is read twice; what can be read only once is kept aside first.
        QTemporaryFile spool;
        QIODevice* input = &source;
        if (source.isSequential()) {
            if (!spoolInto(source, spool)) {
                result.status = Status::FileUnreadable;
                result.detail = source.errorString().isEmpty() ? spool.errorString() : source.errorString();
                return result;
            }
            input = &spool;
        }

        const csv::Outline outline = csv::outline(*input);
        if (outline.status != csv::Outline::Status::Read) {
            result.status = Status::FileUnreadable;
            result.detail = outline.status == csv::Outline::Status::TooLong ? tooLongText(outline.tooLongLine)
                                                                            : input->errorString();
            return result;
        }
        ContactAppender appender(state_, state_.folder.bookPath(book));
        const int total = outline.contacts;
        int written = 0;
        const bool unchanged = csv::readContacts(*input, outline, [&](const csv::Fields& fields) {
            appender.appendUtf8(fields[0], fields[1], fields[2], fields[3]);
            if (progress && ++written % progressStep == 0)
                progress(written, total);
        });
        if (!unchanged) {
            // Nothing is committed: the appender's transaction is undone.
            result.status = Status::FileUnreadable;
            result.detail =
                QStringLiteral("il file è cambiato durante l'importazione; nessun contatto importato");
            return result;
        }
        appender.commit();
        if (progress)
            progress(total, total);
        result.imported = total;
        result.stop = outline.stop;
        result.status = outline.stop ? Status::Stopped : Status::Done;
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
