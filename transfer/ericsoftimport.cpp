#include "ericsoftimport.h"

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "transfer/contactwriter.h"

#include <map>
#include <memory>
#include <unordered_set>

namespace parlix {

namespace ericsoft {

QString digitsOnly(const QString& text)
{
    QString digits;
    for (const QChar c : text) {
        if (c >= u'0' && c <= u'9')
            digits += c;
    }
    return digits;
}

QString blankIfEmpty(const QString& text)
{
    return text.isEmpty() ? QStringLiteral(" ") : text;
}

QString targetBook(const QString& marketCode)
{
    return marketCode.isEmpty() ? QStringLiteral("Principale") : marketBook(marketCode);
}

QString marketBook(const QString& marketCode)
{
    return QStringLiteral("Mercato-") + marketCode;
}

QString customerLabel(const EricsoftCustomer& customer)
{
    constexpr qsizetype codeShown = 40;
    const QString code = customer.mercato.size() > codeShown
                             ? customer.mercato.left(codeShown) +
                                   QStringLiteral("… (%1 caratteri)").arg(customer.mercato.size())
                             : customer.mercato;
    return QStringLiteral("%1 (mercato \"%2\")")
        .arg(QStringList{customer.cognome.trimmed(), customer.nome.trimmed()}.join(u' ').trimmed(), code);
}

Contact contactOf(const EricsoftCustomer& customer)
{
    return {blankIfEmpty(customer.nome), blankIfEmpty(customer.cognome), digitsOnly(customer.telefono),
            blankIfEmpty(customer.posta), QStringLiteral("4")};
}

} // namespace ericsoft

bool esiste(ProgramState& state, const QString& marketCode)
{
    return BookCatalog(state).ensure(ericsoft::marketBook(marketCode)) == BookCatalog::Outcome::Done;
}

namespace {

using NumberSet = std::unordered_set<QString>;

constexpr qsizetype unplacedShown = 10;

// Adds the numbers of a book's contacts to `numbers`. A book whose file is
// missing holds none.
void readNumbers(Store& store, const QString& bookPath, NumberSet& numbers)
{
    std::shared_ptr<Database> db;
    try {
        db = store.open(bookPath);
    } catch (const StoreError& error) {
        if (error.code() == StoreError::Code::CannotOpen)
            return;
        throw;
    }
    Recordset rs(db, queries::wholeTable(QStringLiteral("rubrica")), Recordset::Reading::ForwardOnly);
    const int field = rs.fieldIndex(u"cellulare");
    for (; !rs.eof(); rs.moveNext())
        numbers.insert(rs.field(field));
}

} // namespace

EricsoftImportResult EricsoftImport::run(const QString& folder, const Progress& progress)
{
    using Status = EricsoftImportResult::Status;
    EricsoftImportResult result;
    if (folder.isEmpty()) {
        result.status = Status::FolderNotSet;
        return result;
    }

    try {
        // Read at the first customer: a folder without a usable table costs nothing.
        NumberSet numbers;
        bool numbersRead = false;
        // The market codes already seen, and whether their book could be made.
        std::map<QString, bool> markets;
        // Each book's rows go to it as the register is read, in one
        // transaction per book; the books in the order of their first contact.
        struct Target
        {
            std::unique_ptr<ContactAppender> appender;
            int rows = 0;
        };
        std::vector<Target> targets;
        std::map<QString, size_t> targetOf;
        const EricsoftRegister source = walkEricsoftRegister(
            folder,
            [&](const EricsoftCustomer& customer) {
                if (!numbersRead) {
                    for (const QString& book : BookCatalog(state_).names())
                        readNumbers(*state_.store, state_.folder.bookPath(book), numbers);
                    numbersRead = true;
                }
                auto market = markets.find(customer.mercato);
                if (market == markets.end()) {
                    const bool madeNow = !BookCatalog(state_).exists(ericsoft::marketBook(customer.mercato));
                    const bool ok = esiste(state_, customer.mercato);
                    // A file taken over as a book brings its contacts' numbers.
                    if (ok && madeNow)
                        readNumbers(*state_.store,
                                    state_.folder.bookPath(ericsoft::marketBook(customer.mercato)), numbers);
                    market = markets.emplace(customer.mercato, ok).first;
                }
                Contact contact = ericsoft::contactOf(customer);
                if (contact.cellulare.isEmpty()) {
                    ++result.withoutNumber;
                    return;
                }
                if (!customer.mercato.isEmpty() && !market->second) {
                    if (result.unplaced++ < unplacedShown)
                        result.unplacedCustomers << ericsoft::customerLabel(customer);
                    return;
                }
                if (!numbers.insert(contact.cellulare).second) {
                    ++result.duplicates;
                    return;
                }
                const QString book = ericsoft::targetBook(customer.mercato);
                auto [entry, isNew] = targetOf.try_emplace(book, targets.size());
                if (isNew)
                    targets.push_back(
                        {std::make_unique<ContactAppender>(state_, state_.folder.bookPath(book)), 0});
                Target& target = targets[entry->second];
                target.appender->append(contact);
                ++target.rows;
            },
            progress);
        switch (source.status) {
        case EricsoftRegister::Status::Read:
            break;
        case EricsoftRegister::Status::Unreadable:
            // The customers read before are imported.
            result.status = Status::Unreadable;
            break;
        case EricsoftRegister::Status::TableMissing:
            result.status = Status::TableMissing;
            return result;
        case EricsoftRegister::Status::FieldMissing:
            result.status = Status::FieldMissing;
            result.detail = source.missingField;
            return result;
        }
        // The last book opened first: on a server the later transactions are
        // held inside the earlier ones.
        for (auto target = targets.rbegin(); target != targets.rend(); ++target) {
            target->appender->commit();
            result.imported += target->rows;
        }
    } catch (const StoreError& error) {
        result.status = Status::StoreFailed;
        result.detail = error.message();
    }
    return result;
}

} // namespace parlix
