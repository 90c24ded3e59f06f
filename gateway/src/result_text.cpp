#include "qwirl/result_text.h"

#include "qwirl/result_codes.h"

namespace qwirl {

std::string resultMeaning(long result)
{
    namespace R = Result;
    namespace E = WinInetError;
    switch (result) {
    case R::Accepted:
        return "accettato";
    case R::Refused:
        return "rifiutato dal gateway";
    case R::RefusedKo1:
        return "rifiutato dal gateway: login o password errati (KO 1)";
    case R::RefusedKo2:
        return "rifiutato dal gateway: credito esaurito (KO 2)";
    case R::RefusedKo3:
        return "rifiutato dal gateway: richiesta o destinatario non validi (KO 3)";
    case R::RefusedKo9:
        return "rifiutato dal gateway (KO 9)";
    case R::BadNumber:
        return "numero non valido: serve \"+\" seguito da cifre";
    case R::NoText:
        return "testo mancante";
    case R::NoLogin:
        return "login mancante";
    case R::NoPassword:
        return "password mancante";
    case R::NoSession:
    case R::NoConnection:
        return "accesso a Internet non riuscito";
    case R::ProxyAuthCancelled:
        return "autenticazione al proxy annullata";
    case R::Offline:
        return "non in linea: collegamento rifiutato";
    case R::BadMessageId:
        return "identificativo del messaggio non valido: da 1 a 20 cifre";
    case R::BadQuality:
        return "qualità non valida per questa operazione";
    case E::Timeout:
        return "il gateway non ha risposto in tempo";
    case E::InvalidUrl:
        return "indirizzo del gateway non valido: nulla inviato";
    case E::NameNotResolved:
        return "nome del gateway non trovato";
    case E::CannotConnect:
        return "connessione al gateway non riuscita";
    case E::ConnectionAborted:
    case E::ConnectionReset:
        return "connessione al gateway interrotta";
    case E::InvalidServerResponse:
        return "risposta del gateway non valida";
    case E::CertificateDateInvalid:
        return "certificato del gateway scaduto o non ancora valido";
    case E::CertificateNameInvalid:
        return "il certificato non è del gateway: è rilasciato per un altro nome";
    case E::UnknownAuthority:
        return "certificato del gateway firmato da un'autorità sconosciuta";
    case E::CertificateErrors:
        return "certificato del gateway non verificabile (o file delle autorità illeggibile)";
    case E::SecureChannelError:
        return "connessione sicura (TLS) con il gateway non riuscita";
    default:
        return "scambio con il gateway non riuscito";
    }
}

std::string creditFailureMeaning(long failure)
{
    if (failure == Result::Refused) {
        return "il gateway non ha indicato un credito";
    }
    return resultMeaning(failure);
}

} // namespace qwirl
