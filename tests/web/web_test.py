#!/usr/bin/python3
"""The page in headless Chromium, driven as a person would, against the
native programs: decagon-cli's values and files, the desktop's preview.

usage: web_test.py PAGE-FOLDER DECAGON-CLI PREVIEW-REFERENCE [AXE-MIN-JS]
"""

import io
import json
import os
import shutil
import socket
import subprocess
import sys
import tempfile
import time
import unittest

from PIL import Image
from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.by import By
from selenium.webdriver.common.keys import Keys

PAGE, CLI, REFERENCE = sys.argv[1:4] if len(sys.argv) >= 4 else ("", "", "")
AXE = sys.argv[4] if len(sys.argv) >= 5 else ""
HEIGHT, COMPUTE, EXPORT_IMAGE, EXPORT_TEXT, COPY_IMAGE, EXIT = 1028, 1003, 1004, 1005, 1006, 2
SAVED = {EXPORT_TEXT: "File saved\nThe file is an aSCII Delimited File.",
         EXPORT_IMAGE: "The file %s has been successfully saved"}


def free_port():
    with socket.socket() as probe:
        probe.bind(("127.0.0.1", 0))
        return probe.getsockname()[1]


class Server:
    """The page's folder served as static files on 127.0.0.1 only."""

    def __init__(self, folder):
        self.folder, self.port, self.process = folder, free_port(), None

    def start(self):
        self.process = subprocess.Popen(
            [sys.executable, "-m", "http.server", str(self.port), "--bind", "127.0.0.1", "--directory", self.folder],
            stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        for _ in range(100):
            try:
                socket.create_connection(("127.0.0.1", self.port), timeout=0.2).close()
                return
            except OSError:
                time.sleep(0.05)
        raise RuntimeError("the page's server did not start")

    def stop(self):
        if self.process:
            self.process.terminate()
            self.process.wait()
            self.process = None


def start_chromium(profile):
    """Debian's Chromium, headless, with a profile of its own."""
    options = webdriver.ChromeOptions()
    options.binary_location = "/usr/bin/chromium"
    for argument in ("--headless=new", "--no-sandbox", "--disable-gpu", "--window-size=1400,720",
                     "--user-data-dir=" + profile, "--lang=en-US"):
        options.add_argument(argument)
    options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
    return webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)


class Cli:
    """decagon-cli from a folder of its own, so that it reads no settings file
    but the defaults (the page's fresh storage has none either)."""

    def __init__(self, folder):
        self.path = os.path.join(folder, "decagon-cli")
        shutil.copy(CLI, self.path)

    def run(self, *args):
        return subprocess.run([self.path, *args], check=True, capture_output=True).stdout

    def values(self, height):
        return [line.split()[-1] for line in self.run("--height", height).decode().splitlines()]

    def file(self, height, options, name):
        target = os.path.join(os.path.dirname(self.path), name)
        self.run("--height", height, *([options] if isinstance(options, str) else options), target)
        with open(target, "rb") as made:
            return made.read()


