"""The open-file prompt of Orvanel.exe under Wine: a file of an associated type
shows dialog 101 with the file and its extension; its choices open the right
pages of the loopback site in the browser (a stand-in of ours), or the system's
Open With chooser; "do not show again" writes the ignore list in %APPDATA%\\Orvanel\\;
Escape does nothing and the close button closes without any action."""
import glob
import hashlib
import os
import re
import shutil
import sys
import tempfile
import time
import unittest

from winetest import FIXTURES_DIR, HELPERS_DIR, LoopbackSite, Native, WineTestCase

IDOK, IDCANCEL = 1, 2
SEARCH, READ_ABOUT, OPEN_WITH, DONT_SHOW = 1005, 1006, 1007, 1008
# Wine's Open With chooser is a stub that says what it was asked to open.
CHOOSER_DEBUG = "-all,fixme+exec"


class PromptUnderWineTest(WineTestCase):
    prefix_name = "prompt"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        # No newer program or catalogue on the site: no update offer after the prompt.
        cls.site = LoopbackSite({"/software_version.txt": b"0.2", "/data_version.txt": b"1"})
        cls.browser_log = os.path.join(cls.wine.root, "browser.log")
        cls.wine.env.update({"ORVANEL_INFO_SITE": cls.site.base,
                             "ORVANEL_DOWNLOAD_SITE": cls.site.base,
                             "ORVANEL_TEST_BROWSER_LOG": cls.wine.windows_path(cls.browser_log)})
        cls.data_folder = os.path.join(cls.wine.appdata(), "Orvanel")
        os.makedirs(cls.data_folder)
        shutil.copy(os.path.join(FIXTURES_DIR, "extensions.txt"), cls.data_folder)
        with open(os.path.join(cls.data_folder, "data_version.txt"), "w") as file:
            file.write("1\n")
        browser = cls.wine.windows_path(os.path.join(HELPERS_DIR, "browser_stand_in.exe"))
        cls.wine.run(["reg", "add", "HKCR\\http\\shell\\open\\command", "/ve", "/d",
                      f'"{browser}" "%1"', "/f"])
        install = cls.wine.run([cls.orvanel, "-i"])
        if install.returncode != 0:
            raise AssertionError(f"install failed: {install.stderr}")
        report = [r for r in cls.site.recorded() if r.startswith("/analytics/")]
        cls.machine_id = re.search(r"ID=([0-9a-f]{32})&", report[0]).group(1)
        cls.docs = os.path.join(cls.wine.root, "Docs")
        os.makedirs(cls.docs)
        for name in ("report.xyz", "notes.orvnew"):
            with open(os.path.join(cls.docs, name), "w") as file:
                file.write("content\n")

    @classmethod
    def tearDownClass(cls):
        cls.site.close()
        super().tearDownClass()

    def setUp(self):
        if os.path.exists(self.browser_log):
            os.remove(self.browser_log)
        self.requests_before = len(self.site.recorded())

    def path_of(self, name):
        return self.wine.windows_path(os.path.join(self.docs, name))

    def start_prompt(self, name):
        return self.wine.start_program([self.orvanel, self.path_of(name)],
                                       env={"WINEDEBUG": CHOOSER_DEBUG})

    def press(self, *controls):
        for control in controls:
            code, _ = self.wine.driver("click", "Orvanel", str(control))
            self.assertEqual(code, 0, f"control {control}")

    def pages(self, wait_for=0, seconds=15):
        """The pages the browser was sent to and the site's requests for them, once
        `wait_for` of each have arrived (the browser runs on its own), or after the
        time a browser would have needed when none are expected."""
        deadline = time.time() + (seconds if wait_for else 2)
        while True:
            opened = []
            if os.path.exists(self.browser_log):
                with open(self.browser_log) as file:
                    opened = [line.strip() for line in file]
            served = [r for r in self.site.recorded()[self.requests_before:]
                      if r.startswith(("/type/", "/extension/"))]
            if (wait_for and len(opened) >= wait_for and len(served) >= wait_for) or \
                    time.time() > deadline:
                return opened, served
            time.sleep(0.2)

    def test_0_identifier_is_the_md5_of_an_adapter_address(self):
        # GetAdaptersInfo under Wine lists the host's interfaces; the identifier is the
        # MD5 (CryptoAPI) of the first one's address in capital hex digits.
        addresses = set()
        for path in glob.glob("/sys/class/net/*/address"):
            with open(path) as file:
                address = file.read().strip().replace(":", "").upper()
            if len(address) == 12 and address != "000000000000":
                addresses.add(address)
        self.assertTrue(addresses, "the host has no network adapter with an address")
        expected = {hashlib.md5(a.encode()).hexdigest() for a in addresses}
        self.assertIn(self.machine_id, expected)

    def test_1_dialog_shows_the_file_and_its_extension(self):
        process = self.start_prompt("report.xyz")
        style, caption, controls = self.wine.dialog("Orvanel")
        self.wine.screenshot("prompt-report.xyz")
        self.assertEqual(caption, "Orvanel")
        self.assertEqual(style & 0x00080000, 0x00080000)  # WS_SYSMENU: the close button
        shown = [(cid, cls.upper(), checked, text) for cid, cls, _, checked, text in controls]
        self.assertEqual(shown, [
            (IDOK, "BUTTON", 0, "OK"),
            (1001, "STATIC", 0, "Orvanel finds information about the file types on your "
                                "system and provides the software needed to open them."),
            (1002, "STATIC", 0, "File:"),
            (1003, "STATIC", 0, "report.xyz"),
            (1004, "STATIC", 0, "What would you like to do?"),
            (SEARCH, "BUTTON", 1, "Search the web for software to open the file"),
            (READ_ABOUT, "BUTTON", 0, "Read and learn about .xyz file"),
            (OPEN_WITH, "BUTTON", 0, "Open using software already on your computer"),
            (DONT_SHOW, "BUTTON", 0, "Do not show again for .xyz file"),
            (-1, "STATIC", 0, ""),
        ])
        # Escape leaves the prompt open; the close button ends it without any action.
        self.wine.driver("command", "Orvanel", str(IDCANCEL))
        time.sleep(1)
        self.assertEqual(self.wine.driver("show", "Orvanel", "1000")[0], 0)
        self.wine.driver("close", "Orvanel")
        code, err = self.wine.finish(process)
        self.assertEqual(code, 0)
        self.assertEqual(self.pages(), ([], []))
        self.assertNotIn("OpenAs_RunDLLW", err)

    def test_2_choices_open_their_pages(self):
        query = "?_id=" + self.machine_id
        cases = [((), "/type/xyz/tovix" + query),
                 ((READ_ABOUT,), "/extension/xyz/tovix" + query),
                 ((READ_ABOUT, SEARCH), "/type/xyz/tovix" + query)]
        for clicks, page in cases:
            with self.subTest(clicks=clicks):
                self.setUp()
                process = self.start_prompt("report.xyz")
                self.wine.dialog("Orvanel")
                self.press(*clicks, IDOK)
                self.assertEqual(self.wine.finish(process)[0], 0)
                self.assertEqual(self.pages(wait_for=1), ([self.site.base + page], [page]))

    def test_3_open_with_shows_the_system_chooser(self):
        process = self.start_prompt("report.xyz")
        self.wine.dialog("Orvanel")
        self.press(OPEN_WITH, IDOK)
        path = 'L"' + self.path_of("report.xyz").replace("\\", "\\\\") + '"'
        self.assertTrue(self.wine.wait_for_error_output(process, path))
        self.assertEqual(self.wine.finish(process)[0], 0)
        self.assertEqual(self.pages(), ([], []))

    def test_4_do_not_show_again_writes_the_ignore_list_only(self):
        process = self.start_prompt("notes.orvnew")
        self.wine.dialog("Orvanel")
        self.press(READ_ABOUT, DONT_SHOW, IDOK)
        self.assertEqual(self.wine.finish(process)[0], 0)
        with open(os.path.join(self.data_folder, "ignore.txt"), "rb") as file:
            self.assertEqual(file.read(), b"orvnew\r\n")
        self.assertEqual(self.pages(), ([], []))
        # From now on the chooser opens at once, without the prompt.
        process = self.start_prompt("notes.orvnew")
        self.assertEqual(self.wine.driver("show", "Orvanel", "3000")[0], 2)
        path = 'L"' + self.path_of("notes.orvnew").replace("\\", "\\\\") + '"'
        self.assertTrue(self.wine.wait_for_error_output(process, path))
        self.assertEqual(self.wine.finish(process)[0], 0)

    def test_5_closed_prompt_asks_the_site_what_the_native_build_asks(self):
        with tempfile.TemporaryDirectory(prefix="orvanel-native-") as root:
            native = Native(root, self.site)
            with open(os.path.join(native.data_folder, "data_version.txt"), "w") as file:
                file.write("1\n")
            document = os.path.join(root, "report.xyz")
            with open(document, "w") as file:
                file.write("content\n")
            before = len(self.site.recorded())
            result = native.run([document], stdin_text="q\n")
            self.assertEqual(result.returncode, 0, result.stderr)
            native_requests = self.site.recorded()[before:]
        before = len(self.site.recorded())
        process = self.start_prompt("report.xyz")
        self.wine.dialog("Orvanel")
        self.wine.driver("close", "Orvanel")
        self.assertEqual(self.wine.finish(process)[0], 0)
        wine_requests = self.site.recorded()[before:]
        self.assertEqual(wine_requests, native_requests)
        self.assertEqual(wine_requests, ["/software_version.txt", "/data_version.txt"])

    def test_6_with_tracking_off_the_pages_carry_no_identifier(self):
        switch = self.wine.start_program([self.orvanel, "-t=off"])
        self.wine.message_box("Orvanel", IDOK)
        self.assertEqual(self.wine.finish(switch)[0], 0)
        self.setUp()
        process = self.start_prompt("report.xyz")
        self.wine.dialog("Orvanel")
        self.press(IDOK)
        self.assertEqual(self.wine.finish(process)[0], 0)
        page = "/type/xyz/tovix"
        self.assertEqual(self.pages(wait_for=1), ([self.site.base + page], [page]))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
