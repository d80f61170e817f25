# SPDX-License-Identifier: GPL-3.0-or-later
# The sources of each layer of the planner, relative to the root of the tree:
# the planner's build and the fuzz build both take them from here.

set(PLANNER_BASE_SOURCES
  platform/Failure.h
  platform/BgrColor.h
  platform/Today.h platform/Today.cpp
  platform/DateNames.h platform/DateNames.cpp
  platform/Numbers.h platform/Numbers.cpp
  platform/ApplicationInfo.h platform/ApplicationInfo.cpp
  platform/Translations.h platform/Translations.cpp
)

set(PLANNER_STORE_SOURCES
  settings/Sqlite.h settings/Sqlite.cpp
  settings/StoreDamaged.h
  settings/SettingsStore.h settings/SettingsStore.cpp
  settings/StoreWatch.h settings/StoreWatch.cpp
  settings/Settings.h settings/Settings.cpp
  settings/StoreFile.h settings/StoreFile.cpp
  settings/SafetyCopies.h settings/SafetyCopies.cpp
  settings/PartFile.h settings/PartFile.cpp
  settings/StoreFolder.h settings/StoreFolder.cpp
  settings/StoreUseLock.h settings/StoreUseLock.cpp
  settings/StoreBackup.h settings/StoreBackup.cpp
  settings/StoreRestore.h settings/StoreRestore.cpp
)

# The note model: keys, the note, the catalogue, the writers' store and the merge.
set(PLANNER_NOTES_SOURCES
  notes/NoteKey.h notes/NoteKey.cpp
  notes/DayKeys.h notes/DayKeys.cpp
  notes/LanguageMove.h notes/LanguageMove.cpp
  notes/Note.h notes/Note.cpp
  notes/NoteCatalogue.h notes/NoteCatalogue.cpp
  notes/NoteStore.h notes/NoteStore.cpp
  notes/TextMerge.h notes/TextMerge.cpp
)

# The notes' file formats and their iCalendar form (libical).
set(PLANNER_NOTE_FORMATS_SOURCES
  notes/ICalendarShape.h notes/ICalendarShape.cpp
  notes/NoteJournal.h notes/NoteJournal.cpp
  notes/ExportFormat.h notes/ExportFormat.cpp
  notes/MarkdownFormat.h notes/MarkdownFormat.cpp
  notes/JsonFormat.h notes/JsonFormat.cpp
  notes/ICalendarFormat.h notes/ICalendarFormat.cpp
  notes/NoteImport.h notes/NoteImport.cpp
)

# Sync's rules over a collection, with no network and no XML.
set(PLANNER_SYNC_SOURCES
  sync/Collection.h
  sync/MemoryCollection.h sync/MemoryCollection.cpp
  sync/SyncState.h sync/SyncState.cpp
  sync/SyncPass.h sync/SyncPass.cpp sync/SyncPassDays.cpp
)

# The collection on a CalDAV server.
set(PLANNER_CALDAV_SOURCES
  sync/caldav/HttpExchange.h sync/caldav/HttpExchange.cpp
  sync/caldav/Multistatus.h sync/caldav/Multistatus.cpp
  sync/caldav/ServerMessage.h sync/caldav/ServerMessage.cpp
  sync/caldav/CalendarDiscovery.h sync/caldav/CalendarDiscovery.cpp
  sync/caldav/CalDavCollection.h sync/caldav/CalDavCollection.cpp
)

set(PLANNER_PLATFORM_SOURCES
  platform/Dispatch.h platform/Dispatch.cpp
  platform/SystemColors.h platform/SystemColors.cpp
  platform/OleColor.h platform/OleColor.cpp
  platform/MessageBox.h platform/MessageBox.cpp
  platform/ControlProperties.h platform/ControlProperties.cpp
  platform/FocusNotifier.h platform/FocusNotifier.cpp
  platform/SkinFramework.h platform/SkinFramework.cpp
  platform/CommonDialog.h platform/CommonDialog.cpp
  platform/UnhandledFailures.h platform/UnhandledFailures.cpp
)

set(PLANNER_CALENDAR_SOURCES
  calendar/WindowDesign.h calendar/WindowDesign.cpp
  calendar/ErrorReport.h calendar/ErrorReport.cpp
  calendar/ColorNames.h calendar/ColorNames.cpp
  calendar/Controls.h calendar/Controls.cpp
  calendar/AccessibleNoteBox.h calendar/AccessibleNoteBox.cpp
  calendar/AccessibleSwatch.h calendar/AccessibleSwatch.cpp
  calendar/AccessibleControls.h calendar/AccessibleControls.cpp
  calendar/MonthPanel.h calendar/MonthPanel.cpp
  calendar/Form1.h calendar/Form1.cpp
)

set(PLANNER_CORE_SOURCES
  app/ApplicationIcon.h app/ApplicationIcon.cpp
  app/StartupProcedures.h app/StartupProcedures.cpp
  app/FormLoad.cpp
  app/PlannerApplication.h app/PlannerApplication.cpp
  app/PlannerStart.h app/PlannerStart.cpp
)
