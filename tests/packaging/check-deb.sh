#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package with cpack into a temporary folder, unpacks it there (dpkg-deb -x, -I) and
# checks what lands where: the program in usr/bin and the audio module it loads from usr/lib/wobblix-clock,
# both stripped; the desktop entry, whose Exec and Icon name
# what the package holds; the icons at the sizes their folders promise; the metainfo, valid together
# with the installed tree; the manual page, the copyright file and a changelog whose latest entry is
# this version; nothing else, all owned by root; and the control fields with Depends.
#
#   tests/packaging/check-deb.sh CPACK CPACK_CONFIG VERSION
set -euo pipefail
"$(dirname "$0")/../session/require-programs" package

cpack=$1 config=$2 version=$3
work=$(mktemp -d "${TMPDIR:-/tmp}/wobblix-deb.XXXXXX")
trap 'rm -rf "$work"' EXIT

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

if ! "$cpack" --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
    cat "$work/cpack.log" >&2
    echo "FAIL: cpack did not build the package" >&2
    exit 1
fi
arch=$(dpkg --print-architecture)
deb=$work/out/wobblix-clock_${version}_${arch}.deb
if [ ! -f "$deb" ]; then
    echo "FAIL: no $(basename "$deb"); cpack made: $(cd "$work/out" && echo *.deb)" >&2
    exit 1
fi

# Control fields.
dpkg-deb -I "$deb" control >"$work/control"
field() { sed -n "s/^$1: //p" "$work/control"; }
[ "$(field Package)" = wobblix-clock ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture), not $arch"
depends=$(field Depends)
# The names alone, one a line, without their versions.
depends_names=$(sed 's/ ([^)]*)//g; s/, /\n/g' <<<"$depends")
# From dpkg-shlibdeps (the libraries the program links), and what the program looks up by name.
for package in libc6 libstdc++6 libqt6core6 libqt6gui6 libqt6widgets6 libqt6dbus6 \
    libsndfile1 libpulse0 sound-theme-freedesktop; do
    grep -qxF "$package" <<<"$depends_names" || fail "Depends lacks $package: $depends"
done
grep -q 'pulse' <<<"$(field Recommends)" || fail "Recommends no sound server: $(field Recommends)"

# Files: exactly these, owned by root.
dpkg-deb -x "$deb" "$work/root"
cd "$work/root"
metainfo=usr/share/metainfo/io.github.wobblix.WobblixClock.metainfo.xml
desktop=usr/share/applications/io.github.wobblix.WobblixClock.desktop
module=usr/lib/wobblix-clock/libwobblix-audio.so
changelog=usr/share/doc/wobblix-clock/changelog.gz
expected=(usr/bin/wobblix-clock "$module" "$desktop" "$metainfo"
    usr/share/icons/hicolor/scalable/apps/wobblix-clock.svg
    usr/share/man/man1/wobblix-clock.1.gz usr/share/doc/wobblix-clock/copyright "$changelog"
    usr/share/lintian/overrides/wobblix-clock)
for size in 16 32 48; do
    expected+=("usr/share/icons/hicolor/${size}x${size}/apps/wobblix-clock.png")
done
if ! diff -u <(printf '%s\n' "${expected[@]}" | sort) <(find . ! -type d | sed 's|^\./||' | sort) \
    >"$work/files.diff"; then
    fail "the package's files are not the expected ones:"
    cat "$work/files.diff" >&2
fi
owners=$(dpkg-deb -c "$deb" | awk '{ print $2 }' | sort -u)
[ "$owners" = root/root ] || fail "owners other than root: $owners"

# The program: an executable ELF file without debugging sections.
program=usr/bin/wobblix-clock
[ -x "$program" ] || fail "$program is not executable"
[ "$(head -c4 "$program" | od -An -c | tr -d ' ')" = '177ELF' ] || fail "$program is no ELF file"
readelf -S "$program" >"$work/sections"
grep -q '\.debug_' "$work/sections" && fail "$program keeps its debugging sections"

# The audio module: a shared object without debugging sections, readable and not executable (Debian's
# rule for shared libraries).
if [ -f "$module" ]; then
    [ "$(stat -c %a "$module")" = 644 ] || fail "$module has mode $(stat -c %a "$module"), not 644"
    readelf -h "$module" | grep -q 'DYN (Shared object file)' || fail "$module is no shared object"
    readelf -S "$module" | grep -q '\.debug_' && fail "$module keeps its debugging sections"
fi

# Each PNG icon is as large as its folder says (width and height from the PNG header).
for size in 16 32 48; do
    png=usr/share/icons/hicolor/${size}x${size}/apps/wobblix-clock.png
    [ -f "$png" ] || continue
    read -r width height < <(od -An -tu4 --endian=big -j16 -N8 "$png")
    [ "$width x $height" = "$size x $size" ] || fail "$png is $width x $height"
done

# The desktop entry starts the program the package installs and names its icon.
if [ -f "$desktop" ]; then
    desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $desktop"
    entry() { sed -n "/^\[Desktop Entry\]/,/^\[/s/^$1=//p" "$desktop"; }
    [ "$(entry Name)" = "Wobblix Clock" ] || fail "Name=$(entry Name)"
    read -r exec _ <<<"$(entry Exec)"
    if [ "$exec" != wobblix-clock ] || [ ! -x "usr/bin/$exec" ]; then
        fail "Exec=$(entry Exec) is not usr/bin's program"
    fi
    [ "$(entry Icon)" = wobblix-clock ] || fail "Icon=$(entry Icon)"
    grep -Eq '^Categories=(.*;)?Utility;(.*;)?Clock;' "$desktop" || fail "$(grep ^Categories= "$desktop")"
fi

# The metainfo, together with the desktop entry it launches and the icons of the tree.
if [ -f "$metainfo" ]; then
    appstreamcli validate-tree --no-net "$work/root" >"$work/appstream.log" 2>&1 ||
        { fail "appstreamcli validate-tree:"; cat "$work/appstream.log" >&2; }
    grep -q '<release version="'"$version"'"' "$metainfo" || fail "$metainfo has no release $version"
fi

# The changelog's latest entry is this version's.
if [ -f "$changelog" ]; then
    latest=$(zcat "$changelog" | head -n1)
    [[ $latest == "wobblix-clock ($version) "* ]] || fail "$changelog begins \"$latest\", not version $version"
fi

if [ "$failures" -ne 0 ]; then
    echo "--- dpkg-deb -I" >&2
    dpkg-deb -I "$deb" >&2
    exit 1
fi
echo "$(basename "$deb"): Depends: $depends"
