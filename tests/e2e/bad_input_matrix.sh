#!/usr/bin/env bash
# Points the real tool, in an 80 by 42 tmux pane, at the inputs and outputs a
# user may give it by mistake. Each row names what is given and the message
# the user must see. After every row the promises hold: every file that was
# there is unchanged (checksums), no file appeared that was not asked for,
# and the tool still answers at its prompt or has ended with exit status 0.
#
# usage: bad_input_matrix.sh path/to/corvane
set -euo pipefail

tool=$(realpath "$1")
work=$(mktemp -d)
source "$(dirname "$0")/tmux_pane.sh"
mounted=''
trap '[[ -z "$mounted" ]] || umount "$mounted" 2>/dev/null || true; close_pane; rm -rf "$work"' EXIT
chmod 755 "$work"
cd "$work"
rows=0

# Mono 24-bit at 44100 Hz with `$1` bytes of samples, all of them present.
good() { wave_header WAVE 1 1 44100 24 "$1"; head -c "$1" /dev/urandom; }

mkdir files
cd files
wave_header WAVE 1 1 44100 24 0 > canonical.bin
good 30000 > in.wav
: > empty.wav
for n in 1 11 12 20 43 44; do head -c "$n" canonical.bin > "bytes-$n.wav"; done
rm canonical.bin
printf 'This is a text file, not a sound.\n' > text.wav
# A real RIFX file holds its numbers big-endian.
printf 'RIFX\0\0\0\x24WAVEfmt \0\0\0\x10\0\x01\0\x01\0\0\xac\x44\0\x02\x04\xcc\0\x03\0\x18data\0\0\0\0' > rifx.wav
wave_header wave 1 1 44100 24 0 > lower-case.wav
wave_header WAVE 65534 1 44100 24 0 > extensible.wav
wave_header WAVE 1 2 44100 24 0 > stereo.wav
for bits in 8 16 64; do wave_header WAVE 1 1 44100 "$bits" 0 > "bits-$bits.wav"; done
{ wave_header WAVE 1 1 44100 24 3000; head -c 30 /dev/urandom; } > larger-than-file.wav
good 3001 > odd-size.wav
{ wave_header WAVE 1 1 0 24 300; head -c 300 /dev/urandom; } > rate-0.wav
{ wave_header WAVE 1 1 4294967295 24 300; head -c 300 /dev/urandom; } > rate-max.wav
mkdir folder
mkfifo fifo
# Run as root, the tool runs as nobody, who must be able to create files here.
[[ $(id -u) != 0 ]] || chmod 777 .
ln -s in.wav symlink.wav
ln in.wav hardlink.wav
good 3000 > read-only.wav
chmod 444 read-only.wav
cd ..
# Beside files/, so that no snapshot reads its 4 GiB: a sparse file that holds
# all the samples its header declares.
wave_header WAVE 1 1 44100 24 4294967295 > near-4-GiB.wav
truncate -s $((44 + 4294967295)) near-4-GiB.wav

# Every file under files/ with its size and checksum, in one text.
snapshot() { (cd files && find . -mindepth 1 -printf '%p %y %s\n' | sort && find . -type f -exec sha256sum {} + | sort); }
before=$(snapshot)

# The promises after a row: nothing changed, nothing new but `$1` (removed
# here once seen), and the tool at a prompt or ended with 0.
check_promises() {
  local label=$1 asked=${2:-}
  if [[ -n "$asked" ]]; then
    [[ -e "files/$asked" ]] || fail "$label: the asked-for output files/$asked was not written"
    rm -f "files/$asked"
  fi
  [[ "$(snapshot)" == "$before" ]] || fail "$label: the files changed: $(diff <(echo "$before") <(snapshot) || true)"
  rows=$((rows + 1))
}

# ---- sessions ----
# Starts the tool in files/; as the user nobody when the script runs as root,
# so that permissions can be withheld from it.
start() {
  rm -f exit-status
  local as=''
  if [[ $(id -u) == 0 ]]; then as='chown nobody "$(tty)"; setpriv --reuid=nobody --regid=nogroup --clear-groups'; fi
  open_pane "TERM=xterm-256color $as '$tool'; echo \$? > '$work/exit-status'; sleep 60" "$work/files"
  await_row 12 '   File to process?'
}

# An input the tool refuses: its box, then the dialogue from a cleared screen.
refused_input() {
  local label=$1 name=$2 message=$3
  answer "$name"
  await_text "$message"
  keys Enter
  await_row 12 '   File to process?'
  [[ "$(row 13)" == '' ]] || fail "$label: the screen was not cleared"
  check_promises "$label"
}

