#!/usr/bin/env bash
# Drives the Windows tool under wine in tmux panes as a person would, in panes
# of 80 by 24, 100 by 30 and 80 by 42, beside the Linux build in a pane of the
# same size: a missing file's box, then a larger file named as a dropped file
# pastes it, in quotes, with a letter beyond ASCII and a slip mended by
# Backspace ("bïg.wav"): typed, shown and opened in the console's code page
# (OEM). Both builds must show the same rows while they wait for each key,
# and write the same bytes; the Windows window's title is the tool's.
# Standard output is redirected away from the terminal: the dialogue must
# still show on the console and write nothing there. (Standard input stays on
# the terminal: wine reads the console's keys from it.)
#
# usage: dialogue_under_wine.sh path/to/corvane.exe path/to/linux/corvane
set -euo pipefail
# The terminal and wine read and write UTF-8, whatever the caller's locale.
export LC_ALL=C.UTF-8

windows_tool=$(realpath "$1")
linux_tool=$(realpath "$2")
work=$(mktemp -d)
source "$(dirname "$0")/tmux_pane.sh"
source "$(dirname "$0")/../../cmake/wine_prefix.sh"
cd "$work"

# Starts `$2` in a fresh pane, its standard output going to $1.stdout and
# its exit status to $1.status.
start() {
  run=$1
  open_pane "TERM=xterm-256color $2 > '$run.stdout'; echo \$? > '$run.status'; sleep 60"
}

# Waits for the end of the run that the last key started: exit status 0, and
# nothing written to the redirected standard output.
await_exit() {
  await_exit_status "$run.status" 0
  [[ ! -s "$run.stdout" ]] || fail "the redirected standard output received $(wc -c < "$run.stdout") bytes"
}

prompt='   File to process?'

# Runs the tool started by `$2` in a pane of the current size, through a
# missing file's box and a conversion of the dropped bïg.wav, writing the
# screens it shows at each wait for a key into $1.screens; the output file
# becomes $1.wav.
converted_screens() {
  start "$1" "$2"
  {
    settled_screen "$prompt"
    answer 'missing.wav'
    settled_screen 'Please enter a valid filename'
    keys Enter
    keys -l '"bïg.wab'
    keys BSpace
    answer 'v" '
    settled_screen '   Output filename?'
    answer 'big-out.wav'
    settled_screen '   press any key to quit'
  } > "$1.screens"
  keys -l 'k'
  await_exit
  mv big-out.wav "$1.wav"
}

# 60000 random 32-bit samples at 48000 Hz: both builds convert the same file.
count=60000
{ wave_header WAVE 1 1 48000 32 $((4 * count)); head -c $((4 * count)) /dev/urandom; } > bïg.wav

# The larger file through both builds, in panes of three sizes.
for size in 80x24 100x30 80x42; do
  pane_columns=${size%x*}
  pane_rows=${size#*x}
  converted_screens "linux-$size" "'$linux_tool' < /dev/null"
  converted_screens "windows-$size" "wine '$windows_tool'"
  title=$(tmux -L "$pane_socket" display-message -p -t e2e '#{pane_title}')
  [[ "$title" == Corvane ]] || fail "the window title is '$title'"
  diff "linux-$size.screens" "windows-$size.screens" >&2 || fail "in $size the Windows build showed other rows"
  [[ $(stat -c %s "windows-$size.wav") == $((44 + 2 * count)) ]] || fail "windows-$size.wav has the wrong size"
  cmp "linux-$size.wav" "windows-$size.wav" || fail "in $size the two builds wrote different bytes for big.wav"
done

echo "dialogue under wine: 4 passed, 0 failed"
