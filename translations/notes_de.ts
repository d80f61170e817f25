<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>CalDavClient</name>
    <message>
        <source>it is no multistatus but %1</source>
        <translation>sie ist kein Multistatus, sondern %1</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>sie ist leer</translation>
    </message>
    <message>
        <source>The server %1 sent a broken answer (line %2): %3.</source>
        <translation>Der Server %1 hat eine fehlerhafte Antwort gesendet (Zeile %2): %3.</translation>
    </message>
</context>
<context>
    <name>CalDavCollection</name>
    <message>
        <source>The server %1 named an entry outside the calendar %2: &quot;%3&quot;. Nothing was taken from it.</source>
        <translation>Der Server %1 hat einen Eintrag außerhalb des Kalenders %2 genannt: „%3“. Daraus wurde nichts übernommen.</translation>
    </message>
    <message>
        <source>The server %1 sent an ETag that HTTP does not allow: &quot;%2&quot;.</source>
        <translation>Der Server %1 hat ein ETag gesendet, das HTTP nicht erlaubt: „%2“.</translation>
    </message>
    <message>
        <source>The server %1 answered %2 to the listing of %3.</source>
        <translation>Der Server %1 hat auf das Auflisten von %3 mit %2 geantwortet.</translation>
    </message>
    <message>
        <source>The server %1 answered %2 when asked for entries.</source>
        <translation>Der Server %1 hat auf die Anfrage nach Einträgen mit %2 geantwortet.</translation>
    </message>
    <message>
        <source>An ETag that HTTP does not allow was kept for an entry; it is not sent.</source>
        <translation>Für einen Eintrag war ein ETag gespeichert, das HTTP nicht erlaubt; es wird nicht gesendet.</translation>
    </message>
    <message>
        <source>The entry %1 has no usable version tag; it is left on the server.</source>
        <translation>Der Eintrag %1 hat keine brauchbare Versionskennung (ETag); er bleibt auf dem Server, wie er ist.</translation>
    </message>
</context>
<context>
    <name>CalendarDiscovery</name>
    <message>
        <source>%1 is no WebDAV folder (%2).</source>
        <translation>%1 ist kein WebDAV-Ordner (%2).</translation>
    </message>
    <message>
        <source>%1 sends sync on to another server, %2: if you trust it, set up sync with that address.</source>
        <translation>%1 leitet den Abgleich an einen anderen Server weiter, %2: Wenn Sie ihm vertrauen, richten Sie den Abgleich mit dieser Adresse ein.</translation>
    </message>
    <message>
        <source>The server names no user principal at %1.</source>
        <translation>Der Server nennt unter %1 kein Benutzerkonto (principal).</translation>
    </message>
    <message>
        <source>The server names no calendar home for %1.</source>
        <translation>Der Server nennt für %1 kein Kalenderverzeichnis (calendar home).</translation>
    </message>
    <message>
        <source>The server did not make the calendar %1 (%2). Where you may not make calendars, set up sync with the address of one of yours: the notes go there as all-day events where it takes no journal entries, and nothing else in it becomes a note.</source>
        <translation>Der Server hat den Kalender %1 nicht angelegt (%2). Wo Sie keine Kalender anlegen dürfen, richten Sie den Abgleich mit der Adresse eines Ihrer Kalender ein: Die Notizen kommen dort als ganztägige Termine hinein, wenn er keine Journaleinträge nimmt, und nichts anderes darin wird zur Notiz.</translation>
    </message>
    <message>
        <source>The server made the calendar %1 for %2 only, not for %3 as asked.</source>
        <translation>Der Server hat den Kalender %1 nur für %2 angelegt, nicht wie verlangt für %3.</translation>
    </message>
    <message>
        <source>The calendar %1 takes only %2, not %3: set up without --as, or with another calendar.</source>
        <translation>Der Kalender %1 nimmt nur %2, nicht %3: Richten Sie den Abgleich ohne --as oder mit einem anderen Kalender ein.</translation>
    </message>
    <message>
        <source>The calendar %1 takes only %2, neither journal entries nor events: give the address of another calendar.</source>
        <translation>Der Kalender %1 nimmt nur %2, weder Journaleinträge noch Termine: Geben Sie die Adresse eines anderen Kalenders an.</translation>
    </message>
    <message>
        <source>The notes go to %1 as all-day events.</source>
        <translation>Die Notizen kommen als ganztägige Termine nach %1.</translation>
    </message>
</context>
<context>
    <name>HttpExchange</name>
    <message>
        <source>The pass with %1 took too long: it stopped before %2 %3. The rest is done at the next pass.</source>
        <translation>Der Abgleich mit %1 hat zu lange gedauert: Er hielt vor %2 %3 an. Der Rest folgt beim nächsten Abgleich.</translation>
    </message>
    <message>
        <source>The server %1 redirects %2 %3 again and again.</source>
        <translation>Der Server %1 leitet %2 %3 immer wieder um.</translation>
    </message>
    <message>
        <source>The server %1 did not answer %2 in time (%3 s).</source>
        <translation>Der Server %1 hat auf %2 nicht rechtzeitig geantwortet (%3 s).</translation>
    </message>
    <message>
        <source>The server %1 sent more than %2 MB in answer to %3: refused.</source>
        <translation>Der Server %1 hat als Antwort auf %3 mehr als %2 MB gesendet: abgelehnt.</translation>
    </message>
    <message>
        <source>The server %1 asks for the password over plain http, which anyone on the way could read: use https, or set it up again with --allow-insecure-http.</source>
        <translation>Der Server %1 verlangt das Passwort über einfaches http, wo jeder auf dem Weg es mitlesen könnte: Verwenden Sie https, oder richten Sie den Abgleich mit --allow-insecure-http neu ein.</translation>
    </message>
    <message>
        <source>Cannot reach %1: %2. If the server has a certificate of its own, trust it with &quot;tavorin-notes sync setup URL --user NAME --certificate FILE&quot;.</source>
        <translation>%1 ist nicht erreichbar: %2. Hat der Server ein eigenes Zertifikat, vertrauen Sie ihm mit „tavorin-notes sync setup URL --user NAME --certificate FILE“.</translation>
    </message>
    <message>
        <source>Cannot reach %1: %2.</source>
        <translation>%1 ist nicht erreichbar: %2.</translation>
    </message>
    <message>
        <source>The server %1 sends %2 elsewhere (HTTP %3 to %4); that is not followed, so that neither the password nor the notes go to another place. If the calendar moved, set it up there: tavorin-notes sync setup NEW-URL --user NAME.</source>
        <translation>Der Server %1 leitet %2 woandershin um (HTTP %3 nach %4); dem wird nicht gefolgt, damit weder das Passwort noch die Notizen an einen anderen Ort gelangen. Ist der Kalender umgezogen, richten Sie den Abgleich dort ein: tavorin-notes sync setup NEW-URL --user NAME.</translation>
    </message>
    <message>
        <source>The server %1 refused the login (HTTP %2): check the user name and the password.</source>
        <translation>Der Server %1 hat die Anmeldung abgelehnt (HTTP %2): Prüfen Sie Benutzername und Passwort.</translation>
    </message>
    <message>
        <source>The server %1 failed (%2) on %3.</source>
        <translation>Der Server %1 ist bei %3 gescheitert (%2).</translation>
    </message>
    <message>
        <source>The server %1 sent an ETag that HTTP does not allow in answer to %2.</source>
        <translation>Der Server %1 hat als Antwort auf %2 ein ETag gesendet, das HTTP nicht erlaubt.</translation>
    </message>