not_wave='This is not a Wave file'
not_pcm='This is not a PCM format Wave file'
not_mono='This is not a mono Wave file'
not_resolution='This is not a 24- or 32-bit Wave file'
not_found='File not found.'
unwritable='The output file could not be written'
is_input='The output file must not be the input file'

start
refused_input 'empty file' empty.wav "$not_wave"
refused_input '1 byte' bytes-1.wav "$not_wave"
refused_input '11 bytes' bytes-11.wav "$not_wave"
refused_input '12 bytes' bytes-12.wav "$not_pcm"
refused_input '20 bytes' bytes-20.wav "$not_pcm"
refused_input 'a text file' text.wav "$not_wave"
refused_input 'RIFX, big-endian' rifx.wav "$not_pcm"
refused_input 'lower-case wave' lower-case.wav "$not_wave"
refused_input 'extensible format 0xFFFE' extensible.wav "$not_pcm"
refused_input 'stereo' stereo.wav "$not_mono"
refused_input '8-bit' bits-8.wav "$not_resolution"
refused_input '16-bit' bits-16.wav "$not_resolution"
refused_input '64-bit' bits-64.wav "$not_resolution"
refused_input 'a folder' folder "$not_found"
refused_input 'a FIFO' fifo "$not_wave"
refused_input '/dev/null as input' /dev/null "$not_wave"
refused_input '/dev/zero as input' /dev/zero "$not_wave"
refused_input 'blanks at both ends' ' in.wav ' "$not_found"
refused_input 'a name of 10000 characters' "$(printf 'n%.0s' $(seq 1 10000))" "$not_found"

# Accepted, but 1431655765 samples need more memory than one array may hold.
answer ../near-4-GiB.wav
await_row 20 '                     Length       1431655765 samples'
answer never.wav
await_text 'Not enough memory to convert this file'
keys Enter
await_row 12 '   File to process?'
check_promises 'data size near 4 GiB on a small file'

# Outputs that cannot be written, one after another: each shows its box and
# asks again further down; then a good name ends the run.
answer in.wav
await_row 24 '   Output filename?'

# Whether the lowest output prompt on the screen is a new one, still
# without an answer.
new_output_prompt() { [[ "$(screen | grep '^   Output filename?' | tail -n 1)" == '   Output filename?' ]]; }

refused_output() {
  local label=$1 name=$2 message=$3
  answer "$name"
  await_text "$message"
  keys Enter
  eventually new_output_prompt || fail "$label: no new output prompt"
  check_promises "$label"
}
refused_output 'the input as ./name' ./in.wav "$is_input"
refused_output 'the input through a symbolic link' symlink.wav "$is_input"
refused_output 'the input through a hard link' hardlink.wav "$is_input"
refused_output 'an output in a missing folder' nowhere/out.wav "$unwritable"
refused_output 'a read-only output file' read-only.wav "$unwritable"
refused_output '/dev/null as output' /dev/null "$unwritable"
refused_output '/dev/zero as output' /dev/zero "$unwritable"
refused_output '/dev/full as output' /dev/full "$unwritable"
if [[ $(id -u) == 0 ]] && mkdir files/small-disk && mount -t tmpfs -o size=4k tmpfs files/small-disk 2>/dev/null; then
  mounted="$work/files/small-disk"
  chmod 777 files/small-disk
  before=$(snapshot)
  refused_output 'a full disk' small-disk/out.wav "$unwritable"
else
  rmdir files/small-disk 2>/dev/null || true
  echo "note: no small tmpfs can be mounted here; /dev/full stands for the full disk"
fi
answer out.wav
await_text '   press any key to quit'
keys -l q
await_exit_status exit-status 0
check_promises 'a good output after the refused ones' out.wav

# Inputs that convert, each in a run of its own; the row shows the figure
# that tells it apart.
converts() {
  local label=$1 name=$2 data_row=$3 data=$4
  start
  answer "$name"
  await_row 24 '   Output filename?'
  [[ "$(row "$data_row")" == "$data" ]] || fail "$label: row $data_row is '$(row "$data_row")', expected '$data'"
  answer out.wav
  await_text '   press any key to quit'
  keys -l q
  await_exit_status exit-status 0
  check_promises "$label" out.wav
}
converts '43 bytes' bytes-43.wav 20 '                     Length       0 samples'
converts '44 bytes, data size 0' bytes-44.wav 20 '                     Length       0 samples'
converts 'data size larger than the file' larger-than-file.wav 20 '                     Length       10 samples'
converts 'odd data size' odd-size.wav 20 '                     Length       1000 samples'
converts 'sample rate 0' rate-0.wav 21 '                     Duration     9.99999999999999E+998 seconds'
converts 'sample rate 0xFFFFFFFF' rate-max.wav 18 '                     Sample rate -1 Hz'

echo "bad input matrix: $rows rows passed"
