"""The resources of the built Orvanel.exe and duvessa_printer.exe, read back with
pefile: dialogs 101 and 103, the string table, icon group 106, the manifests and the
version block, against the values the program is specified with (written out here
independently of the resource script)."""
import os
import re
import struct
import sys
import unittest

import pefile

BUILD_DIR = os.environ.get("ORVANEL_WIN_BUILD_DIR", "")
LANG_EN_GB = 0x0809

WS_CHILD, WS_VISIBLE, WS_TABSTOP, WS_GROUP = 0x40000000, 0x10000000, 0x00010000, 0x00020000
WS_POPUP, WS_CAPTION, WS_SYSMENU, WS_BORDER = 0x80000000, 0x00C00000, 0x00080000, 0x00800000
WS_CLIPCHILDREN = 0x02000000
DS_SETFONT, DS_MODALFRAME, DS_FIXEDSYS, DS_CENTER = 0x40, 0x80, 0x08, 0x800
BS_DEFPUSHBUTTON, BS_AUTOCHECKBOX, BS_AUTORADIOBUTTON = 0x1, 0x3, 0x9
SS_LEFT, SS_BLACKFRAME, SS_SUNKEN = 0x0, 0x7, 0x1000
PBS_SMOOTH = 0x1
ATOMS = {0x80: "BUTTON", 0x81: "EDIT", 0x82: "STATIC", 0x83: "LISTBOX", 0x84: "SCROLLBAR",
         0x85: "COMBOBOX"}

STRINGS = {
    102: "Orvanel",
    103: "Orvanel finds information about the file types on your system and provides the "
         "software needed to open them.",
    104: "File:",
    105: "What would you like to do?",
    106: "Search the web for software to open the file",
    107: "Read and learn about .%EXT% file",
    108: "Open using software already on your computer",
    109: "Do not show again for .%EXT% file",
    110: "OK",
    111: "Update Orvanel",
    112: "Download and install the latest version of Orvanel?",
    113: "Open with",
    114: "The downloaded update could not be verified. Nothing was installed.",
}

PROMPT_STYLE = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_FIXEDSYS
UPDATE_STYLE = WS_POPUP | WS_CAPTION | WS_CLIPCHILDREN | DS_MODALFRAME | DS_CENTER | DS_SETFONT | DS_FIXEDSYS
BASE = WS_CHILD | WS_VISIBLE
PROMPT_CONTROLS = [
    (1, "BUTTON", BASE | BS_DEFPUSHBUTTON | WS_TABSTOP, (253, 129, 50, 14)),
    (1001, "STATIC", BASE | SS_LEFT | WS_GROUP, (7, 5, 296, 28)),
    (1002, "STATIC", BASE | SS_LEFT | WS_GROUP, (7, 32, 14, 8)),
    (1003, "STATIC", BASE | SS_LEFT | WS_GROUP, (24, 32, 109, 8)),
    (1004, "STATIC", BASE | SS_LEFT | WS_GROUP, (7, 50, 296, 8)),
    (1005, "BUTTON", BASE | BS_AUTORADIOBUTTON, (27, 70, 276, 10)),
    (1006, "BUTTON", BASE | BS_AUTORADIOBUTTON, (27, 88, 276, 10)),
    (1007, "BUTTON", BASE | BS_AUTORADIOBUTTON, (27, 105, 276, 10)),
    (1008, "BUTTON", BASE | BS_AUTOCHECKBOX | WS_TABSTOP, (7, 132, 243, 10)),
    (-1, "STATIC", BASE | SS_BLACKFRAME | SS_SUNKEN, (7, 123, 296, 1)),
]
UPDATE_CONTROLS = [(1010, "msctls_progress32", BASE | WS_BORDER | PBS_SMOOTH, (7, 7, 170, 11))]


def resources(pe):
    """{(type id, name id, language): bytes} of every resource of the file."""
    found = {}
    for rtype in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        for name in rtype.directory.entries:
            for lang in name.directory.entries:
                data = lang.data.struct
                found[(rtype.id, name.id, lang.id)] = pe.get_data(data.OffsetToData, data.Size)
    return found


class Reader:
    def __init__(self, data):
        self.data, self.at = data, 0

    def take(self, fmt):
        values = struct.unpack_from("<" + fmt, self.data, self.at)
        self.at += struct.calcsize("<" + fmt)
        return values if len(values) > 1 else values[0]

    def align(self):
        self.at = (self.at + 3) & ~3

    def sz_or_ord(self):
        first = self.take("H")
        if first == 0xFFFF:
            return self.take("H")
        chars = []
        while first:
            chars.append(chr(first))
            first = self.take("H")
        return "".join(chars)


