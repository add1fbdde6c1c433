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
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
</context>
<context>
    <name>DontTranslate</name>
    <message>
        <source>SQL statements</source>
        <translation>SQL-Anweisungen</translation>
    </message>
    <message>
        <source>Regular expressions</source>
        <translation>Reguläre Ausdrücke</translation>
    </message>
    <message>
        <source>File paths and addresses</source>
        <translation>Dateipfade und Adressen</translation>
    </message>
    <message>
        <source>Identifiers (names in code)</source>
        <translation>Bezeichner (Namen im Code)</translation>
    </message>
    <message>
        <source>Format strings without words</source>
        <translation>Formatzeichenfolgen ohne Wörter</translation>
    </message>
</context>
<context>
    <name>Files</name>
    <message>
        <source>Cannot open file %1</source>
        <translation>Die Datei %1 kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>Cannot create file %1</source>
        <translation>Die Datei %1 kann nicht angelegt werden</translation>
    </message>
    <message>
        <source>Cannot read file %1</source>
        <translation>Die Datei %1 kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Cannot write file %1: %2</source>
        <translation>Die Datei %1 kann nicht geschrieben werden: %2</translation>
    </message>
    <message>
        <source>Cannot make backup copy %1: it is not a file</source>
        <translation>Die Sicherungskopie %1 kann nicht angelegt werden: sie ist keine Datei</translation>
    </message>
    <message>
        <source>Cannot create a temporary file beside %1: %2</source>
        <translation>Neben %1 kann keine temporäre Datei angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot make backup copy %1: %2</source>
        <translation>Die Sicherungskopie %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot replace file %1: %2</source>
        <translation>Die Datei %1 kann nicht ersetzt werden: %2</translation>
    </message>
</context>
<context>
    <name>Forms</name>
    <message>
        <source>Code page not available: %1 -&gt; %2</source>
        <translation>Codepage nicht verfügbar: %1 -&gt; %2</translation>
    </message>
    <message>
        <source>Unknown character set %1</source>
        <translation>Unbekannter Zeichensatz %1</translation>
    </message>
    <message>
        <source>Invalid stream format</source>
        <translation>Ungültiges Stream-Format</translation>
    </message>
    <message>
        <source>Invalid property value</source>
        <translation>Ungültiger Eigenschaftswert</translation>
    </message>
    <message>
        <source>%1 on line %2</source>
        <translation>%1 in Zeile %2</translation>
    </message>
    <message>
        <source>&apos;&apos;%1&apos;&apos; expected</source>
        <translation>&apos;&apos;%1&apos;&apos; erwartet</translation>
    </message>
    <message>
        <source>Line too long</source>
        <translation>Zeile zu lang</translation>
    </message>
    <message>
        <source>Invalid string constant</source>
        <translation>Ungültige String-Konstante</translation>
    </message>
    <message>
        <source>Identifier expected</source>
        <translation>Bezeichner erwartet</translation>
    </message>
    <message>
        <source>Number expected</source>
        <translation>Zahl erwartet</translation>
    </message>
    <message>
        <source>OBJECT expected</source>
        <translation>OBJECT erwartet</translation>
    </message>
    <message>
        <source>String expected</source>
        <translation>String erwartet</translation>
    </message>
    <message>
        <source>Invalid binary value</source>
        <translation>Ungültiger Binärwert</translation>
    </message>
    <message>
        <source>item expected</source>
        <translation>item erwartet</translation>
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
    <name>StringsTable</name>
    <message>
        <source>%1 holds records already: copy only into an empty table</source>
        <translation>%1 enthält bereits Datensätze: nur in eine leere Tabelle kopieren</translation>
    </message>
    <message>
        <source>%1 has no field %2: its texts would be lost</source>
        <translation>%1 hat kein Feld %2: dessen Texte gingen verloren</translation>
    </message>
    <message>
        <source>%1 holds rows of the side table %2 already: copy only into an empty table</source>
        <translation>%1 enthält bereits Zeilen der Nebentabelle %2: nur in eine leere Tabelle kopieren</translation>
    </message>
    <message>
        <source>%1 cannot be written</source>
        <translation>%1 kann nicht geschrieben werden</translation>
    </message>
    <message>
        <source>Field &apos;%1&apos; not found</source>
        <translation>Feld &apos;%1&apos; nicht gefunden</translation>
    </message>
    <message>
        <source>Cannot open the strings table %1: %2</source>
        <translation>Die Texttabelle %1 kann nicht geöffnet werden: %2</translation>
    </message>
    <message>
        <source>The file %1 holds no strings table</source>
        <translation>Die Datei %1 enthält keine Texttabelle</translation>
    </message>
    <message>
        <source>The strings table %1 is in use by another program, which kept it locked for more than %2 seconds (%3)</source>
        <translation>Die Texttabelle %1 wird von einem anderen Programm benutzt, das sie länger als %2 Sekunden gesperrt hielt (%3)</translation>
    </message>
    <message>
        <source>The strings table %1 cannot be written (%2)</source>
        <translation>Die Texttabelle %1 kann nicht geschrieben werden (%2)</translation>
    </message>
    <message>
        <source>The strings table %1 cannot be used (%2)</source>
        <translation>Die Texttabelle %1 kann nicht benutzt werden (%2)</translation>
    </message>
    <message>
        <source>Strings table query failed</source>
        <translation>Abfrage der Texttabelle fehlgeschlagen</translation>
    </message>
    <message>
        <source>Strings table: %1</source>
        <translation>Texttabelle: %1</translation>
    </message>
    <message>
        <source>The strings table %1 is read-only</source>
        <translation>Die Texttabelle %1 ist schreibgeschützt</translation>
    </message>
    <message>
        <source>Index not found: %1</source>
        <translation>Index nicht gefunden: %1</translation>
    </message>
    <message>
        <source>Cannot read the strings table</source>
        <translation>Die Texttabelle kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Key search failed</source>
        <translation>Schlüsselsuche fehlgeschlagen</translation>
    </message>
    <message>
        <source>Cannot read the column defaults</source>
        <translation>Die Vorgabewerte der Spalten können nicht gelesen werden</translation>
    </message>
    <message>
        <source>Cannot store the record</source>
        <translation>Der Datensatz kann nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Cannot store the record: it was deleted meanwhile</source>
        <translation>Der Datensatz kann nicht gespeichert werden: er wurde inzwischen gelöscht</translation>
    </message>
    <message>
        <source>Cannot delete the record</source>
        <translation>Der Datensatz kann nicht gelöscht werden</translation>
    </message>
    <message>
        <source>Cannot delete the records</source>
        <translation>Die Datensätze können nicht gelöscht werden</translation>
    </message>
    <message>
        <source>A transaction on the strings table is already open</source>
        <translation>Eine Transaktion auf der Texttabelle ist bereits offen</translation>
    </message>
    <message>
        <source>No transaction on the strings table is open</source>
        <translation>Keine Transaktion auf der Texttabelle ist offen</translation>
    </message>
    <message>
        <source>&apos;%1&apos; is not a valid integer value</source>
        <translation>&apos;%1&apos; ist kein gültiger ganzzahliger Wert</translation>
    </message>
    <message>
        <source>No index selected for the key search</source>
        <translation>Kein Index für die Schlüsselsuche gewählt</translation>
    </message>
    <message>
        <source>Strings table not in edit or insert mode</source>
        <translation>Die Texttabelle ist nicht im Bearbeitungs- oder Einfügemodus</translation>
    </message>
    <message>
        <source>The filter test cannot move through the strings table</source>
        <translation>Die Filterprüfung kann sich nicht durch die Texttabelle bewegen</translation>
    </message>
    <message>
        <source>Invalid filter expression: %1</source>
        <translation>Ungültiger Filterausdruck: %1</translation>
    </message>
    <message>
        <source>Invalid filter expression: %1 (no such field)</source>
        <translation>Ungültiger Filterausdruck: %1 (kein solches Feld)</translation>
    </message>
    <message>
        <source>The current record no longer exists</source>
        <translation>Der aktuelle Datensatz existiert nicht mehr</translation>
    </message>
    <message>
        <source>Cannot perform this operation on an empty dataset</source>
        <translation>Diese Operation ist auf einer leeren Datenmenge nicht möglich</translation>
    </message>
    <message>
        <source>Record number %1 out of range</source>
        <translation>Datensatznummer %1 außerhalb des Bereichs</translation>
    </message>
    <message>
        <source>The address %1 holds a password: give it in ~/.pgpass or PGPASSWORD instead</source>
        <translation>Die Adresse %1 enthält ein Passwort: geben Sie es stattdessen in ~/.pgpass oder PGPASSWORD an</translation>
    </message>
    <message>
        <source>The database %1 holds no strings table</source>
        <translation>Die Datenbank %1 enthält keine Texttabelle</translation>
    </message>
    <message>
        <source>The strings table in %1 lacks the columns id and version of a team table (made by wordloom-cli db init)</source>
        <translation>Der Texttabelle in %1 fehlen die Spalten id und version einer Team-Tabelle (angelegt mit wordloom-cli db init)</translation>
    </message>
    <message>
        <source>The collation %1 (%2) is not known here</source>
        <translation>Die Sortierfolge %1 (%2) ist hier nicht bekannt</translation>
    </message>
    <message>
        <source>Cannot store the record: a text is not valid UTF-8 or holds a 0 character</source>
        <translation>Der Datensatz kann nicht gespeichert werden: ein Text ist kein gültiges UTF-8 oder enthält ein Zeichen 0</translation>
    </message>
    <message>
        <source>The strings table does not count its writes</source>
        <translation>Die Texttabelle zählt ihre Schreibvorgänge nicht</translation>
    </message>
    <message>
        <source>Cannot store the record: someone else changed it since it was read. Refresh to see their text, then edit it again</source>
        <translation>Der Datensatz kann nicht gespeichert werden: jemand anders hat ihn geändert, seit er gelesen wurde. Aktualisieren Sie die Ansicht, um dessen Text zu sehen, und bearbeiten Sie ihn dann erneut</translation>
    </message>
    <message>
        <source>Cannot create the strings table in %1: %2</source>
        <translation>Die Texttabelle kann in %1 nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>The database %1 already holds a strings table</source>
        <translation>Die Datenbank %1 enthält bereits eine Texttabelle</translation>
    </message>
    <message>
        <source>The strings table %1 cannot be reached (%2)</source>
        <translation>Die Texttabelle %1 ist nicht erreichbar (%2)</translation>
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
              (copied from the installed empty table on first start);
              postgresql://user@host/database opens a team table
  --version   print the version and end
  --help      print this help and end
