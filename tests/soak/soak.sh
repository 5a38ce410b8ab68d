#!/bin/sh
# Protocol soak: N games against maxqi under XBoard through the real UCCI
# adapter at a fast time control, then a tally of games, crashes, illegal
# moves and time losses. Not part of CI: 200 games take most of an hour.
#
#   soak.sh [--games N] [--tc MIN:SEC] [--inc SEC] [--engine PATH] [--out DIR]
#
# Exit status 0 when the engine neither crashed, nor moved illegally, nor lost
# on time, nor broke the protocol; the opponent's faults are counted apart.
set -eu

root=$(cd "$(dirname "$0")/../.." && pwd)
games=200 tc=0:06 inc=0.1 engine=$root/build/release/tavox out=$root/build/soak
while [ $# -gt 0 ]; do
    [ $# -ge 2 ] || { echo "soak: $1 needs a value" >&2; exit 2; }
    case $1 in
        --games) games=$2 ;;
        --tc) tc=$2 ;;
        --inc) inc=$2 ;;
        --engine) engine=$2 ;;
        --out) out=$2 ;;
        *) echo "soak: unknown argument '$1'" >&2; exit 2 ;;
    esac
    shift 2
done

mkdir -p "$out"
# XBoard writes its logs from a directory of its own: the path must not be relative.
out=$(cd "$out" && pwd)
report=$out/report.txt
# The match fails as soon as one game fails; the tally below says why.
sh "$root/tests/e2e/xboard_match.sh" --engine "$engine" --games "$games" --tc "$tc" --inc "$inc" \
    --max-moves 80 --out "$out" | tee "$report" || true

# The judge prints one line per game ("game N, ...: ok" or ": FAILED") and one
# indented "- ..." line per problem of a failed game.
awk -v want="$games" '
    /^game [0-9]+, / { played++; if ($0 ~ /: FAILED$/) failed++ }
    /^  - / {
        if ($0 ~ /Tavox lost on time/) ours_time++
        else if ($0 ~ /Tavox made an illegal move/) ours_illegal++
        else if ($0 ~ /died|exited|did not finish|never answered|no result|handshake/) crashes++
        else if ($0 ~ /maxqi (lost on time|made an illegal move)/) theirs++
        else other++
    }
    END {
        printf "soak: %d of %d games played, %d failed\n", played, want, failed
        printf "soak: crashes %d, illegal moves %d, time losses %d, other protocol problems %d\n", crashes, ours_illegal, ours_time, other
        printf "soak: faults of the opponent %d\n", theirs
        exit (played == want && crashes + ours_illegal + ours_time + other == 0) ? 0 : 1
    }' "$report"
