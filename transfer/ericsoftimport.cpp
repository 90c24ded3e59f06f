#include "ericsoftimport.h"

#include "contacts/bookcatalog.h"
#include "core/programstate.h"
#include "store/database.h"
#include "store/recordset.h"
#include "store/store.h"
#include "store/storeerror.h"
#include "transfer/contactwriter.h"

#include <map>
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
    Recordset rs(db, queries::wholeTable(QStringLiteral("rubrica")));
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
    const EricsoftRegister source = readEricsoftRegister(folder, progress);
    switch (source.status) {
    case EricsoftRegister::Status::Read:
        break;
    case EricsoftRegister::Status::Unreadable:
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

    try {
        NumberSet numbers;
        for (const QString& book : BookCatalog(state_).names())
            readNumbers(*state_.store, state_.folder.bookPath(book), numbers);

        // The market codes already seen, and whether their book could be made.
        std::map<QString, bool> markets;
        // The books written to, in the order of their first contact.
        std::vector<QString> order;
        std::map<QString, std::vector<Contact>> rows;
        for (const EricsoftCustomer& customer : source.customers) {
            auto market = markets.find(customer.mercato);
            if (market == markets.end()) {
                const bool madeNow = !BookCatalog(state_).exists(ericsoft::marketBook(customer.mercato));
                const bool ok = esiste(state_, customer.mercato);
                // A file taken over as a book brings its contacts' numbers.
                if (ok && madeNow)
                    readNumbers(*state_.store, state_.folder.bookPath(ericsoft::marketBook(customer.mercato)),
                                numbers);
                market = markets.emplace(customer.mercato, ok).first;
            }
            Contact contact = ericsoft::contactOf(customer);
            if (contact.cellulare.isEmpty()) {
                ++result.withoutNumber;
                continue;
            }
            if (!customer.mercato.isEmpty() && !market->second) {
                if (result.unplaced++ < unplacedShown)
                    result.unplacedCustomers << ericsoft::customerLabel(customer);
                continue;
            }
            if (!numbers.insert(contact.cellulare).second) {
                ++result.duplicates;
                continue;
            }
            const QString book = ericsoft::targetBook(customer.mercato);
            auto [entry, isNew] = rows.try_emplace(book);
            if (isNew)
                order.push_back(book);
            entry->second.push_back(std::move(contact));
        }

        for (const QString& book : order) {
            const std::vector<Contact>& contacts = rows[book];
            appendContacts(state_, state_.folder.bookPath(book), contacts);
            result.imported += int(contacts.size());
        }
    } catch (const StoreError& error) {
        result.status = Status::StoreFailed;
        result.detail = error.message();
    }
    return result;
}

} // namespace parlix
