#!/bin/sh
# A scripted stand-in for a UCCI engine, to test the end-to-end harness itself.
# Each side develops four pieces and then moves a rook to and fro, so two
# stand-ins draw by repetition. It announces the ponder option, shows one info
# line per search and ponders as the protocol asks: after "go ponder" it answers
# only at "ponderhit" or "stop". STANDIN_MODE makes it misbehave: its second
# answer to "go" silent (no answer), illegal (an illegal move), crash (exits),
# garbage (a stray line on stdout first) or nobestmove; or throughout noponder
# (no ponder option) or nothink (no info lines).
set -euf

mode=${STANDIN_MODE:-normal}
gos=0
ply=0
pondering=0

# move_at PLY: the scripted move for that ply of the game.
move_at() {
    k=$(($1 / 2))
    if [ $(($1 % 2)) -eq 0 ]; then
        set -- h2e2 h0g2 i0h0 b0c2 a0b0 b0b1 b1b0
    else
        set -- h7e7 h9g7 i9h9 b9c7 a9b9 b9b8 b8b9
    fi
    [ "$k" -lt 5 ] || k=$((5 + (k - 5) % 2))
    shift "$k"
    echo "$1"
}

think() {
    [ "$mode" = nothink ] || echo "info depth 1 score 0 time 0 nodes 1 nps 1000 pv $(move_at "$ply")"
}

answer() {
    if [ $((gos % 2)) -eq 0 ]; then
        echo "bestmove $(move_at "$ply") time 3 score 0"
    else
        echo "bestmove $(move_at "$ply") ponder $(move_at $((ply + 1))) time 3 score -12"
    fi
}

echo "StandIn ucci"
while IFS= read -r line; do
    case $line in
        ucci)
            echo "id name StandIn"
            [ "$mode" = noponder ] || echo "option ponder type check default false"
            echo "ucciok" ;;
        isready)
            echo "readyok" ;;
        "position "*)
            # The scripted games make no capture and move no pawn, so the
            # adapter keeps sending the start position and every move since.
            ply=0 counting=0
            for word in $line; do
                [ "$counting" -eq 0 ] || ply=$((ply + 1))
                [ "$word" != moves ] || counting=1
            done
            case $line in *" b - "*) ply=$((ply + 1)) ;; esac ;;
        "go ponder "*)
            gos=$((gos + 1))
            pondering=1
            think ;;
        ponderhit* | stop)
            # After a stop the adapter drops the answer; it still wants one.
            [ "$pondering" -eq 1 ] || continue
            pondering=0
            answer ;;
        "go "*)
            gos=$((gos + 1))
            if [ "$gos" -eq 2 ]; then
                case $mode in
                    silent) continue ;;
                    illegal) echo "bestmove a0a5"; continue ;;
                    crash) exit 3 ;;
                    garbage) echo "stray diagnostic on stdout" ;;
                    nobestmove) echo "nobestmove"; continue ;;
                esac
            fi
            think
            answer ;;
        quit)
            echo "bye"
            exit 0 ;;
    esac
done
