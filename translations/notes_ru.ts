<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CalDavClient</name>
    <message>
        <source>it is no multistatus but %1</source>
        <translation>это не multistatus, а %1</translation>
    </message>
    <message>
        <source>it is empty</source>
        <translation>он пуст</translation>
    </message>
    <message>
        <source>The server %1 sent a broken answer (line %2): %3.</source>
        <translation>Сервер %1 прислал испорченный ответ (строка %2): %3.</translation>
    </message>
</context>
<context>
    <name>CalDavCollection</name>
    <message>
        <source>The server %1 named an entry outside the calendar %2: &quot;%3&quot;. Nothing was taken from it.</source>
        <translation>Сервер %1 назвал запись вне календаря %2: «%3». Из неё ничего не взято.</translation>
    </message>
    <message>
        <source>The server %1 sent an ETag that HTTP does not allow: &quot;%2&quot;.</source>
        <translation>Сервер %1 прислал ETag, недопустимый в HTTP: «%2».</translation>
    </message>
    <message>
        <source>The server %1 answered %2 to the listing of %3.</source>
        <translation>Сервер %1 ответил %2 на запрос списка %3.</translation>
    </message>
    <message>
        <source>The server %1 answered %2 when asked for entries.</source>
        <translation>Сервер %1 ответил %2 на запрос записей.</translation>
    </message>
    <message>
        <source>An ETag that HTTP does not allow was kept for an entry; it is not sent.</source>
        <translation>Для записи сохранён ETag, недопустимый в HTTP; он не отправляется.</translation>
    </message>
    <message>
        <source>The entry %1 has no usable version tag; it is left on the server.</source>
        <translation>У записи %1 нет пригодной метки версии (ETag); она остаётся на сервере как есть.</translation>
    </message>
</context>
<context>
    <name>CalendarDiscovery</name>
    <message>
        <source>%1 is no WebDAV folder (%2).</source>
        <translation>%1 — не папка WebDAV (%2).</translation>
    </message>
    <message>
        <source>%1 sends sync on to another server, %2: if you trust it, set up sync with that address.</source>
        <translation>%1 перенаправляет синхронизацию на другой сервер, %2: если вы ему доверяете, настройте синхронизацию с этим адресом.</translation>
    </message>
    <message>
        <source>The server names no user principal at %1.</source>
        <translation>Сервер не называет по адресу %1 учётную запись пользователя (principal).</translation>
    </message>
    <message>
        <source>The server names no calendar home for %1.</source>
        <translation>Сервер не называет для %1 каталог календарей (calendar home).</translation>
    </message>
    <message>
        <source>The server did not make the calendar %1 (%2). Where you may not make calendars, set up sync with the address of one of yours: the notes go there as all-day events where it takes no journal entries, and nothing else in it becomes a note.</source>
        <translation>Сервер не создал календарь %1 (%2). Если вам нельзя создавать календари, настройте синхронизацию с адресом одного из ваших календарей: заметки попадут туда как события на весь день, если он не принимает записи журнала, и ничто другое в нём не станет заметкой.</translation>
    </message>
    <message>
        <source>The server made the calendar %1 for %2 only, not for %3 as asked.</source>
        <translation>Сервер создал календарь %1 только для %2, а не для %3, как было запрошено.</translation>
    </message>
    <message>
        <source>The calendar %1 takes only %2, not %3: set up without --as, or with another calendar.</source>
        <translation>Календарь %1 принимает только %2, а не %3: настройте синхронизацию без --as или с другим календарём.</translation>
    </message>
    <message>
        <source>The calendar %1 takes only %2, neither journal entries nor events: give the address of another calendar.</source>
        <translation>Календарь %1 принимает только %2 — ни записи журнала, ни события: укажите адрес другого календаря.</translation>
    </message>
    <message>
        <source>The notes go to %1 as all-day events.</source>
        <translation>Заметки попадают в %1 как события на весь день.</translation>
    </message>
