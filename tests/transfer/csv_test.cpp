#include "core/programstate.h"
#include "store/database.h"
#include "tests/support/fulldisk.h"
#include "tests/support/testhome.h"
#include "transfer/csvexport.h"
#include "transfer/csvformat.h"
#include "transfer/csvimport.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace parlix;

namespace {

Contact contact(const char* nome, const char* cognome, const char* cellulare, const char* email)
{
    return {QString::fromUtf8(nome), QString::fromUtf8(cognome), QString::fromUtf8(cellulare),
            QString::fromUtf8(email), QStringLiteral("4")};
}

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeAll(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

} // namespace

TEST(CsvFormat, ReadsContactsAndTheLineThatStopsThem)
{
    struct Row
    {
        const char* what;
        QByteArray bytes;
        std::vector<Contact> contacts;
        std::optional<csv::StopLine> stop;
        int tooLongLine = 0;
    } rows[] = {
        {"the exported layout",
         "Nome;Cognome;Cellulare;Posta "
         "elettronica\r\nMario;Rossi;3331234567;m@r.it\r\nAnna;Bianchi;3471112222; \r\n",
         {contact("Mario", "Rossi", "3331234567", "m@r.it"), contact("Anna", "Bianchi", "3471112222", " ")},
         {}},
        {"a header in another order",
         "Cellulare;Nome;Cognome;Posta elettronica\r\n333;Mario;Rossi;m@r.it\r\n",
         {contact("Mario", "Rossi", "333", "m@r.it")},
         {}},
        {"a lower-case header matches nothing",
         "nome;cognome;cellulare;email\r\nMario;Rossi;333;m@r.it\r\n",
         {contact("Mario", "Mario", "Mario", "Mario")},
         {}},
        {"a later duplicate name wins",
         "Nome;Cognome;Cellulare;Posta elettronica;Nome\r\na;b;c;d;e\r\n",
         {contact("e", "b", "c", "d")},
         {}},
        {"commas, quotes and blanks are kept",
         "Nome;Cognome;Cellulare;Posta elettronica\r\n \"Mario\" ;Rossi, Jr.;333 ;'x'\r\n",
         {contact(" \"Mario\" ", "Rossi, Jr.", "333 ", "'x'")},
         {}},
        {"a semicolon inside a value shifts the rest",
         "Nome;Cognome;Cellulare;Posta elettronica\r\nMario;Rossi;Jr;333;m@r.it\r\n",
         {contact("Mario", "Rossi", "Jr", "333")},
         {}},
        {"an empty line in the middle ends the import",
         "Nome;Cognome;Cellulare;Posta elettronica\r\na;b;c;d\r\n\r\ne;f;g;h\r\n",
         {contact("a", "b", "c", "d")},
         csv::StopLine{3, {}, 2}},
        {"a short line ends the import",
         "Nome;Cognome;Cellulare;Posta elettronica\r\na;b;c;d\r\ne;f;g\r\ni;j;k;l\r\n",
         {contact("a", "b", "c", "d")},
         csv::StopLine{3, QStringLiteral("e;f;g"), 2}},
        {"Windows-1252 accents",
         "Nome;Cognome;Cellulare;Posta elettronica\r\nNiccol\xF2;Perr\xE8;333;\x80@x.it\r\n",
         {contact("Niccolò", "Perrè", "333", "€@x.it")},
         {}},
        {"UTF-8 with a byte-order mark",
         "\xEF\xBB\xBFNome;Cognome;Cellulare;Posta elettronica\r\nNiccol\xC3\xB2;R;3;e\r\n",
         {contact("Niccolò", "R", "3", "e")},
         {}},
        {"LF line ends and a last line without one",
         "Nome;Cognome;Cellulare;Posta elettronica\na;b;c;d\ne;f;g;h",
         {contact("a", "b", "c", "d"), contact("e", "f", "g", "h")},
         {}},
        {"an empty line stops the import even under a header of one column",
         "Cellulare\n333\n\n444\n",
         {contact("333", "333", "333", "333")},
         csv::StopLine{3, {}, 2}},
        {"a byte that is not UTF-8 after the stop line still makes the file Windows-1252",
         "Cellulare\nNiccol\xC3\xB2\n\n\xE8\n",
         {contact("NiccolÃ²", "NiccolÃ²", "NiccolÃ²", "NiccolÃ²")},
         csv::StopLine{3, {}, 2}},
        {"a UTF-8 sequence cut by the end of the file makes it Windows-1252",
         "Cellulare\n\xC3\xB2\xC3",
         {contact("Ã²Ã", "Ã²Ã", "Ã²Ã", "Ã²Ã")},
         {}},
        {"a line of the longest length is read",
         "Cellulare\r\n" + QByteArray(csv::maxLineBytes, '3') + "\r\n",
         {{QString(csv::maxLineBytes, u'3'), QString(csv::maxLineBytes, u'3'),
           QString(csv::maxLineBytes, u'3'), QString(csv::maxLineBytes, u'3'), QStringLiteral("4")}},
         {}},
        {"a longer line refuses the whole file",
         "Cellulare\r\n333\r\n" + QByteArray(csv::maxLineBytes + 1, '3') + "\r\n444\r\n",
         {},
         {},
         3},
        {"a longer last line without a line end refuses it too",
         "Cellulare\n333\n" + QByteArray(csv::maxLineBytes + 1, '3'),
         {},
         {},
         3},
        {"a longer line after the stop line is only counted",
         "Cellulare\r\n333\r\n\r\n" + QByteArray(3 * csv::maxLineBytes, ';') + "\r\n444",
         {contact("333", "333", "333", "333")},
         csv::StopLine{3, {}, 3}},
        {"a CR alone is text", "Cellulare\na\rb\n", {contact("a\rb", "a\rb", "a\rb", "a\rb")}, {}},
        {"only the header", "Nome;Cognome;Cellulare;Posta elettronica\r\n", {}, {}},
        {"an empty file", "", {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        const csv::Reading reading = csv::read(row.bytes);
        EXPECT_EQ(reading.contacts, row.contacts);
        EXPECT_EQ(reading.stop, row.stop);
        EXPECT_EQ(reading.tooLongLine, row.tooLongLine);
    }
}

TEST(CsvTransfer, ExportedContactsImportIntoAnEmptyBook)
{
    test::TestHome home;
    home.setBooks({QStringLiteral("Principale"), QStringLiteral("Vuota")});
    const QString file = home.dir.filePath(QStringLiteral("contatti.csv"));
    ASSERT_TRUE(writeContactsFile(file, {contact("Mario", "Rossi", "3331234567", "m@r.it"),
                                         contact(" ", "D'Amico; Jr", "3470000000", " ")}));
    EXPECT_EQ(readAll(file), QByteArray("Nome;Cognome;Cellulare;Posta elettronica\r\n"
                                        "Mario;Rossi;3331234567;m@r.it\r\n"
                                        " ;D'Amico; Jr;3470000000; \r\n"));

    std::vector<int> progress;
    const CsvImportResult result =
        CsvImport(home.state).run(file, QStringLiteral("Vuota"), [&](int done, int total) {
            progress.push_back(done);
            EXPECT_EQ(total, 2);
        });
    EXPECT_EQ(result.status, CsvImportResult::Status::Done);
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(progress.back(), 2);
    // The ";" inside the surname shifted the values of the second contact.
    EXPECT_EQ(home.rows(home.state.folder.bookPath(QStringLiteral("Vuota")), QStringLiteral("rubrica")),
              (QStringList{QStringLiteral("Mario|Rossi|3331234567|m@r.it|4"),
                           QStringLiteral(" |D'Amico| Jr|3470000000|4")}));
}

TEST(CsvTransfer, AStoppedImportKeepsTheRowsBeforeTheLineAndSaysWhere)
{
    test::TestHome home;
    home.addContact(QStringLiteral("Principale"), QStringLiteral("Già"), QStringLiteral("Qui"),
                    QStringLiteral("3330000000"));
    const QString file = home.dir.filePath(QStringLiteral("parziale.csv"));
    writeAll(file,
             "Nome;Cognome;Cellulare;Posta elettronica\r\na;b;c;d\r\ne;f;g;h\r\nsolo;%3\r\ni;j;k;l\r\n");

    const CsvImportResult result = CsvImport(home.state).run(file, QStringLiteral("Principale"));
    EXPECT_EQ(result.status, CsvImportResult::Status::Stopped);
    EXPECT_EQ(result.imported, 2);
    EXPECT_EQ(home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("rubrica")),
              (QStringList{QStringLiteral("Già|Qui|3330000000| |4"), QStringLiteral("a|b|c|d|4"),
                           QStringLiteral("e|f|g|h|4")}));
    EXPECT_EQ(
        stoppedImportMessage(result),
        QStringLiteral("Importazione interrotta alla riga 4: \"solo;%3\"\rContatti importati: 2\r"
                       "Righe non importate: 2, dalla 4 alla 5.\rPer riprendere, correggere la riga 4 e "
                       "importare un file con la sola intestazione e le righe dalla 4 in poi: importando di "
                       "nuovo l'intero file, i contatti prima della riga 4 verrebbero ripetuti."));
}

TEST(CsvTransfer, NothingIsCreatedForAMissingBookOrFile)
{
    test::TestHome home;
    const QString file = home.dir.filePath(QStringLiteral("c.csv"));
    writeAll(file, "Nome;Cognome;Cellulare;Posta elettronica\r\na;b;c;d\r\n");
    using Status = CsvImportResult::Status;
    const struct
    {
        QString file;
        QString book;
        Status status;
    } rows[] = {
        {file, QStringLiteral("Rubriche"), Status::BookMissing},
        {file, QString(), Status::BookMissing},
        {home.dir.filePath(QStringLiteral("manca.csv")), QStringLiteral("Principale"),
         Status::FileUnreadable},
        {home.dir.path(), QStringLiteral("Principale"), Status::FileUnreadable},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.file.toStdString() + " " + row.book.toStdString());
        const CsvImportResult result = CsvImport(home.state).run(row.file, row.book);
        EXPECT_EQ(result.status, row.status);
        EXPECT_EQ(result.imported, 0);
    }
    EXPECT_FALSE(QFile::exists(home.state.folder.booksDir() + QStringLiteral("/Rubriche")));
    EXPECT_TRUE(home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("rubrica"))
                    .isEmpty());
}