class Page(unittest.TestCase):
    """One browser and one server for all; each test starts from a fresh page."""

    @classmethod
    def setUpClass(cls):
        cls.work = tempfile.mkdtemp(prefix="decagon-web-")
        cls.downloads = os.path.join(cls.work, "downloads")
        os.mkdir(cls.downloads)
        cls.cli = Cli(cls.work)
        cls.server = Server(PAGE)
        cls.server.start()
        cls.driver = start_chromium(os.path.join(cls.work, "profile"))
        cls.driver.execute_cdp_cmd("Browser.setDownloadBehavior",
                                   {"behavior": "allow", "downloadPath": cls.downloads})
        cls.url = "http://127.0.0.1:%d/" % cls.server.port

    @classmethod
    def tearDownClass(cls):
        cls.driver.quit()
        cls.server.stop()
        shutil.rmtree(cls.work, ignore_errors=True)

    def setUp(self):
        self.open_page()

    def tearDown(self):
        errors = [entry for entry in self.driver.get_log("browser") if entry["level"] == "SEVERE"]
        self.assertEqual(errors, [], "console errors")

    # ---- Helpers ----

    def open_page(self, reload=False):
        if reload:
            self.driver.refresh()
        else:
            self.driver.get(self.url)
        self.wait(lambda: self.js("return document.body.dataset.ready") == "true", "the page to start")
        # Headless, the browser's save picker cannot be answered: the page's
        # own save dialog asks instead, as in a browser without one.
        self.js("window.showSaveFilePicker = undefined")

    def js(self, script, *args):
        return self.driver.execute_script(script, *args)

    def wait(self, condition, what, seconds=10):
        end = time.time() + seconds
        while time.time() < end:
            if condition():
                return
            time.sleep(0.05)
        self.fail("waited in vain for " + what)

    def control(self, control_id):
        return self.driver.find_element(By.ID, "control-%d" % control_id)

    def value(self, control_id):
        return self.control(control_id).get_attribute("value")

    def values(self):
        return [self.value(control_id) for control_id in range(1028, 1059)]

    def compute(self, height):
        field = self.control(HEIGHT)
        field.click()
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys(height, Keys.ENTER)

    def selection(self, list_id):
        return self.js("return decagonView.listSelection(arguments[0])", list_id)

    def box(self, caption):
        """The text of the open box with this caption, once it shows."""
        script = ("return [...document.querySelectorAll('.box')].filter(b => b.querySelector('.caption')"
                  ".textContent === arguments[0]).map(b => b.querySelector('p').textContent)")
        self.wait(lambda: self.js(script, caption), "the %s box" % caption)
        return self.js(script, caption)[-1]

    def answer_box(self):
        self.driver.find_element(By.CSS_SELECTOR, ".box button").click()

    def save_as(self, button, name):
        """Runs an export through the page's save dialog; the box it ends with."""
        self.control(button).click()
        self.wait(lambda: self.driver.find_elements(By.ID, "save-name"), "the save dialog")
        self.driver.find_element(By.ID, "save-name").send_keys(name, Keys.ENTER)

    def downloaded(self, name):
        path = os.path.join(self.downloads, name)
        self.wait(lambda: os.path.exists(path) and not os.path.exists(path + ".crdownload"), name, 30)
        with open(path, "rb") as made:
            data = made.read()
        os.remove(path)
        return data

    def preview_words(self):
        return self.js("""
            const canvas = document.getElementById('preview');
            const data = canvas.getContext('2d').getImageData(0, 0, canvas.width, canvas.height).data;
            let words = '';
            for (let at = 0; at < data.length; at += 4)
              words += (0xff000000 + data[at] * 65536 + data[at + 1] * 256 + data[at + 2]).toString(16);
            return words;""")

    def stored_settings(self):
        return self.js("return localStorage.getItem('decagon/Vanteo.ini')")


class Values(Page):
    HEIGHTS = ["254.884", "0", "1", "100", "0.5", "12345.678", "999999999", "-50", "3.1415926", "1e3", "2e-7"]

    def test_values_for_a_spread_of_heights_equal_decagon_cli(self):
        for height in self.HEIGHTS:
            with self.subTest(height=height):
                self.compute(height)
                self.assertEqual(self.values(), self.cli.values(height))

    def test_preview_pixels_equal_the_desktops(self):
        heights = ["254.884", "1", "0.5", "37", "999999999"]
        expected = subprocess.run([REFERENCE, os.path.join(self.work, "reference.ini"), *heights], check=True,
                                  capture_output=True, text=True).stdout.split()
        for height, words in zip(heights, expected):
            with self.subTest(height=height):
                self.compute(height)
                self.assertEqual(self.preview_words(), words)


