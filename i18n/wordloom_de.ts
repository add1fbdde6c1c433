<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>Collect</name>
    <message>
        <source>No Forms found!</source>
        <translation>Keine Formulare gefunden!</translation>
    </message>
    <message>
        <source>Parsing %1 ...</source>
        <translation>Lese %1 ...</translation>
    </message>
    <message>
        <source>No Pascal Files found!</source>
        <translation>Keine Pascal-Dateien gefunden!</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>%1 file(s) could not be read and were skipped.</source>
        <translation>%1 Datei(en) konnten nicht gelesen werden und wurden übersprungen.</translation>
    </message>
    <message>
        <source>%1 line(s) could not be parsed; their texts were not collected.</source>
        <translation>%1 Zeile(n) konnten nicht gelesen werden; ihre Texte wurden nicht gesammelt.</translation>
    </message>
    <message>
        <source>Skipped %1</source>
        <translation>Übersprungen: %1</translation>
    </message>
    <message>
        <source>%1 Line %2: Parsing error when parsing String: %3</source>
        <translation>%1 Zeile %2: Fehler beim Lesen des Textes: %3</translation>
    </message>
    <message>
        <source>Waiting for the strings table: another program is writing to it ...</source>
        <translation>Warte auf die Texttabelle: ein anderes Programm schreibt gerade hinein ...</translation>
    </message>
</context>
<context>
    <name>GuiCommandHost</name>
    <message>
        <source>Skip this file and go on with the others?</source>
        <translation>Diese Datei überspringen und mit den anderen weitermachen?</translation>
    </message>
</context>
<context>
    <name>OpenDocument</name>
    <message>
        <source>Cannot open %1:
the file does not exist.</source>
        <translation>%1 kann nicht geöffnet werden:
die Datei existiert nicht.</translation>
    </message>
    <message>
        <source>Cannot open %1:
no program to open it was found (is xdg-open installed?).</source>
        <translation>%1 kann nicht geöffnet werden:
es wurde kein Programm dafür gefunden (ist xdg-open installiert?).</translation>
    </message>
