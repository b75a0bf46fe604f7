#!/usr/bin/env bash
# Installs what the build and the tests need from Debian's packages and
# prepares the project-local Wine prefix. Idempotent: a second run only checks.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

packages=(wine wine32 g++-mingw-w64-i686 cmake ninja-build googletest
          pulseaudio pulseaudio-utils libasound2-plugins:i386 python3
          libstb-dev fonts-dseg fonts-liberation imagemagick xvfb xdotool)

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "bootstrap: installing ${missing[*]}"
  dpkg --print-foreign-architectures | grep -qx i386 || as_root dpkg --add-architecture i386
  as_root apt-get update -q
  as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

# The posix thread model is the one GoogleTest builds with.
for tool in i686-w64-mingw32-g++-posix i686-w64-mingw32-gcc-posix wine; do
  command -v "$tool" >/dev/null || { echo "bootstrap: $tool not found after install" >&2; exit 1; }
done

. "$top/scripts/wine_env.sh"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "bootstrap: creating Wine prefix in $WINEPREFIX"
  mkdir -p "$(dirname "$WINEPREFIX")"
  wineboot -i >/dev/null 2>&1 || true
  wineserver -w || true
  [ -f "$WINEPREFIX/system.reg" ] || { echo "bootstrap: Wine prefix was not created" >&2; exit 1; }
fi
