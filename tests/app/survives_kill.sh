#!/usr/bin/env bash
# The real program in a real X server (Xvfb), driven by xdotool as a user would: a fill added
# through the fill dialog must be on disk within a second, and stay there whole whatever ends
# the program: kill -9, SIGTERM, SIGHUP, SIGINT, or the X server going away. And a copy of the
# log that a sync tool puts in place while the window is open is merged, not written over.
# Where the log cannot be written (a full or read-only file system, its folder replaced by a
# file), a signal or a lost X server ends the program at once, and the fills are in the recovery
# file; where that cannot be written either (NOWHERE), the exit status says so.
# Usage: survives_kill.sh PATH/TO/tankometer
set -u
program=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; grep -o " $work/[^ ]*" /proc/mounts | xargs -r umount -l
    rm -rf "$work"' EXIT

# Waits up to 10 seconds (or $2 tenths of a second) for a condition, checking it every 50 ms.
wait_for() {
    for _ in $(seq $((${2:-100} * 2))); do
        eval "$1" && return 0
        sleep 0.05
    done
    echo "timed out waiting for: $1" >&2
    return 1
}

size_of() { stat -c %s "$1" 2>/dev/null || echo 0; }

# An empty log is 296 bytes; with one fill, its station and its driver it is 296 + 128 + 68 + 44.
readonly empty_log=296 one_fill_log=536 two_fill_log=664 three_fill_log=792

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
    mkdir -p "$home/config" "$home/runtime" "$home/Documents" && chmod 700 "$home/runtime"
    case $how in
    FULL-* | READONLY-*)
        if [ "$(id -u)" -ne 0 ] || ! mount -t tmpfs -o size=64k tmpfs "$home/Documents"; then
            echo "$how: SKIPPED, a full or read-only file system needs root, to mount a tmpfs"
            return 0
        fi
        ;;
    NOWHERE-*) mkdir -p "$home/.local/state/Tankometer" && : >"$home/.local/state/Tankometer/recovery" ;;
    esac
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
    *-*)
        # The log can no longer be written; the next fill goes to the recovery file at once,
        # and the end comes while the window's message about it waits for OK. With nowhere to
        # write, the end does not wait for anything.
        case $how in
        FULL-*) head -c 1M /dev/zero >"$home/Documents/filler" 2>/dev/null ;;
        READONLY-*) mount -o remount,ro "$home/Documents" ;;
        GONE-* | NOWHERE-*)
            mv "$home/Documents" "$home/Documents.moved" && : >"$home/Documents"
            log="$home/Documents.moved/tkbase.fil"
            ;;
        esac
        add_fill 2000 || return 1
        local recovery="$home/.local/state/Tankometer/recovery/tkbase-*.fil"
        if [ "${how%-*}" = NOWHERE ]; then
            wait_for "! xdotool search --onlyvisible --name '^Fill up\$' >/dev/null" || return 1
        else
            wait_for "[ \$(size_of $recovery) -eq $two_fill_log ]" || return 1
        fi
        case $how in
        *-TERM) kill -s TERM "$pid" ;;
        *-X) kill "$server" ;;
        esac
        # No question waits: the end comes within two seconds.
        if ! wait_for "! kill -0 $pid 2>/dev/null" 20; then
            echo "$how: still running two seconds after the end was asked for" >&2
            return 1
        fi
        if ! grep -q "recovery/tkbase-.*\.fil" "$home/stderr"; then
            echo "$how: standard error does not name the recovery file" >&2
            return 1
        fi
        if [ "${how%-*}" != NOWHERE ] && { [ "$(stat -c %a $recovery)" != 600 ] ||
            [ "$(stat -c %a "$home/.local/state/Tankometer/recovery")" != 700 ] ||
            [ "$(size_of $recovery)" -ne $two_fill_log ]; }; then
            echo "$how: the recovery file is not whole and private" >&2
            return 1
        fi
        ;;
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
    local want=0
    [ "${how%-*}" = NOWHERE ] && want=1
    case $how in
    TERM | HUP | INT | MERGE | *-*)
        if [ "$status" -ne $want ]; then
            echo "$how: exit status $status, expected $want" >&2
            cat "$home/stderr" >&2
            return 1
        fi
        ;;
    esac
    echo "$how: the fill survived (exit status $status)"
}

failed=0
for how in KILL TERM HUP INT X MERGE FULL-TERM READONLY-TERM FULL-X GONE-TERM GONE-X \
    NOWHERE-TERM; do
    run_case "$how" || { echo "$how: FAILED" >&2; failed=1; }
    # What a failed case left running goes before the next starts.
    kill -9 $(jobs -p) 2>/dev/null
    wait 2>/dev/null
done
exit $failed
