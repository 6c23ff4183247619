#!/usr/bin/env bash
# Packs the build in BUILD_DIR as a .deb (no compiling: the binaries are already built), unpacks
# it into a temporary folder and runs the host and the tool from there, with another working
# directory and a fresh home, so that only what the package holds can be used.
# usage: package_test.sh BUILD_DIR SOURCE_DIR
set -uo pipefail

build=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if ! cpack -G DEB -B "$tmp/out" --config "$build/CPackConfig.cmake" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "FAIL: cpack"
    exit 1
fi
deb=$(ls "$tmp"/out/*.deb)
root="$tmp/root"
dpkg-deb -x "$deb" "$root" || { echo "FAIL: dpkg-deb -x"; exit 1; }

for f in usr/bin/duebil-host usr/bin/duebilconfig usr/lib/duebilconfig/plugins/libCGUO_DUEBILCONFIG.so \
         usr/share/applications/duebilconfig.desktop usr/share/icons/hicolor/scalable/apps/duebilconfig.svg \
         usr/share/man/man1/duebilconfig.1.gz usr/share/man/man1/duebil-host.1.gz \
         usr/share/bash-completion/completions/duebilconfig usr/share/duebilconfig/sqlserver/module.sql \
         usr/share/doc/duebilconfig/copyright; do
    [ -s "$root/$f" ] || fail "the package lacks /$f"
done
depends=$(dpkg-deb -f "$deb" Depends)
for d in libqt6widgets6 libqt6sql6-odbc libsqlite3-0 unixodbc tdsodbc qt6-qpa-plugins; do
    [[ ", $depends," == *", $d"[\ ,]* ]] || fail "Depends lacks $d: $depends"
done

# Nothing installed may lead back to the sources or the build.
if grep -rlF -- "$source_dir" "$root" >"$tmp/paths"; then
    fail "files naming $source_dir:"; cat "$tmp/paths"
fi
if command -v readelf >/dev/null; then
    for f in "$root"/usr/bin/* "$root"/usr/lib/duebilconfig/plugins/*; do
        readelf -d "$f" | grep -qE 'R(UN)?PATH' && fail "${f#"$root"} has an RPATH"
    done
fi

# A user without any data of the module, in a folder of its own.
run="$tmp/run"
mkdir -p "$run"
cd "$run" || exit 1
inpackage() {
    env -i PATH=/usr/bin:/bin HOME="$run/home" XDG_DATA_HOME="$run/data" XDG_RUNTIME_DIR="$run" \
        QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0 "$@"
}

inpackage "$root/usr/bin/duebilconfig" --help >help.out 2>help.err
help_rc=$?
{ [ $help_rc -eq 0 ] && grep -q "Uso: duebilconfig" help.out; } \
    || { fail "duebilconfig --help: exit $help_rc"; cat help.out help.err; }
# The manual page and the completion are written by hand: each option the tool's usage names must be in both.
zcat "$root/usr/share/man/man1/duebilconfig.1.gz" | sed 's/\\-/-/g' >manual.txt
for option in $(grep -o -- '--[a-z][a-z-]*' help.out | sort -u); do
    grep -q -- "$option" manual.txt || fail "the manual page does not name $option"
    grep -q -- "$option" "$root/usr/share/bash-completion/completions/duebilconfig" \
        || fail "the bash completion does not offer $option"
done

inpackage "$root/usr/bin/duebilconfig" --db "$run/prova.db" init --demo >init.out 2>&1 \
    || { fail "duebilconfig init --demo"; cat init.out; }
inpackage "$root/usr/bin/duebilconfig" --db "$run/prova.db" list >list.out 2>&1 \
    || { fail "duebilconfig list"; cat list.out; }
grep -q "^300	Incasso RiBa clienti" list.out || { fail "list does not show the demo causal 300"; cat list.out; }

# The window opens from the plug-in of the package, on a demo database made in the user's data folder.
inpackage "$root/usr/bin/duebil-host" --screenshot "$run/finestra.png" >host.out 2>&1
host_rc=$?
grep -q "|INI|CGUO_DUEBILCONFIG|FRMCG_DUEBILCONFIG" host.out && [ $host_rc -eq 0 ] \
    || { fail "duebil-host --screenshot: exit $host_rc"; cat host.out; }
[ "$(head -c 4 finestra.png 2>/dev/null | tail -c 3)" = "PNG" ] || fail "no picture of the window"
[ -s "$run/data/duebilconfig/duebilconfig-demo.db" ] || fail "no demo database in the user's data folder"

echo "$(basename "$deb"): $(stat -c %s "$deb") bytes, $failures failure(s)"
[ $failures -eq 0 ]
