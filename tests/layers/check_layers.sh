#!/bin/sh
# Lists the includes under src/ that run up the layers and fails on any that
# is not one of the call points named in allowed.txt beside this script, and
# on an entry there that no longer matches an include.
set -eu
src=${1:?usage: check_layers.sh SRC_DIR}
here=$(cd "$(dirname "$0")" && pwd)
# Lowest first: a file may include the headers of its own folder and of the
# folders before it. Files directly under src/ (the program's entry) stand
# above them all.
layers="platform board eval position book search ucci tools"

cd "$src"
grep -rH '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' --include='*.h' --include='*.cpp' . |
    sed 's|^\./||; s|:[[:space:]]*#[[:space:]]*include[[:space:]]*"\([^"]*\)".*$| \1|' |
    awk -v layers="$layers" -v allowed="$here/allowed.txt" '
BEGIN {
    n = split(layers, name, " ")
    for (i = 1; i <= n; i++) rank[name[i]] = i
    while ((getline line < allowed) > 0) {
        sub(/#.*/, "", line)
        if (split(line, f, " ") >= 2) listed[f[1] " " f[2]] = 1
    }
    status = 0
}
function layer_of(path,    parts) {
    if (split(path, parts, "/") < 2) return ""
    return parts[1]
}
{
    file = $1; header = $2
    from = layer_of(file)
    if (from == "") next  # the entry point may include anything
    if (!(from in rank)) { print "no layer for src/" file; status = 1; next }
    to = layer_of(header)
    if (to == "") next  # a header of the same folder
    if (!(to in rank)) { print "src/" file ": " header " is in no layer"; status = 1; next }
    if (rank[to] <= rank[from]) next
    if ((file " " header) in listed) {
        seen[file " " header] = 1
        print "call point: src/" file " -> " header
    } else {
        print "upward include: src/" file " -> " header
        status = 1
    }
}
END {
    for (k in listed) if (!(k in seen)) { print "allowed.txt names an include that is gone: " k; status = 1 }
    exit status
}'
