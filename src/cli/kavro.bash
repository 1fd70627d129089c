# bash completion for kavro. The subcommands and their options are read from `kavro --help`
# and `kavro COMMAND --help`, so a new subcommand completes without changes here.

_kavro_words() {
  # $1: the help text; $2: the section ("Subcommands" or "Options").
  awk -v section="$2:" '
    $0 == section { on = 1; next }
    /^[^ ]/ { on = 0 }
    on && section == "Subcommands:" { print $1 }
    on && section == "Options:" && $1 ~ /^-/ {
      n = split($1, names, ",")
      for (j = 1; j <= n; j++) { sub(/[[{].*/, "", names[j]); print names[j] }
    }
  ' <<<"$1"
}

_kavro() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local kavro=${COMP_WORDS[0]} command="" i
  for ((i = 1; i < COMP_CWORD; i++)); do
    [[ ${COMP_WORDS[i]} != -* ]] && { command=${COMP_WORDS[i]}; break; }
  done
  COMPREPLY=()

  if [[ -z $command ]]; then
    local help
    help=$(LC_ALL=C "$kavro" --help 2>/dev/null)
    if [[ $cur == -* ]]; then
      COMPREPLY=($(compgen -W "$(_kavro_words "$help" Options)" -- "$cur"))
    else
      COMPREPLY=($(compgen -W "$(_kavro_words "$help" Subcommands)" -- "$cur"))
    fi
    return
  fi

  case $prev in
    --port)
      COMPREPLY=($(compgen -G "${cur:-/dev/tty}*" 2>/dev/null))
      return ;;
    --dir|--photos)
      COMPREPLY=($(compgen -d -- "$cur"))
      return ;;
    --zone)
      COMPREPLY=($(compgen -W "$(LC_ALL=C "$kavro" zones 2>/dev/null | awk '{print $1}')" -- "$cur"))
      return ;;
    --user|--seconds|--distance|--calibrate)
      return ;;
    --mode)
      COMPREPLY=($(compgen -W "overwrite stop" -- "$cur"))
      return ;;
    --basis)
      COMPREPLY=($(compgen -W "time distance" -- "$cur"))
      return ;;
  esac
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W "$(_kavro_words "$(LC_ALL=C "$kavro" "$command" --help 2>/dev/null)" Options)" -- "$cur"))
  else
    COMPREPLY=($(compgen -f -- "$cur"))
  fi
}

complete -o filenames -F _kavro kavro
