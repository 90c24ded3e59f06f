// Ten desks on one PostgreSQL server for a while (ten minutes unless
// PARLIX_SOAK_SECONDS or --seconds says otherwise), each a process of its own
// doing what a desk does: reading and searching the shared book, adding,
// editing and deleting contacts, importing a small CSV, sending to the
// loopback sandbox and scheduling batches that any desk's run-scheduled then
// sends. Each desk keeps a change watch on the shared book, as the window's
// list does, and reads the book again when it fires; every contact it adds
// or edits carries the time of the write, so the reader knows how
// late it saw it (imported rows carry none: the CSV is written long before
// the import commits).
// At the end it checks:
//   rows:       the shared book holds exactly the seeded rows and those the
//               desks added and did not delete, each once;
//   recipients: every recipient of every batch got its message exactly once
//               (the sandbox's log of accepted SMS) and the journal lists it;
//   catch-up:   each desk saw the others' changes within 1 s at the 95th
//               percentile, and its last read found none its list never
//               showed;
// and prints the operations per second of each kind. Exits 1 when a check fails.
// Run: bench/run.sh soak (PARLIX_SOAK_SECONDS=30 for a short check)
#include "bench/support/pgcluster.h"
#include "contacts/archivedeletion.h"
#include "contacts/archiveloader.h"
#include "contacts/archiverow.h"
#include "contacts/bookcatalog.h"
#include "contacts/contactsearch.h"
#include "contacts/contactstore.h"
#include "core/datafolder.h"
#include "core/installer.h"
#include "core/programstate.h"
#include "sandbox_process.h"
#include "sending/account.h"
#include "store/archivewatch.h"
#include "store/database.h"
#include "store/pgconnection.h"
#include "store/statement.h"
#include "store/store.h"
#include "store/storeerror.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QProcess>
#include <QRandomGenerator>
#include <QSet>
#include <QTemporaryDir>
#include <QTextStream>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <vector>

using namespace parlix;

namespace {

constexpr int seatCount = 10;
constexpr int seededRows = 300;
constexpr int sendBookRows = 5;
constexpr int importRows = 10;
const QString sharedBook = QStringLiteral("Soak");

QString sendBook(int seat)
{
    return QStringLiteral("Invio%1").arg(seat);
}

// Ten-digit numbers: 3, a kind digit, the seat, a counter.
QString number(int kind, int seat, int counter)
{
    return QStringLiteral("3%1%2%3").arg(kind).arg(seat, 2, 10, QChar(u'0')).arg(counter, 6, 10, QChar(u'0'));
}

// The e-mail of a written contact: when it was written and by whom.
QString stamp(int seat)
{
    return QStringLiteral("t%1s%2@soak.it").arg(QDateTime::currentMSecsSinceEpoch()).arg(seat);
}

// Runs the event loop for `ms`.
void spin(int ms)
{
    QEventLoop pause;
    QTimer::singleShot(ms, &pause, &QEventLoop::quit);
    pause.exec();
}

void writeArchivio(const DataFolder& folder, const QString& address)
{
    QFile file(folder.path(QStringLiteral("archivio")));
    if (!file.open(QIODevice::WriteOnly) || file.write(address.toUtf8() + '\n') < 0)
        throw std::runtime_error("cannot write the archivio file");
}

// ---------------------------------------------------------------- one desk

class Seat
{
public:
    Seat(int seat, const QString& home, const QString& cli)
        : seat_(seat), cli_(cli), home_(home), state_(DataFolder(home))
    {}

