#!/usr/bin/env bash
# Makes build-sysroot-ARCH/root, a sysroot of the target's Debian packages (SDL 1.2, EGL,
# GL ES, X11, Mesa, GoogleTest and what they need) to cross-build against and to run under qemu.
# Usage: bash scripts/sysroot.sh armhf|arm64
set -euo pipefail
cd "$(dirname "$0")/.."

arch=${1:?usage: sysroot.sh armhf|arm64}
case "$arch" in armhf | arm64) ;; *) echo "ERROR: unknown architecture $arch" >&2; exit 2 ;; esac

packages=(
  libc6-dev libstdc++-12-dev
  libsdl1.2-dev libx11-dev libegl-dev libgles-dev libegl-mesa0 libgl1-mesa-dri
  libgtest-dev
)

top=$PWD/build-sysroot-$arch
root=$top/root
stamp=$top/root.stamp
want=$(sha256sum <"$0")
[ -f "$stamp" ] && [ "$(cat "$stamp")" = "$want" ] && exit 0

# A private apt of the target architecture, on the machine's own package sources: the host's
# dpkg database and architecture list stay as they are.
apt=$top/apt
mkdir -p "$apt"/state/lists/partial "$apt"/cache/archives/partial
touch "$apt"/state/status
cat >"$apt"/apt.conf <<EOF
APT::Architecture "$arch";
APT::Architectures { "$arch"; };
APT::Install-Recommends "false";
Dir::State "$apt/state";
Dir::State::status "$apt/state/status";
Dir::Cache "$apt/cache";
EOF
apt_get() { apt-get -c "$apt"/apt.conf -qq "$@"; }

# With an empty status file apt resolves the whole dependency closure; the .debs stay cached
# (a failed download means old package lists: update them once and try again).
ls "$apt"/state/lists/*Packages* >/dev/null 2>&1 || apt_get update
apt_get install --download-only -y "${packages[@]}" ||
  { apt_get update && apt_get install --download-only -y "${packages[@]}"; }

# The closure as cache file names (name_version_arch.deb, an epoch's colon as %3a), so that
# older versions left in the cache are not unpacked.
mapfile -t debs < <(apt_get install --simulate "${packages[@]}" |
  awk '/^Inst/ { v = substr($3, 2); sub(/:/, "%3a", v); print $2 "_" v "_" }')
echo "Unpacking ${#debs[@]} packages into $root"
rm -rf "$root" "$stamp"
mkdir -p "$root"
for deb in "${debs[@]}"; do dpkg -x "$apt"/cache/archives/"$deb"*.deb "$root"; done

# Absolute links (libm.so -> /lib/...) would point into the host: make them relative.
find "$root" -type l -lname '/*' | while read -r link; do
  ln -sfn "$(realpath -m -s --relative-to="$(dirname "$link")" "$root$(readlink "$link")")" "$link"
done
printf '%s' "$want" >"$stamp"
