#pragma once

#include "core/datafolder.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

namespace parlix {

class Database;
class Store;

// One number of the opt-out register.
struct OptOutEntry
{
    QString number; // E.164 (optOutKey)
    QString typed;  // as typed or read from the file
    QString added;  // when it came in (or came back), as a `Data` text
    QString source; // "digitato" or "importato"
    QString file;   // the name of the file it was imported from
    QString note;
    QString removed; // when it was taken off the register; empty while honoured

    bool honoured() const { return removed.isEmpty(); }
};

// The numbers the register honours at one moment, to be checked quickly.
class OptOutList
{
public:
    OptOutList() = default;
    explicit OptOutList(QSet<QString> keys);

    bool isEmpty() const { return keys_.isEmpty(); }
    qsizetype size() const { return keys_.size(); }
    // Whether `number`, in any form, is honoured; a text that is no number is not.
    bool contains(const QString& number) const;

private:
    QSet<QString> keys_;
    // The national digits of the keys and their lengths: a number whose
    // digits end with none of them is none of the keys, which spares the
    // full reading of almost every recipient of a batch.
    QSet<QString> nationals_;
    QList<qsizetype> lengths_;
};

// The opt-out register: the numbers of people who asked to receive no more
// SMS, one list per data folder (table esclusi beside the book list: in
// elenco.mdb, or in the shared database). The send engine skips every number
// it honours, whatever started the batch. A removal keeps the row with its
// date, so a number taken off can be told from one never there. Widget-free;
// every operation throws StoreError.
class OptOutRegister
{
public:
    enum class Source { Typed, Imported };
    enum class Added { Added, Restored /* had been removed */, AlreadyThere, NotANumber };
    enum class Removed { Removed, NotThere, NotANumber };

    // The register beside the book list at `listPath` of `store` (DataFolder::bookList()).
    OptOutRegister(Store& store, const QString& listPath);
    ~OptOutRegister();

    // The data folder that holds the book at `bookPath`, and its book list.
    static DataFolder folderOfBook(const QString& bookPath);
    static QString listPathOfBook(const QString& bookPath);

    Added add(const QString& number, Source source, const QString& file, const QString& note,
              const QDateTime& when);
    Removed remove(const QString& number, const QDateTime& when);
    std::optional<OptOutEntry> find(const QString& number);
    // In the order they came in; `search` (blank: all) matches the number in
    // any form, or part of the number as typed or of the note.
    QList<OptOutEntry> entries(const QString& search = {}, bool withRemoved = false);
    OptOutList honoured();

    // How an import went: lines that gave no number are listed as "riga N: text".
    struct ImportTally
    {
        int added = 0;
        int alreadyThere = 0;
        QStringList skipped;
    };
    // One number a line: a plain list, or a CSV (";", "," or tab) where the
    // first field that is a number is taken. All or nothing, in one transaction.
    ImportTally import(const QStringList& lines, const QString& fileName, const QDateTime& when);
    // The lines of a file to import; nothing when it cannot be read.
    static std::optional<QStringList> readFile(const QString& path);

    // The numbers honoured by the register of the data folder that holds the
    // book at `bookPath`; none for a book outside a data folder.
    static OptOutList honouredForBook(Store& store, const QString& bookPath);

    static QString registerName() { return QStringLiteral("Numeri esclusi"); }
    static QString notANumberText(const QString& number);
    // Why a single SMS to `number` is refused.
    static QString refusalText(const QString& number);
    // The confirmation asked before `number` is taken off.
    static QString removalQuestion(const QString& number);
    // How an import went, for the user.
    static QString importText(const ImportTally& tally);
    // How many recipients of a batch are skipped, and why.
    static QString excludedText(int count);

private:
    bool hasTable();
    Added addRow(const QString& key, const QString& number, Source source, const QString& file,
                 const QString& note, const QString& date);

    std::shared_ptr<Database> db_;
};

} // namespace parlix
