#!/usr/bin/python3
"""The page's figures, each beside a reference measured in the same run:

- first-load transfer: every file the page fetches on a first visit, as a
  server compresses it (gzip -9), against 300 KB;
- navigation to the first values shown, against a page that loads a
  hello-world module built by the same toolchain (within 1.5x);
- one Compute with its preview, at heights up to 2e9 (under 2 ms);
- a JPEG export at side 10000, against decagon-cli writing the same file
  (within 3x).

usage: bench/web_bench.py PAGE-FOLDER DECAGON-CLI     (after scripts/test.sh web)
"""

import gzip
import os
import statistics
import subprocess
import sys
import tempfile
import time
from urllib.parse import urlparse

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "web"))
from web_test import Server, start_chromium  # noqa: E402
from selenium.webdriver.common.by import By  # noqa: E402
from selenium.webdriver.common.keys import Keys  # noqa: E402

PAGE, CLI = sys.argv[1:3]
LOADS = 15


def wait_ready(driver):
    for _ in range(400):
        if driver.execute_script("return document.body && document.body.dataset.ready") == "true":
            return float(driver.execute_script("return document.body.dataset.readyAt"))
        time.sleep(0.025)
    raise RuntimeError("the page did not start")


def first_load_transfer(driver, url):
    driver.get(url)
    wait_ready(driver)
    names = driver.execute_script(
        "return [location.href, ...performance.getEntriesByType('resource').map(e => e.name)]")
    files = {urlparse(name).path.lstrip("/") or "index.html" for name in names} | {"sw.js"}
    total = 0
    for name in sorted(files):
        with open(os.path.join(PAGE, name), "rb") as data:
            total += len(gzip.compress(data.read(), 9))
    return total, sorted(files)


def navigation_times(driver, urls):
    """The median time of each page, loaded in turn so that the machine's
    ups and downs fall on all of them alike."""
    times = {url: [] for url in urls}
    for _ in range(LOADS):
        for url in urls:
            driver.get("about:blank")
            driver.get(url)
            times[url].append(wait_ready(driver))
    return [statistics.median(times[url]) for url in urls]


def compute_time(driver):
    """The median of one click on Compute until the controller has returned,
    values and preview shown, at each height."""
    return driver.execute_async_script("""
        const done = arguments[arguments.length - 1];
        const field = document.getElementById('control-1028');
        const button = document.getElementById('control-1003');
        const heights = ['1', '254.884', '1000', '99999', '1e6', '123456789', '2e9'];
        (async () => {
          const times = [];
          for (let round = 0; round < 30; ++round)
            for (const height of heights) {
              field.value = height;
              const start = performance.now();
              button.click();
              await decagonView.lastCommand;
              times.push(performance.now() - start);
            }
          times.sort((a, b) => a - b);
          done([times[times.length >> 1], times[times.length - 1]]);
        })();""")


def jpeg_export_time(driver, work):
    # The page's own save dialog, which a script can answer, and a download.
    driver.execute_script("window.showSaveFilePicker = undefined")
    field = driver.find_element(By.ID, "control-1028")
    field.send_keys(Keys.CONTROL, "a")
    field.send_keys("10000", Keys.ENTER)
    driver.find_element(By.ID, "control-1004").click()
    name = driver.find_element(By.ID, "save-name")
    name.send_keys("side10000.jpg")
    start = time.perf_counter()
    name.send_keys(Keys.ENTER)
    while not driver.find_elements(By.CSS_SELECTOR, ".box button"):
        time.sleep(0.01)
    page = time.perf_counter() - start
    driver.find_element(By.CSS_SELECTOR, ".box button").click()
    cli = os.path.join(work, "decagon-cli")
    subprocess.run(["cp", CLI, cli], check=True)
    runs = []
    for _ in range(3):
        start = time.perf_counter()
        subprocess.run([cli, "--height", "10000", "--image", os.path.join(work, "native.jpg")], check=True)
        runs.append(time.perf_counter() - start)
    return page, min(runs)


def main():
    work = tempfile.mkdtemp(prefix="decagon-web-bench-")
    server = Server(PAGE)
    server.start()
    driver = start_chromium(os.path.join(work, "profile"))
    driver.execute_cdp_cmd("Browser.setDownloadBehavior", {"behavior": "allow", "downloadPath": work})
    base = "http://127.0.0.1:%d/" % server.port
    try:
        transfer, files = first_load_transfer(driver, base)
        driver.execute_cdp_cmd("Network.enable", {})
        driver.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        driver.execute_cdp_cmd("Network.setBypassServiceWorker", {"bypass": True})
        page_load, hello_load = navigation_times(driver, [base, base + "bench/hello.html"])
        driver.get(base)
        wait_ready(driver)
        compute = compute_time(driver)
        page_jpeg, cli_jpeg = jpeg_export_time(driver, work)
    finally:
        driver.quit()
        server.stop()
        subprocess.run(["rm", "-rf", work])
    rows = [
        ("first-load transfer, gzip -9", "%.1f KB (%s)" % (transfer / 1000, ", ".join(files)),
         transfer < 300000, "< 300 KB"),
        ("navigation to first values", "%.1f ms, hello-world module %.1f ms: %.2fx" %
         (page_load, hello_load, page_load / hello_load), page_load <= 1.5 * hello_load, "<= 1.5x"),
        ("one Compute with its preview", "median %.3f ms, slowest %.3f ms" % tuple(compute), compute[0] < 2.0,
         "< 2 ms"),
        ("JPEG export, side 10000", "%.2f s, decagon-cli %.2f s: %.2fx" % (page_jpeg, cli_jpeg, page_jpeg / cli_jpeg),
         page_jpeg <= 3 * cli_jpeg, "<= 3x"),
    ]
    for label, figure, met, target in rows:
        print("%-30s %s  [%s %s]" % (label, figure, "met" if met else "MISSED", target))
    return 0 if all(met for _, _, met, _ in rows) else 1


if __name__ == "__main__":
    sys.exit(main())