</context>
<context>
    <name>HttpExchange</name>
    <message>
        <source>The pass with %1 took too long: it stopped before %2 %3. The rest is done at the next pass.</source>
        <translation>Проход с %1 длился слишком долго: он остановился перед %2 %3. Остальное будет сделано при следующем проходе.</translation>
    </message>
    <message>
        <source>The server %1 redirects %2 %3 again and again.</source>
        <translation>Сервер %1 снова и снова перенаправляет %2 %3.</translation>
    </message>
    <message>
        <source>The server %1 did not answer %2 in time (%3 s).</source>
        <translation>Сервер %1 не ответил на %2 вовремя (%3 с).</translation>
    </message>
    <message>
        <source>The server %1 sent more than %2 MB in answer to %3: refused.</source>
        <translation>Сервер %1 прислал в ответ на %3 больше %2 МБ: отклонено.</translation>
    </message>
    <message>
        <source>The server %1 asks for the password over plain http, which anyone on the way could read: use https, or set it up again with --allow-insecure-http.</source>
        <translation>Сервер %1 запрашивает пароль по незашифрованному http, где его может прочитать любой по пути: используйте https или настройте синхронизацию заново с --allow-insecure-http.</translation>
    </message>
    <message>
        <source>Cannot reach %1: %2. If the server has a certificate of its own, trust it with &quot;tavorin-notes sync setup URL --user NAME --certificate FILE&quot;.</source>
        <translation>Не удаётся связаться с %1: %2. Если у сервера собственный сертификат, доверьтесь ему командой «tavorin-notes sync setup URL --user NAME --certificate FILE».</translation>
    </message>
    <message>
        <source>Cannot reach %1: %2.</source>
        <translation>Не удаётся связаться с %1: %2.</translation>
    </message>
    <message>
        <source>The server %1 sends %2 elsewhere (HTTP %3 to %4); that is not followed, so that neither the password nor the notes go to another place. If the calendar moved, set it up there: tavorin-notes sync setup NEW-URL --user NAME.</source>
        <translation>Сервер %1 перенаправляет %2 в другое место (HTTP %3 на %4); этому перенаправлению не следуют, чтобы ни пароль, ни заметки не попали в другое место. Если календарь переехал, настройте синхронизацию там: tavorin-notes sync setup NEW-URL --user NAME.</translation>
    </message>
    <message>
        <source>The server %1 refused the login (HTTP %2): check the user name and the password.</source>
        <translation>Сервер %1 отклонил вход (HTTP %2): проверьте имя пользователя и пароль.</translation>
    </message>
    <message>
        <source>The server %1 failed (%2) on %3.</source>
        <translation>Сервер %1 дал сбой (%2) на %3.</translation>
    </message>
    <message>
        <source>The server %1 sent an ETag that HTTP does not allow in answer to %2.</source>
        <translation>Сервер %1 прислал в ответ на %2 ETag, недопустимый в HTTP.</translation>
    </message>
</context>
<context>
    <name>ICalendarFormat</name>
    <message>
        <source>skipped the note &quot;%1&quot;: its key names no date.</source>
        <translation>заметка «%1» пропущена: её ключ не называет дату.</translation>
    </message>
</context>
<context>
    <name>ICalendarShape</name>
    <message>
        <source>line %1: components nested deeper than %2</source>
        <translation>строка %1: компоненты вложены глубже %2</translation>
    </message>
    <message>
        <source>line %1: END:%2 without its BEGIN</source>
        <translation>строка %1: END:%2 без своего BEGIN</translation>
    </message>
    <message>
        <source>line %1: END:%2 where END:%3 of line %4 belongs</source>
        <translation>строка %1: END:%2 там, где должно быть END:%3 из строки %4</translation>
    </message>
    <message>
        <source>it is larger than %1 MB</source>
        <translation>он больше %1 МБ</translation>
    </message>
    <message>
        <source>line %1 is longer than %2 MB</source>
        <translation>строка %1 длиннее %2 МБ</translation>
    </message>
    <message>
        <source>line %1: BEGIN:%2 has no END:%2</source>
        <translation>строка %1: у BEGIN:%2 нет END:%2</translation>
    </message>
</context>
<context>
    <name>MarkdownFormat</name>
    <message>
        <source>Tavorin Planner notes</source>
        <translation>Заметки Tavorin Planner</translation>
    </message>
    <message>
        <source>%1 %2, day %3 (no date)</source>
        <translation>%1 %2, день %3 (без даты)</translation>
    </message>
</context>
<context>
    <name>NoteImport</name>
    <message>
        <source>Cannot read %1: %2.</source>
        <translation>Не удаётся прочитать %1: %2.</translation>
    </message>
    <message>
        <source>%1 is neither an iCalendar file nor a JSON export of the notes.</source>
        <translation>%1 — не файл iCalendar и не JSON-экспорт заметок.</translation>
    </message>
    <message>
        <source>skipped the entry &quot;%1&quot;: that is not the key of a note.</source>
        <translation>запись «%1» пропущена: это не ключ заметки.</translation>
    </message>
    <message>
        <source>skipped the colour &quot;%1&quot; of %2: that is no colour the planner can store.</source>
        <translation>цвет «%1» у %2 пропущен: такой цвет планировщик сохранить не может.</translation>
    </message>
    <message>
        <source>%1 is larger than %2 MB: not imported.</source>
        <translation>%1 больше %2 МБ: не импортирован.</translation>
    </message>
