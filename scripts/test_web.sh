#!/usr/bin/env bash
# The browser stage of the test command: builds the web page and plays it in headless
# Chromium (Debian's, with its driver; nothing is downloaded).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh web chromium chromium-driver python3-selenium imagemagick
bash scripts/build_web.sh
echo "Playing the page in headless Chromium …"
# Debian's Python, which has Selenium, whatever python3 comes first on PATH.
/usr/bin/python3 tests/web/test_web.py