TEST(CsvTransfer, BookContactsComeInStoredOrder)
{
    test::TestHome home;
    home.addContact(QStringLiteral("Principale"), QStringLiteral("B"), QStringLiteral("Zeta"),
                    QStringLiteral("2"));
    home.addContact(QStringLiteral("Principale"), QStringLiteral("A"), QStringLiteral("Alfa"),
                    QStringLiteral("1"), QStringLiteral("a@a.it"));
    EXPECT_EQ(bookContacts(home.state, QStringLiteral("Principale")),
              (std::vector<Contact>{contact("B", "Zeta", "2", " "), contact("A", "Alfa", "1", "a@a.it")}));
}

TEST(CsvTransfer, AFailingRowLeavesTheBookAsItWas)
{
    test::TestHome home;
    const QString book = home.state.folder.bookPath(QStringLiteral("Principale"));
    {
        // The store refuses the third row, as a full disk or a damaged file would.
        auto db = Database::open(book);
        db->exec("CREATE TRIGGER rifiuta BEFORE INSERT ON rubrica WHEN NEW.cellulare = 'no' "
                 "BEGIN SELECT RAISE(ABORT, 'rifiutato'); END");
    }
    const QString file = home.dir.filePath(QStringLiteral("c.csv"));
    writeAll(file, "Nome;Cognome;Cellulare;Posta elettronica\r\na;b;1;d\r\ne;f;2;h\r\ni;j;no;l\r\n");
    const CsvImportResult result = CsvImport(home.state).run(file, QStringLiteral("Principale"));
    EXPECT_EQ(result.status, CsvImportResult::Status::StoreFailed);
    EXPECT_EQ(result.imported, 0);
    EXPECT_TRUE(home.rows(book, QStringLiteral("rubrica")).isEmpty());
}

