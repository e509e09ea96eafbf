"""duvessa_printer.exe under Wine, run as the installer script runs it: a copy of
the tool in a folder of its own with one of the stand-in DuvessaInstall.dll builds
beside it (or none), each recording what it was asked."""
import os
import shutil
import sys
import unittest

from winetest import BUILD_DIR, HELPERS_DIR, WineTestCase, require

INSTALL_CALLS = "loaded\nIsInstalled(0)\nInstallPrinter(0)\n"
CHECK_ONLY_CALLS = "loaded\nIsInstalled(0)\n"
UNINSTALL_CALLS = "loaded\nRemovePrinter(0)\n"
UNKNOWN_PARAMETER = "Unknown parameter passed to installer. Check NSIS script correctness."


class PrinterToolUnderWineTest(WineTestCase):
    prefix_name = "printer"

    def setUp(self):
        self.folder = os.path.join(self.wine.root, "app")
        shutil.rmtree(self.folder, ignore_errors=True)
        os.makedirs(self.folder)
        self.tool = os.path.join(self.folder, "duvessa_printer.exe")
        shutil.copy(require(os.path.join(BUILD_DIR, "duvessa_printer.exe"), "the printer tool"),
                    self.tool)
        self.calls = os.path.join(self.wine.root, "calls.txt")

    def place_library(self, variant):
        library = os.path.join(self.folder, "DuvessaInstall.dll")
        if os.path.exists(library):
            os.remove(library)
        if variant:
            shutil.copy(require(os.path.join(HELPERS_DIR, variant, "DuvessaInstall.dll"), variant),
                        library)

    def run_tool(self, arguments, is_installed="1"):
        if os.path.exists(self.calls):
            os.remove(self.calls)
        result = self.wine.run([self.tool] + arguments, env={
            "DUVESSA_TEST_CALLS": self.wine.windows_path(self.calls),
            "DUVESSA_TEST_IS_INSTALLED": is_installed, "DUVESSA_TEST_RESULT": "0"})
        calls = ""
        if os.path.exists(self.calls):
            with open(self.calls) as file:
                calls = file.read()
        return result.returncode, calls

    def test_command_line_chooses_the_step(self):
        self.place_library("printer_library_complete")
        cases = [([], "1", INSTALL_CALLS), (["install"], "1", INSTALL_CALLS),
                 (["install"], "0", CHECK_ONLY_CALLS), (["uninstall"], "1", UNINSTALL_CALLS),
                 (["uninstall", "extra"], "1", INSTALL_CALLS), (["a", "b", "c"], "0", CHECK_ONLY_CALLS)]
        for arguments, is_installed, calls in cases:
            with self.subTest(arguments=arguments, is_installed=is_installed):
                self.assertEqual(self.run_tool(arguments, is_installed), (0, calls))

    def test_binding_failures_end_with_code_1(self):
        cases = [(None, ["install"], ""), (None, ["uninstall"], ""),
                 ("printer_library_no_install", ["install"], "loaded\n"),
                 ("printer_library_no_install", ["uninstall"], "loaded\n"),
                 ("printer_library_no_is_installed", ["install"], "loaded\n"),
                 ("printer_library_no_remove", ["uninstall"], "loaded\n")]
        for variant, arguments, calls in cases:
            with self.subTest(library=variant, arguments=arguments):
                self.place_library(variant)
                self.assertEqual(self.run_tool(arguments), (1, calls))

    def test_unknown_parameter_shows_the_error_and_loads_nothing(self):
        self.place_library("printer_library_complete")
        for argument in ("INSTALL", "remove"):
            with self.subTest(argument=argument):
                if os.path.exists(self.calls):
                    os.remove(self.calls)
                process = self.wine.start_program(
                    [self.tool, argument],
                    env={"DUVESSA_TEST_CALLS": self.wine.windows_path(self.calls)})
                message, buttons = self.wine.message_box("Duvessa", 1)
                self.assertEqual((message, buttons), (UNKNOWN_PARAMETER, [1]))
                self.assertEqual(self.wine.finish(process)[0], 0)
                self.assertFalse(os.path.exists(self.calls))


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
