# SPDX-License-Identifier: GPL-3.0-or-later
# fish completion for tavorin-notes. Commands and options as "tavorin-notes
# --help" and "tavorin-notes COMMAND --help" list them; check-completion.sh
# holds the two lists to each other.

set -l commands list search export backup restore import move-language sync
set -l none "not __fish_seen_subcommand_from $commands"

complete -c tavorin-notes -f
complete -c tavorin-notes -n $none -a list -d 'List every note with its date, month, year and day'
complete -c tavorin-notes -n $none -a search -d 'List the notes that contain a text, ignoring case'
complete -c tavorin-notes -n $none -a export -d 'Write every note as Markdown, JSON or iCalendar'
complete -c tavorin-notes -n $none -a backup -d 'Copy the store to a file, also while the planner runs'
complete -c tavorin-notes -n $none -a restore -d 'Replace the store with a backup or a safety copy'
complete -c tavorin-notes -n $none -a import -d 'Bring in the notes of an iCalendar file or a JSON export'
complete -c tavorin-notes -n $none -a move-language -d "Move the notes to the keys of the desktop's language"
complete -c tavorin-notes -n $none -a sync -d 'Sync the notes with a CalDAV server, both ways'

complete -c tavorin-notes -n $none -l store -r -F -d 'Use the store at this path'
complete -c tavorin-notes -n $none -l version -d 'Show the version'
complete -c tavorin-notes -s q -l quiet -d 'Show only errors'
complete -c tavorin-notes -s h -l help -d 'Show the help'

set -l selecting '__fish_seen_subcommand_from list search export'
complete -c tavorin-notes -n $selecting -l from -x -d 'Only notes of this date (YYYY-MM-DD) or later'
complete -c tavorin-notes -n $selecting -l to -x -d 'Only notes of this date or earlier'
complete -c tavorin-notes -n $selecting -l month -x -d 'Only notes of this month (YYYY-MM)'
complete -c tavorin-notes -n $selecting -s o -l output -r -F -d 'Write to a file instead of standard output'
complete -c tavorin-notes -n '__fish_seen_subcommand_from export' -l format -x -a 'markdown json ics' -d 'The format'

complete -c tavorin-notes -n '__fish_seen_subcommand_from backup restore import' -F
complete -c tavorin-notes -n '__fish_seen_subcommand_from restore' -l force -d 'Restore also into a store in use or over more notes'
complete -c tavorin-notes -n '__fish_seen_subcommand_from import' -l dry-run -d 'Only list what would change'
complete -c tavorin-notes -n '__fish_seen_subcommand_from move-language' -l dry-run -d 'Only list the moves'
complete -c tavorin-notes -n '__fish_seen_subcommand_from move-language' -l force -d 'Move also while a planner has the store open'

set -l syncing '__fish_seen_subcommand_from sync; and not __fish_seen_subcommand_from setup'
complete -c tavorin-notes -n $syncing -a setup -d 'Use a calendar on a CalDAV server'
complete -c tavorin-notes -n $syncing -l dry-run -d 'Say what a pass would change'
complete -c tavorin-notes -n $syncing -l status -d 'Show the last pass and the notes waiting'
complete -c tavorin-notes -n $syncing -l watch -d 'Keep syncing as the notes change, until stopped'
complete -c tavorin-notes -n '__fish_seen_subcommand_from setup' -l user -x -d 'The user name'
complete -c tavorin-notes -n '__fish_seen_subcommand_from setup' -l password-command -x -a '(__fish_complete_command)' -d 'A command that prints the password'
complete -c tavorin-notes -n '__fish_seen_subcommand_from setup' -l as -x -a 'events journal' -d 'Notes as all-day events or journal entries'
complete -c tavorin-notes -n '__fish_seen_subcommand_from setup' -l certificate -r -F -d 'Trust the certificate in FILE'
