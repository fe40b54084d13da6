# Shared by the tests that drive a program in detached tmux panes on a real
# terminal: the panes' own tmux server, polling the panes, and the count of
# failed checks. Source it, then call tmux_setup.

# tmux_setup <tmux program> <name for the work folder>
tmux_setup() {
    export LC_ALL=C.UTF-8
    unset TMUX
    work=$(mktemp -d "/tmp/$2.XXXXXX")
    tmux=("$1" -S "$work/socket" -f "$work/tmux.conf")
    trap tmux_cleanup EXIT
    printf 'set -g status off\nset -g default-terminal tmux-256color\n' >"$work/tmux.conf"
}

tmux_cleanup() {
    "${tmux[@]}" kill-server >/dev/null 2>&1 || true
    rm -rf "$work"
}

failures=0
fail() {
    echo "FAIL: $*" >&2
    failures=$((failures + 1))
}

capture() { "${tmux[@]}" capture-pane -p -t "$1" "${@:2}"; }
row() { capture "$1" "${@:3}" | sed -n "$2p"; }

# Polls the pane until the text stands on it.
wait_for() { # pane text
    local deadline=$((SECONDS + 30))
    while ((SECONDS < deadline)); do
        capture "$1" | grep -qF -- "$2" && return 0
        sleep 0.05
    done
    fail "$1: '$2' did not appear; the pane shows:"
    capture "$1" >&2
    return 1
}

# wait_for, then until the pane shows the same at two looks in a row: a
# screen is written in pieces, and one seen half-drawn would fail its checks.
# Only for screens that stand still.
wait_settled() { # pane text
    wait_for "$1" "$2" || return 1
    local deadline=$((SECONDS + 30)) before now
    before=$(capture "$1" -e)
    while ((SECONDS < deadline)); do
        sleep 0.05
        now=$(capture "$1" -e)
        [[ "$now" == "$before" ]] && return 0
        before=$now
    done
    fail "$1: the screen never stood still"
    return 1
}

# Polls the pane until the row matches the regular expression.
wait_match() { # pane row regex
    local deadline=$((SECONDS + 30))
    while ((SECONDS < deadline)); do
        [[ "$(row "$1" "$2")" =~ $3 ]] && return 0
        sleep 0.05
    done
    fail "$1: row $2 is '$(row "$1" "$2")', not matching '$3'"
    return 1
}

expect_equal() { # what expected actual
    [[ "$2" == "$3" ]] || fail "$1: expected '$2', got '$3'"
}

# tmux_finish <what was checked>: the exit status of the test.
tmux_finish() {
    if ((failures > 0)); then
        echo "$failures $1 checks failed" >&2
        exit 1
    fi
    echo "$1 checks passed"
}
