#!/usr/bin/env bash
# Benchmarks flvtomp3 against ffmpeg's stream copy on a 10-minute FLV with video and a 60-minute
# audio-only FLV (both 320 kbit/s MP3), checks that the two outputs hold the same frames, then
# fuzzes the demuxer for a minute. Not part of CI; needs ffmpeg, clang and hyperfine (or it
# falls back to repeated runs and medians).
#   bench/flv/run.sh            builds into /tmp and cleans up afterwards
#   FUZZ_SECONDS=600 bench/flv/run.sh
set -euo pipefail

root=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d /tmp/velmira-flv-bench.XXXXXX)
trap 'rm -rf "$work"' EXIT
fuzz_seconds=${FUZZ_SECONDS:-60}

echo "== building flvtomp3 (release) in $work/build"
cmake -S "$root" -B "$work/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
  -DVELMIRA_SUBSYSTEMS=flv -DVELMIRA_TESTS=OFF >/dev/null
ninja -C "$work/build" -j2 flvtomp3 >/dev/null
tool=$work/build/tools/flvtomp3

echo "== making inputs with ffmpeg (libmp3lame, 320 kbit/s)"
ff() { ffmpeg -hide_banner -loglevel error -y "$@"; }
ff -f lavfi -i "anoisesrc=color=pink:duration=600:sample_rate=44100" \
   -f lavfi -i "testsrc=size=320x240:rate=25:duration=600" \
   -ac 2 -c:a libmp3lame -b:a 320k -c:v flv1 -b:v 500k "$work/video10.flv"
ff -f lavfi -i "anoisesrc=color=pink:duration=3600:sample_rate=44100" \
   -ac 2 -c:a libmp3lame -b:a 320k "$work/audio60.flv"
ls -l "$work"/*.flv | awk '{printf "   %s %d bytes\n", $NF, $5}'

for name in video10 audio60; do
  in=$work/$name.flv
  echo "== $name: wall time"
  if command -v hyperfine >/dev/null; then
    hyperfine -N --warmup 2 --runs 15 --export-json "$work/$name.json" \
      -n flvtomp3 "$tool -a -o $in" \
      -n ffmpeg "ffmpeg -loglevel error -y -i $in -vn -c:a copy $work/$name.ffmpeg.mp3" \
      | grep -E "Time|±|flvtomp3|ffmpeg" || true
    python3 - "$work/$name.json" <<'PY'
import json, sys
r = {x["command"]: x for x in json.load(open(sys.argv[1]))["results"]}
ours, theirs = r["flvtomp3"]["median"], r["ffmpeg"]["median"]
print(f"   median flvtomp3 {ours*1000:.1f} ms, ffmpeg {theirs*1000:.1f} ms, ratio {ours/theirs:.3f}")
PY
  else
    for cmd in "$tool -a -o $in" "ffmpeg -loglevel error -y -i $in -vn -c:a copy $work/$name.ffmpeg.mp3"; do
      for _ in $(seq 15); do /usr/bin/time -f %e $cmd 2>&1 >/dev/null | tail -1; done |
        sort -n | awk -v c="${cmd%% *}" '{a[NR]=$1} END {printf "   median %s %.3f s\n", c, a[int((NR+1)/2)]}'
    done
  fi
  echo "== $name: peak memory"
  for cmd in "$tool -a -o $in" "ffmpeg -loglevel error -y -i $in -vn -c:a copy $work/$name.ffmpeg.mp3"; do
    kb=$(/usr/bin/time -v $cmd 2>&1 >/dev/null | awk -F: '/Maximum resident/ {print $2}')
    awk -v n="$(basename "${cmd%% *}")" -v kb="$kb" 'BEGIN {printf "   %-9s %6.2f MiB\n", n, kb / 1024}'
  done
  echo "== $name: same frames as ffmpeg without its ID3 tag and info frame"
  ff -i "$in" -vn -c:a copy -write_xing 0 -id3v2_version 0 "$work/$name.plain.mp3"
  if cmp -s "$work/$name.mp3" "$work/$name.plain.mp3"; then
    echo "   identical ($(stat -c %s "$work/$name.mp3") bytes)"
  else
    echo "   DIFFERENT"; exit 1
  fi
  rm -f "$work/$name".*mp3
done
rm -f "$work"/*.flv

echo "== fuzzing the demuxer for $fuzz_seconds s"
fuzz=$work/fuzz
mkdir -p "$fuzz/corpus" "$fuzz/crashes"
clang++ -std=c++20 -O1 -g -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined \
  -D_FILE_OFFSET_BITS=64 -D_GNU_SOURCE -I"$root/src" \
  "$root/tests/flv/FlvFuzzTarget.cpp" $(ls "$root"/src/flv/*.cpp | grep -v -e Main -e ExtractorImage) \
  -o "$fuzz/flv_fuzz"
# Seeds: short FLVs of each codec, with and without video; the leading byte picks the
# fuzz target's read block size.
i=0
for audio in "-c:a libmp3lame -b:a 32k" "-c:a aac -b:a 32k" "-c:a pcm_s16le -ar 11025" \
             "-c:a libspeex -ar 16000"; do
  for video in "-vn" "-c:v flv1"; do
    # shellcheck disable=SC2086
    ff -f lavfi -i "sine=duration=0.3" -f lavfi -i "testsrc=size=32x24:rate=5:duration=0.3" \
       -ac 1 $audio $video -shortest "$fuzz/seed.flv"
    { printf '\x01'; head -c 8000 "$fuzz/seed.flv"; } >"$fuzz/corpus/seed$i"
    i=$((i + 1))
  done
done
"$fuzz/flv_fuzz" -max_total_time="$fuzz_seconds" -max_len=8192 -timeout=10 \
  -artifact_prefix="$fuzz/crashes/" -print_final_stats=1 "$fuzz/corpus" 2>"$fuzz/log" || true
grep -E "^stat::number_of_executed_units|^stat::peak_rss_mb|Done [0-9]+ runs" "$fuzz/log" || tail -5 "$fuzz/log"
if ls "$fuzz/crashes"/* >/dev/null 2>&1; then
  mkdir -p "$root/tests/flv/fuzz-crashes"
  cp "$fuzz/crashes"/* "$root/tests/flv/fuzz-crashes/"
  echo "   FOUND $(ls "$fuzz/crashes" | wc -l) crash input(s), copied to tests/flv/fuzz-crashes/"
  tail -40 "$fuzz/log"
  exit 1
fi
echo "   no crash"
