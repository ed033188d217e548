#!/usr/bin/env bash
# Times whole conversions of a 30-million-sample 24-bit file through the real
# tool in an 80 by 42 tmux pane, from the Enter on the output name to
# "   press any key to quit", each in a fresh process. Beside each run, the
# baseline: reading the input with cat, writing as many bytes as the output
# holds, and sync. Given other builds of the tool, it runs them too, in turn
# with the first, so that all meet the machine in the same state.
# Prints the median and the worst run of each side, their ratios to the
# baseline (and to the first tool), and the peak memory and page faults of
# the tool's runs as /usr/bin/time -v reports them.
#
# RUNS (default 10) runs of each. Before every timed run it waits PAUSE
# seconds (default 5): a virtual machine may hand the memory that a process
# has just freed back to its host within a second or two, and a conversion
# that found the last run's pages still in place would time less than one
# that a person starts.
#
# usage: bench/time_conversion.sh [path/to/corvane [path/to/other/corvane ...]]
#        (default: build/release/corvane)
set -euo pipefail

tools=()
for tool in "${@:-build/release/corvane}"; do tools+=("$(realpath "$tool")"); done
samples=30000000
runs=${RUNS:-10}
pause=${PAUSE:-5}
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

# One conversion by tool $1 in a fresh pane; prints its seconds. /usr/bin/time
# -v writes the run's resource figures to $2 when the tool ends.
convert() {
  rm -f out.wav
  tmux -L "$socket" new-session -d -x 80 -y 42 -s bench -c "$work" "/usr/bin/time -v -o '$2' '$1'; sleep 60"
  await_text '   File to process?'
  tmux -L "$socket" send-keys -t bench -l 'in.wav'
  tmux -L "$socket" send-keys -t bench Enter
  await_text '   Output filename?'
  tmux -L "$socket" send-keys -t bench -l 'out.wav'
  sync
  sleep "$pause"
  local start end
  start=$(now)
  tmux -L "$socket" send-keys -t bench Enter
  await_text '   press any key to quit'
  end=$(now)
  tmux -L "$socket" send-keys -t bench -l 'k'
  for _ in $(seq 1 200); do [[ -s $2 ]] && break; sleep 0.05; done
  tmux -L "$socket" kill-session -t bench
  [[ $(stat -c %s out.wav) == "$output_bytes" ]] || fail "out.wav is not $output_bytes bytes long"
  awk -v start="$start" -v end="$end" 'BEGIN { print end - start }'
}

# The same bytes through the file system and nothing else; prints its seconds.
read_and_write() {
  rm -f written.bin
  sync
  sleep "$pause"
  local start end
  start=$(now)
  cat in.wav > /dev/null
  head -c "$output_bytes" /dev/zero > written.bin
  sync
  end=$(now)
  awk -v start="$start" -v end="$end" 'BEGIN { print end - start }'
}

# The middle value, or the mean of the middle two.
median() { printf '%s\n' "$@" | sort -g | awk '{ v[NR] = $1 } END { print (v[int((NR + 1) / 2)] + v[int(NR / 2) + 1]) / 2 }'; }
worst() { printf '%s\n' "$@" | sort -g | tail -n 1; }
least() { printf '%s\n' "$@" | sort -g | head -n 1; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { printf "%.2f", a / b }'; }
field() { sed -n "s/^[[:space:]]*$1: //p" "$2"; }
faults() { field 'Minor (reclaiming a frame) page faults' "$1"; }
peak() { field 'Maximum resident set size (kbytes)' "$1"; }

echo "Whole conversion of $samples 24-bit samples ($((data_bytes / 1000000)) MB in, $((output_bytes / 1000000)) MB out)," \
  "$runs runs, ${pause} s pause before each"
echo "load at the start: $(cut -d' ' -f1-3 /proc/loadavg)"
baseline=()
declare -A seconds
for run in $(seq 1 "$runs"); do
  line="  run $(printf '%2d' "$run"):"
  for t in "${!tools[@]}"; do
    seconds[$t,$run]=$(convert "${tools[$t]}" "time-$t-$run.txt")
    line+=" tool $((t + 1)) $(printf '%.3f' "${seconds[$t,$run]}") s, $(faults "time-$t-$run.txt") faults;"
  done
  baseline+=("$(read_and_write)")
  echo "$line cat + write + sync $(printf '%.3f' "${baseline[-1]}") s; load $(cut -d' ' -f1 /proc/loadavg)"
done
echo "load at the end: $(cut -d' ' -f1-3 /proc/loadavg)"

baseline_median=$(median "${baseline[@]}")
baseline_worst=$(worst "${baseline[@]}")
printf '%-22s median %.3f s, worst %.3f s\n' 'cat + write + sync:' "$baseline_median" "$baseline_worst"
for t in "${!tools[@]}"; do
  times=() fault_counts=() peaks=()
  for run in $(seq 1 "$runs"); do
    times+=("${seconds[$t,$run]}")
    fault_counts+=("$(faults "time-$t-$run.txt")")
    peaks+=("$(peak "time-$t-$run.txt")")
  done
  m=$(median "${times[@]}") w=$(worst "${times[@]}")
  [[ $t == 0 ]] && first_median=$m first_worst=$w
  printf 'tool %d: %s\n' $((t + 1)) "${tools[$t]}"
  printf '  median %.3f s, worst %.3f s; ratio to cat + write + sync: median %s, worst %s\n' "$m" "$w" \
    "$(ratio "$m" "$baseline_median")" "$(ratio "$w" "$baseline_worst")"
  [[ $t != 0 ]] && printf '  ratio to tool 1: median %s, worst %s\n' "$(ratio "$m" "$first_median")" \
    "$(ratio "$w" "$first_worst")"
  printf '  page faults %s to %s, peak memory %s to %s kB\n' "$(least "${fault_counts[@]}")" \
    "$(worst "${fault_counts[@]}")" "$(least "${peaks[@]}")" "$(worst "${peaks[@]}")"
done
