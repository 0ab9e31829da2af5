#!/usr/bin/env bash
# Fails when a file of plugin/, sim/ or tools/ includes a file of a layer it
# must not see. Every quoted include is found as the compiler finds it (beside
# the including file, then from the top of the repository, plugin/ or tests/)
# and the two files' layers are compared:
#
#   plugin/host/        host only
#   plugin/platform/    platform only
#   plugin/common/      common, host, platform
#   plugin/clip_io/     clip_io, common, host, platform (never key_setter)
#   plugin/key_setter/  key_setter, common, host, platform (never clip_io)
#   plugin/module/      any part of plugin/
#   sim/                sim, and of plugin/ only host and platform
#   tools/              tools and sim
#
# A quoted include that names no file of the repository fails as well.
# Usage: scripts/check-layers.sh [ROOT]   (ROOT: the checkout, by default
# the one holding this script)
set -euo pipefail
root="${1:-$(cd "$(dirname "$0")/.." && pwd)}"
cd "$root"

files="$(find plugin sim tools tests bench fuzz -type f \( -name '*.cpp' -o -name '*.h' \) | sort)"

# "FILE<TAB>INCLUDE" for every quoted include of the checked folders.
includes="$(grep -HE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' \
  $(printf '%s\n' "$files" | grep -E '^(plugin|sim|tools)/') |
  sed -E 's/^([^:]+):[[:space:]]*#[[:space:]]*include[[:space:]]*"([^"]+)".*/\1\t\2/')"

printf '%s\n' "$includes" | awk -F '\t' -v files="$files" '
function normal(path,    parts, n, i, out, k) {
  n = split(path, parts, "/")
  k = 0
  for (i = 1; i <= n; i++) {
    if (parts[i] == "" || parts[i] == ".") continue
    if (parts[i] == "..") { if (k > 0) k--; else return ""; continue }
    out[++k] = parts[i]
  }
  path = ""
  for (i = 1; i <= k; i++) path = path (i > 1 ? "/" : "") out[i]
  return path
}
function dir(path) { return sub(/\/[^\/]*$/, "", path) ? path : "" }
function layer(path) {
  if (path ~ /^plugin\/[a-z_]+\//) { split(path, p, "/"); return p[2] }
  split(path, p, "/")
  return p[1]
}
BEGIN {
  n = split(files, list, "\n")
  for (i = 1; i <= n; i++) known[list[i]] = 1
  allowed["host"] = " host "
  allowed["platform"] = " platform "
  allowed["common"] = " common host platform "
  allowed["clip_io"] = " clip_io common host platform "
  allowed["key_setter"] = " key_setter common host platform "
  allowed["module"] = " module clip_io key_setter common host platform "
  allowed["sim"] = " sim host platform "
  allowed["tools"] = " tools sim "
  bad = 0
}
{
  file = $1; name = $2; target = ""
  split(dir(file) " . plugin tests", roots, " ")
  for (r = 1; r <= 4 && target == ""; r++) {
    candidate = normal(roots[r] "/" name)
    if (candidate in known) target = candidate
  }
  if (target == "") {
    printf "%s: includes \"%s\", which is no file of the repository\n", file, name
    bad = 1
    next
  }
  from = layer(file); to = layer(target)
  if (!(from in allowed)) next
  if (index(allowed[from], " " to " ") == 0) {
    printf "%s: includes %s (%s may not include %s)\n", file, target, from, to
    bad = 1
  }
}
END {
  if (bad) exit 1
  print "layers: every include points down or sideways"
}'
