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

# Converts the input $1 with the tool that the command $2 starts into $3.wav,
# keeping the file data rows the pane showed in $3.rows.
convert() {
  convert_in_pane "$2" "$1" "$3.wav"
  screen | sed -n 15,21p > "$3.rows"
}

for name in libsndfile-24bit.wav python-32bit.wav; do
  cp "$data/$name" "input-$name"
  convert "input-$name" "'$native_tool'" "native-${name%.wav}"
  convert "input-$name" "qemu-aarch64 -L /usr/aarch64-linux-gnu '$arm_tool'" "arm-${name%.wav}"
  grep -q 'Duration' "native-${name%.wav}.rows" || fail "$name: no file data rows"
  diff "native-${name%.wav}.rows" "arm-${name%.wav}.rows" >&2 || fail "$name: the ARM tool shows other file data"
  cmp "native-${name%.wav}.wav" "arm-${name%.wav}.wav" || fail "$name: the ARM tool wrote other bytes"
done

echo "same bytes on ARM: 2 files passed, 0 failed"