TEST(CsvTransfer, AnExportThatCannotBeWrittenSaysSoAndKeepsTheOldFile)
{
    test::TestHome home;
    const QString file = home.dir.filePath(QStringLiteral("vecchio.csv"));
    writeAll(file, "vecchio\r\n");
    std::vector<Contact> many(2000, contact("Mario", "Rossi", "3331234567", "mario.rossi@example.it"));
    {
        test::FullDisk full(4096);
        EXPECT_FALSE(writeContactsFile(file, many));
    }
    EXPECT_EQ(readAll(file), QByteArray("vecchio\r\n"));
    EXPECT_FALSE(writeContactsFile(home.dir.filePath(QStringLiteral("manca/x.csv")), many));
}

TEST(CsvTransfer, ABookIsExportedInBlocksAndASourceReadOnceIsImportedWhole)
{
    test::TestHome home;
    QByteArray bytes = "Nome;Cognome;Cellulare;Posta elettronica\r\n";
    for (int i = 0; i < 3000; ++i)
        bytes += "Nome" + QByteArray::number(i) + ";Cognome;" + QByteArray::number(3330000000LL + i) +
                 ";e@x.it\r\n";
    // A pipe, like standard input, cannot be read twice.
    QProcess pipe;
    pipe.start(QStringLiteral("cat"));
    ASSERT_TRUE(pipe.waitForStarted());
    pipe.write(bytes);
    pipe.closeWriteChannel();
    EXPECT_EQ(CsvImport(home.state).run(pipe, QStringLiteral("Principale")).imported, 3000);

    QList<QByteArray> blocks;
    EXPECT_EQ(writeBookContacts(home.state, QStringLiteral("Principale"),
                                [&blocks](const QByteArray& block) {
                                    blocks << block;
                                    return true;
                                }),
              3000);
    EXPECT_GT(blocks.size(), 1);
    EXPECT_EQ(blocks.join(), bytes);
    EXPECT_EQ(
        writeBookContacts(home.state, QStringLiteral("Principale"), [](const QByteArray&) { return false; }),
        std::nullopt);
}

TEST(CsvTransfer, ProgressHearsOfTheRowsWhileTheImportStoresThemAll)
{
    test::TestHome home;
    const QString file = home.dir.filePath(QStringLiteral("lungo.csv"));
    QByteArray bytes = "Nome;Cognome;Cellulare;Posta elettronica\r\n";
    for (int i = 0; i < 2000; ++i)
        bytes += "n;c;" + QByteArray::number(i) + ";e\r\n";
    writeAll(file, bytes);
    int calls = 0;
    const CsvImportResult result =
        CsvImport(home.state).run(file, QStringLiteral("Principale"), [&](int, int) { ++calls; });
    EXPECT_GT(calls, 1);
    EXPECT_EQ(result.status, CsvImportResult::Status::Done);
    EXPECT_EQ(
        home.rows(home.state.folder.bookPath(QStringLiteral("Principale")), QStringLiteral("rubrica")).size(),
        2000);
}
