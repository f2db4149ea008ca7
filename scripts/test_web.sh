#!/usr/bin/env bash
# The browser stage of the test command: builds the web page and plays it in headless
# Chromium (Debian's, with its driver; nothing is downloaded).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/deps.sh web chromium chromium-driver python3-selenium imagemagick
bash scripts/build_web.sh
echo "Playing the page in headless Chromium …"
# Debian's Python, which has Selenium, whatever python3 comes first on PATH. The suite must
# run whole: none of its 8 tests may go missing or be skipped.
log=build-web/test-web.log
/usr/bin/python3 tests/web/test_web.py 2>&1 | tee "$log"
ran=$(sed -n 's/^Ran \([0-9][0-9]*\) tests*.*/\1/p' "$log")
if [ "${ran:-0}" -lt 8 ] || grep -q 'skipped=' "$log"; then
  echo "ERROR: the browser suite ran ${ran:-no} tests, some skipped or missing, of its 8"
  exit 1
fi
