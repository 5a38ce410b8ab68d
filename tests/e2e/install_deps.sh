#!/bin/sh
# Installs what the end-to-end match needs from Debian's packages, without
# prompts, when any of it is missing: the XBoard GUI, the UCCI adapter uci2wb,
# a virtual X server with xvfb-run and xauth, and the opponent maxqi (package
# fairymax). Needs root or password-less sudo.
set -eu
# Debian installs the games and their engines under /usr/games.
PATH="/usr/games:$PATH"

missing=""
for pair in xboard:xboard uci2wb:uci2wb xvfb-run:xvfb xauth:xauth maxqi:fairymax; do
    command -v "${pair%%:*}" >/dev/null 2>&1 || missing="$missing ${pair#*:}"
done
if [ -z "$missing" ]; then
    echo "e2e: xboard, uci2wb, xvfb-run, xauth and maxqi are installed"
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
$sudo apt-get update -qq
# shellcheck disable=SC2086
$sudo apt-get install -y -qq --no-install-recommends $missing >/dev/null
for tool in xboard uci2wb xvfb-run xauth maxqi; do
    command -v "$tool" >/dev/null 2>&1 || { echo "e2e: $tool still missing after the install" >&2; exit 1; }
done
echo "e2e: installed$missing"
