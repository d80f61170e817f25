# SPDX-License-Identifier: GPL-3.0-or-later
# bash completion for tavorin-notes                           -*- shell-script -*-
# Commands and options as "tavorin-notes --help" and "tavorin-notes COMMAND
# --help" list them; check-completion.sh holds the two lists to each other.

_tavorin_notes()
{
    local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD - 1]}
    local commands='list search export backup restore import move-language sync'
    local selection='--from --to --month -o --output'
    local common='-q --quiet -h --help'

    # The argument of an option.
    case $prev in
        --store | -o | --output | --certificate)
            compopt -o filenames 2>/dev/null
            mapfile -t COMPREPLY < <(compgen -f -- "$cur")
            return ;;
        --format)
            mapfile -t COMPREPLY < <(compgen -W 'markdown json ics' -- "$cur")
            return ;;
        --as)
            mapfile -t COMPREPLY < <(compgen -W 'events journal' -- "$cur")
            return ;;
        --from | --to | --month | --user | --password-command)
            return ;;
    esac

    # The command: the first word that is neither an option nor the store's
    # path; after it, the first word that follows the command (sync's setup).
    local i command='' after=''
    for ((i = 1; i < COMP_CWORD; i++)); do
        case ${COMP_WORDS[i]} in
            --store) ((i++)) ;;
            -*) ;;
            *) if [[ -z $command ]]; then command=${COMP_WORDS[i]}; elif [[ -z $after ]]; then after=${COMP_WORDS[i]}; fi ;;
        esac
    done

    local words='' files=''
    case $command in
        '') if [[ $cur == -* ]]; then words="--store $common --version"; else words=$commands; fi ;;
        list | search) words="$common $selection" ;;
        export) words="$common $selection --format" ;;
        backup) words=$common files=1 ;;
        restore) words="$common --force" files=1 ;;
        import) words="$common --dry-run" files=1 ;;
        move-language) words="$common --dry-run --force" ;;
        sync)
            if [[ $cur != -* ]]; then
                [[ -n $after ]] || words=setup
            elif [[ $after == setup ]]; then
                words="$common --user --password-command --as --certificate"
            else
                words="$common --dry-run --status --watch"
            fi ;;
    esac
    if [[ -n $files && $cur != -* ]]; then
        compopt -o filenames 2>/dev/null
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi
    [[ $cur == -* || -z $command || $command == sync ]] || return
    mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
}
complete -F _tavorin_notes tavorin-notes
