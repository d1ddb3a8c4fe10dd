#!/usr/bin/env bash
# The Debian package as a user meets it: built with CPack from an optimised build, checked by lintian
# (no errors), installed with apt, the installed program's --version, a start and a close under a
# virtual X server, and removed again, whatever happened on the way.
# Usage: package_test.sh <build directory>   (as root, or a user with sudo)
set -euo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
sudo=
[ "$(id -u)" -eq 0 ] || sudo=sudo

fail() { echo "package: $*" >&2; exit 1; }

# Removing a package someone installed by hand is not this test's to do.
if dpkg-query -W -f='${Status}' corvane 2>/dev/null | grep -q 'install ok installed'; then
    fail "a corvane package is installed already; remove it first (apt-get remove corvane)"
fi

rm -rf "$build/package"
(cd "$build" && cpack -G DEB >/dev/null)
debs=("$build"/package/corvane_*_amd64.deb)
[ ${#debs[@]} -eq 1 ] && [ -f "${debs[0]}" ] || fail "expected one corvane_<version>_amd64.deb, got: ${debs[*]}"
deb=${debs[0]}
version=$(dpkg-deb -f "$deb" Version)
echo "package: built $(basename "$deb")"

status=0
said=$(lintian --fail-on error "$deb" 2>&1) || status=$?
echo "package: lintian says:"
grep -v '^running with root privileges' <<<"$said" || true
[ $status -eq 0 ] || fail "lintian reports errors"

remove() { $sudo apt-get remove -y -qq --purge corvane >/dev/null 2>&1 || true; }
trap remove EXIT
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "$deb" >/dev/null
[ -x /usr/bin/corvane ] || fail "apt installed no /usr/bin/corvane"
echo "package: installed"

said=$(/usr/bin/corvane --version)
[ "$said" = "Corvane Demo $version" ] || fail "--version says '$said', the package is $version"
echo "package: --version: $said"

"$here/../e2e/xvfb.sh" "$here/../e2e/startup_and_close.sh" /usr/bin/corvane "$build/tests/e2e/send_close_request" installed

remove
[ ! -e /usr/bin/corvane ] || fail "/usr/bin/corvane is still there after the removal"
echo "package: removed"
