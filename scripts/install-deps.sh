#!/usr/bin/env bash
# Installs every Debian package that building, running and testing Quavix
# needs. Packages already present are skipped, so a second run costs nothing.
set -euo pipefail

packages=(
    cmake ninja-build g++ make
    libgtest-dev libgmock-dev libbenchmark-dev
    64tass
    libadplug-dev libsdl1.2-dev
    libncurses-dev libsndfile1-dev tmux sox
    clang libclang-rt-14-dev
)

fail() {
    echo "install-deps: $*" >&2
    exit 1
}

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

command -v apt-get >/dev/null 2>&1 ||
    fail "apt-get not found; install these packages by hand: ${missing[*]}"

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    command -v sudo >/dev/null 2>&1 ||
        fail "not root and sudo not found; as root run: apt-get install ${missing[*]}"
    sudo=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${sudo[@]}" apt-get update -q ||
    fail "apt-get update failed; check the network and the apt sources"
"${sudo[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}" ||
    fail "could not install: ${missing[*]}"