</context>
<context>
    <name>ICalendarFormat</name>
    <message>
        <source>skipped the note &quot;%1&quot;: its key names no date.</source>
        <translation>Notiz „%1“ übersprungen: Ihr Schlüssel nennt kein Datum.</translation>
    </message>
</context>
<context>
    <name>ICalendarShape</name>
    <message>
        <source>line %1: components nested deeper than %2</source>
        <translation>Zeile %1: Komponenten tiefer als %2 verschachtelt</translation>
    </message>
    <message>
        <source>line %1: END:%2 without its BEGIN</source>
        <translation>Zeile %1: END:%2 ohne sein BEGIN</translation>
    </message>
    <message>
        <source>line %1: END:%2 where END:%3 of line %4 belongs</source>
        <translation>Zeile %1: END:%2, wo END:%3 aus Zeile %4 hingehört</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>er ist größer als %1 MB</translation>
    </message>
    <message>
        <source>line %1 is longer than %2 MB</source>
        <translation>Zeile %1 ist länger als %2 MB</translation>
    </message>
    <message>
        <source>line %1: BEGIN:%2 has no END:%2</source>
        <translation>Zeile %1: BEGIN:%2 hat kein END:%2</translation>
    </message>
</context>
<context>
    <name>MarkdownFormat</name>
    <message>
        <source>Tavorin Planner notes</source>
        <translation>Notizen aus Tavorin Planner</translation>
    </message>
    <message>
        <source>%1 %2, day %3 (no date)</source>
        <translation>%1 %2, Tag %3 (ohne Datum)</translation>
    </message>
</context>
<context>
    <name>NoteImport</name>
    <message>
        <source>Cannot read %1: %2.</source>
        <translation>%1 kann nicht gelesen werden: %2.</translation>
    </message>
    <message>
        <source>%1 is neither an iCalendar file nor a JSON export of the notes.</source>
        <translation>%1 ist weder eine iCalendar-Datei noch ein JSON-Export der Notizen.</translation>
    </message>
    <message>
        <source>skipped the entry &quot;%1&quot;: that is not the key of a note.</source>
        <translation>Eintrag „%1“ übersprungen: Das ist nicht der Schlüssel einer Notiz.</translation>
    </message>
    <message>
        <source>skipped the colour &quot;%1&quot; of %2: that is no colour the planner can store.</source>
        <translation>Farbe „%1“ von %2 übersprungen: Diese Farbe kann der Planer nicht speichern.</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB: not imported.</source>
        <translation>%1 ist größer als %2 MB: nicht importiert.</translation>
    </message>
</context>
<context>
    <name>NoteJournal</name>
    <message>
        <source>This is no readable iCalendar text: %1.</source>
        <translation>Das ist kein lesbarer iCalendar-Text: %1.</translation>
    </message>
    <message>
        <source>it is cut short or is no calendar at all</source>
        <translation>er ist abgeschnitten oder überhaupt kein Kalender</translation>
    </message>
</context>
<context>
    <name>NoteStore</name>
    <message>
        <source>&quot;%1&quot; is not the key of a note; nothing was written.</source>
        <translation>„%1“ ist nicht der Schlüssel einer Notiz; es wurde nichts geschrieben.</translation>
    </message>
</context>
<context>
    <name>NotesCommandLine</name>
    <message>
        <source>Move the notes to the keys of the desktop&apos;s language.</source>
        <translation>Die Notizen unter die Schlüssel der Sprache des Desktops verschieben.</translation>
    </message>
    <message>
        <source>The planner stores each day&apos;s note under a key holding the month&apos;s name in the
desktop&apos;s language (&quot;March_2024_txtNote_5&quot;, &quot;März_2024_txtNote_5&quot;). After the
language changed, the window no longer shows the notes stored before: run this
once, with the planner closed, to move every note to the key of its day in the
current language. Where both keys hold a note, the two are merged: what both
hold appears once, nothing either holds is lost. Keys that name no date stay.
The store is first kept next to it as
&lt;store&gt;.before-move-language-YYYYMMDD-HHMMSS (the newest seven are kept).

  --dry-run  Show the moves and change nothing.
  --force    Move also while a planner has the store open.
</source>
        <translation>Der Planer speichert die Notiz eines Tages unter einem Schlüssel mit dem Monatsnamen