</context>
<context>
    <name>Pathwright</name>
    <message>
        <source>&amp;Copy Here</source>
        <translation>Hierher &amp;kopieren</translation>
    </message>
    <message>
        <source>&amp;Move Here</source>
        <translation>Hierher &amp;verschieben</translation>
    </message>
    <message>
        <source>&amp;Link Here</source>
        <translation>Verknüpfung hier &amp;erstellen</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Cannot create a link to %1</source>
        <translation>Verknüpfung auf %1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>Cannot find path: %1</source>
        <translation>Pfad nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Cannot Find Folder: %1</source>
        <translation>Ordner nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Cannot create %1</source>
        <translation>%1 kann nicht erstellt werden</translation>
    </message>
    <message>
        <source>Cannot copy %1 to %2</source>
        <translation>%1 kann nicht nach %2 kopiert werden</translation>
    </message>
    <message>
        <source>Cannot find %1</source>
        <translation>%1 nicht gefunden</translation>
    </message>
    <message>
        <source>Cannot put %1 into itself</source>
        <translation>%1 kann nicht in sich selbst abgelegt werden</translation>
    </message>
    <message>
        <source>Cannot move %1</source>
        <translation>%1 kann nicht verschoben werden</translation>
    </message>
    <message>
        <source>Cannot remove %1</source>
        <translation>%1 kann nicht entfernt werden</translation>
    </message>
    <message>
        <source>Are you sure you want to permanently delete &quot;%1&quot;?</source>
        <translation>Möchten Sie „%1“ wirklich endgültig löschen?</translation>
    </message>
    <message>
        <source>Are you sure you want to permanently delete these %1 items?</source>
        <translation>Möchten Sie diese %1 Objekte wirklich endgültig löschen?</translation>
    </message>
    <message>
        <source>Are you sure you want to move &quot;%1&quot; to the Trash?</source>
        <translation>Möchten Sie „%1“ wirklich in den Papierkorb verschieben?</translation>
    </message>
    <message>
        <source>Are you sure you want to move these %1 items to the Trash?</source>
        <translation>Möchten Sie diese %1 Objekte wirklich in den Papierkorb verschieben?</translation>
    </message>
    <message>
        <source>Confirm Delete</source>
        <translation>Löschen bestätigen</translation>
    </message>
    <message>
        <source>Error Deleting File</source>
        <translation>Fehler beim Löschen</translation>
    </message>
    <message>
        <source>&amp;Open</source>
        <translation>Ö&amp;ffnen</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>&amp;Delete</source>
        <translation>&amp;Löschen</translation>
    </message>
    <message>
        <source>Rena&amp;me</source>
        <translation>&amp;Umbenennen</translation>
    </message>
    <message>
        <source>P&amp;roperties</source>
        <translation>E&amp;igenschaften</translation>
    </message>
    <message>
        <source>1 byte</source>
        <translation>1 Byte</translation>
    </message>
    <message>
        <source>%1 bytes</source>
        <translation>%1 Bytes</translation>
    </message>
    <message>
        <source>%1 (%2 bytes)</source>
        <translation>%1 (%2 Bytes)</translation>
    </message>
    <message>
        <source>%1 Properties</source>
        <translation>Eigenschaften von %1</translation>
    </message>
    <message>
        <source>Name</source>
        <translation>Name</translation>
    </message>
    <message>
        <source>Type</source>
        <translation>Typ</translation>
    </message>
    <message>
        <source>Link to</source>
        <translation>Verweist auf</translation>
    </message>
    <message>
        <source>Location</source>
        <translation>Ort</translation>
    </message>
    <message>
        <source>Size</source>
        <translation>Größe</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Permissions</source>
        <translation>Rechte</translation>
    </message>
    <message>
        <source>Properties</source>
        <translation>Eigenschaften</translation>
    </message>
    <message>
        <source>%1 items</source>
        <translation>%1 Objekte</translation>
    </message>
    <message>
        <source>Invalid name: %1</source>
        <translation>Ungültiger Name: %1</translation>
    </message>
    <message>
        <source>File System</source>
        <translation>Dateisystem</translation>
    </message>
    <message>
        <source>Cannot rename to %1</source>
        <translation>Umbenennen in %1 nicht möglich</translation>
    </message>
    <message>
        <source>Desktop</source>
        <translation>Schreibtisch</translation>
    </message>
    <message>
        <source>Computer</source>
        <translation>Computer</translation>
    </message>
    <message>
        <source>Home</source>
        <translation>Persönlicher Ordner</translation>
    </message>
    <message>
        <source>Trash</source>
        <translation>Papierkorb</translation>
    </message>
    <message>
        <source>Network</source>
        <translation>Netzwerk</translation>
    </message>
    <message>
        <source>%1 names no object that can go to the trash</source>
        <translation>%1 bezeichnet nichts, was in den Papierkorb kann</translation>
    </message>
    <message>
        <source>No trash can be made on the volume at %1: %2</source>
        <translation>Auf dem Laufwerk unter %1 kann kein Papierkorb angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot make the trash folder %1: %2</source>
        <translation>Der Papierkorb-Ordner %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot write the trash record %1: %2</source>
        <translation>Der Papierkorb-Eintrag %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>The trash holds too many objects named %1</source>
        <translation>Im Papierkorb liegen zu viele Objekte namens %1</translation>
    </message>
</context>
<context>
    <name>ProjectDialog</name>
    <message>
        <source>Select Delphi Project</source>
        <translation>Delphi-Projekt auswählen</translation>
    </message>
    <message>
        <source>Delphi Projects (*.dpr)</source>
        <translation>Delphi-Projekte (*.dpr)</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>&amp;Skip</source>
        <translation>&amp;Überspringen</translation>
    </message>
    <message>
        <source>Skip &amp;All</source>
        <translation>&amp;Alle überspringen</translation>
    </message>
    <message>
        <source>S&amp;top</source>
        <translation>Ab&amp;brechen</translation>
    </message>
