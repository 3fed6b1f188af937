#!/bin/bash
# Runs the download engine (through p2pget and libp2p.so) beside curl and aria2c on the same
# downloads from a local nginx, and prints every figure side by side.
#
#   bench/p2p/run.sh BUILD_DIR      (BUILD_DIR configured with -DVELMIRA_BENCH=ON, built)
#
# Served files live in /tmp, downloads go to a tmpfs (/dev/shm) so the disk of a shared
# machine does not decide the result; both are removed at the end. Takes about 6 minutes.
set -euo pipefail

BUILD=${1:?usage: run.sh BUILD_DIR}
P2PGET=$(realpath "$BUILD/bin/p2pget")
RUNS=${RUNS:-3}
WORK=$(mktemp -d /tmp/p2pbench.XXXXXX)
OUT=$(mktemp -d /dev/shm/p2pbench-out.XXXXXX)
NGINX_PID=""

cleanup() {
  if [ -n "$NGINX_PID" ]; then kill "$NGINX_PID" 2>/dev/null || true; fi
  rm -rf "$WORK" "$OUT"
}
trap cleanup EXIT

PORT=$(python3 -c 'import socket; s=socket.socket(); s.bind(("127.0.0.1",0)); print(s.getsockname()[1])')
BASE="http://127.0.0.1:$PORT"
mkdir -p "$WORK/www/many" "$WORK/logs"
chmod 755 "$WORK"  # nginx workers run as another user

echo "generating files in $WORK ..."
head -c 1073741824 /dev/urandom > "$WORK/www/big.bin"
head -c 5242880 /dev/urandom > "$WORK/www/five.bin"
for i in $(seq -w 0 199); do ln -s ../five.bin "$WORK/www/many/f$i.bin"; done
for i in 1 2 3 4; do ln -s big.bin "$WORK/www/lim$i.bin"; done

cat > "$WORK/nginx.conf" <<EOF
worker_processes 2;
pid $WORK/nginx.pid;
error_log $WORK/logs/error.log;
daemon off;
events { worker_connections 4096; }
http {
  access_log off;
  sendfile on;
  tcp_nopush on;
  keepalive_requests 100000;
  log_format bytes '\$body_bytes_sent';
  server {
    listen 127.0.0.1:$PORT;
    root $WORK/www;
    location /slow/ {
      alias $WORK/www/;
      limit_rate 64m;
      access_log $WORK/logs/slow.log bytes;
    }
  }
}
EOF
nginx -c "$WORK/nginx.conf" -p "$WORK" -e "$WORK/logs/error.log" &
NGINX_PID=$!
for _ in $(seq 100); do curl -sf -o /dev/null "$BASE/five.bin" && break; sleep 0.1; done
curl -sf -o /dev/null "$BASE/five.bin" || { echo "nginx does not serve the files"; exit 1; }