</context>
<context>
    <name>NoteJournal</name>
    <message>
        <source>This is no readable iCalendar text: %1.</source>
        <translation>Это не читаемый текст iCalendar: %1.</translation>
    </message>
    <message>
        <source>it is cut short or is no calendar at all</source>
        <translation>он обрезан или вовсе не календарь</translation>
    </message>
</context>
<context>
    <name>NoteStore</name>
    <message>
        <source>&quot;%1&quot; is not the key of a note; nothing was written.</source>
        <translation>«%1» — не ключ заметки; ничего не записано.</translation>
    </message>
</context>
<context>
    <name>NotesCommandLine</name>
    <message>
        <source>Move the notes to the keys of the desktop&apos;s language.</source>
        <translation>Перенести заметки под ключи языка рабочего стола.</translation>
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
        <translation>Планировщик хранит заметку дня под ключом с названием месяца на языке рабочего
стола («March_2024_txtNote_5», «März_2024_txtNote_5»). После смены языка окно
больше не показывает сохранённые ранее заметки: выполните эту команду один раз при
закрытом планировщике, чтобы перенести каждую заметку под ключ её дня на текущем
языке. Если заметка есть под обоими ключами, они объединяются: общее остаётся
один раз, ничего не теряется. Ключи без даты остаются как есть.
Сначала хранилище сохраняется рядом как
&lt;store&gt;.before-move-language-YYYYMMDD-HHMMSS (хранятся семь последних).

  --dry-run  Показать переносы, ничего не меняя.
  --force    Переносить, даже когда хранилище открыто в планировщике.
</translation>
    </message>
    <message>
        <source>would move %1 to %2%3
</source>
        <translation>перенёс бы %1 в %2%3
</translation>
    </message>
    <message>
        <source>move %1 to %2%3
</source>
        <translation>перенос %1 в %2%3
</translation>
    </message>
    <message>
        <source>, merged with the note there</source>
        <translation>, объединив с заметкой там</translation>
    </message>
    <message>
        <source>Every note is kept under the key of the current language (%1): nothing to move.</source>
        <translation>Все заметки уже хранятся под ключами текущего языка (%1): переносить нечего.</translation>
    </message>
    <message>
        <source>A running planner has the notes store %1 open and would store what it shows over the moved notes. Close it first, or use --force.</source>
        <translation>Хранилище заметок %1 открыто в работающем планировщике, и он записал бы показанное поверх перенесённых заметок. Сначала закройте его или укажите --force.</translation>
    </message>
    <message>
        <source>The note %1 changed while it was being moved; %2 of %3 notes were moved. Run the command again.</source>
        <translation>Заметка %1 изменилась во время переноса; перенесено %2 из %3 заметок. Выполните команду ещё раз.</translation>
    </message>
    <message>
        <source>Moved %1 notes to the keys of %2; the former store is kept as %3.</source>
        <translation>Перенесено заметок под ключи языка %2: %1; прежнее хранилище сохранено как %3.</translation>
    </message>
    <message>
        <source>List every note with its date, month, year and day.</source>
        <translation>Вывести все заметки с датой, месяцем, годом и днём.</translation>
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
        <source>Copy the store to FILE, also while the planner runs.</source>
        <translation>Скопировать хранилище в FILE, даже при работе планировщика.</translation>
    </message>
    <message>
        <source>Replace the store&apos;s content with the copy in FILE.</source>
        <translation>Заменить содержимое хранилища копией из FILE.</translation>
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
        <source>  --version      Show the version.

</source>
        <translation>  --version      Показать версию.

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
        <translation>Параметры:
  --store PATH   Использовать хранилище по пути PATH вместо хранилища планировщика:
                 $XDG_DATA_HOME/Quillmere/settings.sqlite3, здесь
                 %1
  -q, --quiet    Не показывать ход работы и сообщения о пропущенных записях,
                 только ошибки. Ход работы виден, только если стандартный
                 поток ошибок — терминал.
  -h, --help     Показать эту справку.
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
        <translation>Параметры list, search и export:
  --from DATE        Только заметки с даты DATE (YYYY-MM-DD) и позже.
  --to DATE          Только заметки до даты DATE включительно.
  --month YYYY-MM    Только заметки этого месяца.
                     С любым из них заметки без даты не выводятся.
  -o, --output FILE  Писать в FILE вместо стандартного вывода. FILE появляется
                     целиком или не появляется вовсе, и только если команда
                     завершилась успешно (код 0); иначе в нём остаётся прежнее
                     содержимое. В устройство или FIFO запись идёт напрямую,
                     они не заменяются.
