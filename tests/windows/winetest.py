"""Running the Windows build under Wine for the tests: one Wine prefix and one Xvfb
display per test run, a loopback site that records what it is asked, the dialog
driver, and .reg files read into comparable trees.

Everything here fails loudly: a missing Wine, Xvfb or build is an error, never a skip.
"""
import os
import re
import shutil
import subprocess
import tempfile
import threading
import time
import unittest
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer

WINE64 = "/usr/lib/wine/wine64"
WINESERVER = "/usr/lib/wine/wineserver64"

# Set by the CTest command line (see CMakeLists.txt): the build under test, the
# native build to compare with, the helpers and the fixtures.
BUILD_DIR = os.environ.get("ORVANEL_WIN_BUILD_DIR", "")
NATIVE_DIR = os.environ.get("ORVANEL_NATIVE_BUILD_DIR", "")
HELPERS_DIR = os.environ.get("ORVANEL_WIN_HELPERS_DIR", "")
FIXTURES_DIR = os.path.join(os.path.dirname(os.path.abspath(__file__)), "fixtures")
ARTIFACTS_DIR = os.path.join(BUILD_DIR, "test-artifacts") if BUILD_DIR else ""


def require(path, what):
    if not path or not os.path.exists(path):
        raise AssertionError(f"{what} is missing: {path!r}")
    return path


