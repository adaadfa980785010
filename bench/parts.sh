#!/usr/bin/env bash
# SPDX-FileCopyrightText: 2026 Wobblix Clock developers <developers@wobblix.example>
# SPDX-License-Identifier: GPL-3.0-or-later
# One part of bench/run, inside the desktop session: `bash bench/parts.sh PART`. Appends its table rows to
# WOBBLIX_BENCH_RESULTS ("| figure | median | min | max | unit | runs |") and echoes them on stderr.
set -euo pipefail
cd "$(dirname "$0")/.."

bin=$WOBBLIX_BENCH_BIN
clock=$bin/wobblix-clock
faketime_lib=/usr/lib/x86_64-linux-gnu/faketime/libfaketimeMT.so.1
work=$WOBBLIX_SESSION_DIR/bench
mkdir -p "$work"

# Test sounds: the chime a 440 Hz tone, the alarm an 880 Hz one, both short; a 50 ms click for Play.
sox -n -r 48000 -c 1 -b 16 "$work/chime.wav" synth 0.3 sine 440 vol 0.5
sox -n -r 48000 -c 1 -b 16 "$work/alarm.wav" synth 0.3 sine 880 vol 0.5
sox -n -r 48000 -c 1 -b 16 "$work/click.wav" synth 0.05 sine 880 vol 0.5

# The six settings, as the program reads them at start.
settings() { # FILE HOUR MINUTE ALARMON CHIME CHIMESON
    mkdir -p "$XDG_CONFIG_HOME"
    printf '[Main]\nFile=%s\nHour=%s\nMinute=%s\nAlarmON=%s\nChime=%s\nChimesON=%s\n' "$@" \
        >"$XDG_CONFIG_HOME/Wobblix.conf"
}

# Median, minimum and maximum of the numbers on standard input, one a line: "MEDIAN MIN MAX COUNT".
stats() {
    sort -g | awk '{ v[NR] = $1 } END {
        if (NR == 0) { print "- - - 0"; exit }
        m = (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
        printf "%.5g %.5g %.5g %d\n", m, v[1], v[NR], NR }'
}

row() { # FIGURE UNIT RUNS-TEXT < numbers
    local median min max n
    read -r median min max n < <(stats)
    local line="| $1 | $median | $min | $max | $2 | ${3//\{n\}/$n} |"
    echo "$line" >>"$WOBBLIX_BENCH_RESULTS"
    echo "$line" >&2
}

note() { # FIGURE VALUE UNIT TEXT
    local line="| $1 | $2 | | | $3 | $4 |"
    echo "$line" >>"$WOBBLIX_BENCH_RESULTS"
    echo "$line" >&2
}

# RSS and PSS of a process, kB: "RSS PSS".
memory() {
    awk '/^Rss:/ { r = $2 } /^Pss:/ { p = $2 } END { print r, p }' "/proc/$1/smaps_rollup"
}

# The process's visible top-level window (the first one mapped), waiting up to 10 s for it.
window_of() {
    local window=""
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --pid "$1" 2>/dev/null | head -n1 || true)
        [ -n "$window" ] && { echo "$window"; return 0; }
        sleep 0.05
    done
    echo "bench: process $1 shows no window" >&2
    return 1
}

stop() { kill "$1" 2>/dev/null || true; wait "$1" 2>/dev/null || true; }

