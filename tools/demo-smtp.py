#!/usr/bin/env python3
"""The demo's mail server: takes every message on 127.0.0.1:<port> and keeps it as <folder>/NNN.eml,
so that e-mailing a helpdesk report works in make run.   usage: demo-smtp.py <folder> <port>"""
import os
import sys
import warnings

warnings.simplefilter("ignore", DeprecationWarning)
import asyncore  # noqa: E402
import smtpd  # noqa: E402


class Keeper(smtpd.SMTPServer):
    def __init__(self, folder, port):
        super().__init__(("127.0.0.1", port), None, decode_data=False)
        self.folder = folder

    def process_message(self, peer, mailfrom, rcpttos, data, **kwargs):
        count = len([n for n in os.listdir(self.folder) if n.endswith(".eml")])
        name = os.path.join(self.folder, "%03d.eml" % (count + 1))
        with open(name, "wb") as out:
            out.write(data)
        print("demo mail from %s to %s kept as %s" % (mailfrom, ", ".join(rcpttos), name), flush=True)


def main():
    folder = os.path.abspath(sys.argv[1])
    os.makedirs(folder, exist_ok=True)
    Keeper(folder, int(sys.argv[2]))
    asyncore.loop(timeout=0.5)


main()
