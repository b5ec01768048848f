# Shared by scripts/run, scripts/test and scripts/wine-exec: the private Wine
# prefix kept in the build folder and a virtual display when there is none.
# Everything started here is ended by its process id.

QUILLORY_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
QUILLORY_WINBUILD="$QUILLORY_ROOT/build/windows"

quillory_wine_env() {
  export WINEPREFIX="${QUILLORY_WINEPREFIX:-$QUILLORY_WINBUILD/wineprefix}"
  export WINEDEBUG=-all
  # No Mono or Gecko: the program needs neither, and their installers ask.
  export WINEDLLOVERRIDES="mscoree=;mshtml="
  export WINEARCH=win64
}

# Creates the prefix once and gives it the virtual desktop; concurrent callers
# wait on the lock. A prefix made before the desktop setting gets it here too.
quillory_wine_prefix() {
  quillory_wine_env
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    local changed=
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
      wineboot -i >/dev/null 2>&1 || true
      changed=1
    fi
    quillory_wine_fonts
    if [ -n "${QUILLORY_LOGPIXELS:-}" ] && ! quillory_wine_has_dpi; then
      # Where Wine's user32 and its fonts read the screen's DPI.
      local dword
      dword=$(printf '0x%x' "$QUILLORY_LOGPIXELS")
      wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dword" /f \
        >/dev/null 2>&1 || true
      wine reg add 'HKCC\Software\Fonts' /v LogPixels /t REG_DWORD /d "$dword" /f \
        >/dev/null 2>&1 || true
      changed=1
    fi
    if ! quillory_wine_has_desktop; then
      wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1 || true
      wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default \
        /d "$QUILLORY_DESKTOP_SIZE" /f >/dev/null 2>&1 || true
      changed=1
    fi
    if [ -n "$changed" ]; then
      # The first program in a new prefix still finishes setting it up (and
      # takes in the fonts); do that now, alone, rather than under two tests
      # starting at once. The desktop a server already shows stays until that
      # server ends, and only then is the registry written to user.reg.
      timeout 120 wine cmd.exe /c exit >/dev/null 2>&1 || true
      timeout 60 wineserver -w 2>/dev/null || true
    fi
  ) 9>"$WINEPREFIX.lock"
}

# No crash dialog and no debugger in the prefix: an unhandled exception then
# ends the process with its code, which a test can read, instead of leaving it
# waiting in a box nobody answers.
quillory_wine_no_debugger() {
  local done="$WINEPREFIX/.quillory-no-debugger"
  [ -f "$done" ] && return 0
  (
    flock 9
    [ -f "$done" ] && exit 0
    wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f \
      >/dev/null 2>&1 &&
      { wine reg delete 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' \
          /v Debugger /f >/dev/null 2>&1 || true; } &&
      touch "$done"
  ) 9>"$WINEPREFIX.lock"
}

# Every program of the prefix runs inside one Wine desktop window of this size,
# the size of the Xvfb screen, rather than as top-level X windows. Without a
# window manager Wine waits about two seconds for an answer that never comes
# each time a visible top-level X window closes; inside the desktop window
# there is no such wait.
QUILLORY_DESKTOP_SIZE=${QUILLORY_DESKTOP_SIZE:-1280x1024}

# Whether user.reg holds both values of the virtual desktop.
quillory_wine_has_desktop() {
  [ -f "$WINEPREFIX/user.reg" ] || return 1
  awk -v size="$QUILLORY_DESKTOP_SIZE" '
    /^\[/ { section = $1 }
    section == "[Software\\\\Wine\\\\Explorer]" && $0 == "\"Desktop\"=\"Default\"" { name = 1 }
    section == "[Software\\\\Wine\\\\Explorer\\\\Desktops]" && $0 == "\"Default\"=\"" size "\"" { dims = 1 }
    END { exit !(name && dims) }' "$WINEPREFIX/user.reg"
}

# The screen's DPI of a prefix made for another scale than the usual 96
# (scripts/wine-dpi sets QUILLORY_LOGPIXELS); the developers' prefix has none.
quillory_wine_has_dpi() {
  [ -f "$WINEPREFIX/user.reg" ] || return 1
  awk -v want="$(printf '"LogPixels"=dword:%08x' "$QUILLORY_LOGPIXELS")" '
    /^\[/ { inside = index($0, "[Control Panel\\\\Desktop]") == 1 }
    inside && $0 == want { found = 1 }
    END { exit !found }' "$WINEPREFIX/user.reg"
}

# Debian's fonts-wine puts Wine's Tahoma where this Wine does not look, and
# "MS Shell Dlg" then falls back to DejaVu Sans, a good deal wider than the
# Tahoma of Windows. In the prefix's own font folder Wine finds it. A prefix
# made to see the program without it (QUILLORY_WINE_TAHOMA=0) gets only Marlett.
quillory_wine_fonts() {
  local fonts="$WINEPREFIX/drive_c/windows/Fonts" font wanted="tahoma.ttf tahomabd.ttf marlett.ttf"
  [ "${QUILLORY_WINE_TAHOMA:-1}" = 0 ] && wanted=marlett.ttf
  mkdir -p "$fonts"
  for font in $wanted; do
    if [ -f "/usr/share/wine/fonts/$font" ] && [ ! -f "$fonts/$font" ]; then
      cp "/usr/share/wine/fonts/$font" "$fonts/$font"
    fi
  done
}

QUILLORY_XVFB_PID=
# Starts Xvfb on a free display when DISPLAY is unset.
quillory_display() {
  [ -n "${DISPLAY:-}" ] && return 0
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 "${QUILLORY_DESKTOP_SIZE}x24" -nolisten tcp >/dev/null 2>&1 &
    QUILLORY_XVFB_PID=$!
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && { export DISPLAY=":$n"; return 0; }
      kill -0 "$QUILLORY_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "could not start Xvfb" >&2
  return 1
}

quillory_display_stop() {
  if [ -n "$QUILLORY_XVFB_PID" ]; then
    kill "$QUILLORY_XVFB_PID" 2>/dev/null || true
    wait "$QUILLORY_XVFB_PID" 2>/dev/null || true
    QUILLORY_XVFB_PID=
  fi
}
