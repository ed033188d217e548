#!/usr/bin/env bash
# Drives the Windows tool under wine in an 80 by 42 tmux pane as a person
# would: the first screen and the window title, a missing file with the box
# that reports it and the fresh start after it, one whole conversion with its
# known output bytes, and a larger file that the Windows and the Linux build
# must turn into the same bytes. Standard output is redirected away from the
# terminal: the dialogue must still show on the console and write nothing
# there. (Standard input stays on the terminal: wine reads the console's keys
# from it.)
#
# usage: dialogue_under_wine.sh path/to/corvane.exe path/to/linux/corvane
set -euo pipefail

windows_tool=$(realpath "$1")
linux_tool=$(realpath "$2")
work=$(mktemp -d)
socket="corvane-wine-e2e-$$"
trap 'tmux -L "$socket" kill-server 2>/dev/null || true; rm -rf "$work"' EXIT
cd "$work"

export WINEDEBUG=-all
export WINEPREFIX=${WINEPREFIX:-/tmp/corvane-wine-$(id -u)}
# No display: a box window cannot be shown, so the tool draws its boxes in
# the console.
unset DISPLAY WAYLAND_DISPLAY
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  (
    flock 9
    # Without the .NET and HTML engines, which wine would offer to fetch.
    [[ -f "$WINEPREFIX/system.reg" ]] || { WINEDLLOVERRIDES='mscoree,mshtml=' wineboot --init && wineserver --wait; }
  ) 9>"$WINEPREFIX.lock" >/dev/null 2>&1
fi

session=
fail() {
  echo "FAIL: $*" >&2
  echo "---- screen ($session) ----" >&2
  screen >&2 || true
  exit 1
}

screen() { tmux -L "$socket" capture-pane -p -t "$session"; }
row() { screen | sed -n "$1p"; }

# Waits until row $1 reads exactly $2.
await_row() {
  local n=$1 expected=$2
  for _ in $(seq 1 400); do
    [[ "$(row "$n")" == "$expected" ]] && return 0
    sleep 0.05
  done
  fail "row $n never became '$expected' (it is '$(row "$n")')"
}

expect_row() {
  [[ "$(row "$1")" == "$2" ]] || fail "row $1 is '$(row "$1")', expected '$2'"
}

# Waits until some row of the screen holds $1.
await_text() {
  for _ in $(seq 1 400); do
    screen | grep -qF -- "$1" && return 0
    sleep 0.05
  done
  fail "the screen never showed '$1'"
}

keys() { tmux -L "$socket" send-keys -t "$session" "$@"; }

# Starts `$2` in a fresh 80 by 42 pane named $1, its standard output going to
# $1.stdout and its exit status to $1.status.
start() {
  session=$1
  tmux -L "$socket" new-session -d -x 80 -y 42 -s "$session" \
    "TERM=xterm-256color $2 > '$session.stdout'; echo \$? > '$session.status'; sleep 60"
}

# Waits for the end of the run that the last key started: exit status 0.
await_exit() {
  for _ in $(seq 1 200); do [[ -s "$session.status" ]] && break; sleep 0.05; done
  [[ "$(cat "$session.status" 2>/dev/null)" == 0 ]] ||
    fail "exit status '$(cat "$session.status" 2>/dev/null)', expected 0"
  [[ ! -s "$session.stdout" ]] || fail "the redirected standard output received $(wc -c < "$session.stdout") bytes"
}

prompt='   File to process?'

# Converts $3 into $4 with the tool started by `$2` in pane $1.
convert() {
  start "$1" "$2"
  await_row 12 "$prompt"
  keys -l "$3"
  keys Enter
  await_row 24 '   Output filename?'
  keys -l "$4"
  keys Enter
  await_row 41 '   press any key to quit'
  keys -l 'k'
  await_exit
}

hex() { od -An -tx1 -v "$1" | tr -s ' \n' ' ' | sed 's/^ //;s/ $//'; }

# Little-endian bytes of $1, $2 of them, as printf escapes.
le() {
  local value=$1 count=$2 bytes=''
  for ((i = 0; i < count; i++)); do
    bytes+=$(printf '\\x%02x' $(((value >> (8 * i)) & 255)))
  done
  printf '%s' "$bytes"
}

