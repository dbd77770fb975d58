#!/usr/bin/env bash
# What software centres and `man` read of the game, installed into a scratch prefix:
#   metadata.sh SOURCE_DIR BUILD_DIR
# the AppStream metainfo validates, and with the desktop entry beside it (the pair a software
# centre sees); the manual page renders without a warning and names every key of the README's
# key table and the game's exit codes. Exit 0 passed, 1 failed, 77 skipped.
set -u
source=$1
build=$2
for tool in appstreamcli man; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

cmake --install "$build" --prefix "$scratch/prefix" >/dev/null || fail "cmake --install"
share=$scratch/prefix/share
metainfo=$(ls "$share"/metainfo/*.metainfo.xml 2>/dev/null)
[ "$(echo "$metainfo" | wc -w)" -eq 1 ] || fail "not one metainfo file in $share/metainfo: $metainfo"
id=$(basename "$metainfo" .metainfo.xml)
echo "component $id"
[ -f "$share/applications/$id.desktop" ] || fail "no desktop entry $id.desktop beside the metainfo"
grep -q "<id>$id</id>" "$metainfo" || fail "the metainfo's <id> is not $id"
grep -q "<launchable type=\"desktop-id\">$id.desktop</launchable>" "$metainfo" || fail "the launchable is not $id.desktop"
# Offline: the screenshots' placeholder addresses are not fetched.
appstreamcli validate --no-net --pedantic "$metainfo" || fail "the metainfo does not validate"
appstreamcli validate-tree --no-net "$scratch/prefix" || fail "the installed tree does not validate"
for shot in $(sed -n 's|.*<image>.*/docs/\([^<]*\)</image>.*|\1|p' "$metainfo"); do
    [ -f "$source/docs/$shot" ] || fail "the screenshot $shot is not in docs/"
done

page=$share/man/man6/trailerdash.6.gz
[ -f "$page" ] || fail "no manual page at $page"
rendered=$scratch/page.txt
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$page" >"$rendered" 2>"$scratch/warnings" || fail "man -l failed"
[ -s "$scratch/warnings" ] && { cat "$scratch/warnings"; fail "the manual page renders with warnings"; }
for section in NAME SYNOPSIS OPTIONS KEYS GAMEPAD FILES ENVIRONMENT "EXIT STATUS"; do
    grep -q "^$section" "$rendered" || fail "no $section section"
done
grep -q -- "--replay" "$rendered" || fail "the --replay option is not described"
# The keys of the README's table: the capitalised words of each row's first cell.
keys=$(awk -F'|' '/^\| Key \| Does \|/ { t = 1; next } t && !/^\|/ { exit }
    t && !/^\|---/ { n = split($2, w, /[ ,\/]+/); for (i = 1; i <= n; i++) if (w[i] ~ /^[A-Z]/) print w[i] }' \
    "$source/README.md")
[ "$(echo "$keys" | wc -w)" -ge 15 ] || fail "the README's key table was not found"
keysSection=$(sed -n '/^KEYS/,/^GAMEPAD/p' "$rendered")
for key in $keys; do
    grep -qw -- "$key" <<<"$keysSection" || fail "the manual page's KEYS do not name $key"
done
echo "$(echo "$keys" | wc -w) keys of the README named; $(wc -l <"$rendered") lines rendered without a warning"
echo PASS