</translation>
    </message>
    <message>
        <source>Lists every note that has a text, one per line, tab-separated: the date (YYYY-MM-DD, or &quot;-&quot;
when the month and year name none), the month and the year as the planner showed them,
the day, and the text, with \ written \\, tab \t, line break \n, carriage return \r
and any other control character \xHH. Dated notes come first, in date order; then the
others, by month and year, in day order.
</source>
        <translation>Выводит каждую заметку с текстом, по одной в строке, через табуляцию: дату (YYYY-MM-DD
или «-», если месяц и год не дают даты), месяц и год так, как их показал планировщик,
день и текст, где \ записана как \\, табуляция как \t, перевод строки как \n, возврат
каретки как \r, а любой другой управляющий символ как \xHH. Сначала идут заметки с датой,
по порядку дат; затем остальные, по месяцу и году, по порядку дней.
</translation>
    </message>
    <message>
        <source>Writes every note to standard output in FORMAT: markdown (the default), json, or ics,
an iCalendar file of journal entries (VJOURNAL) that calendar programs import. Notes
whose month and year name no date are left out of iCalendar files, each with a
message; when no note has a date, nothing is written and the exit code is 1.
</source>
        <translation>Записывает все заметки в стандартный вывод в формате FORMAT: markdown (по умолчанию), json
или ics — файл iCalendar с записями журнала (VJOURNAL), который импортируют календарные
программы. Заметки, месяц и год которых не дают даты, в файлы iCalendar не попадают; о
каждой выводится сообщение. Если ни у одной заметки нет даты, ничего не записывается,
а код завершения равен 1.
</translation>
    </message>
    <message>
        <source>--%1 needs a date as YYYY-MM-DD, not &quot;%2&quot;.</source>
        <translation>--%1 требует дату в виде YYYY-MM-DD, а не «%2».</translation>
    </message>
    <message>
        <source>--month cannot be combined with --from or --to.</source>
        <translation>--month нельзя сочетать с --from или --to.</translation>
    </message>
    <message>
        <source>--month needs a month as YYYY-MM, not &quot;%1&quot;.</source>
        <translation>--month требует месяц в виде YYYY-MM, а не «%1».</translation>
    </message>
    <message>
        <source>--from %1 is after --to %2.</source>
        <translation>--from %1 позже, чем --to %2.</translation>
    </message>
    <message>
        <source>No note to export: an iCalendar file needs at least one.</source>
        <translation>Нет заметок для экспорта: файлу iCalendar нужна хотя бы одна.</translation>
    </message>
    <message>
        <source>None of the %1 notes has a date: an iCalendar file needs at least one.</source>
        <translation>Ни у одной из %1 заметок нет даты: файлу iCalendar нужна хотя бы одна.</translation>
    </message>
    <message>
        <source>
list, search and export also take --from, --to, --month and -o FILE; see
&quot;%1 list --help&quot;.
</source>
        <translation>
list, search и export принимают также --from, --to, --month и -o FILE; см.
«%1 list --help».
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
        <translation>Коды завершения:
  0  успех
  1  search не нашла ни одной заметки, или у export --format ics нет ни одной
     заметки с датой
  2  ошибка вызова: неизвестная команда или параметр, недостающий или лишний
     аргумент
  3  ошибка хранилища или файла: хранилища или FILE нет, они не читаются, не
     являются хранилищем заметок или повреждены, либо вывод не записывается
  4  sync: ошибка сети, сервер недоступен
  5  sync: сервер отклонил вход
  6  sync: ошибка сервера, сервер дал сбой или ответил не то, что должен
</translation>
    </message>
    <message>
        <source>Copies the store to FILE, which only you can read (mode 0600); an existing FILE is
replaced as a whole, by renaming a complete copy over it. The copy is consistent
even while the planner writes. FILE must be a regular file or a new name: &quot;-&quot;,
devices, pipes, folders, and the store, its -wal, -shm and -journal files and its
copies are refused.
</source>
        <translation>Копирует хранилище в FILE, который можете читать только вы (режим 0600); существующий
