"""The web page's figures: what the page loads, raw and gzip-compressed; navigation to the
menu's first frame in headless Chromium, served from 127.0.0.1; and the CPU time all of the
browser's processes take on the still menu against the same browser on an empty page.
Run by scripts/bench.sh after the native table."""
import argparse
import gzip
import os
import statistics
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "scripts"))
from webgame import Browser, Site  # noqa: E402

PAGE_GOAL, GZIP_GOAL, FIRST_FRAME_GOAL, IDLE_GOAL = 600_000, 250_000, 1000.0, 1.0
IDLE_SECONDS = 10
# The floor of the menu's loop: a page that does nothing but wake up every 20 ms.
TIMER_PAGE = "data:text/html,<script>(function wake() { setTimeout(wake, 20); })()</script>"
# The first draw call's frame reaches the screen at the next animation frame.
FIRST_FRAME = """(() => {
  const mark = () => { if (window.firstDraw === undefined) { window.firstDraw = performance.now();
    requestAnimationFrame(() => { window.firstFrame = performance.now(); }); } };
  for (const name of ['drawArrays', 'drawElements']) {
    const draw = WebGLRenderingContext.prototype[name];
    WebGLRenderingContext.prototype[name] = function () {
      mark();
      return draw.apply(this, arguments);
    };
  }
})();"""


def page_sizes(site_dir):
    rows = []
    for name in sorted(os.listdir(site_dir)):
        with open(os.path.join(site_dir, name), "rb") as f:
            data = f.read()
        rows.append((name, len(data), len(gzip.compress(data, 9))))
    return rows


def first_frames(site, runs):
    """Milliseconds from navigation to the menu's first frame, each a first visit: no
    cache, no stored folder."""
    browser = Browser()
    try:
        browser.cdp("Network.enable")
        browser.cdp("Network.setCacheDisabled", cacheDisabled=True)
        browser.cdp("Page.addScriptToEvaluateOnNewDocument", source=FIRST_FRAME)
        times = []
        for _ in range(runs):
            browser.cdp("Storage.clearDataForOrigin", origin=site.url.rstrip("/"),
                        storageTypes="all")
            browser.driver.get(site.url)
            deadline = time.time() + 10
            while browser.driver.execute_script("return window.firstFrame") is None:
                if time.time() > deadline:
                    raise RuntimeError("the menu's first frame never came")
                time.sleep(0.02)
            times.append(browser.driver.execute_script("return window.firstFrame"))
        return times
    finally:
        browser.quit()


def tree_cpu_seconds(root):
    """User and system CPU time of process `root` and all its descendants."""
    stats = {}
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/stat") as f:
                fields = f.read().rsplit(")", 1)[1].split()
        except FileNotFoundError:
            continue
        stats[int(pid)] = (int(fields[1]), int(fields[11]) + int(fields[12]))  # ppid, ticks
    tree, grew = {root}, True
    while grew:
        children = {pid for pid, (ppid, _) in stats.items() if ppid in tree} - tree
        tree |= children
        grew = bool(children)
    return sum(stats[pid][1] for pid in tree if pid in stats) / os.sysconf("SC_CLK_TCK")


def idle_cpu(url):
    """Per cent of a core all of one browser's processes use over IDLE_SECONDS on `url`."""
    browser = Browser()
    try:
        browser.driver.get(url)
        time.sleep(3)  # loaded, drawn, settled
        root = browser.driver.service.process.pid
        before, start = tree_cpu_seconds(root), time.monotonic()
        time.sleep(IDLE_SECONDS)
        return 100 * (tree_cpu_seconds(root) - before) / (time.monotonic() - start)
    finally:
        browser.quit()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--site-dir", required=True)
    parser.add_argument("--runs", type=int, default=11)
    args = parser.parse_args()
    site = Site(args.site_dir)
    try:
        print(f"The web page (headless Chromium, swiftshader WebGL), load average "
              f"{os.getloadavg()[0]:.2f} at its start")
        print()
        rows = page_sizes(args.site_dir)
        print("| file | bytes | gzip -9 bytes |\n|---|---:|---:|")
        for name, raw, packed in rows:
            print(f"| {name} | {raw} | {packed} |")
        total, total_gzip = sum(r[1] for r in rows), sum(r[2] for r in rows)
        print(f"| everything the page loads | {total} | {total_gzip} |")
        print(f"| goal | ≤ {PAGE_GOAL} | ≤ {GZIP_GOAL} |")
        print()
        times = first_frames(site, args.runs)
        print(f"Navigation to the menu's first frame, first visits from 127.0.0.1: median "
              f"{statistics.median(times):.0f} ms of {args.runs} (fastest {min(times):.0f}, "
              f"slowest {max(times):.0f}); goal ≤ {FIRST_FRAME_GOAL:.0f} ms")
        print()
        menu, empty, floor = idle_cpu(site.url), idle_cpu("about:blank"), idle_cpu(TIMER_PAGE)
        print(f"Still main menu: all of the browser's processes {menu:.2f} % of a core over "
              f"{IDLE_SECONDS} s, an empty page {empty:.2f} %: {menu - empty:+.2f} % "
              f"(goal ≤ +{IDLE_GOAL:.1f}); a page that only wakes every 20 ms, as the menu's "
              f"loop does, {floor - empty:+.2f} %; load average {os.getloadavg()[0]:.2f} "
              f"at the end")
    finally:
        site.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main())