in der Sprache des Desktops („March_2024_txtNote_5“, „März_2024_txtNote_5“). Nach
einem Wechsel der Sprache zeigt das Fenster die zuvor gespeicherten Notizen nicht
mehr: führen Sie diesen Befehl dann einmal bei geschlossenem Planer aus, um jede
Notiz unter den Schlüssel ihres Tages in der aktuellen Sprache zu verschieben. Haben
beide Schlüssel eine Notiz, werden die beiden zusammengeführt: was beide enthalten,
steht einmal da, nichts geht verloren. Schlüssel, die kein Datum nennen, bleiben.
Der Speicher wird zuvor daneben als
&lt;store&gt;.before-move-language-YYYYMMDD-HHMMSS aufbewahrt (die neuesten sieben bleiben).

  --dry-run  Die Verschiebungen zeigen und nichts ändern.
  --force    Auch verschieben, während ein Planer den Speicher geöffnet hat.
</translation>
    </message>
    <message>
        <source>would move %1 to %2%3
</source>
        <translation>würde %1 nach %2 verschieben%3
</translation>
    </message>
    <message>
        <source>move %1 to %2%3
</source>
        <translation>verschiebe %1 nach %2%3
</translation>
    </message>
    <message>
        <source>, merged with the note there</source>
        <translation>, zusammengeführt mit der Notiz dort</translation>
    </message>
    <message>
        <source>Every note is kept under the key of the current language (%1): nothing to move.</source>
        <translation>Jede Notiz steht schon unter dem Schlüssel der aktuellen Sprache (%1): nichts zu verschieben.</translation>
    </message>
    <message>
        <source>A running planner has the notes store %1 open and would store what it shows over the moved notes. Close it first, or use --force.</source>
        <translation>Ein laufender Planer hat den Notizspeicher %1 geöffnet und würde das Angezeigte über die verschobenen Notizen speichern. Schließen Sie ihn zuerst, oder verwenden Sie --force.</translation>
    </message>
    <message>
        <source>The note %1 changed while it was being moved; %2 of %3 notes were moved. Run the command again.</source>
        <translation>Die Notiz %1 hat sich während des Verschiebens geändert; %2 von %3 Notizen wurden verschoben. Führen Sie den Befehl erneut aus.</translation>
    </message>
    <message>
        <source>Moved %1 notes to the keys of %2; the former store is kept as %3.</source>
        <translation>%1 Notizen wurden unter die Schlüssel von %2 verschoben; der bisherige Speicher bleibt als %3 erhalten.</translation>
    </message>
    <message>
        <source>List every note with its date, month, year and day.</source>
        <translation>Jede Notiz mit Datum, Monat, Jahr und Tag auflisten.</translation>
    </message>
    <message>
        <source>List the notes that contain TEXT, ignoring case.</source>
        <translation>Notizen mit TEXT auflisten, Groß/klein gleich.</translation>
    </message>
    <message>
        <source>Lists, as &quot;list&quot; does, the notes whose text contains TEXT, ignoring case.
Exits with 1 when no note contains it. Put -- before a TEXT that starts with -.
</source>
        <translation>Listet wie „list“ die Notizen, deren Text TEXT enthält, ohne Groß-/Kleinschreibung.
Endet mit 1, wenn keine Notiz ihn enthält. Vor einen TEXT, der mit - beginnt, gehört --.
</translation>
    </message>
    <message>
        <source>Write every note as Markdown, JSON or iCalendar.</source>
        <translation>Jede Notiz als Markdown, JSON oder iCalendar ausgeben.</translation>
    </message>
    <message>
        <source>Copy the store to FILE, also while the planner runs.</source>
        <translation>Den Speicher nach FILE kopieren, auch bei laufendem Planer.</translation>
    </message>
    <message>
        <source>Replace the store&apos;s content with the copy in FILE.</source>
        <translation>Den Inhalt des Speichers durch die Kopie in FILE ersetzen.</translation>
    </message>
    <message>
        <source>No command given.</source>
        <translation>Kein Befehl angegeben.</translation>
    </message>
    <message>
        <source>Unknown command &quot;%1&quot;.</source>
        <translation>Unbekannter Befehl „%1“.</translation>
    </message>
    <message>
        <source>&quot;%1&quot; needs %2.</source>
        <translation>„%1“ braucht %2.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>%1 must not be empty.</source>
        <translation>%1 darf nicht leer sein.</translation>
    </message>
    <message>
        <source>Unknown format &quot;%1&quot;.</source>
        <translation>Unbekanntes Format „%1“.</translation>
    </message>
    <message>
        <source>exported notes</source>
        <translation>exportierte Notizen</translation>
    </message>
    <message>
        <source>copied pages</source>
        <translation>kopierte Seiten</translation>
    </message>
    <message>
        <source>restored pages</source>
        <translation>zurückgeholte Seiten</translation>
    </message>
    <message>
        <source>Restored the notes store %1 from %2.</source>
        <translation>Der Notizspeicher %1 wurde aus %2 zurückgeholt.</translation>
    </message>
    <message>
        <source>Restored the notes store %1 from %2; the former store is kept as %3.</source>
        <translation>Der Notizspeicher %1 wurde aus %2 zurückgeholt; der bisherige Speicher bleibt als %3 erhalten.</translation>
    </message>
    <message>
        <source>%1: %2 of %3 (%4%)</source>
        <translation>%1: %2 von %3 (%4 %)</translation>
    </message>
    <message>
        <source>  --version      Show the version.

</source>
        <translation>  --version      Die Version zeigen.

</translation>
    </message>
    <message>
        <source>Usage: %1 [--store PATH] %2

%3
</source>
        <translation>Aufruf: %1 [--store PATH] %2

%3
</translation>
    </message>
    <message>
        <source>Try &quot;%1%2 --help&quot;.</source>
        <translation>Siehe „%1%2 --help“.</translation>
    </message>
    <message>
        <source>Options:
  --store PATH   Use the store at PATH instead of the planner&apos;s:
                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, here
                 %1
  -q, --quiet    Show no progress and no notes about skipped entries, only
                 errors. Progress shows only when standard error is a terminal.
  -h, --help     Show this help.