    void run(qint64 seconds, const QString& resultPath)
    {
        watch_ = state_.store->watch(QStringLiteral("rubriche/") + sharedBook, QStringLiteral("rubrica"));
        QObject::connect(watch_.get(), &ArchiveWatch::changed, [this] { catchUp(); });
        catchUp();
        QElapsedTimer clock;
        clock.start();
        auto& random = *QRandomGenerator::global();
        // A kind is drawn by its weight: reading is what desks do most.
        const std::vector<std::pair<const char*, int>> kinds{
            {"browse", 25}, {"search", 20}, {"add", 15},     {"edit", 15},        {"delete", 12},
            {"import", 3},  {"send", 4},    {"schedule", 3}, {"run-scheduled", 3}};
        int total = 0;
        for (const auto& kind : kinds)
            total += kind.second;
        while (clock.elapsed() < seconds * 1000) {
            int draw = int(random.bounded(total));
            const char* kind = kinds.front().first;
            for (const auto& [name, weight] : kinds) {
                if (draw < weight) {
                    kind = name;
                    break;
                }
                draw -= weight;
            }
            if (live_.isEmpty() && qstrcmp(kind, "delete") == 0)
                continue; // nothing of its own to delete yet
            QElapsedTimer took;
            took.start();
            const QString name = QString::fromLatin1(kind);
            const bool done = perform(name);
            auto& tally = tallies_[name];
            ++(done ? tally.done : tally.failed);
            tally.ms += took.elapsed();
            spin(50 + int(random.bounded(100))); // the user's own pace
        }
        spin(2000); // the last changes of the others
        // What the list never showed: changes of the others, made over a
        // second and a half before this last read, that no reload saw.
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (const ArchiveRow& row : read()) {
            const auto [written, writer] = writing(row.cells[3]);
            missed_ += writer > 0 && writer != seat_ && now - written > 1500 && !seen_.contains(row.cells[3])
                           ? 1
                           : 0;
        }
        write(resultPath);
    }

private:
    struct Tally
    {
        int done = 0;
        int failed = 0;
        qint64 ms = 0;
    };

    bool perform(const QString& kind)
    {
        try {
            if (kind == u"browse")
                return browse();
            if (kind == u"search")
                return search();
            if (kind == u"add")
                return add();
            if (kind == u"edit")
                return edit();
            if (kind == u"delete")
                return remove();
            if (kind == u"import")
                return import();
            if (kind == u"send")
                return send(false);
            if (kind == u"schedule")
                return send(true);
            return cli({QStringLiteral("run-scheduled")}) == 0;
        } catch (const StoreError& e) {
            std::fprintf(stderr, "seat %d, %s: %s\n", seat_, qPrintable(kind), qPrintable(e.message()));
        }
        return false;
    }

    // What the list shows of the shared book: read whole, as the window does.
    std::vector<ArchiveRow> read()
    {
        auto rows = readArchive(state_, ArchiveKind::Contacts, sharedBook);
        return rows;
    }

    // When and by which seat a stamped contact was written; {0, 0} for others.
    static std::pair<qint64, int> writing(const QString& email)
    {
        if (!email.startsWith(u't'))
            return {0, 0};
        const qsizetype at = email.indexOf(u's');
        return {email.mid(1, at - 1).toLongLong(), email.mid(at + 1, email.indexOf(u'@') - at - 1).toInt()};
    }

    // The watch fired: the list reads the book again and notes how late it
    // sees each change another desk wrote.
    void catchUp()
    {
        rows_ = read();
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        for (const ArchiveRow& row : rows_) {
            const QString& email = row.cells[3];
            if (!email.startsWith(u't') || seen_.contains(email))
                continue;
            seen_.insert(email);
            const auto [written, writer] = writing(email);
            if (writer != seat_ && !firstRead_)
                lateness_.push_back(now - written);
        }
        firstRead_ = false;
    }

    bool browse()
    {
        auto rows = read();
        sortForDisplay(rows, ArchiveKind::Contacts);
        return !rows.empty();
    }

    bool search()
    {
        static const QStringList prefixes{QStringLiteral("Cog"), QStringLiteral("Cognome1"),
                                          QStringLiteral("Import"), QStringLiteral("Rossi")};
        const QString& prefix = prefixes.at(int(QRandomGenerator::global()->bounded(prefixes.size())));
        ContactSearch(state_).find(sharedBook, SearchCriterion{QStringLiteral("cognome"), prefix});
        return true;
    }

    bool add()
    {
        const QString cellulare = number(5, seat_, ++added_);
        const Contact contact{QStringLiteral("Nome"), QStringLiteral("Cognome%1").arg(added_), cellulare,
                              stamp(seat_), QStringLiteral("4")};
        if (ContactStore(state_).add(sharedBook, contact) != ContactStore::AddOutcome::Added)
            return false;
        live_.insert(cellulare);
        return true;
    }

