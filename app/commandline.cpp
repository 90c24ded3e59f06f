#include "commandline.h"

namespace parlix::commandline {

Request request(const QStringList& arguments)
{
    const QStringList options = arguments.mid(1);
    if (options.contains(QStringLiteral("--help")) || options.contains(QStringLiteral("-h")))
        return Request::Help;
    if (options.contains(QStringLiteral("--version")))
        return Request::Version;
    return Request::Run;
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
        "\n"
        "Ambiente:\n"
        "  PARLIX_HOME                        la cartella dati, quando manca --home\n"
        "  QWIRL_SEND_HOST, QWIRL_NOTIFY_HOST  il gateway (host o host:porta)\n"
        "  http_proxy, no_proxy               il proxy HTTP\n"
        "\n"
        "Vedere anche: parlix-cli(1), qwirl(1).\n");
}

} // namespace parlix::commandline
