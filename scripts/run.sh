#!/usr/bin/env bash
# Sets the machine up, builds, and runs Wordloom on the example project. Until the workbench window
# exists this converts the example's text form to the binary form and back with wordloom-cli and
# shows that the round trip keeps every byte.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build"

cli="$root/build/cli/wordloom-cli"
# The example's texts are Windows-1252 bytes, as Delphi writes them.
show() { iconv -f WINDOWS-1252 -t UTF-8 "$1" 2>/dev/null || cat "$1"; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$cli" form tobinary "$root/examples/Main.dfm" "$work/Main.dfm"
"$cli" form totext "$work/Main.dfm" "$work/Main.txt"
"$cli" form totext "$root/examples/About.dfm" "$work/About.txt"
echo "examples/Main.dfm: $(stat -c %s "$root/examples/Main.dfm") bytes of text -> $(stat -c %s "$work/Main.dfm") bytes binary -> text again:"
show "$work/Main.txt"
"$cli" form tobinary "$work/Main.txt" "$work/Again.dfm"
if cmp -s "$work/Main.dfm" "$work/Again.dfm"; then
    echo "round trip: the binary form made from the text is identical"
else
    echo "round trip: binary forms differ" >&2
    exit 1
fi
echo
echo "examples/About.dfm (binary) as text:"
show "$work/About.txt"