</source>
        <translation>Aufruf: wordloom [--db DATEI]

  --db DATEI  die zu öffnende Texttabelle; ohne: die Einstellung Database,
              dann ./strings.db, wenn vorhanden, dann die Tabelle des Benutzers
              (beim ersten Start aus der installierten leeren Tabelle kopiert);
              postgresql://benutzer@rechner/datenbank öffnet eine Team-Tabelle
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
    <message>
        <source>The translation &quot;%1&quot; cannot be written in code page %2</source>
        <translation>Die Übersetzung „%1“ kann nicht in Codepage %2 geschrieben werden</translation>
    </message>
    <message>
        <source>The translation &quot;%1&quot; cannot be written in code page %2 and holds no character that would make it a wide string</source>
        <translation>Die Übersetzung „%1“ kann nicht in Codepage %2 geschrieben werden und enthält kein Zeichen, das sie zu einem Wide-String machen würde</translation>
    </message>
    <message>
        <source>The translation run of %1 was interrupted: %2 files were put back. Files changed since were left alone:</source>
        <translation>Der Übersetzungslauf vom %1 wurde unterbrochen: %2 Dateien wurden zurückgesetzt. Seither geänderte Dateien blieben unberührt:</translation>
    </message>
    <message>
        <source>%1
No file was changed: the files already replaced were put back.</source>
        <translation>%1
Keine Datei wurde geändert: die bereits ersetzten Dateien wurden zurückgesetzt.</translation>
    </message>
    <message>
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
</context>
<context>
    <name>TranslateRuns</name>
    <message>
        <source>There is no translation run of this project to undo.</source>
        <translation>Es gibt keinen Übersetzungslauf dieses Projekts, der rückgängig gemacht werden kann.</translation>
    </message>
    <message>
        <source>Undo the translation into %1 of %2 (%3 files)? Every file is put back as it was before that run.</source>
        <translation>Die Übersetzung nach %1 vom %2 (%3 Dateien) rückgängig machen? Jede Datei wird auf den Stand vor diesem Lauf zurückgesetzt.</translation>
    </message>
    <message>
        <source>These files were changed after the run and were left alone:</source>
        <translation>Diese Dateien wurden nach dem Lauf geändert und blieben unberührt:</translation>
    </message>
    <message>
        <source>Put the changed files back as well? Their changes are lost.</source>
        <translation>Die geänderten Dateien ebenfalls zurücksetzen? Ihre Änderungen gehen verloren.</translation>
    </message>
    <message>
        <source>%1 files were put back.</source>
        <translation>%1 Dateien wurden zurückgesetzt.</translation>
    </message>
