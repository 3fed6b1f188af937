#!/usr/bin/env bash
# Resolves 1,000 site-D lines with velmira-resolve against nginx on 127.0.0.1 and compares the
# wall time with one curl process fetching the same 1,000 addresses, with keep-alive (all URLs
# in one curl command) and with a new connection for each (same command, "Connection: close").
# Also reports peak memory. Not part of CI; needs nginx (nginx-light) and curl.
#   bench/resolve/run.sh            builds into /tmp and cleans up afterwards
#   RUNS=21 LINES=1000 bench/resolve/run.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/velmira-resolve-bench.XXXXXX)
runs=${RUNS:-11}
lines=${LINES:-1000}
nginx_pid=
cleanup() {
  if [[ -n $nginx_pid ]] && kill -0 "$nginx_pid" 2>/dev/null; then
    kill "$nginx_pid"
    while kill -0 "$nginx_pid" 2>/dev/null; do sleep 0.05; done
  fi
  rm -rf "$work"
}
trap cleanup EXIT

echo "== building velmira-resolve (release) in $work/build"
cmake -S "$root" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVELMIRA_SUBSYSTEMS="text;web;resolve" -DVELMIRA_TESTS=OFF >/dev/null
ninja -C "$work/build" -j2 velmira-resolve >/dev/null
tool=$work/build/bin/velmira-resolve

echo "== site-D play page (UTF-8, about 32 KB) served by nginx"
mkdir -p "$work/www" "$work/tmp"
chmod 755 "$work" "$work/www"  # nginx workers may run as another user
python3 - "$work/www/play.html" <<'PY'
import sys
filler = "".join(f'<li><a href="/song/{i}.html">热门舞曲 第{i}首 慢摇串烧</a></li>\n' for i in range(600))
page = ('<!DOCTYPE html><html><head><meta charset="utf-8"><title>串烧</title></head><body>\n'
        '<ul class="hot">\n' + filler[:len(filler) // 2] + '</ul>\n'
        '<div class="tie"><h2>串烧 舞曲</h2></div>\n'
        '<script>var url = "http://media.d-dj.example/2017/d4004.mp3";</script>\n'
        '<ul class="more">\n' + filler[len(filler) // 2:] + '</ul></body></html>\n')
data = page.encode("utf-8")[:32768]
open(sys.argv[1], "wb").write(data)
PY
port=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
cat >"$work/nginx.conf" <<CONF
worker_processes 1;
pid $work/nginx.pid;
error_log $work/error.log;
events { worker_connections 256; }
http {
  access_log off;
  client_body_temp_path $work/tmp; proxy_temp_path $work/tmp; fastcgi_temp_path $work/tmp;
  uwsgi_temp_path $work/tmp; scgi_temp_path $work/tmp;
  keepalive_requests 100000;
  server {
    listen 127.0.0.1:$port;
    root $work/www;
    location / { default_type text/html; try_files /play.html =404; }
  }
}
CONF
nginx -c "$work/nginx.conf" -g 'daemon off;' &
nginx_pid=$!
for _ in $(seq 100); do
  curl -sf --noproxy '*' -o /dev/null "http://127.0.0.1:$port/" && break
  sleep 0.05
done

for i in $(seq "$lines"); do echo "http://127.0.0.1:$port/d-dj.example/song/$i.html"; done \
  >"$work/lines.txt"
mapfile -t urls <"$work/lines.txt"
printf 'D tag d-dj.example\n' >"$work/sites"

echo "== check: $lines entries, each with the page's title"
"$tool" <"$work/lines.txt" >"$work/entries.txt" 2>/dev/null
good=$(grep -c '^http://media.d-dj.example/2017/d4004.mp3|串烧 舞曲.mp3|d-dj.example$' \
  "$work/entries.txt" || true)
echo "   $good of $lines entries correct"; [[ $good == "$lines" ]] || head -2 "$work/entries.txt"
[[ $good == "$lines" ]]

run_ours() { "$tool" <"$work/lines.txt" >/dev/null 2>/dev/null; }
run_curl_keepalive() { curl -s --noproxy '*' "${urls[@]}" >/dev/null; }
run_curl_close() { curl -s --noproxy '*' -H 'Connection: close' "${urls[@]}" >/dev/null; }

# Wall time of one run, in nanoseconds.
clock_ns() {
  local t0 t1
  t0=$(date +%s%N)
  "$@"
  t1=$(date +%s%N)
  echo $(( t1 - t0 ))
}

# Median of a list of nanosecond times, in seconds.
median() { printf '%s\n' "$@" | sort -n | awk -v n="$#" 'NR == int((n + 1) / 2) { printf "%.4f", $1 / 1e9 }'; }

peak_kb() { /usr/bin/time -v "$@" 2>&1 >/dev/null | awk -F: '/Maximum resident/ { gsub(/ /, "", $2); print $2 }'; }

echo "== wall time, median of $runs interleaved runs, $lines addresses"
run_ours; run_curl_keepalive  # warm up caches
# Interleaved, so a change in the machine's load falls on all three alike.
t_ours=() t_keep=() t_close=()
for _ in $(seq "$runs"); do
  t_ours+=("$(clock_ns run_ours)")
  t_keep+=("$(clock_ns run_curl_keepalive)")
  t_close+=("$(clock_ns run_curl_close)")
done
ours=$(median "${t_ours[@]}")
keep=$(median "${t_keep[@]}")
close=$(median "${t_close[@]}")
printf '   velmira-resolve            %s s\n' "$ours"
printf '   curl, keep-alive           %s s\n' "$keep"
printf '   curl, new connection each  %s s\n' "$close"
awk -v a="$ours" -v b="$keep" -v c="$close" 'BEGIN {
  printf "   ratio vs curl keep-alive   %.2f (goal <= 1.10)\n", a / b
  printf "   ratio vs curl close        %.2f\n", a / c }'

# On a shared machine the wall time carries other people's load; CPU time less so.
cpu() { /usr/bin/time -f '%U %S' "$@" 2>&1 >/dev/null | tail -1 | awk '{ printf "%.3f", $1 + $2 }'; }
echo "== CPU time (user + system), one run each"
echo "   velmira-resolve    $(cpu sh -c "'$tool' <'$work/lines.txt' 2>/dev/null") s"
echo "   curl keep-alive    $(cpu curl -s --noproxy '*' "${urls[@]}") s"

echo "== peak memory (maximum resident set size)"
ours_kb=$(peak_kb "$tool" <"$work/lines.txt")
curl_kb=$(peak_kb curl -s --noproxy '*' "${urls[@]}")
echo "   velmira-resolve   $ours_kb KB"
echo "   curl keep-alive   $curl_kb KB"