FILE заменяется целиком: поверх него переименовывается готовая полная копия. Копия
целостна, даже пока планировщик пишет. FILE должен быть обычным файлом или новым
именем: «-», устройства, каналы, папки, а также само хранилище, его файлы -wal, -shm
и -journal и его копии не принимаются.
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
        <translation>Заменяет содержимое хранилища содержимым FILE — резервной или страховой копии. FILE
должен быть исправным хранилищем заметок и не содержать ничего, чего не создаёт
планировщик, иначе ничего не меняется. Текущее хранилище сначала сохраняется рядом как
&lt;store&gt;.before-restore-YYYYMMDD-HHMMSS (хранятся семь последних).
Без --force отклоняется: пока планировщик держит хранилище открытым, и если в FILE нет
заметок или их меньше половины от числа заметок в хранилище.
</translation>
    </message>
    <message>
        <source>Bring in the notes of an iCalendar file or a JSON export.</source>
        <translation>Загрузить заметки из файла iCalendar или JSON-экспорта.</translation>
    </message>
    <message>
        <source>Reads FILE, an iCalendar file of journal entries (VJOURNAL) or a JSON export of
&quot;export --format json&quot;, and makes each entry the note of its day. A day that
already has a note gets the entry&apos;s text added below it, never put in its
place; a text already in the note is not added again, so importing the same
file twice changes nothing. The import is one transaction: when it fails,
nothing is changed. --dry-run lists what would change.
</source>
        <translation>Читает FILE — файл iCalendar с записями журнала (VJOURNAL) или JSON-экспорт
«export --format json» — и делает каждую запись заметкой её дня. Если у дня уже есть
заметка, текст записи добавляется под ней, а не вместо неё; текст, который уже есть в
заметке, повторно не добавляется, поэтому повторный импорт того же файла ничего не
меняет. Импорт — одна транзакция: при сбое ничего не меняется. --dry-run выводит, что
изменилось бы.
</translation>
    </message>
    <message>
        <source>Sync the notes with a CalDAV server, both ways.</source>
        <translation>Синхронизировать заметки с сервером CalDAV в обе стороны.</translation>
    </message>
    <message>
        <source>--store must not be empty.</source>
        <translation>--store не может быть пустым.</translation>
    </message>
    <message>
        <source>would add below %1
</source>
        <translation>будет добавлено под %1
</translation>
    </message>
    <message>
        <source>would make %1
</source>
        <translation>будет создано: %1
</translation>
    </message>
    <message>
        <source>would import %1 entries: %2 new notes, %3 added below a note, %4 already there.</source>
        <translation>будет импортировано записей: %1; новых заметок: %2, добавлено под заметкой: %3, уже есть: %4.</translation>
    </message>
    <message>
        <source>imported %1 entries: %2 new notes, %3 added below a note, %4 already there.</source>
        <translation>импортировано записей: %1; новых заметок: %2, добавлено под заметкой: %3, уже есть: %4.</translation>
    </message>
    <message>
        <source>Usage: %1 [--store PATH] COMMAND [ARGUMENTS]
       %1 COMMAND --help

Reads the day notes of Tavorin Planner, exports and imports them, syncs them
with a CalDAV server, and backs the notes store up or restores it.

Commands:
</source>
        <translation>Использование: %1 [--store PATH] COMMAND [ARGUMENTS]
               %1 COMMAND --help

Читает заметки Tavorin Planner, экспортирует и импортирует их, синхронизирует их
с сервером CalDAV, делает резервную копию хранилища заметок или восстанавливает его.

Команды:
</translation>
    </message>
    <message>
        <source>
Notes go to standard output or FILE; messages and progress to standard error.
The store is only ever written by &quot;restore&quot;, &quot;import&quot; and &quot;sync&quot;.
</source>
        <translation>
Заметки выводятся в стандартный вывод или в FILE, сообщения и ход работы — в
стандартный поток ошибок. В хранилище пишут только «restore», «import» и «sync».
</translation>
    </message>
    <message>
        <source>After a restore, the next sync merges each restored note that differs from the
server&apos;s with it, as a note changed on both sides: the server&apos;s text is kept too.
</source>
        <translation>После восстановления следующая синхронизация объединит каждую восстановленную заметку,
отличающуюся от версии сервера, с этой версией как изменённую на обеих сторонах: текст
сервера тоже сохранится.
</translation>
    </message>
</context>
<context>
    <name>NotesOutput</name>
    <message>
        <source>Cannot write %1: %2.</source>
        <translation>Не удаётся записать %1: %2.</translation>
    </message>
    <message>
        <source>Cannot write to standard output: %1.</source>
        <translation>Не удаётся писать в стандартный вывод: %1.</translation>
    </message>
