#!/usr/bin/env bash
# The packaging check: builds the Debian package (packaging/build-deb.sh) and
# runs lintian on it. Any error or warning fails, except the one complaint
# the project accepts until it has a real mail host: the maintainer's address
# (named once, in cmake/Install.cmake) is on a host lintian calls bogus. lintian
# reports that address once for the Maintainer field and once for each release
# in the changelog, and these are accepted only for that address:
#   bogus-mail-host Maintainer ADDRESS
#   bogus-mail-host-in-debian-changelog ADDRESS ...   (a release's sign-off)
# Informational tags are shown and do not fail. Needs lintian. Builds into
# build-deb/ (or $BUILD_DIR), as build-deb.sh does.
set -euo pipefail
cd "$(dirname "$0")/.."

command -v lintian >/dev/null || { echo "check-deb: lintian is not installed" >&2; exit 1; }
bash packaging/build-deb.sh
packages=("${BUILD_DIR:-build-deb}"/yawmark_*.deb)
deb=${packages[0]}
echo "check-deb: lintian $deb"

maintainer=$(dpkg-deb -f "$deb" Maintainer)
address=${maintainer##*<}
address=${address%>}
package=$(dpkg-deb -f "$deb" Package)

# lintian warns that it runs as root (as in CI); that line is no finding.
status=0
report=$(lintian --display-info --fail-on none "$deb" 2>&1) || status=$?
report=$(grep -v '^running with root privileges is not recommended!$' <<<"$report" || true)
[ -n "$report" ] && echo "$report"
if [ "$status" -ne 0 ]; then
    echo "check-deb: lintian itself failed (status $status)" >&2
    exit 1
fi

findings=$(awk -v maintainer="E: $package: bogus-mail-host Maintainer $address" \
                -v changelog="E: $package: bogus-mail-host-in-debian-changelog $address " \
                '/^[EW]: / && $0 != maintainer && index($0, changelog) != 1' <<<"$report")
if [ -n "$findings" ]; then
    echo "check-deb: lintian found errors or warnings in $deb:" >&2
    echo "$findings" >&2
    exit 1
fi
echo "check-deb: no lintian error or warning but the maintainer's mail host ($address)"
