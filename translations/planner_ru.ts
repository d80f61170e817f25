<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ColorNames</name>
    <message>
        <source>black</source>
        <translation>чёрный</translation>
    </message>
    <message>
        <source>dark grey</source>
        <translation>тёмно-серый</translation>
    </message>
    <message>
        <source>grey</source>
        <translation>серый</translation>
    </message>
    <message>
        <source>light grey</source>
        <translation>светло-серый</translation>
    </message>
    <message>
        <source>white</source>
        <translation>белый</translation>
    </message>
    <message>
        <source>dark red</source>
        <translation>тёмно-красный</translation>
    </message>
    <message>
        <source>red</source>
        <translation>красный</translation>
    </message>
    <message>
        <source>pink</source>
        <translation>розовый</translation>
    </message>
    <message>
        <source>orange</source>
        <translation>оранжевый</translation>
    </message>
    <message>
        <source>brown</source>
        <translation>коричневый</translation>
    </message>
    <message>
        <source>yellow</source>
        <translation>жёлтый</translation>
    </message>
    <message>
        <source>olive</source>
        <translation>оливковый</translation>
    </message>
    <message>
        <source>light green</source>
        <translation>светло-зелёный</translation>
    </message>
    <message>
        <source>green</source>
        <translation>зелёный</translation>
    </message>
    <message>
        <source>dark green</source>
        <translation>тёмно-зелёный</translation>
    </message>
    <message>
        <source>teal</source>
        <translation>сине-зелёный</translation>
    </message>
    <message>
        <source>cyan</source>
        <translation>бирюзовый</translation>
    </message>
    <message>
        <source>light blue</source>
        <translation>голубой</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>синий</translation>
    </message>
    <message>
        <source>navy</source>
        <translation>тёмно-синий</translation>
    </message>
    <message>
        <source>purple</source>
        <translation>фиолетовый</translation>
    </message>
    <message>
        <source>magenta</source>
        <translation>пурпурный</translation>
    </message>
    <message>
        <source>%1, %2</source>
        <translation>%1, %2</translation>
    </message>
</context>
<context>
    <name>ControlProperties</name>
    <message>
        <source>The control %1 has no property &quot;%2&quot;.</source>
        <translation>У элемента управления %1 нет свойства «%2».</translation>
    </message>
</context>
<context>
    <name>Dispatch</name>
    <message>
        <source>%1 has no member with dispatch id %2.</source>
        <translation>У %1 нет члена с идентификатором вызова %2.</translation>
    </message>
    <message>
        <source>%1: dispatch id %2 needs argument %3, which is missing.</source>
        <translation>%1: идентификатору вызова %2 нужен аргумент %3, а его нет.</translation>
    </message>
    <message>
        <source>The value &quot;%1&quot; is not a 32-bit whole number.</source>
        <translation>Значение «%1» не является 32-битным целым числом.</translation>
    </message>
    <message>
        <source>An unknown failure occurred.</source>
        <translation>Произошёл неизвестный сбой.</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Note text colour</source>
        <translation>Цвет текста заметок</translation>
    </message>
    <message>
        <source>Month 1</source>
        <translation>Месяц 1</translation>
    </message>
    <message>
        <source>Month 2</source>
        <translation>Месяц 2</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Цвет текста</translation>
    </message>
    <message>
        <source>Opens the colour dialog</source>
        <translation>Открывает выбор цвета</translation>
    </message>
</context>
<context>
    <name>MonthPanel</name>
    <message>
        <source>Month, %1</source>
        <translation>Месяц, %1</translation>
    </message>
    <message>
        <source>Year, %1</source>
        <translation>Год, %1</translation>
    </message>
    <message>
        <source>%1, today</source>
        <translation>%1, сегодня</translation>
    </message>
    <message>
        <source>Month:</source>
        <translation>Месяц:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Год:</translation>
    </message>
</context>
<context>
    <name>OleColor</name>
    <message>
        <source>%1 names no system colour.</source>
        <translation>%1 не обозначает системный цвет.</translation>
    </message>
    <message>
        <source>%1 is not a colour value: colours run from 0 to 16777215.</source>
        <translation>%1 не является значением цвета: цвета лежат в пределах от 0 до 16777215.</translation>
    </message>
    <message>
        <source>The stored colour &quot;%1&quot; is not a whole number from -2147483648 to 2147483647.</source>
        <translation>Сохранённый цвет «%1» не является целым числом от -2147483648 до 2147483647.</translation>
    </message>
</context>
<context>
    <name>PartFile</name>
    <message>
        <source>Cannot create the copy %1: %2</source>
        <translation>Не удаётся создать копию %1: %2</translation>
    </message>
