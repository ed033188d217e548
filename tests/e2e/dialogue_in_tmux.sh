#!/usr/bin/env bash
# Drives the real tool in an 80 by 42 tmux pane as a person would.
#
# 1. A missing file and its message box, then one whole conversion of a file
#    whose name is not ASCII, checking the screen rows and the output bytes
#    against the reference conversion's.
#    Standard input, output and error are redirected away from the terminal:
#    the dialogue must still show on it and read the keyboard, and must
#    neither read the one nor write the others. A euro sign, which the
#    console's code page lacks, is the final key.
# 2. Under a file-size limit a write fails: its box, no partial file left,
#    the output name asked for again; then Ctrl+\ ends the tool at once.
# 3. With standard output alone redirected and SIGUSR1 ignored by the shell
#    that starts it (as nohup does with SIGHUP), the tool is sent SIGUSR1,
#    which it must ignore and go on reading keys; then it is stopped
#    (SIGTSTP), which gives the terminal its settings back, scribbled over,
#    continued (SIGCONT), which redraws the screen, and ended by SIGTERM.
# 4. SIGHUP, the terminal going away, ends the tool.
# Each time the terminal's settings (stty -g) must be as they were before.
#
# usage: dialogue_in_tmux.sh path/to/corvane path/to/reference_errors
set -euo pipefail

tool=$(realpath "$1")
reference=$(realpath "$2")
work=$(mktemp -d)
source "$(dirname "$0")/tmux_pane.sh"
cd "$work"

# Starts the tool with `$1` as its redirections and `$2` before it, recording
# the terminal's settings before and after and the exit status; the pane
# stays open afterwards.
start() {
  rm -f exit-status stty-before stty-after
  open_pane "stty -g > stty-before; $2 TERM=xterm-256color '$tool' $1; echo \$? > exit-status; stty -g > stty-after; sleep 60"
}

# Waits for the tool to end with status $1 and the terminal as it was.
await_end() {
  eventually test -s stty-after || true
  await_exit_status exit-status "$1"
  cmp -s stty-before stty-after || fail "terminal settings changed: '$(cat stty-before)' became '$(cat stty-after)'"
}

# Ten 24-bit samples made of text, and a thousand silent ones.
{ wave_header WAVE 1 1 44100 24 30; printf 'ten samples, thirty bytes long'; } > café.wav
{ wave_header WAVE 1 1 44100 24 3000; head -c 3000 /dev/zero; } > long.wav

# ---- 1: a whole conversion, every stream redirected ----
start '< /dev/null > stdout.txt 2> stderr.txt' ''
prompt='   File to process?'
await_row 12 "$prompt"
# Autowrap is off while the tool draws, so the bottom-right cell never scrolls the screen; on again after it.
[[ $(tmux -L "$pane_socket" display-message -p -t e2e '#{wrap_flag}') == 0 ]] || fail "autowrap is on"

# A name that leads nowhere: the box, then the dialogue from a cleared screen.
answer 'missing.wav'
await_text 'Please enter a valid filename'
keys Enter
await_row 12 "$prompt"
expect_row 13 ''

# The real name, typed with a slip mended by Backspace; Ctrl+J ends no line,
# and Ctrl+C is a key like the others.
keys -l 'café.wab'
keys BSpace
keys -l 'v'
keys C-j
keys C-c
await_row 12 "$prompt  café.wav"
sleep 0.3
expect_row 15 ''
keys Enter

await_row 24 '   Output filename?'
expect_file_data 44100 24 10 0

answer 'out.wav'
await_row 41 '   press any key to quit'
for row_text in '27:   Working...' '29:   Reading input file...' '30:   Done' '32:   Generating output values...' \
  '33:   Done' '35:   Writing output file...' '36:   Done' '40:   Job finished'; do
  expect_row "${row_text%%:*}" "${row_text#*:}"
done
[[ ! -e exit-status ]] || fail "the tool ended before the final key"

keys -l '€'
await_end 0
[[ $(tmux -L "$pane_socket" display-message -p -t e2e '#{wrap_flag}') == 1 ]] || fail "autowrap was left off"
[[ ! -s stdout.txt ]] || fail "the redirected standard output received $(wc -c < stdout.txt) bytes"
[[ ! -s stderr.txt ]] || fail "the redirected standard error received $(wc -c < stderr.txt) bytes"

{ wave_header WAVE 1 1 44100 16 20; "$reference" café.wav; } > expected.wav
cmp out.wav expected.wav || fail "the output is not the reference conversion's: $(od -An -tx1 -v out.wav)"

# ---- 2: a write beyond a 1 KiB file-size limit, then Ctrl+\ ----
start '' 'ulimit -f 1;'
await_row 12 "$prompt"
answer 'long.wav'
await_row 24 '   Output filename?'
answer 'big.wav'
await_text 'The output file could not be written'
[[ ! -e big.wav ]] || fail "the failed write left big.wav behind ($(wc -c < big.wav) bytes)"
keys Enter
await_row 37 '   Output filename?'
keys 'C-\'
await_end 131

# ---- 3: stopped, scribbled over, continued, then SIGTERM ----
# SIGUSR1, ignored by whoever started the tool, stays ignored.
start '> stdout.txt' "trap '' USR1;"
await_row 12 "$prompt"
program=$(pane_program)
[[ -n "$program" ]] || fail "no tool process to signal"
kill -USR1 "$program"
answer 'missing.wav'
await_text 'File not found.'
keys Enter
await_row 12 "$prompt"
kill -TSTP "$program"
terminal=$(tmux -L "$pane_socket" display-message -p -t e2e '#{pane_tty}')
settings_back() { [[ "$(stty -g < "$terminal")" == "$(cat stty-before)" ]]; }
eventually settings_back || fail "the stopped tool left the terminal raw"
printf 'scribble' > "$terminal"
await_row 12 "$prompt  scribble"
kill -CONT "$program"
await_row 12 "$prompt"
kill -TERM "$program"
await_end 143
[[ ! -s stdout.txt ]] || fail "the redirected standard output received $(wc -c < stdout.txt) bytes"

# ---- 4: SIGHUP while the tool waits for a name ----
start '' ''
await_row 12 "$prompt"
kill -HUP "$(pane_program)"
await_end 129

echo "dialogue in tmux: 4 passed, 0 failed"
