#!/usr/bin/env bash
# Usage: check_packaged_tree.sh BUILD_DIR VERSION
# Installs the packaged layout's files of BUILD_DIR into a temporary prefix
# (the tree the package holds below /usr) and checks it.
set -uo pipefail
build=$1
version=$2
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}
need_file() {
    [ -f "$prefix/$1" ] || fail "missing $1"
}

if ! cmake --install "$build" --prefix "$prefix" --component packaged >"$prefix.log" 2>&1; then
    cat "$prefix.log" >&2
    rm -f "$prefix.log"
    echo "FAIL: cmake --install --component packaged" >&2
    exit 1
fi
rm -f "$prefix.log"

prog=lib/quorvane
# The program, its library and its read-only files, nothing a run wrote.
for f in $prog/Tallimer $prog/libRiri.so $prog/help/quorvane.qch $prog/help/quorvane.qhc \
    $prog/images/screen.bmp $prog/text/About.rtf $prog/home/inv.inv; do
    need_file "$f"
done
[ -x "$prefix/$prog/Tallimer" ] || fail "$prog/Tallimer is not executable"
[ "$(head -c 15 "$prefix/$prog/home/inv.inv" 2>/dev/null)" = "SQLite format 3" ] ||
    fail "$prog/home/inv.inv is not an SQLite database"
extra=$(cd "$prefix/$prog" && find . -path ./help -prune -o -path ./images -prune -o -path ./text -prune \
    -o -type f ! -name Tallimer ! -name 'libRiri.so*' ! -path ./home/inv.inv -print)
[ -z "$extra" ] || fail "unexpected files below $prog: $extra"
[ -z "$(find "$prefix/$prog" -name error.log -o -name .quorvane)" ] || fail "a run's files were installed"

# The command on PATH is a relative link to the program, which finds its
# library beside itself through the link (the loader, asked directly, lists
# what a start through the link would load).
[ -L "$prefix/bin/tallimer" ] || fail "bin/tallimer is not a link"
[ "$(readlink "$prefix/bin/tallimer")" = "../$prog/Tallimer" ] || fail "bin/tallimer points elsewhere"
[ "$(readlink -f "$prefix/bin/tallimer")" = "$(readlink -f "$prefix/$prog/Tallimer")" ] ||
    fail "bin/tallimer does not reach the program"
riri=$(LD_TRACE_LOADED_OBJECTS=1 "$prefix/bin/tallimer" 2>/dev/null | awk '$1 ~ /^libRiri\.so/ { print $3 }')
[ "$(readlink -f "$riri")" = "$(readlink -f "$prefix/$prog/libRiri.so")" ] ||
    fail "the program started through bin/tallimer does not find the library beside it (got '$riri')"

# Desktop entry, icons, metainfo and manual page.
desktop=share/applications/com.example.quorvane.desktop
metainfo=share/metainfo/com.example.quorvane.metainfo.xml
need_file "$desktop"
need_file "$metainfo"
for line in 'Exec=tallimer' 'Icon=quorvane' 'Categories=Office;' 'Type=Application'; do
    grep -qx "$line" "$prefix/$desktop" 2>/dev/null || fail "$desktop lacks $line"
done
grep -q "<release version=\"$version\"" "$prefix/$metainfo" 2>/dev/null || fail "$metainfo does not name version $version"
grep -q '<launchable type="desktop-id">com.example.quorvane.desktop</launchable>' "$prefix/$metainfo" 2>/dev/null ||
    fail "$metainfo does not launch the desktop entry"
need_file share/icons/hicolor/scalable/apps/quorvane.svg
grep -q '<svg' "$prefix/share/icons/hicolor/scalable/apps/quorvane.svg" 2>/dev/null || fail "the SVG icon is not SVG"
for size in 48 256; do
    png=share/icons/hicolor/${size}x${size}/apps/quorvane.png
    need_file "$png"
    # PNG signature, then the IHDR chunk's width and height (big-endian).
    header=$(od -An -tx1 -N24 "$prefix/$png" 2>/dev/null | tr -d ' \n')
    want=$(printf '89504e470d0a1a0a0000000d49484452%08x%08x' "$size" "$size")
    [ "$header" = "$want" ] || fail "$png is not a ${size}x${size} PNG"
done
man=share/man/man1/tallimer.1.gz
need_file "$man"
gzip -dc "$prefix/$man" 2>/dev/null | grep -q '^\.TH TALLIMER 1' || fail "$man is not the compressed manual page"
# Every option of the command line, its escaped dashes read as plain ones.
options=$(gzip -dc "$prefix/$man" 2>/dev/null | sed 's/\\-/-/g' | grep -o -- '--[a-z-]*' | sort -u)
for option in help version check backup restore export-csv import-csv; do
    grep -qx -- "--$option" <<<"$options" || fail "$man does not describe --$option"
done

if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$prefix/$desktop" || fail "desktop-file-validate $desktop"
else
    echo "desktop-file-validate not installed: desktop entry not validated"
fi
if command -v appstreamcli >/dev/null; then
    appstreamcli validate --no-net "$prefix/$metainfo" >"$prefix/validate.log" 2>&1 ||
        { cat "$prefix/validate.log" >&2; fail "appstreamcli validate $metainfo"; }
else
    echo "appstreamcli not installed: metainfo not validated"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed" >&2
    exit 1
fi
echo "packaged tree complete ($(cd "$prefix" && find . -type f -o -type l | wc -l) files)"
