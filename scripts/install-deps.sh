#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Quillory need.
# Quick when everything is present: it asks dpkg first and touches apt only for
# what is missing.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-svg-dev
    libgtest-dev libgmock-dev
    fonts-liberation
    python3 python3-dbf python3-vobject libdbd-xbase-perl
    libcups2-dev poppler-utils unrtf
    libhunspell-dev hunspell-en-us
    libzint-dev
    cups printer-driver-cups-pdf
    ccache xvfb xauth xdotool imagemagick
    dpkg-dev desktop-file-utils appstream man-db
    qt6-tools-dev qt6-documentation-tools
    # Recommended: the desktop's shared label catalogue, shown beside the shipped label
    # stock (the program works without it).
    glabels-data
)

# `--fuzz`: the compiler and runtime of the fuzz build only (make fuzz).
if [[ "${1:-}" == "--fuzz" ]]; then
    packages+=(clang-14 libclang-rt-14-dev)
fi

missing=()
for p in "${packages[@]}"; do
    status=$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)
    [[ "$status" == "install ok installed" ]] || missing+=("$p")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

echo "Installing: ${missing[*]}"
sudo=""
if [[ $(id -u) -ne 0 ]]; then sudo="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update
$sudo apt-get install -y --no-install-recommends "${missing[@]}"
