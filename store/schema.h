#pragma once

#include <QString>
#include <QStringList>

namespace parlix::schema {

// The list of address books: table elenco(Rubrica), one row per book, in tree order.
void createBookList(const QString& path, const QStringList& books);
// An address book: tables rubrica, salvati, inviati, cancellati, all empty.
// Used for the template; books themselves are copies of the template file.
void createBook(const QString& path);

} // namespace parlix::schema
