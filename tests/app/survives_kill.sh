#!/usr/bin/env bash
# The real program in a real X server (Xvfb), driven by xdotool as a user would: a fill added
# through the fill dialog must be on disk within a second, and stay there whole whatever ends
# the program: kill -9, SIGTERM, SIGHUP, SIGINT, or the X server going away. And a copy of the
# log that a sync tool puts in place while the window is open is merged, not written over.
# Usage: survives_kill.sh PATH/TO/tankometer
set -u
program=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT

# Waits up to 10 seconds for a condition, checking it every 50 ms.
wait_for() {
    for _ in $(seq 200); do
        eval "$1" && return 0
        sleep 0.05
    done
    echo "timed out waiting for: $1" >&2
    return 1
}

size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }

# An empty log is 296 bytes; with one fill, its station and its driver it is 296 + 128 + 68 + 44.
readonly empty_log=296 one_fill_log=536 three_fill_log=792

# The window named by the pattern, once it is shown (10 seconds at most), given the keyboard.
focus_window() {
    timeout 10 xdotool search --sync --onlyvisible --name "$1" windowfocus --sync >/dev/null
}

add_fill() {
    focus_window '^Tankometer' || return 1
    xdotool key ctrl+n
    focus_window '^Fill up$' || return 1
    xdotool type --delay 10 'Aral'
    xdotool key Tab type "$1"
    xdotool key Tab type '40.5'
    # Past the unit price, which the cost then gives.
    xdotool key Tab Tab type '60'
    xdotool key Return
}

run_case() {
    local how=$1 home="$work/$1"
    mkdir -p "$home/config" "$home/runtime" && chmod 700 "$home/runtime"
    : >"$home/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$home/display" 2>/dev/null &
    local server=$!
    wait_for "[ -s '$home/display' ]" || return 1
    export DISPLAY=":$(cat "$home/display")"
    HOME="$home" XDG_CONFIG_HOME="$home/config" XDG_RUNTIME_DIR="$home/runtime" \
        XDG_DOCUMENTS_DIR="$home/Documents" LC_ALL=C.UTF-8 QT_QPA_PLATFORM=xcb \
        "$program" 2>"$home/stderr" &
    local pid=$!
    local log="$home/Documents/tkbase.fil"

    # A first start writes its empty log at once.
    wait_for "[ \$(size_of '$log') -eq $empty_log ]" || return 1
    add_fill 1500 || return 1
    wait_for "[ \$(size_of '$log') -eq $one_fill_log ]" || return 1

    case $how in
    MERGE)
        # Another computer's copy, with a fill of its own, put in place as a sync tool does.
        cp "$work/KILL/Documents/tkbase.fil" "$log.sync-tmp" && mv "$log.sync-tmp" "$log"
        add_fill 2000 || return 1
        wait_for "[ \$(size_of '$log') -eq $three_fill_log ]" || return 1
        focus_window '^Tankometer' && xdotool key ctrl+q
        ;;
    KILL | TERM | HUP | INT) kill -s "$how" "$pid" ;;
    X) kill "$server" ;;
    esac
    wait_for "! kill -0 $pid 2>/dev/null" || kill -9 "$pid"
    wait "$pid" 2>/dev/null
    local status=$?
    kill "$server" 2>/dev/null
    wait "$server" 2>/dev/null

    local expected=$one_fill_log
    [ "$how" = MERGE ] && expected=$three_fill_log
    if [ "$(size_of "$log")" -ne $expected ] ||
        [ "$(head -c 4 "$log" | od -An -tx1 | tr -d ' ')" != "54004b00" ]; then
        echo "$how: the log is not whole ($(size_of "$log") bytes)" >&2
        return 1
    fi
    case $how in
    TERM | HUP | INT | MERGE)
        if [ "$status" -ne 0 ]; then
            echo "$how: exit status $status, expected 0" >&2
            cat "$home/stderr" >&2
            return 1
        fi
        ;;
    esac
    echo "$how: the fill survived (exit status $status)"
}

failed=0
for how in KILL TERM HUP INT X MERGE; do
    run_case "$how" || { echo "$how: FAILED" >&2; failed=1; }
done
exit $failed