# The ten 24-bit samples whose error signal is known, at 44100 Hz.
{
  printf 'RIFF\x42\x00\x00\x00WAVEfmt \x10\x00\x00\x00\x01\x00\x01\x00'
  printf '\x44\xac\x00\x00\xcc\x04\x02\x00\x03\x00\x18\x00data\x1e\x00\x00\x00'
  printf '\x80\x01\x00\x64\x00\x00\x9c\xff\xff\x00\xff\x7f\x00\x00\x80'
  printf '\x00\x00\x00\x01\x00\x00\x7f\x00\x00\x80\x00\x00\x81\x00\x00'
} > in.wav

# 60000 32-bit samples from a seeded generator, at 48000 Hz.
count=60000
{
  printf "RIFF$(le $((36 + 4 * count)) 4)WAVEfmt $(le 16 4)$(le 1 2)$(le 1 2)"
  printf "$(le 48000 4)$(le 192000 4)$(le 4 2)$(le 32 2)data$(le $((4 * count)) 4)"
  RANDOM=20260611
  samples=''
  for ((i = 0; i < count; i++)); do
    printf -v sample '\\x%02x\\x%02x\\x%02x\\x%02x' $((RANDOM & 255)) $((RANDOM & 255)) $((RANDOM & 255)) \
      $((RANDOM & 255))
    samples+=$sample
  done
  printf "$samples"
} > big.wav

start windows "wine '$windows_tool'"
await_row 12 "$prompt"
expect_row 2 '   Corvane v1'
expect_row 8 '   NOTE - Input file must be mono 24-bit packed integer or 32-bit integer'
title=$(tmux -L "$socket" display-message -p -t "$session" '#{pane_title}')
[[ "$title" == Corvane ]] || fail "the window title is '$title'"

# A name that leads nowhere: the box, then the dialogue from a cleared screen.
keys -l 'missing.wav'
keys Enter
await_text '  ERROR'
await_text 'File not found.'
await_text 'Please enter a valid filename'
keys Enter
await_row 12 "$prompt"
expect_row 13 ''
screen | grep -qF 'ERROR' && fail "the box is still on the screen"

# The real name, typed with a slip mended by Backspace.
keys -l 'in.wab'
keys BSpace
keys -l 'v'
await_row 12 "$prompt  in.wav"
keys Enter

await_row 24 '   Output filename?'
expect_row 15 '                     FILE DATA'
expect_row 17 '                     Channels     1'
expect_row 18 '                     Sample rate  44100 Hz'
expect_row 19 '                     Resolution   24 bits'
expect_row 20 '                     Length       10 samples'
expect_row 21 '                     Duration     0 seconds'

keys -l 'out.wav'
keys Enter
await_row 41 '   press any key to quit'
expect_row 27 '   Working...'
expect_row 29 '   Reading input file...'
expect_row 30 '   Done'
expect_row 32 '   Generating output values...'
expect_row 33 '   Done'
expect_row 35 '   Writing output file...'
expect_row 36 '   Done'
expect_row 40 '   Job finished'
[[ ! -e windows.status ]] || fail "the tool ended before the final key"
keys -l 'k'
await_exit

expected='52 49 46 46 38 00 00 00 57 41 56 45 66 6d 74 20 10 00 00 00 01 00 01 00
44 ac 00 00 88 58 01 00 02 00 10 00 64 61 74 61 14 00 00 00 40 1f 96 e7
6a 18 00 00 00 00 01 00 c1 ff ff e0 c0 e0 02 1f'
[[ "$(hex out.wav)" == "$(echo $expected)" ]] || fail "output bytes: $(hex out.wav)"

# The larger file, once through each build.
convert windows-big "wine '$windows_tool'" big.wav big-windows.wav
convert linux-big "'$linux_tool' < /dev/null" big.wav big-linux.wav
[[ $(stat -c %s big-windows.wav) == $((44 + 2 * count)) ]] || fail "big-windows.wav has $(stat -c %s big-windows.wav) bytes"
cmp big-windows.wav big-linux.wav || fail "the two builds wrote different bytes for big.wav"

echo "dialogue under wine: 1 passed, 0 failed"
