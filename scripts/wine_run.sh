#!/usr/bin/env bash
# Runs a Windows program under the project's Wine prefix (the CTest emulator).
top=$(cd "$(dirname "$0")/.." && pwd)
. "$top/scripts/wine_env.sh"
exec wine "$@"
