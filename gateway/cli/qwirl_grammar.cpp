#include "qwirl_grammar.h"

#include "exit_status.h"

#include "qwirl/result_codes.h"

namespace qwirl::cli {

const Grammar& qwirlGrammar()
{
    static const Grammar grammar{
        "qwirl",
        "invia un SMS o chiede il credito al gateway SMS",
        "send an SMS or ask for the credit through the web SMS gateway",
        {"qwirl parla con il gateway SMS attraverso la stessa libreria di parlix(1). Scrive il risultato "
         "come "
         "un numero su una riga dello standard output: 0 per un SMS accettato, il codice d'errore "
         "altrimenti, "
         "oppure il credito per credits; quando il risultato non è un successo ne dice il motivo sullo "
         "standard error.",
         "Un indirizzo del gateway è host[:porta] (HTTP) oppure https://host[:porta] (TLS, con il "
         "certificato "
         "e il nome dell'host verificati; un certificato che non passa la verifica non ricade mai su HTTP).",
         "Gli indirizzi vengono, dal più debole al più forte: da quelli compilati, da "
         "/etc/parlix/gateway.conf, "
         "dal file dell'utente e dalle variabili d'ambiente. Il file ha righe chiave = valore (chiavi "
         "send-host, notify-host, ca-file) e commenti che iniziano con #; un file o un valore non validi "
         "fanno uscire con 2 senza inviare nulla."},
        {
            {"login", "LOGIN", "il login dell'account del gateway", false, ""},
            {"password", "PASSWORD", "la password dell'account", false, ""},
            {"sender", "MITTENTE", "il mittente (al massimo 11 caratteri)", false, ""},
            {"quality", "N", "la qualità: 1 alta, 2 normale (predefinita), 3 bassa (solo send)", false, ""},
            {"flash", "", "invia un SMS flash", false, ""},
            {"proxy", "INDIRIZZO", "il proxy HTTP da usare (host:porta)", false, ""},
            {"proxy-login", "UTENTE", "l'utente del proxy", false, ""},
            {"proxy-password", "PASSWORD", "la password del proxy", false, ""},
        },
        {
            {"send", {"NUMERO", "TESTO"}, "invia un SMS; TESTO - lo legge dallo standard input"},
            {"notify", {"NUMERO", "TESTO", "ID"}, "invia un SMS con un identificativo (da 1 a 20 cifre)"},
            {"credits", {}, "scrive il credito dell'account"},
        },
        {
            {Success, "riuscito: SMS accettato o credito letto"},
            {UsageError, "riga di comando errata"},
            {BadConfiguration, "indirizzi del gateway o file delle autorità non validi: nulla inviato"},
            {BadRequest,
             "numero, testo, identificativo, qualità, login o password mancanti o non validi: nulla "
             "inviato"},
            {Refused, "rifiutato dal gateway (per credits: login o password rifiutati)"},
            {Unreachable, "gateway non raggiungibile (rete, tempo scaduto, proxy, non in linea)"},
            {CertificateFailure,
             "certificato del gateway https non valido o connessione sicura non riuscita"},
        },
        {
            {"QWIRL_LOGIN", "il login, se manca --login"},
            {"QWIRL_PASSWORD", "la password, se manca --password"},
            {"QWIRL_PROXY_PASSWORD", "la password del proxy, se manca --proxy-password"},
            {"QWIRL_SEND_HOST",
             "l'indirizzo del gateway per send e credits (host[:porta] o https://host[:porta])"},
            {"QWIRL_NOTIFY_HOST", "l'indirizzo del gateway per notify"},
            {"QWIRL_CA_FILE", "il file PEM delle autorità di certificazione per un gateway https"},
            {"XDG_CONFIG_HOME", "la cartella del file dell'utente (predefinita ~/.config)"},
            {"PARLIX_GATEWAY_CONF_DIR", "la cartella del file di sistema al posto di /etc/parlix"},
            {"http_proxy, no_proxy", "il proxy di sistema, quando manca --proxy"},
        },
        {
            {"/etc/parlix/gateway.conf", "gli indirizzi del gateway e il file delle autorità per il sistema"},
            {"$XDG_CONFIG_HOME/parlix/gateway.conf", "gli stessi per l'utente; valgono sul file di sistema"},
        },
        {
            {"QWIRL_PASSWORD=demo qwirl --login demo send +393331234567 \"Ciao\"", "invia un SMS"},
            {"echo \"Ciao\" | qwirl --login demo send +393331234567 -",
             "invia il testo letto dallo standard input"},
            {"qwirl --login demo --password demo credits", "scrive il credito"},
        },
    };
    return grammar;
}

ExitStatus exitStatusFor(long result)
{
    namespace R = Result;
    switch (result) {
    case R::Accepted:
        return Success;
    case R::BadNumber:
    case R::NoText:
    case R::NoLogin:
    case R::NoPassword:
    case R::BadMessageId:
    case R::BadQuality:
        return BadRequest;
    case R::Refused:
    case R::RefusedKo1:
    case R::RefusedKo2:
    case R::RefusedKo3:
    case R::RefusedKo9:
        return Refused;
    case WinInetError::InvalidUrl:
        return BadConfiguration;
    default:
        return WinInetError::isCertificateFailure(result) ? CertificateFailure : Unreachable;
    }
}

} // namespace qwirl::cli