</context>
<context>
    <name>RecordUndo</name>
    <message>
        <source>The record to change back is no longer in the grid as it was left; it was changed, deleted or filtered out since.</source>
        <translation>Der Datensatz, der zurückgeändert werden soll, steht nicht mehr so im Raster, wie er verlassen wurde; er wurde seitdem geändert, gelöscht oder herausgefiltert.</translation>
    </message>
</context>
<context>
    <name>TableLocation</name>
    <message>
        <source>cannot read %1: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>cannot make the folder %1</source>
        <translation>der Ordner %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>cannot write %1: %2</source>
        <translation>%1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>no per-user data folder</source>
        <translation>kein Datenordner des Benutzers</translation>
    </message>
    <message>
        <source>no strings.db in %1, in %2, nor an installed one in %3</source>
        <translation>keine strings.db in %1, in %2 und auch keine installierte in %3</translation>
    </message>
    <message>
        <source>--db needs a file</source>
        <translation>--db braucht eine Datei</translation>
    </message>
    <message>
        <source>unexpected argument %1</source>
        <translation>unerwartetes Argument %1</translation>
    </message>
    <message>
        <source>Usage: wordloom [--db FILE]

  --db FILE   the strings table to open; without it: the setting Database,
              then ./strings.db when it exists, then the per-user table
              (copied from the installed empty table on first start)
  --version   print the version and end
  --help      print this help and end
</source>
        <translation>Aufruf: wordloom [--db DATEI]

  --db DATEI  die zu öffnende Texttabelle; ohne: die Einstellung Database,
              dann ./strings.db, wenn vorhanden, dann die Tabelle des Benutzers
              (beim ersten Start aus der installierten leeren Tabelle kopiert)
  --version   die Version ausgeben und beenden
  --help      diese Hilfe ausgeben und beenden
</translation>
    </message>
</context>
<context>
    <name>Translate</name>
    <message>
        <source>%1 Line %2: Parsing error when parsing String: <byte value="xd"/>
&quot;%3&quot;<byte value="xd"/>
(%4)</source>
        <translation>%1 Zeile %2: Fehler beim Lesen des Textes: <byte value="xd"/>
&quot;%3&quot;<byte value="xd"/>
(%4)</translation>
    </message>
    <message>
        <source>No .DFM Files found!</source>
        <translation>Keine .DFM-Dateien gefunden!</translation>
    </message>
    <message>
        <source>Translating %1 ...</source>
        <translation>Übersetze %1 ...</translation>
    </message>
    <message>
        <source>Finished</source>
        <translation>Fertig</translation>
    </message>
    <message>
        <source>No Pascal Files found!</source>
        <translation>Keine Pascal-Dateien gefunden!</translation>
    </message>
    <message>
        <source>Please make sure the Project %1 is not loaded in the Delphi IDE and that its current laguage really is %2. It is recommended that you run Wordloom only on a copy of the project files.</source>
        <translation>Bitte stellen Sie sicher, dass das Projekt %1 nicht in der Delphi-IDE geladen ist und dass seine aktuelle Sprache wirklich %2 ist. Es wird empfohlen, Wordloom nur auf eine Kopie der Projektdateien anzuwenden.</translation>
    </message>
</context>
<context>
    <name>pathwright-demo</name>
    <message>
        <source>Usage: pathwright-demo [FOLDER]</source>
        <translation>Aufruf: pathwright-demo [ORDNER]</translation>
    </message>
    <message>
        <source>%1 is not a folder</source>
        <translation>%1 ist kein Ordner</translation>
    </message>
