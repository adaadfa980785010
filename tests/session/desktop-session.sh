#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs one command inside a private desktop session and stops the session afterwards:
#   - Xvfb on a free display (DISPLAY),
#   - the trayer panel, an XEmbed notification area (leave it out with WOBBLIX_SESSION_TRAY=none), whose
#     process id is WOBBLIX_SESSION_TRAY_PID, so that a test can end it and go on without a tray,
#   - a private session bus (DBUS_SESSION_BUS_ADDRESS), as every desktop has one; Qt asks it, for one,
#     whether a screen reader is listening, and the accessibility bus beside it (at-spi-bus-launcher),
#   - a private PulseAudio whose default output is a null sink, WOBBLIX_SINK, recordable from
#     "$WOBBLIX_SINK.monitor", with a stream of zeros kept playing into it so that the monitor's timeline
#     never stalls (that stream's client name is "session-keepalive"),
#   - private HOME, XDG_CONFIG_HOME and XDG_RUNTIME_DIR in a temporary folder (WOBBLIX_SESSION_DIR),
#   - with WOBBLIX_SESSION_SNI=host, a StatusNotifierItem host as KDE Plasma or GNOME's AppIndicator
#     extension are: status-notifier-watcher and the gtk-sni-tray-standalone panel on the session bus, the
#     panel's process id in WOBBLIX_SESSION_SNI_HOST_PID so that a test can end it and leave the watcher
#     without a host; with WOBBLIX_SESSION_SNI=watcher, the watcher alone, as a crashed panel leaves it,
#   - with WOBBLIX_SESSION_WAYLAND=weston, weston's headless compositor (WAYLAND_DISPLAY), for programs run
#     with QT_QPA_PLATFORM=wayland beside the X server.
# The command's exit status is the script's. Nothing is skipped: a part that cannot start fails the run,
# and before anything starts, a program that the session or its tests need and that is not installed
# stops it, named with its Debian package (tests/session/programs).
#
#   tests/session/desktop-session.sh COMMAND [ARGS...]
set -euo pipefail

"$(dirname "${BASH_SOURCE[0]}")/require-programs" session

session=$(mktemp -d "${TMPDIR:-/tmp}/wobblix-session.XXXXXX")
pids=()
cleanup() {
    local status=$?
    trap - EXIT INT TERM
    # Bash may report children it already reaped; that report is noise here.
    { kill "${pids[@]}"; wait; } 2>/dev/null || true
    rm -rf "$session"
    exit "$status"
}
trap cleanup EXIT INT TERM

fail() {
    echo "desktop-session: $*" >&2
    for log in "$session"/*.log; do
        [ -s "$log" ] && { echo "--- $log" >&2; tail -n 20 "$log" >&2; }
    done
    exit 1
}

# Waits up to about five seconds for a command to succeed.
await() {
    for _ in $(seq 100); do
        "$@" >/dev/null 2>&1 && return 0
        sleep 0.05
    done
    return 1
}

mkdir -p "$session"/{home,config,runtime,pulse}
chmod 700 "$session/runtime"
export HOME="$session/home" XDG_CONFIG_HOME="$session/config" XDG_RUNTIME_DIR="$session/runtime"
export WOBBLIX_SESSION_DIR="$session"
unset DBUS_SESSION_BUS_ADDRESS WAYLAND_DISPLAY QT_QPA_PLATFORM

# The session bus. Without one, the first program to look for it would start a bus of its own through
# dbus-launch, which outlives the session.
dbus-daemon --session --nofork --nopidfile --address="unix:path=$session/runtime/bus" \
    >"$session/dbus.log" 2>&1 &
pids+=($!)
export DBUS_SESSION_BUS_ADDRESS="unix:path=$session/runtime/bus"
await dbus-send --session --dest=org.freedesktop.DBus --type=method_call --print-reply \
    /org/freedesktop/DBus org.freedesktop.DBus.GetId || fail "the session bus did not start"
# The accessibility bus, which desktops start at login, and which every Qt program asks about as it starts.
/usr/libexec/at-spi-bus-launcher --launch-immediately >"$session/at-spi.log" 2>&1 &
pids+=($!)
await sh -c 'dbus-send --session --dest=org.a11y.Bus --type=method_call --print-reply /org/a11y/bus \
    org.a11y.Bus.GetAddress | grep -q unix' || fail "the accessibility bus did not start"

# X server on the first free display.
exec 3>"$session/display"
Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp -noreset >"$session/xvfb.log" 2>&1 &
pids+=($!)
exec 3>&-
await test -s "$session/display" || fail "Xvfb did not start"
export DISPLAY=":$(head -n1 "$session/display")"
await xdpyinfo || fail "display $DISPLAY does not answer"

if [ "${WOBBLIX_SESSION_TRAY:-trayer}" != none ]; then
    trayer --edge top --align right --widthtype pixel --width 200 --heighttype pixel --height 32 \
        --SetDockType true --transparent false >"$session/trayer.log" 2>&1 &
    pids+=($!)
    export WOBBLIX_SESSION_TRAY_PID=$!
    # The notification area exists once its manager owns the selection of screen 0.
    await sh -c 'xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null; xdotool search --class trayer' ||
        fail "trayer did not start"
fi

if [ "${WOBBLIX_SESSION_SNI:-none}" != none ]; then
    status-notifier-watcher >"$session/sni-watcher.log" 2>&1 &
    pids+=($!)
    await gdbus introspect --session --dest org.kde.StatusNotifierWatcher \
        --object-path /StatusNotifierWatcher || fail "status-notifier-watcher did not start"
fi
if [ "${WOBBLIX_SESSION_SNI:-none}" = host ]; then
    gtk-sni-tray-standalone --bottom >"$session/sni-host.log" 2>&1 &
    pids+=($!)
    export WOBBLIX_SESSION_SNI_HOST_PID=$!
    await sh -c 'gdbus call --session --dest org.kde.StatusNotifierWatcher --object-path /StatusNotifierWatcher \
        --method org.freedesktop.DBus.Properties.Get org.kde.StatusNotifierWatcher \
        IsStatusNotifierHostRegistered | grep -q true' || fail "gtk-sni-tray-standalone did not register"
fi

if [ "${WOBBLIX_SESSION_WAYLAND:-none}" = weston ]; then
    weston --backend=headless-backend.so --socket=wobblix-wayland --idle-time=0 --width=1280 --height=800 \
        >"$session/weston.log" 2>&1 &
    pids+=($!)
    await test -S "$XDG_RUNTIME_DIR/wobblix-wayland" || fail "weston did not start"
    export WAYLAND_DISPLAY=wobblix-wayland
fi

# Sound server with a null sink as its only, default output.
export WOBBLIX_SINK=wobblix_sink
export PULSE_SERVER="unix:$session/pulse/native"
pulseaudio --daemonize=no --exit-idle-time=-1 -n --disable-shm=yes \
    --load="module-native-protocol-unix socket=$session/pulse/native auth-anonymous=1" \
    --load="module-null-sink sink_name=$WOBBLIX_SINK rate=48000 channels=2" \
    >"$session/pulseaudio.log" 2>&1 &
pids+=($!)
await pactl info || fail "pulseaudio did not start"
pactl set-default-sink "$WOBBLIX_SINK"
pacat --playback --device="$WOBBLIX_SINK" --client-name=session-keepalive --raw \
    --format=s16le --rate=48000 --channels=2 </dev/zero >"$session/keepalive.log" 2>&1 &
pids+=($!)

"$@"
