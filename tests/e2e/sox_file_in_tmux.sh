#!/usr/bin/env bash
# Converts a file that SoX wrote (24-bit mono, which SoX stores as
# WAVE_FORMAT_EXTENSIBLE with a "fact" chunk before "data") with the real tool
# in an 80 by 42 tmux pane, then the same samples behind a canonical 44-byte
# header, and checks that both runs show the same file data and write the
# same output bytes.
#
# usage: sox_file_in_tmux.sh path/to/corvane  (KEEP=1 keeps the work folder)
set -euo pipefail

tool=$(realpath "$1")
command -v sox >/dev/null || { echo "FAIL: sox is not installed" >&2; exit 1; }
work=$(mktemp -d)
socket="corvane-sox-e2e-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null || true; [[ -n "${KEEP:-}" ]] || rm -rf "$work"' EXIT
cd "$work"

fail() {
  echo "FAIL: $*" >&2
  echo "---- screen ----" >&2
  screen >&2 || true
  exit 1
}

screen() { tmux -L "$socket" capture-pane -p -t e2e; }
row() { screen | sed -n "$1p"; }

# Waits until row $1 reads exactly $2.
await_row() {
  local n=$1 expected=$2
  for _ in $(seq 1 200); do
    [[ "$(row "$n")" == "$expected" ]] && return 0
    sleep 0.05
  done
  fail "row $n never became '$expected' (it is '$(row "$n")')"
}

expect_row() {
  [[ "$(row "$1")" == "$2" ]] || fail "row $1 is '$(row "$1")', expected '$2'"
}

keys() { tmux -L "$socket" send-keys -t e2e "$@"; }

# The bytes of the unsigned 32-bit value $1, lowest first.
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

# Converts $1 into $2 in a fresh pane, checking the file data on the way.
convert() {
  local input=$1 output=$2
  tmux -L "$socket" kill-server 2>/dev/null || true
  rm -f exit-status
  tmux -L "$socket" new-session -d -x 80 -y 42 -s e2e "TERM=xterm-256color '$tool'; echo \$? > exit-status; sleep 60"
  await_row 12 '   File to process?'
  keys -l "$input"
  keys Enter
  await_row 24 '   Output filename?'
  expect_row 17 '                     Channels     1'
  expect_row 18 '                     Sample rate  48000 Hz'
  expect_row 19 '                     Resolution   24 bits'
  expect_row 20 '                     Length       4800 samples'
  expect_row 21 '                     Duration     .1 seconds'
  keys -l "$output"
  keys Enter
  await_row 41 '   press any key to quit'
  expect_row 40 '   Job finished'
  keys -l 'k'
  for _ in $(seq 1 100); do [[ -s exit-status ]] && break; sleep 0.05; done
  [[ "$(cat exit-status 2>/dev/null)" == 0 ]] || fail "exit status '$(cat exit-status 2>/dev/null)', expected 0"
}

sox -n -r 48000 -b 24 -c 1 -e signed-integer f.wav synth 0.1 sine 1000
[[ "$(od -An -tx1 -j20 -N2 f.wav | tr -d ' ')" == feff ]] ||
  fail "SoX no longer writes an extensible format, so this test would prove nothing"

# The same samples, as SoX reads them, behind a canonical header.
sox f.wav -t raw -e signed-integer -b 24 -L samples.raw
size=$(stat -c %s samples.raw)
[[ $size == 14400 ]] || fail "SoX gave $size sample bytes, expected 14400"
{
  printf 'RIFF%bWAVEfmt %b' "$(le32 $((36 + size)))" "$(le32 16)"
  printf '\x01\x00\x01\x00%b%b\x03\x00\x18\x00' "$(le32 48000)" "$(le32 144000)"
  printf 'data%b' "$(le32 "$size")"
  cat samples.raw
} > canonical.wav

convert f.wav from-sox.wav
convert canonical.wav from-canonical.wav
[[ $(stat -c %s from-sox.wav) == 9644 ]] || fail "the output holds $(stat -c %s from-sox.wav) bytes, expected 9644"
cmp from-sox.wav from-canonical.wav || fail "the SoX file and the canonical file convert differently"

echo "sox file in tmux: 1 passed, 0 failed"
