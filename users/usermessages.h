#pragma once

#include <QString>

// The texts that the account form, the login form and parlix-cli share.
namespace parlix::usermessages {

inline QString wrongLogin()
{
    return QStringLiteral("Nome utente o Password errati");
}
inline QString existingUser()
{
    return QStringLiteral("Utente Esistente");
}
inline QString noUsers()
{
    return QStringLiteral("Nessun Utente Configurato");
}
inline QString currentUserKept()
{
    return QStringLiteral("Impossibile Cancellare l'utente corrente");
}
inline QString deleteQuestion(const QString& name)
{
    return QStringLiteral("Cancellare l'utente ") + name;
}

// What the format cannot hold.
inline QString separatorRefused()
{
    return QStringLiteral("Il nome utente e la password non possono contenere virgole, "
                          "ritorni a capo o altri caratteri di controllo.");
}
inline QString characterRefused(const QString& character)
{
    return QStringLiteral("Il carattere \"") + character +
           QStringLiteral("\" non può essere salvato nel file degli utenti.");
}
inline QString tooLongRefused()
{
    return QStringLiteral("Nome utente e password sono troppo lunghi per i caratteri che contengono: "
                          "l'utente non può essere salvato.");
}
inline QString tooManyUsers()
{
    return QStringLiteral("Non si possono configurare più di 1001 utenti.");
}
inline QString damagedEntries(int count)
{
    return count == 1 ? QStringLiteral("Il file degli utenti contiene una voce danneggiata: viene ignorata.")
                      : QStringLiteral("Il file degli utenti contiene %1 voci danneggiate: vengono ignorate.")
                            .arg(count);
}
inline QString unreadableFile(const QString& path)
{
    return QStringLiteral("Impossibile leggere il file degli utenti ") + path;
}
inline QString unwritableFile(const QString& path, const QString& reason)
{
    return QStringLiteral("Impossibile salvare il file degli utenti ") + path + QStringLiteral(": ") + reason;
}

} // namespace parlix::usermessages
