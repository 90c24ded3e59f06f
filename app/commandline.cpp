#include "commandline.h"

namespace parlix::commandline {

namespace {

// The options QGuiApplication and QApplication read and take out of the command line themselves.
bool isQtOption(const QString& word, bool& takesValue)
{
    static const QStringList withValue = {
        QStringLiteral("-platform"),        QStringLiteral("-platformpluginpath"),
        QStringLiteral("-platformtheme"),   QStringLiteral("-plugin"),
        QStringLiteral("-qwindowgeometry"), QStringLiteral("-qwindowicon"),
        QStringLiteral("-qwindowtitle"),    QStringLiteral("-style"),
        QStringLiteral("-stylesheet"),      QStringLiteral("-session"),
        QStringLiteral("-display"),         QStringLiteral("-geometry"),
        QStringLiteral("-qmljsdebugger")};
    static const QStringList switches = {QStringLiteral("-reverse"), QStringLiteral("-widgetcount"),
                                         QStringLiteral("-nograb"), QStringLiteral("-dograb")};
    const QString name = word.startsWith(QStringLiteral("--")) ? word.mid(1) : word;
    const QString bare = name.section(u'=', 0, 0);
    takesValue = withValue.contains(bare) && !name.contains(u'=');
    return withValue.contains(bare) || switches.contains(name);
}

} // namespace

Request request(const QStringList& arguments, QString* error)
{
    bool help = false;
    bool version = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments.at(i);
        bool takesValue = false;
        if (word == u"--help" || word == u"-h") {
            help = true;
        } else if (word == u"--version") {
            version = true;
        } else if (word == u"--init" || word.startsWith(QStringLiteral("--home="))) {
        } else if (word == u"--home" || isQtOption(word, takesValue)) {
            if ((word == u"--home" || takesValue) && ++i >= arguments.size()) {
                if (error)
                    *error = QStringLiteral("manca il valore di %1").arg(word);
                return Request::Refused;
            }
        } else {
            if (error)
                *error = word.startsWith(u'-') ? QStringLiteral("opzione sconosciuta \"%1\"").arg(word)
                                               : QStringLiteral("argomento inatteso \"%1\"").arg(word);
            return Request::Refused;
        }
    }
    return help ? Request::Help : version ? Request::Version : Request::Run;
}

QString homeArgument(const QStringList& arguments)
{
    QString home;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        if (arguments.at(i) == u"--home" && i + 1 < arguments.size())
            home = arguments.at(++i);
        else if (arguments.at(i).startsWith(QStringLiteral("--home=")))
            home = arguments.at(i).mid(7);
    }
    return home;
}

QString versionText()
{
    return QStringLiteral("parlix " PARLIX_VERSION "\n");
}

QString helpText()
{
    return QStringLiteral(
        "Uso: parlix [--home CARTELLA] [--init]\n"
        "     parlix --version | --help\n"
        "\n"
        "Invia SMS attraverso un gateway SMS via web, con rubriche e archivi dei messaggi.\n"
        "\n"
        "Opzioni:\n"
        "  --home CARTELLA  la cartella dati (altrimenti $PARLIX_HOME, altrimenti\n"
        "                   $XDG_DATA_HOME/parlix, cioè ~/.local/share/parlix)\n"
        "  --init           crea i file iniziali della cartella dati ed esce senza aprire\n"
        "                   finestre\n"
        "  --version        scrive la versione ed esce\n"
        "  -h, --help       scrive questo aiuto ed esce\n"
        "  Le opzioni delle finestre di Qt (-platform, -style, -reverse...) valgono come\n"
        "  sempre; ogni altra parola è rifiutata (stato di uscita 1).\n"
        "\n"
        "Ambiente:\n"
        "  PARLIX_HOME                        la cartella dati, quando manca --home\n"
        "  QWIRL_SEND_HOST, QWIRL_NOTIFY_HOST  il gateway (host o host:porta)\n"
        "  http_proxy, no_proxy               il proxy HTTP\n"
        "\n"
        "Vedere anche: parlix-cli(1), qwirl(1).\n");
}

} // namespace parlix::commandline
