<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ICalendarFormat</name>
    <message>
        <source>skipped the note &quot;%1&quot;: its key names no date.</source>
        <translation>заметка «%1» пропущена: её ключ не называет дату.</translation>
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
        <translation type="vanished">Параметры:
  --store PATH   Использовать хранилище по пути PATH вместо хранилища планировщика:
                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, здесь
                 %1
  -h, --help     Показать эту справку.
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
        <translation type="vanished">Коды завершения:
  0  успех
  1  search не нашла ни одной заметки
  2  ошибка вызова: неизвестная команда или параметр, недостающий или лишний
     аргумент
  3  ошибка хранилища или файла: хранилища или FILE нет, они не читаются, не
     являются хранилищем заметок или повреждены, либо вывод не записывается
</translation>
    </message>
    <message>
        <source>List every note with its date, month, year and day.</source>
        <translation>Вывести все заметки с датой, месяцем, годом и днём.</translation>
    </message>
    <message>
        <source>Lists every note that has a text, one per line, tab-separated: the date (YYYY-MM-DD, or &quot;-&quot;
when the month and year name none), the month and the year as the planner showed them,
the day, and the text, with \ written \\, tab \t and line break \n. Dated notes come
first, in date order; then the others, by key.
</source>
        <translation type="vanished">Выводит каждую заметку с текстом, по одной в строке, через табуляцию: дату (YYYY-MM-DD
или «-», если месяц и год не дают даты), месяц и год так, как их показал планировщик,
день и текст, где \ записана как \\, табуляция как \t, а перевод строки как \n. Сначала
идут заметки с датой, по порядку дат; затем остальные, по ключу.
</translation>
    </message>
    <message>
        <source>List the notes that contain TEXT, ignoring case.</source>
        <translation>Вывести заметки с TEXT, без учёта регистра.</translation>
    </message>
    <message>
        <source>Lists, as &quot;list&quot; does, the notes whose text contains TEXT, ignoring case.
Exits with 1 when no note contains it. Put -- before a TEXT that starts with -.
</source>
        <translation>Выводит, как «list», заметки, текст которых содержит TEXT, без учёта регистра.
Завершается с кодом 1, если такой заметки нет. Перед TEXT, начинающимся с -, ставьте --.
</translation>
    </message>
    <message>
        <source>Write every note as Markdown, JSON or iCalendar.</source>
        <translation>Записать все заметки как Markdown, JSON или iCalendar.</translation>
    </message>
    <message>
        <source>Writes every note to standard output in FORMAT: markdown (the default), json, or ics,
an iCalendar file of journal entries (VJOURNAL) that calendar programs import. Notes
whose month and year name no date are left out of iCalendar files, each with a
message.
</source>
        <translation type="vanished">Записывает все заметки в стандартный вывод в формате FORMAT: markdown (по умолчанию), json
или ics — файл iCalendar с записями журнала (VJOURNAL), который импортируют программы-
календари. Заметки, месяц и год которых не дают даты, в файлы iCalendar не попадают; о
каждой выводится сообщение.
</translation>
    </message>
    <message>
        <source>Copy the store to FILE, also while the planner runs.</source>
        <translation>Скопировать хранилище в FILE, даже при работе планировщика.</translation>
    </message>
    <message>
        <source>Copies the store to FILE, which only you can read (mode 0600); an existing FILE is
replaced. The copy is consistent even while the planner writes.
</source>
        <translation>Копирует хранилище в FILE, который можете читать только вы (режим 0600); существующий
FILE заменяется. Копия целостна, даже пока планировщик пишет.
</translation>
    </message>
    <message>
        <source>Replace the store&apos;s content with the copy in FILE.</source>
        <translation>Заменить содержимое хранилища копией из FILE.</translation>
    </message>
    <message>
        <source>Replaces the content of the store with that of FILE, a backup or a safety copy. FILE
