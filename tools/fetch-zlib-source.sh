#!/usr/bin/env bash
# Unpacks Debian's zlib source package into build/zlib-source for the browser build (preset
# web), which compiles zlib with the program. apt fetches it with a source list of its own in
# a scratch folder, so the system's apt configuration stays as it is. Quick when it is there.
set -euo pipefail
cd "$(dirname "$0")/.."
target=build/zlib-source
[ -f "${target}/inflate.c" ] && exit 0

scratch=$(mktemp -d)
trap 'rm -rf "${scratch}"' EXIT
mkdir -p "${scratch}/parts" "${scratch}/lists/partial" "${scratch}/get"
suite=$(. /etc/os-release && echo "${VERSION_CODENAME}")
cat >"${scratch}/parts/zlib-source.sources" <<SOURCES
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: ${suite}
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_options=(-o "Dir::Etc::SourceList=/dev/null" -o "Dir::Etc::SourceParts=${scratch}/parts"
    -o "Dir::State::Lists=${scratch}/lists" -o "APT::Sandbox::User=root")
apt-get "${apt_options[@]}" -qq update
(cd "${scratch}/get" && apt-get "${apt_options[@]}" -qq source --download-only zlib >/dev/null)
archive=$(ls "${scratch}"/get/zlib_*.orig.tar.*)
mkdir -p "${target}.part"
tar -xf "${archive}" -C "${target}.part" --strip-components=1
rm -rf "${target}"
mv "${target}.part" "${target}"
echo "zlib source: $(basename "${archive}") in ${target}"
