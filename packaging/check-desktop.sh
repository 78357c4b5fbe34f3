#!/usr/bin/env bash
# Checks a desktop entry for Lumipad: the validator must find no error or warning, and the entry
# must start the program without arguments and claim no file types. Lumipad opens pictures only
# through its Load button, so an entry with a file argument or a MimeType key would put it in file
# managers' "Open with" lists, where it would start with an empty canvas.
# Usage: check-desktop.sh FILE.desktop
set -euo pipefail
file=$1
fail() { echo "check-desktop: $file: $*" >&2; exit 1; }

[ -f "$file" ] || fail "no such file"

report=$(desktop-file-validate "$file" 2>&1) || { echo "$report" >&2; fail "desktop-file-validate reports errors"; }
if grep -Eq 'error:|warning:' <<<"$report"; then
  echo "$report" >&2
  fail "desktop-file-validate reports problems"
fi
[ -z "$report" ] || echo "$report"

# The value of KEY in the [Desktop Entry] group (the only group the entry has).
value() { sed -n "s/^$1=//p" "$file"; }

[ "$(value Type)" = Application ] || fail "Type is '$(value Type)', not Application"
[ "$(value Exec)" = lumipad ] || fail "Exec is '$(value Exec)', not plain 'lumipad'"
[ "$(value Icon)" = lumipad ] || fail "Icon is '$(value Icon)', not the themed name 'lumipad'"
[ "$(value Terminal)" = false ] || fail "Terminal is '$(value Terminal)', not false"
! grep -q '^MimeType' "$file" || fail "has a MimeType key"
echo "check-desktop: $file: ok"
