#!/usr/bin/env bash
# The console on a real terminal: runs the console demo in detached tmux panes
# and checks what a user would see (glyphs, colours, clipping, the redraw
# after a resize), the key codes it reads, and that the terminal is given back
# after a normal end and after a signal.
# Usage: console_tmux_test.sh <tmux> <console_demo>
set -euo pipefail

source "$(dirname "$0")/../tmux_lib.sh"
tmux_setup "$1" quavix-console
demo=$2

# Each pane runs the demo between two snapshots of the terminal's modes, then
# says how it ended and stays open for the checks.
cat >"$work/run.sh" <<EOF
name=\$1
shift
stty -g >"$work/\$name.before"
env "\$@" "$demo"
status=\$?
stty -g >"$work/\$name.after"
echo "demo-exit \$status"
exec sleep 600
EOF

start_demo() { # name width height [variable=value...]
    "${tmux[@]}" new-session -d -s "$1" -x "$2" -y "$3" "sh '$work/run.sh' '$1' ${*:4}"
    wait_settled "$1" "keys:"
}

# The terminal as the shell had it: normal screen, cursor shown, keypad
# off, the same tty modes.
expect_restored() { # name
    expect_equal "$1 screen, cursor, keypad" "0 1 0 0" \
        "$("${tmux[@]}" display -p -t "$1" \
            '#{alternate_on} #{cursor_flag} #{keypad_cursor_flag} #{keypad_flag}')"
    cmp -s "$work/$1.before" "$work/$1.after" || fail "$1: tty modes not restored"
    capture "$1" | grep -qF "keys:" && fail "$1: the demo's screen is still shown"
    return 0
}

mapfile -t glyphs <<'EOF'
☺☻♥♦♣♠•◘○◙♂♀♪♫☼►◄↕‼¶§▬↨↑↓→←∟↔▲▼⌂[ ]
 !"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\]^_
