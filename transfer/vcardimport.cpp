#include "vcardimport.h"

#include "contacts/phonenumberloader.h"
#include "core/programstate.h"
#include "transfer/contactimport.h"
#include "transfer/contactwriter.h"
#include "transfer/vcardcards.h"
#include "transfer/vcardcontact.h"
#include "transfer/vcardparserloader.h"

#include <QFile>

namespace parlix {

namespace {

constexpr qsizetype namesShown = 10;

int kib(qint64 bytes)
{
    return int(bytes / 1024);
}

} // namespace

VcardImportResult VcardImport::run(const QString& file, const QString& book, const Progress& progress)
{
    return contactimport::fromFile<VcardImportResult>(
        file, [&](QFile& source) { return run(source, book, progress); });
}

VcardImportResult VcardImport::run(QIODevice& source, const QString& book, const Progress& progress)
{
    using Status = VcardImportResult::Status;
    // Without the parser module no card can be read, nor without the phone
    // number module its mobile number chosen: nothing is imported.
    for (const QString& problem : {vcard::parserModule().problem, phone::numberModule().problem})
        if (!problem.isEmpty())
            return contactimport::failed<VcardImportResult>(Status::FileUnreadable, problem);
    return contactimport::intoBook<VcardImportResult>(state_, book, [&](const QString& bookPath) {
        VcardImportResult result;
        const int total = source.isSequential() ? 0 : kib(source.size());
        ContactAppender appender(state_, bookPath);
        vcard::CardReader reader(source);
        vcard::CardReader::Card card;
        int cards = 0;
        while (reader.next(card)) {
            if (progress && ++cards % contactimport::progressStep == 0)
                progress(kib(reader.position()), total);
            if (!card.complete) {
                ++result.unreadable;
                continue;
            }
            const vcard::CardContact read = vcard::readCard(card.text);
            if (read.contact.cellulare.isEmpty()) {
                if (result.withoutNumber++ < namesShown)
                    result.withoutNumberNames << read.label;
                continue;
            }
            appender.append(read.contact);
            ++result.imported;
        }
        // A read that failed ends the cards as the end of the file would.
        if (const auto* file = qobject_cast<const QFileDevice*>(&source);
            file && file->error() != QFileDevice::NoError)
            return contactimport::failed<VcardImportResult>(Status::FileUnreadable, file->errorString());
        if (!reader.sawCard())
            return contactimport::failed<VcardImportResult>(Status::NoCards);
        appender.commit();
        if (progress)
            progress(kib(reader.position()), total);
        return result;
    });
}

QString vcardImportReport(const VcardImportResult& result)
{
    if (result.withoutNumber == 0 && result.unreadable == 0)
        return {};
    QString report = QStringLiteral("Contatti importati: %1").arg(result.imported);
    if (result.withoutNumber > 0) {
        QStringList names;
        for (const QString& name : result.withoutNumberNames)
            names << (name.isEmpty() ? QStringLiteral("(senza nome)") : name);
        if (result.withoutNumber > names.size())
            names << QStringLiteral("...");
        report += QStringLiteral("\rSchede senza numero di telefono, non importate: %1 (%2)")
                      .arg(result.withoutNumber)
                      .arg(names.join(QStringLiteral(", ")));
    }
    if (result.unreadable > 0)
        report +=
            QStringLiteral("\rSchede incomplete o non leggibili, non importate: %1").arg(result.unreadable);
    return report;
}

} // namespace parlix