</source>
        <translation>Optionen:
  --store PATH   Den Speicher unter PATH statt dem des Planers verwenden:
                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, hier
                 %1
  -q, --quiet    Keinen Fortschritt und keine Hinweise auf übersprungene
                 Einträge zeigen, nur Fehler. Fortschritt erscheint nur, wenn
                 die Standardfehlerausgabe ein Terminal ist.
  -h, --help     Diese Hilfe zeigen.
</translation>
    </message>
    <message>
        <source>Options of list, search and export:
  --from DATE        Only notes of DATE (YYYY-MM-DD) or later.
  --to DATE          Only notes of DATE or earlier.
  --month YYYY-MM    Only notes of that month.
                     With any of these, notes without a date are left out.
  -o, --output FILE  Write to FILE instead of standard output. FILE appears
                     complete or not at all, and only when the command
                     succeeds (exit code 0); otherwise it keeps its former
                     content. A device or FIFO is written to, not replaced.
</source>
        <translation>Optionen von list, search und export:
  --from DATE        Nur Notizen vom DATE (YYYY-MM-DD) an.
  --to DATE          Nur Notizen bis einschließlich DATE.
  --month YYYY-MM    Nur Notizen dieses Monats.
                     Mit jeder dieser Optionen fehlen Notizen ohne Datum.
  -o, --output FILE  In FILE statt auf die Standardausgabe schreiben. FILE
                     entsteht vollständig oder gar nicht, und nur, wenn der
                     Befehl gelingt (Exit-Code 0); sonst behält es seinen
                     bisherigen Inhalt. In ein Gerät oder FIFO wird
                     geschrieben, es wird nicht ersetzt.
</translation>
    </message>
    <message>
        <source>Lists every note that has a text, one per line, tab-separated: the date (YYYY-MM-DD, or &quot;-&quot;
when the month and year name none), the month and the year as the planner showed them,
the day, and the text, with \ written \\, tab \t, line break \n, carriage return \r
and any other control character \xHH. Dated notes come first, in date order; then the
others, by month and year, in day order.
</source>
        <translation>Listet jede Notiz mit Text auf, eine pro Zeile, durch Tabulatoren getrennt: das Datum
(YYYY-MM-DD, oder „-“, wenn Monat und Jahr keines ergeben), Monat und Jahr, wie der Planer
sie zeigte, den Tag und den Text, darin \ als \\, Tabulator als \t, Zeilenumbruch als \n,
Wagenrücklauf als \r und jedes andere Steuerzeichen als \xHH. Notizen mit Datum kommen
zuerst, nach Datum; dann die übrigen, nach Monat und Jahr, in der Reihenfolge der Tage.
</translation>
    </message>
    <message>
        <source>Writes every note to standard output in FORMAT: markdown (the default), json, or ics,
an iCalendar file of journal entries (VJOURNAL) that calendar programs import. Notes
whose month and year name no date are left out of iCalendar files, each with a
message; when no note has a date, nothing is written and the exit code is 1.
</source>
        <translation>Schreibt jede Notiz im FORMAT auf die Standardausgabe: markdown (Vorgabe), json oder ics,
eine iCalendar-Datei mit Journaleinträgen (VJOURNAL), die Kalenderprogramme importieren.
Notizen, deren Monat und Jahr kein Datum ergeben, fehlen in iCalendar-Dateien; für jede
erscheint eine Meldung. Hat keine Notiz ein Datum, wird nichts geschrieben, und der
Exit-Code ist 1.
</translation>
    </message>
    <message>
        <source>--%1 needs a date as YYYY-MM-DD, not &quot;%2&quot;.</source>
        <translation>--%1 braucht ein Datum als YYYY-MM-DD, nicht „%2“.</translation>
    </message>
    <message>
        <source>--month cannot be combined with --from or --to.</source>
        <translation>--month lässt sich nicht mit --from oder --to verbinden.</translation>
    </message>
    <message>
        <source>--month needs a month as YYYY-MM, not &quot;%1&quot;.</source>
        <translation>--month braucht einen Monat als YYYY-MM, nicht „%1“.</translation>
    </message>
    <message>
        <source>--from %1 is after --to %2.</source>
        <translation>--from %1 liegt nach --to %2.</translation>
    </message>
    <message>
        <source>No note to export: an iCalendar file needs at least one.</source>
        <translation>Keine Notiz zu exportieren: Eine iCalendar-Datei braucht mindestens eine.</translation>
    </message>
    <message>
        <source>None of the %1 notes has a date: an iCalendar file needs at least one.</source>
        <translation>Keine der %1 Notizen hat ein Datum: Eine iCalendar-Datei braucht mindestens eine.</translation>
    </message>
    <message>
        <source>
list, search and export also take --from, --to, --month and -o FILE; see
&quot;%1 list --help&quot;.
</source>
        <translation>
list, search und export nehmen auch --from, --to, --month und -o FILE; siehe
„%1 list --help“.
</translation>
    </message>
    <message>
        <source>Exit codes:
  0  success
  1  search found no note, or export --format ics no note with a date
  2  usage error: unknown command or option, missing or extra argument
  3  store or file error: the store or FILE is missing, unreadable, not a
     notes store or damaged, or the output cannot be written
  4  sync: network error, the server cannot be reached
  5  sync: the server refused the login
  6  sync: server error, the server failed or answered what it should not
</source>
        <translation>Exit-Codes:
  0  Erfolg
  1  search hat keine Notiz gefunden, oder export --format ics keine Notiz
     mit Datum
  2  Aufruffehler: unbekannter Befehl oder unbekannte Option, fehlendes oder
     überzähliges Argument
  3  Speicher- oder Dateifehler: Der Speicher oder FILE fehlt, ist nicht
     lesbar, kein Notizspeicher oder beschädigt, oder die Ausgabe kann nicht
     geschrieben werden
  4  sync: Netzwerkfehler, der Server ist nicht erreichbar
  5  sync: Der Server hat die Anmeldung abgelehnt
  6  sync: Serverfehler, der Server ist gescheitert oder hat unerwartet
     geantwortet
</translation>
    </message>
    <message>
        <source>Copies the store to FILE, which only you can read (mode 0600); an existing FILE is