</context>
<context>
    <name>wordloom-cli</name>
    <message>
        <source>Continue? [y/N]</source>
        <translation>Fortfahren? [y/N]</translation>
    </message>
    <message>
        <source>Error: %1</source>
        <translation>Fehler: %1</translation>
    </message>
    <message>
        <source>Collects the texts of the forms and units beside PROJECT.dpr into the strings table.</source>
        <translation>Sammelt die Texte der Formulare und Units neben PROJEKT.dpr in die Texttabelle.</translation>
    </message>
    <message>
        <source>the project file</source>
        <translation>die Projektdatei</translation>
    </message>
    <message>
        <source>strings table (default ./strings.db)</source>
        <translation>Texttabelle (Vorgabe ./strings.db)</translation>
    </message>
    <message>
        <source>project language (default: the table&apos;s first language)</source>
        <translation>Sprache des Projekts (Vorgabe: die erste Sprache der Tabelle)</translation>
    </message>
    <message>
        <source>character set of the sources (default 1, Windows-1252)</source>
        <translation>Zeichensatz der Quellen (Vorgabe 1, Windows-1252)</translation>
    </message>
    <message>
        <source>searched form properties, comma-separated (default: all)</source>
        <translation>durchsuchte Formular-Eigenschaften, durch Kommas getrennt (Vorgabe: alle)</translation>
    </message>
    <message>
        <source>leave the unit sources out</source>
        <translation>die Unit-Quellen auslassen</translation>
    </message>
    <message>
        <source>skip a file that cannot be read (listed at the end, exit status 1) instead of stopping there</source>
        <translation>eine nicht lesbare Datei überspringen (am Ende aufgelistet, Exit-Status 1), statt dort anzuhalten</translation>
    </message>
    <message>
        <source>The strings table %1 has no language field</source>
        <translation>Die Texttabelle %1 hat kein Sprachfeld</translation>
    </message>
    <message>
        <source>the strings table has no language field %1</source>
        <translation>die Texttabelle hat kein Sprachfeld %1</translation>
    </message>
    <message>
        <source>files read: %1, texts added: %2, table size: %3</source>
        <translation>gelesene Dateien: %1, neue Texte: %2, Tabellengröße: %3</translation>
    </message>
    <message>
        <source>, files skipped: %1</source>
        <translation>, übersprungene Dateien: %1</translation>
    </message>
    <message>
        <source>cannot find the project file %1</source>
        <translation>die Projektdatei %1 wurde nicht gefunden</translation>
    </message>
    <message>
        <source>Converts a Delphi form file (.dfm) between its binary form and its text form:
  wordloom-cli form totext IN OUT [--codepage NAME]
  wordloom-cli form tobinary IN OUT
IN may be either form; a form already in the wanted form is passed through the
conversion, so OUT is always written canonically. OUT is replaced only when the
whole conversion succeeded; IN and OUT may be the same file.</source>
        <translation>Wandelt eine Delphi-Formulardatei (.dfm) zwischen Binär- und Textform um:
  wordloom-cli form totext IN OUT [--codepage NAME]
  wordloom-cli form tobinary IN OUT
IN darf in beiden Formen vorliegen; ein Formular, das schon in der gewünschten Form ist,
wird trotzdem umgewandelt, so dass OUT immer einheitlich geschrieben wird. OUT wird nur
ersetzt, wenn die ganze Umwandlung gelang; IN und OUT dürfen dieselbe Datei sein.</translation>
    </message>
    <message>
        <source>totext or tobinary</source>
        <translation>totext oder tobinary</translation>
    </message>
    <message>
        <source>the form file to convert</source>
        <translation>die umzuwandelnde Formulardatei</translation>
    </message>
    <message>
        <source>the file to write</source>
        <translation>die zu schreibende Datei</translation>
    </message>
    <message>
        <source>the code page of the form&apos;s texts (CP932, CP936, CP949, CP950, JOHAB): long texts are then never cut inside a character</source>
        <translation>die Codepage der Formulartexte (CP932, CP936, CP949, CP950, JOHAB): lange Texte werden dann nie innerhalb eines Zeichens umbrochen</translation>
    </message>
    <message>
        <source>convert form files between their binary and text form</source>
        <translation>Formulardateien zwischen Binär- und Textform umwandeln</translation>
    </message>
    <message>
        <source>collect the strings of a project&apos;s forms and units into the strings table</source>
        <translation>die Texte der Formulare und Units eines Projekts in die Texttabelle sammeln</translation>
    </message>
    <message>
        <source>rewrite a project&apos;s forms and units in another language</source>
        <translation>die Formulare und Units eines Projekts in eine andere Sprache umschreiben</translation>
    </message>
    <message>
        <source>Exit status: 0 done; 1 the command failed, or some files failed;
