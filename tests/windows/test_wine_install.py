"""Install ("-i") and uninstall ("-r") of Orvanel.exe under Wine against a prepared
HKEY_CLASSES_ROOT and a fixture catalogue, compared key by key with what the native
build writes into its store for the same inputs, and the reports both send."""
import os
import re
import shutil
import sys
import tempfile
import unittest

from winetest import (FIXTURES_DIR, LoopbackSite, Native, WineTestCase, compared_roots,
                      module_path_in_reg, normalised, subtree)

ANALYTICS = re.compile(r"^/analytics/analytics\.php\?ID=[0-9a-f]{32}&")


def reports(requests):
    """The analytics requests, the machine identifier left out (each machine has its own)."""
    return [re.sub(r"ID=[0-9a-f]{32}", "ID=@ID@", r) for r in requests if ANALYTICS.match(r)]


class InstallUnderWineTest(WineTestCase):
    prefix_name = "install"

    @classmethod
    def setUpClass(cls):
        super().setUpClass()
        cls.site = LoopbackSite()
        cls.native = Native(tempfile.mkdtemp(prefix="orvanel-native-"), cls.site)
        catalogue = os.path.join(FIXTURES_DIR, "extensions.txt")
        prepared = os.path.join(FIXTURES_DIR, "prepared.reg")
        cls.native.reg("import", prepared)
        cls.wine.reg_import(prepared)
        shutil.copy(catalogue, cls.native.data_folder)
        cls.wine_data = os.path.join(cls.wine.appdata(), "Orvanel")
        os.makedirs(cls.wine_data)
        shutil.copy(catalogue, cls.wine_data)
        cls.wine.env.update({"ORVANEL_INFO_SITE": cls.site.base,
                             "ORVANEL_DOWNLOAD_SITE": cls.site.base})
        cls.native_module = module_path_in_reg(os.path.realpath(cls.native.program))
        cls.wine_module = module_path_in_reg(cls.wine.windows_path(cls.orvanel))

    @classmethod
    def tearDownClass(cls):
        cls.site.close()
        shutil.rmtree(cls.native.root, ignore_errors=True)
        super().tearDownClass()

    def run_both(self, switch):
        before = len(self.site.recorded())
        native = self.native.run([switch])
        self.assertEqual(native.returncode, 0, native.stderr)
        native_requests = self.site.recorded()[before:]
        before = len(self.site.recorded())
        wine = self.wine.run([self.orvanel, switch])
        self.assertEqual(wine.returncode, 0, wine.stderr)
        wine_requests = self.site.recorded()[before:]
        self.assertEqual(reports(wine_requests), reports(native_requests))
        self.assertEqual(len(reports(wine_requests)), 1, wine_requests)
        return reports(wine_requests)[0]

    def assert_same_keys(self, roots):
        native = normalised(self.native.export(), self.native_module)
        wine = normalised(self.wine.export(), self.wine_module)
        for root in roots:
            with self.subTest(key=root):
                self.assertEqual(subtree(wine, root), subtree(native, root))
        return wine

    def test_1_install_writes_the_keys_the_native_build_writes(self):
        report = self.run_both("-i")
        self.assertIn("&install=true", report)
        native = self.native.export()
        type(self).roots = compared_roots(native)
        # The comparison covers what install is expected to touch, not just what exists.
        self.assertEqual(self.roots, ["*\\shell\\Open with", ".orvcase", ".orvemptied", ".orvnew",
                                      ".orvtaken", ".ORVUPPER", ".orvx", ".xyz",
                                      "Applications\\Orvanel", "Orvanel"])
        self.assertNotIn(".bat", native)
        wine = self.assert_same_keys(self.roots)
        self.assertEqual(wine[".xyz"][""], '"Orvanel"')
        self.assertEqual(wine["orvanel\\shell\\open\\command"][""], '"\\"@MODULE@\\" \\"%1\\""')

    def test_2_uninstall_removes_what_the_native_build_removes(self):
        report = self.run_both("-r")
        self.assertIn("&uninstall=true", report)
        wine = self.assert_same_keys(self.roots)
        self.assertEqual(subtree(wine, "*\\shell\\Open with"), {})
        self.assertEqual(subtree(wine, "Applications\\Orvanel"), {})
        self.assertEqual(wine[".orvnew"][""], '""')


if __name__ == "__main__":
    if os.geteuid() != 0:
        # Without root the native build only starts an elevated copy: nothing to compare.
        print("skipped: the native build installs only as root")
        sys.exit(77)
    unittest.main(argv=sys.argv[:1], verbosity=2)
