"""Orvanel.exe -i of a 100,000-line catalogue under Wine, next to the floor: our
minimal program that writes the same keys and values with the same registry calls,
in the same prefix. Wine's registry server costs tens of microseconds per call, so
what counts is the number of calls per extension. Goal: within 1.2x of the floor.

Usage: run_bench.py BUILD_DIR (build/win64). Prints the times and the ratio."""
import os
import sys
import time

BUILD_DIR = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build/win64")
os.environ["ORVANEL_WIN_BUILD_DIR"] = BUILD_DIR
sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..",
                                "tests", "windows"))
from winetest import Wine, require  # noqa: E402

EXTENSIONS = 100_000
GOAL = 1.2
ROUNDS = 3


def catalogue(path, prefix):
    with open(path, "wb") as file:
        file.write(b"extensions\r\n")
        for i in range(EXTENSIONS):
            file.write(b"%s%06d\r\n" % (prefix, i))


def timed(wine, argv, env=None):
    start = time.monotonic()
    result = wine.run(argv, timeout=1800, env=env)
    elapsed = time.monotonic() - start
    if result.returncode != 0:
        raise SystemExit(f"{argv[0]} failed ({result.returncode}): {result.stderr}")
    return elapsed


def main():
    orvanel = require(os.path.join(BUILD_DIR, "Orvanel.exe"), "Orvanel.exe")
    floor = require(os.path.join(BUILD_DIR, "bench", "windows", "registry_floor.exe"),
                    "the floor program")
    wine = Wine("bench").start()
    try:
        data_folder = os.path.join(wine.appdata(), "Orvanel")
        os.makedirs(data_folder)
        # No site: the catalogue check and the report fail at once on a closed port.
        env = {"ORVANEL_INFO_SITE": "http://127.0.0.1:9", "ORVANEL_DOWNLOAD_SITE": "http://127.0.0.1:9"}
        wine.run(["reg", "query", "HKCR\\.txt"])  # the wineserver is up before timing
        # Alternating rounds, each on fresh extension names of the same shape, so that
        # neither side profits from going second; the best round of each counts.
        floor_times, orvanel_times = [], []
        for round_number in range(ROUNDS):
            floor_list = os.path.join(wine.root, f"floor{round_number}.txt")
            catalogue(floor_list, b"f%d" % round_number)
            floor_times.append(timed(wine, [floor, wine.windows_path(floor_list)]))
            catalogue(os.path.join(data_folder, "extensions.txt"), b"o%d" % round_number)
            orvanel_times.append(timed(wine, [orvanel, "-i"], env))
        floor_seconds, orvanel_seconds = min(floor_times), min(orvanel_times)
        ratio = orvanel_seconds / floor_seconds
        rounds = lambda times: ", ".join(f"{t:.1f}" for t in times)
        print(f"Orvanel.exe -i, {EXTENSIONS} extensions under Wine: best {orvanel_seconds:.1f} s "
              f"({orvanel_seconds / EXTENSIONS * 1e6:.0f} us each; rounds {rounds(orvanel_times)})")
        print(f"floor (same calls, nothing else): best {floor_seconds:.1f} s "
              f"({floor_seconds / EXTENSIONS * 1e6:.0f} us each; rounds {rounds(floor_times)})")
        print(f"ratio {ratio:.2f} (goal {GOAL}): {'met' if ratio <= GOAL else 'NOT met'}")
    finally:
        wine.stop()


if __name__ == "__main__":
    main()
