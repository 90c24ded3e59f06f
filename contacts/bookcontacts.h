#pragma once

#include "contacts/contact.h"

#include <QList>
#include <QString>
#include <QStringList>

namespace parlix {

// Every contact of a book file that has a number (not only blanks), in
// stored order, read through a connection of its own rather than the
// program's shared handles, so a worker thread or parlix-cli may call it.
// Throws StoreError.
QList<Contact> contactsWithNumbers(const QString& bookPath);

// The book names of a book list file (elenco.mdb), in stored order, read
// through a connection of its own. Throws StoreError.
QStringList bookNames(const QString& bookListPath);

// The contacts for these numbers, in their order: for each number the first
// contact of `contacts` that has it, or a contact with that number alone.
QList<Contact> contactsForNumbers(const QList<Contact>& contacts, const QStringList& numbers);

} // namespace parlix
