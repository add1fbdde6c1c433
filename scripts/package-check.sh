#!/usr/bin/env bash
# Builds the Debian package from a lean Release build (build-release/: no tests, no benchmarks),
# installs it on this machine, uses the installed programs as a user would, and removes it again.
# Needs root or sudo. Usage: scripts/package-check.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
export DEBIAN_FRONTEND=noninteractive

"$root/scripts/setup.sh"
"$root/scripts/build.sh" "$root/build-release" -DCMAKE_BUILD_TYPE=Release -DWORDLOOM_TESTS=OFF \
    -DWORDLOOM_BENCH=OFF
rm -f "$root"/build-release/wordloom_*.deb
(cd "$root/build-release" && cpack -G DEB >/dev/null)
deb=$(ls "$root"/build-release/wordloom_*.deb)
echo "package: $(basename "$deb")"
dpkg-deb --field "$deb" Depends | grep -q libqt6widgets6 || {
    echo "package-check: the computed dependencies lack the Qt libraries" >&2
    exit 1
}

if dpkg-query -W -f='${Status}' wordloom 2>/dev/null | grep -q "install ok installed"; then
    echo "package-check: a wordloom package is installed already; not touching it" >&2
    exit 1
fi
work=$(mktemp -d)
cleanup() {
    $sudo apt-get remove -y -qq wordloom >/dev/null 2>&1 || true
    rm -rf "$work"
}
trap cleanup EXIT
$sudo apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
fail() {
    echo "package-check: $*" >&2
    exit 1
}

# The command-line tool, from a folder that is not the checkout, on a copy of the example project.
wordloom-cli --version | grep -qx "wordloom-cli [0-9.]*" || fail "wordloom-cli --version"
cp -r "$root/examples" "$work/examples"
cp /usr/share/wordloom/strings.db "$work/strings.db"
chmod u+w "$work/strings.db"
summary=$(cd "$work" && wordloom-cli collect examples/Demo.dpr --db strings.db 2>"$work/collect.err") ||
    { cat "$work/collect.err" >&2; fail "wordloom-cli collect failed"; }
echo "wordloom-cli collect: $summary"
echo "$summary" | grep -q "texts added: [1-9]" || fail "collect added no texts"
# The checks on forms measure captions with the installed font module, not with the estimate.
(cd "$work" && wordloom-cli check --db strings.db --to German --project examples/Demo.dpr --checks truncation \
    >"$work/check.out" 2>"$work/check.err") || { cat "$work/check.err" >&2; fail "wordloom-cli check failed"; }
if grep -q "estimated" "$work/check.err"; then
    cat "$work/check.err" >&2
    fail "wordloom-cli check did not load its font module"
fi

# The workbench as the menu entry starts it: its Exec line, run from /, with a fresh home. It must
# reach its event loop (the timeout ends it) on the per-user copy of the installed table.
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/org.wordloom.Wordloom.desktop)
mkdir -p "$work/data" "$work/config"
status=0
(cd / && XDG_DATA_HOME="$work/data" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
    QT_LOGGING_RULES="wordloom.table.info=true" timeout 5 sh -c "exec $exec_line") 2>"$work/workbench.err" ||
    status=$?
[ "$status" -eq 124 ] || { cat "$work/workbench.err" >&2; fail "the workbench ended at start-up ($status)"; }
grep -q "strings table: $work/data/wordloom/strings.db" "$work/workbench.err" ||
    { cat "$work/workbench.err" >&2; fail "the workbench did not open the per-user table"; }
[ -z "$(dpkg --verify wordloom)" ] || fail "installed files were changed: $(dpkg --verify wordloom)"
echo "workbench: started from the menu entry's Exec line ($exec_line) on the per-user table"
demo_line=$(sed -n 's/^Exec=//p' /usr/share/applications/org.wordloom.PathwrightDemo.desktop)
status=0
(cd / && HOME="$work" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen timeout 5 sh -c "exec $demo_line") \
    2>"$work/demo.err" || status=$?
[ "$status" -eq 124 ] || { cat "$work/demo.err" >&2; fail "the demo window ended at start-up ($status)"; }
echo "pathwright-demo: started from its menu entry's Exec line ($demo_line)"

$sudo apt-get remove -y -qq wordloom >/dev/null
[ ! -e /usr/bin/wordloom ] || fail "/usr/bin/wordloom is still there after the removal"
echo "package-check: installed, used and removed"