    // Any row of the book, whoever wrote it: a new first name and stamp, the
    // same number.
    bool edit()
    {
        if (rows_.empty())
            return false;
        const ArchiveRow& row = rows_.at(QRandomGenerator::global()->bounded(int(rows_.size())));
        ContactStore store(state_);
        const auto contact = store.find(sharedBook, row.rowid);
        if (!contact)
            return true; // deleted by its desk meanwhile: nothing to edit
        Contact changed = *contact;
        changed.nome = QStringLiteral("Modificato%1").arg(seat_);
        changed.email = stamp(seat_);
        return store.replace(sharedBook, row.rowid, changed) != ContactStore::ReplaceOutcome::Duplicate;
    }

    // One of the desk's own rows (the desk knows which ones it added).
    bool remove()
    {
        if (live_.isEmpty())
            return false;
        const QString cellulare =
            *std::next(live_.begin(), QRandomGenerator::global()->bounded(live_.size()));
        RowSelection row;
        row.cellulare = cellulare; // numbers are unique in this book: found by number
        if (!ArchiveDeletion(state_, ArchiveKind::Contacts, sharedBook).deleteRow(row))
            return false;
        live_.remove(cellulare);
        return true;
    }

    bool import()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("contatti.csv"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        QByteArray text = "Nome;Cognome;Cellulare;Posta elettronica\r\n";
        QStringList numbers;
        for (int i = 0; i < importRows; ++i) {
            numbers << number(6, seat_, ++imported_);
            // No time in the e-mail: the file is written well before the
            // import commits, so it would tell the catch-up wrong.
            text += "Nome;Import" + QByteArray::number(imported_) + ';' + numbers.back().toUtf8() + ";i" +
                    QByteArray::number(seat_) + "@soak.it\r\n";
        }
        file.write(text);
        file.close();
        if (cli({QStringLiteral("import-csv"), path, QStringLiteral("--book"), sharedBook}) != 0)
            return false;
        for (const QString& n : numbers)
            live_.insert(n);
        return true;
    }

    // A batch to the desk's own book, sent now or scheduled; a scheduled batch
    // is made due at once (its time moved into the past) so that the next
    // run-scheduled of any desk sends it.
    bool send(bool later)
    {
        const QString text =
            QStringLiteral("Soak s%1 %2%3").arg(seat_).arg(later ? u'p' : u'n').arg(++batches_);
        QStringList arguments{QStringLiteral("send"), QStringLiteral("--book"), sendBook(seat_),
                              QStringLiteral("--text"), text};
        if (later)
            arguments << QStringLiteral("--at")
                      << QDateTime::currentDateTime().addSecs(180).toString(
                             QStringLiteral("yyyy-MM-ddTHH:mm"));
        if (cli(arguments) != 0)
            return false;
        if (later) {
            const auto db = state_.store->open(QStringLiteral("rubriche/") + sendBook(seat_));
            Statement due(*db, "UPDATE programmati SET Quando = '2000-01-01T00:00:00Z' WHERE Testo = ?");
            due.bind(1, text);
            due.step();
        }
        batchTexts_ << text;
        return true;
    }

    // Runs parlix-cli on the desk's folder; the list keeps following meanwhile.
    int cli(const QStringList& arguments)
    {
        QProcess process;
        process.setProgram(cli_);
        process.setArguments(QStringList{QStringLiteral("--home"), home_, QStringLiteral("-q")} + arguments);
        process.setStandardOutputFile(QProcess::nullDevice());
        QEventLoop loop;
        QObject::connect(&process, &QProcess::finished, &loop, &QEventLoop::quit);
        QObject::connect(&process, &QProcess::errorOccurred, &loop, &QEventLoop::quit);
        process.start();
        if (process.state() != QProcess::NotRunning)
            loop.exec();
        if (process.state() != QProcess::NotRunning)
            process.waitForFinished(-1);
        const int code = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
        if (code != 0)
            std::fprintf(stderr, "seat %d, %s: exit %d: %s\n", seat_, qPrintable(arguments.first()), code,
                         process.readAllStandardError().constData());
        return code;
    }

