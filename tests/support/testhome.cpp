#include "testhome.h"

#include "core/installer.h"
#include "core/storechoice.h"
#include "core/textfile.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/schema.h"
#include "store/store.h"

#include <QFile>

#include <gtest/gtest.h>

namespace parlix::test {

namespace {

// Made before the program state, which reads "archivio" when it is made.
std::unique_ptr<StoreHome> sharedDatabase(Backend backend, const QTemporaryDir& dir)
{
    if (backend == Backend::Files)
        return nullptr;
    auto database = std::make_unique<StoreHome>(Backend::Postgres);
    EXPECT_TRUE(textfile::writeLines(dir.filePath(QStringLiteral("archivio")), {database->address}));
    return database;
}

} // namespace

TestHome::TestHome(Backend backend)
    : shared(sharedDatabase(backend, dir)), state(DataFolder(dir.path())),
      clock(QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53)))
{
    const QStringList failed = Installer(state.folder).run();
    EXPECT_TRUE(failed.isEmpty()) << failed.join(u',').toStdString();
}

TestHome::~TestHome() = default;

std::shared_ptr<Store> TestHome::seat() const
{
    return chooseStore(state.folder);
}

QString TestHome::path(const QString& name) const
{
    return state.folder.path(name);
}

void TestHome::setBooks(const QStringList& books)
{
    QFile::remove(state.folder.bookList());
    schema::createBookList(state.folder.bookList(), books);
    for (const QString& book : books) {
        if (!QFile::exists(state.folder.bookPath(book))) {
            ASSERT_TRUE(QFile::copy(state.folder.bookTemplate(), state.folder.bookPath(book)));
        }
    }
}

void TestHome::writeFile(const QString& name, const QStringList& lines)
{
    ASSERT_TRUE(textfile::writeLines(path(name), lines));
}

void TestHome::addContact(const QString& book, const QString& nome, const QString& cognome,
                          const QString& cellulare, const QString& email)
{
    Recordset rs(state.store->open(state.folder.bookPath(book)),
                 queries::wholeTable(QStringLiteral("rubrica")));
    rs.addNew();
    rs.setField(u"Nome", nome);
    rs.setField(u"cognome", cognome);
    rs.setField(u"cellulare", cellulare);
    rs.setField(u"email", email);
    rs.setField(u"icona", QStringLiteral("4"));
    rs.update();
}

void TestHome::addMessage(const QString& book, const QString& table, const QString& cognome,
                          const QString& cellulare, const QString& data, const QString& testo)
{
    Recordset rs(state.store->open(state.folder.bookPath(book)), queries::wholeTable(table));
    rs.addNew();
    rs.setField(u"cognome", cognome);
    rs.setField(u"cellulare", cellulare);
    rs.setField(u"Data", data);
    rs.setField(u"Testo", testo);
    rs.update();
}

QStringList TestHome::rows(const QString& databasePath, const QString& table) const
{
    QStringList result;
    Recordset rs(state.store->open(databasePath), queries::wholeTable(table));
    for (; !rs.eof(); rs.moveNext()) {
        QStringList fields;
        for (int i = 0; i < rs.fieldNames().size(); ++i)
            fields << rs.field(i);
        result << fields.join(u'|');
    }
    return result;
}

} // namespace parlix::test