</context>
<context>
    <name>exchange</name>
    <message>
        <source>A quoted field is not closed</source>
        <translation>Ein Feld in Anführungszeichen wird nicht geschlossen</translation>
    </message>
    <message>
        <source>Text after the closing quote of a field</source>
        <translation>Text nach dem schließenden Anführungszeichen eines Feldes</translation>
    </message>
    <message>
        <source>A lone carriage return outside quotes</source>
        <translation>Ein einzelner Wagenrücklauf außerhalb von Anführungszeichen</translation>
    </message>
    <message>
        <source>The header row needs a &quot;source&quot; and a &quot;target&quot; column</source>
        <translation>Die Kopfzeile braucht eine Spalte „source“ und eine Spalte „target“</translation>
    </message>
    <message>
        <source>A row needs at least a source and a target</source>
        <translation>Eine Zeile braucht mindestens einen Ausgangstext und eine Übersetzung</translation>
    </message>
    <message>
        <source>Unknown state &quot;%1&quot;</source>
        <translation>Unbekannter Zustand „%1“</translation>
    </message>
    <message>
        <source>A quoted string was expected</source>
        <translation>Eine Zeichenkette in Anführungszeichen wurde erwartet</translation>
    </message>
    <message>
        <source>The string has no closing quote</source>
        <translation>Der Zeichenkette fehlt das schließende Anführungszeichen</translation>
    </message>
    <message>
        <source>Invalid escape sequence in a string</source>
        <translation>Ungültige Escape-Folge in einer Zeichenkette</translation>
    </message>
    <message>
        <source>Unexpected text after the string</source>
        <translation>Unerwarteter Text nach der Zeichenkette</translation>
    </message>
    <message>
        <source>An entry has no msgid</source>
        <translation>Einem Eintrag fehlt msgid</translation>
    </message>
    <message>
        <source>An entry has no msgstr</source>
        <translation>Einem Eintrag fehlt msgstr</translation>
    </message>
    <message>
        <source>Only UTF-8 PO files are read; this one is %1</source>
        <translation>Nur PO-Dateien in UTF-8 werden gelesen; diese ist %1</translation>
    </message>
    <message>
        <source>A string continues nothing</source>
        <translation>Eine Zeichenkette setzt nichts fort</translation>
    </message>
    <message>
        <source>A msgid follows a msgid</source>
        <translation>Auf msgid folgt msgid</translation>
    </message>
    <message>
        <source>msgid_plural without a msgid</source>
        <translation>msgid_plural ohne msgid</translation>
    </message>
    <message>
        <source>A msgstr without a msgid</source>
        <translation>msgstr ohne msgid</translation>
    </message>
    <message>
        <source>A plural form without msgid_plural</source>
        <translation>Eine Pluralform ohne msgid_plural</translation>
    </message>
    <message>
        <source>A plural entry needs msgstr[0]</source>
        <translation>Ein Plural-Eintrag braucht msgstr[0]</translation>
    </message>
    <message>
        <source>A second msgstr for one msgid</source>
        <translation>Ein zweites msgstr für eine msgid</translation>
    </message>
    <message>
        <source>Unknown keyword &quot;%1&quot;</source>
        <translation>Unbekanntes Schlüsselwort „%1“</translation>
    </message>
    <message>
        <source>The strings table has no language field</source>
        <translation>Die Texttabelle hat kein Sprachfeld</translation>
    </message>
    <message>
        <source>The strings table has no language field %1</source>
        <translation>Die Texttabelle hat kein Sprachfeld %1</translation>
    </message>
    <message>
        <source>The text &quot;%1&quot; has left the strings table</source>
        <translation>Der Text „%1“ ist nicht mehr in der Texttabelle</translation>
    </message>
    <message>
        <source>The translation of &quot;%1&quot; was changed after the import was planned</source>
        <translation>Die Übersetzung von „%1“ wurde geändert, nachdem der Import geplant wurde</translation>
    </message>
    <message>
        <source>The memory has no texts in %1</source>
        <translation>Der Übersetzungsspeicher hat keine Texte in %1</translation>
    </message>
    <message>
        <source>The file is not a TMX document</source>
        <translation>Die Datei ist kein TMX-Dokument</translation>
    </message>
    <message>
        <source> (line %1)</source>
        <translation> (Zeile %1)</translation>
    </message>
    <message>
        <source> (line %1, column %2)</source>
        <translation> (Zeile %1, Spalte %2)</translation>
    </message>
    <message>
        <source>The file is too large (%1 MB; at most %2 MB are read)</source>
        <translation>Die Datei ist zu groß (%1 MB; höchstens %2 MB werden gelesen)</translation>
    </message>
    <message>
        <source>A translation unit has no &lt;source&gt;</source>
        <translation>Einer Übersetzungseinheit fehlt &lt;source&gt;</translation>
    </message>
    <message>
        <source>A segment has no &lt;source&gt;</source>
        <translation>Einem Segment fehlt &lt;source&gt;</translation>
    </message>
    <message>
        <source>A unit has no &lt;segment&gt;</source>
        <translation>Einer Einheit fehlt &lt;segment&gt;</translation>
    </message>
    <message>
        <source>The file is not an XLIFF document</source>
        <translation>Die Datei ist kein XLIFF-Dokument</translation>
    </message>
    <message>
        <source>The XML is not well-formed: %1</source>
        <translation>Das XML ist nicht wohlgeformt: %1</translation>
    </message>
    <message>
        <source>Name the language to import from the Paradox table</source>
        <translation>Bitte die Sprache nennen, die aus der Paradox-Tabelle übernommen wird</translation>
    </message>
    <message>
        <source>Paradox tables are read, not written</source>
        <translation>Paradox-Tabellen werden gelesen, nicht geschrieben</translation>
    </message>
    <message>
        <source>The Paradox table has no field %1</source>
        <translation>Die Paradox-Tabelle hat kein Feld %1</translation>
    </message>
    <message>
        <source>pxlib could not be started</source>
        <translation>pxlib konnte nicht gestartet werden</translation>
    </message>
    <message>
        <source>The file is not a Paradox table: it is empty</source>
        <translation>Die Datei ist keine Paradox-Tabelle: sie ist leer</translation>
    </message>
    <message>
        <source>The file is not a Paradox table</source>
        <translation>Die Datei ist keine Paradox-Tabelle</translation>
    </message>
    <message>
        <source>The file is not a Paradox table: %1</source>
        <translation>Die Datei ist keine Paradox-Tabelle: %1</translation>
    </message>
    <message>
        <source>The Paradox table has no language field</source>
        <translation>Die Paradox-Tabelle hat kein Sprachfeld</translation>
    </message>
    <message>
        <source>Record %1 of the Paradox table cannot be read: %2</source>
        <translation>Datensatz %1 der Paradox-Tabelle kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>The file is not a Paradox table: its header gives no block size</source>
        <translation>Die Datei ist keine Paradox-Tabelle: Ihr Kopf nennt keine Blockgröße</translation>
    </message>
    <message>
        <source>The file is not a Paradox table: its data block %1 lies beyond its end</source>
        <translation>Die Datei ist keine Paradox-Tabelle: Ihr Datenblock %1 liegt hinter ihrem Ende</translation>
    </message>
    <message>
        <source>The file is not a Paradox table: its data blocks run in a circle</source>
        <translation>Die Datei ist keine Paradox-Tabelle: Ihre Datenblöcke verweisen im Kreis aufeinander</translation>
    </message>
    <message>
        <source>The file is not a Paradox table: its list of fields is broken</source>
        <translation>Die Datei ist keine Paradox-Tabelle: Ihre Feldliste ist beschädigt</translation>
    </message>
    <message>
        <source>PO (gettext)</source>
        <translation>PO (gettext)</translation>
    </message>
    <message>
        <source>XLIFF 1.2</source>
        <translation>XLIFF 1.2</translation>
    </message>
    <message>
        <source>XLIFF 2.0</source>
        <translation>XLIFF 2.0</translation>
    </message>
    <message>
        <source>CSV</source>
        <translation>CSV</translation>
    </message>
    <message>
        <source>TMX</source>
        <translation>TMX</translation>
    </message>
    <message>
        <source>Paradox table</source>
        <translation>Paradox-Tabelle</translation>
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
    <name>qa</name>
    <message>
        <source>The checks on forms were skipped: the project folder is not known, so the forms cannot be read.</source>
        <translation>Die Prüfungen an Formularen wurden übersprungen: Der Projektordner ist nicht bekannt, daher können die Formulare nicht gelesen werden.</translation>
    </message>
    <message>
        <source>Form not checked: %1</source>
        <translation>Formular nicht geprüft: %1</translation>
    </message>
    <message>
        <source>%1 is an inherited form, but no unit beside it declares %2: the controls it inherits are not checked.</source>
        <translation>%1 ist ein geerbtes Formular, aber keine Unit daneben deklariert %2: Die geerbten Steuerelemente werden nicht geprüft.</translation>
    </message>
    <message>
        <source>The form of %1, which %2 inherits from, is not among the project&apos;s forms: the controls %3 inherits are not checked.</source>
        <translation>Das Formular von %1, von dem %2 erbt, ist nicht unter den Formularen des Projekts: Die Steuerelemente, die %3 erbt, werden nicht geprüft.</translation>
    </message>
    <message>
        <source>Alt+%1 is also the key of %2 in %3: one of them cannot be reached.</source>
        <translation>Alt+%1 ist auch die Taste von %2 in %3: Eines davon ist nicht erreichbar.</translation>
    </message>
    <message>
        <source>Put the &amp; before another letter, one that no neighbouring control uses.</source>
        <translation>Setzen Sie das &amp; vor einen anderen Buchstaben, einen, den kein benachbartes Steuerelement verwendet.</translation>
    </message>
    <message>
        <source>Text widths are estimated (no font metrics here): the truncation check reports only clear overflows.</source>
        <translation>Textbreiten sind geschätzt (hier keine Schriftmetriken): Die Prüfung auf abgeschnittene Texte meldet nur deutliche Überläufe.</translation>
    </message>
    <message>
        <source>%1 in %2</source>
        <translation>%1 in %2</translation>
    </message>
    <message>
        <source>The translation is %1 pixels too wide for %2: the text has %3 pixels of room (measured in %4, %5 pixels).</source>
        <translation>Die Übersetzung ist %1 Pixel zu breit für %2: Der Text hat %3 Pixel Platz (gemessen in %4, %5 Pixel).</translation>
    </message>
    <message>
        <source>Too wide in %1 places.</source>
        <translation>An %1 Stellen zu breit.</translation>
    </message>
    <message>
        <source>Shorten the translation, or make the control wider in the form.</source>
        <translation>Kürzen Sie die Übersetzung, oder machen Sie das Steuerelement im Formular breiter.</translation>
    </message>
    <message>
        <source>Two neighbouring controls share an accelerator key</source>
        <translation>Zwei benachbarte Steuerelemente teilen sich eine Zugriffstaste</translation>
    </message>
    <message>
        <source>The translation is too wide for its control</source>
        <translation>Die Übersetzung ist zu breit für ihr Steuerelement</translation>
    </message>
    <message>
        <source>Unknown check: %1</source>
        <translation>Unbekannte Prüfung: %1</translation>
    </message>
    <message>
        <source>&quot;%1&quot; is not a language field of the strings table</source>
        <translation>„%1“ ist kein Sprachfeld der Stringtabelle</translation>
    </message>
    <message>
        <source>The strings table has no language field</source>
        <translation>Die Stringtabelle hat kein Sprachfeld</translation>
    </message>
    <message>
        <source>No spelling dictionary for %1: spelling is not checked. Install a Hunspell dictionary for it (hunspell-de-de, say).</source>
        <translation>Kein Wörterbuch für %1: Die Rechtschreibung wird nicht geprüft. Installieren Sie ein Hunspell-Wörterbuch dafür (etwa hunspell-de-de).</translation>
    </message>
    <message>
        <source>Correct the spelling, or add the word to the word list.</source>
        <translation>Berichtigen Sie die Schreibung oder nehmen Sie das Wort in die Wortliste auf.</translation>
    </message>
    <message>
        <source>Perhaps: %1</source>
        <translation>Vielleicht: %1</translation>
    </message>
    <message>
        <source>Unknown words: %1</source>
        <translation>Unbekannte Wörter: %1</translation>
    </message>
    <message>
        <source>Words the dictionary does not know</source>
        <translation>Wörter, die das Wörterbuch nicht kennt</translation>
    </message>
    <message>
        <source>The translation has no accelerator key (&amp;) but the text has one.</source>
        <translation>Die Übersetzung hat keine Zugriffstaste (&amp;), der Text hat eine.</translation>
    </message>
    <message>
        <source>Put a single &amp; before the letter that is to be the key.</source>
        <translation>Setzen Sie ein einzelnes &amp; vor den Buchstaben, der die Taste sein soll.</translation>
    </message>
    <message>
        <source>The text has %1 accelerator keys (&amp;), the translation %2.</source>
        <translation>Der Text hat %1 Zugriffstasten (&amp;), die Übersetzung %2.</translation>
    </message>
    <message>
        <source>Use as many single &amp; as the text; write &amp;&amp; for an ampersand that is shown.</source>
        <translation>Setzen Sie so viele einzelne &amp; wie der Text; schreiben Sie &amp;&amp; für ein sichtbares Und-Zeichen.</translation>
    </message>
    <message>
        <source>none</source>
        <translation>keine</translation>
    </message>
    <message>
        <source>The translation has Format specifiers (%1) the text does not have.</source>
        <translation>Die Übersetzung hat Format-Platzhalter (%1), die der Text nicht hat.</translation>
    </message>
    <message>
        <source>Take them out; write %% for a percent sign.</source>
        <translation>Nehmen Sie sie heraus; schreiben Sie %% für ein Prozentzeichen.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; in the translation is no Format specifier: Format fails on it.</source>
        <translation>„%1“ in der Übersetzung ist kein Format-Platzhalter: Format scheitert daran.</translation>
    </message>
    <message>
        <source>Write %% for a percent sign.</source>
        <translation>Schreiben Sie %% für ein Prozentzeichen.</translation>
    </message>
    <message>
        <source>The Format specifiers differ: the text has %1, the translation %2.</source>
        <translation>Die Format-Platzhalter weichen ab: Der Text hat %1, die Übersetzung %2.</translation>
    </message>
    <message>
        <source>Use the same specifiers; to change their order, number them (%0:s, %1:d).</source>
        <translation>Verwenden Sie dieselben Platzhalter; um ihre Reihenfolge zu ändern, nummerieren Sie sie (%0:s, %1:d).</translation>
    </message>
    <message>
        <source>The text has %1 line breaks, the translation %2.</source>
        <translation>Der Text hat %1 Zeilenumbrüche, die Übersetzung %2.</translation>
    </message>
    <message>
        <source>Break the translation into as many lines as the text.</source>
        <translation>Teilen Sie die Übersetzung in so viele Zeilen wie den Text.</translation>
    </message>
    <message>
        <source>The text has %1 hint separators (|), the translation %2.</source>
        <translation>Der Text hat %1 Hinweis-Trenner (|), die Übersetzung %2.</translation>
    </message>
    <message>
        <source>Keep one | between the short and the long hint, as in the text.</source>
        <translation>Lassen Sie wie im Text ein | zwischen dem kurzen und dem langen Hinweis.</translation>
    </message>
    <message>
        <source>The parts between the hint separators (|) are not where the text has them.</source>
        <translation>Die Teile zwischen den Hinweis-Trennern (|) stehen nicht dort, wo der Text sie hat.</translation>
    </message>
    <message>
        <source>Leave a part empty where the text leaves it empty.</source>
        <translation>Lassen Sie einen Teil leer, wo der Text ihn leer lässt.</translation>
    </message>
    <message>
        <source>The text and the translation do not start and end with the same brackets or quotation marks.</source>
        <translation>Text und Übersetzung beginnen und enden nicht mit denselben Klammern oder Anführungszeichen.</translation>
    </message>
    <message>
        <source>Enclose the translation as the text is enclosed.</source>
        <translation>Schließen Sie die Übersetzung ein wie den Text.</translation>
    </message>
    <message>
        <source>no punctuation</source>
        <translation>keinem Satzzeichen</translation>
    </message>
    <message>
        <source>The text ends with %1, the translation with %2.</source>
        <translation>Der Text endet mit %1, die Übersetzung mit %2.</translation>
    </message>
    <message>
        <source>End the translation as the text ends.</source>
        <translation>Beenden Sie die Übersetzung wie den Text.</translation>
    </message>
    <message>
        <source>The translation has two blanks in a row.</source>
        <translation>Die Übersetzung hat zwei Leerzeichen hintereinander.</translation>
    </message>
    <message>
        <source>Write one blank.</source>
        <translation>Schreiben Sie ein Leerzeichen.</translation>
    </message>
    <message>
        <source>The translation has a blank next to a line break.</source>
        <translation>Die Übersetzung hat ein Leerzeichen neben einem Zeilenumbruch.</translation>
    </message>
    <message>
        <source>Take out the blank before or after the line break.</source>
        <translation>Nehmen Sie das Leerzeichen vor oder nach dem Zeilenumbruch heraus.</translation>
    </message>
    <message>
        <source>The translation is the text itself.</source>
        <translation>Die Übersetzung ist der Text selbst.</translation>
    </message>
    <message>
        <source>Translate it, or mark it &quot;don&apos;t translate&quot; when it stays as it is.</source>
        <translation>Übersetzen Sie ihn, oder markieren Sie ihn mit „nicht übersetzen“, wenn er bleibt, wie er ist.</translation>
    </message>
    <message>
        <source>The text has no translation.</source>
        <translation>Der Text hat keine Übersetzung.</translation>
    </message>
    <message>
        <source>Translate it, or mark it &quot;don&apos;t translate&quot;.</source>
        <translation>Übersetzen Sie ihn, oder markieren Sie ihn mit „nicht übersetzen“.</translation>
    </message>
    <message>
        <source>The translation has %1 characters, the text %2: it may not fit where the text is shown.</source>
        <translation>Die Übersetzung hat %1 Zeichen, der Text %2: Sie passt vielleicht nicht dorthin, wo der Text steht.</translation>
    </message>
    <message>
        <source>Shorten it, or check that the control is wide enough.</source>
        <translation>Kürzen Sie sie, oder prüfen Sie, ob das Steuerelement breit genug ist.</translation>
    </message>
    <message>
        <source>The translation lost the accelerator key</source>
        <translation>Die Übersetzung hat die Zugriffstaste verloren</translation>
    </message>
    <message>
        <source>The number of accelerator keys differs</source>
        <translation>Die Zahl der Zugriffstasten weicht ab</translation>
    </message>
    <message>
        <source>The Format specifiers differ</source>
        <translation>Die Format-Platzhalter weichen ab</translation>
    </message>
    <message>
        <source>The number of line breaks differs</source>
        <translation>Die Zahl der Zeilenumbrüche weicht ab</translation>
    </message>
    <message>
        <source>The hint separators (|) differ</source>
        <translation>Die Hinweis-Trenner (|) weichen ab</translation>
    </message>
    <message>
        <source>The surrounding brackets or quotation marks differ</source>
        <translation>Die umgebenden Klammern oder Anführungszeichen weichen ab</translation>
    </message>
    <message>
        <source>The ending punctuation differs</source>
        <translation>Das Satzzeichen am Ende weicht ab</translation>
    </message>
    <message>
        <source>Two blanks in a row</source>
        <translation>Zwei Leerzeichen hintereinander</translation>
    </message>
    <message>
        <source>A blank next to a line break</source>
        <translation>Ein Leerzeichen neben einem Zeilenumbruch</translation>
    </message>
    <message>
        <source>The translation is the text itself</source>
        <translation>Die Übersetzung ist der Text selbst</translation>
    </message>
    <message>
        <source>The text has no translation</source>
        <translation>Der Text hat keine Übersetzung</translation>
    </message>
    <message>
        <source>The translation is much longer than the text</source>
        <translation>Die Übersetzung ist viel länger als der Text</translation>
    </message>