2 wrong command line (unknown command or option, missing or bad value).
&apos;wordloom-cli COMMAND --help&apos; lists the options of a command.</source>
        <translation>Exit-Status: 0 erledigt; 1 der Befehl schlug fehl oder einige Dateien schlugen fehl;
2 falsche Befehlszeile (unbekannter Befehl oder Option, fehlender oder falscher Wert).
&apos;wordloom-cli BEFEHL --help&apos; zeigt die Optionen eines Befehls.</translation>
    </message>
    <message>
        <source>The engine&apos;s commands for batch use.</source>
        <translation>Die Befehle des Programms für die Stapelverarbeitung.</translation>
    </message>
    <message>
        <source>print the version and exit</source>
        <translation>die Version ausgeben und beenden</translation>
    </message>
    <message>
        <source>Commands</source>
        <translation>Befehle</translation>
    </message>
    <message>
        <source>no command given</source>
        <translation>kein Befehl angegeben</translation>
    </message>
    <message>
        <source>unknown command &quot;%1&quot;</source>
        <translation>unbekannter Befehl „%1“</translation>
    </message>
    <message>
        <source>COMMAND</source>
        <translation>BEFEHL</translation>
    </message>
    <message>
        <source>Usage</source>
        <translation>Aufruf</translation>
    </message>
    <message>
        <source>OPTIONS</source>
        <translation>OPTIONEN</translation>
    </message>
    <message>
        <source>Positionals</source>
        <translation>Argumente</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>REQUIRED</source>
        <translation>PFLICHT</translation>
    </message>
    <message>
        <source>print this help and exit</source>
        <translation>diese Hilfe ausgeben und beenden</translation>
    </message>
    <message>
        <source>&apos;%1 --help&apos; for help.</source>
        <translation>&apos;%1 --help&apos; zeigt die Hilfe.</translation>
    </message>
    <message>
        <source>unknown character set %1</source>
        <translation>unbekannter Zeichensatz %1</translation>
    </message>
    <message>
        <source>Rewrites the form files and unit sources beside PROJECT.dpr so that every text with a
translation in the strings table carries it. Each file is backed up first (Main.dfm to
Main.~df); form files are written back in their binary form.</source>
        <translation>Schreibt die Formulardateien und Unit-Quellen neben PROJEKT.dpr so um, dass jeder Text mit
einer Übersetzung in der Texttabelle diese trägt. Jede Datei wird zuerst gesichert (Main.dfm
als Main.~df); Formulardateien werden in ihrer Binärform zurückgeschrieben.</translation>
    </message>
    <message>
        <source>the language to translate into</source>
        <translation>die Zielsprache</translation>
    </message>
    <message>
        <source>the sources&apos; language (default: the table&apos;s first language)</source>
        <translation>die Sprache der Quellen (Vorgabe: die erste Sprache der Tabelle)</translation>
    </message>
    <message>
        <source>the strings table (default ./strings.db)</source>
        <translation>die Texttabelle (Vorgabe ./strings.db)</translation>
    </message>
    <message>
        <source>character set the translations are written in (default 1)</source>
        <translation>Zeichensatz, in dem die Übersetzungen geschrieben werden (Vorgabe 1)</translation>
    </message>
    <message>
        <source>translated form properties, comma-separated (default: all)</source>
        <translation>übersetzte Formular-Eigenschaften, durch Kommas getrennt (Vorgabe: alle)</translation>
    </message>
    <message>
        <source>leave the unit sources alone</source>
        <translation>die Unit-Quellen unverändert lassen</translation>
    </message>
    <message>
        <source>do not ask for confirmation</source>
        <translation>nicht nachfragen</translation>
    </message>
    <message>
        <source>Nothing was changed.</source>
        <translation>Es wurde nichts geändert.</translation>
    </message>
    <message>
        <source>form files translated: %1, unit files translated: %2, texts replaced: %3</source>
        <translation>übersetzte Formulardateien: %1, übersetzte Unit-Dateien: %2, ersetzte Texte: %3</translation>
    </message>
