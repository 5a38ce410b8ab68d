#!/bin/sh
# Judges one finished XBoard game between our engine (XBoard's first engine,
# run through "uci2wb debug -x") and an opponent: reads the saved PGN, XBoard's
# debug log and, if given, the engine's directory. Prints a one-line summary,
# then one indented line per problem. Exit status 0 for a sound game (any
# normal result, lost games included), 1 for a misbehaving one.
#
#   judge_game.sh --label TEXT --side red|black --pgn FILE --debug FILE [--ponder on|off]
#                 [--engine-dir DIR] [--stderr FILE] [--name NAME] [--opponent NAME]
#                 [--problem TEXT]
#
# --problem adds a problem found by the caller (empty: none). The engine's
# stderr is shown, not judged: diagnostics are allowed there.
set -eu

label=game side="" ponder=off pgn="" debug="" engine_dir="" stderr_log="" ours=Tavox theirs=maxqi
caller_problem=""
while [ $# -gt 0 ]; do
    case $1 in
        --label) label=$2 ;;
        --side) side=$2 ;;
        --ponder) ponder=$2 ;;
        --problem) caller_problem=$2 ;;
        --pgn) pgn=$2 ;;
        --debug) debug=$2 ;;
        --engine-dir) engine_dir=$2 ;;
        --stderr) stderr_log=$2 ;;
        --name) ours=$2 ;;
        --opponent) theirs=$2 ;;
        *) echo "judge_game.sh: unknown argument '$1'" >&2; exit 2 ;;
    esac
    shift 2
done
case $side in red | black) ;; *) echo "judge_game.sh: --side must be red or black" >&2; exit 2 ;; esac

