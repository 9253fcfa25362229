#include "core/ErrorText.h"

#include "core/Text.h"
#include "core/FileError.h"

namespace folianto {

std::string GetErrorText(uint8_t nr, const std::string& p)
{
    // Umlauts as Windows-1252 bytes: \xFC = ü, \xE4 = ä.
    switch (nr) {
    case 1: return "Datei " + p + " nicht gefunden!";
    case 2: return "Nicht genug Speicher zum Laden der Daten!";
    case 3: return "Fehler beim Lesen aus " + p + "!";
    case 4: return "Nicht genug Speicher f\xFCr's Sortieren der Daten.";
    case 5: return "Nicht genug Speicher f\xFCr neuen Datensatz.";
    case 6: return "Nicht genug Speicher f\xFCr neue Kategorie" + p + ".";
    case 7: return "Kategorie " + p + " gibt es schon; sie wird NICHT noch mal angelegt.";
    case 8: return "Fehler beim Sortieren der " + p + ".";
    case 9: return "Fehler beim Speichern der Daten in " + p + ".";
    case 10: return "Keine Buchdaten geladen/vorhanden.";
    case 11: return "F\xFCr diese Suchen-/Filtern-/Schlagwort-Suche-Einstellung\r\nwurden keine Daten gefunden.";
    case 12: return "Fehler bei der Zuordnung der Datens\xE4tze!";
    case 13: return "Maximale Anzahl B\xFC" "cher pro Datei (10000) erreicht. Neue Datei anlegen!";
    case 15: return "Maximale Anzahl Kategorien (100) erreicht.";
    case 16: return "Kein Dateiname angegeben. Vorgang \"" + p + "\" abgebrochen!";
    case 17: return "Zum Neuanlegen eines Bucheintrags den Men\xFC" "eintrag \"Titel | Neu eingeben\" w\xE4hlen.";
    case 18: return "Zur Anzeige der Buchdaten nicht in die Titel- oder Buchtitelzeile klicken.";
    case 19: return "Konnte keine Kategorien aus " + p + " lesen.";
    case 20: return "Fehler: Titel nicht gefunden!";
    case 21:
        return "Die Daten-Datei \"" + p + "\" wird offenbar\r\nvon einem anderen Programm/Computer benutzt!"
               "\r\n\r\nDer Benutzer hat das Laden sicherheitshalber abgebrochen.";
    case 22: return "Die Datei " + p + " ist keine Folianto-Datei!\r\nDaten werden nicht geladen!";
    default: return "-- F\xFCr diesen Fehler ist kein Fehlerstring vorhanden! --";
    }
}

std::string FileErrorText(const FileError& error)
{
    switch (error.problem) {
    case FileProblem::None: return {};
    case FileProblem::NoPermission: return "Keine Berechtigung zum Schreiben.";
    case FileProblem::DiskFull: return "Der Datentr\xE4ger ist voll.";
    case FileProblem::FolderMissing: return "Der Ordner existiert nicht.";
    case FileProblem::ReadOnlyDisk: return "Der Datentr\xE4ger ist schreibgesch\xFCtzt.";
    case FileProblem::NameTooLong: return "Der Dateiname ist zu lang.";
    case FileProblem::IsFolder: return "Unter diesem Namen gibt es einen Ordner.";
    case FileProblem::Other: break;
    }
    return "Systemfehler Nr. " + IntToStr(error.code) + ".";
}

std::string WithReason(const std::string& message, const FileError& error)
{
    const std::string reason = FileErrorText(error);
    return reason.empty() ? message : message + "\r\n" + reason;
}

} // namespace folianto
