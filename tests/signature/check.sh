#!/bin/sh
# Fails when the binary's bench total or perft 5 count differs from
# expected.txt beside this script, printing both numbers.
set -eu
binary=${1:?usage: check.sh TAVOX_BINARY}
here=$(cd "$(dirname "$0")" && pwd)
expected() { awk -v k="$1" '$1 == k { print $2 }' "$here/expected.txt"; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$binary" "$work/tavox"
cp "$(dirname "$binary")/_prime.txt" "$work/"
cd "$work"

status=0
check() {
    if [ "$2" = "$3" ]; then
        echo "signature: $1 $3 (as expected)"
    else
        echo "signature: $1 is $3, expected $2" >&2
        status=1
    fi
}
check bench "$(expected bench)" "$(./tavox bench 2>/dev/null | awk '$1 == "nodes" { print $2 }' | tail -1)"
check perft5 "$(expected perft5)" "$(./tavox perft 5 2>/dev/null | awk '$1 == "nodes" { print $2 }' | tail -1)"
exit $status