class Exports(Page):
    def test_files_are_decagon_clis_bytes(self):
        # The page prints on A4 whatever the browser's language.
        for height, button, name, options in [("254.884", EXPORT_TEXT, "values.csv", ["--csv"]),
                                              ("1234.5", EXPORT_TEXT, "values.csv", ["--csv"]),
                                              # A name beyond ASCII keeps its letters.
                                              ("100", EXPORT_TEXT, "d\u00e9cagone.csv", ["--csv"]),
                                              ("254.884", EXPORT_IMAGE, "figure.svg", ["--image"]),
                                              ("300", EXPORT_IMAGE, "figure.bmp", ["--image"]),
                                              ("300", EXPORT_IMAGE, "figure.png", ["--image"]),
                                              ("1001", EXPORT_IMAGE, "figure.tif", ["--image"]),
                                              ("400", EXPORT_IMAGE, "figure.pdf", ["--paper", "a4", "--image"]),
                                              ("254.884", EXPORT_IMAGE, "figure.dxf", ["--image"])]:
            with self.subTest(name=name, height=height):
                self.compute(height)
                self.save_as(button, name)
                self.assertEqual(self.box("Information"), SAVED[button].replace("%s", name))
                self.answer_box()
                self.assertEqual(self.downloaded(name), self.cli.file(height, options, name))

    def test_a_name_without_extension_takes_the_types_and_jpeg_keeps_full_colour(self):
        self.compute("300")
        self.save_as(EXPORT_TEXT, "values")
        self.assertEqual(self.box("Information"), SAVED[EXPORT_TEXT])
        self.answer_box()
        self.downloaded("values.csv")
        self.save_as(EXPORT_IMAGE, "figure")
        self.answer_box()
        jpeg = self.downloaded("figure.jpg")
        bmp = self.cli.file("300", "--image", "figure.bmp")
        decoded, exact = Image.open(io.BytesIO(jpeg)), Image.open(io.BytesIO(bmp)).convert("RGB")
        self.assertEqual(decoded.format, "JPEG")
        self.assertEqual(decoded.info.get("dpi"), (96, 96))
        # Baseline, with every component at full resolution (4:4:4).
        self.assertEqual(decoded.layer, [(1, 1, 1, 0), (2, 1, 1, 1), (3, 1, 1, 1)])
        difference = sum(abs(a - b) for a, b in zip(decoded.tobytes(), exact.tobytes())) / len(exact.tobytes())
        self.assertLess(difference, 2.0)

    def test_refused_inputs_give_the_dialogs_messages_and_lose_nothing(self):
        for height, name, message in [("300", "figure.xyz", "This image type is not known"),
                                      ("-5", "figure.jpg", "Cannot create the image"),
                                      ("0.5", "figure.bmp", "Cannot create the image"),
                                      ("99999", "figure.jpg", "Cannot create the image")]:
            with self.subTest(name=name, height=height):
                self.compute(height)
                shown = self.values()
                self.save_as(EXPORT_IMAGE, name)
                self.assertEqual(self.box("Error"), message)
                # The error box blocks nothing: the window takes a Compute under it.
                self.control(COMPUTE).click()
                self.assertEqual(self.values(), shown)
                self.answer_box()
        self.assertEqual(os.listdir(self.downloads), [])
        # A clipboard that refuses the image (as without the permission).
        self.js("navigator.clipboard.write = () => Promise.reject(new DOMException('refused', 'NotAllowedError'))")
        self.compute("120")
        self.control(COPY_IMAGE).click()
        self.assertEqual(self.box("Error"), "Cannot copy the image into the clipboad")
        self.answer_box()
        # A cancelled save dialog writes nothing and says nothing.
        self.control(EXPORT_TEXT).click()
        self.wait(lambda: self.driver.find_elements(By.ID, "save-name"), "the save dialog")
        self.driver.find_element(By.ID, "save-name").send_keys(Keys.ESCAPE)
        self.assertEqual(self.js("return document.querySelectorAll('.box').length"), 0)
        self.assertFalse(self.control(HEIGHT).get_attribute("hidden"))

    def test_the_browsers_save_picker_receives_the_file_or_the_failure_is_said(self):
        self.js("""
            window.picked = {};
            window.showSaveFilePicker = async (options) => {
              window.pickerTypes = options.types.map(type => [type.description, type.accept['application/octet-stream']]);
              if (window.nextName === null) throw new DOMException('cancelled', 'AbortError');
              const name = window.nextName;
              return { name, createWritable: async () => {
                const parts = [];
                return { write: async bytes => { parts.push(...bytes); },
                         close: async () => { if (window.failWrite) throw new Error('disk full');
                                              window.picked[name] = parts; } };
              } };
            };""")
        self.compute("254.884")
        self.js("window.nextName = 'values'; window.failWrite = false")
        self.control(EXPORT_TEXT).click()
        self.assertEqual(self.box("Information"), SAVED[EXPORT_TEXT])
        self.answer_box()
        self.assertEqual(self.js("return window.pickerTypes"),
                         [["Text files (*.txt)", [".txt"]], ["CSV Files (*.csv)", [".csv"]]])
        self.assertEqual(bytes(self.js("return window.picked['values']")),
                         self.cli.file("254.884", "--csv", "values.csv"))
        # A name beyond ASCII reaches its file too, not a download.
        self.js("window.nextName = 'd\\u00e9cagone.csv'")
        self.control(EXPORT_TEXT).click()
        self.answer_box()
        self.assertEqual(bytes(self.js("return window.picked['d\\u00e9cagone.csv']")),
                         self.cli.file("254.884", "--csv", "values.csv"))
        self.js("window.nextName = 'figure.bmp'; window.failWrite = true")
        self.control(EXPORT_IMAGE).click()
        self.assertEqual(self.box("Error"), "Cannot save the file figure.bmp")
        self.answer_box()
        self.js("window.nextName = null")
        self.control(EXPORT_TEXT).click()
        self.assertEqual(self.js("return document.querySelectorAll('.box, .backdrop').length"), 0)
        self.assertEqual(os.listdir(self.downloads), [])

    def test_clipboard_takes_the_figure_as_png(self):
        self.driver.execute_cdp_cmd("Browser.grantPermissions", {
            "origin": self.url[:-1], "permissions": ["clipboardReadWrite", "clipboardSanitizedWrite"]})
        self.compute("120")
        self.control(COPY_IMAGE).click()
        self.assertEqual(self.box("Information"), "Image copied into the clipboad")
        self.answer_box()
        png = self.driver.execute_async_script("""
            const done = arguments[arguments.length - 1];
            navigator.clipboard.read().then(items => items[0].getType('image/png'))
              .then(blob => blob.arrayBuffer()).then(bytes => done(Array.from(new Uint8Array(bytes))))
              .catch(error => done(String(error)));""")
        image = Image.open(io.BytesIO(bytes(png)))
        self.assertEqual(image.size, (120, 120))
        exact = Image.open(io.BytesIO(self.cli.file("120", "--image", "clip.bmp"))).convert("RGB")
        self.assertEqual(image.convert("RGB").tobytes(), exact.tobytes())


