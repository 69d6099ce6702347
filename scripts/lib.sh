# Shared by the project's scripts: Debian packages, the build, a private X
# display, and the project's own Wine prefix.  Source it; it defines
# functions and a few variables and runs nothing.

TIRVALO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TIRVALO_BUILD_DIR=${TIRVALO_BUILD_DIR:-$TIRVALO_ROOT/build}
TIRVALO_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 xvfb cmake googletest tmux
                  clang lld llvm libclang-rt-14-dev cppcheck clang-tidy zip unzip)

# Installs the Debian packages named that are not installed yet.
ensure_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'ok installed' ||
            missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" != 0 ]; then
        echo "Missing Debian packages (install them as root): ${missing[*]}" >&2
        return 1
    fi
    echo "Installing ${missing[*]} ..." >&2
    apt-get update -qq >&2 &&
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >&2
}

# Configures (once) and builds the product, the stand-in host and the tests
# into $TIRVALO_BUILD_DIR, or only the targets named.
build_all() {
    local target targets=()
    if [ ! -f "$TIRVALO_BUILD_DIR/CMakeCache.txt" ]; then
        cmake -S "$TIRVALO_ROOT" -B "$TIRVALO_BUILD_DIR" \
            -DCMAKE_TOOLCHAIN_FILE="$TIRVALO_ROOT/cmake/clang-mingw-w64-x86_64.cmake" \
            -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || return 1
    fi
    for target in "$@"; do targets+=(--target "$target"); done
    cmake --build "$TIRVALO_BUILD_DIR" -j "$(nproc)" "${targets[@]}"
}

# The native build of the text routines (native/): clang for Linux with the
# sanitizers, their unit tests and fuzz targets, in $TIRVALO_BUILD_DIR/native.
build_native() {
    local dir=$TIRVALO_BUILD_DIR/native
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$TIRVALO_ROOT/native" -B "$dir" -DCMAKE_CXX_COMPILER=clang++ \
            -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null || return 1
    fi
    cmake --build "$dir" -j "$(nproc)"
}

# The DLL once more with the second compiler, MinGW-w64 GCC, warnings as
# errors, in $TIRVALO_BUILD_DIR/gcc-mingw (the test gcc_mingw.same_behaviour
# compares the two).
build_second_compiler() {
    local dir=$TIRVALO_BUILD_DIR/gcc-mingw
    if [ ! -f "$dir/CMakeCache.txt" ]; then
        cmake -S "$TIRVALO_ROOT" -B "$dir" \
            -DCMAKE_TOOLCHAIN_FILE="$TIRVALO_ROOT/cmake/gcc-mingw-w64-x86_64.cmake" \
            -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
            -DTIRVALO_PRODUCT_ONLY=ON >/dev/null || return 1
    fi
    cmake --build "$dir" -j "$(nproc)" --target Tirvalo
}

# Lanes: CTest runs Windows tests side by side, one in each lane, and each
# lane has a Wine prefix and an X display of its own, so that the windows,
# the foreground and the keys held down of one test never meet another's.
# Lane 0 uses the project's prefix.  scripts/test lists the lanes' displays
# in TIRVALO_LANE_DISPLAYS; CTest names a test's lane in its environment.
TIRVALO_LANES=${TIRVALO_LANES:-2}
lane_prefix() {
    if [ "$1" = 0 ]; then echo "$TIRVALO_BUILD_DIR/wineprefix"; else echo "$TIRVALO_BUILD_DIR/wineprefix-$1"; fi
}