replaced as a whole, by renaming a complete copy over it. The copy is consistent
even while the planner writes. FILE must be a regular file or a new name: &quot;-&quot;,
devices, pipes, folders, and the store, its -wal, -shm and -journal files and its
copies are refused.
</source>
        <translation>Kopiert den Speicher nach FILE, das nur Sie lesen können (Modus 0600); eine vorhandene
FILE wird als Ganzes ersetzt, indem eine vollständige Kopie darüber umbenannt wird. Die
Kopie ist stimmig, auch während der Planer schreibt. FILE muss eine reguläre Datei oder
ein neuer Name sein: „-“, Geräte, Pipes, Ordner sowie der Speicher, seine -wal-, -shm-
und -journal-Dateien und seine Kopien werden abgelehnt.
</translation>
    </message>
    <message>
        <source>Replaces the content of the store with that of FILE, a backup or a safety copy. FILE
must be a sound notes store holding nothing the planner does not make, or nothing
is changed. The current store is first kept next to it as
&lt;store&gt;.before-restore-YYYYMMDD-HHMMSS (the newest seven are kept).
Refused unless --force is given: while a planner has the store open, and when FILE
holds no note or fewer than half as many as the store.
</source>
        <translation>Ersetzt den Inhalt des Speichers durch den von FILE, einer Sicherung oder Sicherheitskopie.
FILE muss ein intakter Notizspeicher sein, der nichts enthält, was der Planer nicht anlegt,
sonst wird nichts geändert. Der bisherige Speicher bleibt zuerst daneben als
&lt;store&gt;.before-restore-YYYYMMDD-HHMMSS erhalten (die neuesten sieben bleiben).
Ohne --force abgelehnt: solange ein Planer den Speicher offen hat, und wenn FILE keine
Notiz oder weniger als halb so viele wie der Speicher enthält.
</translation>
    </message>
    <message>
        <source>Bring in the notes of an iCalendar file or a JSON export.</source>
        <translation>Die Notizen einer iCalendar-Datei oder eines JSON-Exports übernehmen.</translation>
    </message>
    <message>
        <source>Reads FILE, an iCalendar file of journal entries (VJOURNAL) or a JSON export of
&quot;export --format json&quot;, and makes each entry the note of its day. A day that
already has a note gets the entry&apos;s text added below it, never put in its
place; a text already in the note is not added again, so importing the same
file twice changes nothing. The import is one transaction: when it fails,
nothing is changed. --dry-run lists what would change.
</source>
        <translation>Liest FILE, eine iCalendar-Datei mit Journaleinträgen (VJOURNAL) oder einen JSON-Export
von „export --format json“, und macht jeden Eintrag zur Notiz seines Tages. Hat ein Tag
schon eine Notiz, wird der Text des Eintrags darunter angefügt, nie an ihre Stelle
gesetzt; ein Text, der schon in der Notiz steht, wird nicht noch einmal angefügt, also
ändert ein zweiter Import derselben Datei nichts. Der Import ist eine Transaktion:
Schlägt er fehl, wird nichts geändert. --dry-run listet, was sich ändern würde.
</translation>
    </message>
    <message>
        <source>Sync the notes with a CalDAV server, both ways.</source>
        <translation>Die Notizen in beide Richtungen mit einem CalDAV-Server abgleichen.</translation>
    </message>
    <message>
        <source>--store must not be empty.</source>
        <translation>--store darf nicht leer sein.</translation>
    </message>
    <message>
        <source>would add below %1
</source>
        <translation>würde unter %1 anfügen
</translation>
    </message>
    <message>
        <source>would make %1
</source>
        <translation>würde %1 anlegen
</translation>
    </message>
    <message>
        <source>would import %1 entries: %2 new notes, %3 added below a note, %4 already there.</source>
        <translation>würde %1 Einträge importieren: %2 neue Notizen, %3 unter einer Notiz angefügt, %4 schon vorhanden.</translation>
    </message>
    <message>
        <source>imported %1 entries: %2 new notes, %3 added below a note, %4 already there.</source>
        <translation>%1 Einträge importiert: %2 neue Notizen, %3 unter einer Notiz angefügt, %4 schon vorhanden.</translation>
    </message>
    <message>
        <source>Usage: %1 [--store PATH] COMMAND [ARGUMENTS]
       %1 COMMAND --help

Reads the day notes of Tavorin Planner, exports and imports them, syncs them
with a CalDAV server, and backs the notes store up or restores it.

Commands:
</source>
        <translation>Aufruf: %1 [--store PATH] COMMAND [ARGUMENTS]
        %1 COMMAND --help

Liest die Tagesnotizen von Tavorin Planner, exportiert und importiert sie, gleicht
sie mit einem CalDAV-Server ab und sichert den Notizspeicher oder holt ihn zurück.

Befehle:
</translation>
    </message>
    <message>
        <source>
Notes go to standard output or FILE; messages and progress to standard error.
The store is only ever written by &quot;restore&quot;, &quot;import&quot; and &quot;sync&quot;.
</source>
        <translation>
Notizen gehen auf die Standardausgabe oder in FILE, Meldungen und Fortschritt auf
die Standardfehlerausgabe. Nur „restore“, „import“ und „sync“ schreiben in den Speicher.
</translation>
    </message>
    <message>
        <source>After a restore, the next sync merges each restored note that differs from the
server&apos;s with it, as a note changed on both sides: the server&apos;s text is kept too.
</source>
        <translation>Nach dem Zurückholen führt der nächste Abgleich jede zurückgeholte Notiz, die von der
Fassung des Servers abweicht, mit dieser zusammen, als auf beiden Seiten geändert: Der
Text des Servers bleibt ebenfalls erhalten.
</translation>
    </message>
</context>
<context>
    <name>NotesOutput</name>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>%1 kann nicht geschrieben werden: %2.</translation>
    </message>
    <message>
        <source>Cannot write to standard output: %1.</source>
        <translation>Die Standardausgabe kann nicht geschrieben werden: %1.</translation>
    </message>
