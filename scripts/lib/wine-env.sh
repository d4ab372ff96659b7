# Sourced by the scripts that run the Windows builds under Wine. Sets up, once per build folder,
# a Wine prefix and an X server, and tells which of the two builds this machine can run:
#   ZIR_WINE64        the 64-bit loader, started directly (Debian's `wine` wrapper starts the
#                     32-bit loader for every program once wine32:i386 is installed)
#   ZIR_WINE32        the loader for 32-bit programs, or empty when this machine cannot run them
#   ZIR_WINE_BUILDS   the presets whose programs run here: "mingw-x86_64" or both
#   WINEPREFIX, WINEDEBUG, DISPLAY exported; zir_wine_stop ends the X server and wineserver.

zir_wine_root=${ZIR_WINE_ROOT:-$PWD/build/wine}
mkdir -p "$zir_wine_root"
export WINEDEBUG=${WINEDEBUG:--all}
export WINEPREFIX=${WINEPREFIX:-$zir_wine_root/prefix}
# No "install Mono/Gecko?" dialogs: zir needs neither.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}

ZIR_WINE64=/usr/lib/wine/wine64
[ -x "$ZIR_WINE64" ] || ZIR_WINE64=$(command -v wine64 || true)
if [ -z "$ZIR_WINE64" ]; then
  echo "wine-env: no 64-bit Wine loader (install wine64)" >&2
  return 1 2>/dev/null || exit 1
fi
export ZIR_WINE64

# An X server for the windows, unless one is given.
zir_xvfb_pid=
if [ -z "${DISPLAY:-}" ]; then
  for n in $(seq 90 130); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] || { zir_display=$n; break; }
  done
  Xvfb ":$zir_display" -screen 0 1280x900x24 -nolisten tcp >/dev/null 2>&1 &
  zir_xvfb_pid=$!
  export DISPLAY=":$zir_display"
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$zir_display" ] && break; sleep 0.1; done
fi

# The prefix is made once; a running wineserver keeps later starts fast.
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "wine-env: creating the Wine prefix $WINEPREFIX"
  "$ZIR_WINE64" wineboot --init >/dev/null 2>&1 || true
  # The server wineboot started must end first: a second "wineserver -p" beside it only finds
  # it running and goes, and every test program then pays for a server of its own.
  timeout 30 wineserver -w >/dev/null 2>&1 || true
fi
wineserver -p >/dev/null 2>&1 || true
# Wine starts its services with the first program, and they live as long as the server, holding
# that program's standard streams: started here they hold /dev/null, not a test program's pipes,
# whose reader would otherwise never see their end.
timeout 60 "$ZIR_WINE64" cmd /c exit </dev/null >/dev/null 2>&1 || true

# Can this machine run a 32-bit Windows program? Some kernels cannot execute 32-bit code at all
# (Wine's 32-bit loader then fails with "Exec format error").
ZIR_WINE32=
zir_probe="$zir_wine_root/probe32.exe"
if command -v i686-w64-mingw32-gcc >/dev/null && [ ! -f "$zir_probe" ]; then
  printf 'int main(void) { return 42; }\n' > "$zir_wine_root/probe32.c"
  i686-w64-mingw32-gcc -O0 -static -o "$zir_probe" "$zir_wine_root/probe32.c" 2>/dev/null || true
fi
if [ -f "$zir_probe" ] && command -v wine >/dev/null; then
  zir_probe_status=0
  timeout 60 wine "$zir_probe" >/dev/null 2>&1 || zir_probe_status=$?
  [ "$zir_probe_status" -eq 42 ] && ZIR_WINE32=$(command -v wine)
fi
export ZIR_WINE32
if [ -n "$ZIR_WINE32" ]; then
  ZIR_WINE_BUILDS="mingw-i686 mingw-x86_64"
  echo "wine-env: this machine runs 32-bit Windows programs: both builds run under Wine"
else
  ZIR_WINE_BUILDS="mingw-x86_64"
  echo "wine-env: this machine cannot run 32-bit programs: the 64-bit build runs under Wine," \
       "the 32-bit build is checked without running it"
fi
export ZIR_WINE_BUILDS

# The loader for a preset's programs.
zir_wine_loader() {
  case "$1" in
    mingw-i686) echo "$ZIR_WINE32" ;;
    *) echo "$ZIR_WINE64" ;;
  esac
}

zir_wine_stop() {
  wineserver -k >/dev/null 2>&1 || true
  [ -z "$zir_xvfb_pid" ] || kill "$zir_xvfb_pid" 2>/dev/null || true
}
