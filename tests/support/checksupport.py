"""Shared by the native check scripts of tests/checks: failing with a message, and Python's own SMTP
server on 127.0.0.1 recording what it receives."""
import sys
import threading
import warnings

warnings.simplefilter("ignore", DeprecationWarning)
import asyncore  # noqa: E402
import smtpd  # noqa: E402


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


class SmtpSink(smtpd.SMTPServer):
    """Every message as (mail from, recipients, data), in the order received."""

    def __init__(self):
        super().__init__(("127.0.0.1", 0), None, decode_data=False)
        self.received = []
        self.port = self.socket.getsockname()[1]
        threading.Thread(target=asyncore.loop, kwargs={"timeout": 0.2}, daemon=True).start()

    def process_message(self, peer, mailfrom, rcpttos, data, **kwargs):
        self.received.append((mailfrom, rcpttos, data))
