# Shared by the project's scripts: Debian packages, the build, a private X
# display, and the project's own Wine prefix.  Source it; it defines
# functions and a few variables and runs nothing.

TIRVALO_ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
TIRVALO_BUILD_DIR=${TIRVALO_BUILD_DIR:-$TIRVALO_ROOT/build}
TIRVALO_PACKAGES=(g++-mingw-w64-x86-64-posix wine wine64 xvfb cmake make googletest tmux
                  clang lld llvm libclang-rt-dev cppcheck clang-tidy zip unzip
                  osslsigncode openssl jq fonts-wine)

# Installs the Debian packages named that are not installed yet, without
# what they only recommend (Wine's recommend a media stack that nothing here
# uses: on a fresh Debian 12, 189 packages to fetch and unpack, not 352).
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
        DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >&2
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

# Checks a signing identity before anything is built or written: KEY, a PEM
# private key, with CERT, its PEM certificate chain (the signer's first), or
# PKCS12, a PKCS#12 file that holds both.  A password, of the PKCS#12 file or
# of an encrypted key, is read from TIRVALO_SIGN_PASSWORD.  The signer's
# certificate must be valid now, for code signing, and the key's.  Says
# what does not fit, and fails.
check_signing_identity() {
    local key=$1 cert=$2 pkcs12=$3 file leaf public subject pass=(-passin pass:)
    [ -n "${TIRVALO_SIGN_PASSWORD+set}" ] && pass=(-passin env:TIRVALO_SIGN_PASSWORD)
    if [ -n "$pkcs12" ]; then [ -z "$key$cert" ]; else [ -n "$key" ] && [ -n "$cert" ]; fi || {
        echo "Cannot sign: give --sign-key with --sign-cert, or --sign-pkcs12 alone." >&2
        return 1
    }
    for file in "$key" "$cert" "$pkcs12"; do
        [ -z "$file" ] || [ -f "$file" ] || { echo "Cannot sign: no file $file." >&2; return 1; }
    done
    if [ -n "$pkcs12" ]; then
        leaf=$(openssl pkcs12 -in "$pkcs12" "${pass[@]}" -nokeys -clcerts 2>/dev/null | openssl x509 2>/dev/null) &&
            public=$(openssl pkcs12 -in "$pkcs12" "${pass[@]}" -nocerts -nodes 2>/dev/null |
                     openssl pkey -pubout 2>/dev/null) || {
            echo "Cannot sign: $pkcs12 is no PKCS#12 file with a key and its certificate," \
                 "or TIRVALO_SIGN_PASSWORD does not open it." >&2
            return 1
        }
    else
        leaf=$(openssl x509 -in "$cert" 2>/dev/null) ||
            { echo "Cannot sign: $cert holds no PEM certificate." >&2; return 1; }
        public=$(openssl pkey -in "$key" "${pass[@]}" -pubout 2>/dev/null) || {
            echo "Cannot sign: $key holds no PEM private key (or an encrypted one that" \
                 "TIRVALO_SIGN_PASSWORD does not open)." >&2
            return 1
        }
    fi
    subject=$(openssl x509 -noout -subject -nameopt oneline <<<"$leaf")
    subject=${subject#subject=}
    if [ "$(openssl x509 -noout -pubkey <<<"$leaf")" != "$public" ]; then
        echo "Cannot sign: the key does not match the certificate of $subject." >&2
        return 1
    fi
    if ! openssl x509 -noout -checkend 0 <<<"$leaf" >/dev/null; then
        echo "Cannot sign: the certificate of $subject has expired ($(openssl x509 -noout -enddate <<<"$leaf"))." >&2
        return 1
    fi
    if [ "$(date -d "$(openssl x509 -noout -startdate <<<"$leaf" | cut -d= -f2)" +%s)" -gt "$(date +%s)" ]; then
        echo "Cannot sign: the certificate of $subject is not valid yet ($(openssl x509 -noout -startdate <<<"$leaf"))." >&2
        return 1
    fi
    if ! openssl x509 -noout -ext extendedKeyUsage <<<"$leaf" 2>/dev/null | grep -q 'Code Signing'; then
        echo "Cannot sign: the certificate of $subject is not for code signing" \
             "(its extended key usage lacks Code Signing)." >&2
        return 1
    fi
}

# Signs the DLL FILE in place with Authenticode (SHA-256) as of the time
# EPOCH, with KEY and CERT or the PKCS#12 file PKCS12 (as check_signing_identity
# accepted them: the caller checks once, not at every signing), and
# with an RFC 3161 timestamp from TIMESTAMP_URL when that is not empty.  The
# signature is appended: of the bytes before it only the PE checksum and the
# certificate table's directory entry change.  The password goes to
# osslsigncode through a pipe, not on its command line.
sign_dll() {
    local file=$1 epoch=$2 key=$3 cert=$4 pkcs12=$5 url=$6 options=() output
    if [ -n "$pkcs12" ]; then options=(-pkcs12 "$pkcs12"); else options=(-certs "$cert" -key "$key"); fi
    [ -n "${TIRVALO_SIGN_PASSWORD+set}" ] && options+=(-readpass /dev/fd/3)
    [ -n "$url" ] && options+=(-ts "$url")
    output=$(osslsigncode sign "${options[@]}" -h sha256 -time "$epoch" -in "$file" -out "$file.signed" \
             2>&1 3< <(printf %s "${TIRVALO_SIGN_PASSWORD:-}")) &&
        mv "$file.signed" "$file" || {
        echo "osslsigncode could not sign $(basename "$file"):" >&2
        grep -v '^[0-9A-F]*:error:' <<<"$output" >&2   # less the library's error stack
        rm -f "$file.signed"
        return 1
    }
}

# The Debian package that installed each FILE, a line each: "FILE NAME
# VERSION ARCHITECTURE".  (dpkg reads its database once for them all.)
debian_packages() {
    local owners line file
    local -A owner version
    owners=$(dpkg -S "$@" 2>/dev/null) || { echo "Not all from Debian packages: $*" >&2; return 1; }
    while IFS= read -r line; do owner[${line#*: }]=${line%%: *}; done <<<"$owners"
    while IFS=' ' read -r file line; do version[$file]=$line; done < <(
        dpkg-query -W -f '${binary:Package} ${Version} ${Architecture}\n' "${owner[@]}")
    for file in "$@"; do
        echo "$file ${owner[$file]%%:*} ${version[${owner[$file]}]:-}"
    done
}

# Writes the bill of materials of the DLL built in BUILD, version VERSION,
# to OUT: SPDX 2.3 JSON with the plug-in as a package whose files are FILE...,
# those of its zip as shipped (Tirvalo.dll, signed or not, and README.txt),
# each with its SHA-1 and SHA-256; the Debian packages whose files the link
# put into the DLL (the PDB names every object linked, and the archive it
# came from), and those of the compiler and the linker, one element for each
# package, whatever it did.  Its time is EPOCH, the commit's.  Its namespace
# ends in the SHA-256 of the document written without it: the same release
# gives the same bytes, and any other document another namespace.
write_spdx() {
    local build=$1 version=$2 epoch=$3 out=$4 compiler linker objects tools linked file sha1 sha256 listed=() code document
    shift 4
    compiler=$(sed -n 's/^set(CMAKE_CXX_COMPILER "\(.*\)")$/\1/p' "$build"/CMakeFiles/*/CMakeCXXCompiler.cmake)
    linker=$("$compiler" -print-prog-name=ld.lld)
    # The objects and archives linked from outside the build: paths of this machine.
    objects=$(llvm-pdbutil dump -modules "$build/bin/Tirvalo.pdb" |
              sed -n 's/^ *Obj: `\(\/[^`]*\)`:.*/\1/p' | sort -u)
    [ -n "$objects" ] || { echo "$build/bin/Tirvalo.pdb names no library linked." >&2; return 1; }
    tools=$(debian_packages $(realpath "$compiler" "$linker")) &&
        linked=$(debian_packages $objects) || return 1
    for file in "$@"; do
        read -r sha1 _ < <(sha1sum "$file") && read -r sha256 _ < <(sha256sum "$file") || return 1
        listed+=("file $(basename "$file") $sha1 $sha256")
    done
    # The package verification code: the SHA-1 of its files' SHA-1s, sorted and joined.
    code=$(printf '%s\n' "${listed[@]}" | cut -d' ' -f3 | LC_ALL=C sort | tr -d '\n' | sha1sum | cut -d' ' -f1)
    document=$({ printf '%s\n' "${listed[@]}"; sed 's/^/tool /' <<<"$tools"; sed 's/^/linked /' <<<"$linked"; } |
        jq -R -s --arg version "$version" --arg name "Tirvalo-$version-x64" \
        --arg created "$(date -u -d "@$epoch" +%Y-%m-%dT%H:%M:%SZ)" --arg code "$code" '
    def id: gsub("[^A-Za-z0-9.-]"; "-");
    (split("\n") | map(select(. != "") | split(" "))) as $lines
    | ($lines | map(select(.[0] == "file")
        | {SPDXID: ("SPDXRef-File-" + (.[1] | id)), name: .[1], sha1: .[2], sha256: .[3]})) as $files
    | ($lines | map(select(.[0] != "file") | {kind: .[0], file: .[1], name: .[2], version: .[3], arch: .[4]})
        | group_by(.name) | map(.[0] + {SPDXID: ("SPDXRef-Package-deb-" + (.[0].name | id)),
            tool: map(select(.kind == "tool") | .file), linked: map(select(.kind == "linked") | .file)})) as $debs
    | {
        spdxVersion: "SPDX-2.3",
        dataLicense: "CC0-1.0",
        SPDXID: "SPDXRef-DOCUMENT",
        name: $name,
        creationInfo: {created: $created, creators: ["Tool: Tirvalo scripts/release"]},
        packages: ([{
            SPDXID: "SPDXRef-Package-Tirvalo", name: "Tirvalo", versionInfo: $version,
            downloadLocation: "NOASSERTION", primaryPackagePurpose: "LIBRARY",
            description: "Plug-in for the Korrash shell, Windows x64",
            filesAnalyzed: true, hasFiles: [$files[].SPDXID],
            packageVerificationCode: {packageVerificationCodeValue: $code}
          }] + ($debs | map({
            SPDXID, name, versionInfo: .version,
            supplier: "Organization: Debian", downloadLocation: "NOASSERTION",
            primaryPackagePurpose: (if .linked == [] then "APPLICATION" else "LIBRARY" end),
            filesAnalyzed: false,
            externalRefs: [{referenceCategory: "PACKAGE-MANAGER", referenceType: "purl",
              referenceLocator: ("pkg:deb/debian/" + .name + "@" + (.version | @uri) + "?arch=" + .arch)}],
            comment: ([if .tool != [] then "Built Tirvalo.dll: " + (.tool | join(", ")) else empty end,
                       if .linked != [] then "Linked into Tirvalo.dll: " + (.linked | join(", ")) else empty end]
                      | join("; "))
          }))),
        files: ($files | map({
            SPDXID, fileName: ("./" + .name),
            fileTypes: (if .name | test("[.]txt$") then ["TEXT", "DOCUMENTATION"] else ["BINARY"] end),
            checksums: [{algorithm: "SHA1", checksumValue: .sha1}, {algorithm: "SHA256", checksumValue: .sha256}]
          })),
        relationships: ([
            {spdxElementId: "SPDXRef-DOCUMENT", relationshipType: "DESCRIBES", relatedSpdxElement: "SPDXRef-Package-Tirvalo"}
          ] + ($files | map({spdxElementId: "SPDXRef-Package-Tirvalo", relationshipType: "CONTAINS", relatedSpdxElement: .SPDXID}))
          + [$debs[] | (if .tool != []
            then {spdxElementId: .SPDXID, relationshipType: "BUILD_TOOL_OF", relatedSpdxElement: "SPDXRef-File-Tirvalo.dll"}
            else empty end),
            (if .linked != []
            then {spdxElementId: "SPDXRef-File-Tirvalo.dll", relationshipType: "STATIC_LINK", relatedSpdxElement: .SPDXID}
            else empty end)])
      }') || return 1
    read -r sha256 _ < <(printf '%s\n' "$document" | sha256sum)
    jq --arg namespace "urn:tirvalo:spdx:Tirvalo-$version-x64:$sha256" \
        '{spdxVersion, dataLicense, SPDXID, name, documentNamespace: $namespace} + .' <<<"$document" >"$out"
}

# Packs the built DLL and PDB of BUILD_DIR into DIST_DIR: the plug-in's zip
# (Tirvalo.dll and README.txt), the symbols' zip (Tirvalo.pdb), the bill of
# materials (Tirvalo-VERSION-x64.spdx.json) and SHA256SUMS.  With a signing
# identity (KEY CERT PKCS12 TIMESTAMP_URL, as sign_dll takes them, checked
# by the caller) the DLL is signed first.  All four files are made in a
# folder of TMPDIR and moved into DIST_DIR at the end (move_release_in): a
# packing that fails leaves DIST_DIR as it was.  The same inputs give the
# same bytes: the signature and the bill of materials carry the time of the
# source's commit (SOURCE_DATE_EPOCH when set), and so do the zips' entries,
# with fixed permissions and no extra fields, in a fixed order.
package_release() {
    local build=$1 dist=$2 key=${3:-} cert=${4:-} pkcs12=${5:-} url=${6:-} version epoch stage name
    version=$(dll_file_version "$build/bin/Tirvalo.dll") || return 1
    epoch=${SOURCE_DATE_EPOCH:-$(git -C "$TIRVALO_ROOT" log -1 --format=%ct 2>/dev/null)}
    [ -n "$epoch" ] || { echo "No commit time: set SOURCE_DATE_EPOCH." >&2; return 1; }
    name=Tirvalo-$version-x64
    stage=$(mktemp -d) || return 1
    mkdir -p "$stage/plugin" "$stage/symbols" "$stage/out" &&
        cp "$build/bin/Tirvalo.dll" "$stage/plugin/Tirvalo.dll" &&
        { [ -z "$key$pkcs12" ] || sign_dll "$stage/plugin/Tirvalo.dll" "$epoch" "$key" "$cert" "$pkcs12" "$url"; } &&
        sed -e "s/@VERSION@/$version/g" -e 's/$/\r/' "$TIRVALO_ROOT/docs/release-readme.txt" \
            >"$stage/plugin/README.txt" &&
        write_spdx "$build" "$version" "$epoch" "$stage/out/$name.spdx.json" \
            "$stage/plugin/Tirvalo.dll" "$stage/plugin/README.txt" &&
        cp "$build/bin/Tirvalo.pdb" "$stage/symbols/Tirvalo.pdb" &&
        chmod 644 "$stage"/*/* &&
        touch -d "@$epoch" "$stage"/plugin/* "$stage"/symbols/* &&
        (cd "$stage/plugin" && TZ=UTC zip -q -X -D "$stage/out/$name.zip" Tirvalo.dll README.txt) &&
        (cd "$stage/symbols" && TZ=UTC zip -q -X -D "$stage/out/$name-symbols.zip" Tirvalo.pdb) &&
        (cd "$stage/out" && sha256sum "$name.zip" "$name-symbols.zip" "$name.spdx.json" >SHA256SUMS) &&
        move_release_in "$stage/out" "$dist" "$name.zip" "$name-symbols.zip" "$name.spdx.json" SHA256SUMS
    local status=$?
    rm -rf "$stage"
    return $status
}

# Moves the files NAME... (SHA256SUMS last) from the folder FROM into DIST,
# whole or not at all, replacing those of the same names.  Only a rename is
# atomic, and only within one file system: the files are first copied into a
# folder inside DIST; then the old SHA256SUMS is removed and each file
# renamed into place, SHA256SUMS last, so that a SHA256SUMS in DIST always
# lists files that are there and checks them.  A copy that fails (a full
# disk) leaves DIST as it was.  Ctrl-C, TERM and HUP are ignored for these
# milliseconds, so that no interruption leaves half a set, or the folder,
# behind; the caller's handling of them is put back after.
move_release_in() {
    local from=$1 dist=$2 traps incoming status=0 name
    shift 2
    traps=$(trap -p INT TERM HUP)
    trap '' INT TERM HUP
    mkdir -p "$dist" && incoming=$(mktemp -d -p "$dist" .incoming-XXXXXX) &&
        cp -- "${@/#/$from/}" "$incoming/" &&
        rm -f -- "$dist/SHA256SUMS" || status=1
    for name in "$@"; do
        [ $status = 0 ] || break
        mv -f -- "$incoming/$name" "$dist/$name" || status=1
    done
    [ -n "${incoming:-}" ] && rm -rf "$incoming"
    trap - INT TERM HUP
    eval "$traps"
    return $status
}
