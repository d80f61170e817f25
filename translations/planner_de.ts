<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ColorNames</name>
    <message>
        <source>black</source>
        <translation>schwarz</translation>
    </message>
    <message>
        <source>dark grey</source>
        <translation>dunkelgrau</translation>
    </message>
    <message>
        <source>grey</source>
        <translation>grau</translation>
    </message>
    <message>
        <source>light grey</source>
        <translation>hellgrau</translation>
    </message>
    <message>
        <source>white</source>
        <translation>weiß</translation>
    </message>
    <message>
        <source>dark red</source>
        <translation>dunkelrot</translation>
    </message>
    <message>
        <source>red</source>
        <translation>rot</translation>
    </message>
    <message>
        <source>pink</source>
        <translation>rosa</translation>
    </message>
    <message>
        <source>orange</source>
        <translation>orange</translation>
    </message>
    <message>
        <source>brown</source>
        <translation>braun</translation>
    </message>
    <message>
        <source>yellow</source>
        <translation>gelb</translation>
    </message>
    <message>
        <source>olive</source>
        <translation>oliv</translation>
    </message>
    <message>
        <source>light green</source>
        <translation>hellgrün</translation>
    </message>
    <message>
        <source>green</source>
        <translation>grün</translation>
    </message>
    <message>
        <source>dark green</source>
        <translation>dunkelgrün</translation>
    </message>
    <message>
        <source>teal</source>
        <translation>blaugrün</translation>
    </message>
    <message>
        <source>cyan</source>
        <translation>türkis</translation>
    </message>
    <message>
        <source>light blue</source>
        <translation>hellblau</translation>
    </message>
    <message>
        <source>blue</source>
        <translation>blau</translation>
    </message>
    <message>
        <source>navy</source>
        <translation>marineblau</translation>
    </message>
    <message>
        <source>purple</source>
        <translation>lila</translation>
    </message>
    <message>
        <source>magenta</source>
        <translation>magenta</translation>
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
        <translation>Das Steuerelement %1 hat keine Eigenschaft „%2“.</translation>
    </message>
</context>
<context>
    <name>Dispatch</name>
    <message>
        <source>%1 has no member with dispatch id %2.</source>
        <translation>%1 hat kein Element mit der Dispatch-ID %2.</translation>
    </message>
    <message>
        <source>%1: dispatch id %2 needs argument %3, which is missing.</source>
        <translation>%1: Die Dispatch-ID %2 braucht das Argument %3, das fehlt.</translation>
    </message>
    <message>
        <source>The value &quot;%1&quot; is not a 32-bit whole number.</source>
        <translation>Der Wert „%1“ ist keine ganze 32-Bit-Zahl.</translation>
    </message>
    <message>
        <source>An unknown failure occurred.</source>
        <translation>Ein unbekannter Fehler ist aufgetreten.</translation>
    </message>
</context>
<context>
    <name>Form1</name>
    <message>
        <source>Note text colour</source>
        <translation>Textfarbe der Notizen</translation>
    </message>
    <message>
        <source>Month 1</source>
        <translation>Monat 1</translation>
    </message>
    <message>
        <source>Month 2</source>
        <translation>Monat 2</translation>
    </message>
    <message>
        <source>Text Color</source>
        <translation>Textfarbe</translation>
    </message>
    <message>
        <source>Opens the colour dialog</source>
        <translation>Öffnet die Farbauswahl</translation>
    </message>
</context>
<context>
    <name>MonthPanel</name>
    <message>
        <source>Month, %1</source>
        <translation>Monat, %1</translation>
    </message>
    <message>
        <source>Year, %1</source>
        <translation>Jahr, %1</translation>
    </message>
    <message>
        <source>%1, today</source>
        <translation>%1, heute</translation>
    </message>
    <message>
        <source>Month:</source>
        <translation>Monat:</translation>
    </message>
    <message>
        <source>Year:</source>
        <translation>Jahr:</translation>
    </message>
</context>
<context>
    <name>OleColor</name>
    <message>
        <source>%1 names no system colour.</source>
        <translation>%1 bezeichnet keine Systemfarbe.</translation>
    </message>
    <message>
        <source>%1 is not a colour value: colours run from 0 to 16777215.</source>
        <translation>%1 ist kein Farbwert: Farben reichen von 0 bis 16777215.</translation>
    </message>
    <message>
        <source>The stored colour &quot;%1&quot; is not a whole number from -2147483648 to 2147483647.</source>
        <translation>Die gespeicherte Farbe „%1“ ist keine ganze Zahl von -2147483648 bis 2147483647.</translation>
    </message>
</context>
<context>
    <name>PartFile</name>
    <message>
        <source>Cannot create the copy %1: %2</source>
        <translation>Die Kopie %1 kann nicht angelegt werden: %2</translation>
    </message>
