#include "csvimport.h"

#include "core/programstate.h"
#include "transfer/contactimport.h"
#include "transfer/contactwriter.h"

#include <QFile>
#include <QTemporaryFile>

namespace parlix {

namespace {

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
    return contactimport::fromFile<CsvImportResult>(
        file, [&](QFile& source) { return run(source, book, progress); });
}

CsvImportResult CsvImport::run(QIODevice& source, const QString& book, const Progress& progress)
{
    using Status = CsvImportResult::Status;
    const auto unreadable = [](const QString& detail) {
        return contactimport::failed<CsvImportResult>(Status::FileUnreadable, detail);
    };
    return contactimport::intoBook<CsvImportResult>(state_, book, [&](const QString& bookPath) {
        // The file is read twice; what can be read only once is kept aside first.
        QTemporaryFile spool;
        QIODevice* input = &source;
        if (source.isSequential()) {
            if (!spoolInto(source, spool))
                return unreadable(source.errorString().isEmpty() ? spool.errorString()
                                                                 : source.errorString());
            input = &spool;
        }

        const csv::Outline outline = csv::outline(*input);
        if (outline.status != csv::Outline::Status::Read) {
            return unreadable(outline.status == csv::Outline::Status::TooLong
                                  ? tooLongText(outline.tooLongLine)
                                  : input->errorString());
        }
        ContactAppender appender(state_, bookPath);
        const int total = outline.contacts;
        int written = 0;
        const bool unchanged = csv::readContacts(*input, outline, [&](const csv::Fields& fields) {
            appender.appendUtf8(fields[0], fields[1], fields[2], fields[3]);
            if (progress && ++written % contactimport::progressStep == 0)
                progress(written, total);
        });
        if (!unchanged) {
            // Nothing is committed: the appender's transaction is undone.
            return unreadable(
                QStringLiteral("il file è cambiato durante l'importazione; nessun contatto importato"));
        }
        appender.commit();
        if (progress)
            progress(total, total);
        CsvImportResult result;
        result.imported = total;
        result.stop = outline.stop;
        result.status = outline.stop ? Status::Stopped : Status::Done;
        return result;
    });
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