</context>
<context>
    <name>StoreBackup</name>
    <message>
        <source>A backup goes into a file, not to standard output (&quot;-&quot;): a binary copy on a terminal helps no one. Give the name of a file.</source>
        <translation>Eine Sicherung geht in eine Datei, nicht auf die Standardausgabe („-“): Eine binäre Kopie im Terminal hilft niemandem. Geben Sie den Namen einer Datei an.</translation>
    </message>
    <message>
        <source>The link %1 points to nothing; nothing was written.</source>
        <translation>Der Link %1 zeigt ins Leere; nichts wurde geschrieben.</translation>
    </message>
    <message>
        <source>%1 is not a regular file (a device, a pipe or a folder); a backup only creates or replaces a regular file.</source>
        <translation>%1 ist keine reguläre Datei (sondern ein Gerät, eine Pipe oder ein Ordner); eine Sicherung legt nur eine reguläre Datei an oder ersetzt sie.</translation>
    </message>
    <message>
        <source>%1 is the notes store, one of its journal files or one of its copies; nothing was written.</source>
        <translation>%1 ist der Notizspeicher, eine seiner Journaldateien oder eine seiner Kopien; nichts wurde geschrieben.</translation>
    </message>
</context>
<context>
    <name>StoreRestore</name>
    <message>
        <source>Cannot keep the former notes store %1 as %2.</source>
        <translation>Der bisherige Notizspeicher %1 kann nicht als %2 erhalten werden.</translation>
    </message>
    <message>
        <source>The file %1 is the notes store itself.</source>
        <translation>Die Datei %1 ist der Notizspeicher selbst.</translation>
    </message>
    <message>
        <source>The file %1 is a database of another kind, not a notes store of Tavorin Planner; it was left unchanged.</source>
        <translation>Die Datei %1 ist eine Datenbank anderer Art, kein Notizspeicher von Tavorin Planner; sie wurde nicht verändert.</translation>
    </message>
    <message>
        <source>%1 Another program holds the store locked; nothing was changed.</source>
        <translation>%1 Ein anderes Programm hält den Speicher gesperrt; nichts wurde geändert.</translation>
    </message>
    <message>
        <source>The copy %1 of the notes store differs from it.</source>
        <translation>Die Kopie %1 des Notizspeichers weicht von ihm ab.</translation>
    </message>
    <message>
        <source>Cannot keep the former notes store: %1 Nothing was changed.</source>
        <translation>Der bisherige Notizspeicher kann nicht aufbewahrt werden: %1 Nichts wurde geändert.</translation>
    </message>
    <message>
        <source>Cannot move %1 beside the kept copy %2.</source>
        <translation>%1 kann nicht neben die aufbewahrte Kopie %2 verschoben werden.</translation>
    </message>
    <message>
        <source>The file %1 holds tables, indexes, views or triggers that Tavorin Planner does not make; it is not restored.</source>
        <translation>Die Datei %1 enthält Tabellen, Indizes, Sichten oder Trigger, die Tavorin Planner nicht anlegt; sie wird nicht zurückgeholt.</translation>
    </message>
    <message>
        <source>%1 holds %2 notes, the store holds %3; nothing was changed. Use --force to restore it all the same.</source>
        <translation>%1 enthält %2 Notizen, der Speicher %3; nichts wurde geändert. Mit --force wird es trotzdem zurückgeholt.</translation>
    </message>
    <message>
        <source>A running planner has the notes store %1 open and would store what it shows over the restored notes. Close it first, or use --force.</source>
        <translation>Ein laufender Planer hat den Notizspeicher %1 offen und würde das, was er zeigt, über die zurückgeholten Notizen speichern. Schließen Sie ihn zuerst, oder verwenden Sie --force.</translation>
    </message>
</context>
<context>
    <name>SyncCommandLine</name>
    <message>
        <source>%1 uploaded, %2 taken from the server, %3 merged, %4 uploaded again, %5 added from other programs; %6 requests</source>
        <translation>%1 hochgeladen, %2 vom Server geholt, %3 zusammengeführt, %4 erneut hochgeladen, %5 von anderen Programmen hinzugefügt; %6 Anfragen</translation>
    </message>
    <message>
        <source>Password: </source>
        <translation>Passwort: </translation>
    </message>
    <message>
        <source>Options of sync setup:
  --as events          Each note as an all-day event of its day, which phones&apos;
                       calendars show; the default where the calendar takes no
                       journal entries (Google, iCloud). --as journal insists on
                       journal entries. In a calendar that is not &quot;Tavorin Planner&quot;,
                       only the notes&apos; own entries are read, never appointments.
  --certificate FILE   Trust the certificate (or certificate authority) in FILE
                       for this server, e.g. a self-signed one; kept in sync.conf.

</source>
        <translation>Optionen von sync setup:
  --as events          Jede Notiz als ganztägiger Termin ihres Tages, den die
                       Kalender der Telefone zeigen; so auch ohne Angabe, wo der
                       Kalender keine Journaleinträge nimmt (Google, iCloud).
                       --as journal besteht auf Journaleinträgen. In einem Kalender,
                       der nicht „Tavorin Planner“ heißt, werden nur die Einträge der
                       Notizen gelesen, nie Termine.
  --certificate FILE   Dem Zertifikat (oder der Zertifizierungsstelle) in FILE für
                       diesen Server vertrauen, z. B. einem selbst signierten; wird in
                       sync.conf vermerkt.

