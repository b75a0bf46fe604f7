#!/usr/bin/env bash
# Sound really comes out: the gauge loops a 440 Hz tone through DirectSound
# into the tests' sound server, whose sink monitor is recorded; then a 0 stops
# the loop and the recording must go silent.
set -eu
gaugehost=$1 module=$2
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine_env.sh"
work=$(mktemp -d); trap 'kill $recorder 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"
python3 "$top/tools/make_wave.py" tone 440 0.5 Sound/vorn/vorn_xml_00.wav
printf '[Config]\nMaxSounds=1\n' > sounds.ini

parec --device="${PULSE_SINK:-gauge_sink}.monitor" --format=s16le --rate=44100 --channels=1 --raw > capture.raw &
recorder=$!
sleep 0.5
wine "$gaugehost" run "$module" --param ./sounds.ini --seconds 0.2 \
  --set vorn_xml_id_00=2 --seconds 2.5 --set vorn_xml_id_00=0 --seconds 1.5 --print vorn_xml_id_00
sleep 0.3
kill $recorder; wait $recorder 2>/dev/null || true
python3 "$top/tools/analyse_capture.py" capture.raw 44100 440
