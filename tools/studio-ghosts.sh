#!/usr/bin/env bash
# studio-ghosts.sh RUNNER OUTDIR: the studio's time attack runs, one replay per built-in and
# shipped course, driven by the runner's autopilot alone on the course and proved by --verify:
#   OUTDIR/courseN.replay for the built-in courses, OUTDIR/HASH.replay for each course file.
# The shipped copies of the built-in courses are left out: they race as the built-in ones.
# Run from the build folder's target `studio-ghosts`; the data folder is the runner's own.
set -euo pipefail
runner=$(realpath "$1"); out=$(realpath -m "$2"); src=$(dirname "$(realpath "$0")")/../data/courses
mkdir -p "$out"
tmp=$(mktemp -d); trap 'rm -rf "$tmp"' EXIT
prove() {  # the replay must drive to itself again, or it is not shipped
  "$runner" --verify "$1" > "$tmp/verdict" || { cat "$tmp/verdict" >&2; echo "studio-ghosts: $1 not verified" >&2; exit 1; }
}
for n in 0 1; do
  "$runner" --time-attack --track $n --draw-every 0 --record "$tmp/run.replay" > /dev/null
  prove "$tmp/run.replay"
  mv "$tmp/run.replay" "$out/course$n.replay"
  echo "course $n: $(grep '^Race time' "$tmp/verdict")"
done
for f in "$src"/*.course; do
  case "$(basename "$f")" in clockwork.course|doubleback.course) continue ;; esac
  "$runner" --time-attack --course "$f" --draw-every 0 --record "$tmp/run.replay" > /dev/null
  "$runner" --verify "$tmp/run.replay" --course "$f" > "$tmp/verdict" || { cat "$tmp/verdict" >&2; exit 1; }
  hash=$(sed -n 's/^Course hash //p' "$tmp/verdict")
  mv "$tmp/run.replay" "$out/$hash.replay"
  echo "$(basename "$f"): $(grep '^Race time' "$tmp/verdict")"
done