    void write(const QString& path)
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
            throw std::runtime_error("cannot write the seat's results");
        QTextStream out(&file);
        for (const auto& [kind, tally] : tallies_)
            out << "op " << kind << ' ' << tally.done << ' ' << tally.failed << ' ' << tally.ms << '\n';
        for (const QString& n : live_)
            out << "live " << n << '\n';
        for (const QString& text : batchTexts_)
            out << "batch " << text << '\n';
        for (const qint64 ms : lateness_)
            out << "late " << ms << '\n';
        out << "missed " << missed_ << '\n';
    }

    int seat_;
    QString cli_;
    QString home_;
    ProgramState state_;
    std::unique_ptr<ArchiveWatch> watch_;
    std::vector<ArchiveRow> rows_;
    QSet<QString> seen_;
    bool firstRead_ = true;
    std::vector<qint64> lateness_;
    int missed_ = 0;
    QSet<QString> live_;
    QStringList batchTexts_;
    std::map<QString, Tally> tallies_;
    int added_ = 0;
    int imported_ = 0;
    int batches_ = 0;
};

// ------------------------------------------------------------ the whole run

struct Kind
{
    int done = 0;
    int failed = 0;
    qint64 ms = 0;
};

struct Results
{
    std::map<QString, Kind> kinds;
    QSet<QString> live;
    QStringList batches;
    std::vector<std::vector<qint64>> lateness; // per seat
    std::vector<int> missed;                   // per seat
};

void readResults(const QString& path, Results& results)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        throw std::runtime_error("a seat left no results");
    results.lateness.emplace_back();
    results.missed.push_back(0);
    QTextStream in(&file);
    while (!in.atEnd()) {
        const QString line = in.readLine();
        const QString what = line.section(u' ', 0, 0);
        const QString rest = line.section(u' ', 1);
        if (what == u"op") {
            const QStringList parts = rest.split(u' ');
            Kind& kind = results.kinds[parts.at(0)];
            kind.done += parts.at(1).toInt();
            kind.failed += parts.at(2).toInt();
            kind.ms += parts.at(3).toLongLong();
        } else if (what == u"live") {
            results.live.insert(rest);
        } else if (what == u"batch") {
            results.batches << rest;
        } else if (what == u"missed") {
            results.missed.back() = rest.toInt();
        } else if (what == u"late") {
            results.lateness.back().push_back(rest.toLongLong());
        }
    }
}

qint64 percentile(std::vector<qint64> values, double share)
{
    if (values.empty())
        return -1;
    std::sort(values.begin(), values.end());
    return values.at(std::min(values.size() - 1, size_t(share * double(values.size() - 1) + 0.5)));
}

int count(Database& db, const char* sql, const QString& value)
{
    Statement statement(db, sql);
    statement.bind(1, value);
    return statement.step() ? int(statement.integer(0)) : 0;
}

