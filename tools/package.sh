#!/usr/bin/env bash
# tools/package.sh [DPKG-BUILDPACKAGE-OPTION...]
# Builds the Debian source package and the binary package from debian/ the
# way Debian builds them: the build dependencies through `apt-get build-dep`
# (skipped when they are all there), then `dpkg-buildpackage -us -uc` in a
# copy of the tree, build-deb/vardo-<version>/, so that its results land in
# build-deb/ and nothing is written outside the clone. Then lintian
# --pedantic checks the .changes: any tag fails but the placeholder
# maintainer address, which a packager replaces in debian/control and
# debian/changelog.
# DEB_BUILD_OPTIONS=nocheck leaves out the build-time suites.
set -euo pipefail
cd "$(dirname "$0")/.."

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
missing=()
for package in build-essential dpkg-dev lintian; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' \
        || missing+=("$package")
done
if ((${#missing[@]})) || ! dpkg-checkbuilddeps 2>/dev/null; then
    echo "Installing: ${missing[*]} and the build dependencies in debian/control"
    "${sudo[@]}" apt-get update -qq
    apt=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -y -qq)
    ((${#missing[@]} == 0)) || "${apt[@]}" install "${missing[@]}"
    "${apt[@]}" build-dep ./
fi

version=$(dpkg-parsechangelog -S Version)
source=build-deb/vardo-$version
rm -rf build-deb/vardo-* build-deb/vardo_*
# The tree as git sees it, uncommitted changes included, without build
# folders or anything ignored; writable by its owner alone whatever the
# clone's umask, so that the source package's modes are the same everywhere.
umask 022
mkdir -p "$source"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files -z --cached --others --exclude-standard \
        | while IFS= read -r -d '' file; do
              if [ -e "$file" ] || [ -L "$file" ]; then printf '%s\0' "$file"; fi
          done \
        | tar --null -T - --mode=go-w -cf - | tar -xf - -C "$source"
else
    tar --exclude=./build --exclude='./build-*' --mode=go-w -cf - . | tar -xf - -C "$source"
fi

(cd "$source" && dpkg-buildpackage -us -uc -Jauto "$@")

changes=build-deb/vardo_${version}_$(dpkg-architecture -q DEB_HOST_ARCH).changes
echo "Checking $changes with lintian"
lintian --pedantic --display-info --display-experimental --fail-on none "$changes" \
    | tee build-deb/lintian.txt
# Besides the address, the override that only Debian 12's and 13's lintian
# use (debian/source/lintian-overrides says why), and three of unstable's
# pedantic hints that ask to drop what Debian 12's tools still need: its
# debhelper has no stable compat 14, and its dpkg takes neither an absent
# Priority for optional nor an absent Rules-Requires-Root for no.
allowed=(
    '^E: vardo(-dbgsym| source| changes)?: bogus-mail-host(-in-debian-changelog)? '
    '^I: vardo source: unused-override newer-standards-version '
    '^P: vardo source: package-uses-old-debhelper-compat-version 13$'
    '^P: vardo source: redundant-priority-optional-field '
    '^P: vardo source: redundant-rules-requires-root-no-field '
)
# Tags only: the N: lines are lintian's notes, such as its count of overrides.
if grep -E '^[EWIPX]: ' build-deb/lintian.txt \
        | grep -vE "$(IFS='|'; echo "${allowed[*]}")"; then
    echo "lintian: the package has the tags above" >&2
    exit 1
fi
echo "Packages:" build-deb/*.deb
