#!/usr/bin/env bash
# Installs what is missing, builds the game and its data (not the tests or tools) and starts it.
# The game prepares its own runtime folder.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
"$root/tools/setup.sh" brikka brikka_data
exec "$root/build/brikka"