</context>
<context>
    <name>SafetyCopies</name>
    <message>
        <source>Cannot make the safety copy of the notes store %1.</source>
        <translation>Не удаётся сделать страховую копию хранилища заметок %1.</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Cannot remove &quot;%1&quot; from</source>
        <translation>Не удаётся удалить «%1»</translation>
    </message>
    <message>
        <source>Cannot save &quot;%1&quot; in</source>
        <translation>Не удаётся сохранить «%1»</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot; from</source>
        <translation>Не удаётся прочитать «%1»</translation>
    </message>
    <message>
        <source>Cannot open</source>
        <translation>Не удаётся открыть</translation>
    </message>
    <message>
        <source>Cannot create the notes store %1: %2</source>
        <translation>Не удаётся создать хранилище заметок %1: %2</translation>
    </message>
    <message>
        <source>Cannot read</source>
        <translation>Не удаётся прочитать</translation>
    </message>
    <message>
        <source>The file %1 is not a notes store of this program: it has no table settings(application, section, key, value). The file was left unchanged.</source>
        <translation>Файл %1 не является хранилищем заметок этой программы: в нём нет таблицы settings(application, section, key, value). Файл оставлен без изменений.</translation>
    </message>
    <message>
        <source>The notes store %1 is damaged: %2. The planner stores nothing more in it. Close the planner, then put back a safety copy with &quot;tavorin-notes restore&quot; or move the file away.</source>
        <translation>Хранилище заметок %1 повреждено: %2. Планировщик больше ничего в него не записывает. Закройте планировщик, затем верните страховую копию командой «tavorin-notes restore» или переместите файл в другое место.</translation>
    </message>
    <message>
        <source>Cannot use</source>
        <translation>Не удаётся использовать</translation>
    </message>
    <message>
        <source>%1 the notes store %2: %3.</source>
        <translation>%1 (хранилище заметок %2): %3.</translation>
    </message>
    <message>
        <source>Cannot save in</source>
        <translation>Не удаётся сохранить</translation>
    </message>
</context>
<context>
    <name>SkinFramework</name>
    <message>
        <source>Cannot load the skin file %1: %2</source>
        <translation>Не удаётся загрузить файл оформления %1: %2</translation>
    </message>
    <message>
        <source>Cannot read the skin file %1: %2</source>
        <translation>Не удаётся прочитать файл оформления %1: %2</translation>
    </message>
    <message>
        <source>No skin is loaded, so none can be applied.</source>
        <translation>Оформление не загружено, поэтому применять нечего.</translation>
    </message>
    <message>
        <source>There is no window with the handle %1 to skin.</source>
        <translation>Нет окна с дескриптором %1, к которому можно применить оформление.</translation>
    </message>
</context>
<context>
    <name>StoreFile</name>
    <message>
        <source>There is no notes store at %1.</source>
        <translation>По пути %1 нет хранилища заметок.</translation>
    </message>
    <message>
        <source>Cannot open</source>
        <translation>Не удаётся открыть</translation>
    </message>
    <message>
        <source>Cannot read</source>
        <translation>Не удаётся прочитать</translation>
    </message>
    <message>
        <source>The file %1 is not a notes store of Tavorin Planner: it has no table settings(application, section, key, value).</source>
        <translation>Файл %1 не является хранилищем заметок Tavorin Planner: в нём нет таблицы settings(application, section, key, value).</translation>
    </message>
    <message>
        <source>Cannot check</source>
        <translation>Не удаётся проверить</translation>
    </message>
    <message>
        <source>The file %1 is damaged: %2</source>
        <translation>Файл %1 повреждён: %2</translation>
    </message>
    <message>
        <source>Cannot copy the notes store %1 to %2: %3.</source>
        <translation>Не удаётся скопировать хранилище заметок %1 в %2: %3.</translation>
    </message>
    <message>
        <source>Cannot use</source>
        <translation>Не удаётся использовать</translation>
    </message>
    <message>
        <source>%1 the notes store %2: %3.</source>
        <translation>%1 (хранилище заметок %2): %3.</translation>
    </message>
    <message>
        <source>Cannot write</source>
        <translation>Не удаётся записать</translation>
    </message>
</context>
<context>
    <name>StoreFolder</name>
    <message>
        <source>belongs to another user</source>
        <translation>принадлежит другому пользователю</translation>
    </message>
    <message>
        <source>can be changed by other users (mode %1)</source>
        <translation>может изменяться другими пользователями (режим %1)</translation>
    </message>
    <message>
        <source>The %1 %2 %3, so the notes store %4 is not used. Make it yours and writable by you alone (chmod go-w), or move it away.</source>
        <translation>%1 %2 %3, поэтому хранилище заметок %4 не используется. Сделайте владельцем себя и оставьте право записи только себе (chmod go-w) или переместите %2 в другое место.</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>Папка</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Файл</translation>
    </message>
</context>
</TS>
