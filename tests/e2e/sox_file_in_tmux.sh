#!/usr/bin/env bash
# Converts a file that SoX wrote (24-bit mono, which SoX stores as
# WAVE_FORMAT_EXTENSIBLE with a "fact" chunk before "data") with the real tool
# in an 80 by 42 tmux pane, then the same samples behind a canonical 44-byte
# header, and checks that both runs show the same file data and write the
# same output bytes.
#
# usage: sox_file_in_tmux.sh path/to/corvane
set -euo pipefail

tool=$(realpath "$1")
command -v sox >/dev/null || { echo "FAIL: sox is not installed" >&2; exit 1; }
work=$(mktemp -d)
source "$(dirname "$0")/tmux_pane.sh"
cd "$work"

# Converts $1 into $2 in a fresh pane, checking the file data on the way.
convert() {
  local input=$1 output=$2
  rm -f exit-status
  open_pane "TERM=xterm-256color '$tool'; echo \$? > exit-status; sleep 60"
  await_row 12 '   File to process?'
  answer "$input"
  await_row 24 '   Output filename?'
  expect_file_data 48000 24 4800 .1
  answer "$output"
  await_row 41 '   press any key to quit'
  expect_progress_rows
  keys -l 'k'
  await_exit_status exit-status 0
}

sox -n -r 48000 -b 24 -c 1 -e signed-integer f.wav synth 0.1 sine 1000
[[ "$(od -An -tx1 -j20 -N2 f.wav | tr -d ' ')" == feff ]] ||
  fail "SoX no longer writes an extensible format, so this test would prove nothing"

# The same samples, as SoX reads them, behind a canonical header.
sox f.wav -t raw -e signed-integer -b 24 -L samples.raw
size=$(stat -c %s samples.raw)
[[ $size == 14400 ]] || fail "SoX gave $size sample bytes, expected 14400"
{
  wave_header WAVE 1 1 48000 24 "$size"
  cat samples.raw
} > canonical.wav

convert f.wav from-sox.wav
convert canonical.wav from-canonical.wav
[[ $(stat -c %s from-sox.wav) == 9644 ]] || fail "the output holds $(stat -c %s from-sox.wav) bytes, expected 9644"
cmp from-sox.wav from-canonical.wav || fail "the SoX file and the canonical file convert differently"

echo "sox file in tmux: 1 passed, 0 failed"
