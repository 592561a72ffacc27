#!/usr/bin/env bash
# orxtool's manual page names exactly the commands orxtool --help lists, and
# both pages render without a warning from man.
# usage: manual-commands.sh ORXTOOL ORXTOOL_PAGE ORXVIEWER_PAGE
set -euo pipefail
tool=$1 page=$2 viewer_page=$3

# --help: the indented lines of the block after the usage line start with a
# command's name (option lines start with a dash).
help_commands=$("$tool" --help |
  awk '/^$/ { block++; next } block == 1 && /^  [a-z]/ { print $1 }' | sort)
# The page: the tag line after each .TP under COMMANDS starts with the name.
page_commands=$(awk '/^\.SH / { inside = ($2 == "COMMANDS") }
                     inside && previous == ".TP" { print }
                     { previous = $0 }' "$page" |
  sed -E 's/\\f[BIRP]//g; s/^\.[A-Z]+ +//; s/"//g; s/\\-/-/g' | awk '{ print $1 }' | sort)

status=0
if [ -z "$help_commands" ]; then
  echo "no command found in orxtool --help"; status=1
fi
if [ "$help_commands" != "$page_commands" ]; then
  echo "orxtool --help and $page differ in their commands (< help, > page):"
  diff <(echo "$help_commands") <(echo "$page_commands") || true
  status=1
fi
for p in "$page" "$viewer_page"; do
  warnings=$(MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$p" 2>&1 >/dev/null)
  if [ -n "$warnings" ]; then
    echo "$p: $warnings"; status=1
  fi
done
[ $status -eq 0 ] && echo "commands in both: $(echo $help_commands)"
exit $status
