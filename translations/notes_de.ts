<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ICalendarFormat</name>
    <message>
        <source>skipped the note &quot;%1&quot;: its key names no date.</source>
        <translation>Notiz „%1“ übersprungen: Ihr Schlüssel nennt kein Datum.</translation>
    </message>
</context>
<context>
    <name>NotesCommandLine</name>
    <message>
        <source>Options:
  --store PATH   Use the store at PATH instead of the planner&apos;s:
                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, here
                 %1
  -h, --help     Show this help.
</source>
        <translation type="vanished">Optionen:
  --store PATH   Den Speicher unter PATH statt dem des Planers verwenden:
                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, hier
                 %1
  -h, --help     Diese Hilfe zeigen.
</translation>
    </message>
    <message>
        <source>Exit codes:
  0  success
  1  search found no note
  2  usage error: unknown command or option, missing or extra argument
  3  store or file error: the store or FILE is missing, unreadable, not a
     notes store or damaged, or the output cannot be written
</source>
        <translation type="vanished">Exit-Codes:
  0  Erfolg
  1  search hat keine Notiz gefunden
  2  Aufruffehler: unbekannter Befehl oder unbekannte Option, fehlendes oder
     überzähliges Argument
  3  Speicher- oder Dateifehler: Der Speicher oder FILE fehlt, ist nicht
     lesbar, kein Notizspeicher oder beschädigt, oder die Ausgabe kann nicht
     geschrieben werden
</translation>
    </message>
    <message>
        <source>List every note with its date, month, year and day.</source>
        <translation>Jede Notiz mit Datum, Monat, Jahr und Tag auflisten.</translation>
    </message>
    <message>
        <source>Lists every note that has a text, one per line, tab-separated: the date (YYYY-MM-DD, or &quot;-&quot;
when the month and year name none), the month and the year as the planner showed them,
the day, and the text, with \ written \\, tab \t and line break \n. Dated notes come
first, in date order; then the others, by key.
</source>
        <translation type="vanished">Listet jede Notiz mit Text auf, eine pro Zeile, durch Tabulatoren getrennt: das Datum
(YYYY-MM-DD, oder „-“, wenn Monat und Jahr keines ergeben), Monat und Jahr, wie der Planer
sie zeigte, den Tag und den Text, darin \ als \\, Tabulator als \t und Zeilenumbruch als \n.
Notizen mit Datum kommen zuerst, nach Datum; dann die übrigen, nach Schlüssel.
</translation>
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
        <source>Writes every note to standard output in FORMAT: markdown (the default), json, or ics,
an iCalendar file of journal entries (VJOURNAL) that calendar programs import. Notes
whose month and year name no date are left out of iCalendar files, each with a
message.
</source>
        <translation type="vanished">Schreibt jede Notiz im FORMAT auf die Standardausgabe: markdown (Vorgabe), json oder ics,
eine iCalendar-Datei mit Journaleinträgen (VJOURNAL), die Kalenderprogramme importieren.
Notizen, deren Monat und Jahr kein Datum ergeben, fehlen in iCalendar-Dateien; für jede
erscheint eine Meldung.
</translation>
    </message>
    <message>
        <source>Copy the store to FILE, also while the planner runs.</source>
        <translation>Den Speicher nach FILE kopieren, auch bei laufendem Planer.</translation>
    </message>
    <message>
        <source>Copies the store to FILE, which only you can read (mode 0600); an existing FILE is
replaced. The copy is consistent even while the planner writes.
</source>
        <translation>Kopiert den Speicher nach FILE, das nur Sie lesen können (Modus 0600); eine vorhandene
FILE wird ersetzt. Die Kopie ist stimmig, auch während der Planer schreibt.
</translation>
    </message>
    <message>
        <source>Replace the store&apos;s content with the copy in FILE.</source>
        <translation>Den Inhalt des Speichers durch die Kopie in FILE ersetzen.</translation>
    </message>
    <message>
        <source>Replaces the content of the store with that of FILE, a backup or a safety copy. FILE
must be a sound notes store, or nothing is changed. The current store is first
kept next to it as &lt;store&gt;.before-restore-YYYYMMDD-HHMMSS. A running planner
shows the restored notes when it next reads them.
</source>
        <translation>Ersetzt den Inhalt des Speichers durch den von FILE, einer Sicherung oder Sicherheitskopie.
FILE muss ein intakter Notizspeicher sein, sonst wird nichts geändert. Der bisherige
Speicher bleibt daneben als &lt;store&gt;.before-restore-YYYYMMDD-HHMMSS erhalten. Ein laufender
Planer zeigt die zurückgeholten Notizen, wenn er sie das nächste Mal liest.
</translation>
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
        <source>The file %1 is the notes store itself.</source>
        <translation>Die Datei %1 ist der Notizspeicher selbst.</translation>
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
        <source>Usage: %1 [--store PATH] COMMAND [ARGUMENTS]
       %1 COMMAND --help

Reads the day notes of Tavorin Planner without changing them, exports them,
and backs the notes store up or restores it.

Commands:
</source>
        <translation>Aufruf: %1 [--store PATH] COMMAND [ARGUMENTS]
        %1 COMMAND --help

Liest die Tagesnotizen von Tavorin Planner, ohne sie zu ändern, exportiert sie
und sichert den Notizspeicher oder holt ihn zurück.

Befehle:
</translation>
    </message>
    <message>
        <source>  --version      Show the version.

</source>
        <translation>  --version      Die Version zeigen.

</translation>
    </message>
    <message>
        <source>
Notes go to standard output; messages and progress to standard error.
The store is only ever written by &quot;restore&quot;.
</source>
        <translation type="vanished">
Notizen gehen auf die Standardausgabe, Meldungen und Fortschritt auf die
Standardfehlerausgabe. Nur „restore“ schreibt in den Speicher.
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
        <translation type="unfinished"></translation>
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
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Exit codes:
  0  success
  1  search found no note, or export --format ics no note with a date
  2  usage error: unknown command or option, missing or extra argument
  3  store or file error: the store or FILE is missing, unreadable, not a
     notes store or damaged, or the output cannot be written
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Lists every note that has a text, one per line, tab-separated: the date (YYYY-MM-DD, or &quot;-&quot;
when the month and year name none), the month and the year as the planner showed them,
the day, and the text, with \ written \\, tab \t, line break \n, carriage return \r
and any other control character \xHH. Dated notes come first, in date order; then the
others, by month and year, in day order.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Writes every note to standard output in FORMAT: markdown (the default), json, or ics,
an iCalendar file of journal entries (VJOURNAL) that calendar programs import. Notes
whose month and year name no date are left out of iCalendar files, each with a
message; when no note has a date, nothing is written and the exit code is 1.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--%1 needs a date as YYYY-MM-DD, not &quot;%2&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--month cannot be combined with --from or --to.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--month needs a month as YYYY-MM, not &quot;%1&quot;.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>--from %1 is after --to %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>No note to export: an iCalendar file needs at least one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>None of the %1 notes has a date: an iCalendar file needs at least one.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
list, search and export also take --from, --to, --month and -o FILE; see
&quot;%1 list --help&quot;.
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
Notes go to standard output or FILE; messages and progress to standard error.
The store is only ever written by &quot;restore&quot;.
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>NotesOutput</name>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Cannot write to standard output: %1.</source>
        <translation type="unfinished"></translation>
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
</context>
</TS>
