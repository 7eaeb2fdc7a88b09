#!/usr/bin/env bash
# install_test.sh BUILD SOURCE PROBE VERSION [SIDE-FILE...]
# Installs the build into a fresh prefix and checks what a user gets: the
# program's folder with its side files, the vardo command, the menu entry,
# its icons and metadata, the manual page, the licences and the changelog;
# then starts the installed program through `vardo` and expects it to stay
# up with nothing on stderr but known platform chatter.
set -uo pipefail
build=$1 source=$2 probe=$3 version=$4
shift 4
side_files=("$@")

prefix=$(mktemp -d)
# cmake --install rewrites the build's install manifest, which a real install
# needs for uninstalling: keep the one that was there.
manifest=$build/install_manifest.txt
[ -f "$manifest" ] && cp -p "$manifest" "$prefix/manifest.kept"
restore_manifest() {
    if [ -f "$prefix/manifest.kept" ]; then cp -p "$prefix/manifest.kept" "$manifest"
    else rm -f "$manifest"; fi
}
trap 'restore_manifest; rm -rf "$prefix"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

cmake --install "$build" --prefix "$prefix" >/dev/null || { echo "FAIL: cmake --install"; exit 1; }

app=$prefix/lib/vardo
[ -x "$app/Vardo" ] || fail "no executable $app/Vardo"
[ -f "$app/libvardo_sound.so" ] || fail "no sound module beside the program"
[ -L "$prefix/bin/vardo" ] || fail "bin/vardo is not a link"
[[ "$(readlink "$prefix/bin/vardo")" != /* ]] || fail "bin/vardo link is absolute"
[ "$(readlink -f "$prefix/bin/vardo")" = "$(readlink -f "$app/Vardo")" ] \
    || fail "bin/vardo does not lead to lib/vardo/Vardo"
for file in "${side_files[@]}"; do
    cmp -s "$source/assets/$file" "$app/$file" || fail "$file not installed beside the program"
done

desktop=$prefix/share/applications/org.vardo.Vardo.desktop
metainfo=$prefix/share/metainfo/org.vardo.Vardo.metainfo.xml
[ -f "$desktop" ] || fail "no desktop entry"
[ -f "$metainfo" ] || fail "no metainfo"
grep -qx 'Exec=vardo' "$desktop" || fail "desktop entry does not start vardo"
grep -q '^Name\[ja\]=' "$desktop" || fail "desktop entry has no Japanese name"
# Each theme icon is a PNG of its folder's size; the metainfo names one of them.
theme=$prefix/share/icons/hicolor
for size in 16 32 48 64 128 256; do
    png=$theme/${size}x${size}/apps/org.vardo.Vardo.png
    if [ "$(od -An -tx1 -N4 "$png" 2>/dev/null)" != " 89 50 4e 47" ]; then
        fail "no ${size}x${size} menu icon"
    elif [ "$(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)" != "$size $size" ]; then
        fail "${size}x${size} menu icon is $(od -An -tu4 --endian=big -j16 -N8 "$png" | xargs)"
    fi
done
grep -q '<svg [^>]*viewBox=' "$theme/scalable/apps/org.vardo.Vardo.svg" 2>/dev/null \
    || fail "no scalable menu icon"
named=$(grep -o '<icon type="stock" width="[0-9]*"[^>]*>[^<]*' "$metainfo" \
        | sed 's/.*width="\([0-9]*\)".*>\(.*\)/\1x\1\/apps\/\2.png/')
[ -n "$named" ] && [ -f "$theme/$named" ] || fail "the metainfo's icon ($named) is not installed"

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    # The notes allowed, whole, from AppStream 0.16 (Debian 12) or 1.0 (13).
    allowed=(
        'cid-contains-uppercase-letter org.vardo.Vardo' # the desktop file and icons share it
        'url-homepage-missing'  # 1.0: the program has no web site
        'unknown-tag developer' # 0.16 does not know <developer>, which 1.0 asks for
    )
    appstreamcli validate --pedantic --no-net "$metainfo" | grep -E '^[EWIP]: ' \
        | awk -v allowed="$(IFS='|'; echo "${allowed[*]}")" \
              'BEGIN { n = split(allowed, a, "|"); for (i = 1; i <= n; i++) ok[a[i]] = 1 }
               { note = $0; sub(/^[EWIP]: [^ ]*: /, "", note); if (!(note in ok)) print }' \
        | grep . && fail "appstreamcli validate --pedantic (above)"
fi

# The licences: Debian's machine-readable format, every licence named for
# some files given (in full or by its file in /usr/share/common-licenses),
# every file pattern matching a file of the source, and the metainfo
# declaring the same licences, for the program or for itself.
doc=$prefix/share/doc/vardo
copyright=$doc/copyright
if [ "$(head -n 1 "$copyright" 2>/dev/null)" != \
     "Format: https://www.debian.org/doc/packaging-manuals/copyright-format/1.0/" ]; then
    fail "no machine-readable copyright file"
else
    licences=$(awk 'BEGIN { RS = ""; FS = "\n" }
        $1 ~ /^Files:/ { for (i = 2; i <= NF; i++) if (sub(/^License: */, "", $i)) used[$i] = 1 }
        $1 ~ /^License:/ && NF > 1 { sub(/^License: */, "", $1); text[$1] = 1 }
        END { for (name in used) print name, (name in text) ? "" : "without-text" }' "$copyright")
    grep without-text <<<"$licences" && fail "licence named without its text (above)"
    for name in $(cut -d' ' -f1 <<<"$licences"); do
        grep -Eq "<(project|metadata)_license>.*\b$name\b.*</(project|metadata)_license>" "$metainfo" \
            || fail "the metainfo does not declare $name"
    done
    read -ra patterns <<<"$(awk '/^Files:/ { files = 1; sub(/^Files:/, "") }
                                 /^[^ ]/ && !/^Files:/ { files = 0 }
                                 files' "$copyright" | tr '\n' ' ')"
    for pattern in "${patterns[@]}"; do
        compgen -G "$source/$pattern" >/dev/null || fail "copyright names $pattern, no file of the source"
    done