startup() {
    settings "$work/alarm.wav" 12 30 1 "$work/chime.wav" 1
    local ours="$work/startup-clock" empty="$work/startup-empty"
    : >"$ours"
    : >"$empty"
    # One of each first, to warm the file cache; then alternately, so that both meet the same machine.
    "$bin/wobblix-bench-mapped" "$clock" >/dev/null
    "$bin/wobblix-bench-mapped" "$bin/wobblix-bench-empty-window" >/dev/null
    # Each run takes a few tens of milliseconds, and seven pairs were too few on a shared machine to tell
    # the ratio within a few percent: 31 pairs by default (WOBBLIX_BENCH_STARTUP_PAIRS).
    for _ in $(seq "${WOBBLIX_BENCH_STARTUP_PAIRS:-31}"); do
        "$bin/wobblix-bench-mapped" "$clock" >>"$ours"
        "$bin/wobblix-bench-mapped" "$bin/wobblix-bench-empty-window" >>"$empty"
    done
    row "Start-up, exec to window mapped: Wobblix Clock" ms "{n} runs" <"$ours"
    row "Start-up, exec to window mapped: empty Qt Widgets window with a menu bar" ms "{n} runs" <"$empty"
    paste "$ours" "$empty" | awk '{ print $1 / $2 }' | row "Start-up, Wobblix Clock / empty window" ratio \
        "{n} pairs (target 1.15 at most)"

    # A second start while the clock runs: it asks the running clock to Activate on the session bus and
    # ends. Timed from before the exec to its end, as many runs as there were pairs.
    local again="$work/startup-again" pid started
    : >"$again"
    "$clock" &
    pid=$!
    window_of "$pid" >/dev/null
    for _ in $(seq "${WOBBLIX_BENCH_STARTUP_PAIRS:-31}"); do
        started=$EPOCHREALTIME
        "$clock" || { echo "bench: a second start ended with status $?" >&2; exit 1; }
        awk -v s="$started" -v e="$EPOCHREALTIME" 'BEGIN { printf "%.1f\n", (e - s) * 1000 }' >>"$again"
    done
    stop "$pid"
    row "Start-up, a second start handing over to the running clock: exec to exit" ms \
        "{n} runs (target under 1000)" <"$again"
}

memory_part() {
    settings "$work/click.wav" 12 30 1 "$work/chime.wav" 1
    local presses
    presses=$(printf 'space %.0s' $(seq 100))
    : >"$work/m-rss5"; : >"$work/m-pss5"; : >"$work/m-rss100"; : >"$work/m-pss100"; : >"$work/m-heard"
    : >"$work/m-threads"; : >"$work/m-libraries"
    for _ in $(seq 5); do
        local started pid window rss pss parec
        started=$(date +%s.%N)
        "$clock" &
        pid=$!
        window=$(window_of "$pid")
        sleep "$(awk -v s="$started" -v n="$(date +%s.%N)" 'BEGIN { d = s + 5 - n; print (d > 0 ? d : 0) }')"
        read -r rss pss < <(memory "$pid")
        echo "$rss" >>"$work/m-rss5"
        echo "$pss" >>"$work/m-pss5"
        # Focus starts on the alarm's switch; two Tabs reach its Play button, and Space presses it.
        [ "$(xdotool getwindowfocus)" = "$window" ] || { echo "bench: the window has no focus" >&2; exit 1; }
        parec --device="$WOBBLIX_SINK.monitor" --latency-msec=20 --raw --format=s16le --rate=48000 \
            --channels=1 >"$work/presses.raw" &
        parec=$!
        # parec may write its first bytes well before the audio flows: wait for a second of it.
        while [ "$(stat -c %s "$work/presses.raw")" -lt 96000 ]; do sleep 0.05; done
        xdotool key Tab Tab
        # shellcheck disable=SC2086
        xdotool key --delay 250 $presses
        sleep 1
        kill -INT "$parec"; wait "$parec" || true
        "$bin/wobblix-bench-soak" count "$work/presses.raw" | awk '/^value sounds/ { print $3 }' >>"$work/m-heard"
        sleep 2
        read -r rss pss < <(memory "$pid")
        echo "$rss" >>"$work/m-rss100"
        echo "$pss" >>"$work/m-pss100"
        find "/proc/$pid/task" -mindepth 1 -maxdepth 1 | wc -l >>"$work/m-threads"
        awk '$6 ~ /\.so/ { print $6 }' "/proc/$pid/maps" | sort -u | wc -l >>"$work/m-libraries"
        stop "$pid"
    done
    row "Memory 5 s after start: RSS" kB "{n} runs" <"$work/m-rss5"
    row "Memory 5 s after start: PSS" kB "{n} runs" <"$work/m-pss5"
    row "Memory after 100 sounds: RSS" kB "{n} runs" <"$work/m-rss100"
    row "Memory after 100 sounds: PSS" kB "{n} runs" <"$work/m-pss100"
    row "Sounds heard at the sink of 100 Play presses" count "{n} runs" <"$work/m-heard"
    row "After 100 sounds: threads" count "{n} runs" <"$work/m-threads"
    row "After 100 sounds: shared libraries mapped" count "{n} runs" <"$work/m-libraries"
}