</context>
<context>
    <name>SafetyCopies</name>
    <message>
        <source>Cannot make the safety copy of the notes store %1.</source>
        <translation>Die Sicherheitskopie des Notizspeichers %1 kann nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>Cannot remove &quot;%1&quot; from</source>
        <translation>„%1“ kann nicht entfernt werden</translation>
    </message>
    <message>
        <source>Cannot save &quot;%1&quot; in</source>
        <translation>„%1“ kann nicht gespeichert werden</translation>
    </message>
    <message>
        <source>Cannot read &quot;%1&quot; from</source>
        <translation>„%1“ kann nicht gelesen werden</translation>
    </message>
    <message>
        <source>Cannot open</source>
        <translation>Öffnen nicht möglich</translation>
    </message>
    <message>
        <source>Cannot create the notes store %1: %2</source>
        <translation>Der Notizspeicher %1 kann nicht angelegt werden: %2</translation>
    </message>
    <message>
        <source>Cannot read</source>
        <translation>Lesen nicht möglich</translation>
    </message>
    <message>
        <source>The file %1 is not a notes store of this program: it has no table settings(application, section, key, value). The file was left unchanged.</source>
        <translation>Die Datei %1 ist kein Notizspeicher dieses Programms: Ihr fehlt die Tabelle settings(application, section, key, value). Die Datei wurde nicht verändert.</translation>
    </message>
    <message>
        <source>The notes store %1 is damaged: %2. The planner stores nothing more in it. Close the planner, then put back a safety copy with &quot;tavorin-notes restore&quot; or move the file away.</source>
        <translation>Der Notizspeicher %1 ist beschädigt: %2. Der Planer speichert nichts mehr darin. Schließen Sie den Planer und spielen Sie dann mit „tavorin-notes restore“ eine Sicherheitskopie zurück, oder verschieben Sie die Datei an einen anderen Ort.</translation>
    </message>
    <message>
        <source>Cannot use</source>
        <translation>Verwenden nicht möglich</translation>
    </message>
    <message>
        <source>%1 the notes store %2: %3.</source>
        <translation>%1 (Notizspeicher %2): %3.</translation>
    </message>
    <message>
        <source>Cannot save in</source>
        <translation>Speichern nicht möglich</translation>
    </message>
</context>
<context>
    <name>SkinFramework</name>
    <message>
        <source>Cannot load the skin file %1: %2</source>
        <translation>Die Skin-Datei %1 kann nicht geladen werden: %2</translation>
    </message>
    <message>
        <source>Cannot read the skin file %1: %2</source>
        <translation>Die Skin-Datei %1 kann nicht gelesen werden: %2</translation>
    </message>
    <message>
        <source>No skin is loaded, so none can be applied.</source>
        <translation>Es ist kein Skin geladen, daher kann keiner angewendet werden.</translation>
    </message>
    <message>
        <source>There is no window with the handle %1 to skin.</source>
        <translation>Es gibt kein Fenster mit dem Handle %1, das einen Skin erhalten könnte.</translation>
    </message>
</context>
<context>
    <name>StoreFile</name>
    <message>
        <source>There is no notes store at %1.</source>
        <translation>Unter %1 gibt es keinen Notizspeicher.</translation>
    </message>
    <message>
        <source>Cannot open</source>
        <translation>Öffnen nicht möglich</translation>
    </message>
    <message>
        <source>Cannot read</source>
        <translation>Lesen nicht möglich</translation>
    </message>
    <message>
        <source>The file %1 is not a notes store of Tavorin Planner: it has no table settings(application, section, key, value).</source>
        <translation>Die Datei %1 ist kein Notizspeicher von Tavorin Planner: Ihr fehlt die Tabelle settings(application, section, key, value).</translation>
    </message>
    <message>
        <source>Cannot check</source>
        <translation>Prüfen nicht möglich</translation>
    </message>
    <message>
        <source>The file %1 is damaged: %2</source>
        <translation>Die Datei %1 ist beschädigt: %2</translation>
    </message>
    <message>
        <source>Cannot copy the notes store %1 to %2: %3.</source>
        <translation>Der Notizspeicher %1 kann nicht nach %2 kopiert werden: %3.</translation>
    </message>
    <message>
        <source>Cannot use</source>
        <translation>Verwenden nicht möglich</translation>
    </message>
    <message>
        <source>%1 the notes store %2: %3.</source>
        <translation>%1 (Notizspeicher %2): %3.</translation>
    </message>
    <message>
        <source>Cannot write</source>
        <translation>Schreiben nicht möglich</translation>
    </message>
</context>
<context>
    <name>StoreFolder</name>
    <message>
        <source>belongs to another user</source>
        <translation>gehört einem anderen Benutzer</translation>
    </message>
    <message>
        <source>can be changed by other users (mode %1)</source>
        <translation>kann von anderen Benutzern geändert werden (Modus %1)</translation>
    </message>
    <message>
        <source>The %1 %2 %3, so the notes store %4 is not used. Make it yours and writable by you alone (chmod go-w), or move it away.</source>
        <translation>%1 %2 %3, daher wird der Notizspeicher %4 nicht verwendet. Machen Sie sich zum Eigentümer und geben Sie nur sich selbst Schreibrecht (chmod go-w), oder verschieben Sie %2 an einen anderen Ort.</translation>
    </message>
    <message>
        <source>folder</source>
        <translation>Der Ordner</translation>
    </message>
    <message>
        <source>file</source>
        <translation>Die Datei</translation>
    </message>
</context>
</TS>