# Problems with the ending come first, then those seen in the engine's traffic.
problems="" traffic_problems=""
problem() { problems="$problems
  - $*"; }
traffic_problem() { traffic_problems="$traffic_problems
  - $*"; }

sep=$(printf '\037')
# About one prediction in four comes true against maxqi.
PONDERS_WITHOUT_A_HIT=20

# --- The PGN: number of moves, result and termination comment. XBoard saves
# no game in which no move was made.
result="" comment="" moves=0
if [ -s "$pgn" ]; then
    pgn_fields=$(awk '
        /^\[Result "/ { r = $0; sub(/^\[Result "/, "", r); sub(/".*/, "", r) }
        !/^\[/ { text = text " " $0 }
        END {
            # The termination comment is the brace group right before the result token.
            c = ""
            if (match(text, /\{[^}]*\}[ ]*(1-0|0-1|1\/2-1\/2|\*)[ ]*$/)) {
                c = substr(text, RSTART + 1)
                sub(/\}[^}]*$/, "", c)
            }
            n = 0; s = text
            gsub(/\{[^}]*\}/, " ", s)
            while (match(s, /[0-9]+\./)) { n = substr(s, RSTART, RLENGTH - 1) + 0; s = substr(s, RSTART + RLENGTH) }
            gsub(/\037/, " ", c)
            printf "%s\037%d\037%s\n", r, n, c
        }' "$pgn")
    IFS=$sep read -r result moves comment <<EOF
$pgn_fields
EOF
fi

# --- XBoard's debug log: what the adapter passed between XBoard and our engine. ---
# Lines look like "<ms> <first : # engine said: bestmove h2e2 ..." (uci2wb's debug
# echo of every engine line) and "<ms> <first : # go time 20 ...". The game ends
# for our engine at XBoard's "result" command, which carries XBoard's verdict.
infos=0 ponder_infos=0 shown=0
gos=0 bestmoves=0 ponders=0 ponderhits=0 stops=0 max_think=0 max_stop=0
if [ -s "$debug" ]; then
    debug_fields=$(awk '
        function report(text) { if (++reported <= 5) print "P\037" text; else if (reported == 6) print "P\037(further problems not shown)" }
        / <first : / {
            ms = $1 + 0
            p = index($0, " <first : ") + 10
            line = substr($0, p)
        }
        / >first : xboard$/ { sessions++; handshake = 1; searching = 0; next }
        / >first : result / && !over {
            over = 1
            r = substr($0, index($0, " >first : result ") + 17)
            c = r; sub(/ .*/, "", r)
            if (sub(/^[^{]*\{/, "", c)) sub(/\}[^}]*$/, "", c); else c = ""
            gsub(/\037/, " ", c)
            printf "R\037%s\037%s\n", r, c
        }
        / <first : # setoption usemillisec (true|on|1)$/ { millisec = 1 }
        / <first : # go / { gos++; searching = 1; stopped = 0; since = ms; in_ponder = (line ~ /^# go ponder /); ponders += in_ponder }
        / <first : # ponderhit/ { ponderhits++; since = ms; in_ponder = 0 }
        / <first : # stop/ { in_ponder = 0; if (searching) { stops++; stopped = 1; stop_at = ms } }
        # The adapter passes each info line on to XBoard as a thinking line "D S T N PV".
        / <first : +[0-9]+ +-?[0-9]+ +[0-9]+ +[0-9]+ / { shown++ }
        / <first : tellusererror / && !over {
            if (line ~ /died on me/) report("the process died during the game (" substr(line, 15) ")")
            else report("the adapter reported: " substr(line, 15))
        }
        / <first : .*UCI violation/ { report("the adapter reported: " line) }
        / <first : # engine said: / {
            said = substr(line, 16)
            if (said == "ucciok") { handshake = 0; ucciok++; next }
            if (said ~ /^option usemillisec /) announced_millisec = 1
            if (handshake) next
            if (said ~ /^bestmove /) {
                if (said !~ /^bestmove [a-i][0-9][a-i][0-9]( ponder [a-i][0-9][a-i][0-9])?( time [0-9]+)?( score -?[0-9]+)?$/)
                    report("malformed bestmove line: \"" said "\"")
                if (!searching) report("bestmove without a go: \"" said "\"")
                if (stopped) { if (ms - stop_at > max_stop) max_stop = ms - stop_at }
                else if (searching) { bestmoves++; if (ms - since > max_think) max_think = ms - since }
                searching = 0; in_ponder = 0
            } else if (said ~ /^info depth /) {
                if (said !~ /^info depth [0-9]+ score -?[0-9]+ time [0-9]+ nodes [0-9]+ nps [0-9]+ pv( [a-i][0-9][a-i][0-9])+$/)
                    report("malformed info line: \"" said "\"")
                infos++; ponder_infos += in_ponder
            } else if (said == "nobestmove") {
                report("answered nobestmove to \"go\" (the adapter passes no move on, so the clock runs out)")
                searching = 0
            } else if (said != "readyok" && said != "bye" && said !~ /^info /) {
                report("unexpected output line \"" said "\"")
            }
        }
        END {
            if (sessions == 0) report("the debug log shows no start of our engine")
            else if (ucciok < sessions) report("the ucci handshake did not complete (" ucciok + 0 " of " sessions " starts)")
            # A clock in whole seconds wastes the fractions the engine could use.
            if (announced_millisec && !millisec) report("announced usemillisec, but the adapter never switched it on")
            printf "T\037%d\037%d\037%d\n", infos, ponder_infos, shown
            printf "S\037%d\037%d\037%d\037%d\037%d\037%d\037%d\n", gos, bestmoves, ponders, ponderhits, stops, max_think, max_stop
        }' "$debug")
    while IFS=$sep read -r kind a b c d e f g; do
        case $kind in
            P) traffic_problem "$ours: $a" ;;
            R) result=$a comment=$b ;;
            T) infos=$a ponder_infos=$b shown=$c ;;
            S) gos=$a bestmoves=$b ponders=$c ponderhits=$d stops=$e max_think=$f max_stop=$g ;;
        esac
    done <<EOF
