#!/usr/bin/env bash
# Converts a 24-bit and a 32-bit file of tests/data with the 64-bit ARM tool
# under qemu-aarch64 and with the tool built for this machine, each in an 80
# by 42 tmux pane: both must show the same file data rows (sample rate,
# resolution, length and duration, whose texts the extended-real arithmetic
# makes) and write the same bytes.
#
# usage: .ci/same_bytes_on_arm.sh path/to/aarch64/corvane path/to/corvane
set -euo pipefail

arm_tool=$(realpath "$1")
native_tool=$(realpath "$2")
data=$(realpath "$(dirname "$0")/../tests/data")
work=$(mktemp -d)
source "$(dirname "$0")/../tests/e2e/tmux_pane.sh"
cd "$work"

# Runs the command $1 on the input $2, writing $3.wav and the file data rows
# shown on the way into $3.rows.
convert() {
  rm -f exit-status
  open_pane "TERM=xterm-256color $1; echo \$? > exit-status; sleep 60"
  await_row 12 '   File to process?'
  answer "$2"
  await_row 24 '   Output filename?'
  screen | sed -n 15,21p > "$3.rows"
  answer "$3.wav"
  await_row 41 '   press any key to quit'
  keys -l 'k'
  await_exit_status exit-status 0
}

for name in libsndfile-24bit.wav python-32bit.wav; do
  cp "$data/$name" "input-$name"
  convert "'$native_tool'" "input-$name" "native-${name%.wav}"
  convert "qemu-aarch64 -L /usr/aarch64-linux-gnu '$arm_tool'" "input-$name" "arm-${name%.wav}"
  grep -q 'Duration' "native-${name%.wav}.rows" || fail "$name: no file data rows"
  diff "native-${name%.wav}.rows" "arm-${name%.wav}.rows" >&2 || fail "$name: the ARM tool shows other file data"
  cmp "native-${name%.wav}.wav" "arm-${name%.wav}.wav" || fail "$name: the ARM tool wrote other bytes"
done

echo "same bytes on ARM: 2 files passed, 0 failed"