</context>
<context>
    <name>wordloom::FindBar</name>
    <message>
        <source>Only &amp;matching records</source>
        <translation>Nur &amp;passende Datensätze</translation>
    </message>
    <message>
        <source>&amp;Find:</source>
        <translation>&amp;Suchen:</translation>
    </message>
    <message>
        <source>Letter case and accents are ignored</source>
        <translation>Groß-/Kleinschreibung und Akzente werden nicht beachtet</translation>
    </message>
    <message>
        <source>The columns to look in</source>
        <translation>Die Spalten, in denen gesucht wird</translation>
    </message>
    <message>
        <source>Both columns</source>
        <translation>Beide Spalten</translation>
    </message>
    <message>
        <source>Show only the records that hold the text; F3 and Shift+F3 step through the matches either way</source>
        <translation>Nur die Datensätze zeigen, die den Text enthalten; F3 und Umschalt+F3 springen in jedem Fall von Treffer zu Treffer</translation>
    </message>
    <message>
        <source>Previous match (Shift+F3)</source>
        <translation>Vorheriger Treffer (Umschalt+F3)</translation>
    </message>
    <message>
        <source>Next match (F3)</source>
        <translation>Nächster Treffer (F3)</translation>
    </message>
    <message>
        <source>Close the find bar (Esc)</source>
        <translation>Suchleiste schließen (Esc)</translation>
    </message>
</context>
<context>
    <name>wordloom::FullTextPanel</name>
    <message>
        <source>Full text</source>
        <translation>Ganzer Text</translation>
    </message>
    <message>
        <source>&amp;Apply</source>
        <translation>&amp;Übernehmen</translation>
    </message>
    <message>
        <source>The whole text of the current cell; Ctrl+Return writes it into the cell</source>
        <translation>Der ganze Text der aktuellen Zelle; Strg+Eingabe schreibt ihn in die Zelle</translation>
    </message>
</context>
<context>
    <name>wordloom::TAboutBox</name>
    <message>
        <source>Info</source>
        <translation>Info</translation>
    </message>
    <message>
        <source>E-Mail:</source>
        <translation>E-Mail:</translation>
    </message>
    <message>
        <source>WWW:</source>
        <translation>WWW:</translation>
    </message>
    <message>
        <source>Try our </source>
        <translation>Siehe auch: </translation>
    </message>
    <message>
        <source>Pathwright component suite for Delphi</source>
        <translation>Pathwright-Komponenten für Delphi</translation>
    </message>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
    <message>
        <source>Version %1</source>
        <translation>Version %1</translation>
    </message>
</context>
<context>
    <name>wordloom::TDBNavigator</name>
    <message>
        <source>First record</source>
        <translation>Erster Datensatz</translation>
    </message>
    <message>
        <source>Prior record</source>
        <translation>Vorheriger Datensatz</translation>
    </message>
    <message>
        <source>Next record</source>
        <translation>Nächster Datensatz</translation>
    </message>
    <message>
        <source>Last record</source>
        <translation>Letzter Datensatz</translation>
    </message>
    <message>
        <source>Insert record</source>
        <translation>Datensatz einfügen</translation>
    </message>
    <message>
        <source>Delete record</source>
        <translation>Datensatz löschen</translation>
    </message>
    <message>
        <source>Edit record</source>
        <translation>Datensatz bearbeiten</translation>
    </message>
    <message>
        <source>Post edit</source>
        <translation>Änderung speichern</translation>
    </message>
    <message>
        <source>Cancel edit</source>
        <translation>Änderung verwerfen</translation>
    </message>
    <message>
        <source>Delete record?</source>
        <translation>Datensatz löschen?</translation>
    </message>
</context>
<context>
    <name>wordloom::TMainForm</name>
    <message>
        <source>Wordloom for Delphi</source>
        <translation>Wordloom für Delphi</translation>
    </message>
    <message>
        <source>Database for Strings could not be found. Wordloom will be <byte value="xd"/>
stopped.
</source>
        <translation>Die Datenbank der Texte wurde nicht gefunden. Wordloom wird <byte value="xd"/>
