#!/bin/sh
# Runs an XBoard-protocol adapter (the command given as arguments) and sends it
# "hard" once more when it reports its features complete ("feature ... done=1").
#
# Why: XBoard restarts the adapter for every game and sends its whole set-up,
# "hard" included, at once, before the adapter's engine has finished its
# handshake. uci2wb drops a "hard" that comes so early and then never sends
# "go ponder". A user gets pondering by ticking Ponder Next Move once the engine
# runs; this does the same. Everything else passes through unchanged.
set -eu

fifos=$(mktemp -d /tmp/tavox-e2e-hard.XXXXXX)
mkfifo "$fifos/in" "$fifos/out"

# The adapter's output, passed on line by line; its first "done=1" brings the
# extra "hard". The fifos go when the adapter's output ends.
(
    sent=0
    while IFS= read -r line; do
        printf '%s\n' "$line"
        case $line in
            feature*done=1*)
                if [ "$sent" -eq 0 ]; then
                    printf 'hard\n' >"$fifos/in"
                    sent=1
                fi ;;
        esac
    done <"$fifos/out"
    rm -rf "$fifos"
) &

# XBoard's lines to the adapter; the adapter sees the end of input when XBoard
# closes its pipe. (A background job's own standard input would be /dev/null.)
exec 3<&0
cat <&3 >"$fifos/in" &
exec 3<&-

# The adapter takes this process's place, so that XBoard's signals reach it.
exec "$@" <"$fifos/in" >"$fifos/out"