class Settings(Page):
    def setUp(self):
        super().setUp()
        self.forget_settings()

    def forget_settings(self):
        # Closing the window saves the colours, so the tool ends first.
        self.driver.find_element(By.ID, "close").click()
        self.wait(lambda: self.driver.find_element(By.ID, "ended").is_displayed(), "the ended page")
        self.js("localStorage.clear()")
        self.open_page(reload=True)

    def test_colours_kept_across_a_reload_and_through_the_settings_file(self):
        defaults = [self.selection(list_id) for list_id in range(1013, 1028)]
        outline = self.driver.find_element(By.CSS_SELECTOR, "#control-1027 .field")
        outline.click()
        outline.send_keys(Keys.ESCAPE, Keys.ARROW_DOWN, Keys.ARROW_DOWN)  # closes the list, then picks
        self.control(COMPUTE).click()
        chosen = self.selection(1027)
        self.assertEqual(chosen, defaults[-1] + 2)
        self.open_page(reload=True)
        self.assertEqual(self.selection(1027), chosen)

        # The file offered for download is the stored one, in the desktop's format.
        stored = self.stored_settings()
        self.driver.find_element(By.ID, "settings-download").click()
        carried = self.downloaded("Vanteo.ini")
        self.assertEqual(carried, stored.encode("latin-1"))
        self.assertIn(b"[Colors]\r\n", carried)
        self.assertIn(b"\r\nLines=%d\r\n" % chosen, carried)

        # Loaded back into a browser without it, it brings the colours along.
        self.forget_settings()
        self.assertEqual(self.selection(1027), defaults[-1])
        path = os.path.join(self.work, "carried.ini")
        with open(path, "wb") as kept:
            kept.write(carried)
        self.driver.find_element(By.ID, "settings-upload").send_keys(path)
        self.wait(lambda: self.js("return document.body.dataset.ready") == "true" and self.selection(1027) == chosen,
                  "the loaded colours")


