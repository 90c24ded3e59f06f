#include "helppage.h"

namespace parlix {

QByteArray helpPage()
{
    return QByteArrayLiteral(R"(<!DOCTYPE html>
<html lang="it">
<head><meta charset="utf-8"><title>Parlix - Guida</title></head>
<body>
<h1>Parlix</h1>
<p>Parlix invia messaggi SMS dal computer attraverso un gateway SMS via web.</p>
<h2>Archivi</h2>
<p>A sinistra l'elenco degli archivi mostra, per ogni rubrica, i contatti, gli SMS salvati,
gli SMS inviati e gli SMS cancellati. Fare clic su un archivio per vederne il contenuto.</p>
<h2>Inviare un SMS</h2>
<p>Spuntare i contatti e scegliere <b>SMS &gt; Invia SMS Multipli</b>, oppure selezionare un contatto e
scegliere <b>Invia SMS Singoli</b>. I testi oltre 160 caratteri vengono divisi in più parti (al massimo dieci).</p>
<h2>Account</h2>
<p>I dati dell'account del gateway si impostano dal menu <b>Gestione Account</b>.
Il credito residuo si aggiorna con <b>Aggiorna Credito</b>.</p>
<h2>Rubriche</h2>
<p>Il menu <b>Rubrica</b> permette di creare, rinominare ed eliminare le rubriche,
di inserire e cercare contatti.</p>
</body>
</html>
)");
}

} // namespace parlix
