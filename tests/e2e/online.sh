#!/usr/bin/env bash
# Online versus in real windows: a game started with --join plays against a bot duel hosting on
# 127.0.0.1 (player 1's hard-drop key drops pieces on the left board while the bot's board on
# the right fills), and a second game that tries to join the same host is told it is busy.
# Usage: online.sh <brikka> <data dir> <source dir>
set -euo pipefail
source "$(dirname "$0")/common.bash"
lab="$(dirname "$brikka")/brikka-lab"
[ -x "$lab" ] || fail "brikka-lab is not built beside $brikka"
port=$((20000 + $$ % 10000))
startScreen 1920x1200

"$lab" duel --host "$port" --data "$data" --piece-ms 150 --timeout 60 >"$work/duel.out" 2>&1 &
duelPid=$!
trap 'kill $duelPid 2>/dev/null || true; cleanup' EXIT

# Starts a game joining the host in its own runtime folder; the pid in $1's variable.
join() {
  (cd "$work" && BRIKKA_HOME="$work/run-$1" BRIKKA_DATA="$data" SDL_AUDIODRIVER=dummy \
    exec "$brikka" --join "127.0.0.1:$port" >"$work/out-$1" 2>"$work/err-$1") &
}
# Pixels that differ between two shots inside a rectangle WxH+X+Y.
changed() {
  compare -metric AE -crop "$3" "$1" "$2" null: 2>&1 | cut -d' ' -f1 || true
}

join first
gamePid=$!
window=$(waitForWindow) || fail "the Brikka window did not appear"
sleep 3 # connected, greeted and dealt: well within this on one machine
import -window "$window" "$work/before.png"
xdotool windowfocus --sync "$window" 2>/dev/null || true
for _ in 1 2 3 4 5 6; do press Shift_R && sleep 0.2; done
import -window "$window" "$work/after.png"
cp "$work/after.png" "$shot"
left=$(changed "$work/before.png" "$work/after.png" 331x661+185+170)
right=$(changed "$work/before.png" "$work/after.png" 331x661+935+170)
[ "${left%.*}" -gt 2000 ] || fail "the local board did not change ($left pixels)"
[ "${right%.*}" -gt 2000 ] || fail "the opponent's board did not change ($right pixels)"

# A second player is refused: the status line grows to the long "Host busy..." text, wider than
# "Connecting…" ever is.
join second
secondPid=$!
for _ in $(seq 50); do
  sleep 0.2
  second=$(xdotool search --onlyvisible --name '^Brikka$' | grep -v "^$window$" | head -n 1 || true)
  [ -n "$second" ] && break
done
[ -n "$second" ] || fail "the second window did not appear"
busy=""
for _ in $(seq 40); do
  sleep 0.25
  import -window "$second" "$shot"
  # Yellow status text right of x 700 in its line: only the busy message reaches there.
  yellow=$(convert "$shot" -crop 800x50+700+495 -fx 'r>0.8&&g>0.8&&b<0.3' -format '%[fx:mean]' info:)
  if awk -v y="$yellow" 'BEGIN { exit !(y > 0.002) }'; then busy=yes && break; fi
done
[ -n "$busy" ] || fail "the second game was not told the host is busy"
quitWithEscape "$second" "$secondPid"
quitWithEscape "$window" "$gamePid"
gamePid=""
echo "PASS: a window played online against the duel host; a second one was told it is busy"
