#!/usr/bin/env bash
# Installs what is missing, builds, prepares the runtime folder and starts the game.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/tools/setup.sh"
runtime="${BRIKKA_HOME:-${XDG_DATA_HOME:-$HOME/.local/share}/brikka}"
"$root/tools/prepare-runtime.sh" "$runtime" "$root/build/data"
cd "$runtime"
exec "$root/build/brikka"
