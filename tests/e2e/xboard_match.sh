#!/bin/sh
# Plays headless XBoard games in its xiangqi mode between the engine (a UCCI
# engine, run through the adapter "uci2wb -x") and maxqi, saves the PGN and the
# logs, and fails when a game ends by an illegal move, a time loss, a crash or a
# protocol error, when the engine shows no thinking, or when it does not ponder
# in a pondering game. Game 1: the engine plays red, pondering off; game 2:
# black, pondering on; further games (a soak) take turns at colours, and each
# pair swaps the pondering of the one before. Losing is allowed; misbehaving is not.
#
# Needs xboard, uci2wb, xvfb-run and maxqi (tests/e2e/install_deps.sh installs them).
set -eu

usage() {
    cat <<'EOF'
usage: xboard_match.sh [options]
  --engine PATH     UCCI engine to test (default: build/release/tavox)
  --name NAME       its name in the report (default: Tavox)
  --opponent CMD    XBoard-protocol opponent command (default: maxqi)
  --games N         how many games; 1: only the red game without pondering (default: 2)
  --tc MIN:SEC      base time per side (default: 0:20)
  --inc SEC         increment per move (default: 0.2)
  --max-moves N     XBoard adjudicates a draw after N moves (default: 100)
  --out DIR         where the PGN and logs go (default: build/e2e)
EOF
}

root=$(cd "$(dirname "$0")/../.." && pwd)
here=$root/tests/e2e
engine=$root/build/release/tavox
name=Tavox
opponent=maxqi
games=2
tc=0:20
inc=0.2
max_moves=100
out=$root/build/e2e
while [ $# -gt 0 ]; do
    case $1 in
        --engine | --name | --opponent | --games | --tc | --inc | --max-moves | --out)
            [ $# -ge 2 ] || { usage >&2; exit 2; }
            case $1 in
                --engine) engine=$2 ;;
                --name) name=$2 ;;
                --opponent) opponent=$2 ;;
                --games) games=$2 ;;
                --tc) tc=$2 ;;
                --inc) inc=$2 ;;
                --max-moves) max_moves=$2 ;;
                --out) out=$2 ;;
            esac
            shift 2 ;;
        -h | --help) usage; exit 0 ;;
        *) usage >&2; exit 2 ;;
    esac
done
case $games in '' | *[!0-9]* | 0) echo "e2e: --games must be a positive number" >&2; exit 2 ;; esac

fail_setup() { echo "e2e: $*" >&2; exit 2; }

# Debian installs XBoard, the adapter and the opponent under /usr/games.
PATH="/usr/games:$PATH"
for tool in xboard uci2wb xvfb-run xauth timeout "${opponent%% *}"; do
    command -v "$tool" >/dev/null 2>&1 || fail_setup "'$tool' not found: run tests/e2e/install_deps.sh"
done
if [ ! -f "$engine" ] || [ ! -x "$engine" ]; then
    fail_setup "no engine binary at $engine: build it with 'make build'"
fi
engine_dir=$(cd "$(dirname "$engine")" && pwd)
engine_file=$(basename "$engine")
primes=$engine_dir/_prime.txt
[ -f "$primes" ] || primes=$root/data/_prime.txt

# The longest a game can take: both clocks run out after max_moves moves, plus
# start-up and shut-down.
tc_seconds=$(echo "$tc" | awk -F: '{ print (NF > 1 ? $1 * 60 + $2 : $1 * 60) }')
limit=$(awk -v t="$tc_seconds" -v i="$inc" -v m="$max_moves" 'BEGIN { printf "%d", 2 * (t + i * m) + 30 }')

mkdir -p "$out"
rm -f "$out/games.pgn" "$out"/game*.debug.log "$out"/game*.xboard.log "$out"/game*.stderr.log
work=$(mktemp -d /tmp/tavox-e2e.XXXXXX)
trap 'rm -rf "$work"' EXIT
trap 'exit 130' INT TERM

