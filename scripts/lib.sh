# Shared by the scripts: paths, the Wine environment and the builds.
# Source it; it defines functions and variables and changes nothing else.

GS_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
GS_BUILD=${GRIDSMITH_BUILD_DIR:-$GS_ROOT/build}
GS_JOBS=${GRIDSMITH_JOBS:-2}

# The Debian packages the builds, the tests and the Wine runs need.
GS_PACKAGES=(
  cmake ninja-build g++ googletest libstb-dev libtiff-dev libpng-dev zlib1g-dev libtiff-tools python3-pil
  parallel  # the README's batch over several machines
  libjpeg62-turbo-dev libjpeg-turbo-progs
  dpkg-dev locales
  clang libclang-rt-14-dev
  g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 mingw-w64-x86-64-dev
  wine wine64 xvfb xauth fonts-noto-cjk fonts-arphic-uming
  nsis zip  # the release package (scripts/package.sh)
)

# The glibc locales Wine's display languages need: Wine takes its UI language
# from LC_MESSAGES only for a locale glibc has.
GS_LOCALES=(zh_CN.UTF-8 en_US.UTF-8)

# What bench/host_vs_imagemagick.sh needs besides the builds (not the tests).
GS_BENCH_PACKAGES=(imagemagick time)

gs_log() { printf '%s\n' "$*" >&2; }

