#!/usr/bin/env bash
# Builds the web page into build-web/site/ with Debian's Emscripten.
set -euo pipefail
cd "$(dirname "$0")/.."
# Debian's emscripten finds its node modules and its Python only so.
export NODE_PATH=/usr/share/nodejs EMSDK_PYTHON=/usr/bin/python3
echo "Building the web page in build-web/ …"
emcmake cmake -S . -B build-web -DCMAKE_BUILD_TYPE=Release -DQUORVEL_TESTS=OFF >/dev/null
cmake --build build-web -j2
