#include "contacts/bookcatalog.h"
#include "contacts/contactstore.h"
#include "sending/batchjournal.h"
#include "store/database.h"
#include "store/statement.h"
#include "store/store.h"
#include "tests/support/powercut.h"
#include "tests/support/testhome.h"
#include "transfer/csvimport.h"

#include <QDir>

#include <gtest/gtest.h>

using namespace parlix;

// A batch's journal, book changes, contact saves and an import, cut at every
// sync, dropped or torn: nothing acknowledged is lost, nothing is half made
// or corrupted, and no recipient marked as being sent is offered again.
TEST(PowerCut, NothingAcknowledgedIsLostAtAnySync)
{
    test::PowerCut power;
    std::unique_ptr<test::TestHome> home;
    struct // what the program was told had been done when the power went
    {
        bool created, imported, renamed;
        int added;
        long long batch;
        int marked, answered; // the last recipient marked "sending", the last answered
    } ack;
    const QString clienti = QStringLiteral("Clienti"), archivio = QStringLiteral("Archivio");
    const auto fresh = [&] {
        home = std::make_unique<test::TestHome>();
        home->writeFile(QStringLiteral("nuovi.csv"),
                        {QStringLiteral("Nome;Cognome;Cellulare;Posta elettronica"),
                         QStringLiteral("Anna;Bianchi;3470000001; "),
                         QStringLiteral("Bruno;Verdi;3470000002; ")});
        ack = {false, false, false, 0, 0, -1, -1};
    };
    const auto scenario = [&] {
        ProgramState state(home->state.folder);
        BookCatalog catalog(state);
        ack.created = catalog.create(clienti) == BookCatalog::Outcome::Done;
        for (const char* number : {"3330000001", "3330000002"}) {
            const Contact contact{QStringLiteral("N"), QStringLiteral("Rossi"), QString::fromLatin1(number),
                                  QStringLiteral(" "), QStringLiteral("4")};
            ack.added += ContactStore(state).add(clienti, contact) == ContactStore::AddOutcome::Added;
        }
        ack.imported = CsvImport(state).run(home->path(QStringLiteral("nuovi.csv")), clienti).status ==
                       CsvImportResult::Status::Done;
        {
            BatchJournal journal(*state.store, state.folder.bookPath(clienti));
            ack.batch = journal.begin(QStringLiteral("07/12/2026 10:00:00"), QStringLiteral("Ciao"),
                                      {{QStringLiteral("A"), QStringLiteral("3331")},
                                       {QStringLiteral("B"), QStringLiteral("3332")},
                                       {QStringLiteral("C"), QStringLiteral("3333")}});
            for (int p = 0; p <= 3; ++p) {
                journal.record(ack.batch,
                               p > 0 ? std::vector<BatchJournal::Answer>{{p - 1, 0}}
                                     : std::vector<BatchJournal::Answer>{},
                               p, std::min(p + 1, 3));
                ack.answered = p - 1;
                ack.marked = std::min(p, 2);
            }
            journal.finish(ack.batch);
        }
        ack.renamed = catalog.rename(clienti, archivio) == BookCatalog::Outcome::Done;
    };
    const auto check = [&] {
        ProgramState state(home->state.folder);
        BookCatalog catalog(state);
        catalog.repair(); // as at the next start
        QStringList databases{state.folder.bookList()};
        for (const QString& file : QDir(state.folder.booksDir()).entryList(QDir::Files))
            if (!file.endsWith(QStringLiteral("-journal")))
                databases << state.folder.booksDir() + u'/' + file;
        for (const QString& path : databases) {
            Statement integrity(*Database::open(path), "PRAGMA integrity_check");
            EXPECT_TRUE(integrity.step() && integrity.text(0) == QStringLiteral("ok")) << path.toStdString();
        }
        const QStringList names = catalog.names();
        const QString book = names.contains(archivio) ? archivio : clienti;
        EXPECT_EQ(names.contains(book), catalog.isStored(book)); // listed and there, or neither
        EXPECT_TRUE(!ack.created || catalog.isStored(book));
        EXPECT_TRUE(!ack.renamed || book == archivio);
        if (!catalog.isStored(book))
            return;
        const auto db = state.store->open(state.folder.bookPath(book));
        const auto count = [&](const char* where) {
            Statement st(*db,
                         QStringLiteral("SELECT count(*) FROM rubrica WHERE ") + QString::fromLatin1(where));
            return st.step() ? int(st.integer(0)) : -1;
        };
        EXPECT_GE(count("cognome = 'Rossi'"), ack.added);
        const int imported = count("cellulare LIKE '347%'");
        EXPECT_TRUE(imported == (ack.imported ? 2 : 0) || (!ack.imported && imported == 2)) << imported;
        if (ack.batch == 0)
            return;
        BatchJournal journal(db);
        const auto entries = journal.entries(ack.batch);
        ASSERT_EQ(entries.size(), 3u);
        for (int p = 0; p <= ack.marked; ++p)
            EXPECT_NE(entries[size_t(p)].state, BatchJournal::State::Waiting) << "offered again: " << p;
        for (int p = 0; p <= ack.answered; ++p)
            EXPECT_EQ(entries[size_t(p)].state, BatchJournal::State::Accepted) << p;
    };
    EXPECT_GT(power.everySync(fresh, scenario, check), 20);
}