# play_game NUMBER SIDE PONDER: one XBoard run of one game, judged.
play_game() {
    number=$1 side=$2 ponder=$3
    dir=$work/game$number
    # A fresh copy per game: the engine writes files next to itself and in its
    # working directory, which is the same directory here.
    mkdir -p "$dir/engine" "$dir/home" "$dir/opponent"
    cp "$engine" "$dir/engine/$engine_file"
    cp "$primes" "$dir/engine/_prime.txt"
    # The adapter reads the engine's stderr through the same pipe as its stdout;
    # keeping it apart tells protocol lines from diagnostics.
    printf '#!/bin/sh\nexec "%s" 2>>"%s"\n' "$dir/engine/$engine_file" "$dir/engine/stderr.log" >"$dir/engine/engine.sh"
    chmod +x "$dir/engine/engine.sh"
    debug=$out/game$number.debug.log
    adapter="uci2wb debug -x $dir/engine/engine.sh $dir/engine"
    # XBoard's early "hard" is lost on the adapter (see resend_hard.sh).
    [ "$ponder" = off ] || adapter="sh $here/resend_hard.sh $adapter"

    set -- -variant xiangqi \
        -fcp "$adapter" -fd "$dir/engine" \
        -scp "$opponent" -sd "$dir/opponent" \
        -mg 1 -tc "$tc" -inc "$inc" -adjudicateDrawMoves "$max_moves" \
        -sgf "$dir/game.pgn" -noGUI -autoflag -xexit -saveSettingsOnExit false -soundProgram "" \
        -debug -nameOfDebugFile "$debug"
    if [ "$side" = black ]; then set -- "$@" -firstPlaysBlack true; fi
    if [ "$ponder" = on ]; then set -- "$@" -ponder; else set -- "$@" -xponder; fi

    # XBoard needs an X display even without its GUI; HOME keeps the user's
    # settings file out of the run.
    status=0
    (cd "$dir/opponent" && HOME=$dir/home timeout -k 10 "$limit" xvfb-run -a xboard "$@") \
        >"$out/game$number.xboard.log" 2>&1 || status=$?
    [ -f "$dir/game.pgn" ] && cat "$dir/game.pgn" >>"$out/games.pgn"
    [ -s "$dir/engine/stderr.log" ] && cp "$dir/engine/stderr.log" "$out/game$number.stderr.log"

    case $status in
        0) xboard_problem="" ;;
        124 | 137) xboard_problem="XBoard did not finish within $limit s" ;;
        *) xboard_problem="XBoard exited with status $status: $(tail -n 3 "$out/game$number.xboard.log" | tr '\n' ' ')" ;;
    esac
    verdict=0
    sh "$here/judge_game.sh" --label "game $number, pondering $ponder" --side "$side" --ponder "$ponder" \
        --pgn "$dir/game.pgn" --debug "$debug" --engine-dir "$dir/engine" --stderr "$dir/engine/stderr.log" \
        --name "$name" --opponent "${opponent%% *}" --problem "$xboard_problem" || verdict=$?
    # A long run keeps only the logs, not a copy of the engine per game.
    rm -rf "$dir"
    return "$verdict"
}

echo "e2e: $name vs ${opponent%% *} in XBoard, $tc + $inc s per move, draw after $max_moves moves"
failed=0
number=1
while [ "$number" -le "$games" ]; do
    if [ $((number % 2)) -eq 1 ]; then side=red; else side=black; fi
    # Game 1 without pondering, game 2 with it; every later pair swaps.
    if [ $(((number + (number - 1) / 2) % 2)) -eq 1 ]; then ponder=off; else ponder=on; fi
    play_game "$number" "$side" "$ponder" || failed=$((failed + 1))
    number=$((number + 1))
done
echo "e2e: PGN in $out/games.pgn, XBoard debug logs in $out/"
if [ "$failed" -gt 0 ]; then
    echo "e2e: $failed of $games games FAILED"
    exit 1
fi
echo "e2e: all $games games ok"
