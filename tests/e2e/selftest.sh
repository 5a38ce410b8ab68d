#!/bin/sh
# Checks the end-to-end harness itself with the scripted stand-in engine: two
# well-behaved stand-ins must pass, and each kind of misbehaviour must fail the
# match with its own message. Takes about a minute.
set -eu

here=$(cd "$(dirname "$0")" && pwd)
work=$(mktemp -d /tmp/tavox-e2e-selftest.XXXXXX)
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

passed=0 failed=0
# expect MODE STATUS TEXT [match options]: the match with the stand-in in MODE
# must exit with STATUS and print TEXT.
expect() {
    mode=$1 want=$2 text=$3
    shift 3
    status=0
    STANDIN_MODE=$mode sh "$here/xboard_match.sh" --engine "$here/standin_engine.sh" --name StandIn \
        --out "$work/$mode" "$@" >"$work/$mode.txt" 2>&1 || status=$?
    if [ "$status" -eq "$want" ] && grep -qF -- "$text" "$work/$mode.txt"; then
        echo "selftest: $mode ok"
        passed=$((passed + 1))
    else
        echo "selftest: $mode WRONG: status $status (wanted $want), '$text' expected in:"
        sed 's/^/    /' "$work/$mode.txt"
        failed=$((failed + 1))
    fi
}

standin="uci2wb -x $here/standin_engine.sh"
expect normal 0 "all 2 games ok" --opponent "$standin"
expect noponder 1 "StandIn got no go ponder" --opponent "$standin"
fast="--games 1 --tc 0:03"
# shellcheck disable=SC2086
{
    expect silent 1 "StandIn lost on time" $fast
    expect illegal 1 "StandIn made an illegal move" $fast
    expect crash 1 "StandIn: the process died during the game" $fast
    expect garbage 1 'StandIn: unexpected output line "stray diagnostic on stdout"' $fast
    expect nobestmove 1 "StandIn: answered nobestmove" $fast
    expect nothink 1 "StandIn showed no thinking" $fast
}
echo "selftest: $passed of $((passed + failed)) cases ok"
[ "$failed" -eq 0 ]
