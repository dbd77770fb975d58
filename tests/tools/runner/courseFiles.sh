#!/usr/bin/env bash
# courseFiles.sh RUNNER DATA SOURCE: the built-in courses raced from their course files give the
# very traces of --track, driven and idle; a damaged course file is refused naming file and line;
# a course --generate proves and saves races again from its file; a replay of it plays on that
# course alone: refused with another course, or with none when the player's folder lacks it.
set -u
runner=$1; data=$2; source=$3
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
export XDG_DATA_HOME=$work/home
fail=0
names=(clockwork doubleback)
for t in 0 1; do
  for idle in "" "--idle"; do
    "$runner" --data "$data" --track $t $idle --draw-every 0 --trace "$work/track.trace" >/dev/null || fail=1
    "$runner" --data "$data" --course "$source/data/courses/${names[$t]}.course" $idle --draw-every 0 \
      --trace "$work/file.trace" >/dev/null || fail=1
    if cmp -s "$work/track.trace" "$work/file.trace"; then echo "course $t ${idle:-driven}: same trace"
    else echo "course $t ${idle:-driven}: traces differ"; fail=1; fi
  done
done
sed 's/^checkpoint 6 6$/checkpoint 6 9/' "$source/data/courses/clockwork.course" >"$work/bad.course"
"$runner" --data "$data" --course "$work/bad.course" 2>"$work/err" >/dev/null
code=$?
if [ $code -eq 2 ] && grep -q "bad.course:12: checkpoint" "$work/err"; then echo "damaged file refused: $(cat "$work/err")"
else echo "damaged file: exit $code, $(cat "$work/err")"; fail=1; fi
"$runner" --data "$data" --generate 5 --save "$work/made.course" >"$work/made.txt" || fail=1
grep -E "^Length|^Computer|rejected" "$work/made.txt"
"$runner" --data "$data" --course "$work/made.course" --idle --draw-every 0 >/dev/null || { echo "saved course not raced"; fail=1; }
# A short race is enough: the replay names its course whatever became of the race.
"$runner" --data "$data" --course "$work/made.course" --max-seconds 2 --record "$work/made.replay" >/dev/null
grep -v -e '^waypoint' -e '^end' "$work/made.course" >"$work/edited.course"
grep '^waypoint' "$work/made.course" | sed '1d' >>"$work/edited.course"; echo end >>"$work/edited.course"
mkdir -p "$work/home/trailerdash/courses"
# Each case: what is given beside the replay, and the message the refusal must hold (none: it plays).
while IFS='|' read -r given expected; do
  "$runner" --data "$data" --replay "$work/made.replay" $given >/dev/null 2>"$work/err"
  code=$?
  if [ -z "$expected" ] && ! grep -q "cannot play" "$work/err"; then echo "replay ${given:-alone}: played"
  elif [ -n "$expected" ] && [ $code -ne 0 ] && grep -q "$expected" "$work/err"; then echo "replay ${given:-alone}: $(cat "$work/err")"
  else echo "replay ${given:-alone}: exit $code, $(cat "$work/err")"; fail=1; fi
  [ -z "$given" ] && cp "$work/made.course" "$work/home/trailerdash/courses/"
done <<CASES
--course $work/made.course|
--course $work/edited.course|is not that course
|is missing or has changed
|
CASES
exit $fail
