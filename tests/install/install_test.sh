#!/usr/bin/env bash
# install_test.sh BUILD SOURCE PROBE [SIDE-FILE...]
# Installs the build into a fresh prefix and checks what a user gets: the
# program's folder with its side files, the vardo command, the menu entry and
# metadata; then starts the installed program through `vardo` and expects it
# to stay up with nothing on stderr but known platform chatter.
set -uo pipefail
build=$1 source=$2 probe=$3
shift 3
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
if [ -f "$source/assets/vardo.ico" ]; then
    for size in 16 32; do
        [ -s "$prefix/share/icons/hicolor/${size}x${size}/apps/org.vardo.Vardo.png" ] \
            || fail "no ${size}x${size} menu icon"
    done
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$metainfo" >/dev/null || fail "appstreamcli validate"
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