</context>
<context>
    <name>wordloom-cli</name>
    <message>
        <source>project name, or its .dpr file to check the captions against its forms too (default: every record)</source>
        <translation>Projektname, oder seine .dpr-Datei, um die Beschriftungen auch an seinen Formularen zu prüfen (Vorgabe: alle Datensätze)</translation>
    </message>
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
        <source>name each file before it is read</source>
        <translation>jede Datei nennen, bevor sie gelesen wird</translation>
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
    <message>
        <source>unexpected arguments: %1</source>
        <translation>unerwartete Argumente: %1</translation>
    </message>
    <message>
        <source>unknown option %1</source>
        <translation>unbekannte Option %1</translation>
    </message>
    <message>
        <source>unexpected argument %1</source>
        <translation>unerwartetes Argument %1</translation>
    </message>
    <message>
        <source>%1 is required</source>
        <translation>%1 fehlt</translation>
    </message>
    <message>
        <source>%1 takes no value</source>
        <translation>%1 nimmt keinen Wert</translation>
    </message>
    <message>
        <source>%1 needs a value</source>
        <translation>%1 braucht einen Wert</translation>
    </message>
    <message>
        <source>%1 needs %2 values</source>
        <translation>%1 braucht %2 Werte</translation>
    </message>
    <message>
        <source>%1 needs at least %2 values, got %3</source>
        <translation>%1 braucht mindestens %2 Werte, erhielt %3</translation>
    </message>
    <message>
        <source>%1 takes at most %2 values, got %3</source>
        <translation>%1 nimmt höchstens %2 Werte, erhielt %3</translation>
    </message>
    <message>
        <source>%1: the value %2 is not allowed</source>
        <translation>%1: der Wert %2 ist nicht erlaubt</translation>
    </message>
    <message>
        <source>%1: cannot read the value %2</source>
        <translation>%1: der Wert %2 ist nicht lesbar</translation>
    </message>
    <message>
        <source>%1 takes true, false or a number</source>
        <translation>%1 nimmt true, false oder eine Zahl</translation>
    </message>
    <message>
        <source>%1: %2 is not one of %3</source>
        <translation>%1: %2 ist keins von %3</translation>
    </message>
    <message>
        <source>COMMANDS</source>
        <translation>BEFEHLE</translation>
    </message>
    <message>
        <source>TEXT</source>
        <translation>TEXT</translation>
    </message>
    <message>
        <source>Env</source>
        <translation>Umgebung</translation>
    </message>
    <message>
        <source>Needs</source>
        <translation>Braucht</translation>
    </message>
    <message>
        <source>Excludes</source>
        <translation>Schließt aus</translation>
    </message>
    <message>
        <source>%1 needs %2 as well</source>
        <translation>%1 braucht auch %2</translation>
    </message>
    <message>
        <source>%1 cannot be used together with %2</source>
        <translation>%1 kann nicht zusammen mit %2 benutzt werden</translation>
    </message>
    <message>
        <source>list a project&apos;s translation runs, or prune old ones</source>
        <translation>die Übersetzungsläufe eines Projekts auflisten oder alte entfernen</translation>
    </message>
    <message>
        <source>put back the files of a translation run</source>
        <translation>die Dateien eines Übersetzungslaufs zurücksetzen</translation>
    </message>
    <message>
        <source>the strings table holding the journal (default ./strings.db)</source>
        <translation>die Texttabelle mit dem Protokoll (Vorgabe ./strings.db)</translation>
    </message>
    <message>
        <source>Lists the recorded translation runs of PROJECT.dpr, newest first:
id, start (UTC), target language, state, files replaced.</source>
        <translation>Listet die protokollierten Übersetzungsläufe von PROJEKT.dpr auf, den neuesten zuerst:
Nummer, Beginn (UTC), Zielsprache, Zustand, ersetzte Dateien.</translation>
    </message>
    <message>
        <source>forget all but the N newest runs, and the originals only they kept</source>
        <translation>alle Läufe außer den N neuesten vergessen, samt den nur von ihnen aufbewahrten Originalen</translation>
    </message>
    <message>
        <source>runs removed: %1</source>
        <translation>entfernte Läufe: %1</translation>
    </message>
    <message>
        <source>Puts back the files of a translation run of PROJECT.dpr (the last one not undone,
or --run ID) as they were before it. A file changed since the run is listed and
left alone unless --force is given.</source>
        <translation>Setzt die Dateien eines Übersetzungslaufs von PROJEKT.dpr (des letzten nicht
rückgängig gemachten oder --run NUMMER) auf den Stand vor dem Lauf zurück. Eine seither
geänderte Datei wird aufgeführt und bleibt unberührt, außer mit --force.</translation>
    </message>
    <message>
        <source>the run to undo (see &apos;wordloom-cli runs&apos;)</source>
        <translation>der rückgängig zu machende Lauf (siehe &apos;wordloom-cli runs&apos;)</translation>
    </message>
    <message>
        <source>put back files changed since the run too</source>
        <translation>auch seit dem Lauf geänderte Dateien zurücksetzen</translation>
    </message>
    <message>
        <source>there is no translation run to undo</source>
        <translation>es gibt keinen Übersetzungslauf, der rückgängig gemacht werden kann</translation>
    </message>
    <message>
        <source>the project has no run %1</source>
        <translation>das Projekt hat keinen Lauf %1</translation>
    </message>
    <message>
        <source>run %1: files put back: %2</source>
        <translation>Lauf %1: zurückgesetzte Dateien: %2</translation>
    </message>
    <message>
        <source>changed since the run, left alone: %1</source>
        <translation>seit dem Lauf geändert, unberührt gelassen: %1</translation>
    </message>
    <message>
        <source>missing, left alone: %1</source>
        <translation>fehlt, unberührt gelassen: %1</translation>
    </message>
    <message>
        <source>would change: %1 (%2 texts)</source>
        <translation>würde geändert: %1 (%2 Texte)</translation>
    </message>
    <message>
        <source>unchanged: %1</source>
        <translation>unverändert: %1</translation>
    </message>
    <message>
        <source>no translation: %1</source>
        <translation>keine Übersetzung: %1</translation>
    </message>
    <message>
        <source>files that would change: %1, unchanged: %2, texts without a translation: %3; nothing was changed</source>
        <translation>Dateien, die geändert würden: %1, unverändert: %2, Texte ohne Übersetzung: %3; nichts wurde geändert</translation>
    </message>
    <message>
        <source>Rewrites the form files and unit sources beside PROJECT.dpr so that every text with a