</translation>
    </message>
    <message>
        <source>Try &quot;tavorin-notes sync --help&quot;.</source>
        <translation>Siehe „tavorin-notes sync --help“.</translation>
    </message>
    <message>
        <source>&quot;sync setup&quot; needs URL and --user NAME.</source>
        <translation>„sync setup“ braucht URL und --user NAME.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;.</source>
        <translation>Unerwartetes Argument „%1“.</translation>
    </message>
    <message>
        <source>--dry-run and --status do not go together.</source>
        <translation>--dry-run und --status passen nicht zusammen.</translation>
    </message>
    <message>
        <source>--watch goes with neither --dry-run nor --status.</source>
        <translation>--watch passt weder zu --dry-run noch zu --status.</translation>
    </message>
    <message>
        <source>Sync works again.</source>
        <translation>Der Abgleich funktioniert wieder.</translation>
    </message>
    <message>
        <source>Trying again from time to time, at least every %1 seconds; no more messages until it works.</source>
        <translation>Neuer Versuch von Zeit zu Zeit, mindestens alle %1 Sekunden; keine weitere Meldung, bis es klappt.</translation>
    </message>
    <message>
        <source>%1 is no http or https address.</source>
        <translation>%1 ist keine http- oder https-Adresse.</translation>
    </message>
    <message>
        <source>No keyring answered to keep the password: give --password-command.</source>
        <translation>Kein Schlüsselbund hat geantwortet, um das Passwort aufzubewahren: Geben Sie --password-command an.</translation>
    </message>
    <message>
        <source>Sync set up with %1; the settings are in %2.</source>
        <translation>Abgleich mit %1 eingerichtet; die Einstellungen stehen in %2.</translation>
    </message>
    <message>
        <source>Sync is not set up: run &quot;tavorin-notes sync setup URL --user NAME&quot;.</source>
        <translation>Der Abgleich ist nicht eingerichtet: Rufen Sie „tavorin-notes sync setup URL --user NAME“ auf.</translation>
    </message>
    <message>
        <source>sync %1 of %2</source>
        <translation>sync %1 von %2</translation>
    </message>
    <message>
        <source>would %1
</source>
        <translation>würde %1
</translation>
    </message>
    <message>
        <source>dry run: </source>
        <translation>Probelauf: </translation>
    </message>
    <message>
        <source>sync: </source>
        <translation>Abgleich: </translation>
    </message>
    <message>
        <source>server: %1
</source>
        <translation>Server: %1
</translation>
    </message>
    <message>
        <source>(not set up)</source>
        <translation>(nicht eingerichtet)</translation>
    </message>
    <message>
        <source>last pass: none yet
</source>
        <translation>letzter Abgleich: noch keiner
</translation>
    </message>
    <message>
        <source>last pass: %1: %2
</source>
        <translation>letzter Abgleich: %1: %2
</translation>
    </message>
    <message>
        <source>waiting to go up: %1
</source>
        <translation>warten auf das Hochladen: %1
</translation>
    </message>
    <message>
        <source>Usage: tavorin-notes [--store PATH] sync [--dry-run | --status | --watch]
       tavorin-notes sync setup URL --user NAME [--password-command CMD]

Keeps the notes the same here and on a CalDAV server (Radicale, Nextcloud, Baikal,
Fastmail ...), as one journal entry (VJOURNAL) per note, so that they show on every
machine and phone that uses the same calendar. Nothing is ever deleted: a note
changed on both sides keeps both texts, the one from here first, then a line
&quot;— changed on another device —&quot; and the server&apos;s; an entry removed on the server
is uploaded again. See docs/sync.md.

  sync                 One two-way pass; a summary line at the end.
  sync --dry-run       Say what a pass would change, changing nothing.
  sync --status        The last pass, its time and the notes waiting to go up.
  sync --watch         Keep syncing until stopped (SIGTERM, Ctrl+C): a pass within
                       2 seconds of a change to the notes, a look at the server
                       every minute (every 4 seconds while a planner is open); a
                       summary line for each pass that changed something. A
                       failing server is tried again less and less often, with
                       one message. The service tavorin-notes-watch runs it:
                       systemctl --user enable --now tavorin-notes-watch
  sync setup URL --user NAME [--password-command CMD]
                       Use the calendar at URL, or find the user&apos;s calendars from
                       the server&apos;s address and make one called &quot;Tavorin Planner&quot;.
                       The password comes from the keyring (Secret Service); without
                       one, CMD prints it (e.g. &quot;pass show dav&quot;). Without CMD, setup
                       reads the password once and keeps it in the keyring.
                       Settings go to $XDG_CONFIG_HOME/Quillmere/sync.conf (0600);
                       the password never does. Over plain http to another
                       machine the password could be read on the way: refused
                       unless --allow-insecure-http is given.

</source>
        <translation>Aufruf: tavorin-notes [--store PATH] sync [--dry-run | --status | --watch]
        tavorin-notes sync setup URL --user NAME [--password-command CMD]

Hält die Notizen hier und auf einem CalDAV-Server (Radicale, Nextcloud, Baikal,
Fastmail ...) gleich, als ein Journaleintrag (VJOURNAL) je Notiz, sodass sie auf jedem
Rechner und Telefon erscheinen, die denselben Kalender nutzen. Gelöscht wird nie etwas:
Eine auf beiden Seiten geänderte Notiz behält beide Texte, zuerst den von hier, dann
eine Zeile „— changed on another device —“ und den des Servers; ein auf dem Server
entfernter Eintrag wird erneut hochgeladen. Siehe docs/sync.md.

  sync                 Ein Abgleich in beide Richtungen; am Ende eine Zusammenfassung.
  sync --dry-run       Sagen, was ein Abgleich ändern würde, ohne etwas zu ändern.
  sync --status        Der letzte Abgleich, seine Zeit und die Notizen, die auf das
                       Hochladen warten.
  sync --watch         Abgleichen, bis es beendet wird (SIGTERM, Strg+C): ein
                       Abgleich binnen 2 Sekunden nach einer Änderung der Notizen,
                       ein Blick auf den Server jede Minute (alle 4 Sekunden,
                       solange ein Planer offen ist); eine Zusammenfassung je
                       Abgleich, der etwas geändert hat. Ein Server, der versagt,
                       wird immer seltener erneut versucht, mit einer Meldung.
                       Der Dienst tavorin-notes-watch führt es aus:
                       systemctl --user enable --now tavorin-notes-watch
  sync setup URL --user NAME [--password-command CMD]
                       Den Kalender unter URL verwenden, oder die Kalender des
                       Benutzers über die Adresse des Servers finden und einen
                       namens „Tavorin Planner“ anlegen. Das Passwort kommt aus
                       dem Schlüsselbund (Secret Service); ohne Schlüsselbund gibt
                       CMD es aus (z. B. „pass show dav“). Ohne CMD liest setup das
                       Passwort einmal und legt es im Schlüsselbund ab.
                       Die Einstellungen kommen nach
                       $XDG_CONFIG_HOME/Quillmere/sync.conf (0600), das Passwort nie.
                       Über einfaches http zu einem anderen Rechner könnte das
                       Passwort unterwegs mitgelesen werden: abgelehnt, außer
                       mit --allow-insecure-http.

