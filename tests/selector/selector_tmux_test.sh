#!/usr/bin/env bash
# The file selector on a real terminal: runs the selector demo in a detached
# tmux pane over a small directory tree and checks what a user sees and that
# the terminal's keys move through it, pick a tune and leave.
# Usage: selector_tmux_test.sh <tmux> <selector_demo>
set -euo pipefail

source "$(dirname "$0")/../tmux_lib.sh"
tmux_setup "$1" quavix-selector-tmux
demo=$2

tree=$work/tree
mkdir -p "$tree/sub" "$work/home"
touch "$tree/top.sid" "$tree/sub/a.sid" "$tree/sub/b.SID" "$tree/sub/notes.txt"

# A caption as it stands on its row: centred on column 39.
centred() { printf '%*s%s' $((39 - ${#1} / 2)) '' "$1"; }

send() { "${tmux[@]}" send-keys -t sel "$@"; }

title="██ Merrow's SID-File-Selector v0.1b b20021206                         ████▓▓▓▒▒░"
esc=$'\e'

"${tmux[@]}" new-session -d -s sel -x 80 -y 50 -c "$tree" \
    "env HOME='$work/home' '$demo'; echo demo-exit \$?; exec sleep 600"
wait_settled sel "Merrow's"
expect_equal "title" "$title" "$(row sel 1)"
[[ "$(row sel 1 -e)" == "${esc}[97m${esc}[40m██"* ]] || fail "title colours: $(row sel 1 -e)"
expect_equal "row 2" "" "$(row sel 2)"
for entry in "3 <..>" "4 <sub>" "5 top.sid" "6 </>" "7 <~>"; do
    expect_equal "row ${entry%% *}" "$(centred "${entry#* }")" "$(row sel "${entry%% *}")"
done
expect_equal "row 8" "" "$(row sel 8)"
# The highlighted directory: light red on blue over the whole row.
[[ "$(row sel 3 -e)" == *"${esc}[91m${esc}[44m"*"<..>"* ]] || fail "highlight colours: $(row sel 3 -e)"

# Into the subdirectory, End to its last tune, Enter plays it.
send Down Enter
wait_settled sel "b.SID"
for entry in "3 <..>" "4 a.sid" "5 b.SID" "6 </>" "7 <~>"; do
    expect_equal "sub row ${entry%% *}" "$(centred "${entry#* }")" "$(row sel "${entry%% *}")"
done
send End Enter
wait_for sel "Playing b.SID"
# Back from the player: the same list with the same highlight; a digit
# shows in the corner.
send Space 7
wait_settled sel "7█ Merrow's"
expect_equal "sub row 5 after playing" "$(centred b.SID)" "$(row sel 5)"
[[ "$(row sel 5 -e)" == *"${esc}[104m"*"b.SID"* ]] || fail "highlight after playing: $(row sel 5 -e)"

# Up to the parent, PgDn (nothing to page), Home, then Esc leaves the
# selector in the directory it started in.
send Home Enter
wait_for sel "top.sid"
send NPage Home Escape
wait_for sel "demo-exit 0"
capture sel | grep -qxF "back in $tree" || fail "did not end in $tree: $(capture sel)"

tmux_finish selector
