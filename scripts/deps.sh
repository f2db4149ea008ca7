#!/usr/bin/env bash
# Installs the Debian packages the game and its tests need, and any named as arguments;
# a second run installs nothing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  libsdl1.2-dev libx11-dev libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
  libgtest-dev
  python3 xvfb xdotool imagemagick x11-utils faketime
  file desktop-file-utils
  clang libclang-rt-14-dev clang-tidy
  "$@"
)

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "Installing: ${missing[*]}"
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
