#!/usr/bin/env bash
# Converts each WAV file of tests/data, which other programs wrote, with the
# real tool in an 80 by 42 tmux pane, checking the file data block and the
# output bytes. Every file holds the same signal at 24 or 32 bits, or the
# first samples of it; the dither starts afresh in every run. So the output of
# the canonical file of each resolution, converted first, holds the bytes of
# every other file of that resolution: all of them for the same samples, the
# first ones for a file that holds fewer.
#
# usage: encoder_files_in_tmux.sh path/to/corvane
set -euo pipefail

tool=$(realpath "$1")
data=$(realpath "$(dirname "$0")/../data")
work=$(mktemp -d)
source "$(dirname "$0")/tmux_pane.sh"
cd "$work"

# Each file with its resolution, length and duration as the screen shows
# them; the canonical file of each resolution comes first.
files=(
  'libsndfile-24bit.wav 24 960 .02'
  'python-32bit.wav 32 960 .02'
  'sox-24bit-extensible-fact.wav 24 960 .02'
  'sox-24bit-pipe.wav 24 960 .02'
  'sox-24bit-cut-short.wav 24 700 .01'
  'ffmpeg-32bit-extensible-list.wav 32 960 .02'
  'ffmpeg-24bit-pipe.wav 24 960 .02'
  'ffmpeg-32bit-rf64.wav 32 960 .02'
  'libsndfile-32bit-wavex.wav 32 960 .02'
  'libsndfile-24bit-rf64.wav 24 960 .02'
)
for file in "${files[@]}"; do
  read -r name bits length duration <<< "$file"
  # A copy: a tool that wrote where it should read must not spoil the data.
  cp "$data/$name" "input-$name"
  convert_in_pane "'$tool'" "input-$name" "$name"
  expect_file_data 48000 "$bits" "$length" "$duration"
  [[ -e "canonical-$bits.wav" ]] || cp "$name" "canonical-$bits.wav"
  {
    wave_header WAVE 1 1 48000 16 $((2 * length))
    tail -c +45 "canonical-$bits.wav" | head -c $((2 * length))
  } > expected.wav
  cmp "$name" expected.wav || fail "$name: its output is not the canonical file's for its $length samples"
done

echo "encoder files in tmux: ${#files[@]} passed, 0 failed"