`abcdefghijklmnopqrstuvwxyz{|}~
ÇüéâäàåçêëèïîìÄÅÉæÆôöòûùÿÖÜ¢£¥₧ƒáíóúñÑªº¿⌐¬½¼¡«»░▒▓│┤╡╢╖╕╣║╗╝╜╛┐
└┴┬├─┼╞╟╚╔╩╦╠═╬╧╨╤╥╙╘╒╓╫╪┘┌█▄▌▐▀αßΓπΣσµτΦΘΩδ∞φε∩≡±≥≤⌠⌡÷≈°∙·√ⁿ²■
EOF
glyphs[4]+=$'\u00a0'
esc=$'\e'
box_top="                                 ┌─────────────┐"
box_text="                                 │Console check│"
box_bottom="                                 └─────────────┘"

# The known screen on an 80 x 50 pane.
start_demo main 80 50
expect_equal "main screen, cursor while running" "1 0" \
    "$("${tmux[@]}" display -p -t main '#{alternate_on} #{cursor_flag}')"
[[ "$(row main 1)" == "mode 80x50 pid "* ]] || fail "main: row 1 is '$(row main 1)'"
for i in 0 1 2 3 4; do
    expect_equal "main row $((i + 3))" "${glyphs[i]}" "$(row main $((i + 3)))"
done
expect_equal "main row 9" "A07 A08 A0F A4F A1C A9C AF0" "$(row main 9)"
expect_equal "main row 25" "$box_top" "$(row main 25)"
expect_equal "main row 26" "$box_text" "$(row main 26)"
expect_equal "main row 27" "$box_bottom" "$(row main 27)"
# Colours: light grey on black from the first cell on, then each sample in
# its own; tmux writes only the changes.
[[ "$(row main 1 -e)" == "${esc}[37m${esc}[40mmode"* ]] || fail "main: row 1 colours"
expect_equal "main row 9 colours" \
    "A07 ${esc}[90mA08${esc}[37m ${esc}[97mA0F${esc}[37m ${esc}[97m${esc}[41mA4F${esc}[37m${esc}[40m ${esc}[91m${esc}[44mA1C${esc}[37m${esc}[40m ${esc}[91m${esc}[104mA9C${esc}[37m${esc}[40m ${esc}[30m${esc}[107mAF0${esc}[37m${esc}[40m" \
    "$(row main 9 -e)"
expect_equal "main row 26 colours" \
    "                                 ${esc}[97m${esc}[41m│Console check│${esc}[37m${esc}[40m" \
    "$(row main 26 -e)"

# Keys and the codes they give.
keys=(Up Home NPage Left Escape Enter Space F1 C-Left M-x é)
codes=("0 72" "0 71" "0 81" "0 75" "27" "13" "32" "0 59" "0 115" "0 45" "130")
echoed="keys:"
for i in "${!keys[@]}"; do
    "${tmux[@]}" send-keys -t main "${keys[i]}"
    echoed+=" ${codes[i]}"
    wait_for main "$echoed" || break
done
# The cursor where it is put, and none when it is put off the screen.
cursor() { "${tmux[@]}" display -p -t main '#{cursor_flag} #{cursor_x} #{cursor_y}'; }
"${tmux[@]}" send-keys -t main c
echoed+=" 99"
wait_for main "$echoed" && expect_equal "main cursor shown" "1 2 12" "$(cursor)"
"${tmux[@]}" send-keys -t main o
echoed+=" 111"
wait_for main "$echoed" && expect_equal "main cursor off the screen" "0" "$(cursor | cut -d' ' -f1)"

# A sequence the terminal library does not know is dropped whole, its Esc
# included.
"${tmux[@]}" send-keys -t main -l $'\e[99~'
"${tmux[@]}" send-keys -t main Space
wait_for main "$echoed 32"
"${tmux[@]}" send-keys -t main q
wait_for main "demo-exit 0" && expect_restored main

# A smaller pane shows the top-left corner; grown, it shows the whole screen.
start_demo small 60 20
[[ "$(row small 1)" == "mode other pid "* ]] || fail "small: row 1 is '$(row small 1)'"
expect_equal "small row 6" "${glyphs[3]:0:60}" "$(row small 6)"
"${tmux[@]}" resize-window -t small -x 80 -y 50
wait_settled small "$box_text"
expect_equal "small row 6 after resize" "${glyphs[3]}" "$(row small 6)"
expect_equal "small row 25 after resize" "$box_top" "$(row small 25)"
"${tmux[@]}" send-keys -t small q
wait_for small "demo-exit 0" && expect_restored small

# With eight colours bold stands for a bright foreground, and a background
# keeps its low three bits.
start_demo eight 80 50 TERM=xterm
expect_equal "eight row 9 colours" \
    "A07 ${esc}[1m${esc}[30mA08${esc}[0m${esc}[37m${esc}[40m ${esc}[1mA0F${esc}[0m${esc}[37m${esc}[40m ${esc}[1m${esc}[41mA4F${esc}[0m${esc}[37m${esc}[40m ${esc}[1m${esc}[31m${esc}[44mA1C${esc}[0m${esc}[37m${esc}[40m ${esc}[1m${esc}[31m${esc}[44mA9C${esc}[0m${esc}[37m${esc}[40m ${esc}[30m${esc}[47mAF0" \
    "$(row eight 9 -e)"
"${tmux[@]}" send-keys -t eight q
wait_for eight "demo-exit 0" && expect_restored eight

# Without UTF-8 the line and block characters come from the terminal's
# line-drawing set (shown here by their VT100 letters), the rest as '?'.
start_demo narrow 80 50 LC_ALL=C
expect_equal "narrow row 3" "??????~????????+,??????-.+,??-.?[ ]" "$(row narrow 3)"
expect_equal "narrow row 7" \
    "mvwtqnttmlvwtqnvvwwmmllnnjl00000???{?????????????gzy????f~~???0" "$(row narrow 7)"
expect_equal "narrow row 26" "                                 xConsole checkx" "$(row narrow 26)"
[[ "$(row narrow 26 -e)" == *$'\x0e'x$'\x0f'"Console check"* ]] ||
    fail "narrow: the box is not drawn from the line-drawing set"
"${tmux[@]}" send-keys -t narrow q
wait_for narrow "demo-exit 0" && expect_restored narrow

# Signals end the program the way they would without it, and the terminal
# is given back first. Under AddressSanitizer a SIGSEGV ends in its report.
for signal in TERM INT HUP SEGV; do
    name=signal-$signal
    start_demo "$name" 80 50
    pid=$(row "$name" 1 | sed -n 's/.* pid \([0-9]*\)$/\1/p')
    kill "-$signal" "$pid"
    wait_for "$name" "demo-exit" || continue
    status=$(capture "$name" | sed -n 's/^demo-exit //p')
    case $signal in
    SEGV) [[ "$status" != 0 ]] || fail "$name: exit status 0" ;;
    *) expect_equal "$name exit status" "$((128 + $(kill -l "$signal")))" "$status" ;;
    esac
    expect_restored "$name"
done

tmux_finish console
