#include "storeerror.h"

#include <QDir>

namespace parlix {

StoreError::StoreError(Code code, QString message)
    : std::runtime_error(message.toStdString()), code_(code), message_(std::move(message))
{}

StoreError StoreError::cannotOpen(const QString& path)
{
    return {Code::CannotOpen,
            QStringLiteral("Impossibile aprire l'archivio \"%1\".").arg(QDir::toNativeSeparators(path))};
}

StoreError StoreError::notADatabase(const QString& path)
{
    return {Code::NotADatabase,
            QStringLiteral("Il file \"%1\" non è un archivio di Parlix valido: non è stato modificato.")
                .arg(QDir::toNativeSeparators(path))};
}

StoreError StoreError::noCurrentRecord()
{
    return {Code::NoCurrentRecord, QStringLiteral("Nessun record corrente.")};
}

StoreError StoreError::engine(const QString& detail)
{
    return {Code::Engine, QStringLiteral("Errore dell'archivio: %1").arg(detail)};
}

StoreError StoreError::bookGone(const QString& book)
{
    return {Code::CannotOpen,
            QStringLiteral("La rubrica \"%1\" non esiste più: è stata rinominata o eliminata "
                           "da un'altra postazione.")
                .arg(book)};
}

StoreError StoreError::connectionLost(const QString& detail)
{
    return {
        Code::ConnectionLost,
        QStringLiteral("Il collegamento con l'archivio condiviso si è interrotto e l'ultima operazione non "
                       "è stata salvata. Riprovare: il programma si ricollegherà da solo.\n(%1)")
            .arg(detail.trimmed())};
}

} // namespace parlix