fi

# The changelog: this version first, its date the metainfo's latest release.
changelog=$doc/changelog.gz
if ! gzip -t "$changelog" 2>/dev/null; then
    fail "no changelog.gz"
else
    [[ "$(zcat "$changelog" | head -n 1)" == "vardo ($version) "* ]] \
        || fail "changelog does not open with version $version"
    dated=$(date -u -d "$(zcat "$changelog" | grep -m 1 '^ -- ' | sed 's/.*>  //')" +%F)
    grep -q "<release version=\"$version\" date=\"$dated\"" "$metainfo" \
        || fail "the metainfo has no release $version of $dated, as the changelog has"
fi

# The manual page renders without a warning and names the files the program
# finds beside itself.
manpage=$prefix/share/man/man1/vardo.1.gz
if ! command -v man >/dev/null; then
    fail "man is not installed (tools/setup.sh installs man-db)"
elif [ ! -f "$manpage" ]; then
    fail "no manual page"
else
    LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$manpage" >"$prefix/man.txt" 2>"$prefix/man.err"
    [ -s "$prefix/man.err" ] && fail "man warns: $(cat "$prefix/man.err")"
    for section in NAME SYNOPSIS DESCRIPTION FILES; do
        grep -qx "$section" "$prefix/man.txt" || fail "manual page has no $section"
    done
    for file in "${side_files[@]}"; do
        sed -n '/^FILES$/,/^[A-Z]/p' "$prefix/man.txt" | grep -q "/$file\$" \
            || fail "manual page does not list $file under FILES"
    done
fi

export QT_QPA_PLATFORM=offscreen

# The real window code, run from the installed folder through a link the way
# bin/vardo runs the program, finds each side file through AppFolderPath.
cp "$probe" "$app/install_probe"
mkdir -p "$prefix/elsewhere"
ln -s ../lib/vardo/install_probe "$prefix/elsewhere/probe"
(cd / && "$prefix/elsewhere/probe" "${side_files[@]}") >/dev/null 2>"$prefix/probe.err" \
    || fail "probe: $(grep -v -e XDG_RUNTIME_DIR -e propagateSizeHints "$prefix/probe.err")"
rm -f "$app/install_probe"

# The installed program itself, started by its command from another folder.
(cd / && timeout 3 "$prefix/bin/vardo") 2>"$prefix/vardo.err"
status=$?
[ $status -eq 124 ] || fail "vardo ended early with status $status"
if grep -v -e XDG_RUNTIME_DIR -e propagateSizeHints "$prefix/vardo.err"; then
    fail "vardo complained on stderr (above)"
fi

[ $failures -eq 0 ] && echo "installed program and its files are in place"
exit $((failures > 0))
