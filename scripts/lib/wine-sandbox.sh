# Throwaway Wine prefixes that cannot reach the host's files.
#
# A fresh prefix maps Z: to the host's root folder and links the user's
# folders to $HOME; a removal tool handed such a path would delete host files.
# Every prefix made here lives under the build tree, with HOME pointed inside
# it, keeps drive C: as its only drive, and holds no link that leads out of it.
#
# Source this file, then: wine_select; sandbox_create DIR; sandbox_run ...;
# sandbox_stop.

# Picks the Wine that can run on this machine and the builds it runs. Where
# the kernel runs 32-bit programs: 32-bit Wine, the i686 test build and the
# shipped QvnRemove.exe itself. Elsewhere (32-bit emulation turned off):
# 64-bit Wine and the x86_64 build of the same sources, program included.
wine_select() {
  if /usr/lib/wine/wine --version >/dev/null 2>&1; then
    WINE=/usr/lib/wine/wine WINE_ARCH=win32 WINE_BUILD=win32-tests WINE_PROGRAM_BUILD=win32
  elif [ -x /usr/lib/wine/wine64 ]; then
    WINE=/usr/lib/wine/wine64 WINE_ARCH=win64 WINE_BUILD=win64 WINE_PROGRAM_BUILD=win64
  else
    echo "wine-sandbox: no runnable Wine found" >&2
    return 1
  fi
  export WINE WINE_ARCH WINE_BUILD WINE_PROGRAM_BUILD
}

# Makes a new prefix in DIR (removed first if it exists).
sandbox_create() {
  local dir
  dir=$(realpath -m "$1")
  case "$dir" in /|/root|/home|/usr*|/etc*) echo "wine-sandbox: refusing $dir" >&2; return 1 ;; esac
  rm -rf "$dir"
  mkdir -p "$dir/home"
  export SANDBOX_DIR="$dir"
  export HOME="$dir/home"
  export WINEPREFIX="$dir/prefix"
  export WINEARCH="$WINE_ARCH"
  export WINEDEBUG=-all
  # Host file names are UTF-8 whatever the host's locale: Wine then lists a
  # name outside its code page in full to the wide functions (and as question
  # marks to the 8-bit ones), as Windows does.
  export LC_ALL=C.UTF-8
  export WINEDLLOVERRIDES="mscoree,mshtml="
  "$WINE" wineboot -i >"$dir/wineboot.log" 2>&1
  /usr/lib/wine/wineserver -w 2>/dev/null || true
  sandbox_seal && sandbox_add_wine_fonts
}

# Wine's own fonts, Marlett among them: Wine draws the title bar's minimise,
# maximise and close buttons as its letters "0", "1" and "r", which is what
# shows without it. The fonts-wine package puts them in /usr/share/wine/fonts,
# but this Wine looks for them in the folder beside its data folder
# (/usr/share/fonts) and finds none there. Every Wine looks in the prefix's
# C:\windows\Fonts too: they are copied there (copies, not links, which would
# lead out of the prefix).
sandbox_add_wine_fonts() {
  local fonts=/usr/share/wine/fonts
  if [ ! -f "$fonts/marlett.ttf" ]; then
    echo "wine-sandbox: Wine's own fonts are missing from $fonts (package fonts-wine)" >&2
    return 1
  fi
  cp "$fonts"/*.ttf "$fonts"/*.fon "$WINEPREFIX/drive_c/windows/Fonts/"
}

# Removes every drive letter and link that leads out of the prefix (Z: and the
# serial ports among them), and turns the user-folder links into plain folders
# inside the prefix; then checks. A drive letter or link that a test made to a
# folder inside the prefix stays. Wine's mount manager adds serial-port links
# at each start, so this runs again before every program.
sandbox_seal() {
  local link
  while IFS= read -r -d '' link; do
    sandbox_inside "$link" || rm -f "$link"
  done < <(find "$WINEPREFIX/dosdevices" -mindepth 1 -maxdepth 1 ! -name 'c:' -print0)
  while IFS= read -r -d '' link; do
    sandbox_inside "$link" && continue
    rm -f "$link"
    mkdir -p "$link"
  done < <(find "$WINEPREFIX/drive_c" -type l -print0)
  sandbox_check
}

# True when the link resolves to a place inside the prefix.
sandbox_inside() {
  local target
  target=$(realpath -m "$1")
  case "$target" in "$WINEPREFIX"/*) return 0 ;; *) return 1 ;; esac
}

# Makes drive LETTER (d:) lead to FOLDER, a folder inside the prefix given
# relative to the prefix ("drive_d", "drive_c/windows").
sandbox_add_drive() {
  local letter=$1 folder=$2
  mkdir -p "$WINEPREFIX/$folder"
  ln -sfn "../$folder" "$WINEPREFIX/dosdevices/$letter"
  sandbox_check
}

# Fails when any link inside the prefix leads out of it.
sandbox_check() {
  local link target bad=0
  while IFS= read -r -d '' link; do
    target=$(realpath -m "$link")
    case "$target" in
      "$WINEPREFIX"/*) ;;
      *) echo "wine-sandbox: $link leads out of the prefix, to $target" >&2; bad=1 ;;
    esac
  done < <(find "$WINEPREFIX" -type l -print0)
  [ -e "$WINEPREFIX/dosdevices/z:" ] && { echo "wine-sandbox: z: is mapped" >&2; bad=1; }
  return $bad
}

# Sets the Windows version the prefix reports (win95 ... winxp).
sandbox_set_version() {
  sandbox_seal || return 1
  "$WINE" reg add 'HKCU\Software\Wine' /v Version /d "$1" /f >/dev/null 2>&1
}

# Runs a Windows program from C:\ inside the prefix after checking the prefix.
# Usage: sandbox_run WORKDIR_UNDER_C PROGRAM ARGS...
sandbox_run() {
  local workdir="$WINEPREFIX/drive_c/$1"
  shift
  sandbox_seal || return 1
  mkdir -p "$workdir"
  (cd "$workdir" && "$WINE" "$@")
}

# Stops this prefix's wineserver, and nothing else.
sandbox_stop() {
  [ -n "${WINEPREFIX:-}" ] || return 0
  WINEPREFIX="$WINEPREFIX" /usr/lib/wine/wineserver -k 2>/dev/null || true
}
