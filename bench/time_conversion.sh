#!/usr/bin/env bash
# Times whole conversions of a 30-million-sample 24-bit file through the real
# tool in an 80 by 42 tmux pane, from the Enter on the output name to
# "   press any key to quit", three runs. Beside each run, in the same session,
# the baseline: reading the input with cat, writing as many bytes as the output
# holds, and sync. Prints both medians and their ratio, and the peak memory and
# page faults of the tool's runs as /usr/bin/time -v reports them.
#
# usage: bench/time_conversion.sh [path/to/corvane]   (default: build/release/corvane)
set -euo pipefail

tool=$(realpath "${1:-build/release/corvane}")
samples=30000000
runs=3
work=$(mktemp -d)
socket="corvane-bench-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  tmux -L "$socket" capture-pane -p -t bench >&2 2>/dev/null || true
  exit 1
}

# Little-endian 16- and 32-bit fields of the WAV header.
le16() { printf "$(printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)))"; }
le32() { le16 $(($1 & 65535)); le16 $(($1 >> 16 & 65535)); }

# A mono 24-bit file at 96 kHz of random samples, flushed to disk so that no
# run pays for its write-back, and read once so that every run finds it in the
# page cache.
data_bytes=$((samples * 3))
{
  printf 'RIFF'; le32 $((data_bytes + 36)); printf 'WAVEfmt '; le32 16; le16 1; le16 1
  le32 96000; le32 288000; le16 3; le16 24; printf 'data'; le32 "$data_bytes"
  head -c "$data_bytes" /dev/urandom
} > in.wav
sync
cat in.wav > /dev/null
output_bytes=$((44 + samples * 2))

now() { date +%s.%N; }

# Polls the pane every few milliseconds until it shows $1; gives up after 5 minutes.
await_text() {
  local deadline=$((SECONDS + 300))
  until tmux -L "$socket" capture-pane -p -t bench | grep -qF -- "$1"; do
    ((SECONDS < deadline)) || fail "the screen never showed '$1'"
    sleep 0.002
  done
}

# One conversion in a fresh pane; prints its seconds. /usr/bin/time -v
# writes the run's resource figures to time-$1.txt when the tool ends.
convert() {
  rm -f out.wav
  tmux -L "$socket" new-session -d -x 80 -y 42 -s bench -c "$work" \
    "/usr/bin/time -v -o time-$1.txt '$tool'; sleep 60"
  await_text '   File to process?'
  tmux -L "$socket" send-keys -t bench -l 'in.wav'
  tmux -L "$socket" send-keys -t bench Enter
  await_text '   Output filename?'
  tmux -L "$socket" send-keys -t bench -l 'out.wav'
  sync
  local start end
  start=$(now)
  tmux -L "$socket" send-keys -t bench Enter
  await_text '   press any key to quit'
  end=$(now)
  tmux -L "$socket" send-keys -t bench -l 'k'
  for _ in $(seq 1 200); do [[ -s time-$1.txt ]] && break; sleep 0.05; done
  tmux -L "$socket" kill-session -t bench
  [[ $(stat -c %s out.wav) == "$output_bytes" ]] || fail "out.wav is not $output_bytes bytes long"
  awk -v start="$start" -v end="$end" 'BEGIN { print end - start }'
}

# The same bytes through the file system and nothing else; prints its seconds.
read_and_write() {
  rm -f written.bin
  sync
  local start end
  start=$(now)
  cat in.wav > /dev/null
  head -c "$output_bytes" /dev/zero > written.bin
  sync
  end=$(now)
  awk -v start="$start" -v end="$end" 'BEGIN { print end - start }'
}

median() { printf '%s\n' "$@" | sort -g | sed -n "$((($# + 1) / 2))p"; }
seconds() { printf '%.3f' "$1"; }

conversion=()
baseline=()
for run in $(seq 1 "$runs"); do
  conversion+=("$(convert "$run")")
  baseline+=("$(read_and_write)")
done

field() { sed -n "s/^[[:space:]]*$1: //p" "$2"; }
echo "Whole conversion of $samples 24-bit samples ($((data_bytes / 1000000)) MB in, $((output_bytes / 1000000)) MB out):"
for run in $(seq 1 "$runs"); do
  i=$((run - 1))
  printf '  run %d: conversion %s s, cat + write + sync %s s, peak memory %s kB, page faults %s\n' "$run" \
    "$(seconds "${conversion[$i]}")" "$(seconds "${baseline[$i]}")" \
    "$(field 'Maximum resident set size (kbytes)' "time-$run.txt")" \
    "$(field 'Minor (reclaiming a frame) page faults' "time-$run.txt")"
done
conversion_median=$(median "${conversion[@]}")
baseline_median=$(median "${baseline[@]}")
ratio=$(awk -v a="$conversion_median" -v b="$baseline_median" 'BEGIN { print a / b }')
printf 'median: conversion %s s, cat + write + sync %s s, ratio %.2f\n' "$(seconds "$conversion_median")" \
  "$(seconds "$baseline_median")" "$ratio"