</context>
<context>
    <name>StoreBackup</name>
    <message>
        <source>A backup goes into a file, not to standard output (&quot;-&quot;): a binary copy on a terminal helps no one. Give the name of a file.</source>
        <translation>Резервная копия пишется в файл, а не в стандартный вывод («-»): двоичная копия в терминале никому не поможет. Укажите имя файла.</translation>
    </message>
    <message>
        <source>The link %1 points to nothing; nothing was written.</source>
        <translation>Ссылка %1 никуда не указывает; ничего не записано.</translation>
    </message>
    <message>
        <source>%1 is not a regular file (a device, a pipe or a folder); a backup only creates or replaces a regular file.</source>
        <translation>%1 — не обычный файл (а устройство, канал или папка); резервная копия только создаёт или заменяет обычный файл.</translation>
    </message>
    <message>
        <source>%1 is the notes store, one of its journal files or one of its copies; nothing was written.</source>
        <translation>%1 — это хранилище заметок, один из его файлов журнала или одна из его копий; ничего не записано.</translation>
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
    <message>
        <source>%1 Another program holds the store locked; nothing was changed.</source>
        <translation>%1 Другая программа заблокировала хранилище; ничего не изменено.</translation>
    </message>
    <message>
        <source>The copy %1 of the notes store differs from it.</source>
        <translation>Копия %1 хранилища заметок отличается от него.</translation>
    </message>
    <message>
        <source>Cannot keep the former notes store: %1 Nothing was changed.</source>
        <translation>Не удаётся сохранить прежнее хранилище заметок: %1 Ничего не изменено.</translation>
    </message>
    <message>
        <source>Cannot move %1 beside the kept copy %2.</source>
        <translation>Не удаётся переместить %1 к сохранённой копии %2.</translation>
    </message>
    <message>
        <source>The file %1 holds tables, indexes, views or triggers that Tavorin Planner does not make; it is not restored.</source>
        <translation>Файл %1 содержит таблицы, индексы, представления или триггеры, которых Tavorin Planner не создаёт; он не восстанавливается.</translation>
    </message>
    <message>
        <source>%1 holds %2 notes, the store holds %3; nothing was changed. Use --force to restore it all the same.</source>
        <translation>В %1 заметок: %2, в хранилище: %3; ничего не изменено. Чтобы всё же восстановить, используйте --force.</translation>
    </message>
    <message>
        <source>A running planner has the notes store %1 open and would store what it shows over the restored notes. Close it first, or use --force.</source>
        <translation>Запущенный планировщик держит хранилище заметок %1 открытым и записал бы то, что показывает, поверх восстановленных заметок. Сначала закройте его или используйте --force.</translation>
    </message>
</context>
<context>
    <name>SyncCommandLine</name>
    <message>
        <source>%1 uploaded, %2 taken from the server, %3 merged, %4 uploaded again, %5 added from other programs; %6 requests</source>
        <translation>отправлено на сервер: %1, получено с сервера: %2, объединено: %3, отправлено повторно: %4, добавлено из других программ: %5; запросов: %6</translation>
    </message>
    <message>
        <source>Password: </source>
        <translation>Пароль: </translation>
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
        <translation>Параметры sync setup:
  --as events          Каждая заметка как событие на весь её день, которое
                       показывают календари телефонов; так и без параметра, если
                       календарь не принимает записи журнала (Google, iCloud).
                       --as journal требует записи журнала. Из календаря, который
                       называется не «Tavorin Planner», читаются только записи
                       заметок, никогда не встречи.
  --certificate FILE   Доверять сертификату (или центру сертификации) из FILE для
                       этого сервера, например самоподписанному; хранится в sync.conf.

