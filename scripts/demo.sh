#!/usr/bin/env bash
# The demo: the chronometer through a short flight, pictured step by step,
# and the sound gauge playing, looping and stopping, recorded as it sounds.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
. scripts/wine_env.sh
out=out/demo
rm -rf "$out"; mkdir -p "$out/chronometer" "$out/sound"

echo "== chronometer: examples/chronometer_flight.gh"
wine dist/gaugehost.exe script examples/chronometer_flight.gh
captions=(01 "unpowered: upper line only" 02 "power on: UT from the host" 03 "SEL: local time"
          04 "SEL: flight time 0:12" 05 "SEL, CTRL: elapsed time runs" 06 "UT set mode, hours 21"
          07 "set sent: 21:25" 08 "countdown ran out: flashing" 09 "panel lights on, at night")
args=()
for ((i = 0; i < ${#captions[@]}; i += 2)); do
  args+=(-label "${captions[i+1]}" "$(ls "$out"/chronometer/"${captions[i]}"_*.png)")
done
montage "${args[@]}" -tile 3x -geometry +8+8 -pointsize 14 -background '#e8e8e8' "$out/chronometer_contact_sheet.png"

echo "== sound: examples/sound_session.gh"
sound=$out/sound
python3 tools/make_wave.py chime 880 0.8 "$sound/Sound/demo/chime.wav"
python3 tools/make_wave.py tone 220 0.5 "$sound/Sound/demo/loop.wav"
mkdir -p "$sound/Gauges"
printf '%s\n' '[Config]' 'MaxSounds=2' 'LvarStop=demo_stop' '[Sounds]' 'Sound00=./Sound/demo/chime.wav' \
  'Sound01=./Sound/demo/loop.wav' '[LVars]' 'Lvar00=demo_chime' 'Lvar01=demo_loop' > "$sound/Gauges/demo_sounds.ini"
sed "s|MODULE|$top/dist/gauges/TLO_sound.gau|" examples/sound_session.gh > "$sound/session.gh"
scripts/with_sound_server.sh bash -c '
  cd "$1"
  parec --device=gauge_sink.monitor --file-format=wav --format=s16le --rate=44100 --channels=1 capture.wav &
  recorder=$!
  sleep 1  # the recorder is connected before anything plays
  wine "$2/dist/gaugehost.exe" script session.gh
  status=$?
  sleep 0.5; date +%s.%N > capture_end; kill $recorder; wait $recorder 2>/dev/null
  exit $status' demo "$top/$sound" "$top"
python3 tools/plot_capture.py "$sound/capture.wav" "$(cat "$sound/capture_end")" "$sound/sound_log.csv" "$sound/waveform.ppm"
convert "$sound/waveform.ppm" "$sound/waveform.png" && rm "$sound/waveform.ppm"

echo
echo "Demo outputs:"
echo "  chronometer steps:     $out/chronometer/*.png"
echo "  contact sheet:         $out/chronometer_contact_sheet.png"
echo "  sound recording:       $sound/capture.wav"
echo "  per-cycle variables:   $sound/sound_log.csv"
echo "  waveform and requests: $sound/waveform.png"
