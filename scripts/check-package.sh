#!/usr/bin/env bash
# Checks what the program installs, with the tools Debian and the desktops use:
#   the desktop entry, the metainfo and the manual pages validate without a warning;
#   `cmake --install` into a staging folder installs exactly packaging/installed-files.txt;
#   cpack builds the .deb, lintian finds no error in it, and the package installs into a
#   fresh root with dpkg, where both installed programs answer --version, and is removed again.
# Usage: scripts/check-package.sh BUILD-FOLDER
set -euo pipefail

build=$(realpath "${1:?usage: $0 BUILD-FOLDER}")
source=$(realpath "$(dirname "$0")/..")
id=dk.kvarnolt.Strukturkonstruktoren
work=$(mktemp -d "${TMPDIR:-/tmp}/struktur-package.XXXXXX")
trap 'rm -rf "$work"' EXIT

step() { echo "package-check: $*"; }
fail() { echo "package-check: FAILED: $*" >&2; exit 1; }

# Prints its command's output and fails when there is any.
silent() {
    local output
    output=$("$@" 2>&1) || fail "$* exited $?: $output"
    [ -z "$output" ] || fail "$* reported: $output"
}

step "desktop entry"
silent desktop-file-validate "$source/packaging/$id.desktop"

step "manual pages"
for page in strukturkonstruktor struktur; do
    warnings=$(MANWIDTH=80 man --warnings -l "$source/packaging/$page.1" 2>&1 >/dev/null) \
        || fail "man $page.1 exited $?"
    [ -z "$warnings" ] || fail "man $page.1 warned: $warnings"
done

step "cmake --install into a staging folder"
DESTDIR="$work/stage" cmake --install "$build" --prefix /usr/local >/dev/null
(cd "$work/stage/usr/local" && find . \( -type f -o -type l \) -printf '%P\n' | LC_ALL=C sort) >"$work/installed.txt"
diff -u "$source/packaging/installed-files.txt" "$work/installed.txt" || fail "installed files differ from packaging/installed-files.txt"

step "metainfo, with the desktop entry and icons it names"
# validate-tree reads a system root: the same files installed once more under /usr.
DESTDIR="$work/tree" cmake --install "$build" --prefix /usr >/dev/null
for check in "validate $work/tree/usr/share/metainfo/$id.metainfo.xml" "validate-tree $work/tree"; do
    output=$(appstreamcli $check --no-net --no-color 2>&1) || fail "appstreamcli $check: $output"
    # Pedantic notes (P:) are allowed; errors (E:), warnings (W:) and infos (I:) are not.
    if grep -qE '^[EWI]: ' <<<"$output"; then fail "appstreamcli $check: $output"; fi
done

step "cpack"
(cd "$build" && cpack -G DEB -B "$work/cpack" >"$work/cpack.log" 2>&1) || { cat "$work/cpack.log"; fail "cpack"; }
deb=$(ls "$work"/cpack/*.deb)
[ "$(echo "$deb" | wc -l)" -eq 1 ] || fail "cpack made $(echo "$deb" | wc -l) packages"
dpkg-deb --field "$deb" Package Version Depends Recommends

step "lintian"
status=0
lintian --fail-on error --tag-display-limit 0 "$deb" >"$work/lintian.log" 2>&1 || status=$?
grep -v "^running with root privileges" "$work/lintian.log" || true
[ "$status" -eq 0 ] || fail "lintian found errors in $(basename "$deb")"

step "dpkg into a fresh root"
root="$work/root"
mkdir -p "$root/var/lib/dpkg/info" "$root/var/lib/dpkg/updates" "$root/var/lib/dpkg/triggers"
touch "$root/var/lib/dpkg/status"
dpkg_root() {
    # The fresh root holds no libraries: dependencies are those of the machine running the check.
    dpkg --root="$root" --log=/dev/null --force-not-root --force-depends --force-script-chrootless "$@"
}
dpkg_root --install "$deb" >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg --install"; }
for program in struktur strukturkonstruktor; do
    version=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$root/usr/bin/$program" --version) \
        || fail "installed $program --version exited $?"
    [ "$version" = "$program $(dpkg-deb --field "$deb" Version)" ] || fail "installed $program --version printed '$version'"
    echo "  $version"
done
dpkg_root --purge strukturkonstruktoren >"$work/dpkg.log" 2>&1 || { cat "$work/dpkg.log"; fail "dpkg --purge"; }
left=$(find "$root/usr" -type f ! -name mimeinfo.cache 2>/dev/null || true)
[ -z "$left" ] || fail "files left after removing the package: $left"

step "all passed"