sound() {
    sox -n -r 44100 -c 2 -b 16 "$work/one-second.wav" synth 1 sine 440 sine 660 vol 0.5
    sox -n -r 44100 -c 2 -b 16 "$work/ten-minutes.wav" synth 600 sine 440 sine 660 vol 0.5
    : >"$work/s-values"
    for _ in $(seq 5); do
        "$bin/wobblix-sound-latency" "$work/one-second.wav" "$work/ten-minutes.wav" --onsets-only \
            >>"$work/s-values"
    done
    awk '$2 == "first_request_ms" { print $3 }' "$work/s-values" |
        row "Sound, request to first sample: first request (loads the audio module)" ms "{n} processes"
    awk '$2 == "one_second_ms" { print $3 }' "$work/s-values" |
        row "Sound, request to first sample: back end started, 1 s file" ms "{n} requests in 5 processes (target under 30)"
    awk '$2 == "ten_minute_ms" { print $3 }' "$work/s-values" |
        row "Sound, request to first sample: back end started, 10 min file" ms "{n} requests in 5 processes"
    awk '$2 == "first_request_ms_call" { print $3 }' "$work/s-values" |
        row "Sound, the request's time on the window's thread: first request (loads the audio module)" ms \
            "{n} processes"
    awk '$2 == "one_second_ms_call" || $2 == "ten_minute_ms_call" { print $3 }' "$work/s-values" |
        row "Sound, the request's time on the window's thread: later requests" ms "{n} requests in 5 processes"
}

