#!/usr/bin/env bash
# The whole program as a user meets it: quavix in detached tmux panes on a
# real terminal, with SDL's disk driver as the sound card, checked through
# what the pane shows, the keys sent to it, the exit codes and the sound file.
# Usage: quavix_tmux_test.sh <tmux> <quavix> <tunes folder>
set -euo pipefail

source "$(dirname "$0")/../tmux_lib.sh"
tmux_setup "$1" quavix-e2e
quavix=$2
tunes=$3

cp "$tunes"/demo.sid "$tunes"/demo-pair.sid "$tunes"/demo-pair.dat "$work"/

# Each pane runs quavix in the work folder with its own sound file, then says
# how it ended and stays open for the checks.
cat >"$work/run.sh" <<EOF
name=\$1
shift
cd "$work"
SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE="$work/\$name.raw" SDL_DISKAUDIODELAY=0 \
    "$quavix" "\$@" 2>"$work/\$name.err"
echo "quavix-exit \$?"
exec sleep 600
EOF

start() { # name arguments...
    local name=$1
    shift
    "${tmux[@]}" new-session -d -s "$name" -x 80 -y 50 "sh '$work/run.sh' '$name' $*"
}

play_time() { row "$1" 8 | cut -c11-16; }

# The terminal as the shell had it, and the credits block on it.
expect_ended() { # name
    wait_for "$1" "quavix-exit 0" || return 0
    expect_equal "$1 screen and cursor" "0 1" \
        "$("${tmux[@]}" display -p -t "$1" '#{alternate_on} #{cursor_flag}')"
    wait_for "$1" "   ...and all Chip-Music lovers"
    capture "$1" | grep -qF " Greetz fly out to:" || fail "$1: no credits"
}

# Argument mode on the demo tune.
start demo demo.sid
wait_for demo "Playing 1/3 at 50hz"
expect_equal "demo title" "Songtitle: Quavix Demo" "$(row demo 5 | sed 's/ *$//' | cut -c1-22)"
[[ "$(row demo 6)" == "Composer : "?* ]] || fail "demo: row 6 is '$(row demo 6)'"
[[ "$(row demo 7)" == "Copyright: "?* ]] || fail "demo: row 7 is '$(row demo 7)'"
first=$(play_time demo)
sleep 0.5
[[ "$(play_time demo)" != "$first" ]] || fail "demo: the play time stands at $first"
log=$(capture demo -e | sed -n '12,48p')
[[ "$log" == *$'\e[97m'* ]] || fail "demo: no voice with its gate on (white) in the log"
[[ "$log" == *$'\e[90m'* ]] || fail "demo: no voice with its gate off (grey) in the log"
[[ "$(row demo 48)" =~ ^00[0-9A-F]{6}\ \  ]] || fail "demo: log line is '$(row demo 48)'"

"${tmux[@]}" send-keys -t demo Right
wait_for demo "Playing 2/3 at"
"${tmux[@]}" send-keys -t demo Right
wait_for demo "Playing 3/3 at 60hz"
"${tmux[@]}" send-keys -t demo Left Left
wait_for demo "Playing 1/3 at 50hz"
"${tmux[@]}" send-keys -t demo Up
wait_match demo 8 '^Playtime : +[0-9]+:[0-9]{2} ►►$'
"${tmux[@]}" send-keys -t demo Down
wait_match demo 8 '^Playtime : +[0-9]+:[0-9]{2} ►$'
"${tmux[@]}" send-keys -t demo Space
wait_for demo "<SPACE>-ADSR bug ON/off <ESC>"
"${tmux[@]}" send-keys -t demo Space
wait_for demo "<SPACE>-ADSR bug on/OFF <ESC>"
"${tmux[@]}" send-keys -t demo Escape
expect_ended demo
if command -v sox >/dev/null; then
    rms=$(sox -t raw -r 48000 -e signed -b 16 -c 2 "$work/demo.raw" -n stat 2>&1 |
        sed -n 's/^RMS *amplitude: *//p')
    awk -v rms="$rms" 'BEGIN { exit !(rms > 0.01) }' ||
        fail "demo: the sound file holds no sound (RMS amplitude $rms)"
else
    fail "sox is not installed"
fi

# Only the first argument is played.
start two demo.sid missing.sid
wait_for two "Playing 1/3"
"${tmux[@]}" send-keys -t two Escape
expect_ended two

# A missing file: its message, a key, and a normal end.
start missing missing.sid
wait_for missing "missing.sid Not Found"
"${tmux[@]}" send-keys -t missing Enter
expect_ended missing

# The info-file pair plays the same tune.
start pair demo-pair.sid
wait_for pair "Playing 1/3 at 50hz"
"${tmux[@]}" send-keys -t pair Escape
expect_ended pair

# Selector mode in a prepared folder: into a subdirectory and back, a tune
# played from it, Esc back to the list with that tune highlighted, Esc again
# ends the program.
mkdir -p "$work/tree/songs"
cp "$work/demo.sid" "$work/tree/first.sid"
cp "$work/demo.sid" "$work/tree/songs/demo.sid"
"${tmux[@]}" new-session -d -s selector -x 80 -y 50 -c "$work/tree" \
    "env HOME='$work/tree' SDL_AUDIODRIVER=disk SDL_DISKAUDIOFILE='$work/selector.raw' SDL_DISKAUDIODELAY=0 '$quavix' 2>'$work/selector.err'; echo quavix-exit \$?; exec sleep 600"
wait_settled selector "SID-File-Selector"
for entry in "3 <..>" "4 <songs>" "5 first.sid"; do
    [[ "$(row selector "${entry%% *}")" == *"${entry#* }"* ]] ||
        fail "selector row ${entry%% *} is '$(row selector "${entry%% *}")'"
done
"${tmux[@]}" send-keys -t selector Down Enter
wait_settled selector "demo.sid"
"${tmux[@]}" send-keys -t selector Home Enter
wait_settled selector "first.sid"
"${tmux[@]}" send-keys -t selector Down Enter
wait_settled selector "demo.sid"
"${tmux[@]}" send-keys -t selector Down Enter
wait_for selector "Playing 1/3 at 50hz"
"${tmux[@]}" send-keys -t selector Escape
wait_settled selector "SID-File-Selector"
[[ "$(row selector 4 -e)" == *$'\e[104m'*"demo.sid"* ]] ||
    fail "selector: demo.sid is not highlighted after playing: $(row selector 4 -e)"
"${tmux[@]}" send-keys -t selector Escape
expect_ended selector

# No sound device: one line on standard output, exit code 254, and the
# terminal never taken over (no escape sequence written at all).
"${tmux[@]}" new-session -d -s noaudio -x 80 -y 50 \
    "cd '$work' && SDL_AUDIODRIVER=no-such-driver '$quavix' demo.sid >'$work/noaudio.out'; echo quavix-exit \$?; exec sleep 600"
wait_for noaudio "quavix-exit 254"
expect_equal "noaudio output" "?Audio: No available audio device  ERROR" "$(cat "$work/noaudio.out")"
grep -q $'\e' "$work/noaudio.out" && fail "noaudio: the terminal was written to"

tmux_finish end-to-end