def parse_dialogex(data):
    """A DLGTEMPLATEEX: its fields and its controls in template order."""
    r = Reader(data)
    version, signature, _help, _exstyle, style, count, x, y, cx, cy = r.take("HHIIIHhhhh")
    assert (version, signature) == (1, 0xFFFF), "not a DIALOGEX template"
    menu, cls, caption = r.sz_or_ord(), r.sz_or_ord(), r.sz_or_ord()
    points, weight, italic, charset = r.take("HHBB")
    font = r.sz_or_ord()
    controls = []
    for _ in range(count):
        r.align()
        _help, exstyle, cstyle, x0, y0, w, h, cid = r.take("IIIhhhhi")
        ccls = r.sz_or_ord()
        ccls = ATOMS.get(ccls, ccls) if isinstance(ccls, int) else ccls.upper() \
            if ccls.upper() in ATOMS.values() else ccls
        text = r.sz_or_ord()
        extra = r.take("H")
        r.at += extra
        controls.append({"id": cid, "class": ccls, "style": cstyle, "exstyle": exstyle,
                         "rect": (x0, y0, w, h), "text": text})
    return {"style": style, "size": (x, y, cx, cy), "menu": menu, "class": cls,
            "caption": caption, "font": (font, points, weight, italic, charset),
            "controls": controls}


def parse_string_blocks(found):
    strings = {}
    for (rtype, block, lang), data in found.items():
        if rtype != pefile.RESOURCE_TYPE["RT_STRING"]:
            continue
        r = Reader(data)
        for index in range(16):
            length = r.take("H")
            text = data[r.at:r.at + 2 * length].decode("utf-16-le")
            r.at += 2 * length
            if length:
                strings[(block - 1) * 16 + index] = (text, lang)
    return strings


