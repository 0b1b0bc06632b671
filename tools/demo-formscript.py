#!/usr/bin/env python3
"""The maker's newsletter form script in the demo: a web proxy on 127.0.0.1 that the demo prefix's
Internet settings name, so that the program's requests for the maker's web server arrive here. It
answers the form script with success and keeps every request's fields, decoded as the script would,
in <folder>/formscript.log. Writes the port it listens on to <folder>/port.
   usage: demo-formscript.py <folder>"""
import http.server
import os
import sys
import urllib.parse

SCRIPT = "/cgi-brantel/formmail/nwsbrf_abb_nl_produkt.cgi"


class FormScript(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        url = urllib.parse.urlsplit(self.path)
        if url.path != SCRIPT:
            self.answer(404, b"<html><body>Niet gevonden</body></html>")
            return
        fields = urllib.parse.parse_qsl(url.query, keep_blank_values=True, encoding="cp1252")
        with open(os.path.join(self.server.folder, "formscript.log"), "a", encoding="utf-8") as log:
            log.write(" ".join("%s=%r" % field for field in fields) + "\n")
        print("demo form script: %s" % dict(fields).get("Action", "?"), flush=True)
        self.answer(200, b"[e-nieuws]\r\ngeslaagd=1\r\n")

    def answer(self, status, body):
        self.send_response(status)
        self.send_header("Content-Type", "text/plain")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


def main():
    folder = os.path.abspath(sys.argv[1])
    os.makedirs(folder, exist_ok=True)
    server = http.server.HTTPServer(("127.0.0.1", 0), FormScript)
    server.folder = folder
    with open(os.path.join(folder, "port"), "w") as out:
        out.write(str(server.server_address[1]))
    server.serve_forever()


main()