</translation>
    </message>
    <message>
        <source>%1 is plain http: the password would travel unencrypted and anyone on the way could read it. Use https, or give --allow-insecure-http to use it anyway.</source>
        <translation>%1 ist einfaches http: Das Passwort ginge unverschlüsselt über die Leitung, und jeder auf dem Weg könnte es mitlesen. Verwenden Sie https, oder geben Sie --allow-insecure-http an, um es trotzdem zu verwenden.</translation>
    </message>
    <message>
        <source>Warning: %1 is plain http; the password travels unencrypted to it.</source>
        <translation>Warnung: %1 ist einfaches http; das Passwort geht unverschlüsselt dorthin.</translation>
    </message>
    <message>
        <source>--as takes &quot;events&quot; or &quot;journal&quot;, not &quot;%1&quot;.</source>
        <translation>--as nimmt „events“ oder „journal“, nicht „%1“.</translation>
    </message>
    <message>
        <source>%1 is not the notes&apos; own calendar: sync takes only the notes&apos; entries from it, nothing else in it becomes a note.</source>
        <translation>%1 ist nicht der eigene Kalender der Notizen: Der Abgleich nimmt daraus nur die Einträge der Notizen, nichts anderes darin wird zur Notiz.</translation>
    </message>
</context>
<context>
    <name>SyncConfig</name>
    <message>
        <source>Cannot write the sync settings %1.</source>
        <translation>Die Abgleich-Einstellungen %1 können nicht geschrieben werden.</translation>
    </message>
    <message>
        <source>No keyring holds the password of %1, and no password command is set up.</source>
        <translation>Kein Schlüsselbund enthält das Passwort von %1, und kein Passwortbefehl ist eingerichtet.</translation>
    </message>
    <message>
        <source>The password command failed.</source>
        <translation>Der Passwortbefehl ist fehlgeschlagen.</translation>
    </message>
    <message>
        <source>The address %1 holds a user name or password, which would be kept in the settings and shown: give the address without it, the user with --user, and the password through --password-command or the keyring.</source>
        <translation>Die Adresse %1 enthält einen Benutzernamen oder ein Passwort, die in den Einstellungen gespeichert und angezeigt würden: Geben Sie die Adresse ohne sie an, den Benutzer mit --user und das Passwort über --password-command oder den Schlüsselbund.</translation>
    </message>
    <message>
        <source>%1 holds no certificate (PEM or DER).</source>
        <translation>%1 enthält kein Zertifikat (PEM oder DER).</translation>
    </message>
</context>
<context>
    <name>SyncPass</name>
    <message>
        <source>bring the entry %1 together with %2</source>
        <translation>den Eintrag %1 mit %2 zusammenführen</translation>
    </message>
    <message>
        <source>The note %1 is of a day whose note is kept here under %2, a key of another language: it was not synced. Run &quot;tavorin-notes move-language&quot; to bring the two together.</source>
        <translation>Die Notiz %1 gehört zu einem Tag, dessen Notiz hier unter %2 steht, einem Schlüssel einer anderen Sprache: sie wurde nicht synchronisiert. Führen Sie „tavorin-notes move-language“ aus, um die beiden zusammenzuführen.</translation>
    </message>
    <message>
        <source>take %1 from the server</source>
        <translation>%1 vom Server holen</translation>
    </message>
    <message>
        <source>merge %1 with the server&apos;s</source>
        <translation>%1 mit der Fassung des Servers zusammenführen</translation>
    </message>
    <message>
        <source>upload %1</source>
        <translation>%1 hochladen</translation>
    </message>
    <message>
        <source>upload %1 again, removed on the server</source>
        <translation>%1 erneut hochladen (auf dem Server entfernt)</translation>
    </message>
    <message>
        <source>add another program&apos;s entry to %1</source>
        <translation>den Eintrag eines anderen Programms zu %1 hinzufügen</translation>
    </message>
    <message>
        <source>The entry %1 on the server is not a journal entry of the note of %2 that this program can read: it was left as it is, and so was the note here.</source>
        <translation>Der Eintrag %1 auf dem Server ist kein für dieses Programm lesbarer Journaleintrag der Notiz vom %2: Er blieb, wie er ist, ebenso die Notiz hier.</translation>
    </message>
    <message>
        <source>The note of %1 did not go up: the server refused it (%2). It is tried again at the next pass.</source>
        <translation>Die Notiz vom %1 wurde nicht hochgeladen: Der Server hat sie abgelehnt (%2). Beim nächsten Abgleich wird es erneut versucht.</translation>
    </message>
    <message>
        <source>The note of %1 did not go up: other writes to it kept overtaking this one. It is tried again at the next pass.</source>
        <translation>Die Notiz vom %1 wurde nicht hochgeladen: Andere Schreibvorgänge kamen diesem immer wieder zuvor. Beim nächsten Abgleich wird es erneut versucht.</translation>
    </message>
</context>
<context>
    <name>SyncState</name>
    <message>
        <source>cannot open it</source>
        <translation>kann nicht geöffnet werden</translation>
    </message>
    <message>
        <source>The sync state %1: %2.</source>
        <translation>Abgleichstand %1: %2.</translation>
    </message>
    <message>
        <source>The sync state %1 is a symbolic link, which is not followed: remove it, and the next pass makes the state anew.</source>
        <translation>Der Abgleichsstand %1 ist ein symbolischer Link, dem nicht gefolgt wird: Entfernen Sie ihn, dann legt der nächste Abgleich den Stand neu an.</translation>
    </message>
</context>
</TS>