# The Wine settings every run uses: the project's prefix unless WINEPREFIX
# is set (or the lane's, in a test that CTest gave one), no debug output, no
# Mono or Gecko installers, and a UTF-8 locale, from which Wine takes the
# code page of Unix file names.
wine_environment() {
    local lane displays
    export LC_ALL=C.UTF-8
    export WINEPREFIX=${WINEPREFIX:-$TIRVALO_BUILD_DIR/wineprefix}
    export WINEDEBUG=-all
    export WINEDLLOVERRIDES="mscoree,mshtml="
    if [ -n "${CTEST_RESOURCE_GROUP_0_WINE:-}" ]; then   # "id:1,slots:1"
        lane=${CTEST_RESOURCE_GROUP_0_WINE#id:}
        lane=${lane%%,*}
        read -r -a displays <<<"${TIRVALO_LANE_DISPLAYS:-}"
        WINEPREFIX=$(lane_prefix "$lane")
        [ -n "${displays[$lane]:-}" ] && export DISPLAY=${displays[$lane]}
    fi
}

# Creates and prepares the Wine prefix once.  Windows are "unmanaged" there:
# without a window manager, a managed window takes seconds to close.  Wine's
# server may stay running (a Wine program left open, "wineserver -p"): the
# preparation never waits for it to end, and gives up after two minutes.
ensure_prefix() {
    wine_environment
    [ -f "$WINEPREFIX/.tirvalo-ready" ] && return 0
    mkdir -p "$WINEPREFIX" || return 1
    (
        flock -w 60 9 || exit 1
        [ -f "$WINEPREFIX/.tirvalo-ready" ] && exit 0
        echo "Preparing the Wine prefix $WINEPREFIX ..." >&2
        timeout 50 wineboot --init </dev/null >/dev/null 2>&1 &&
            timeout 10 wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f \
                </dev/null >/dev/null 2>&1 &&
            touch "$WINEPREFIX/.tirvalo-ready"
    ) 9>"$WINEPREFIX/.tirvalo-lock" || {
        echo "Cannot prepare the Wine prefix $WINEPREFIX within two minutes." >&2
        echo "Stop the Wine programs that use it (WINEPREFIX=$WINEPREFIX wineserver -k)," >&2
        echo "or remove the folder, and try again." >&2
        return 1
    }
}

# Starts a private Xvfb on the first free display from :90 and exports
# DISPLAY; XVFB_PID is its process, for stop_private_display.
start_private_display() {
    local n i
    for n in $(seq 90 189); do
        [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
        Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp </dev/null >/dev/null 2>&1 &
        XVFB_PID=$!
        for i in $(seq 100); do
            [ -e "/tmp/.X11-unix/X$n" ] && break
            kill -0 "$XVFB_PID" 2>/dev/null || break
            sleep 0.05
        done
        if kill -0 "$XVFB_PID" 2>/dev/null && [ -e "/tmp/.X11-unix/X$n" ]; then
            export DISPLAY=":$n"
            return 0
        fi
        kill "$XVFB_PID" 2>/dev/null
        wait "$XVFB_PID" 2>/dev/null
    done
    echo "Cannot start a private Xvfb display." >&2
    return 1
}

# A private Xvfb when DISPLAY is not set, stopped when the script ends.
ensure_display() {
    [ -n "${DISPLAY:-}" ] && return 0
    start_private_display || return 1
    trap stop_private_display EXIT
}

# Starts Wine's server (with the options given) and its background
# processes, by running wine_warmup.exe once, with their output apart from
# ours: otherwise they keep the caller's output pipe open after we end.
start_wine_apart() {
    wineserver "$@" </dev/null >/dev/null 2>&1
    wine "$TIRVALO_BUILD_DIR/bin/wine_warmup.exe" </dev/null >/dev/null 2>&1
}

stop_private_display() {
    [ -n "${XVFB_PID:-}" ] || return 0
    kill "$XVFB_PID" 2>/dev/null
    wait "$XVFB_PID" 2>/dev/null
    XVFB_PID=
}

# A Linux path as the Windows programs see it (drive Z: is the root).
windows_path() {
    local full
    full=$(realpath -m -- "$1")
    printf 'Z:%s' "${full//\//\\}"
}

# The file version of a DLL, "1.4.0.4", read from its version resource (the
# fixed part, which starts with the signature 0xFEEF04BD).
dll_file_version() {
    local offset ms ls
    offset=$(LC_ALL=C grep -obUaP '\xBD\x04\xEF\xFE' "$1" | head -1 | cut -d: -f1)
    [ -n "$offset" ] || { echo "No version resource in $1." >&2; return 1; }
    read -r ms ls < <(od -An -tu4 -j $((offset + 8)) -N 8 "$1")
    echo "$((ms >> 16)).$((ms & 0xFFFF)).$((ls >> 16)).$((ls & 0xFFFF))"
}

# Packs the built DLL and PDB of BUILD_DIR into DIST_DIR: the plug-in's zip
# (Tirvalo.dll and README.txt), the symbols' zip (Tirvalo.pdb), and
# SHA256SUMS.  The same inputs give the same bytes: the entries carry the
# time of the source's commit (SOURCE_DATE_EPOCH when set), fixed
# permissions and no extra fields, in a fixed order.
package_release() {
    local build=$1 dist=$2 version epoch stage name
    version=$(dll_file_version "$build/bin/Tirvalo.dll") || return 1
    epoch=${SOURCE_DATE_EPOCH:-$(git -C "$TIRVALO_ROOT" log -1 --format=%ct 2>/dev/null)}
    [ -n "$epoch" ] || { echo "No commit time: set SOURCE_DATE_EPOCH." >&2; return 1; }
    name=Tirvalo-$version-x64
    stage=$(mktemp -d) || return 1
    mkdir -p "$stage/plugin" "$stage/symbols" "$dist" || return 1
    cp "$build/bin/Tirvalo.dll" "$stage/plugin/Tirvalo.dll" &&
        cp "$build/bin/Tirvalo.pdb" "$stage/symbols/Tirvalo.pdb" &&
        sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$TIRVALO_ROOT/docs/release-readme.txt" \
            >"$stage/plugin/README.txt" &&
        chmod 644 "$stage"/*/* &&
        touch -d "@$epoch" "$stage"/*/* &&
        rm -f "$dist/$name.zip" "$dist/$name-symbols.zip" "$dist/SHA256SUMS" &&
        (cd "$stage/plugin" && TZ=UTC zip -q -X -D "$dist/$name.zip" Tirvalo.dll README.txt) &&
        (cd "$stage/symbols" && TZ=UTC zip -q -X -D "$dist/$name-symbols.zip" Tirvalo.pdb) &&
        (cd "$dist" && sha256sum "$name.zip" "$name-symbols.zip" >SHA256SUMS)
    local status=$?
    rm -rf "$stage"
    return $status
}
