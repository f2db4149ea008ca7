#!/usr/bin/env bash
# Installs the Debian packages that are missing for one purpose, and any named after it;
# a second run installs nothing.
#   run   building and running the game
#   demo  that, and the virtual display the run command plays on when there is no display
#   test  all of the above and the test tools
set -euo pipefail

build=(
  build-essential cmake pkg-config
  libsdl1.2-dev libx11-dev libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
)
demo=(python3 xvfb xdotool x11-utils imagemagick faketime)
tests=(
  libgtest-dev file desktop-file-utils x11-xserver-utils
  clang libclang-rt-14-dev clang-tidy
)

case ${1:-} in
  run) packages=("${build[@]}") ;;
  demo) packages=("${build[@]}" "${demo[@]}") ;;
  test) packages=("${build[@]}" "${demo[@]}" "${tests[@]}") ;;
  *)
    echo "usage: deps.sh run|demo|test [PACKAGE...]" >&2
    exit 2
    ;;
esac
shift
packages+=("$@")

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