int run(qint64 seconds)
{
    bench::PgCluster cluster;
    PgConnection(cluster.address("postgres")).exec(QStringLiteral("CREATE DATABASE soak"));
    const QString address = cluster.address("soak");
    qwirl::testing::SandboxProcess sandbox({"--credit", "100000000"});

    // The shared book and each desk's book to send to, made by a first folder.
    QTemporaryDir root;
    const DataFolder main(root.filePath(QStringLiteral("principale")));
    QDir().mkpath(main.root());
    writeArchivio(main, address);
    Installer(main).run();
    Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}.save(main);
    QSet<QString> seeded;
    {
        ProgramState state(main);
        BookCatalog catalog(state);
        if (catalog.create(sharedBook) != BookCatalog::Outcome::Done)
            throw std::runtime_error("cannot make the shared book");
        ContactStore contacts(state);
        for (int i = 1; i <= seededRows; ++i) {
            const QString cellulare = number(4, 0, i);
            contacts.add(sharedBook, {QStringLiteral("Nome"), QStringLiteral("Rossi%1").arg(i), cellulare,
                                      QStringLiteral(" "), QStringLiteral("4")});
            seeded.insert(cellulare);
        }
        for (int seat = 1; seat <= seatCount; ++seat) {
            if (catalog.create(sendBook(seat)) != BookCatalog::Outcome::Done)
                throw std::runtime_error("cannot make a desk's book");
            for (int i = 1; i <= sendBookRows; ++i)
                contacts.add(sendBook(seat),
                             {QStringLiteral("Nome%1").arg(i), QStringLiteral("Cliente%1").arg(i),
                              number(7, seat, i), QStringLiteral(" "), QStringLiteral("4")});
        }
    }

    std::printf("%d desks for %lld s on one PostgreSQL server, sandbox at %s\n", seatCount, seconds,
                sandbox.host().c_str());
    std::fflush(stdout);
    std::vector<std::unique_ptr<QProcess>> seats;
    QElapsedTimer wall;
    wall.start();
    for (int seat = 1; seat <= seatCount; ++seat) {
        const DataFolder folder(root.filePath(QStringLiteral("desk%1").arg(seat)));
        QDir().mkpath(folder.root());
        writeArchivio(folder, address);
        Installer(folder).run();
        Account{QStringLiteral("demo"), QStringLiteral("demo"), 2}.save(folder);
        auto process = std::make_unique<QProcess>();
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("QWIRL_SEND_HOST"), QString::fromStdString(sandbox.host()));
        process->setProcessEnvironment(environment);
        process->setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process->start(QCoreApplication::applicationFilePath(),
                       {QStringLiteral("--seat"), QString::number(seat), QStringLiteral("--home"),
                        folder.root(), QStringLiteral("--seconds"), QString::number(seconds),
                        QStringLiteral("--result"), root.filePath(QStringLiteral("desk%1.txt").arg(seat))});
        seats.push_back(std::move(process));
    }
    bool seatsOk = true;
    for (auto& process : seats) {
        process->waitForFinished(int(seconds * 1000 + 300000));
        seatsOk = seatsOk && process->exitStatus() == QProcess::NormalExit && process->exitCode() == 0;
    }
    const double wallSeconds = double(wall.elapsed()) / 1000.0;
    if (!seatsOk) {
        std::printf("FAIL: a desk did not end well\n");
        return 1;
    }
    Results results;
    for (int seat = 1; seat <= seatCount; ++seat)
        readResults(root.filePath(QStringLiteral("desk%1.txt").arg(seat)), results);

    // Batches made due after the last run-scheduled are sent now.
    QProcess last;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("QWIRL_SEND_HOST"), QString::fromStdString(sandbox.host()));
    last.setProcessEnvironment(environment);
    last.start(QStringLiteral(PARLIX_CLI), {QStringLiteral("--home"), main.root(), QStringLiteral("-q"),
                                            QStringLiteral("run-scheduled")});
    last.waitForFinished(-1);

    bool ok = true;
    std::printf("\noperations (%.0f s of wall time, all desks together):\n", wallSeconds);
    std::printf("  %-14s %8s %8s %9s %12s\n", "kind", "done", "failed", "ops/s", "mean ms");
    for (const auto& [name, kind] : results.kinds)
        std::printf("  %-14s %8d %8d %9.2f %12.1f\n", qPrintable(name), kind.done, kind.failed,
                    double(kind.done) / wallSeconds,
                    kind.done + kind.failed ? double(kind.ms) / (kind.done + kind.failed) : 0.0);

    // Rows: each expected number once, nothing else.
    ProgramState state(main);
    {
        const auto db = state.store->open(QStringLiteral("rubriche/") + sharedBook);
        Statement all(*db, "SELECT cellulare FROM rubrica");
        QMap<QString, int> stored;
        while (all.step())
            ++stored[all.text(0)];
        const QSet<QString> expected = seeded + results.live;
        int lost = 0, duplicated = 0, unknown = 0;
        for (const QString& n : expected)
            lost += stored.contains(n) ? 0 : 1;
        for (auto it = stored.begin(); it != stored.end(); ++it) {
            duplicated += it.value() > 1 ? it.value() - 1 : 0;
            unknown += expected.contains(it.key()) ? 0 : 1;
        }
        const bool good = lost == 0 && duplicated == 0 && unknown == 0;
        ok = ok && good;
        std::printf("\nrows: %lld expected, %lld stored; lost %d, duplicated %d, not expected %d: %s\n",
                    qsizetype(expected.size()), qsizetype(stored.size()) + duplicated, lost, duplicated,
                    unknown, good ? "ok" : "FAIL");
    }

    // Recipients: the sandbox's accepted messages against the batches.
    {
        QMap<QString, int> accepted; // "text|number"
        for (const std::string& line : sandbox.logLines()) {
            const QJsonObject object = QJsonDocument::fromJson(QByteArray::fromStdString(line)).object();
            const QString recipient = object.value(QStringLiteral("recipient")).toString();
            ++accepted[object.value(QStringLiteral("text")).toString() + u'|' + recipient.right(10)];
        }
        int missing = 0, repeated = 0, unasked = 0, unjournaled = 0, expectedCount = 0;
        QSet<QString> asked;
        for (const QString& text : results.batches) {
            const int seat = text.section(u' ', 1, 1).mid(1).toInt();
            for (int i = 1; i <= sendBookRows; ++i) {
                const QString key = text + u'|' + number(7, seat, i);
                asked.insert(key);
                ++expectedCount;
                const int times = accepted.value(key);
                missing += times == 0 ? 1 : 0;
                repeated += times > 1 ? times - 1 : 0;
            }
            const auto db = state.store->open(QStringLiteral("rubriche/") + sendBook(seat));
            // Sent now or later, a batch's recipients are kept with it.
            const int journaled = count(*db,
                                        "SELECT COUNT(*) FROM programmati_destinatari d JOIN programmati p"
                                        " ON d.programma = p.id WHERE p.Testo = ? AND d.Accettati > 0",
                                        text);
            unjournaled += journaled == sendBookRows ? 0 : 1;
        }
        for (auto it = accepted.begin(); it != accepted.end(); ++it)
            unasked += asked.contains(it.key()) ? 0 : it.value();
        const bool good = missing == 0 && repeated == 0 && unasked == 0 && unjournaled == 0;
        ok = ok && good;
        std::printf("recipients: %lld batches, %d recipients; missing %d, served twice %d, not asked %d,"
                    " batches not journaled in full %d: %s\n",
                    qsizetype(results.batches.size()), expectedCount, missing, repeated, unasked, unjournaled,
                    good ? "ok" : "FAIL");
    }

    // Catch-up of each desk's list.
    std::printf("catch-up of each desk's list (ms from the write to the list reading it):\n");
    for (size_t seat = 0; seat < results.lateness.size(); ++seat) {
        const auto& values = results.lateness[seat];
        const qint64 p95 = percentile(values, 0.95);
        const int missed = results.missed[seat];
        const bool good = !values.empty() && p95 <= 1000 && missed == 0;
        ok = ok && good;
        std::printf(
            "  desk %2zu: %5zu changes seen, median %5lld, p95 %5lld, worst %6lld, never shown %d: %s\n",
            seat + 1, values.size(), percentile(values, 0.5), p95, percentile(values, 1.0), missed,
            good ? "ok" : "FAIL");
    }
    std::printf("\n%s\n", ok ? "all checks passed" : "SOME CHECKS FAILED");
    return ok ? 0 : 1;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const auto option = [&](const char* name) {
        const qsizetype at = arguments.indexOf(QString::fromLatin1(name));
        return at >= 0 && at + 1 < arguments.size() ? arguments.at(at + 1) : QString();
    };
    qint64 seconds = qEnvironmentVariableIntValue("PARLIX_SOAK_SECONDS");
    if (!option("--seconds").isEmpty())
        seconds = option("--seconds").toLongLong();
    if (seconds <= 0)
        seconds = 600;
    try {
        if (!option("--seat").isEmpty()) {
            Seat(option("--seat").toInt(), option("--home"), QStringLiteral(PARLIX_CLI))
                .run(seconds, option("--result"));
            return 0;
        }
        return run(seconds);
    } catch (const StoreError& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.message()));
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
    }
    return 1;
}
