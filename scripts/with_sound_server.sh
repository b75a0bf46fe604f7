#!/usr/bin/env bash
# Runs a command with a sound server of its own: PulseAudio with a null sink,
# which plays at the pace of a real card and whose monitor can be recorded.
set -u
top=$(cd "$(dirname "$0")/.." && pwd)
runtime="$top/out/pulse"
rm -rf "$runtime"; mkdir -p "$runtime"; chmod 700 "$runtime"
export XDG_RUNTIME_DIR="$runtime" PULSE_RUNTIME_PATH="$runtime/pulse"
export PULSE_SINK=gauge_sink
HOME="$runtime" pulseaudio --daemonize=no --exit-idle-time=-1 --disallow-exit -n \
  --load="module-native-protocol-unix auth-anonymous=1" \
  --load="module-null-sink sink_name=gauge_sink rate=44100" \
  --log-target=file:"$runtime/pulseaudio.log" >/dev/null 2>&1 &
server=$!
for _ in $(seq 50); do pactl info >/dev/null 2>&1 && break; sleep 0.1; done
pactl info >/dev/null 2>&1 || echo "with_sound_server: PulseAudio did not start; see $runtime/pulseaudio.log" >&2
"$@"
status=$?
kill "$server" 2>/dev/null; wait "$server" 2>/dev/null
exit $status
