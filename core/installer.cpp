#include "installer.h"

#include "core/datafolder.h"
#include "core/helppage.h"
#include "core/storechoice.h"
#include "core/textfile.h"
#include "store/schema.h"
#include "store/storeerror.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace parlix {

namespace {

const QString principale = QStringLiteral("Principale");

QStringList disclaimerText()
{
    return {
        QStringLiteral("Parlix invia messaggi SMS attraverso un gateway commerciale."),
        QStringLiteral("L'invio dei messaggi consuma il credito del proprio account presso il gateway."),
        QStringLiteral("L'utente è responsabile del contenuto dei messaggi e del consenso dei destinatari"),
        QStringLiteral("a ricevere comunicazioni, secondo le norme sulla protezione dei dati personali."),
        QStringLiteral("Il programma è fornito così com'è, senza garanzie di alcun tipo."),
        QStringLiteral("Premere \"Accetto\" per continuare, \"Rifiuto\" per uscire."),
    };
}

// Builds a database in a temporary file and moves it into place, so that an
// interrupted installation never leaves a half-made file under the real name.
template <typename Build> bool createAtomically(const QString& path, Build build)
{
    const QString temporary = path + QStringLiteral(".tmp-install");
    QFile::remove(temporary);
    try {
        build(temporary);
    } catch (const StoreError&) {
        QFile::remove(temporary);
        return false;
    }
    if (!QFile::rename(temporary, path)) {
        QFile::remove(temporary);
        return false;
    }
    return true;
}

} // namespace

QStringList Installer::defaultPrefixes()
{
    return {QStringLiteral("320"), QStringLiteral("324"), QStringLiteral("327"), QStringLiteral("328"),
            QStringLiteral("329"), QStringLiteral("330"), QStringLiteral("331"), QStringLiteral("333"),
            QStringLiteral("334"), QStringLiteral("335"), QStringLiteral("336"), QStringLiteral("337"),
            QStringLiteral("338"), QStringLiteral("339"), QStringLiteral("340"), QStringLiteral("342"),
            QStringLiteral("345"), QStringLiteral("346"), QStringLiteral("347"), QStringLiteral("348"),
            QStringLiteral("349"), QStringLiteral("350"), QStringLiteral("351"), QStringLiteral("366"),
            QStringLiteral("368"), QStringLiteral("370"), QStringLiteral("371"), QStringLiteral("377"),
            QStringLiteral("380"), QStringLiteral("388"), QStringLiteral("389"), QStringLiteral("391"),
            QStringLiteral("392"), QStringLiteral("393")};
}

bool Installer::missing(const QString& name) const
{
    return !QFileInfo::exists(folder_.path(name));
}

QStringList Installer::run()
{
    QStringList failed;
    const auto note = [&failed](bool ok, const QString& name) {
        if (!ok)
            failed << name;
    };

    note(QDir().mkpath(folder_.root()), folder_.root());
    if (missing(QStringLiteral("rubriche")))
        note(QDir(folder_.root()).mkdir(QStringLiteral("rubriche")), QStringLiteral("rubriche"));
    // With a shared database the book list and the books live there; the
    // database gets them on first use.
    const bool shared = !sharedStoreAddress(folder_).isEmpty();
    if (!shared && missing(QStringLiteral("elenco.mdb"))) {
        note(createAtomically(folder_.path(QStringLiteral("elenco.mdb")),
                              [](const QString& path) { schema::createBookList(path, {principale}); }),
             QStringLiteral("elenco.mdb"));
    }
    if (!shared && missing(QStringLiteral("rubrica_base.mdb"))) {
        note(createAtomically(folder_.path(QStringLiteral("rubrica_base.mdb")), schema::createBook),
             QStringLiteral("rubrica_base.mdb"));
    }
    if (!shared && missing(QStringLiteral("rubriche/") + principale)) {
        note(createAtomically(folder_.bookPath(principale), schema::createBook),
             QStringLiteral("rubriche/") + principale);
    }
    if (missing(QStringLiteral("Prefissi.txt")))
        note(textfile::writeLines(folder_.path(QStringLiteral("Prefissi.txt")), defaultPrefixes()),
             QStringLiteral("Prefissi.txt"));
    if (missing(QStringLiteral("mostra.txt")))
        note(textfile::writeLines(folder_.path(QStringLiteral("mostra.txt")), {QStringLiteral("1")}),
             QStringLiteral("mostra.txt"));
    if (missing(QStringLiteral("disclaimer.txt")))
        note(textfile::writeLines(folder_.path(QStringLiteral("disclaimer.txt")), disclaimerText()),
             QStringLiteral("disclaimer.txt"));
    if (missing(QStringLiteral("parlix.html")))
        note(textfile::writeWhole(folder_.path(QStringLiteral("parlix.html")), helpPage()),
             QStringLiteral("parlix.html"));
    return failed;
}

} // namespace parlix
