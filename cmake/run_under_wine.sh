#!/usr/bin/env bash
# Runs a Windows program under wine for the tests, passing on its standard
# output, standard error and exit status.
#
# Wine gives a console program a console only when it starts on a terminal,
# so the program runs on a pseudo-terminal of its own (script); what it
# writes to standard output and error is collected in files and passed on
# afterwards. The wine prefix is a private one under /tmp unless WINEPREFIX
# names another; the first run makes it.
#
# usage: run_under_wine.sh program.exe [argument...]
set -euo pipefail

export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-/tmp/corvane-wine-$(id -u)}
# Without a display no window can be shown, and wine must not look for one.
unset DISPLAY WAYLAND_DISPLAY

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  # Programs started at the same time must not make the prefix twice.
  (
    flock 9
    # Without the .NET and HTML engines, which wine would offer to fetch.
    [[ -f "$WINEPREFIX/system.reg" ]] || { WINEDLLOVERRIDES='mscoree,mshtml=' wineboot --init && wineserver --wait; }
  ) 9>"$WINEPREFIX.lock" >/dev/null 2>&1
fi

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
command=$(printf '%q ' wine "$@")
status=0
script --quiet --return --command "$command >'$results/stdout' 2>'$results/stderr'" /dev/null \
  </dev/null >/dev/null 2>&1 || status=$?
tr -d '\r' <"$results/stdout"
tr -d '\r' <"$results/stderr" >&2
exit "$status"
