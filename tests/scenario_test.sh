#!/usr/bin/env bash
# gaugehost's scripts: what passes, what fails and how errors are reported.
# Each case: a script, the exit status, and a text the output must hold.
set -u
gaugehost=$1 gauges=$2
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine_env.sh"
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
cd "$work"
clock="load $gauges/Orlix.gau
open
hostvar 769 1
hostvar 1 0
clock 15:37
cycles 1"
failures=0 count=0

check() {  # name, expected status, expected text, script
  local name=$1 status=$2 text=$3
  printf '%s\n' "$4" > case.gh
  output=$(wine "$gaugehost" script case.gh 2>&1); got=$?
  count=$((count + 1))
  if [ "$got" != "$status" ] || ! grep -qF -- "$text" <<<"$output"; then
    failures=$((failures + 1))
    printf 'FAIL %s: status %s (wanted %s), output:\n%s\n' "$name" "$got" "$status" "$output"
  else
    printf 'ok   %s: status %s, says: %s\n' "$name" "$got" "$(grep -F -- "$text" <<<"$output" | head -1)"
  fi
}

check "UT set scenario" 0 'text 4 "21:37"' "$clock
expect text 4 \"15:37\"
click 50 40 right
click area 4
cycles 1
expect text 4 \"25:37\"
click area 3
click area 4
click area 4
click area 3
click area 3
click area 3
cycles 1
expect key 66075 21
expect key 66076 37
print text 4"
check "hold CTRL in FT resets" 0 'text 5 "99:59"' "$clock
click area 3
click area 3
hostvar 557 200
cycles 6
expect text 5 \" 0:04\"
hold area 4 40
expect text 5 \"99:59\"
print text 5
cycles 21
expect text 5 \" 0:00\""
check "visibility" 0 "" "$clock
expect visible 4 yes
expect visible 5 no
expect visible 9 no"
check "sound variables" 0 "vorn_stop_sounds=0" "load $gauges/TLO_sound.gau param ./none.ini
open
cycles 1
set vorn_stop_sounds 3
cycles 1
expect var vorn_stop_sounds 0
print var vorn_stop_sounds"
check "failed text expectation" 1 'case.gh:7: expected text of element 4 "09:00", got "15:37"' "$clock
expect text 4 \"09:00\""
check "failed key expectation" 1 "case.gh:7: expected key event 66044 with 3, sent: none" "$clock
expect key 66044 3"
check "unknown command" 2 "case.gh:2: unknown command 'jump'" "# a comment
jump 3"
check "bad number" 2 "case.gh:7: 'ten' is not a number" "$clock
cycles ten"
check "missing module" 2 "case.gh:1: cannot load module ./no_such.gau" "load ./no_such.gau"
check "command before load" 2 "case.gh:1: no module is loaded" "cycles 3"
check "no such element" 2 "case.gh:7: the gauge has no element 12 (it has 9)" "$clock
expect text 12 \"x\""
check "click outside every area" 2 "case.gh:7: no mouse area takes that click at 2,2" "$clock
click 2 2"
check "render" 0 "rendered face.png" "$clock
font Quartz \"Liberation Sans Narrow\"
render face.png scale 2 night"
check "bad font line" 2 "case.gh:7: usage: font NAME FAMILY [FILE]" "$clock
font Quartz"
[ -s face.png ] || { echo "FAIL render: no face.png"; failures=$((failures + 1)); }

echo "$((count - failures)) passed, $failures failed"
[ $failures = 0 ]
