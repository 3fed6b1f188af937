#!/usr/bin/env bash
# Watches a whole run on a machine without a desktop: starts the local sample
# site and the program on a virtual display, pastes the sample addresses into
# the batch window, starts the run and takes screenshots into OUT (default
# ./velmira-run): batch window, downloads in progress, completed list, and the
# restored list after a restart. Needs xvfb, xdotool and imagemagick.
#
#   tests/ui/watch-run.sh BUILD_DIR [OUT]
set -euo pipefail
bin=$(cd "$1/bin" && pwd)
out=$(mkdir -p "${2:-velmira-run}" && cd "${2:-velmira-run}" && pwd)
if [[ -z "${INSIDE_XVFB:-}" ]]; then
  INSIDE_XVFB=1 exec xvfb-run -a -s '-screen 0 1024x768x24' "$0" "$@"
fi
# A program folder of its own, so the build's store is left alone.
prog=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$prog"' EXIT
cp "$bin/velmira" "$bin/libp2p.so" "$prog/"
mkdir "$prog/data" && "$bin/velmira-mkstore" "$prog/data/Data.mdb" >/dev/null
export HOME="$prog/home"  # the default save folder is $HOME/Music/DJ舞曲/
"$bin/velmira-sample-site" --lines 3 --size-mb 2 --rate-kb 100 --seconds 300 >"$prog/lines" &
sleep 1
shot() { sleep "$1"; import -window root "$out/$2.png"; echo "$out/$2.png"; }

"$prog/velmira" &
program=$!
sleep 3
xdotool mousemove 778 81 click 1  # "下 载 舞 曲": shows the batch window
sleep 1
while read -r line; do xdotool type --delay 2 "$line"; xdotool key Return; done <"$prog/lines"
shot 0.5 1-batch-window
xdotool mousemove 619 269 click 1  # "开始下载"
shot 5 2-downloading
shot 25 3-finished-left-the-list
xdotool mousemove 142 396 click 1  # tab "完成下载"
shot 1 4-completed-list
kill "$program"; wait "$program" || true
"$prog/velmira" &
shot 3 5-restarted
xdotool mousemove 142 396 click 1  # the completed list came back from the store
shot 1 6-restarted-completed