</translation>
    </message>
    <message>
        <source>Try &quot;tavorin-notes sync --help&quot;.</source>
        <translation>Подробнее: «tavorin-notes sync --help».</translation>
    </message>
    <message>
        <source>&quot;sync setup&quot; needs URL and --user NAME.</source>
        <translation>«sync setup» требует URL и --user NAME.</translation>
    </message>
    <message>
        <source>Unexpected argument &quot;%1&quot;.</source>
        <translation>Лишний аргумент «%1».</translation>
    </message>
    <message>
        <source>--dry-run and --status do not go together.</source>
        <translation>--dry-run и --status нельзя указывать вместе.</translation>
    </message>
    <message>
        <source>--watch goes with neither --dry-run nor --status.</source>
        <translation>--watch нельзя указывать ни с --dry-run, ни с --status.</translation>
    </message>
    <message>
        <source>Sync works again.</source>
        <translation>Синхронизация снова работает.</translation>
    </message>
    <message>
        <source>Trying again from time to time, at least every %1 seconds; no more messages until it works.</source>
        <translation>Новые попытки время от времени, не реже чем раз в %1 секунд; больше сообщений не будет, пока не заработает.</translation>
    </message>
    <message>
        <source>%1 is no http or https address.</source>
        <translation>%1 — не адрес http или https.</translation>
    </message>
    <message>
        <source>No keyring answered to keep the password: give --password-command.</source>
        <translation>Ни одна связка ключей не ответила, чтобы сохранить пароль: укажите --password-command.</translation>
    </message>
    <message>
        <source>Sync set up with %1; the settings are in %2.</source>
        <translation>Синхронизация с %1 настроена; настройки в %2.</translation>
    </message>
    <message>
        <source>Sync is not set up: run &quot;tavorin-notes sync setup URL --user NAME&quot;.</source>
        <translation>Синхронизация не настроена: выполните «tavorin-notes sync setup URL --user NAME».</translation>
    </message>
    <message>
        <source>sync %1 of %2</source>
        <translation>sync %1 из %2</translation>
    </message>
    <message>
        <source>would %1
</source>
        <translation>нужно %1
</translation>
    </message>
    <message>
        <source>dry run: </source>
        <translation>пробный проход: </translation>
    </message>
    <message>
        <source>sync: </source>
        <translation>синхронизация: </translation>
    </message>
    <message>
        <source>server: %1
</source>
        <translation>сервер: %1
</translation>
    </message>
    <message>
        <source>(not set up)</source>
        <translation>(не настроен)</translation>
    </message>
    <message>
        <source>last pass: none yet
</source>
        <translation>последний проход: ещё не было
</translation>
    </message>
    <message>
        <source>last pass: %1: %2
</source>
        <translation>последний проход: %1: %2
</translation>
    </message>
    <message>
        <source>waiting to go up: %1
</source>
        <translation>ждут отправки: %1
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
        <translation>Использование: tavorin-notes [--store PATH] sync [--dry-run | --status | --watch]
               tavorin-notes sync setup URL --user NAME [--password-command CMD]

Поддерживает одинаковые заметки здесь и на сервере CalDAV (Radicale, Nextcloud, Baikal,
Fastmail ...), по одной записи журнала (VJOURNAL) на заметку, чтобы они были видны на
каждом компьютере и телефоне с тем же календарём. Ничего никогда не удаляется: заметка,
изменённая на обеих сторонах, сохраняет оба текста — сначала здешний, затем строку
«— changed on another device —» и текст с сервера; запись, удалённая на сервере,
отправляется снова. См. docs/sync.md.

  sync                 Один проход в обе стороны; в конце итоговая строка.
  sync --dry-run       Показать, что изменил бы проход, ничего не меняя.
  sync --status        Последний проход, его время и заметки, ждущие отправки.
  sync --watch         Синхронизировать, пока не остановят (SIGTERM, Ctrl+C):
                       проход в течение 2 секунд после изменения заметок, запрос
                       к серверу каждую минуту (каждые 4 секунды, пока открыт
                       планировщик); строка итога после каждого прохода, который
                       что-то изменил. Сбойный сервер пробуется всё реже, с одним
                       сообщением. Его запускает служба tavorin-notes-watch:
                       systemctl --user enable --now tavorin-notes-watch
  sync setup URL --user NAME [--password-command CMD]
                       Использовать календарь по адресу URL или найти календари
                       пользователя по адресу сервера и создать календарь
                       «Tavorin Planner». Пароль берётся из связки ключей (Secret
                       Service); если её нет, пароль выводит CMD (например,
                       «pass show dav»). Без CMD setup один раз читает пароль и
                       сохраняет его в связке ключей.
                       Настройки записываются в $XDG_CONFIG_HOME/Quillmere/sync.conf
                       (0600), пароль — никогда.
                       Через незашифрованный http на другой компьютер пароль
                       могут прочитать по пути: это отклоняется, если не указан
                       --allow-insecure-http.