must be a sound notes store, or nothing is changed. The current store is first
kept next to it as &lt;store&gt;.before-restore-YYYYMMDD-HHMMSS. A running planner
shows the restored notes when it next reads them.
</source>
        <translation>Заменяет содержимое хранилища содержимым FILE — резервной или страховой копии. FILE
должен быть исправным хранилищем заметок, иначе ничего не меняется. Текущее хранилище
сначала сохраняется рядом как &lt;store&gt;.before-restore-YYYYMMDD-HHMMSS. Запущенный
планировщик покажет восстановленные заметки, когда в следующий раз прочитает их.
</translation>
    </message>
    <message>
        <source>No command given.</source>
        <translation>Команда не указана.</translation>
    </message>
    <message>
        <source>Unknown command &quot;%1&quot;.</source>
        <translation>Неизвестная команда «%1».</translation>
    </message>
    <message>
        <source>&quot;%1&quot; needs %2.</source>
        <translation>«%1» требует %2.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;.</source>
        <translation>Лишний аргумент «%1».</translation>
    </message>
    <message>
        <source>%1 must not be empty.</source>
        <translation>%1 не может быть пустым.</translation>
    </message>
    <message>
        <source>Unknown format &quot;%1&quot;.</source>
        <translation>Неизвестный формат «%1».</translation>
    </message>
    <message>
        <source>exported notes</source>
        <translation>экспортировано заметок</translation>
    </message>
    <message>
        <source>The file %1 is the notes store itself.</source>
        <translation>Файл %1 и есть хранилище заметок.</translation>
    </message>
    <message>
        <source>copied pages</source>
        <translation>скопировано страниц</translation>
    </message>
    <message>
        <source>restored pages</source>
        <translation>восстановлено страниц</translation>
    </message>
    <message>
        <source>Restored the notes store %1 from %2.</source>
        <translation>Хранилище заметок %1 восстановлено из %2.</translation>
    </message>
    <message>
        <source>Restored the notes store %1 from %2; the former store is kept as %3.</source>
        <translation>Хранилище заметок %1 восстановлено из %2; прежнее хранилище сохранено как %3.</translation>
    </message>
    <message>
        <source>%1: %2 of %3 (%4%)</source>
        <translation>%1: %2 из %3 (%4 %)</translation>
    </message>
    <message>
        <source>Usage: %1 [--store PATH] COMMAND [ARGUMENTS]
       %1 COMMAND --help

Reads the day notes of Tavorin Planner without changing them, exports them,
and backs the notes store up or restores it.

Commands:
</source>
        <translation>Использование: %1 [--store PATH] COMMAND [ARGUMENTS]
               %1 COMMAND --help

Читает заметки Tavorin Planner, не изменяя их, экспортирует их, делает резервную
копию хранилища заметок или восстанавливает его.

Команды:
</translation>
    </message>
    <message>
        <source>  --version      Show the version.

</source>
        <translation>  --version      Показать версию.

</translation>
    </message>
    <message>
        <source>
Notes go to standard output; messages and progress to standard error.
The store is only ever written by &quot;restore&quot;.
</source>
        <translation type="vanished">
Заметки выводятся в стандартный вывод, сообщения и ход работы — в стандартный
поток ошибок. В хранилище пишет только «restore».
</translation>
    </message>
    <message>
        <source>Usage: %1 [--store PATH] %2

%3
</source>
        <translation>Использование: %1 [--store PATH] %2

%3
</translation>
    </message>
    <message>
        <source>Try &quot;%1%2 --help&quot;.</source>
        <translation>Подробнее: «%1%2 --help».</translation>
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
        <translation>Не удаётся сохранить прежнее хранилище заметок %1 как %2.</translation>
    </message>
    <message>
        <source>The file %1 is the notes store itself.</source>
        <translation>Файл %1 и есть хранилище заметок.</translation>
    </message>
    <message>
        <source>The file %1 is a database of another kind, not a notes store of Tavorin Planner; it was left unchanged.</source>
        <translation>Файл %1 — база данных другого рода, а не хранилище заметок Tavorin Planner; он оставлен без изменений.</translation>
    </message>
</context>
</TS>