class Wine:
    """A Wine prefix under the build folder, with its own Xvfb display."""

    def __init__(self, name):
        require(WINE64, "Wine's 64-bit loader (Debian package wine64)")
        require(shutil.which("Xvfb"), "Xvfb (Debian package xvfb)")
        self.root = os.path.join(require(BUILD_DIR, "the Windows build"), "wine", name)
        shutil.rmtree(self.root, ignore_errors=True)
        os.makedirs(self.root)
        self.prefix = os.path.join(self.root, "prefix")
        self.display = None
        self.xvfb = None
        self.env = dict(os.environ)
        self.env.update({"WINEPREFIX": self.prefix, "WINEDEBUG": "-all", "WINEDLLOVERRIDES":
                         "mscoree,mshtml=", "LANG": "C.UTF-8"})
        self.env.pop("ORVANEL_REGISTRY", None)

    def start(self):
        try:
            self._start_display()
            self.env["DISPLAY"] = self.display
            result = self.run(["wineboot", "-i"], timeout=180)
            if result.returncode != 0:
                raise AssertionError(f"Wine could not set up its prefix: {result.stderr}")
            self.wait_idle()
        except BaseException:
            self.stop()
            raise
        return self

    def _start_display(self):
        # Xvfb picks a free display itself and writes its number to the pipe, so that
        # displays of other test runs on the machine are never taken.
        read_end, write_end = os.pipe()
        self.xvfb = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                                      "1024x768x24", "-nolisten", "tcp"],
                                     stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                                     stderr=subprocess.DEVNULL, pass_fds=(write_end,),
                                     start_new_session=True)
        os.close(write_end)
        with os.fdopen(read_end) as pipe:
            number = pipe.readline().strip()
        if not number.isdigit():
            raise AssertionError("Xvfb did not start (Debian package xvfb)")
        self.display = f":{number}"

    def stop(self):
        subprocess.run([WINESERVER, "-k"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL)
        if self.xvfb:
            # Asked to end, Xvfb removes its lock file and socket.
            self.xvfb.terminate()
            try:
                self.xvfb.wait(timeout=10)
            except subprocess.TimeoutExpired:
                self.xvfb.kill()
                self.xvfb.wait()
            self.xvfb = None

    def wait_idle(self):
        subprocess.run([WINESERVER, "-w"], env=self.env, stdout=subprocess.DEVNULL,
                       stderr=subprocess.DEVNULL, timeout=120)

    def command(self, program, arguments):
        return [WINE64, program] + list(arguments)

    # Output goes to files, not pipes: the wineserver and the desktop process that a
    # program may start inherit its handles and outlive it, so a pipe would never end.
    def run(self, argv, timeout=60, env=None):
        """Runs a program (a Windows name like "reg", or a Unix path of an .exe) to its
        end; its exit code and output as a CompletedProcess."""
        process = self.start_program(argv, env)
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            raise AssertionError(f"{argv} did not end within {timeout} s")
        return subprocess.CompletedProcess(argv, process.returncode, *self.outputs(process))

    def start_program(self, argv, env=None):
        out, err = tempfile.TemporaryFile(), tempfile.TemporaryFile()
        process = subprocess.Popen(self.command(argv[0], argv[1:]),
                                   env={**self.env, **(env or {})}, stdin=subprocess.DEVNULL,
                                   stdout=out, stderr=err)
        process.output_files = (out, err)
        return process

    @staticmethod
    def wait_for_error_output(process, text, seconds=15):
        """Waits until the program's standard error (shared with the programs it
        started) holds `text`; whether it came."""
        deadline = time.time() + seconds
        while time.time() < deadline:
            process.output_files[1].seek(0)
            if text in process.output_files[1].read().decode("utf-8", "replace"):
                return True
            time.sleep(0.2)
        return False

    @staticmethod
    def outputs(process):
        texts = []
        for file in process.output_files:
            file.seek(0)
            texts.append(file.read().decode("utf-8", "replace"))
            file.close()
        return texts

    def driver(self, *arguments, timeout=60):
        """Runs the dialog driver; returns its exit code and output."""
        result = self.run([os.path.join(require(HELPERS_DIR, "the test helpers"),
                                        "dialog_driver.exe")] + list(arguments), timeout=timeout)
        return result.returncode, result.stdout

    def dialog(self, caption, timeout_ms=30000):
        """The dialog's style and controls once it shows: (style, caption, controls)
        where controls are (id, class, style, checked, text) in window order."""
        code, out = self.driver("show", caption, str(timeout_ms))
        if code != 0:
            raise AssertionError(f"no dialog {caption!r} appeared (driver exit code {code})")
        lines = out.splitlines()
        _, style, title = lines[0].split("\t", 2)
        controls = []
        for line in lines[1:]:
            cid, cls, cstyle, checked, text = line.split("\t", 4)
            controls.append((int(cid), cls, int(cstyle, 16), int(checked), text))
        return int(style, 16), title, controls

    def message_box(self, caption, press, timeout_ms=30000):
        """The text of the message box with this caption, after pressing the button
        `press` (IDOK 1, IDYES 6, IDNO 7) on it."""
        _, _, controls = self.dialog(caption, timeout_ms)
        texts = [text for cid, cls, _, _, text in controls if cid == -1 and cls.lower() == "static"]
        buttons = sorted(cid for cid, cls, _, _, _ in controls if cls.lower() == "button")
        code, _ = self.driver("click", caption, str(press))
        if code != 0:
            raise AssertionError(f"could not press {press} on {caption!r}")
        return texts[0] if texts else "", buttons

    def finish(self, process, timeout=60):
        """Waits for a started program; its exit code (as Wine hands it on, in 8 bits)
        and its standard error."""
        try:
            process.wait(timeout=timeout)
        except subprocess.TimeoutExpired:
            process.kill()
            raise AssertionError(f"{process.args} did not end within {timeout} s")
        return process.returncode, self.outputs(process)[1]

    def windows_path(self, unix_path):
        return "Z:" + os.path.abspath(unix_path).replace("/", "\\")

    def appdata(self):
        """The Unix path of the prefix user's roaming application-data folder."""
        users = os.path.join(self.prefix, "drive_c", "users")
        for user in sorted(os.listdir(users)):
            folder = os.path.join(users, user, "AppData", "Roaming")
            if user != "Public" and os.path.isdir(folder):
                return folder
        raise AssertionError(f"no roaming application-data folder under {users}")

    def export(self):
        """Wine's `reg export` of the whole HKEY_CLASSES_ROOT, as a tree (one Wine
        process, however many keys are compared)."""
        target = os.path.join(self.root, "export.reg")
        if os.path.exists(target):
            os.remove(target)
        result = self.run(["reg", "export", "HKEY_CLASSES_ROOT", self.windows_path(target), "/y"])
        if result.returncode != 0:
            raise AssertionError(f"reg export failed: {result.stderr}")
        return parse_reg(read_reg_text(target))

    def reg_import(self, reg_file):
        result = self.run(["reg", "import", self.windows_path(reg_file)])
        if result.returncode != 0:
            raise AssertionError(f"reg import failed: {result.stderr}")

    def screenshot(self, name):
        """Keeps a picture of the whole display among the test artefacts."""
        os.makedirs(ARTIFACTS_DIR, exist_ok=True)
        xwd = os.path.join(self.root, name + ".xwd")
        subprocess.run(["xwd", "-root", "-silent", "-display", self.display, "-out", xwd],
                       check=True, timeout=30)
        png = os.path.join(ARTIFACTS_DIR, name + ".png")
        subprocess.run(["convert", xwd, png], check=True, timeout=60)
        return png


def read_reg_text(path):
    with open(path, "rb") as file:
        data = file.read()
    if data.startswith(b"\xff\xfe"):
        return data[2:].decode("utf-16-le")
    return data.decode("utf-8")


def parse_reg(text):
    """A .reg text as {key path (lower case): {value name (lower case): data text}},
    keys relative to HKEY_CLASSES_ROOT, with the original spelling kept in the data."""
    tree = {}
    current = None
    pending = ""
    for raw in text.splitlines():
        line = pending + raw.strip()
        pending = ""
        if line.endswith("\\") and current is not None and not line.startswith("["):
            pending = line[:-1]
            continue
        if not line or line.startswith("Windows Registry Editor") or line.startswith(";"):
            continue
        if line.startswith("[") and line.endswith("]"):
            path = line[1:-1]
            root = "HKEY_CLASSES_ROOT"
            path = path[len(root):].lstrip("\\") if path.upper().startswith(root) else path
            current = tree.setdefault(path.lower(), {"@key": path})
            continue
        match = re.match(r'^(@|"(?:[^"\\]|\\.)*")=(.*)$', line)
        if match and current is not None:
            name = "" if match.group(1) == "@" else match.group(1)[1:-1]
            current[name.replace('\\"', '"').replace("\\\\", "\\").lower()] = match.group(2)
    return tree


def subtree(tree, key):
    key = key.lower()
    return {k: v for k, v in tree.items() if k == key or k.startswith(key + "\\")}


class LoopbackSite:
    """The info and download sites on 127.0.0.1: serves fixed files, answers 200 to
    anything else, and records every request's path and query."""

    def __init__(self, files=None, slow=None):
        self.files = dict(files or {})
        self.slow = dict(slow or {})  # path -> seconds to spread the body over
        self.requests = []
        self.lock = threading.Lock()
        site = self

        class Handler(BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def log_message(self, *args):
                pass

            def do_GET(self):
                with site.lock:
                    site.requests.append(self.path)
                path = self.path.split("?", 1)[0]
                body = site.files.get(path, b"ok")
                status = 200 if path in site.files or not path.endswith(".txt") else 404
                self.send_response(status)
                self.send_header("Content-Length", str(len(body)))
                self.end_headers()
                if path in site.slow and body:
                    pieces = 20
                    size = max(1, len(body) // pieces)
                    for start in range(0, len(body), size):
                        self.wfile.write(body[start:start + size])
                        self.wfile.flush()
                        time.sleep(site.slow[path] / pieces)
                else:
                    self.wfile.write(body)

        self.server = ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self.server.daemon_threads = True
        self.thread = threading.Thread(target=self.server.serve_forever, daemon=True)
        self.thread.start()
        self.base = f"http://127.0.0.1:{self.server.server_address[1]}"

    def recorded(self):
        with self.lock:
            return list(self.requests)

    def wait_for(self, predicate, seconds=20):
        deadline = time.time() + seconds
        while time.time() < deadline:
            if any(predicate(r) for r in self.recorded()):
                return True
            time.sleep(0.1)
        return False

    def close(self):
        self.server.shutdown()
        self.server.server_close()


class Native:
    """The native build run in a temporary setting: its own store, data folder and
    sites, the terminal frontend, no display."""

    def __init__(self, root, site):
        self.program = require(os.path.join(NATIVE_DIR, "orvanel"), "the native orvanel")
        self.reg_tool = require(os.path.join(NATIVE_DIR, "orvanel-reg"), "the native orvanel-reg")
        self.root = root
        self.data_folder = os.path.join(root, "data", "Orvanel")
        os.makedirs(self.data_folder, exist_ok=True)
        self.env = {k: v for k, v in os.environ.items() if k not in ("DISPLAY", "WAYLAND_DISPLAY")}
        self.env.update({"ORVANEL_REGISTRY": os.path.join(root, "registry.db"),
                         "XDG_DATA_HOME": os.path.join(root, "data"),
                         "ORVANEL_FRONTEND": "terminal", "ORVANEL_INFO_SITE": site.base,
                         "ORVANEL_DOWNLOAD_SITE": site.base, "PATH": "/usr/bin:/bin"})

    def run(self, argv, program=None, stdin_text=""):
        return subprocess.run([program or self.program] + list(argv), env=self.env,
                              input=stdin_text, capture_output=True, text=True, timeout=60)

    def reg(self, *argv):
        result = self.run(list(argv), program=self.reg_tool)
        if result.returncode != 0:
            raise AssertionError(f"orvanel-reg {argv}: {result.stderr}")
        return result.stdout

    def export(self):
        return parse_reg(self.reg("export"))


def module_path_in_reg(path):
    """How a path appears inside a .reg file's quoted data."""
    return path.replace("\\", "\\\\")


def normalised(tree, module_in_reg):
    """The tree with the program's path replaced by @MODULE@."""
    return {k: {n: d.replace(module_in_reg, "@MODULE@") for n, d in values.items()}
            for k, values in tree.items()}


def compared_roots(native_tree):
    """The keys whose subtrees the comparison covers, spelled as the native store has
    them: every top-level key of the native export, except that under "*" and
    "Applications", which Windows already has, only the keys that Orvanel writes."""
    roots = set()
    for key, values in native_tree.items():
        parts = values["@key"].split("\\")
        if not key:
            continue
        if parts[0] == "*":
            if len(parts) >= 3:
                roots.add("\\".join(parts[:3]))
        elif parts[0].lower() == "applications":
            if len(parts) >= 2:
                roots.add("\\".join(parts[:2]))
        else:
            roots.add(parts[0])
    return sorted(roots, key=str.lower)


EXIT_FAILURE = 255  # the program's -1, as the 8-bit exit status of the Wine loader


class WineTestCase(unittest.TestCase):
    """One Wine prefix and display for all tests of a class."""

    prefix_name = "prefix"

    @classmethod
    def setUpClass(cls):
        cls.wine = Wine(cls.prefix_name).start()
        # Runs even when a subclass's setup fails after this point.
        cls.addClassCleanup(cls.wine.stop)
        cls.orvanel = require(os.path.join(BUILD_DIR, "Orvanel.exe"), "Orvanel.exe")