class ResourcesOf:
    """The checks for one build; a subclass names the build."""

    def setUp(self):
        path = os.path.join(BUILD_DIR, "Orvanel.exe")
        self.assertTrue(os.path.isfile(path), f"no Orvanel.exe in {BUILD_DIR!r}")
        self.pe = pefile.PE(path)
        self.found = resources(self.pe)

    def resource(self, rtype, name):
        matches = [(k, v) for k, v in self.found.items()
                   if k[0] == pefile.RESOURCE_TYPE[rtype] and k[1] == name]
        self.assertEqual(len(matches), 1, f"{rtype} {name}: {[k for k, _ in matches]}")
        (_, _, lang), data = matches[0]
        self.assertEqual(lang, LANG_EN_GB, f"{rtype} {name} language")
        return data

    def check_dialog(self, dialog, style, size, caption, controls):
        self.assertEqual(dialog["style"], style, hex(dialog["style"]))
        self.assertEqual(dialog["size"], (0, 0) + size)
        self.assertEqual(dialog["caption"], caption)
        self.assertEqual(dialog["font"], ("MS Shell Dlg", 8, 400, 0, 1))
        self.assertEqual(dialog["menu"], "")
        self.assertEqual(dialog["class"], "")
        # Window classes are looked up without regard to case (windres writes them in
        # capitals).
        actual = [(c["id"], c["class"].upper(), c["style"], c["rect"]) for c in dialog["controls"]]
        self.assertEqual(actual, [(i, cls.upper(), style, rect) for i, cls, style, rect in controls])
        self.assertTrue(all(c["exstyle"] == 0 for c in dialog["controls"]))

    def test_prompt_dialog_101(self):
        dialog = parse_dialogex(self.resource("RT_DIALOG", 101))
        self.check_dialog(dialog, PROMPT_STYLE, (310, 150), "Dialog", PROMPT_CONTROLS)
        texts = {c["id"]: c["text"] for c in dialog["controls"]}
        self.assertEqual(texts[1003], "FileName")
        self.assertEqual(texts[1006], "Read and learn about . file")
        self.assertEqual(texts[1008], "Do not show again for . file")

    def test_update_dialog_103(self):
        dialog = parse_dialogex(self.resource("RT_DIALOG", 103))
        self.check_dialog(dialog, UPDATE_STYLE, (184, 25), "Orvanel Update", UPDATE_CONTROLS)
        self.assertEqual(dialog["controls"][0]["text"], "")

    def test_string_table(self):
        strings = parse_string_blocks(self.found)
        self.assertEqual({i: t for i, (t, _) in strings.items()}, STRINGS)
        self.assertEqual({lang for _, lang in strings.values()}, {LANG_EN_GB})

    def test_icon_group_106(self):
        group = self.resource("RT_GROUP_ICON", 106)
        reserved, kind, count = struct.unpack_from("<HHH", group)
        self.assertEqual((reserved, kind), (0, 1))
        sizes = []
        for i in range(count):
            w, h, _colors, _r, _planes, bpp, size, icon_id = struct.unpack_from(
                "<BBBBHHIH", group, 6 + 14 * i)
            image = [v for k, v in self.found.items()
                     if k[0] == pefile.RESOURCE_TYPE["RT_ICON"] and k[1] == icon_id][0]
            self.assertEqual(len(image), size)
            is_png = image.startswith(b"\x89PNG\r\n\x1a\n")
            pixels = 256 if w == 0 else w
            if is_png:
                png_w, png_h = struct.unpack(">II", image[16:24])
                self.assertEqual((png_w, png_h), (256, 256))
            else:
                # A bitmap header: width, doubled height (image and mask), 32 bits.
                _hsize, bw, bh, _pl, bits = struct.unpack_from("<IiiHH", image)
                self.assertEqual((bw, bh, bits), (pixels, 2 * pixels, 32))
            self.assertEqual(bpp, 32)
            sizes.append((pixels, is_png))
        self.assertEqual(sorted(sizes, reverse=True),
                         [(256, True), (128, False), (64, False), (48, False), (32, False),
                          (24, False), (16, False)])

    def test_manifest(self):
        manifest = self.resource("RT_MANIFEST", 1).decode("utf-8")
        self.assertRegex(manifest, r'requestedExecutionLevel\s+level="asInvoker"\s+uiAccess="false"')
        self.assertRegex(manifest, r'name="Microsoft\.Windows\.Common-Controls"\s+version="6\.0\.0\.0"')

    def test_printer_tool_manifest(self):
        pe = pefile.PE(os.path.join(BUILD_DIR, "duvessa_printer.exe"))
        manifest = [v for k, v in resources(pe).items()
                    if k[0] == pefile.RESOURCE_TYPE["RT_MANIFEST"]]
        self.assertEqual(len(manifest), 1)
        self.assertRegex(manifest[0].decode("utf-8"), r'level="asInvoker"\s+uiAccess="false"')
        self.assertEqual(pe.OPTIONAL_HEADER.Subsystem, 3)  # console

    def test_version_block(self):
        self.pe.parse_data_directories(
            directories=[pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_RESOURCE"]])
        fixed = self.pe.VS_FIXEDFILEINFO[0]
        self.assertEqual((fixed.FileVersionMS, fixed.FileVersionLS), (0x00000001, 0x00000000))
        self.assertEqual((fixed.ProductVersionMS, fixed.ProductVersionLS), (0x00000001, 0x00000000))
        values = {}
        for info in self.pe.FileInfo[0]:
            for table in getattr(info, "StringTable", []):
                self.assertEqual(table.LangID, b"080904b0")
                values.update({k.decode(): v.decode() for k, v in table.entries.items()})
        self.assertEqual(values["FileDescription"], "Orvanel")
        self.assertEqual(values["ProductName"], "Orvanel")
        self.assertEqual(values["InternalName"], "Orvanel.exe")
        self.assertEqual(values["OriginalFilename"], "Orvanel.exe")
        self.assertEqual(values["FileVersion"], "0.1.0.0")
        self.assertEqual(values["ProductVersion"], "0.1.0.0")

    def test_program_is_a_gui_program_of_the_build_target(self):
        self.assertEqual(self.pe.OPTIONAL_HEADER.Subsystem, 2)  # Windows GUI
        machine = {"win32": 0x14C, "win64": 0x8664}[os.path.basename(BUILD_DIR.rstrip("/"))]
        self.assertEqual(self.pe.FILE_HEADER.Machine, machine)

    def test_nothing_to_ship_besides_the_executables(self):
        # A static runtime: only system libraries are imported.
        system = {"kernel32.dll", "user32.dll", "shell32.dll", "advapi32.dll", "comctl32.dll",
                  "iphlpapi.dll", "ws2_32.dll", "msvcrt.dll", "bcrypt.dll", "crypt32.dll",
                  "gdi32.dll", "ole32.dll"}
        for name in ("Orvanel.exe", "duvessa_printer.exe"):
            pe = pefile.PE(os.path.join(BUILD_DIR, name))
            imported = {e.dll.decode().lower() for e in pe.DIRECTORY_ENTRY_IMPORT}
            self.assertTrue(imported <= system, f"{name} imports {sorted(imported - system)}")


class ResourcesTest(ResourcesOf, unittest.TestCase):
    pass


if __name__ == "__main__":
    unittest.main(argv=sys.argv[:1], verbosity=2)
