#!/bin/bash
# The hotkey as a person uses it: the interactive stand-in shell in a real
# terminal (tmux), a command line typed, Ctrl-Q pressed, and the window that
# opens read through the shell's --dump-windows switch; then a name that does
# not exist: no window, a beep, and the keystroke consumed (no "q" typed).
set -u
root=$(cd "$(dirname "$0")/.." && pwd)
. "$root/scripts/lib.sh"
wine_environment   # the lane's prefix, where the launcher will run
export LANG=C.UTF-8
socket=tirvalo-terminal-$$
folder="$WINEPREFIX/drive_c/tirvalo-terminal-$$"
windows_folder="C:\\tirvalo-terminal-$$"
failures=0

cleanup() {
    tmux -L "$socket" kill-server 2>/dev/null
    rm -rf "$folder"
}
trap cleanup EXIT
mkdir -p "$folder"
printf 'hello' >"$folder/notes.txt"

pane() { tmux -L "$socket" capture-pane -p -t shell -S -200 2>/dev/null; }
keys() { tmux -L "$socket" send-keys -t shell "$@"; }
typed() { tmux -L "$socket" send-keys -t shell -l "$1"; }

# Waits up to 30 s for a text in the pane.
wait_for() {
    local i
    for i in $(seq 300); do
        pane | grep -qF -- "$1" && return 0
        tmux -L "$socket" has-session -t shell 2>/dev/null || return 1
        sleep 0.1
    done
    return 1
}

# Waits for an empty prompt on the last line (Ctrl-C reaches the shell as a
# signal, after what was typed before it has been read).
wait_for_prompt() {
    local i
    for i in $(seq 300); do
        pane | grep -v '^$' | tail -n 1 | grep -q '>$' && return 0
        sleep 0.1
    done
    return 1
}

check() {   # check DESCRIPTION COMMAND...
    local description=$1
    shift
    if ! "$@"; then
        echo "FAIL: $description"
        failures=$((failures + 1))
    fi
}

tmux -L "$socket" -u new-session -d -s shell -x 220 -y 60 \
    "'$root/scripts/korrash' --host-version 23.01 --dump-windows; echo SHELL-ENDED-\$?; sleep 60"
check "the shell starts with the load message" wait_for "Tirvalo v1.4.0 loaded; hotkey is Ctrl-Q."
check "the prompt appears" wait_for ">"

typed "list $windows_folder\\notes.txt"
keys C-q
check "Ctrl-Q opens the window for the file at the cursor" \
    wait_for "NOTES.TXT — Tirvalo 1.4.0"
check "the window shows the file's size" wait_for "Size: 5 bytes"
check "the window shows the full name" wait_for "Full Name: $windows_folder\\notes.txt"
sleep 0.5
last_line=$(pane | grep -F "list $windows_folder" | tail -n 1)
check "the line is unchanged after the window: no q typed" test "${last_line##*>}" = "list $windows_folder\\notes.txt"

keys C-c
check "Ctrl-C cancels the line" wait_for_prompt
typed "list $windows_folder\\missing.txt"
keys C-q
sleep 1
typed "x"
sleep 0.5
last_line=$(pane | grep -F "list $windows_folder\\missing" | tail -n 1)
check "a missing name opens no window" test -z "$(pane | grep -F 'MISSING.TXT')"
check "the keystroke is consumed all the same" test "${last_line##*>}" = "list $windows_folder\\missing.txtx"

keys C-c
check "Ctrl-C cancels the line again" wait_for_prompt
typed "beeps"
keys Enter
typed "exit 3"
keys Enter
check "the shell ends with the last result" wait_for "SHELL-ENDED-3"
check "the missing name beeped once" test "$(pane | grep -A1 -F '>beeps' | tail -n 1)" = 1

if [ $failures != 0 ]; then
    echo "--- the terminal at the end:"
    pane
    exit 1
fi
echo "terminal: all checks passed"
