#!/usr/bin/python3
"""The plant's pages in a real browser: headless Chromium driven by its WebDriver, one session.

Usage: plant_browser.py BASE_URL [SCREENSHOT_DIR]
Asks its caller to stop and start the database by printing "stop-database" / "start-database" and
reading one line back. Prints each failed check and exits 1 if any failed.
"""
import sys
import tempfile
import time

from selenium import webdriver
from selenium.common.exceptions import NoAlertPresentException, WebDriverException
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By

base = sys.argv[1]
shots = sys.argv[2] if len(sys.argv) > 2 else None
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAILED: " + what, flush=True)


def ask(word):
    print(word, flush=True)
    sys.stdin.readline()


def until(seconds, condition):
    """Whether `condition` holds within `seconds` (a page pushed meanwhile may replace what it reads)."""
    deadline = time.monotonic() + seconds
    while True:
        try:
            if condition():
                return True
        except WebDriverException:
            pass
        if time.monotonic() > deadline:
            return False
        time.sleep(0.05)


def row_of(carcass):
    for row in browser.find_elements(By.CSS_SELECTOR, "table.lines tbody tr"):
        if row.find_element(By.CSS_SELECTOR, "td[data-label=Carcass]").text == carcass:
            return row
    return None


def text(css, root=None):
    found = (root or browser).find_elements(By.CSS_SELECTOR, css)
    return found[0].text if found else "<none: " + css + ">"


def tile(name):
    for t in browser.find_elements(By.CSS_SELECTOR, ".tile"):
        if t.find_element(By.TAG_NAME, "h2").text == name:
            return t
    return None


def fits(where):
    width = browser.execute_script("return [document.documentElement.scrollWidth, window.innerWidth]")
    check(width[0] <= width[1], where + ": no sideways scrolling, page " + str(width[0]) + " wide in " + str(width[1]))


profile = tempfile.mkdtemp(prefix="tallion-chromium-")
options = webdriver.ChromeOptions()
options.binary_location = "/usr/bin/chromium"
for flag in ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run", "--disable-background-networking",
             "--disable-component-update", "--disable-sync", "--user-data-dir=" + profile,
             "--window-size=1366,768"]:
    options.add_argument(flag)
browser = webdriver.Chrome(service=Service(executable_path="/usr/bin/chromedriver"), options=options)
try:
    browser.get(base + "/")
    check(text(".total .count .n") == "4", "the plant total counts 4 carcasses: " + text(".total .count .n"))
    line1 = tile("Line 1")
    check(line1 is not None, "a tile for Line 1")
    if line1:
        check(text(".count .n", line1) == "3", "Line 1 has 3 carcasses today: " + text(".count .n", line1))
        check(text(".classes", line1).split("\n")[:2] == ["S 1 33 %", "E 2 67 %"],
              "Line 1's classes: " + repr(text(".classes", line1)))
        check(text(".lean", line1) == "lean meat 59.4 % on average", "Line 1's lean meat: " + text(".lean", line1))
        check(" · no. 000003 · class E · 57.2 % · 92.4 kg" in text(".last", line1),
              "Line 1's last carcass: " + text(".last", line1))
        check(text(".lag", line1) == "database lag 30 s", "Line 1's lag: " + text(".lag", line1))
    line2 = tile("Line 2")
    check(line2 is not None and text(".quiet", line2) == "quiet for 11 min", "Line 2 quiet for 11 min")
    if line2:
        check("amber" in line2.find_element(By.CSS_SELECTOR, ".quiet").get_attribute("class"), "Line 2 is amber")
        check(text(".classes", line2).split("\n")[2] == "U 1 100 %", "Line 2's classes: " + text(".classes", line2))
    line3 = tile("Line 3")
    check(line3 is not None and text(".count .n", line3) == "0", "Line 3, mapped but silent, has a tile with 0")
    fits("the overview at 1366x768")
    if shots:
        browser.save_screenshot(shots + "/plant-overview.png")

    # The keyboard reaches the tiles: the skip link first, then the tiles' links.
    browser.find_element(By.TAG_NAME, "body").send_keys("\t")
    check(browser.switch_to.active_element.text == "Skip to the content", "the skip link takes the first Tab")

    line1.click()
    check(browser.current_url.startswith(base + "/station/Line%201"), "the tile opens its station: " + browser.current_url)
    deleted = browser.find_elements(By.CSS_SELECTOR, "tr.deleted")
    check(len(deleted) == 1, "one deleted line on Line 1's day")
    if deleted:
        decoration = browser.execute_script(
            "return getComputedStyle(arguments[0].cells[1]).textDecorationLine", deleted[0])
        check(decoration == "line-through", "the deleted line is struck through: " + decoration)
        check(deleted[0].find_elements(By.TAG_NAME, "td")[-1].text.startswith("deleted "),
              "the deleted line shows its deletion time")
    hostile = text("td.text")
    check(hostile.strip() == "<script>alert(1)</script> café", "the line shows as text: " + repr(hostile))
    check(len(browser.find_elements(By.TAG_NAME, "script")) == 1, "no script but the server's own file")
    try:
        browser.switch_to.alert
        check(False, "no script ran (an alert is open)")
    except NoAlertPresentException:
        pass
    check("Line 1 " in text("pre.summary"), "the class summary is shown: " + text("pre.summary"))
    loaded = browser.execute_script("var i = document.querySelector('img.charts'); return i.complete && i.naturalWidth")
    check(loaded == 1600, "the charts are drawn: " + str(loaded))
    fits("a station's day at 1366x768")
    if shots:
        browser.save_screenshot(shots + "/plant-station-day.png")
        browser.execute_script("document.querySelector('table.lines').scrollIntoView()")
        browser.save_screenshot(shots + "/plant-station-lines.png")
    browser.set_window_size(390, 844)
    fits("a station's day at 390x844")
    if shots:
        browser.save_screenshot(shots + "/plant-station-phone.png")
    browser.get(base + "/")
    fits("the overview at 390x844")
    browser.set_window_size(1366, 768)

    # Live: the open page follows the database without a reload.
    browser.get(base + "/station/Line%201")
    browser.execute_script("window.notReloaded = true")
    ask("publish-line")
    check(until(2, lambda: row_of("000006") is not None), "a published line shows within 2 s")
    ask("delete-line")
    check(until(2, lambda: row_of("000006").get_attribute("class") == "deleted"),
          "a deleted line is struck through within 2 s")
    check(browser.execute_script("return window.notReloaded === true"), "the station's day was not loaded again")
    browser.get(base + "/")
    browser.execute_script("window.notReloaded = true")
    ask("stop-database")
    check(until(20, lambda: text(".outage").startswith("plant database not reachable since ")),
          "the outage shows: " + text(".outage"))
    ask("start-database")
    check(until(20, lambda: tile("Line 1") is not None), "the stations show again once the database is back")
    ask("stop-plant")
    check(until(20, lambda: text(".stale").startswith("no connection to the plant server since ")),
          "the lost server shows: " + text(".stale"))
    ask("start-plant")
    check(until(20, lambda: not browser.find_element(By.CSS_SELECTOR, ".stale").is_displayed()),
          "the page finds the server again")
    check(browser.execute_script("return window.notReloaded === true"), "the page was never loaded again")
finally:
    browser.quit()
sys.exit(1 if failures else 0)
