# Sourced by whatever runs a Windows program under wine for the tests: wine's
# settings, and a private wine prefix under /tmp (unless WINEPREFIX names
# another), made on first use without the .NET and HTML engines, which wine
# would offer to fetch. Programs started at the same time make it once.

export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-/tmp/corvane-wine-$(id -u)}
# Without a display no window can be shown, and wine must not look for one.
unset DISPLAY WAYLAND_DISPLAY

if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  (
    flock 9
    [[ -f "$WINEPREFIX/system.reg" ]] || { WINEDLLOVERRIDES='mscoree,mshtml=' wineboot --init && wineserver --wait; }
  ) 9>"$WINEPREFIX.lock" >/dev/null 2>&1
fi
