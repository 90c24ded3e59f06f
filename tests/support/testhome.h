#pragma once

#include "core/appcontext.h"
#include "core/clock.h"
#include "core/programstate.h"
#include "tests/store/storehome.h"
#include "tests/support/scripteddialogs.h"

#include <QStringList>
#include <QTemporaryDir>

#include <memory>

namespace parlix::test {

// A clock that always says the same time.
class FixedClock : public Clock
{
public:
    explicit FixedClock(QDateTime when) : when_(std::move(when)) {}
    QDateTime now() const override { return when_; }
    void set(QDateTime when) { when_ = std::move(when); }

private:
    QDateTime when_;
};

// A fresh data folder for one test, installed as a new user gets it, with the
// program state, scripted dialogs and a fixed clock around it. With
// Backend::Postgres its "archivio" names a fresh database of the test cluster
// (the test then needs the ctest fixture "pgcluster").
class TestHome
{
public:
    explicit TestHome(Backend backend = Backend::Files);
    ~TestHome();

    QString path(const QString& name) const;
    // Replaces the book list with these books, each with an empty book file (SQLite files only).
    void setBooks(const QStringList& books);
    // Writes a text file (UTF-8, CR LF line ends).
    void writeFile(const QString& name, const QStringList& lines);
    // Appends a contact to a book's table rubrica.
    void addContact(const QString& book, const QString& nome, const QString& cognome,
                    const QString& cellulare, const QString& email = QStringLiteral(" "));
    // Appends a message row to salvati, inviati or cancellati of a book.
    void addMessage(const QString& book, const QString& table, const QString& cognome,
                    const QString& cellulare, const QString& data, const QString& testo);
    // All rows of a table, each as its fields joined by "|", in stored order.
    QStringList rows(const QString& databasePath, const QString& table) const;
    // Another seat on the same data: a store and connection of its own.
    std::shared_ptr<Store> seat() const;

    QTemporaryDir dir;
    std::unique_ptr<StoreHome> shared; // the database, for Backend::Postgres
    ProgramState state;
    ScriptedDialogs dialogs;
    FixedClock clock;
    AppContext context() { return {state, dialogs, clock}; }
};

} // namespace parlix::test