$debug_fields
EOF
    if [ "$gos" -gt 0 ] && [ "$bestmoves" -eq 0 ]; then
        traffic_problem "$ours never answered a go ($gos sent)"
    fi
    # A GUI shows the engine's thinking: info lines, passed on to XBoard.
    if [ "$bestmoves" -gt 0 ] && [ "$infos" -eq 0 ]; then
        traffic_problem "$ours showed no thinking (no info line in $gos searches)"
    elif [ "$infos" -gt 0 ] && [ "$shown" -eq 0 ]; then
        traffic_problem "XBoard was shown none of the $infos info lines of $ours"
    fi
    if [ "$ponder" = on ]; then
        if [ "$ponders" -eq 0 ]; then
            traffic_problem "$ours got no go ponder (uci2wb ponders only for an engine that announces an option named ponder)"
        elif [ "$ponder_infos" -eq 0 ]; then
            traffic_problem "$ours showed no thinking while pondering ($ponders go ponder)"
        elif [ "$ponderhits" -eq 0 ] && [ "$ponders" -ge "$PONDERS_WITHOUT_A_HIT" ]; then
            # Some predictions miss against any opponent; all of them hint at a
            # wrong ponder move or a lost ponderhit.
            traffic_problem "no ponderhit in $ponders go ponder"
        fi
    fi
else
    traffic_problem "no XBoard debug log at $debug"
fi

# --- The ending: any normal result passes, losses included. The loser of a
# forfeit ("White wins on time") is the side that erred.
if [ "$side" = red ]; then our_color=White; else our_color=Black; fi
loser_of() {
    case $result in
        1-0) [ "$our_color" = Black ] && echo "$ours" || echo "$theirs" ;;
        0-1) [ "$our_color" = White ] && echo "$ours" || echo "$theirs" ;;
        *) echo "one side" ;;
    esac
}

case $result in
    1-0 | 0-1 | 1/2-1/2) ;;
    "") problem "the game has no result (neither $pgn nor $debug holds one)" ;;
    *) problem "the game did not finish (result '$result' {$comment})" ;;
esac
if [ -n "$result" ] && [ "$result" != "*" ]; then
    case $comment in
        *"wins on time"*) problem "$(loser_of) lost on time {$comment}" ;;
        *[Ff]orfeit* | *[Ii]llegal* | *"nvalid move"*) problem "$(loser_of) made an illegal move {$comment}" ;;
        *"exited unexpectedly"* | *"program exits"*) problem "an engine exited during the game {$comment}" ;;
        *"False "*) problem "$(loser_of) made a false claim {$comment}" ;;
        *mates* | *Checkmate* | *Stalemate* | *resign* | *repetition* | *perpetual* | \
            *"long game"* | *"mating material"* | *"Trivial draw"* | *"50-move"* | \
            *"Draw agreed"* | *"Bare king"* | *"Draw claim"* | *"Draw by"* | *"game is a draw"*) ;;
        *) problem "unrecognised game ending {$comment}" ;;
    esac
fi

# --- Files the engine keeps: the hash book is 4080 bytes once saved. An empty
# one was never saved: the adapter kills the engine about 50 ms after "quit".
hash_book_size=""
if [ -n "$engine_dir" ] && [ -f "$engine_dir/hashbook.bin" ]; then
    hash_book_size=$(wc -c <"$engine_dir/hashbook.bin" | tr -d ' ')
    case $hash_book_size in
        0 | 4080) ;;
        *) traffic_problem "hashbook.bin has $hash_book_size bytes, not 4080: it was damaged" ;;
    esac
fi

summary="$label: $ours ($side) vs $theirs: ${result:-no result} {${comment:-}} after $moves moves; $ours moved $bestmoves times, slowest ${max_think} ms, $infos info lines"
[ "$ponders" -gt 0 ] || [ "$stops" -gt 0 ] && summary="$summary; go ponder $ponders, ponderhit $ponderhits, stop $stops (slowest stop ${max_stop} ms)"
[ -z "$caller_problem" ] || problem "$caller_problem"
problems="$problems$traffic_problems"
notes=""
if [ "$hash_book_size" = 0 ]; then
    notes="$notes${notes:+
}  note: hashbook.bin is empty: $ours was not done with quit when the adapter killed it"
fi
if [ -n "$stderr_log" ] && [ -s "$stderr_log" ]; then
    notes="$notes${notes:+
}$(awk -v who="$ours" 'NR <= 3 { print "  note: " who " on stderr: " $0 } END { if (NR > 3) print "  note: ... " NR " stderr lines in all" }' "$stderr_log")"
fi
if [ -z "$problems" ]; then
    echo "$summary: ok"
    [ -z "$notes" ] || echo "$notes"
else
    echo "$summary: FAILED$problems"
    [ -z "$notes" ] || echo "$notes"
    exit 1
fi
