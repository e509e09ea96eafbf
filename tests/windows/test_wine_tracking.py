"""The tracking switches "-t=off" and "-t=on" of Orvanel.exe under Wine: their
messages, exit codes and the value "private" of the Orvanel class key."""
import os
import shutil
import sys
import unittest

from winetest import EXIT_FAILURE, FIXTURES_DIR, LoopbackSite, WineTestCase


class TrackingSwitchTest(WineTestCase):
    prefix_name = "tracking"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.site = LoopbackSite()
        cls.wine.env.update({"ORVANEL_INFO_SITE": cls.site.base,
                             "ORVANEL_DOWNLOAD_SITE": cls.site.base})
        data_folder = os.path.join(cls.wine.appdata(), "Orvanel")
        os.makedirs(data_folder)
        shutil.copy(os.path.join(FIXTURES_DIR, "extensions.txt"), data_folder)

    @classmethod
    def tearDownClass(cls):
        cls.site.close()
        super().tearDownClass()

    def switch(self, argument):
        """Runs the switch, answers its message box; (exit code, message, buttons)."""
        process = self.wine.start_program([self.orvanel, argument])
        message, buttons = self.wine.message_box("Orvanel", 1)
        code, _ = self.wine.finish(process)
        return code, message, buttons

    def flag(self):
        return self.wine.export().get("orvanel", {}).get("private")

    def test_switches_before_and_after_install(self):
        # Without the class key nothing can be switched, and the key is not created.
        self.assertEqual(self.switch("-t=on"),
                         (EXIT_FAILURE, "Failed to turn on tracking.||Was it turned off?", [1]))
        self.assertEqual(self.switch("-t=off"),
                         (EXIT_FAILURE, "Error while turning tracking off", [1]))
        self.assertNotIn("orvanel", self.wine.export())

        install = self.wine.run([self.orvanel, "-i"])
        self.assertEqual(install.returncode, 0, install.stderr)
        cases = [("-t=off", "Tracking has been turned off", '"1"'),
                 ("-t=on", "Tracking has been turned on", '"0"'),
                 ("-t=off", "Tracking has been turned off", '"1"')]
        for argument, message, flag in cases:
            with self.subTest(argument=argument):
                self.assertEqual(self.switch(argument), (0, message, [1]))
                self.assertEqual(self.flag(), flag)
        # With tracking off, the uninstall sends no report.
        before = len(self.site.recorded())
        self.assertEqual(self.wine.run([self.orvanel, "-r"]).returncode, 0)
        self.assertEqual([r for r in self.site.recorded()[before:] if "analytics" in r], [])


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