# run LABEL CMD...: wall seconds and CPU seconds (user+sys) of one run, appended to LABEL's file.
run() {
  local label=$1; shift
  /usr/bin/time -f "%e %U %S" -o "$WORK/time" "$@" > /dev/null 2>&1 || true
  awk '{printf "%s %.3f\n", $1, $2 + $3}' "$WORK/time" >> "$WORK/$label.times"
}
median() { sort -n | awk '{a[NR]=$1} END {print (NR % 2) ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2}'; }
wall() { cut -d' ' -f1 "$WORK/$1.times" | median; }
cpu() { cut -d' ' -f2 "$WORK/$1.times" | median; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN {printf "%.2f", a / b}'; }

echo
echo "== one 1 GiB file (median of $RUNS; runs interleaved) =="
for _ in $(seq "$RUNS"); do
  run big_curl curl -s -o "$OUT/big.bin" "$BASE/big.bin"; rm -f "$OUT"/*
  run big_aria aria2c -q -x16 -s16 --file-allocation=none --allow-overwrite=true \
    -d "$OUT" -o big.bin "$BASE/big.bin"; rm -f "$OUT"/*
  run big_p2p "$P2PGET" "$BASE/big.bin" -o "$OUT"
  cmp -s "$OUT/big.bin" "$WORK/www/big.bin" || echo "p2pget: file differs!"
  rm -f "$OUT"/*
done
for t in curl aria p2p; do
  printf "  %-12s %6.2f s   %5.2f CPU s   %5.2f CPU s/GiB\n" "$t" "$(wall big_$t)" "$(cpu big_$t)" "$(cpu big_$t)"
done
echo "  p2p/curl time $(ratio "$(wall big_p2p)" "$(wall big_curl)")   p2p/aria2c time $(ratio "$(wall big_p2p)" "$(wall big_aria)")"
echo "  p2p/curl CPU per GiB $(ratio "$(cpu big_p2p)" "$(cpu big_curl)")"

echo
echo "== 200 files of 5 MiB, 8 at once (median of $RUNS) =="
: > "$WORK/curl.cfg"; : > "$WORK/aria.list"; URLS=()
for i in $(seq -w 0 199); do
  printf 'url = "%s"\noutput = "%s"\n' "$BASE/many/f$i.bin" "$OUT/f$i.bin" >> "$WORK/curl.cfg"
  echo "$BASE/many/f$i.bin" >> "$WORK/aria.list"
  URLS+=("$BASE/many/f$i.bin")
done
for _ in $(seq "$RUNS"); do
  run many_curl curl -s --parallel --parallel-max 8 --config "$WORK/curl.cfg"; rm -f "$OUT"/*
  run many_aria aria2c -q -j8 --file-allocation=none --allow-overwrite=true -d "$OUT" \
    -i "$WORK/aria.list"; rm -f "$OUT"/*
  run many_p2p "$P2PGET" "${URLS[@]}" -o "$OUT"
  [ "$(ls "$OUT" | wc -l)" = 200 ] || echo "p2pget: not 200 files!"
  rm -f "$OUT"/*
done
for t in curl aria p2p; do
  printf "  %-12s %6.2f s   %5.2f CPU s\n" "$t" "$(wall many_$t)" "$(cpu many_$t)"
done
echo "  p2p/curl time $(ratio "$(wall many_p2p)" "$(wall many_curl)")   p2p/aria2c time $(ratio "$(wall many_p2p)" "$(wall many_aria)")"

# sample SECONDS CMD...: runs CMD for SECONDS, prints the bytes that arrived in each second
# (sum of allocated bytes of the files in $OUT), then stops CMD.
sample() {
  local seconds=$1; shift
  python3 - "$seconds" "$OUT" "$@" <<'PY'
import os, subprocess, sys, time
seconds, out, cmd = float(sys.argv[1]), sys.argv[2], sys.argv[3:]
def size():
    total = 0
    for n in os.listdir(out):
        try: total += os.stat(os.path.join(out, n)).st_blocks * 512
        except FileNotFoundError: pass
    return total
p = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
start = time.monotonic(); last = 0
for s in range(1, int(seconds) + 1):
    time.sleep(max(0, start + s - time.monotonic()))
    now = size(); print(now - last); last = now
p.kill(); p.wait()
PY
}
# stats LIMIT_KB: reads one-second samples, prints total vs limit and the worst seconds.
stats() {
  awk -v lim="$(( $1 * 1024 ))" '{t += $1; r = $1 / lim * 100; if (NR == 1 || r < lo) lo = r; if (NR == 1 || r > hi) hi = r; first = (NR == 1) ? r : first}
    END {printf "total %6.1f %% of the limit   seconds min %5.1f %% max %5.1f %%   first second %5.1f %%\n", t / (lim * NR) * 100, lo, hi, first}'
}

echo
echo "== global speed limit, 4 downloads at once, 15 s =="
for lim in 400 5000; do
  per=$(( lim / 4 ))
  echo " limit $lim KB/s:"
  printf "  %-12s " curl
  sample 15 bash -c "for i in 1 2 3 4; do curl -s --limit-rate ${per}K -o $OUT/lim\$i.bin $BASE/lim\$i.bin & done; wait" | stats "$lim"
  rm -f "$OUT"/*
  printf "  %-12s " aria2c
  sample 15 aria2c -q -j4 -x1 -s1 --file-allocation=none --allow-overwrite=true \
    --max-overall-download-limit="${lim}K" -d "$OUT" "$BASE/lim1.bin" "$BASE/lim2.bin" \
    "$BASE/lim3.bin" "$BASE/lim4.bin" | stats "$lim"
  rm -f "$OUT"/*
  printf "  %-12s " p2p
  "$P2PGET" "$BASE/lim1.bin" "$BASE/lim2.bin" "$BASE/lim3.bin" "$BASE/lim4.bin" -o "$OUT" \
    --limit "$lim" --samples --duration 15 | awk '/^sample/ {print $3}' | stats "$lim" || true
  rm -f "$OUT"/*
done

echo
echo "== memory with 10,000 created tasks =="
"$P2PGET" --create 10000 -o "$OUT" | awk '{split($2, a, "="); printf "  p2p peak RSS %.1f MiB\n", a[2] / 1024}'

echo
echo "== kill -9 at ~40 % of 1 GiB served at 64 MiB/s per connection, then restart =="
served() { awk '{s += $1} END {print s + 0}' "$WORK/logs/slow.log"; }
reset_log() { : > "$WORK/logs/slow.log"; kill -USR1 "$(cat "$WORK/nginx.pid")"; sleep 0.3; }
# killat CMD...: runs CMD until the output holds 40 % of the file, then kill -9.
killat() {
  python3 - "$OUT" "$@" <<'PY'
import os, signal, subprocess, sys, time
out, cmd = sys.argv[1], sys.argv[2:]
p = subprocess.Popen(cmd, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
def size():
    return sum(os.stat(os.path.join(out, n)).st_blocks * 512 for n in os.listdir(out)
               if not n.endswith((".aria2", ".ctl", ".tmp")))
while p.poll() is None and size() < 0.4 * 1073741824: time.sleep(0.01)
p.send_signal(signal.SIGKILL); p.wait()
PY
}
refetch() {
  local label=$1 total
  total=$(served)
  cmp -s "$OUT/big.bin" "$WORK/www/big.bin" || echo "  $label: file differs!"
  awk -v s="$total" -v l="$label" 'BEGIN {printf "  %-22s re-fetched %5.1f %% of the file\n", l, (s - 1073741824) / 1073741824 * 100}'
  rm -f "$OUT"/* "$OUT"/.??* 2>/dev/null || true
}
reset_log
killat curl -s -o "$OUT/big.bin" "$BASE/slow/big.bin"
curl -s -C - -o "$OUT/big.bin" "$BASE/slow/big.bin"
refetch "curl -C -"
for save in 60 1; do
  reset_log
  killat aria2c -q --auto-save-interval=$save --file-allocation=none -d "$OUT" -o big.bin "$BASE/slow/big.bin"
  aria2c -q -c --auto-save-interval=$save --file-allocation=none -d "$OUT" -o big.bin "$BASE/slow/big.bin" || true
  refetch "aria2c (save every ${save}s)"
done
reset_log
"$P2PGET" "$BASE/slow/big.bin" -o "$OUT" --kill-at 0.4 > /dev/null 2>&1 || true
"$P2PGET" "$BASE/slow/big.bin" -o "$OUT" > /dev/null
refetch "p2p"
