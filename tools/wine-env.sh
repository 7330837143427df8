# Sourced by the Wine helpers: the project's own Wine prefix and a Japanese locale.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export WINEPREFIX=${QUILLET_WINEPREFIX:-$root/build/wineprefix}
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

# Creates the prefix on first use (under a lock, so parallel tests wait for one set-up).
ensure_wine_prefix() {
  [ -f "$WINEPREFIX/.quillet-ready-3" ] && return 0
  mkdir -p "$(dirname "$WINEPREFIX")"
  (
    flock 9
    [ -f "$WINEPREFIX/.quillet-ready-3" ] && exit 0
    wineboot --init >/dev/null 2>&1
    # The Japanese fonts the program names are served by the IPA fonts.
    local key='HKCU\Software\Wine\Fonts\Replacements'
    wine reg add "$key" /v "ＭＳ ゴシック" /d "IPAGothic" /f >/dev/null 2>&1
    wine reg add "$key" /v "ＭＳ Ｐゴシック" /d "IPAPGothic" /f >/dev/null 2>&1
    wine reg add "$key" /v "ＭＳ 明朝" /d "IPAMincho" /f >/dev/null 2>&1
    wine reg add "$key" /v "ＭＳ Ｐ明朝" /d "IPAPMincho" /f >/dev/null 2>&1
    # One virtual desktop holds every window: frames are drawn by Wine as on Windows, and
    # hiding a window does not wait for a window manager that Xvfb does not have.
    wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1280x800 /f >/dev/null 2>&1
    # Title-bar buttons are drawn with this font; Wine does not always find its own copy.
    cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/" 2>/dev/null
    wineserver -w
    touch "$WINEPREFIX/.quillet-ready-3"
  ) 9>"$WINEPREFIX.lock"
}
