#!/bin/sh
# Installs the programs the end-to-end match needs (the XBoard GUI, the UCI/UCCI
# adapter, a virtual X server and the opponent engine) from Debian's packages,
# non-interactively, when any of them is missing. Needs root or sudo.
set -eu
# Debian installs the games and their engines under /usr/games.
PATH="/usr/games:$PATH"

missing=""
command -v xboard >/dev/null 2>&1 || missing="$missing xboard"
command -v uci2wb >/dev/null 2>&1 || missing="$missing uci2wb"
command -v xvfb-run >/dev/null 2>&1 || missing="$missing xvfb xauth"
command -v maxqi >/dev/null 2>&1 || missing="$missing fairymax"

if [ -z "$missing" ]; then
    echo "e2e: xboard, uci2wb, xvfb-run and maxqi are installed"
    exit 0
fi

if [ "$(id -u)" -eq 0 ]; then
    sudo=""
elif command -v sudo >/dev/null 2>&1; then
    sudo="sudo -n"
else
    echo "e2e: need root (or sudo) to install:$missing" >&2
    exit 1
fi

echo "e2e: installing$missing"
export DEBIAN_FRONTEND=noninteractive
# shellcheck disable=SC2086
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
for tool in xboard uci2wb xvfb-run maxqi; do
    command -v "$tool" >/dev/null 2>&1 || { echo "e2e: $tool still missing after install" >&2; exit 1; }
done
echo "e2e: installed$missing"