# CPU time (ns, all threads) and context switches (voluntary and involuntary, all threads) so far:
# "CPU CTX THREADS".
usage() {
    local cpu=0 switches=0 threads=0 task ns v
    for task in /proc/"$1"/task/*; do
        read -r ns _ <"$task/schedstat" || continue
        v=$(awk '/^(voluntary|nonvoluntary)_ctxt_switches/ { s += $2 } END { print s + 0 }' "$task/status")
        cpu=$((cpu + ns))
        switches=$((switches + v))
        threads=$((threads + 1))
    done
    echo "$cpu $switches $threads"
}

# Ten one-minute samples (WOBBLIX_BENCH_IDLE_MINUTES, for a quick try) of the program's idle cost: "CPU-MS SWITCHES" a line into FILE.
idle_minutes() { # PID FILE
    local cpu0 ctx0 cpu1 ctx1 threads
    : >"$2"
    read -r cpu0 ctx0 threads < <(usage "$1")
    for _ in $(seq "${WOBBLIX_BENCH_IDLE_MINUTES:-10}"); do
        sleep 60
        read -r cpu1 ctx1 threads < <(usage "$1")
        echo "$(((cpu1 - cpu0) / 1000)) $((ctx1 - ctx0))" | awk '{ printf "%.3f %d\n", $1 / 1000, $2 }' >>"$2"
        cpu0=$cpu1
        ctx0=$ctx1
    done
    echo "bench: $threads threads at the end" >&2
}

# Options > Hide with the mouse, as a person does: the menu's title, then its first item.
hide_through_menu() { # PID WINDOW
    local x y width height before menu
    eval "$(xdotool getwindowgeometry --shell "$2" | grep -E '^(X|Y)=')"
    before=$(xdotool search --onlyvisible --pid "$1" | sort)
    xdotool mousemove $((X + 25)) $((Y + 10)) click 1
    for _ in $(seq 100); do
        menu=$(comm -13 <(echo "$before") <(xdotool search --onlyvisible --pid "$1" | sort) | head -n1)
        [ -n "$menu" ] && break
        sleep 0.05
    done
    [ -n "$menu" ] || { echo "bench: the Options menu did not open" >&2; return 1; }
    eval "$(xdotool getwindowgeometry --shell "$menu" | grep -E '^(X|Y)=')"
    xdotool mousemove $((X + 20)) $((Y + 12)) click 1
    for _ in $(seq 100); do
        xwininfo -id "$2" | grep -q 'Map State: IsUnMapped' && return 0
        sleep 0.05
    done
    echo "bench: Hide did not hide the window" >&2
    return 1
}

idle() {
    # Alarm set and chimes on, as it runs all day; the clock starts at 10:05 and runs at the real speed,
    # so that neither sounds within the twenty minutes.
    settings "$work/alarm.wav" 12 30 1 "$work/chime.wav" 1
    local pid window
    LD_PRELOAD=$faketime_lib FAKETIME='@2026-12-07 10:05:00' "$clock" &
    pid=$!
    window=$(window_of "$pid")
    sleep 5
    idle_minutes "$pid" "$work/idle-shown"
    hide_through_menu "$pid" "$window"
    xdotool mousemove 0 799
    sleep 5
    idle_minutes "$pid" "$work/idle-hidden"
    stop "$pid"
    cut -d' ' -f1 "$work/idle-shown" | row "Idle, window shown: CPU time per minute" ms "{n} minutes of one run"
    cut -d' ' -f2 "$work/idle-shown" |
        row "Idle, window shown: context switches per minute" count "{n} minutes of one run"
    cut -d' ' -f1 "$work/idle-hidden" |
        row "Idle, hidden in the notification area: CPU time per minute" ms "{n} minutes of one run"
    cut -d' ' -f2 "$work/idle-hidden" |
        row "Idle, hidden in the notification area: context switches per minute" count "{n} minutes of one run"
}

soak() {
    settings "$work/alarm.wav" 12 30 1 "$work/chime.wav" 1
    local status=0
    "$bin/wobblix-bench-soak" soak --faketime "$faketime_lib" \
        --clock-pair "$bin/wobblix-bench-clock-pair.so" --start '2026-12-07 07:58:00' --speed 100 \
        --hours "${WOBBLIX_BENCH_SOAK_HOURS:-24}" --chime-hz 440 --alarm-hz 880 --alarm 12:30 --tick-ms 3000 -- "$clock" \
        >"$work/soak" || status=$?
    grep -v '^value' "$work/soak" >&2
    value() { awk -v k="$1" '$1 == "value" && $2 == k { print $3 }' "$work/soak"; }
    note "Soak, 24 h at x100: chimes heard (one each hour)" "$(value chimes)" count "one run (24 expected)"
    note "Soak: alarms heard at 12:30" "$(value alarms)" count "one run (1 expected)"
    note "Soak: other sounds, or sounds outside their minute" "$(($(value other_sounds) + $(value misplaced)))" \
        count "one run (0 expected)"
    note "Soak: sounds into their minute, program clock, earliest / latest" \
        "$(value earliest_into_minute_s) / $(value latest_into_minute_s)" s \
        "one run ($(value allowed_early_s) to $(value allowed_s) s allowed: one 3 s tick plus 50 ms x100 of latency; the recording's placement, $(value recording_placement_spread_ms) ms x100, early)"
    note "Soak: memory after the first sound, RSS / PSS / anonymous" \
        "$(value rss_after_first_kb) / $(value pss_after_first_kb) / $(value anonymous_after_first_kb)" kB "one run"
    local grew
    grew=$(awk -v a="$(value rss_end_kb)" -v b="$(value rss_after_first_kb)" -v c="$(value pss_end_kb)" \
        -v d="$(value pss_after_first_kb)" -v e="$(value anonymous_end_kb)" -v f="$(value anonymous_after_first_kb)" \
        'BEGIN { printf "%+d / %+d / %+d", a - b, c - d, e - f }')
    note "Soak: memory at the end, RSS / PSS / anonymous" \
        "$(value rss_end_kb) / $(value pss_end_kb) / $(value anonymous_end_kb)" kB \
        "one run (change $grew kB; RSS and anonymous within 1024 kB passes, PSS moves with other processes)"
    note "Soak: every check passed" "$([ "$(value soak_passed)" = 1 ] && echo yes || echo NO)" "" "one run"
    return "$status"
}

case "$1" in
startup) startup ;;
memory) memory_part ;;
sound) sound ;;
idle) idle ;;
soak) soak ;;
*) echo "bench/parts.sh: unknown part $1" >&2; exit 2 ;;
esac
