#!/usr/bin/env bash
# Installs the Debian packages that are missing for one purpose, and any named after it;
# a second run installs nothing.
#   run   building and running the game
#   demo  that, and the virtual display the run command plays on when there is no display
#   web   building the page for the browser and serving it
#   test  all of the above and the test tools, the browser among them
set -euo pipefail
cd "$(dirname "$0")/.."

build=(
  build-essential cmake pkg-config
  libsdl1.2-dev libx11-dev libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
)
demo=(python3 xvfb xdotool x11-utils imagemagick faketime)
web=(emscripten python3)
tests=(
  libgtest-dev file desktop-file-utils x11-xserver-utils
  clang libclang-rt-14-dev clang-tidy
  chromium chromium-driver python3-selenium
)

case ${1:-} in
  run) packages=("${build[@]}") what="building and running the game" ;;
  demo) packages=("${build[@]}" "${demo[@]}") what="the demonstration" ;;
  web) packages=("${web[@]}") what="the browser's page" ;;
  test) packages=("${build[@]}" "${demo[@]}" "${web[@]}" "${tests[@]}") what="the tests" ;;
  *)
    echo "usage: deps.sh run|demo|web|test [PACKAGE...]" >&2
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

# One line for the player; apt's own hundreds of lines go to a log, shown only on failure.
mkdir -p build
log=$PWD/build/apt-install.log
sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
apt_failed() {
  tail -n 20 "$log"
  echo "ERROR: installing the Debian packages failed; apt's whole output is in $log"
  exit 1
}
echo "Looking up ${#missing[@]} missing Debian packages for $what …"
"${sudo_cmd[@]}" apt-get update -q >"$log" 2>&1 || apt_failed
total=$(apt-get install -s --no-install-recommends "${missing[@]}" 2>>"$log" | grep -c '^Inst ') || apt_failed
echo "Installing ${missing[*]}: $total packages with what they need (apt's output: $log)"
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends \
  "${missing[@]}" >>"$log" 2>&1 || apt_failed
