#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one command with a ready Wine prefix, inside the desktop session of tests/session/desktop-session.sh
# (its X server, trayer and PulseAudio), and stops that prefix's Wine processes afterwards:
#   tests/session/desktop-session.sh tests/windows/wine-session.sh COMMAND [ARGS...]
#
# WINEPREFIX: WOBBLIX_WINEPREFIX when set, so that the tests of one run share one prefix (booting a new
# one takes about a quarter of a minute); it is made there if it does not hold a prefix yet and is kept
# afterwards. Otherwise a new prefix in the session's folder, which goes with the session. Commands that
# share a prefix run one after another: the prefix's wineserver, and Wine's desktop process with the
# notification area in it, belong to the X display of the session that started them, and this script
# stops them at its end.
# Wine's sound goes to the session's sound server (its PULSE_SERVER) through winepulse, named as the
# only audio driver so that Wine never falls back to another output unheard. WINEDEBUG=-all keeps Wine's
# messages out of the tests' output, and WINEDLLOVERRIDES turns off the .NET and HTML engines whose
# installers would otherwise ask to be downloaded.
# The command's exit status is the script's.
set -euo pipefail

fail() {
    echo "wine-session: $*" >&2
    exit 1
}

# What runs the 32-bit program: the loader (wine32, of the i386 architecture) beside the commands.
for program in wine wineboot wineserver; do
    command -v "$program" >/dev/null || fail "$program is missing: install the Debian package wine"
done
[ -x /usr/lib/wine/wine ] ||
    fail "/usr/lib/wine/wine, the 32-bit loader, is missing: install wine32:i386 (dpkg --add-architecture i386)"
[ -n "${DISPLAY:-}" ] && [ -n "${PULSE_SERVER:-}" ] ||
    fail "DISPLAY or PULSE_SERVER is not set: run inside tests/session/desktop-session.sh"

export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Non-ASCII arguments and file names pass between Linux and Wine as UTF-8.
export LANG=C.UTF-8

own_folder=
if [ -n "${WOBBLIX_WINEPREFIX:-}" ]; then
    export WINEPREFIX="$WOBBLIX_WINEPREFIX"
elif [ -n "${WOBBLIX_SESSION_DIR:-}" ]; then
    export WINEPREFIX="$WOBBLIX_SESSION_DIR/wineprefix"
else
    own_folder=$(mktemp -d "${TMPDIR:-/tmp}/wobblix-wine.XXXXXX")
    export WINEPREFIX="$own_folder/wineprefix"
fi
mkdir -p "$WINEPREFIX"

stop_wine() {
    local status=$?
    trap - EXIT INT TERM
    # This prefix's wineserver and every Wine process under it; other prefixes' are left alone.
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true
    [ -z "$own_folder" ] || rm -rf "$own_folder"
    exit "$status"
}
trap stop_wine EXIT INT TERM

# A prefix is complete once wineboot has written the user's registry.
if [ ! -s "$WINEPREFIX/user.reg" ]; then
    wineboot -i >"$WINEPREFIX/wineboot.log" 2>&1 ||
        fail "wineboot -i failed in $WINEPREFIX: $(tail -n 5 "$WINEPREFIX/wineboot.log")"
    wineserver -w
    [ -s "$WINEPREFIX/user.reg" ] || fail "wineboot left no user registry in $WINEPREFIX"
fi
# The prefix's user folders (Desktop, Documents, ...) are links into the HOME of the session that made it.
# In a later session that HOME is gone, and the shell's folders with it: the open-file dialog then
# browses nowhere, and its Open does nothing. They follow this session's HOME.
for folder in "$WINEPREFIX"/drive_c/users/*/*; do
    if [ -L "$folder" ] && [ ! -e "$folder" ]; then
        ln -sfn "$HOME" "$folder"
    fi
done
# A Windows program that crashes ends at once, after Wine's line about the fault on its standard error.
# Wine's own crash handler, winedbg, hangs here (no terminal), so the test waited unseen until it timed
# out; the handler named here ends at once, and Wine then ends the program.
wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
    /d 'cmd.exe /c exit %ld %ld' /f >/dev/null 2>&1 || fail "could not choose Wine's crash handler"
wine reg add 'HKCU\Software\Wine\Drivers' /v Audio /t REG_SZ /d pulse /f >/dev/null 2>&1 ||
    fail "could not choose Wine's audio driver"

"$@"
