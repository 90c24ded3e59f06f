#pragma once

#include "contacts/contact.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace parlix {

class Store;

// Every contact of the book at `bookPath` that has a number (not only
// blanks), in stored order. Read through `store` rather than the program's
// shared handles: a worker thread or parlix-cli passes a store of its own
// (chooseStore()). Throws StoreError.
QList<Contact> contactsWithNumbers(Store& store, const QString& bookPath);
// The numbers alone of those contacts, in the same order: all a batch
// without merge fields needs, in a fifth of the memory.
QStringList numbersWithContacts(Store& store, const QString& bookPath);

// The book names of the book list (elenco.mdb), in stored order, read
// through `store`. Throws StoreError.
QStringList bookNames(Store& store, const QString& bookListPath);

// The contacts for these numbers, in their order: for each number the first
// contact of `contacts` that has it, or a contact with that number alone.
QList<Contact> contactsForNumbers(const QList<Contact>& contacts, const QStringList& numbers);

} // namespace parlix
