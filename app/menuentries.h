#pragma once

#include <QLatin1String>

// The main window's menu entries and toolbar actions, reached by their role.
// Each keeps the object name the program has always given it (the text on the
// right), by which tests and the menu table know it.
namespace parlix::menuentry {

inline constexpr QLatin1String exportBook{"exru"};          // "Esporta Rubrica"
inline constexpr QLatin1String exportVCard{"exvcard"};      // "Esporta vCard"
inline constexpr QLatin1String importCsv{"impcvs"};         // "Importa file csv"
inline constexpr QLatin1String importVCard{"impvcard"};     // "Importa file vCard"
inline constexpr QLatin1String importEricsoft{"imph3"};     // "Importa da Ericsoft"
inline constexpr QLatin1String ericsoftFolders{"iae"};      // "Imposta Archivi Ericsoft"
inline constexpr QLatin1String header{"configu"};           // "Configura"
inline constexpr QLatin1String prefixes{"newpref"};         // "Nuovi Prefissi"
inline constexpr QLatin1String quit{"chiuso"};              // "Chiudi"
inline constexpr QLatin1String bookManager{"nr"};           // "Gestione Rubriche"
inline constexpr QLatin1String newContact{"inru"};          // "Inserisci Contatto"
inline constexpr QLatin1String contactSearch{"cececo"};     // "Cerca Contatto"
inline constexpr QLatin1String sendSingle{"ismss"};         // "Invia SMS Singoli"
inline constexpr QLatin1String sendMultiple{"ismsm"};       // "Invia SMS Multipli"
inline constexpr QLatin1String scheduledBatches{"invprog"}; // "Invii Programmati"
inline constexpr QLatin1String optOutRegister{"numesc"};    // "Numeri esclusi"
inline constexpr QLatin1String sentOutcome{"esinv"};
inline constexpr QLatin1String statistics{"statistiche"};      // "Statistiche"           // "Esito Invio"
inline constexpr QLatin1String deleteTicked{"canse"};          // "Cancella Spuntati"
inline constexpr QLatin1String buyCredit{"acqs"};              // "Acquista SMS"
inline constexpr QLatin1String refreshCredit{"aaa"};           // "Aggiorna Credito"
inline constexpr QLatin1String accountData{"datiaccount"};     // "Dati Account"
inline constexpr QLatin1String help{"he"};                     // "Help"
inline constexpr QLatin1String partners{"guad"};               // "Guadagna con noi"
inline constexpr QLatin1String about{"inform"};                // "Info"
inline constexpr QLatin1String resellerProgramme{"programma"}; // toolbar: "Programma rivenditori"

} // namespace parlix::menuentry
