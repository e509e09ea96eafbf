"""Updates under Wine: the catalogue refresh at install shows the update dialog
(dialog 103) while a slow loopback download runs, and replaces the catalogue; in
file mode the offer of a newer Orvanel downloads the installer through the same
dialog and starts it once CryptoAPI has verified its signature, throws it away
when the signature does not fit, or, answered No, does nothing more."""
import os
import shutil
import subprocess
import sys
import time
import unittest

from winetest import FIXTURES_DIR, HELPERS_DIR, LoopbackSite, WineTestCase, require

IDOK, IDCANCEL, IDYES, IDNO = 1, 2, 6, 7
WS_SYSMENU = 0x00080000
UPDATE = "Orvanel Update"


class UpdatesUnderWineTest(WineTestCase):
    prefix_name = "update"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        with open(os.path.join(FIXTURES_DIR, "extensions.txt"), "rb") as file:
            catalogue = file.read()
        # Long enough for the bar to be seen moving.
        cls.catalogue = catalogue + b"".join(b"orvgen%04d\r\n" % i for i in range(400))
        with open(os.path.join(HELPERS_DIR, "installer_stand_in.exe"), "rb") as file:
            cls.installer = file.read()
        cls.signature, public_key = cls.sign(cls.installer)
        cls.site = LoopbackSite(
            {"/data_version.txt": b"7", "/extensions.txt": cls.catalogue,
             "/software_version.txt": b"0.2", "/installer.exe": cls.installer,
             "/installer.exe.sig": cls.signature},
            slow={"/extensions.txt": 6, "/installer.exe": 3})
        cls.installer_log = os.path.join(cls.wine.root, "installer.log")
        cls.wine.env.update({"ORVANEL_INFO_SITE": cls.site.base,
                             "ORVANEL_DOWNLOAD_SITE": cls.site.base,
                             "ORVANEL_UPDATE_KEY": cls.wine.windows_path(public_key),
                             "ORVANEL_TEST_INSTALLER_LOG": cls.wine.windows_path(cls.installer_log)})
        cls.data_folder = os.path.join(cls.wine.appdata(), "Orvanel")
        os.makedirs(cls.data_folder)
        cls.document = os.path.join(cls.wine.root, "report.xyz")
        with open(cls.document, "w") as file:
            file.write("content\n")

    @classmethod
    def sign(cls, data):
        """A signature of `data` as the release signing writes it (openssl dgst -sha256
        -sign), with a key pair made for this run; the signature and the public key's file."""
        keys = os.path.join(cls.wine.root, "keys")
        os.makedirs(keys, exist_ok=True)
        private, public = os.path.join(keys, "private.pem"), os.path.join(keys, "public.pem")
        payload = os.path.join(keys, "installer.exe")
        with open(payload, "wb") as file:
            file.write(data)
        for command in (["openssl", "genpkey", "-algorithm", "RSA", "-pkeyopt",
                         "rsa_keygen_bits:2048", "-out", private],
                        ["openssl", "pkey", "-in", private, "-pubout", "-out", public],
                        ["openssl", "dgst", "-sha256", "-sign", private, "-out",
                         payload + ".sig", payload]):
            subprocess.run(command, check=True, capture_output=True)
        with open(payload + ".sig", "rb") as file:
            return file.read(), public

    @classmethod
    def tearDownClass(cls):
        cls.site.close()
        super().tearDownClass()

    def data_file(self, name):
        path = os.path.join(self.data_folder, name)
        if not os.path.exists(path):
            return None
        with open(path, "rb") as file:
            return file.read()

    def watch_update_dialog(self):
        """The update dialog's style and controls, and the bar's positions while it
        is open; Escape is pressed on the way and must change nothing."""
        style, caption, controls = self.wine.dialog(UPDATE)
        self.assertEqual(self.wine.driver("command", UPDATE, str(IDCANCEL))[0], 0)
        positions = []
        while True:
            code, out = self.wine.driver("position", UPDATE)
            if code != 0:
                break
            positions.append(int(out))
        return style, caption, controls, positions

    def test_1_install_refreshes_the_catalogue_through_the_update_dialog(self):
        with open(os.path.join(self.data_folder, "data_version.txt"), "w") as file:
            file.write("3\n")
        process = self.wine.start_program([self.orvanel, "-i"])
        style, caption, controls, positions = self.watch_update_dialog()
        self.assertEqual(self.wine.finish(process)[0], 0)
        self.assertEqual(caption, UPDATE)
        self.assertEqual(style & WS_SYSMENU, 0)  # no close box
        self.assertEqual([(cid, cls.lower()) for cid, cls, _, _, _ in controls],
                         [(1010, "msctls_progress32")])
        self.assertTrue(any(0 < p < 100 for p in positions), positions)
        self.assertEqual(positions, sorted(positions))
        self.assertEqual(self.data_file("extensions.txt"), self.catalogue)
        self.assertIsNone(self.data_file("tmp_file"))
        self.assertEqual(self.data_file("data_version.txt").strip(), b"7")
        registry = self.wine.export()
        self.assertEqual(registry[".orvgen0399"][""], '"Orvanel"')

    def start_file_mode(self):
        process = self.wine.start_program([self.orvanel, self.wine.windows_path(self.document)])
        self.wine.dialog("Orvanel")
        self.wine.driver("close", "Orvanel")  # the prompt ends without any action
        return process

    def test_2_newer_program_declined(self):
        self.site.files["/software_version.txt"] = b"0.3"
        before = len(self.site.recorded())
        process = self.start_file_mode()
        message, buttons = self.wine.message_box("Update Orvanel", IDNO)
        self.assertEqual((message, buttons),
                         ("Download and install the latest version of Orvanel?", [IDYES, IDNO]))
        self.assertEqual(self.wine.finish(process)[0], 0)
        asked = [r for r in self.site.recorded()[before:]]
        self.assertEqual(asked, ["/software_version.txt"])

    def test_3_newer_program_downloaded_and_started(self):
        self.site.files["/software_version.txt"] = b"0.3"
        process = self.start_file_mode()
        self.wine.message_box("Update Orvanel", IDYES)
        _, caption, _, _ = self.watch_update_dialog()
        self.assertEqual(self.wine.finish(process)[0], 0)
        self.assertEqual(caption, UPDATE)
        self.assertEqual(self.data_file("installer.exe"), self.installer)
        # The installer runs on its own; Orvanel does not wait for it.
        deadline = time.time() + 20
        while not os.path.exists(self.installer_log) and time.time() < deadline:
            time.sleep(0.2)
        with open(require(self.installer_log, "the installer's record"), encoding="utf-8") as file:
            started = file.read().splitlines()
        drive_c = os.path.join(self.wine.prefix, "drive_c")
        expected = "C:\\" + os.path.relpath(os.path.join(self.data_folder, "installer.exe"),
                                             drive_c).replace("/", "\\")
        self.assertEqual(started[0].lower(), expected.lower())
        self.assertEqual(len(started), 1)


    def test_4_installer_with_a_signature_that_does_not_fit_is_deleted_and_not_started(self):
        self.site.files["/software_version.txt"] = b"0.3"
        tampered = bytearray(self.signature)
        tampered[len(tampered) // 2] ^= 0x01
        self.site.files["/installer.exe.sig"] = bytes(tampered)
        if os.path.exists(self.installer_log):
            os.remove(self.installer_log)
        try:
            process = self.start_file_mode()
            self.wine.message_box("Update Orvanel", IDYES)
            self.watch_update_dialog()
            message, buttons = self.wine.message_box("Update Orvanel", IDOK)
            self.assertEqual(self.wine.finish(process)[0], 0)
        finally:
            self.site.files["/installer.exe.sig"] = self.signature
        self.assertEqual(message,
                         "The downloaded update could not be verified. Nothing was installed.")
        self.assertEqual(buttons, [IDOK])
        self.assertIsNone(self.data_file("installer.exe"))
        self.assertIsNone(self.data_file("tmp_file"))
        time.sleep(3)  # a started installer would have written its record by now
        self.assertFalse(os.path.exists(self.installer_log))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
