#!/usr/bin/env python3
"""A small local stand-in for Orvanel's two sites, for the demo and the tests.

Download site: /extensions.txt, /data_version.txt, /software_version.txt, /installer.exe
and its signature /installer.exe.sig, served from a folder. Info site: the /type/ and /extension/ pages, and
/analytics/analytics.php, which answers 200 and appends each query line to a log file.
Binds 127.0.0.1 on a free port and writes that port to a file once it listens.
"""
import argparse
import html
import os
import sys
from http.server import BaseHTTPRequestHandler, ThreadingHTTPServer
from urllib.parse import unquote, urlsplit

DOWNLOADS = {
    "/extensions.txt": "text/plain",
    "/data_version.txt": "text/plain",
    "/software_version.txt": "text/plain",
    "/installer.exe": "application/octet-stream",
    "/installer.exe.sig": "application/octet-stream",
}


def make_handler(root, analytics_log):
    class Handler(BaseHTTPRequestHandler):
        def log_message(self, format, *args):
            pass  # quiet: the demo prints its own summary

        def reply(self, status, body, content_type="text/plain"):
            self.send_response(status)
            self.send_header("Content-Type", content_type)
            self.send_header("Content-Length", str(len(body)))
            self.end_headers()
            self.wfile.write(body)

        def do_GET(self):
            url = urlsplit(self.path)
            if url.path in DOWNLOADS:
                path = os.path.join(root, url.path.lstrip("/"))
                if os.path.isfile(path):
                    with open(path, "rb") as f:
                        return self.reply(200, f.read(), DOWNLOADS[url.path])
                return self.reply(404, b"<html><body>Not found</body></html>", "text/html")
            if url.path == "/analytics/analytics.php":
                with open(analytics_log, "a") as log:
                    log.write(url.query + "\n")
                return self.reply(200, b"")
            for kind, title in (("/type/", "Software for"), ("/extension/", "About")):
                if url.path.startswith(kind):
                    extension = unquote(url.path[len(kind):].split("/")[0])
                    page = "<html><body><h1>%s .%s files</h1></body></html>" % (
                        title, html.escape(extension))
                    return self.reply(200, page.encode(), "text/html")
            self.reply(404, b"<html><body>Not found</body></html>", "text/html")

    return Handler


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--root", required=True, help="folder with the download site's files")
    parser.add_argument("--analytics-log", required=True)
    parser.add_argument("--port-file", required=True)
    args = parser.parse_args()
    server = ThreadingHTTPServer(("127.0.0.1", 0), make_handler(args.root, args.analytics_log))
    with open(args.port_file + ".tmp", "w") as f:
        f.write(str(server.server_address[1]))
    os.replace(args.port_file + ".tmp", args.port_file)
    try:
        server.serve_forever()
    except KeyboardInterrupt:
        pass
    return 0


if __name__ == "__main__":
    sys.exit(main())
