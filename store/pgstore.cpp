#include "pgstore.h"

#include "store/pgconnection.h"
#include "store/pgdatabase.h"
#include "store/pglistener.h"
#include "store/pgwatch.h"
#include "store/schema.h"
#include "store/storeerror.h"
#include "store/storelink.h"

#include <QDir>

namespace parlix {

namespace {

const QString listSchema = QStringLiteral("public");
const QString templateSchema = QStringLiteral("rubrica_base");
// PostgreSQL keeps at most 63 bytes of a name and would cut a longer one.
constexpr qsizetype maxSchemaBytes = 63;
// A reading connection lost while the listener still hears the server is
// made again this soon.
constexpr int readerRetryMs = 500;

// A change made in the caller's transaction: its commit or rollback settles it.
class TransactionalChange : public BookChange
{
public:
    void finish() override {}
    bool undo() override { return true; }
};

} // namespace

std::shared_ptr<Store> Store::postgres(const QString& conninfo, const QString& root)
{
    return std::make_shared<PgStore>(conninfo, root);
}

PgStore::PgStore(QString conninfo, QString root)
    : connection_(std::make_shared<PgConnection>(std::move(conninfo))),
      root_(QDir::cleanPath(std::move(root))), link_(std::make_shared<StoreLink>())
{
    connection_->setStateObserver(
        [link = std::weak_ptr<StoreLink>(link_)](bool connected, const QString& why) {
            const auto alive = link.lock();
            if (!alive)
                return;
            if (connected)
                alive->setUp(StoreLink::Connection::Reading);
            else
                alive->setDown(StoreLink::Connection::Reading, why);
        });
    readerRetry_.setSingleShot(true);
    readerRetry_.setInterval(readerRetryMs);
    QObject::connect(&readerRetry_, &QTimer::timeout, link_.get(), [this] { reconnectReader(); });
    QObject::connect(link_.get(), &StoreLink::lost, link_.get(), [this] {
        if (listener_ && listener_->listening())
            readerRetry_.start();
    });
}

PgStore::~PgStore() = default;

QString PgStore::description() const
{
    return QStringLiteral("PostgreSQL (%1)").arg(PgConnection::maskedConninfo(connection_->conninfo()));
}

QString PgStore::probe()
{
    prepare();
    return connection_->serverVersion();
}

void PgStore::prepare()
{
    if (prepared_)
        return;
    // Two seats starting on an empty database at once: the lock lets one make
    // the layout and the other find it made.
    connection_->begin();
    try {
        connection_->exec(QStringLiteral("SELECT pg_advisory_xact_lock(hashtext('parlix elenco'))"));
        const PgResult missing =
            connection_->exec(QStringLiteral("SELECT to_regclass('public.elenco') IS NULL"));
        if (missing.text(0, 0) == u"t") {
            connection_->run(schema::postgresBookList());
            connection_->exec(QStringLiteral("INSERT INTO public.elenco (\"Rubrica\") VALUES ($1)"),
                              {QStringLiteral("Principale")});
            connection_->run(schema::postgresBook(QStringLiteral("Principale")));
            connection_->run(schema::postgresBook(templateSchema));
        }
        // Databases laid out before the tables announced their changes.
        connection_->run(schema::postgresChangeNotices());
        connection_->commit();
    } catch (...) {
        connection_->rollback();
        throw;
    }
    prepared_ = true;
}

QString PgStore::bookSchema(const QString& name)
{
    const PgResult found = connection_->exec(
        QStringLiteral("SELECT nspname, nspname = $1 FROM pg_namespace WHERE lower(nspname) = lower($1)"
                       " ORDER BY 2 DESC"),
        {name});
    if (found.rows() == 0)
        return {};
    if (found.text(0, 1) == u"t" || found.rows() == 1)
        return found.text(0, 0);
    return {};
}

QString PgStore::archiveSchema(const QString& path)
{
    prepare();
    const QString relative = QDir(root_).relativeFilePath(QDir::cleanPath(path));
    const auto is = [&](const QString& name) { return relative.compare(name, Qt::CaseInsensitive) == 0; };
    if (is(QStringLiteral("elenco.mdb")))
        return listSchema;
    if (is(QStringLiteral("rubrica_base.mdb")))
        return templateSchema;
    const QString books = QStringLiteral("rubriche/");
    if (relative.startsWith(books, Qt::CaseInsensitive)) {
        const QString book = relative.mid(books.size());
        if (!book.contains(u'/') && !book.isEmpty() && !nameProblem(book)) {
            const QString schema = bookSchema(book);
            if (!schema.isEmpty())
                return schema;
            // The seat named a book it was shown: it went meanwhile.
            throw StoreError::bookGone(book);
        }
    }
    throw StoreError::cannotOpen(path);
}

std::shared_ptr<Database> PgStore::open(const QString& path)
{
    return std::make_shared<PgDatabase>(connection_, archiveSchema(path), path);
}

std::unique_ptr<ArchiveWatch> PgStore::watch(const QString& path, const QString& table)
{
    const QString payload = table.toLower() + u'/' + archiveSchema(path);
    listener();
    return std::make_unique<PgWatch>(listener_, payload,
                                     [connection = connection_] { return connection->currentBackendPid(); });
}

StoreLink* PgStore::link()
{
    listener();
    return link_.get();
}

PgListener& PgStore::listener()
{
    if (listener_)
        return *listener_;
    listener_ = std::make_shared<PgListener>(connection_->conninfo());
    QObject::connect(
        listener_.get(), &PgListener::connectionFailed, link_.get(),
        [link = link_.get()](const QString& why) { link->setDown(StoreLink::Connection::Listening, why); });
    QObject::connect(listener_.get(), &PgListener::listeningStarted, link_.get(), [this] {
        // The server answers again: the reading connection, if it was lost,
        // is made now rather than by whatever statement comes next.
        reconnectReader();
        link_->setUp(StoreLink::Connection::Listening);
    });
    return *listener_;
}

void PgStore::reconnectReader()
{
    if (!link_->isDown(StoreLink::Connection::Reading) || connection_->inTransaction())
        return;
    try {
        connection_->exec(QStringLiteral("SELECT 1"));
    } catch (const StoreError&) {
        // Still lost: tried again while the listener hears the server, else
        // when it hears it again.
        if (listener_ && listener_->listening())
            readerRetry_.start(4 * readerRetryMs);
    }
}

std::optional<QString> PgStore::nameProblem(const QString& name) const
{
    if (name.toUtf8().size() > maxSchemaBytes)
        return QStringLiteral("Nell'archivio condiviso il nome della rubrica non può superare i %1 byte.")
            .arg(maxSchemaBytes);
    if (name == listSchema || name == templateSchema || name == u"information_schema" ||
        name.startsWith(u"pg_"))
        return QStringLiteral("Il nome \"%1\" è riservato nell'archivio condiviso.").arg(name);
    return std::nullopt;
}

void PgStore::runAtomically(const QString& sql)
{
    if (connection_->inTransaction()) {
        connection_->run(sql);
        return;
    }
    connection_->begin();
    try {
        connection_->run(sql);
        connection_->commit();
    } catch (...) {
        connection_->rollback();
        throw;
    }
}

bool PgStore::exists(const QString& name)
{
    prepare();
    return connection_->exec(QStringLiteral("SELECT 1 FROM pg_namespace WHERE nspname = $1"), {name}).rows() >
           0;
}

std::unique_ptr<BookChange> PgStore::create(const QString& name)
{
    prepare();
    if (const auto problem = nameProblem(name))
        throw StoreError::engine(*problem);
    runAtomically(schema::postgresBook(name));
    return std::make_unique<TransactionalChange>();
}

std::unique_ptr<BookChange> PgStore::rename(const QString& from, const QString& to, const QStringList&)
{
    prepare();
    if (const auto problem = nameProblem(to))
        throw StoreError::engine(*problem);
    // A listed book without its schema has nothing to move.
    if (exists(from)) {
        connection_->forgetColumns();
        runAtomically(
            QStringLiteral("ALTER SCHEMA %1 RENAME TO %2").arg(pgIdentifier(from), pgIdentifier(to)));
    }
    return std::make_unique<TransactionalChange>();
}

std::unique_ptr<BookChange> PgStore::drop(const QString& name, const QStringList&)
{
    prepare();
    if (!nameProblem(name)) {
        connection_->forgetColumns();
        runAtomically(QStringLiteral("DROP SCHEMA IF EXISTS %1 CASCADE").arg(pgIdentifier(name)));
    }
    return std::make_unique<TransactionalChange>();
}

} // namespace parlix
