#!/usr/bin/env bash
# Points the real tool, in an 80 by 42 tmux pane, at the inputs and outputs a
# user may give it by mistake. Each row names what is given and the message
# the user must see. After every row the promises hold: every file that was
# there is unchanged (checksums), no file appeared that was not asked for,
# and the tool still answers at its prompt or has ended with exit status 0.
# There is a row for each way a run can end and for each kind of file that
# needs its own (folders, FIFOs, devices, links, read-only files, a size near
# 4 GiB); why a header is refused, and the figures a header gives, are the
# wave-file tests' to show, and a write that fails part-way is the dialogue
# script's (a file-size limit).
#
# usage: bad_input_matrix.sh path/to/corvane
set -euo pipefail

tool=$(realpath "$1")
work=$(mktemp -d)
source "$(dirname "$0")/tmux_pane.sh"
chmod 755 "$work"
cd "$work"
rows=0

# Mono 24-bit at 44100 Hz with `$1` bytes of samples, all of them present.
good() { wave_header WAVE 1 1 44100 24 "$1"; head -c "$1" /dev/urandom; }

mkdir files
cd files
good 0 > no-samples.wav
good 30000 > in.wav
printf 'This is a text file, not a sound.\n' > text.wav
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

start
refused_input 'a text file' text.wav 'This is not a Wave file'
refused_input 'a folder' folder 'File not found.'
refused_input 'a FIFO' fifo 'This is not a Wave file'
refused_input '/dev/zero as input' /dev/zero 'This is not a Wave file'
refused_input 'blanks at both ends' ' in.wav ' 'File not found.'
refused_input 'a name of 10000 characters' "$(printf 'n%.0s' $(seq 1 10000))" 'File not found.'

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
refused_output 'the input through a symbolic link' symlink.wav 'The output file must not be the input file'
refused_output 'the input through a hard link' hardlink.wav 'The output file must not be the input file'
refused_output 'a read-only output file' read-only.wav 'The output file could not be written'
refused_output '/dev/null as output' /dev/null 'The output file could not be written'
answer out.wav
await_text '   press any key to quit'
keys -l q
await_exit_status exit-status 0
check_promises 'a good output after the refused ones' out.wav

# A file without samples, in a run of its own: its arrays are refused, and it
# converts all the same, into a header alone.
start
answer no-samples.wav
await_row 20 '                     Length       0 samples'
answer out.wav
await_text '   press any key to quit'
keys -l q
await_exit_status exit-status 0
check_promises 'data size 0' out.wav

echo "bad input matrix: $rows rows passed"
