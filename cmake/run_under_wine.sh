#!/usr/bin/env bash
# Runs a Windows program under wine for the tests, passing on its standard
# output, standard error and exit status.
#
# Wine gives a console program a console only when it starts on a terminal,
# so the program runs on a pseudo-terminal of its own (script); what it
# writes to standard output and error is collected in files and passed on
# afterwards. The wine prefix is made on first use (wine_prefix.sh).
#
# usage: run_under_wine.sh program.exe [argument...]
set -euo pipefail

source "$(dirname "$0")/wine_prefix.sh"

results=$(mktemp -d)
trap 'rm -rf "$results"' EXIT
command=$(printf '%q ' wine "$@")
status=0
script --quiet --return --command "$command >'$results/stdout' 2>'$results/stderr'" /dev/null \
  </dev/null >/dev/null 2>&1 || status=$?
tr -d '\r' <"$results/stdout"
tr -d '\r' <"$results/stderr" >&2
exit "$status"
