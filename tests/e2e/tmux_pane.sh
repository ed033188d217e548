# Shared by the end-to-end scripts (source it): a program in a tmux pane of
# pane_columns by pane_rows (80 by 42 unless the caller sets them), read back
# row by row and driven with keys. Every pane gets a tmux server of its own,
# because a new session on a server that is still shutting down fails.
#
# The caller sets `work` (its scratch folder, removed at exit) before
# sourcing, and calls `open_pane` with the shell command to run.

pane_socket=''
pane_count=0
pane_columns=80
pane_rows=42

close_pane() { [[ -z "$pane_socket" ]] || tmux -L "$pane_socket" kill-server 2>/dev/null || true; }
trap 'close_pane; rm -rf "$work"' EXIT

# Starts `$1` in a new pane, in the folder `$2` (the current one by default).
open_pane() {
  close_pane
  pane_socket="corvane-e2e-$$-$((pane_count += 1))"
  tmux -L "$pane_socket" new-session -d -x "$pane_columns" -y "$pane_rows" -s e2e -c "${2:-$PWD}" "$1"
}

screen() { tmux -L "$pane_socket" capture-pane -p -t e2e; }
# The id of the process that the pane's shell runs now: this pane's own
# program, whatever else runs beside the test.
pane_program() { pgrep -P "$(tmux -L "$pane_socket" display-message -p -t e2e '#{pane_pid}')" | head -n 1; }
row() { screen | sed -n "$1p"; }
keys() { tmux -L "$pane_socket" send-keys -t e2e "$@"; }

fail() {
  echo "FAIL: $*" >&2
  echo "---- screen ----" >&2
  screen >&2 || true
  exit 1
}

# Runs `$@` every 50 ms, for up to 15 s, until it succeeds.
eventually() { for _ in $(seq 1 300); do "$@" && return 0; sleep 0.05; done; return 1; }
row_is() { [[ "$(row "$1")" == "$2" ]]; }
shows() { screen | grep -qF -- "$1"; }

# Waits until row $1 reads exactly $2, or until some row holds $1.
await_row() { eventually row_is "$1" "$2" || fail "row $1 never became '$2' (it is '$(row "$1")')"; }
await_text() { eventually shows "$1" || fail "the screen never showed '$1'"; }
expect_row() { row_is "$1" "$2" || fail "row $1 is '$(row "$1")', expected '$2'"; }

# Waits up to 30 s until the screen holds $1 and then stays as it is for a
# moment, as it does while the program waits for a key, and prints it.
settled_screen() {
  local last='' now
  for _ in $(seq 1 300); do
    now=$(screen)
    if [[ "$now" == *"$1"* && "$now" == "$last" ]]; then
      printf '%s\n' "$now"
      return 0
    fi
    last=$now
    sleep 0.1
  done
  fail "the screen never settled showing '$1'"
}

# The file data block of a mono file, as the screen shows it after the input
# name: sample rate, resolution, length and duration as their texts read.
expect_file_data() {
  expect_row 15 '                     FILE DATA'
  expect_row 17 '                     Channels     1'
  expect_row 18 "                     Sample rate  $1 Hz"
  expect_row 19 "                     Resolution   $2 bits"
  expect_row 20 "                     Length       $3 samples"
  expect_row 21 "                     Duration     $4 seconds"
}

# Converts the input $2 into the output $3 with the tool that the command $1
# starts, in a fresh pane, through to its exit with status 0 after the final
# key. The pane keeps showing the dialogue's last screen afterwards.
convert_in_pane() {
  rm -f exit-status
  open_pane "TERM=xterm-256color $1; echo \$? > exit-status; sleep 60"
  await_row 12 '   File to process?'
  answer "$2"
  await_row 24 '   Output filename?'
  answer "$3"
  await_row 41 '   press any key to quit'
  keys -l 'k'
  await_exit_status exit-status 0
}

# Types a line and ends it with Enter.
answer() { keys -l "$1" && keys Enter; }

# Waits until the file $1 holds something and checks that it reads $2: the
# tool's exit status, written by the pane's shell once the tool has ended.
await_exit_status() {
  eventually test -s "$1" || true
  [[ "$(cat "$1" 2>/dev/null)" == "$2" ]] || fail "exit status '$(cat "$1" 2>/dev/null)', expected $2"
}

# Escapes (\xHH) of a number's bytes, for printf to turn into bytes.
le16() { printf '\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)); }
le32() { printf '\\x%02x\\x%02x\\x%02x\\x%02x' $(($1 & 255)) $(($1 >> 8 & 255)) $(($1 >> 16 & 255)) $(($1 >> 24 & 255)); }

# A canonical 44-byte WAV header: form tag, format code, channels, sample
# rate, bits per sample, data size.
wave_header() {
  local form=$1 format=$2 channels=$3 rate=$4 bits=$5 size=$6
  printf "RIFF$(le32 $((size + 36)))${form}fmt $(le32 16)$(le16 "$format")$(le16 "$channels")"
  printf "$(le32 "$rate")$(le32 $((rate * bits / 8 * channels & 0xFFFFFFFF)))$(le16 $((bits / 8 * channels)))"
  printf "$(le16 "$bits")data$(le32 "$size")"
}
