#!/usr/bin/env bash
# The Windows build: tkdesk.exe and tkcalc.exe cross-built with MinGW-w64 (static, nothing beside them
# but what Windows has), the test suite under wine, and the zip for Windows users.
#
#   scripts/build-windows.sh deps    the cross compiler, wine and the tools (Debian packages)
#   scripts/build-windows.sh libs    wxWidgets (msw, static), libxml2 and GoogleTest built once into the cache
#   scripts/build-windows.sh build   the programs and the tests in $BUILD_WIN
#   scripts/build-windows.sh test    the tests under wine and tkdesk.exe under wine + Xvfb
#   scripts/build-windows.sh dist    the zip in $BUILD_WIN/dist
#
# The libraries come from Debian's source packages and are built once into a cache folder outside the
# build tree, one folder per version: TRAJEKTON_WIN_CACHE (default ~/.cache/trajekton-win).
set -euo pipefail

ROOT="$(cd "$(dirname "$0")/.." && pwd)"
BUILD_WIN="${BUILD_WIN:-$ROOT/build-windows}"
case "$BUILD_WIN" in /*) ;; *) BUILD_WIN="$ROOT/$BUILD_WIN" ;; esac
CACHE="${TRAJEKTON_WIN_CACHE:-$HOME/.cache/trajekton-win}"
HOST=x86_64-w64-mingw32
JOBS="${JOBS:-2}"
export CC=$HOST-gcc-posix CXX=$HOST-g++-posix

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"

START=$(date +%s)
log() { printf '== [%dm%02ds] %s\n' $(( ($(date +%s) - START) / 60 )) $(( ($(date +%s) - START) % 60 )) "$*"; }

deps() {
  local packages=(
    g++-mingw-w64-x86-64-posix wine wine64
    cmake ninja-build make dpkg-dev
    # GoogleTest's sources (/usr/src/googletest), and the header-only libraries tkcalc takes as they are.
    googletest libcli11-dev nlohmann-json3-dev
    # tkdesk.exe under wine on a private X server, its screenshot; the zip.
    xvfb xauth x11-utils xdotool imagemagick zip unzip
  )
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  # The libraries' sources: deb-src lines that mirror the system's deb lines.
  local src=/etc/apt/sources.list.d/trajekton-src.sources
  local update=0
  if ! grep -rqs '^Types:.*deb-src\|^deb-src' /etc/apt/sources.list /etc/apt/sources.list.d/; then
    if [ -f /etc/apt/sources.list.d/debian.sources ]; then
      sed 's/^Types: deb$/Types: deb-src/' /etc/apt/sources.list.d/debian.sources | $sudo tee "$src" > /dev/null
    else
      grep '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' | $sudo tee /etc/apt/sources.list.d/trajekton-src.list > /dev/null
    fi
    update=1
  fi
  if [ ${#missing[@]} -gt 0 ] || [ $update -eq 1 ]; then
    export DEBIAN_FRONTEND=noninteractive
    $sudo apt-get update -qq
    [ ${#missing[@]} -gt 0 ] && { log "Installing: ${missing[*]}"; $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"; }
  fi
  return 0
}

# source_version PACKAGE: the version of Debian's source package.
source_version() {
  apt-cache showsrc "$1" | awk '/^Version:/ { print $2 }' | sort -V | tail -1
}

# fetch_source PACKAGE VERSION: the unpacked source in $CACHE/src, its folder printed.
fetch_source() {
  local pkg=$1 ver=$2 dir="$CACHE/src/$1-$2"
  if [ ! -f "$dir/.unpacked" ]; then
    rm -rf "$dir" && mkdir -p "$dir"
    (cd "$dir" && apt-get source -qq "$pkg=$ver" > fetch.log 2>&1) || { cat "$dir/fetch.log" >&2; exit 1; }
    touch "$dir/.unpacked"
  fi
  find "$dir" -mindepth 1 -maxdepth 1 -type d -name "$pkg-*" | head -1
}

# wxWidgets for msw, static, without the image and compression libraries that Debian strips from its
# source (the programs need none of them) and without the libraries the programs do not use.
build_wx() {
  local ver prefix src
  ver=$(source_version wxwidgets3.2)
  [ -n "$ver" ] || { echo "wxwidgets3.2: no source package (deb-src lines?)" >&2; exit 1; }
  prefix="$CACHE/wx-$ver"
  if [ -f "$prefix/.built" ]; then log "wxWidgets $ver: $prefix (cached)"; return; fi
  log "wxWidgets $ver: building into $prefix (about 10 minutes on two cores)"
  src=$(fetch_source wxwidgets3.2 "$ver")
  rm -rf "$prefix" && mkdir -p "$prefix/build"
  (cd "$prefix/build" && "$src/configure" --host=$HOST --build=x86_64-linux-gnu --prefix="$prefix" \
      --with-msw --disable-shared --enable-unicode --disable-debug_flag \
      --without-libpng --without-libjpeg --without-libtiff --without-zlib --without-expat --without-liblzma \
      --without-libcurl --without-opengl --disable-svg --without-nanosvg --with-regex=builtin \
      --disable-xrc --disable-html --disable-htmlhelp --disable-richtext --disable-stc \
      --disable-aui --disable-propgrid --disable-ribbon --disable-webview --disable-mediactrl \
      --disable-sockets --disable-secretstore --disable-webrequest --disable-precomp-headers \
      > configure.log 2>&1 || { tail -30 configure.log >&2; exit 1; }
    make -j"$JOBS" > make.log 2>&1 || { tail -30 make.log >&2; exit 1; }
    make install > install.log 2>&1 || { tail -30 install.log >&2; exit 1; })
  rm -rf "$prefix/build"
  touch "$prefix/.built"
}

# cmake_lib NAME SOURCE PREFIX ARGS...: a CMake project cross-built and installed into PREFIX.
cmake_lib() {
  local name=$1 src=$2 prefix=$3; shift 3
  rm -rf "$prefix" && mkdir -p "$prefix"
  cmake -S "$src" -B "$prefix/build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/scripts/windows-toolchain.cmake" -DCMAKE_INSTALL_PREFIX="$prefix" \
      -DBUILD_SHARED_LIBS=OFF "$@" > "$prefix/configure.log" 2>&1 || { tail -30 "$prefix/configure.log" >&2; exit 1; }
  cmake --build "$prefix/build" -j"$JOBS" > "$prefix/build.log" 2>&1 || { tail -30 "$prefix/build.log" >&2; exit 1; }
  cmake --install "$prefix/build" > /dev/null
  rm -rf "$prefix/build"
  touch "$prefix/.built"
}

# libxml2 for the tests (they read the XML workbook back): static, nothing but the parser.
build_libxml2() {
  local ver prefix src
  ver=$(source_version libxml2)
  prefix="$CACHE/libxml2-$ver"
  if [ -f "$prefix/.built" ]; then log "libxml2 $ver: $prefix (cached)"; return; fi
  log "libxml2 $ver: building into $prefix"
  src=$(fetch_source libxml2 "$ver")
  cmake_lib libxml2 "$src" "$prefix" -DLIBXML2_WITH_PYTHON=OFF -DLIBXML2_WITH_ZLIB=OFF -DLIBXML2_WITH_LZMA=OFF \
      -DLIBXML2_WITH_ICONV=OFF -DLIBXML2_WITH_HTTP=OFF -DLIBXML2_WITH_FTP=OFF -DLIBXML2_WITH_TESTS=OFF \
      -DLIBXML2_WITH_PROGRAMS=OFF -DLIBXML2_WITH_MODULES=OFF
}

# GoogleTest from Debian's sources in /usr/src/googletest.
build_googletest() {
  local ver prefix
  ver=$(dpkg-query -W -f='${Version}' googletest)
  prefix="$CACHE/googletest-$ver"
  if [ -f "$prefix/.built" ]; then log "GoogleTest $ver: $prefix (cached)"; return; fi
  log "GoogleTest $ver: building into $prefix"
  cmake_lib googletest /usr/src/googletest "$prefix" -Dgtest_disable_pthreads=OFF
}

# CLI11 and nlohmann-json are headers alone: Debian's, with their CMake files, in a folder of their own
# (the build machine's /usr is not searched).
copy_headers() {
  local prefix="$CACHE/headers"
  rm -rf "$prefix" && mkdir -p "$prefix/include" "$prefix/share/cmake"
  cp -a /usr/include/CLI /usr/include/nlohmann "$prefix/include/"
  cp -a /usr/share/cmake/CLI11 /usr/share/cmake/nlohmann_json "$prefix/share/cmake/"
}

# Wine quietly: no messages of its own, no offer to install .NET or a browser engine.
wine_env() {
  export WINEPREFIX="${WINEPREFIX:-$BUILD_WIN/wine}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    log "wine: a new folder in $WINEPREFIX"
    wineboot -i > /dev/null 2>&1 || true
    wineserver -w
  fi
}

# The library folders, for the toolchain file.
prefixes() {
  local wx xml gt
  wx="$CACHE/wx-$(source_version wxwidgets3.2)"
  xml="$CACHE/libxml2-$(source_version libxml2)"
  gt="$CACHE/googletest-$(dpkg-query -W -f='${Version}' googletest)"
  echo "$wx;$xml;$gt;$CACHE/headers"
}

libs() {
  deps
  build_wx
  build_libxml2
  build_googletest
  copy_headers
}

build() {
  libs
  local wx
  wx="$CACHE/wx-$(source_version wxwidgets3.2)"
  export TRAJEKTON_WIN_PREFIXES
  TRAJEKTON_WIN_PREFIXES="$(prefixes)"
  # pkg-config must not hand the build machine's libraries to the cross build.
  export PKG_CONFIG_LIBDIR="$wx/lib/pkgconfig" PKG_CONFIG_PATH=""
  wine_env  # the tests are listed under wine as they are built
  log "Building in $BUILD_WIN"
  cmake -S "$ROOT" -B "$BUILD_WIN" -G Ninja -DCMAKE_BUILD_TYPE=Release \
      -DCMAKE_TOOLCHAIN_FILE="$ROOT/scripts/windows-toolchain.cmake" -DTRAJEKTON_WIN_PREFIXES="$TRAJEKTON_WIN_PREFIXES" \
      -DwxWidgets_CONFIG_EXECUTABLE="$wx/bin/wx-config" -DTRAJEKTON_BENCH=OFF -DTRAJEKTON_GUI_TESTS=OFF > /dev/null
  cmake --build "$BUILD_WIN" -j"$JOBS"
}

# The programs import nothing but DLLs every Windows has.
check_imports() {
  local allowed=" advapi32.dll comctl32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll ole32.dll oleacc.dll oleaut32.dll rpcrt4.dll shell32.dll shlwapi.dll user32.dll uxtheme.dll version.dll winmm.dll winspool.drv ws2_32.dll "
  local exe dll bad=0
  for exe in "$BUILD_WIN/desktop/tkdesk.exe" "$BUILD_WIN/cli/tkcalc.exe"; do
    for dll in $($HOST-objdump -p "$exe" | awk '/DLL Name:/ { print tolower($3) }'); do
      case "$allowed" in *" $dll "*) ;; *) echo "$(basename "$exe") imports $dll, which Windows does not have" >&2; bad=1 ;; esac
    done
  done
  [ $bad -eq 0 ] && log "tkdesk.exe, tkcalc.exe: only Windows' own DLLs"
  return $bad
}

test_windows() {
  build
  check_imports
  wine_env
  log "The tests under wine"
  ctest --test-dir "$BUILD_WIN" -LE gui -j"$JOBS" --output-on-failure --timeout 600
  # The tests' wine has no display: tkdesk.exe gets a wine of its own on the X server.
  wineserver -k 2> /dev/null || true
  log "tkdesk.exe under wine on a private X server"
  mkdir -p "$BUILD_WIN/screenshots"
  xvfb-run -a -s "-screen 0 1280x1024x24 -dpi 96" python3 "$ROOT/tests/gui/test_tkdesk_wine.py" \
      "$BUILD_WIN/desktop/tkdesk.exe" "$BUILD_WIN/cli/tkcalc.exe" "$BUILD_WIN/tests/tk_win_probe.exe" \
      "$BUILD_WIN/screenshots/tkdesk-wine.png"
  wineserver -k || true
}

# The zip for Windows users: both programs and a README in Russian (with Windows' line ends).
dist() {
  build
  check_imports
  local version name dir
  version=$(sed -n 's/^project(Trajekton VERSION \([0-9.]*\).*/\1/p' "$ROOT/CMakeLists.txt")
  name="Trajekton-$version-windows"
  dir="$BUILD_WIN/dist/$name"
  rm -rf "$dir" "$BUILD_WIN/dist/$name.zip" && mkdir -p "$dir"
  cp "$BUILD_WIN/desktop/tkdesk.exe" "$BUILD_WIN/cli/tkcalc.exe" "$dir/"
  $HOST-strip "$dir"/*.exe
  # UTF-8 with its byte order mark, so that every Notepad reads the Cyrillic text as such.
  { printf '\xEF\xBB\xBF'; sed "s/@VERSION@/$version/" "$ROOT/scripts/windows-readme.txt" | sed 's/$/\r/'; } > "$dir/README.txt"
  (cd "$BUILD_WIN/dist" && zip -q -r -X "$name.zip" "$name")
  log "$BUILD_WIN/dist/$name.zip"
  unzip -l "$BUILD_WIN/dist/$name.zip"
}

case "${1:-all}" in
  deps) deps ;;
  wx) build_wx ;;
  libs) libs ;;
  build) build ;;
  test) test_windows ;;
  dist) dist ;;
  all) test_windows; dist ;;
  *) echo "usage: $0 deps|wx|libs|build|test|dist|all" >&2; exit 2 ;;
esac
