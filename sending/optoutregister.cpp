#include "optoutregister.h"

#include "core/clock.h"
#include "core/textfile.h"
#include "sending/optoutnumber.h"
#include "store/database.h"
#include "store/schema.h"
#include "store/statement.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "store/transaction.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>

namespace parlix {

namespace {

// A register of a few million numbers still fits; anything larger is no list of numbers.
constexpr qint64 importSizeLimit = 256LL << 20;

QString sourceText(OptOutRegister::Source source)
{
    return source == OptOutRegister::Source::Typed ? QStringLiteral("digitato") : QStringLiteral("importato");
}

OptOutEntry readEntry(const Statement& st)
{
    return {st.text(0), st.text(1), st.text(2), st.text(3), st.text(4), st.text(5), st.text(6)};
}

constexpr const char* entryColumns = "Numero, Cellulare, Aggiunto, Origine, File, Nota, Rimosso";

// The field of a CSV or list line that holds the number, with its key.
std::optional<std::pair<QString, QString>> numberOfLine(const QString& line)
{
    static const QRegularExpression separators(QStringLiteral("[;,\\t]"));
    for (QString field : line.split(separators)) {
        field = field.trimmed();
        if (field.size() >= 2 && field.startsWith(u'"') && field.endsWith(u'"'))
            field = field.mid(1, field.size() - 2).trimmed();
        if (const std::optional<QString> key = optOutKey(field))
            return std::pair{*key, field};
    }
    return std::nullopt;
}

} // namespace

OptOutList::OptOutList(QSet<QString> keys) : keys_(std::move(keys))
{
    for (const QString& key : keys_) {
        const QString national = nationalDigits(key);
        nationals_.insert(national);
        if (!lengths_.contains(national.size()))
            lengths_.append(national.size());
    }
}

bool OptOutList::contains(const QString& number) const
{
    if (keys_.isEmpty())
        return false;
    QString digits;
    digits.reserve(number.size());
    for (const QChar c : number) {
        if (c.isDigit())
            digits += c;
    }
    const bool maybe = std::any_of(lengths_.cbegin(), lengths_.cend(), [&](qsizetype length) {
        return digits.size() >= length && nationals_.contains(digits.right(length));
    });
    if (!maybe)
        return false;
    const std::optional<QString> key = optOutKey(number);
    return key && keys_.contains(*key);
}

OptOutRegister::OptOutRegister(Store& store, const QString& listPath) : db_(store.open(listPath)) {}

OptOutRegister::~OptOutRegister() = default;

DataFolder OptOutRegister::folderOfBook(const QString& bookPath)
{
    // A book lives at <data folder>/rubriche/<book>.
    return DataFolder(QDir::cleanPath(QFileInfo(bookPath).absolutePath() + QStringLiteral("/..")));
}

QString OptOutRegister::listPathOfBook(const QString& bookPath)
{
    return folderOfBook(bookPath).bookList();
}

QString OptOutRegister::notANumberText(const QString& number)
{
    return QStringLiteral("\"%1\" non è un numero di telefono valido.").arg(number);
}

OptOutList OptOutRegister::honouredForBook(Store& store, const QString& bookPath)
{
    try {
        return OptOutRegister(store, listPathOfBook(bookPath)).honoured();
    } catch (const StoreError& error) {
        if (error.code() != StoreError::Code::CannotOpen)
            throw;
        return {};
    }
}

QString OptOutRegister::refusalText(const QString& number)
{
    return QStringLiteral("Il numero %1 è nel registro \"%2\": ha chiesto di non ricevere SMS. Messaggio non "
                          "inviato.")
        .arg(number, registerName());
}

QString OptOutRegister::removalQuestion(const QString& number)
{
    return QStringLiteral("Togliere il numero %1 dal registro \"%2\"? Riceverà di nuovo gli SMS degli invii.")
        .arg(number, registerName());
}

QString OptOutRegister::importText(const ImportTally& tally)
{
    QString text = QStringLiteral("Numeri aggiunti al registro \"%1\": %2. Già presenti: %3.")
                       .arg(registerName())
                       .arg(tally.added)
                       .arg(tally.alreadyThere);
    if (!tally.skipped.isEmpty()) {
        constexpr qsizetype shown = 10;
        text += QStringLiteral("\nRighe senza un numero valido, non importate: %1").arg(tally.skipped.size());
        for (const QString& line : tally.skipped.mid(0, shown))
            text += QStringLiteral("\n  ") + line;
        if (tally.skipped.size() > shown)
            text += QStringLiteral("\n  ... e altre %1.").arg(tally.skipped.size() - shown);
    }
    return text;
}

QString OptOutRegister::excludedText(int count)
{
    return QStringLiteral("Esclusi: %1 destinatari, perché i loro numeri sono nel registro \"%2\" (hanno "
                          "chiesto di non ricevere SMS).")
        .arg(count)
        .arg(registerName());
}

bool OptOutRegister::hasTable()
{
    return db_->hasTable(QStringLiteral("esclusi"));
}

OptOutRegister::Added OptOutRegister::add(const QString& number, Source source, const QString& file,
                                          const QString& note, const QDateTime& when)
{
    const std::optional<QString> key = optOutKey(number);
    if (!key)
        return Added::NotANumber;
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    const Added added = addRow(*key, number.trimmed(), source, file, note, messageDate(when));
    transaction.commit();
    return added;
}

OptOutRegister::Added OptOutRegister::addRow(const QString& key, const QString& number, Source source,
                                             const QString& file, const QString& note, const QString& date)
{
    if (!hasTable())
        schema::addOptOutTable(*db_);
    Statement found(*db_, "SELECT Rimosso FROM esclusi WHERE Numero = ?");
    found.bind(1, key);
    const bool there = found.step();
    const bool removed = there && !found.text(0).isNull();
    found.reset();
    if (there && !removed)
        return Added::AlreadyThere;
    Statement write(*db_, there ? "UPDATE esclusi SET Cellulare = ?, Aggiunto = ?, Origine = ?, File = ?,"
                                  " Nota = ?, Rimosso = NULL WHERE Numero = ?"
                                : "INSERT INTO esclusi (Cellulare, Aggiunto, Origine, File, Nota, Numero)"
                                  " VALUES (?, ?, ?, ?, ?, ?)");
    write.bind(1, number);
    write.bind(2, date);
    write.bind(3, sourceText(source));
    write.bind(4, file);
    write.bind(5, note);
    write.bind(6, key);
    write.step();
    return there ? Added::Restored : Added::Added;
}

OptOutRegister::Removed OptOutRegister::remove(const QString& number, const QDateTime& when)
{
    const std::optional<QString> key = optOutKey(number);
    if (!key)
        return Removed::NotANumber;
    if (!hasTable())
        return Removed::NotThere;
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    Statement st(*db_, "UPDATE esclusi SET Rimosso = ? WHERE Numero = ? AND Rimosso IS NULL RETURNING id");
    st.bind(1, messageDate(when));
    st.bind(2, *key);
    const bool removed = st.step();
    st.reset();
    transaction.commit();
    return removed ? Removed::Removed : Removed::NotThere;
}

std::optional<OptOutEntry> OptOutRegister::find(const QString& number)
{
    const std::optional<QString> key = optOutKey(number);
    if (!key || !hasTable())
        return std::nullopt;
    Statement st(*db_,
                 QStringLiteral("SELECT %1 FROM esclusi WHERE Numero = ?").arg(QLatin1String(entryColumns)));
    st.bind(1, *key);
    if (!st.step())
        return std::nullopt;
    OptOutEntry entry = readEntry(st);
    st.reset();
    return entry;
}

QList<OptOutEntry> OptOutRegister::entries(const QString& search, bool withRemoved)
{
    QList<OptOutEntry> list;
    if (!hasTable())
        return list;
    const QString wanted = search.trimmed();
    const std::optional<QString> key = wanted.isEmpty() ? std::nullopt : optOutKey(wanted);
    Statement st(*db_, QStringLiteral("SELECT %1 FROM esclusi ORDER BY id").arg(QLatin1String(entryColumns)));
    while (st.step()) {
        OptOutEntry entry = readEntry(st);
        if (!withRemoved && !entry.honoured())
            continue;
        const bool matches =
            wanted.isEmpty() || entry.number == key || entry.typed.contains(wanted, Qt::CaseInsensitive) ||
            entry.number.contains(wanted) || entry.note.contains(wanted, Qt::CaseInsensitive);
        if (matches)
            list.append(std::move(entry));
    }
    return list;
}

OptOutList OptOutRegister::honoured()
{
    QSet<QString> keys;
    if (!hasTable())
        return OptOutList(keys);
    Statement st(*db_, "SELECT Numero FROM esclusi WHERE Rimosso IS NULL");
    while (st.step())
        keys.insert(st.text(0));
    return OptOutList(std::move(keys));
}

OptOutRegister::ImportTally OptOutRegister::import(const QStringList& lines, const QString& fileName,
                                                   const QDateTime& when)
{
    ImportTally tally;
    const QString file = QFileInfo(fileName).fileName();
    const QString date = messageDate(when);
    Transaction transaction(*db_, Transaction::Mode::Exclusive);
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& line = lines.at(i);
        if (line.trimmed().isEmpty())
            continue;
        const auto number = numberOfLine(line);
        if (!number) {
            tally.skipped << QStringLiteral("riga %1: %2").arg(i + 1).arg(line.trimmed());
            continue;
        }
        switch (addRow(number->first, number->second, Source::Imported, file, QString(), date)) {
        case Added::AlreadyThere:
            ++tally.alreadyThere;
            break;
        default:
            ++tally.added;
            break;
        }
    }
    transaction.commit();
    return tally;
}

std::optional<QStringList> OptOutRegister::readFile(const QString& path)
{
    const std::optional<QString> text = textfile::read(path, importSizeLimit);
    if (!text)
        return std::nullopt;
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\n|\r"));
    return text->split(lineEnd);
}

} // namespace parlix
