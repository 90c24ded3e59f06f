#include "core/programstate.h"
#include "tests/support/testhome.h"
#include "transfer/vcardexport.h"
#include "transfer/vcardimport.h"

#include <QBuffer>
#include <QFile>

#include <gtest/gtest.h>

// Readable failures.
void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}

using namespace parlix;
using Status = VcardImportResult::Status;

namespace {

QByteArray sample(const char* name)
{
    QFile file(QStringLiteral(PARLIX_TEST_DATA_DIR "/vcard/") + QString::fromUtf8(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("missing sample");
}

QStringList rubrica(test::TestHome& home, const QString& book = QStringLiteral("Principale"))
{
    return home.rows(home.state.folder.bookPath(book), QStringLiteral("rubrica"));
}

} // namespace

TEST(VcardImport, ReadsTheCardsOfPhonesWebmailAndDesktopBooks)
{
    const QByteArray longLine = "PHOTO;ENCODING=b;TYPE=JPEG:" + QByteArray(40000, 'A') + "\r\n";
    const struct Row
    {
        const char* what;
        QByteArray bytes;
        QStringList rows;
        Status status = Status::Done;
        int withoutNumber = 0;
        int unreadable = 0;
        QStringList withoutNumberNames = {};
    } rows[] = {
        {"a phone's 2.1 cards: quoted-printable Latin-1, soft line breaks, bare types, a picture",
         sample("phone21.vcf"),
         {QStringLiteral("Niccolò|Perrè|3475551234|niccolo.perre@example.it|4"),
          QStringLiteral("Maria Lucrezia|Santàgata|3381112233||4")}},
        {"webmail's 3.0 cards: type lists, groups, folding, no structured name, a mobile found by its plan",
         sample("webmail30.vcf"),
         {QStringLiteral("Giulia|Ferri|3405556677|giulia.ferri@example.com|4"),
          QStringLiteral("Pier Luigi|De Santis|3495550202|pierluigi@ferramenta-de-santis.example.it|4")}},
        {"4.0 cards: tel: addresses, quoted type lists, a foreign mobile, LF line ends",
         sample("desktop40.vcf"),
         {QStringLiteral("Anna Maria|La Rosa|3335554455|annamaria.larosa@example.it|4"),
          QStringLiteral("Jean|Dupont|+33655551234||4")}},
        {"undeclared Windows-1252 text",
         sample("ansi21.vcf"),
         {QStringLiteral("Nicolò|Caffè|3357778899|caffè@example.it|4")}},
        {"cards without a number and cards cut short are counted, the good one imported",
         sample("broken.vcf"),
         {QStringLiteral("Carlo|Buono|3200000002||4")},
         Status::Done,
         2,
         2,
         {QStringLiteral("Senza Numero"), QStringLiteral("Centralino")}},
        {"a picture on one line longer than any line is read",
         "BEGIN:VCARD\r\nVERSION:3.0\r\nN:Foto;Lunga\r\n" + longLine + "TEL:3201234567\r\nEND:VCARD\r\n",
         {QStringLiteral("Lunga|Foto|3201234567||4")}},
        {"a kept value too long to be a contact's",
         "BEGIN:VCARD\r\nN:" + longLine + "TEL:1\r\nEND:VCARD\r\n",
         {},
         Status::Done,
         0,
         1},
        {"a file with no card", sample("notvcard.vcf"), {}, Status::NoCards},
        {"an empty file", "", {}, Status::NoCards},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        test::TestHome home;
        QBuffer source;
        source.setData(row.bytes);
        source.open(QIODevice::ReadOnly);
        const VcardImportResult result = VcardImport(home.state).run(source, QStringLiteral("Principale"));
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(rubrica(home), row.rows);
        EXPECT_EQ(result.imported, row.rows.size());
        EXPECT_EQ(result.withoutNumber, row.withoutNumber);
        EXPECT_EQ(result.withoutNumberNames, row.withoutNumberNames);
        EXPECT_EQ(result.unreadable, row.unreadable);
    }
}

TEST(VcardImport, ReportsTheCardsLeftOutAndWritesNothingForAMissingBook)
{
    test::TestHome home;
    const QString file = QStringLiteral(PARLIX_TEST_DATA_DIR "/vcard/broken.vcf");
    std::vector<int> progress;
    const VcardImportResult result =
        VcardImport(home.state).run(file, QStringLiteral("Principale"), [&](int done, int total) {
            progress.push_back(done);
            EXPECT_EQ(total, 0); // under 1 KiB
        });
    EXPECT_EQ(progress, std::vector<int>{0});
    EXPECT_EQ(
        vcardImportReport(result),
        QStringLiteral("Contatti importati: 1\rSchede senza numero di telefono, non importate: 2 "
                       "(Senza Numero, Centralino)\rSchede incomplete o non leggibili, non importate: 2"));

    EXPECT_EQ(VcardImport(home.state).run(file, QStringLiteral("Altra")).status, Status::BookMissing);
    EXPECT_FALSE(QFile::exists(home.state.folder.bookPath(QStringLiteral("Altra"))));
    EXPECT_EQ(VcardImport(home.state).run(home.dir.path(), QStringLiteral("Principale")).status,
              Status::FileUnreadable);
}

TEST(VcardTransfer, ExportedBookImportsIntoAnEmptyBookUnchanged)
{
    test::TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Vuota")});
    const QString book = QStringLiteral("Principale");
    home.addContact(book, QStringLiteral("Mario"), QStringLiteral("Rossi"), QStringLiteral("3331234567"),
                    QStringLiteral("mario.rossi@example.it"));
    home.addContact(book, QStringLiteral("Anna Maria"), QStringLiteral("D'Amico; Jr, \\ detta \"Nina\""),
                    QStringLiteral("+33655551234"), QString());
    // Long enough to be folded, with two-octet letters across the folds.
    const QString longName = QString(30, QChar(0xE8)) + QStringLiteral(" Zanè Ferrè Lòpez Mùller Ñuñez");
    home.addContact(book, longName, QStringLiteral("Ùltimo"), QStringLiteral("3470000000"),
                    QStringLiteral("lungo@example.it"));

    const QString file = home.dir.filePath(QStringLiteral("rubrica.vcf"));
    const VcardExportResult exported =
        writeVcardFile(file, [&](const VcardSink& sink) { return writeVcardBook(home.state, book, sink); });
    EXPECT_EQ(exported.status, VcardExportResult::Status::Done);
    EXPECT_EQ(exported.exported, 3);
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    const QByteArray text = written.readAll();
    EXPECT_TRUE(text.startsWith("BEGIN:VCARD\r\nVERSION:3.0\r\nN:Rossi;Mario;;;\r\nFN:Mario Rossi\r\n"
                                "TEL;TYPE=CELL:3331234567\r\nEMAIL;TYPE=INTERNET:mario.rossi@example.it\r\n"
                                "END:VCARD\r\nBEGIN:VCARD\r\nVERSION:3.0\r\n"
                                "N:D'Amico\\; Jr\\, \\\\ detta \"Nina\";Anna Maria;;;\r\n"))
        << text.constData();
    for (const QByteArray& line : text.split('\n')) {
        EXPECT_LE(line.size(), 76) << line.constData(); // 75 octets and the CR
        EXPECT_TRUE(line.endsWith('\r') || line.isEmpty());
    }

    const VcardImportResult imported = VcardImport(home.state).run(file, QStringLiteral("Vuota"));
    EXPECT_EQ(imported.imported, 3);
    EXPECT_EQ(rubrica(home, QStringLiteral("Vuota")), rubrica(home, book));
}
