#!/usr/bin/env bash
# Fails when a folder includes a header of a folder above it. Linking catches a wrong-way call;
# this catches the rest (a constant, an inline function, a type).
# Usage: includes.sh SOURCE_DIR
set -u
root=${1:-$(dirname "$0")/../..}
# What each folder may include besides itself, bottom up.
declare -A allowed=(
  [math]=""
  [core]=""
  [audio]=""
  [records]=""
  [graphics]="core math"
  [physics]="graphics core math"
  [track]="physics graphics core math"
  [vehicle]="track physics graphics core math"
  [race]="vehicle track physics graphics core math records"
  [editor]="race vehicle track physics graphics core math records"
  [front]="editor race vehicle track physics graphics core math records"
  [app]="front editor race vehicle track physics graphics audio core math records"
)
bad=0
for folder in "${!allowed[@]}"; do
  for file in "$root/$folder"/*.h "$root/$folder"/*.cpp; do
    [ -e "$file" ] || continue
    while IFS= read -r included; do
      target=${included%%/*}
      [ "$target" = "$folder" ] && continue
      # Headers without a folder are system or library headers.
      [ -n "${allowed[$target]+set}" ] || continue
      case " ${allowed[$folder]} " in
        *" $target "*) ;;
        *) echo "${file#$root/} includes $included: $folder may not include $target"; bad=1 ;;
      esac
    done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*/\1/p' "$file")
  done
done
[ $bad -eq 0 ] && echo "every include points down the layers"
exit $bad