class Keyboard(Page):
    def focused_id(self):
        return self.js("const e = document.activeElement.closest('[data-control-id]'); "
                       "return e ? Number(e.dataset.controlId) : null")

    def test_tab_order_is_the_templates(self):
        template = json.loads(self.js("return JSON.stringify(decagonView.template)"))
        expected = [item["id"] for item in template["items"] if item["style"] & 3 == 3]
        self.assertEqual(self.focused_id(), HEIGHT)  # the first tab stop, with its text selected
        self.assertEqual(self.js("const f = document.activeElement; return f.value.slice(f.selectionStart, f.selectionEnd)"),
                         self.value(HEIGHT))
        seen = [HEIGHT]
        for _ in expected[1:]:
            self.driver.switch_to.active_element.send_keys(Keys.TAB)
            seen.append(self.focused_id())
        self.assertEqual(seen, expected)

    def test_enter_computes_escape_exits_and_the_filter_beeps(self):
        self.compute("500")
        self.assertEqual(self.value(1030), "250.0000")
        # Enter on a focused push button runs that button.
        self.control(EXPORT_TEXT).send_keys(Keys.ENTER)
        self.wait(lambda: self.driver.find_elements(By.ID, "save-name"), "the save dialog")
        self.driver.find_element(By.ID, "save-name").send_keys(Keys.ESCAPE)

        # The filter sits on the window: a letter that a button does not take
        # beeps; digits, the sign and the point pass; an edit field takes all.
        button = self.control(COMPUTE)
        for typed, beeps in [("a", 1), ("5", 1), ("-", 1), (".", 1), ("x", 2)]:
            button.send_keys(typed)
            self.assertEqual(self.js("return decagonView.beeps"), beeps, typed)
        self.compute("12ab")
        self.assertEqual(self.value(HEIGHT), "12.0000")
        self.assertEqual(self.js("return decagonView.beeps"), 2)
        # The typed-text limit: nine characters.
        field = self.control(HEIGHT)
        field.send_keys(Keys.CONTROL, "a")
        field.send_keys("1234567890")
        self.assertEqual(self.value(HEIGHT), "123456789")

        # Links open in a new tab, by a click or by Enter.
        self.js("window.opened = []; window.open = (url, target) => { window.opened.push([url, target]); }")
        link = self.driver.find_element(By.CSS_SELECTOR, "#control-1066 a")
        link.click()
        self.driver.find_element(By.CSS_SELECTOR, "#control-1067 a").send_keys(Keys.ENTER)
        self.assertEqual(self.js("return window.opened"), [["https://en.wikipedia.org/wiki/Decagon", "_blank"],
                                                          ["https://math.stackexchange.com/", "_blank"]])

        self.control(HEIGHT).send_keys(Keys.ESCAPE)
        self.wait(lambda: self.driver.find_element(By.ID, "ended").is_displayed(), "the ended page")
        self.assertIn(b"[Colors]", self.stored_settings().encode("latin-1"))
        self.driver.find_element(By.ID, "restart").click()
        self.wait(lambda: self.js("return document.body.dataset.ready") == "true", "the restart")