translation in the strings table carries it. Each file is backed up first (Main.dfm to
Main.~df); files with nothing to change are left alone. Form files are written back in
their binary form unless --form-format keep is given. Either every file is translated or
none: a file that cannot be read, locked or replaced stops the run before any is
changed. The run is recorded in the strings table; &apos;wordloom-cli undo&apos; takes it back.</source>
        <translation>Schreibt die Formulardateien und Unit-Quellen neben PROJEKT.dpr so um, dass jeder Text mit
einer Übersetzung in der Texttabelle diese trägt. Jede Datei wird zuerst gesichert (Main.dfm
als Main.~df); Dateien ohne Änderung bleiben unberührt. Formulardateien werden in ihrer
Binärform zurückgeschrieben, außer mit --form-format keep. Entweder werden alle Dateien
übersetzt oder keine: eine Datei, die nicht gelesen, gesperrt oder ersetzt werden kann,
beendet den Lauf, bevor eine geändert ist. Der Lauf wird in der Texttabelle protokolliert;
&apos;wordloom-cli undo&apos; macht ihn rückgängig.</translation>
    </message>
    <message>
        <source>how form files are written: binary (default), or keep each in its text or binary form</source>
        <translation>wie Formulardateien geschrieben werden: binary (Vorgabe) oder keep, jede in ihrer Text- oder Binärform</translation>
    </message>
    <message>
        <source>only say which files would change, changing nothing</source>
        <translation>nur sagen, welche Dateien sich ändern würden, ohne etwas zu ändern</translation>
    </message>
    <message>
        <source>print the changes as a unified diff (forms in text form), changing nothing</source>
        <translation>die Änderungen als Unified Diff ausgeben (Formulare in Textform), ohne etwas zu ändern</translation>
    </message>
    <message>
        <source>run %1 recorded; &apos;wordloom-cli undo&apos; takes it back</source>
        <translation>Lauf %1 protokolliert; &apos;wordloom-cli undo&apos; macht ihn rückgängig</translation>
    </message>
    <message>
        <source>show how much of a project is translated</source>
        <translation>zeigen, wie viel eines Projekts übersetzt ist</translation>
    </message>
    <message>
        <source>list or remove the texts a project no longer uses</source>
        <translation>die Texte auflisten oder entfernen, die ein Projekt nicht mehr verwendet</translation>
    </message>
    <message>
        <source>fill empty translations from similar translated texts</source>
        <translation>leere Übersetzungen aus ähnlichen übersetzten Texten füllen</translation>
    </message>
    <message>
        <source>target language (default: the table&apos;s second language)</source>
        <translation>Zielsprache (Vorgabe: die zweite Sprache der Tabelle)</translation>
    </message>
    <message>
        <source>Shows how much of a project is translated into a language.</source>
        <translation>Zeigt, wie viel eines Projekts in eine Sprache übersetzt ist.</translation>
    </message>
    <message>
        <source>project name (default: every record)</source>
        <translation>Projektname (Vorgabe: alle Datensätze)</translation>
    </message>
    <message>
        <source>print the figures as JSON</source>
        <translation>die Zahlen als JSON ausgeben</translation>
    </message>
    <message>
        <source>exit status 1 when less than N percent of the texts are done</source>
        <translation>Exit-Status 1, wenn weniger als N Prozent der Texte erledigt sind</translation>
    </message>
    <message>
        <source>%1: %2 of %3 texts (%4%), %5 of %6 words; %7 suggested, %8 reviewed, %9 not to be translated</source>
        <translation>%1: %2 von %3 Texten (%4%), %5 von %6 Wörtern; %7 vorgeschlagen, %8 geprüft, %9 nicht zu übersetzen</translation>
    </message>
    <message>
        <source>%1% done, less than the %2% asked for</source>
        <translation>%1% erledigt, weniger als die verlangten %2%</translation>
    </message>
    <message>
        <source>Lists the texts of a project that its last collect no longer found.</source>
        <translation>Listet die Texte eines Projekts auf, die sein letztes Sammeln nicht mehr gefunden hat.</translation>
    </message>
    <message>
        <source>project name</source>
        <translation>Projektname</translation>
    </message>
    <message>
        <source>remove them (a text other projects use only loses this project)</source>
        <translation>sie entfernen (ein Text, den andere Projekte verwenden, verliert nur dieses Projekt)</translation>
    </message>
    <message>
        <source>nothing is known of where the texts of %1 are used: collect it first</source>
        <translation>Es ist nicht bekannt, wo die Texte von %1 verwendet werden: zuerst sammeln</translation>
    </message>
    <message>
        <source>%1 unused text(s) removed</source>
        <translation>%1 unbenutzte(r) Text(e) entfernt</translation>
    </message>
    <message>
        <source>Fills empty translations from the most similar translated texts, marked as suggested.</source>
        <translation>Füllt leere Übersetzungen aus den ähnlichsten übersetzten Texten, als vorgeschlagen markiert.</translation>
    </message>
    <message>
        <source>least similarity of a text used (default 90)</source>
        <translation>geringste Ähnlichkeit eines verwendeten Textes (Vorgabe 90)</translation>
    </message>
    <message>
        <source>filled: %1 from the same text, %2 from similar texts</source>
        <translation>gefüllt: %1 aus demselben Text, %2 aus ähnlichen Texten</translation>
    </message>
    <message>
        <source>&quot;don&apos;t translate&quot; rules not to propose by, comma-separated (sql, regex, path, identifier, format; all)</source>
        <translation>„Nicht übersetzen“-Regeln, nach denen nichts vorgeschlagen wird, durch Kommas getrennt (sql, regex, path, identifier, format; all)</translation>
    </message>
    <message>
        <source>Writes the texts of the strings table and their translations into a translation file.</source>
        <translation>Schreibt die Texte der Texttabelle und ihre Übersetzungen in eine Übersetzungsdatei.</translation>
    </message>
    <message>
        <source>po, xliff12, xliff20, csv or tmx</source>
        <translation>po, xliff12, xliff20, csv oder tmx</translation>
    </message>
    <message>
        <source>the language of the translations (for tmx: all when left out)</source>
        <translation>die Sprache der Übersetzungen (bei tmx: ohne Angabe alle)</translation>
    </message>
    <message>
        <source>the language of the texts (default: the table&apos;s first)</source>
        <translation>die Sprache der Texte (Vorgabe: die erste der Tabelle)</translation>
    </message>
    <message>
        <source>only the texts of this project</source>
        <translation>nur die Texte dieses Projekts</translation>
    </message>
    <message>
        <source>only texts without a translation</source>
        <translation>nur Texte ohne Übersetzung</translation>
    </message>
    <message>
        <source>only translations still to be looked at</source>
        <translation>nur Übersetzungen, die noch geprüft werden müssen</translation>
    </message>
    <message>
        <source>csv: begin with the UTF-8 byte-order mark (for spreadsheets)</source>
        <translation>csv: mit der UTF-8-Bytereihenfolgemarke beginnen (für Tabellenkalkulationen)</translation>
    </message>
    <message>
        <source>--to is required for this format</source>
        <translation>--to ist für dieses Format nötig</translation>
    </message>
    <message>
        <source>texts written: %1</source>
        <translation>geschriebene Texte: %1</translation>
    </message>
    <message>
        <source>Reads the translations of a translation file into the strings table.</source>
        <translation>Liest die Übersetzungen einer Übersetzungsdatei in die Texttabelle.</translation>
    </message>
    <message>
        <source>the file to read</source>
        <translation>die zu lesende Datei</translation>
    </message>
    <message>
        <source>po, xliff12, xliff20, csv, tmx or paradox (default: from the file)</source>
        <translation>po, xliff12, xliff20, csv, tmx oder paradox (Vorgabe: aus der Datei)</translation>
    </message>
    <message>
        <source>the language of the translations (default: the file&apos;s)</source>
        <translation>die Sprache der Übersetzungen (Vorgabe: die der Datei)</translation>
    </message>
    <message>
        <source>where a translation differs from the table&apos;s: keep ours (default) or take theirs</source>
        <translation>wo eine Übersetzung von der der Tabelle abweicht: unsere behalten (Vorgabe) oder ihre nehmen</translation>
    </message>
    <message>
        <source>add the texts the table does not have</source>
        <translation>die Texte hinzufügen, die die Tabelle nicht hat</translation>
    </message>
    <message>
        <source>the project of added texts</source>
        <translation>das Projekt hinzugefügter Texte</translation>
    </message>
    <message>
        <source>only report what the import would do</source>
        <translation>nur berichten, was der Import täte</translation>
    </message>
    <message>
        <source>cannot tell the format of %1; name it with --format</source>
        <translation>das Format von %1 ist nicht erkennbar; bitte mit --format angeben</translation>
    </message>
    <message>
        <source>the file does not name the language of its translations; name it with --to</source>
        <translation>die Datei nennt die Sprache ihrer Übersetzungen nicht; bitte mit --to angeben</translation>
    </message>
    <message>
        <source>conflict: &quot;%1&quot;: ours &quot;%2&quot;, theirs &quot;%3&quot; (keeping %4)</source>
        <translation>Konflikt: „%1“: unsere „%2“, ihre „%3“ (%4 bleibt)</translation>
    </message>
    <message>
        <source>unknown, added: &quot;%1&quot;</source>
        <translation>unbekannt, hinzugefügt: „%1“</translation>
    </message>
    <message>
        <source>unknown, left out: &quot;%1&quot;</source>
        <translation>unbekannt, ausgelassen: „%1“</translation>
    </message>
    <message>
        <source>new: %1, changed: %2, conflicts: %3, unknown: %4, unchanged: %5</source>
        <translation>neu: %1, geändert: %2, Konflikte: %3, unbekannt: %4, unverändert: %5</translation>
    </message>
    <message>
        <source>dry run: nothing written</source>
        <translation>Probelauf: nichts geschrieben</translation>
    </message>
    <message>
        <source>translations written: %1, texts added: %2</source>
        <translation>geschriebene Übersetzungen: %1, hinzugefügte Texte: %2</translation>
    </message>
    <message>
        <source>write the table&apos;s texts into a PO, XLIFF, CSV or TMX file</source>
        <translation>die Texte der Tabelle in eine PO-, XLIFF-, CSV- oder TMX-Datei schreiben</translation>
    </message>
    <message>
        <source>read the translations of a PO, XLIFF, CSV or TMX file into the table</source>
        <translation>die Übersetzungen einer PO-, XLIFF-, CSV- oder TMX-Datei in die Tabelle lesen</translation>
    </message>
    <message>
        <source>%1 is no PostgreSQL address (postgresql://...)</source>
        <translation>%1 ist keine PostgreSQL-Adresse (postgresql://...)</translation>
    </message>
    <message>
        <source>The strings table was made in %1</source>
        <translation>Die Texttabelle wurde in %1 angelegt</translation>
    </message>
    <message>
        <source>make a team table in PostgreSQL, or copy a table between backends</source>
        <translation>eine Team-Tabelle in PostgreSQL anlegen oder eine Tabelle zwischen Datenbanken kopieren</translation>
    </message>
    <message>
        <source>init ADDRESS: makes the strings table for a team in the empty PostgreSQL
database at ADDRESS (postgresql://user@host/database). Passwords come from
~/.pgpass or PGPASSWORD, never from the address.
copy FROM TO: copies the strings table FROM with its side tables (where used,
review states, dismissed findings, word lists, translation runs) into the
empty table TO (each a file or an address), in one transaction on TO.</source>
        <translation>init ADRESSE: legt die Texttabelle für ein Team in der leeren PostgreSQL-Datenbank
unter ADRESSE an (postgresql://benutzer@rechner/datenbank). Passwörter kommen aus
~/.pgpass oder PGPASSWORD, nie aus der Adresse.
copy VON NACH: kopiert die Texttabelle VON mit ihren Nebentabellen (Fundstellen,
Prüfstatus, verworfene Befunde, Wortlisten, Übersetzungsläufe) in die leere
Tabelle NACH (jeweils eine Datei oder eine Adresse), in einer Transaktion auf NACH.</translation>
    </message>
    <message>
        <source>init or copy</source>
        <translation>init oder copy</translation>
    </message>
    <message>
        <source>ADDRESS, or FROM and TO</source>
        <translation>ADRESSE, oder VON und NACH</translation>
    </message>
    <message>
        <source>init takes one address</source>
        <translation>init erwartet eine Adresse</translation>
    </message>
    <message>
        <source>copy takes two tables, FROM and TO</source>
        <translation>copy erwartet zwei Tabellen, VON und NACH</translation>
    </message>
    <message>
        <source>%1 rows of the side tables copied</source>
        <translation>%1 Zeilen der Nebentabellen kopiert</translation>
    </message>
    <message>
        <source>%1 records copied</source>
        <translation>%1 Datensätze kopiert</translation>
    </message>
    <message>
        <source>error</source>
        <translation>Fehler</translation>
    </message>
    <message>
        <source>warning</source>
        <translation>Warnung</translation>
    </message>
    <message>
        <source>note</source>
        <translation>Hinweis</translation>
    </message>
    <message>
        <source>%1 texts checked: %2 errors, %3 warnings, %4 notes; %5 dismissed</source>
        <translation>%1 Texte geprüft: %2 Fehler, %3 Warnungen, %4 Hinweise; %5 verworfen</translation>
    </message>
    <message>
        <source>Checks the translations into a language for what breaks the program or reads wrong. Exit status 1 when an error remains.</source>
        <translation>Prüft die Übersetzungen in eine Sprache auf das, was das Programm bricht oder falsch zu lesen ist. Exit-Status 1, wenn ein Fehler bleibt.</translation>
    </message>
    <message>
        <source>the language of the translations to check</source>
        <translation>die Sprache der zu prüfenden Übersetzungen</translation>
    </message>
    <message>
        <source>the checks to run, by id, comma-separated (default: all; see --list)</source>
        <translation>die auszuführenden Prüfungen nach Kennung, durch Kommas getrennt (Vorgabe: alle; siehe --list)</translation>
    </message>
    <message>
        <source>print the findings as JSON</source>
        <translation>die Befunde als JSON ausgeben</translation>
    </message>
    <message>
        <source>report dismissed findings too</source>
        <translation>auch verworfene Befunde melden</translation>
    </message>
    <message>
        <source>add a word to the table&apos;s word list of the --to language first</source>
        <translation>zuerst ein Wort in die Wortliste der Tabelle für die Sprache von --to aufnehmen</translation>
    </message>
    <message>
        <source>list the checks and exit</source>
        <translation>die Prüfungen auflisten und enden</translation>
    </message>
    <message>
        <source>--to is required</source>
        <translation>--to fehlt</translation>
    </message>
    <message>
        <source>check the translations for what breaks the program or reads wrong</source>
        <translation>die Übersetzungen auf das prüfen, was das Programm bricht oder falsch zu lesen ist</translation>
    </message>
</context>
<context>
    <name>wordloom::ContextPanel</name>
    <message>
        <source>Where used</source>
        <translation>Fundstellen</translation>
    </message>
    <message>
        <source>Project</source>
        <translation>Projekt</translation>
    </message>
    <message>
        <source>File</source>
        <translation>Datei</translation>
    </message>
    <message>
        <source>Line</source>
        <translation>Zeile</translation>
    </message>
    <message>
        <source>Component</source>
        <translation>Komponente</translation>
    </message>
    <message>
        <source>Property</source>
        <translation>Eigenschaft</translation>
    </message>
    <message>
        <source>Where the current text was collected; a double-click opens the file at its line</source>
        <translation>Wo der aktuelle Text eingesammelt wurde; ein Doppelklick öffnet die Datei an dieser Zeile</translation>
    </message>
    <message>
        <source>The source line of the chosen place, with its neighbours</source>
        <translation>Die Quelltextzeile der gewählten Fundstelle mit ihren Nachbarzeilen</translation>
    </message>
    <message>
        <source>The places cannot be read: %1</source>
        <translation>Die Fundstellen können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>No places are known for this text: it was not collected since places are recorded, or no project uses it any more.</source>
        <translation>Für diesen Text sind keine Fundstellen bekannt: Er wurde nicht mehr eingesammelt, seit Fundstellen aufgezeichnet werden, oder kein Projekt verwendet ihn mehr.</translation>
    </message>
    <message>
        <source>The folder of project %1 is not known: choose its project file above to see its lines.</source>
        <translation>Der Ordner des Projekts %1 ist nicht bekannt: Wählen Sie oben seine Projektdatei, um seine Zeilen zu sehen.</translation>
    </message>
    <message>
        <source>%1 has no line %2 any more: it changed since it was collected.</source>
        <translation>%1 hat keine Zeile %2 mehr: Die Datei wurde seit dem Einsammeln geändert.</translation>
    </message>
    <message>
        <source>The folder of project %1 is not known: choose its project file first.</source>
        <translation>Der Ordner des Projekts %1 ist nicht bekannt: Wählen Sie zuerst seine Projektdatei.</translation>
    </message>
    <message>
        <source>The editor could not be started: %1</source>
        <translation>Der Editor konnte nicht gestartet werden: %1</translation>
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
    <name>wordloom::StatisticsChart</name>
    <message>
        <source>All projects</source>
        <translation>Alle Projekte</translation>
    </message>
    <message>
        <source>%1 of %2 texts (%3%)</source>
        <translation>%1 von %2 Texten (%3 %)</translation>
    </message>
    <message>
        <source>No texts to count.</source>
        <translation>Keine Texte zu zählen.</translation>
    </message>
    <message>
        <source>%1, %2
Done: %3 of %4 texts, %5 of %6 words
Suggested (needs a look): %7</source>
        <translation>%1, %2
Erledigt: %3 von %4 Texten, %5 von %6 Wörtern
Vorgeschlagen (zu prüfen): %7</translation>
    </message>
</context>
<context>
    <name>wordloom::SuggestionsPanel</name>
    <message>
        <source>Suggestions</source>
        <translation>Vorschläge</translation>
    </message>
    <message>
        <source>Key</source>
        <translation>Taste</translation>
    </message>
    <message>
        <source>Match</source>
        <translation>Treffer</translation>
    </message>
    <message>
        <source>Similar text</source>
        <translation>Ähnlicher Text</translation>
    </message>
    <message>
        <source>Its translation</source>
        <translation>Seine Übersetzung</translation>
    </message>
    <message>
        <source>Translations of similar texts; a click or Ctrl+1 to Ctrl+5 takes one into the translation, marked suggested</source>
        <translation>Übersetzungen ähnlicher Texte; ein Klick oder Strg+1 bis Strg+5 übernimmt eine als Übersetzung, als vorgeschlagen markiert</translation>
    </message>
    <message>
        <source>Take suggestion %1</source>
        <translation>Vorschlag %1 übernehmen</translation>
    </message>
    <message>
        <source>Reading the translations made so far ...</source>
        <translation>Die bisherigen Übersetzungen werden gelesen ...</translation>
    </message>
    <message>
        <source>The translations cannot be read: %1</source>
        <translation>Die Übersetzungen können nicht gelesen werden: %1</translation>
    </message>
    <message>
        <source>Choose two different languages to see suggestions.</source>
        <translation>Wählen Sie zwei verschiedene Sprachen, um Vorschläge zu sehen.</translation>
    </message>
    <message>
        <source>No similar text has a translation yet.</source>
        <translation>Noch kein ähnlicher Text hat eine Übersetzung.</translation>
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
    <name>wordloom::StringsGridModel</name>
    <message>
        <source>Not saved: the server cannot be reached</source>
        <translation>Nicht gespeichert: der Server ist nicht erreichbar</translation>
    </message>
</context>
<context>
    <name>wordloom::TConflictDlg</name>
    <message>
        <source>Changed by someone else</source>
        <translation>Von jemand anderem geändert</translation>
    </message>
    <message>
        <source>Someone else changed this record after you began editing it. Choose which text stays:</source>
        <translation>Jemand anderes hat diesen Datensatz geändert, nachdem Sie mit dem Bearbeiten begonnen haben. Wählen Sie, welcher Text bleibt:</translation>
    </message>
    <message>
        <source>Theirs (stored now)</source>
        <translation>Deren Text (jetzt gespeichert)</translation>
    </message>
    <message>
        <source>Mine</source>
        <translation>Meiner</translation>
    </message>
    <message>
        <source>Keep mine</source>
        <translation>Meinen behalten</translation>
    </message>
    <message>
        <source>Take theirs</source>
        <translation>Deren übernehmen</translation>
    </message>
</context>
<context>
    <name>wordloom::TableWatch</name>
    <message>
        <source>The server cannot be reached: trying again ...</source>
        <translation>Der Server ist nicht erreichbar: neuer Versuch ...</translation>
    </message>
    <message>
        <source>The server is back: changes are saved again</source>
        <translation>Der Server ist wieder da: Änderungen werden wieder gespeichert</translation>
    </message>
    <message>
        <source>Waiting for another user&apos;s change to finish ...</source>
        <translation>Warte, bis die Änderung eines anderen Benutzers abgeschlossen ist ...</translation>
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
        <source>Cancelled</source>
        <translation>Abgebrochen</translation>
    </message>
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
        <source>Undo last translation</source>
        <translation>Letzte Übersetzung rückgängig machen</translation>
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
        <source>Mark reviewed</source>
        <translation>Als geprüft markieren</translation>
    </message>
    <message>
        <source>Mark don't translate</source>
        <translation>Als nicht zu übersetzen markieren</translation>
    </message>
    <message>
        <source>Mark Reviewed</source>
        <translation>Als geprüft markieren</translation>
    </message>
    <message>
        <source>Mark Don't Translate</source>
        <translation>Als nicht zu übersetzen markieren</translation>
    </message>
    <message>
        <source>Choose the project whose unused texts are to be deleted.</source>
        <translation>Wählen Sie das Projekt, dessen unbenutzte Texte gelöscht werden sollen.</translation>
    </message>
    <message>
        <source>The project %1 was not collected since where-used is recorded: collect it first, or every text would look unused.</source>
        <translation>Das Projekt %1 wurde nicht mehr eingesammelt, seit die Fundstellen aufgezeichnet werden: Sammeln Sie es zuerst ein, sonst sähe jeder Text unbenutzt aus.</translation>
    </message>
    <message>
        <source>The project %1 uses every text it lists.</source>
        <translation>Das Projekt %1 verwendet jeden Text, der ihm zugeordnet ist.</translation>
    </message>
    <message>
        <source>Delete the %1 texts the project %2 no longer uses? Texts other projects still use only lose the project's name.</source>
        <translation>Die %1 Texte löschen, die das Projekt %2 nicht mehr verwendet? Texte, die andere Projekte noch verwenden, verlieren nur den Namen des Projekts.</translation>
    </message>
    <message>
        <source>Delete Unused Texts</source>
        <translation>Unbenutzte Texte löschen</translation>
    </message>
    <message>
        <source>Delete &amp;Unused</source>
        <translation>&amp;Unbenutzte löschen</translation>
    </message>
    <message>
        <source>Delete the texts the shown project no longer uses</source>
        <translation>Die Texte löschen, die das angezeigte Projekt nicht mehr verwendet</translation>
    </message>
    <message>
        <source>No statistics</source>
        <translation>Keine Statistik</translation>
    </message>
    <message>
        <source>%1: %2 of %3 texts, %4 of %5 words (%6%)</source>
        <translation>%1: %2 von %3 Texten, %4 von %5 Wörtern (%6 %)</translation>
    </message>
    <message>
        <source>Translated, reviewed or don't translate: %1; suggested (needs a look): %2</source>
        <translation>Übersetzt, geprüft oder nicht übersetzen: %1; vorgeschlagen (zu prüfen): %2</translation>
    </message>
    <message>
        <source>Suggested (needs a look)</source>
        <translation>Vorgeschlagen (zu prüfen)</translation>
    </message>
    <message>
        <source>Don't translate</source>
        <translation>Nicht übersetzen</translation>
    </message>
    <message>
        <source>Unused</source>
        <translation>Unbenutzt</translation>
    </message>
    <message>
        <source>Choose a project to see the texts it no longer uses.</source>
        <translation>Wählen Sie ein Projekt, um die Texte zu sehen, die es nicht mehr verwendet.</translation>
    </message>
    <message>
        <source>The project was not collected since where-used is recorded: collect it to see the texts it no longer uses.</source>
        <translation>Das Projekt wurde nicht mehr eingesammelt, seit die Fundstellen aufgezeichnet werden: Sammeln Sie es ein, um die Texte zu sehen, die es nicht mehr verwendet.</translation>
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
    <message>
        <source>%1 texts exported to %2</source>
        <translation>%1 Texte nach %2 exportiert</translation>
    </message>
    <message>
        <source>Imported: %1 translations written, %2 texts added</source>
        <translation>Importiert: %1 Übersetzungen geschrieben, %2 Texte hinzugefügt</translation>
    </message>
    <message>
        <source>Exchange translations with translators</source>
        <translation>Übersetzungen mit Übersetzern austauschen</translation>
    </message>
    <message>
        <source>&amp;Export...</source>
        <translation>&amp;Exportieren...</translation>
    </message>
    <message>
        <source>&amp;Import...</source>
        <translation>&amp;Importieren...</translation>
    </message>
    <message>
        <source>Pre-translate</source>
        <translation>Vorübersetzen</translation>
    </message>
    <message>
        <source>Fill every empty translation with the one of the same or a very similar text, marked suggested</source>
        <translation>Jede leere Übersetzung mit der des gleichen oder eines sehr ähnlichen Textes füllen, als vorgeschlagen markiert</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>How far every project&apos;s translation into every language has come</source>
        <translation>Wie weit die Übersetzung jedes Projekts in jede Sprache ist</translation>
    </message>
    <message>
        <source>Take Suggestion</source>
        <translation>Vorschlag übernehmen</translation>
    </message>
    <message>
        <source>Choose a translation language other than the project language first.</source>
        <translation>Wählen Sie zuerst eine Übersetzungssprache, die nicht die Projektsprache ist.</translation>
    </message>
    <message>
        <source>The strings table can only be read: nothing can be filled in.</source>
        <translation>Die Texttabelle kann nur gelesen werden: Es kann nichts eingetragen werden.</translation>
    </message>
    <message>
        <source>of every project</source>
        <translation>aller Projekte</translation>
    </message>
    <message>
        <source>of project %1</source>
        <translation>des Projekts %1</translation>
    </message>
    <message>
        <source>Fill every empty %1 translation %2 with the translation of the same or a %3% similar text, marked &quot;suggested&quot; for a look?
This cannot be undone with Ctrl+Z.</source>
        <translation>Jede leere Übersetzung nach %1 %2 mit der Übersetzung des gleichen oder eines zu %3 % ähnlichen Textes füllen, zur Prüfung als „vorgeschlagen“ markiert?
Das kann nicht mit Strg+Z rückgängig gemacht werden.</translation>
    </message>
    <message>
        <source>Filled %1 translations from the same text and %2 from a similar one.</source>
        <translation>%1 Übersetzungen vom gleichen Text und %2 von einem ähnlichen eingetragen.</translation>
    </message>
    <message>
        <source>Check</source>
        <translation>Prüfen</translation>
    </message>
    <message>
        <source>Check the translations of the shown project</source>
        <translation>Die Übersetzungen des gezeigten Projekts prüfen</translation>
    </message>
    <message>
        <source>Dismiss warnings</source>
        <translation>Warnungen verwerfen</translation>
    </message>
    <message>
        <source>Findings: %1 in %2 texts checked</source>
        <translation>Befunde: %1 in %2 geprüften Texten</translation>
    </message>
    <message>
        <source>Not everything was checked: %1</source>
        <translation>Nicht alles wurde geprüft: %1</translation>
    </message>
    <message>
        <source>Cancelled: %1 of %2 unused texts deleted</source>
        <translation>Abgebrochen: %1 von %2 unbenutzten Texten gelöscht</translation>
    </message>
    <message>
        <source>Cancelled: nothing was filled in</source>
        <translation>Abgebrochen: nichts wurde ausgefüllt</translation>
    </message>
    <message>
        <source>With warnings</source>
        <translation>Mit Warnungen</translation>
    </message>
    <message>
        <source>... and %1 more</source>
        <translation>... und %1 weitere</translation>
    </message>
    <message>
        <source>The checks found %1 errors in the translations into %2 that can break the translated program:

%3

The Check button and the &quot;With warnings&quot; filter show them all. Translate anyway?</source>
        <translation>Die Prüfungen haben %1 Fehler in den Übersetzungen nach %2 gefunden, die das übersetzte Programm stören können:

%3

Die Schaltfläche Prüfen und der Filter &quot;Mit Warnungen&quot; zeigen alle. Trotzdem übersetzen?</translation>
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
    <message>
        <source>Keep text forms as text when translating</source>
        <translation>Textformulare beim Übersetzen als Text belassen</translation>
    </message>
    <message>
        <source>Editor command (%f the file, %l the line):</source>
        <translation>Editor-Befehl (%f die Datei, %l die Zeile):</translation>
    </message>
    <message>
        <source>empty: the desktop&apos;s program</source>
        <translation>leer: das Programm des Desktops</translation>
    </message>
    <message>
        <source>Opens a source file at a line from the where-used panel, e.g. kate --line %l %f</source>
        <translation>Öffnet eine Quelldatei aus den Fundstellen an einer Zeile, z. B. kate --line %l %f</translation>
    </message>
</context>
<context>
    <name>wordloom::TStatisticsDlg</name>
    <message>
        <source>&amp;Count again</source>
        <translation>&amp;Neu zählen</translation>
    </message>
    <message>
        <source>Statistics</source>
        <translation>Statistik</translation>
    </message>
    <message>
        <source>Done (translated, reviewed or don&apos;t translate)</source>
        <translation>Erledigt (übersetzt, geprüft oder nicht übersetzen)</translation>
    </message>
    <message>
        <source>Suggested (needs a look)</source>
        <translation>Vorgeschlagen (zu prüfen)</translation>
    </message>
    <message>
        <source>Open</source>
        <translation>Offen</translation>
    </message>
    <message>
        <source>The texts of the project language %1, by project and target language:</source>
        <translation>Die Texte der Projektsprache %1, nach Projekt und Zielsprache:</translation>
    </message>
</context>
<context>
    <name>wordloom::TProgressPanel</name>
    <message>
        <source>Cancel</source>
        <translation>Abbrechen</translation>
    </message>
    <message>
        <source>Stop the command after the file at work (Esc)</source>
        <translation>Den Befehl nach der gerade bearbeiteten Datei anhalten (Esc)</translation>
    </message>
    <message>
        <source>%1 of %2</source>
        <translation>%1 von %2</translation>
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
    <name>wordloom::TranslatePreviewDlg</name>
    <message>
        <source>Translation preview</source>
        <translation>Vorschau der Übersetzung</translation>
    </message>
    <message>
        <source>%1 files will change, %2 stay unchanged; %3 texts have no translation.</source>
        <translation>%1 Dateien werden geändert, %2 bleiben unverändert; %3 Texte haben keine Übersetzung.</translation>
    </message>
    <message>
        <source>%1 (%2 texts)</source>
        <translation>%1 (%2 Texte)</translation>
    </message>
    <message>
        <source>%1 (unchanged)</source>
        <translation>%1 (unverändert)</translation>
    </message>
    <message>
        <source>Changes</source>
        <translation>Änderungen</translation>
    </message>
    <message>
        <source>Without translation</source>
        <translation>Ohne Übersetzung</translation>
    </message>
    <message>
        <source>&amp;Translate...</source>
        <translation>Ü&amp;bersetzen...</translation>
    </message>
    <message>
        <source>No change.</source>
        <translation>Keine Änderung.</translation>
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
<context>
    <name>wordloom::ReviewMarks</name>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Suggested (needs a look)</source>
        <translation>Vorgeschlagen (zu prüfen)</translation>
    </message>
    <message>
        <source>Translated</source>
        <translation>Übersetzt</translation>
    </message>
    <message>
        <source>Reviewed</source>
        <translation>Geprüft</translation>
    </message>
    <message>
        <source>Don't translate</source>
        <translation>Nicht übersetzen</translation>
    </message>
</context>
<context>
    <name>wordloom::ExportDlg</name>
    <message>
        <source>Export translations</source>
        <translation>Übersetzungen exportieren</translation>
    </message>
    <message>
        <source>&amp;Format:</source>
        <translation>&amp;Format:</translation>
    </message>
    <message>
        <source>&amp;Language:</source>
        <translation>&amp;Sprache:</translation>
    </message>
    <message>
        <source>All projects</source>
        <translation>Alle Projekte</translation>
    </message>
    <message>
        <source>&amp;Project:</source>
        <translation>&amp;Projekt:</translation>
    </message>
    <message>
        <source>&amp;All texts</source>
        <translation>&amp;Alle Texte</translation>
    </message>
    <message>
        <source>Only &amp;untranslated texts</source>
        <translation>Nur &amp;unübersetzte Texte</translation>
    </message>
    <message>
        <source>Only &amp;suggested translations</source>
        <translation>Nur &amp;vorgeschlagene Übersetzungen</translation>
    </message>
    <message>
        <source>Texts:</source>
        <translation>Texte:</translation>
    </message>
    <message>
        <source>Begin with a byte-order &amp;mark (for spreadsheets)</source>
        <translation>Mit Byte-Order-&amp;Mark beginnen (für Tabellenkalkulationen)</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;Output file:</source>
        <translation>&amp;Zieldatei:</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>All languages</source>
        <translation>Alle Sprachen</translation>
    </message>
    <message>
        <source>%1 files (*.%2)</source>
        <translation>%1-Dateien (*.%2)</translation>
    </message>
    <message>
        <source>Export to</source>
        <translation>Exportieren nach</translation>
    </message>
    <message>
        <source>Choose the file to write.</source>
        <translation>Wählen Sie die Datei, die geschrieben werden soll.</translation>
    </message>
    <message>
        <source>%1 could not be written:
%2</source>
        <translation>%1 konnte nicht geschrieben werden:
%2</translation>
    </message>
</context>
<context>
    <name>wordloom::ImportDlg</name>
    <message>
        <source>Import translations</source>
        <translation>Übersetzungen importieren</translation>
    </message>
    <message>
        <source>&amp;Browse...</source>
        <translation>&amp;Durchsuchen...</translation>
    </message>
    <message>
        <source>&amp;File:</source>
        <translation>&amp;Datei:</translation>
    </message>
    <message>
        <source>Automatic (from the file)</source>
        <translation>Automatisch (aus der Datei)</translation>
    </message>
    <message>
        <source>F&amp;ormat:</source>
        <translation>F&amp;ormat:</translation>
    </message>
    <message>
        <source>As the file says</source>
        <translation>Wie in der Datei angegeben</translation>
    </message>
    <message>
        <source>As the file says, else %1</source>
        <translation>Wie in der Datei angegeben, sonst %1</translation>
    </message>
    <message>
        <source>The language of the file&apos;s translations, where the file does not name it (CSV, a Paradox table)</source>
        <translation>Die Sprache der Übersetzungen in der Datei, wo die Datei sie nicht nennt (CSV, eine Paradox-Tabelle)</translation>
    </message>
    <message>
        <source>&amp;Language:</source>
        <translation>&amp;Sprache:</translation>
    </message>
    <message>
        <source>Add &amp;unknown texts to the strings table</source>
        <translation>&amp;Unbekannte Texte in die Stringtabelle aufnehmen</translation>
    </message>
    <message>
        <source>&amp;Preview</source>
        <translation>&amp;Vorschau</translation>
    </message>
    <message>
        <source>Nothing read yet.</source>
        <translation>Noch nichts gelesen.</translation>
    </message>
    <message>
        <source>All kinds</source>
        <translation>Alle Arten</translation>
    </message>
    <message>
        <source>New</source>
        <translation>Neu</translation>
    </message>
    <message>
        <source>Changed</source>
        <translation>Geändert</translation>
    </message>
    <message>
        <source>Conflicts</source>
        <translation>Konflikte</translation>
    </message>
    <message>
        <source>Unknown</source>
        <translation>Unbekannt</translation>
    </message>
    <message>
        <source>&amp;Show:</source>
        <translation>&amp;Zeigen:</translation>
    </message>
    <message>
        <source>Kind</source>
        <translation>Art</translation>
    </message>
    <message>
        <source>Text</source>
        <translation>Text</translation>
    </message>
    <message>
        <source>Ours</source>
        <translation>Unsere</translation>
    </message>
    <message>
        <source>Theirs</source>
        <translation>Ihre</translation>
    </message>
    <message>
        <source>Checked: the file&apos;s translation replaces ours</source>
        <translation>Angehakt: Die Übersetzung der Datei ersetzt unsere</translation>
    </message>
    <message>
        <source>&amp;Import</source>
        <translation>&amp;Importieren</translation>
    </message>
    <message>
        <source>Import from</source>
        <translation>Importieren aus</translation>
    </message>
    <message>
        <source>Translation files (*.po *.xlf *.xliff *.csv *.tmx *.db);;All files (*)</source>
        <translation>Übersetzungsdateien (*.po *.xlf *.xliff *.csv *.tmx *.db);;Alle Dateien (*)</translation>
    </message>
    <message>
        <source>Choose the file to import.</source>
        <translation>Wählen Sie die Datei, die importiert werden soll.</translation>
    </message>
    <message>
        <source>The format of %1 cannot be told from the file; choose it.</source>
        <translation>Das Format von %1 ist an der Datei nicht zu erkennen; bitte wählen Sie es.</translation>
    </message>
    <message>
        <source>%1 cannot be read: %2</source>
        <translation>%1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>%1 does not name the language of its translations; choose it.</source>
        <translation>%1 nennt die Sprache seiner Übersetzungen nicht; bitte wählen Sie sie.</translation>
    </message>
    <message>
        <source>%1 cannot be imported: %2</source>
        <translation>%1 kann nicht importiert werden: %2</translation>
    </message>
    <message>
        <source>Into %1: %2 new, %3 changed, %4 conflicts, %5 unknown, %6 unchanged.</source>
        <translation>In %1: %2 neu, %3 geändert, %4 Konflikte, %5 unbekannt, %6 unverändert.</translation>
    </message>
    <message>
        <source>Conflict</source>
        <translation>Konflikt</translation>
    </message>
    <message>
        <source>(not in the table)</source>
        <translation>(nicht in der Tabelle)</translation>
    </message>
    <message>
        <source>Nothing was imported:
%1</source>
        <translation>Es wurde nichts importiert:
%1</translation>
    </message>
    <message>
        <source>%1 (%2)</source>
        <translation>%1 (%2)</translation>
    </message>
    <message>
        <source>new</source>
        <translation>neu</translation>
    </message>
    <message>
        <source>suggested</source>
        <translation>vorgeschlagen</translation>
    </message>
    <message>
        <source>translated</source>
        <translation>übersetzt</translation>
    </message>
    <message>
        <source>reviewed</source>
        <translation>geprüft</translation>
    </message>
    <message>
        <source>don&apos;t translate</source>
        <translation>nicht übersetzen</translation>
    </message>
</context>
</TS>
