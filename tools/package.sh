#!/usr/bin/env bash
# tools/package.sh [CMAKE-OPTION...]
# Builds the Debian package build-deb/vardo_<version>_<arch>.deb on Debian 12,
# installing what that needs first (skipping what is there), and checks it
# with lintian: any error or warning fails, but for the placeholder
# maintainer address, which a packager replaces with
#   tools/package.sh -DVARDO_PACKAGE_MAINTAINER="Name <address>"
# (kept in build-deb/ for later runs).
set -euo pipefail
cd "$(dirname "$0")/.."
tools/setup.sh --no-build file dpkg-dev lintian

# Debian's hardening and optimisation flags, as a Debian build would set them.
eval "$(dpkg-buildflags --export=sh)"
export CXXFLAGS="$CXXFLAGS $CPPFLAGS"
cmake -S . -B build-deb -G Ninja -DCMAKE_BUILD_TYPE=None -DCMAKE_INSTALL_PREFIX=/usr \
    -DBUILD_TESTING=OFF "$@"
cmake --build build-deb
(cd build-deb && cpack -G DEB)

deb=$(ls -t build-deb/vardo_*.deb | head -n 1)
echo "Checking $deb with lintian"
lintian --fail-on none "$deb" | tee build-deb/lintian.txt
if grep -E '^[EW]: ' build-deb/lintian.txt | grep -vE '^E: vardo: bogus-mail-host(-in-debian-changelog)? '; then
    echo "lintian: the package has the errors or warnings above" >&2
    exit 1
fi
echo "Package: $deb"