class Start(Page):
    # The module's code as the page's head compiles it, and as the view
    # fetches it where the browser cannot compile a response or refuses it.
    ARRIVALS = {
        "compiled early": "",
        "no streaming compile": "delete WebAssembly.compileStreaming;",
        "streaming compile refused": "WebAssembly.compileStreaming = () => Promise.reject(new TypeError('type'));",
    }

    def test_the_page_shows_whole_with_its_first_values_however_the_code_arrives(self):
        for arrival, script in self.ARRIVALS.items():
            with self.subTest(arrival):
                added = self.driver.execute_cdp_cmd("Page.addScriptToEvaluateOnNewDocument", {"source": script})
                try:
                    self.open_page()
                finally:
                    self.driver.execute_cdp_cmd("Page.removeScriptToEvaluateOnNewDocument",
                                                {"identifier": added["identifier"]})
                self.assertEqual(self.values(), self.cli.values(self.value(HEIGHT)))
                self.assertTrue(self.driver.find_element(By.ID, "dialog").is_displayed())
                self.assertEqual(self.js("return document.activeElement.id"), "control-%d" % HEIGHT)
                # The style sheet and the script are in the page: it waits for no other file.
                self.assertEqual(self.js("return performance.getEntriesByType('resource').map(e => e.name)"
                                         ".filter(name => /[.](js|css)$/.test(name))"), [])
                # The pictures are fetched as the page is shown, and show.
                pictures = sum(item["kind"] in (2, 3) for item in self.js("return decagonView.template.items"))
                self.wait(lambda: self.js("return [...document.querySelectorAll('#client img')]"
                                          ".filter(i => i.complete && i.naturalWidth > 0).length") == pictures,
                          "the pictures")


class Offline(Page):
    def test_installable_and_reloads_with_the_server_gone_once_the_worker_is_installed(self):
        self.driver.execute_async_script(
            "const done = arguments[arguments.length - 1]; navigator.serviceWorker.ready.then(() => done())")
        self.open_page(reload=True)  # now under the worker's control
        self.wait(lambda: self.js("return !!navigator.serviceWorker.controller"), "the worker to take the page")
        self.server.stop()
        try:
            self.open_page(reload=True)
            self.compute("42")
            self.assertEqual(self.values(), self.cli.values("42"))
        finally:
            self.server.start()
        # The browser can install it as an app.
        self.assertEqual(self.driver.execute_cdp_cmd("Page.getInstallabilityErrors", {}),
                         {"installabilityErrors": []})


@unittest.skipUnless(AXE, "no axe-core given")
class Accessibility(Page):
    def test_no_serious_or_critical_axe_finding(self):
        with open(AXE) as script:
            self.js(script.read())
        for state in ("closed", "dropped"):
            if state == "dropped":
                self.driver.find_element(By.CSS_SELECTOR, "#control-1013 .field").click()
            result = self.driver.execute_async_script("""
                const done = arguments[arguments.length - 1];
                axe.run(document).then(r => done(r.violations.filter(v => v.impact === 'serious' || v.impact === 'critical')
                  .map(v => v.id + ': ' + v.nodes.map(n => n.target.join(' ')).join(', '))));""")
            self.assertEqual(result, [], state)


class Look(Page):
    def test_screenshot(self):
        self.compute("254.884")
        self.driver.save_screenshot(os.path.join(os.path.dirname(os.path.abspath(PAGE)), "screenshot.png"))
        client = self.driver.find_element(By.ID, "client")
        self.assertEqual((client.size["width"], client.size["height"]), (1287, 478))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