beendet.
</translation>
    </message>
    <message>
        <source>Are you sure that you want to delete all records, which have an empty entry for %1?</source>
        <translation>Möchten Sie wirklich alle Datensätze löschen, deren Eintrag für %1 leer ist?</translation>
    </message>
    <message>
        <source>Copy string to all languages</source>
        <translation>Text in alle Sprachen kopieren</translation>
    </message>
    <message>
        <source>Options</source>
        <translation>Optionen</translation>
    </message>
    <message>
        <source>About ...</source>
        <translation>Über ...</translation>
    </message>
    <message>
        <source>&amp;Readme.txt</source>
        <translation>&amp;Readme.txt</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>Demo of Pathwright Components</source>
        <translation>Demo der Pathwright-Komponenten</translation>
    </message>
    <message>
        <source>Project:</source>
        <translation>Projekt:</translation>
    </message>
    <message>
        <source>PAth of the project</source>
        <translation>Pfad des Projekts</translation>
    </message>
    <message>
        <source>Select Project</source>
        <translation>Projekt auswählen</translation>
    </message>
    <message>
        <source>Start Delphi with this project</source>
        <translation>Delphi mit diesem Projekt starten</translation>
    </message>
    <message>
        <source>Show only Strings from this project</source>
        <translation>Nur Texte dieses Projekts zeigen</translation>
    </message>
    <message>
        <source> (All Projects)</source>
        <translation> (Alle Projekte)</translation>
    </message>
    <message>
        <source>Current Project &amp;Language</source>
        <translation>Aktuelle &amp;Projektsprache</translation>
    </message>
    <message>
        <source>Current language of the project</source>
        <translation>Aktuelle Sprache des Projekts</translation>
    </message>
    <message>
        <source>Search for properties:</source>
        <translation>Eigenschaften:</translation>
    </message>
    <message>
        <source>Search for Strings associated with these properties in .DFM files</source>
        <translation>In .DFM-Dateien nach Texten dieser Eigenschaften suchen</translation>
    </message>
    <message>
        <source>Inlcude .PAS files</source>
        <translation>Mit .PAS-Dateien</translation>
    </message>
    <message>
        <source>Allows you to turn off translation of .PAS files</source>
        <translation>Schaltet das Übersetzen der .PAS-Dateien ab oder an</translation>
    </message>
    <message>
        <source>&amp;Collect Strings</source>
        <translation>Texte &amp;sammeln</translation>
    </message>
    <message>
        <source>Collect all Strings from .DFM and .PAS in the project directory</source>
        <translation>Alle Texte aus .DFM- und .PAS-Dateien im Projektordner sammeln</translation>
    </message>
    <message>
        <source>&amp;Translate to:</source>
        <translation>&amp;Übersetzen nach:</translation>
    </message>
    <message>
        <source>Translate all .DFM and .PAS files to the languauge below</source>
        <translation>Alle .DFM- und .PAS-Dateien in die unten gewählte Sprache übersetzen</translation>
    </message>
    <message>
        <source>Language in which the project will be translated</source>
        <translation>Sprache, in die das Projekt übersetzt wird</translation>
    </message>
    <message>
        <source>&amp;Delete Empty Strings</source>
        <translation>&amp;Leere Texte löschen</translation>
    </message>
    <message>
        <source>Delete all records, which are empty in the above language</source>
        <translation>Alle Datensätze löschen, die in der oben gewählten Sprache leer sind</translation>
    </message>
    <message>
        <source>%1: the file does not exist</source>
        <translation>%1: die Datei existiert nicht</translation>
    </message>
    <message>
        <source>Strings table: %1</source>
        <translation>Texttabelle: %1</translation>
    </message>
    <message>
        <source>%1 of %2 records</source>
        <translation>%1 von %2 Datensätzen</translation>
    </message>
    <message>
        <source>1 record</source>
        <translation>1 Datensatz</translation>
    </message>
    <message>
        <source>%1 records</source>
        <translation>%1 Datensätze</translation>
    </message>
    <message>
        <source>Show only the records in this state of translation</source>
        <translation>Nur die Datensätze in diesem Übersetzungsstand zeigen</translation>
    </message>
    <message>
        <source>All records</source>
        <translation>Alle Datensätze</translation>
    </message>
    <message>
        <source>Untranslated</source>
        <translation>Nicht übersetzt</translation>
    </message>
    <message>
        <source>Translated</source>
        <translation>Übersetzt</translation>
    </message>
    <message>
        <source>Find</source>
        <translation>Suchen</translation>
    </message>
    <message>
        <source>Find next</source>
        <translation>Weitersuchen</translation>
    </message>
    <message>
        <source>Find previous</source>
        <translation>Rückwärts suchen</translation>
    </message>
    <message>
        <source>Delete Empty Strings</source>
        <translation>Leere Texte löschen</translation>
    </message>
    <message>
        <source>Undo</source>
        <translation>Rückgängig</translation>
    </message>
    <message>
        <source>Redo</source>
        <translation>Wiederholen</translation>
    </message>
    <message>
        <source>Undo %1</source>
        <translation>Rückgängig: %1</translation>
    </message>
    <message>
        <source>Redo %1</source>
        <translation>Wiederholen: %1</translation>
    </message>
    <message>
        <source>Insert record</source>
        <translation>Datensatz einfügen</translation>
    </message>
    <message>
        <source>Edit record</source>
        <translation>Datensatz ändern</translation>
    </message>
    <message>
        <source>Delete record</source>
        <translation>Datensatz löschen</translation>
    </message>
    <message>
        <source>The texts of the project language (%1) are the keys every project in the table shares: a change here changes what all of them find. Edit them anyway?</source>
        <translation>Die Texte der Projektsprache (%1) sind die Schlüssel, die alle Projekte der Tabelle teilen: eine Änderung hier ändert, was sie alle finden. Trotzdem bearbeiten?</translation>
    </message>