</translation>
    </message>
    <message>
        <source>%1 is plain http: the password would travel unencrypted and anyone on the way could read it. Use https, or give --allow-insecure-http to use it anyway.</source>
        <translation>%1 — незашифрованный http: пароль передавался бы открытым текстом, и любой по пути мог бы его прочитать. Используйте https или укажите --allow-insecure-http, чтобы всё же использовать этот адрес.</translation>
    </message>
    <message>
        <source>Warning: %1 is plain http; the password travels unencrypted to it.</source>
        <translation>Предупреждение: %1 — незашифрованный http; пароль передаётся туда открытым текстом.</translation>
    </message>
    <message>
        <source>--as takes &quot;events&quot; or &quot;journal&quot;, not &quot;%1&quot;.</source>
        <translation>--as принимает «events» или «journal», а не «%1».</translation>
    </message>
    <message>
        <source>%1 is not the notes&apos; own calendar: sync takes only the notes&apos; entries from it, nothing else in it becomes a note.</source>
        <translation>%1 — не собственный календарь заметок: синхронизация берёт из него только записи заметок, ничто другое в нём не станет заметкой.</translation>
    </message>
</context>
<context>
    <name>SyncConfig</name>
    <message>
        <source>Cannot write the sync settings %1.</source>
        <translation>Не удаётся записать настройки синхронизации %1.</translation>
    </message>
    <message>
        <source>No keyring holds the password of %1, and no password command is set up.</source>
        <translation>Ни в одной связке ключей нет пароля %1, и команда пароля не настроена.</translation>
    </message>
    <message>
        <source>The password command failed.</source>
        <translation>Команда пароля завершилась с ошибкой.</translation>
    </message>
    <message>
        <source>The address %1 holds a user name or password, which would be kept in the settings and shown: give the address without it, the user with --user, and the password through --password-command or the keyring.</source>
        <translation>Адрес %1 содержит имя пользователя или пароль, которые сохранились бы в настройках и показывались бы: укажите адрес без них, пользователя — через --user, а пароль — через --password-command или связку ключей.</translation>
    </message>
    <message>
        <source>%1 holds no certificate (PEM or DER).</source>
        <translation>%1 не содержит сертификата (PEM или DER).</translation>
    </message>
</context>
<context>
    <name>SyncPass</name>
    <message>
        <source>bring the entry %1 together with %2</source>
        <translation>объединить запись %1 с %2</translation>
    </message>
    <message>
        <source>The note %1 is of a day whose note is kept here under %2, a key of another language: it was not synced. Run &quot;tavorin-notes move-language&quot; to bring the two together.</source>
        <translation>Заметка %1 относится к дню, заметка которого хранится здесь под %2, ключом другого языка: она не синхронизирована. Выполните «tavorin-notes move-language», чтобы объединить их.</translation>
    </message>
    <message>
        <source>take %1 from the server</source>
        <translation>получить %1 с сервера</translation>
    </message>
    <message>
        <source>merge %1 with the server&apos;s</source>
        <translation>объединить %1 с версией сервера</translation>
    </message>
    <message>
        <source>upload %1</source>
        <translation>отправить %1 на сервер</translation>
    </message>
    <message>
        <source>upload %1 again, removed on the server</source>
        <translation>снова отправить %1 (удалено на сервере)</translation>
    </message>
    <message>
        <source>add another program&apos;s entry to %1</source>
        <translation>добавить к %1 запись другой программы</translation>
    </message>
    <message>
        <source>The entry %1 on the server is not a journal entry of the note of %2 that this program can read: it was left as it is, and so was the note here.</source>
        <translation>Запись %1 на сервере — не запись журнала заметки за %2, которую может прочитать эта программа: она оставлена как есть, как и заметка здесь.</translation>
    </message>
    <message>
        <source>The note of %1 did not go up: the server refused it (%2). It is tried again at the next pass.</source>
        <translation>Заметка за %1 не отправлена: сервер её отклонил (%2). Попытка повторится при следующем проходе.</translation>
    </message>
    <message>
        <source>The note of %1 did not go up: other writes to it kept overtaking this one. It is tried again at the next pass.</source>
        <translation>Заметка за %1 не отправлена: другие записи в неё раз за разом опережали эту. Попытка повторится при следующем проходе.</translation>
    </message>
</context>
<context>
    <name>SyncState</name>
    <message>
        <source>cannot open it</source>
        <translation>не открывается</translation>
    </message>
    <message>
        <source>The sync state %1: %2.</source>
        <translation>Состояние синхронизации %1: %2.</translation>
    </message>
    <message>
        <source>The sync state %1 is a symbolic link, which is not followed: remove it, and the next pass makes the state anew.</source>
        <translation>Состояние синхронизации %1 — символическая ссылка, по которой не переходят: удалите её, и следующий проход создаст состояние заново.</translation>
    </message>
</context>
</TS>