# gs_install_packages PACKAGE...: installs those of them that are missing.
gs_install_packages() {
  local missing=() package status sudo=()
  for package in "$@"; do
    status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null) || status=
    [[ $status == *' installed' ]] || missing+=("$package")
  done
  ((${#missing[@]})) || return 0
  gs_log "setup: installing ${missing[*]}"
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get update -qq &&
    "${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
}

# Generates those of GS_LOCALES that are missing (locale -a names them as
# zh_CN.utf8).
gs_generate_locales() {
  local missing=() name sudo=()
  for name in "${GS_LOCALES[@]}"; do
    locale -a 2>/dev/null | grep -qix "${name%.UTF-8}.utf8" || missing+=("$name")
  done
  ((${#missing[@]})) || return 0
  gs_log "setup: generating the locales ${missing[*]}"
  [[ $(id -u) -eq 0 ]] || sudo=(sudo)
  for name in "${missing[@]}"; do
    grep -qx "$name UTF-8" /etc/locale.gen ||
      "${sudo[@]}" sed -i "s/^# *\($name UTF-8\)\$/\1/" /etc/locale.gen
    grep -qx "$name UTF-8" /etc/locale.gen || echo "$name UTF-8" | "${sudo[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${sudo[@]}" locale-gen >/dev/null
}

# A prefix of our own: the tests change its registry, so never the user's.
# Wine's display language follows LC_MESSAGES, here GRIDSMITH_UI_LOCALE
# (Chinese unless it names another locale of GS_LOCALES), while the code page
# stays C.UTF-8's whatever the caller's locale: Wine rewrites the prefix's
# dialog font mappings whenever the code page changes between runs.
gs_wine_env() {
  export WINEPREFIX=${GRIDSMITH_WINEPREFIX:-${XDG_CACHE_HOME:-${HOME:-/root}/.cache}/gridsmith/wine}
  export WINEARCH=win64
  export WINEDEBUG=${WINEDEBUG:--all}
  # No Mono or Gecko: nothing here needs them, and their installers ask.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  unset LANGUAGE "${!LC_@}"
  export LANG=C.UTF-8 LC_MESSAGES=${GRIDSMITH_UI_LOCALE:-zh_CN.UTF-8}
}

# The prefix's settings version: raise it when gs_prepare_wine_prefix adds one.
GS_PREFIX_VERSION=5

gs_wine_prefix_ready() { [[ $(cat "$WINEPREFIX/.gridsmith-ready" 2>/dev/null) == "$GS_PREFIX_VERSION" ]]; }

# gs_wine_import KEY NAME=VALUE...: values into the prefix's registry, strings
# unless written dword:XXXXXXXX.
gs_wine_import() {
  local key=$1 pair value reg status=0
  shift
  reg=$(mktemp --suffix=.reg)
  {
    printf 'Windows Registry Editor Version 5.00\r\n\r\n[%s]\r\n' "$key"
    for pair in "$@"; do
      value=${pair#*=}
      [[ $value == dword:* ]] || value="\"$value\""
      printf '"%s"=%s\r\n' "${pair%%=*}" "$value"
    done
  } | iconv -f UTF-8 -t UTF-16 >"$reg"  # regedit reads UTF-16 with a BOM
  wine regedit /S "$reg" >/dev/null 2>&1 || status=$?
  rm -f "$reg"
  return $status
}

# The faces Windows has and this machine lacks, mapped to Debian's CJK fonts so
# dialogs render Chinese text: the dialog faces to Noto Sans CJK, which draws
# small Chinese with every stroke, and the Song faces (宋体, the rulers' and
# the links' font, asked for by cell height) to AR PL UMing, a Song face too,
# whose glyphs fill their cells as SimSun's do: Noto's tall cells would shrink
# them to specks.
gs_wine_font_faces() {
  local face faces=()
  for face in 'MS Shell Dlg' 'MS Shell Dlg 2' 'Microsoft YaHei' '微软雅黑' 'Tahoma'; do
    faces+=("$face=Noto Sans CJK SC")
  done
  for face in 'SimSun' '宋体' 'NSimSun' '新宋体'; do
    faces+=("$face=AR PL UMing CN")
  done
  gs_wine_import 'HKEY_LOCAL_MACHINE\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
    "${faces[@]}"
}

# Creates the prefix once, with the fonts above and a virtual desktop: Xvfb
# has no window manager, and without one Wine draws no captions and waits on
# every hidden or closed top-level window. An older prefix gets what it lacks.
gs_prepare_wine_prefix() {
  gs_wine_env
  gs_wine_prefix_ready && return 0
  if [[ ! -f $WINEPREFIX/.gridsmith-ready ]]; then
    gs_log "setup: creating the Wine prefix $WINEPREFIX"
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    wineboot -i >/dev/null 2>&1 || { gs_log "setup: wineboot failed"; return 1; }
  fi
  gs_log "setup: giving the Wine prefix its fonts and a virtual desktop"
  gs_wine_font_faces || { gs_log "setup: regedit failed"; return 1; }
  # The desktop fills gs_xvfb's screen, so that the dialog fits it at 200 %.
  gs_wine_import 'HKEY_CURRENT_USER\Software\Wine\Explorer' 'Desktop=Default' &&
    gs_wine_import 'HKEY_CURRENT_USER\Software\Wine\Explorer\Desktops' 'Default=1600x1200' ||
    { gs_log "setup: regedit failed"; return 1; }
  wineserver -w  # the registry reaches the disk when the server exits
  echo "$GS_PREFIX_VERSION" >"$WINEPREFIX/.gridsmith-ready"
}

# The prefix for a display of DPI dots per inch (144 is 150 %, 192 is 200 %):
# a copy of the main prefix beside it, named with the DPI, whose system and
# user settings say that DPI. Prints its path.
gs_dpi_prefix() { printf '%s-%s\n' "$(gs_wine_env && printf '%s' "$WINEPREFIX")" "$1"; }

gs_prepare_dpi_prefix() {
  local dpi=$1 prefix hex
  prefix=$(gs_dpi_prefix "$dpi")
  [[ $(cat "$prefix/.gridsmith-dpi" 2>/dev/null) == "$GS_PREFIX_VERSION $dpi" ]] && return 0
  gs_prepare_wine_prefix || return 1
  gs_log "setup: making the $dpi DPI Wine prefix $prefix"
  rm -rf "$prefix"
  cp -a "$WINEPREFIX" "$prefix" || return 1
  hex=$(printf 'dword:%08x' "$dpi")
  (
    export WINEPREFIX=$prefix
    gs_wine_import 'HKEY_CURRENT_USER\Control Panel\Desktop' "LogPixels=$hex" &&
      gs_wine_import 'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Hardware Profiles\Current\Software\Fonts' \
        "LogPixels=$hex" &&
      wineserver -w
  ) || { gs_log "setup: regedit failed"; return 1; }
  echo "$GS_PREFIX_VERSION $dpi" >"$prefix/.gridsmith-dpi"
}

# gs_xvfb COMMAND...: runs COMMAND with a virtual 24-bit display, and lets the
# Wine session end inside it.
gs_xvfb() {
  gs_wine_env
  xvfb-run -a -s "-screen 0 1600x1200x24" bash -c '"$@"; status=$?; wineserver -w; exit $status' gs "$@"
}

# gs_configure DIR [CMAKE-ARGS...]
gs_configure() {
  local dir=$1
  shift
  cmake -S "$GS_ROOT" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@" >/dev/null
}

gs_compile() { cmake --build "$1" -j "$GS_JOBS" "${@:2}"; }

gs_build_native() {
  gs_configure "$GS_BUILD/native" && gs_compile "$GS_BUILD/native"
}

# The image libraries come from Debian's sources, built once for mingw-w64.
gs_configure_windows() {
  bash "$GS_ROOT/scripts/mingw_deps.sh" "$GS_BUILD/mingw-deps" &&
    gs_configure "$GS_BUILD/windows" \
      -DCMAKE_TOOLCHAIN_FILE="$GS_ROOT/cmake/mingw-w64-x86_64.cmake" -DGRIDSMITH_BENCH=OFF \
      -DGRIDSMITH_MINGW_DEPS="$GS_BUILD/mingw-deps"
}

# The Windows build runs its resource generator under Wine, so it needs the prefix.
gs_build_windows() {
  gs_prepare_wine_prefix && gs_configure_windows && gs_compile "$GS_BUILD/windows"
}