</context>
<context>
    <name>wordloom::TOptionsDlg</name>
    <message>
        <source>Dialog</source>
        <translation>Dialog</translation>
    </message>
    <message>
        <source>Charset for left column:</source>
        <translation>Zeichensatz links:</translation>
    </message>
    <message>
        <source>Charset for right column:</source>
        <translation>Zeichensatz rechts:</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>wordloom::TUrlLabel</name>
    <message>
        <source>Copy</source>
        <translation>Kopieren</translation>
    </message>
</context>
<context>
    <name>wordloom::WordloomApplication</name>
    <message>
        <source>Unknown failure</source>
        <translation>Unbekannter Fehler</translation>
    </message>
</context>
<context>
    <name>wordloom::shell::TShellForm</name>
    <message>
        <source>Demo for Pathwright Components</source>
        <translation>Demo der Pathwright-Komponenten</translation>
    </message>
    <message>
        <source>Parent Folder</source>
        <translation>Übergeordneter Ordner</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Show Properties</source>
        <translation>Eigenschaften anzeigen</translation>
    </message>
    <message>
        <source>Show Large Icons</source>
        <translation>Große Symbole</translation>
    </message>
    <message>
        <source>Show Small Icons</source>
        <translation>Kleine Symbole</translation>
    </message>
    <message>
        <source>Show List</source>
        <translation>Liste</translation>
    </message>
    <message>
        <source>Show Report</source>
        <translation>Details</translation>
    </message>
    <message>
        <source>Connect network drive</source>
        <translation>Netzlaufwerk verbinden</translation>
    </message>
    <message>
        <source>Full &amp;Expand</source>
        <translation>Alles &amp;aufklappen</translation>
    </message>
    <message>
        <source>Full &amp;Collapse</source>
        <translation>Alles &amp;zuklappen</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
    <message>
        <source>&amp;About...</source>
        <translation>Ü&amp;ber...</translation>
    </message>
    <message>
        <source>Advanced Sample for Pathwright components</source>
        <translation>Erweitertes Beispiel für die Pathwright-Komponenten</translation>
    </message>
    <message>
        <source>Advanced sample for TPathwright
More info at: %1</source>
        <translation>Erweitertes Beispiel für TPathwright
Mehr dazu unter: %1</translation>
    </message>
    <message>
        <source>About %1</source>
        <translation>Über %1</translation>
    </message>
</context>
</TS>
