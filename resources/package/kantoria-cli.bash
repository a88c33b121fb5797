# bash completion for kantoria-cli: the command first, then each command's options, and
# file names everywhere else (catalogues, folders, CSV files).
_kantoria_cli() {
  local cur=${COMP_WORDS[COMP_CWORD]} prev=${COMP_WORDS[COMP_CWORD-1]}
  local commands="dump copy search tree list find index relocate missing export import types --help --version"
  if [ "$COMP_CWORD" -eq 1 ]; then
    mapfile -t COMPREPLY < <(compgen -W "$commands" -- "$cur")
    return
  fi
  case $prev in
    --wait | --ext | --holder) return ;;
  esac
  local options=
  case ${COMP_WORDS[1]} in
    copy | import | index) options="--wait" ;;
    find) options="--content" ;;
    search) options="--ext --no-subfolders --wait" ;;
    relocate) options="--dry-run --wait" ;;
    tree) options="--folders" ;;
    list) options="--holder" ;;
    types | --help | --version) return ;;
  esac
  if [[ $cur == -* ]]; then
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
  elif [ "${COMP_WORDS[1]}" = search ] && [ "$COMP_CWORD" -eq 3 ]; then
    mapfile -t COMPREPLY < <(compgen -d -- "$cur")
  else
    mapfile -t COMPREPLY < <(compgen -f -- "$cur")
  fi
} && complete -o filenames -F _kantoria_cli kantoria-cli
