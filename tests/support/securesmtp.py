"""A small SMTP server on 127.0.0.1 for the checks, on the standard library's socket and ssl: plain,
STARTTLS or TLS from the first byte, with AUTH PLAIN and/or LOGIN, and a certificate authority made
for the run with openssl. It records every session: the commands as they arrived, whether TLS was on
at that moment, the log-ins, and the messages."""
import base64
import os
import socket
import ssl
import subprocess
import threading


def make_authority(folder, host="localhost"):
    """A certificate authority and a server certificate for `host` signed by it, in `folder`.
    Returns (ca.der path, server certificate path, server key path)."""
    def run(*args):
        subprocess.run(["openssl"] + list(args), check=True, capture_output=True)
    ca_key, ca_pem, ca_der = (os.path.join(folder, n) for n in ("ca.key", "ca.pem", "ca.der"))
    key, csr, pem = (os.path.join(folder, n) for n in ("server.key", "server.csr", "server.pem"))
    ext = os.path.join(folder, "server.ext")
    run("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", ca_key, "-out", ca_pem, "-days", "30",
        "-subj", "/CN=Bran-Service test authority", "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign")
    run("req", "-newkey", "rsa:2048", "-nodes", "-keyout", key, "-out", csr, "-subj", "/CN=" + host)
    with open(ext, "w") as f:
        f.write("subjectAltName=DNS:%s\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n" % host)
    run("x509", "-req", "-in", csr, "-CA", ca_pem, "-CAkey", ca_key, "-CAcreateserial", "-out", pem,
        "-days", "30", "-extfile", ext)
    run("x509", "-in", ca_pem, "-outform", "der", "-out", ca_der)
    return ca_der, pem, key


class Session:
    def __init__(self):
        self.commands = []  # (command line, tls on)
        self.logins = []  # (mechanism, user, password, accepted)
        self.messages = []  # (mail from, recipients, data bytes, tls on)
        self.tls_failed = False


class SecureSmtpServer:
    """mode: "plain", "starttls" (offered after EHLO) or "tls" (from the first byte).
    mechanisms: the AUTH mechanisms offered; accounts: {user: password}, required when given."""

    def __init__(self, mode, certificate=None, key=None, mechanisms=(), accounts=None, offer_starttls=True):
        self.mode, self.mechanisms, self.accounts = mode, list(mechanisms), accounts or {}
        self.offer_starttls = offer_starttls
        self.context = None
        if certificate:
            self.context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
            self.context.load_cert_chain(certificate, key)
        self.sessions = []
        self.listener = socket.socket()
        self.listener.bind(("127.0.0.1", 0))
        self.listener.listen(8)
        self.port = self.listener.getsockname()[1]
        threading.Thread(target=self._accept, daemon=True).start()

    def messages(self):
        return [m for s in self.sessions for m in s.messages]

    def _accept(self):
        while True:
            try:
                conn, _ = self.listener.accept()
            except OSError:
                return
            session = Session()
            self.sessions.append(session)
            threading.Thread(target=self._serve, args=(conn, session), daemon=True).start()

    def _serve(self, conn, session):
        conn.settimeout(30)
        try:
            if self.mode == "tls":
                try:
                    conn = self.context.wrap_socket(conn, server_side=True)
                except (ssl.SSLError, OSError):
                    session.tls_failed = True
                    return
            self._dialogue(conn, session, self.mode == "tls")
        except (OSError, ValueError):
            pass
        finally:
            try:
                conn.close()
            except OSError:
                pass

    def _dialogue(self, conn, session, tls):
        reader = conn.makefile("rb")

        def send(text):
            conn.sendall(text.encode() + b"\r\n")

        def line():
            data = reader.readline(1000)
            if not data:
                raise ValueError("closed")
            return data.rstrip(b"\r\n").decode("latin-1")

        send("220 localhost test server")
        authenticated = not self.accounts
        while True:
            command = line()
            session.commands.append((command, tls))
            verb = command.split(" ")[0].upper()
            if verb == "EHLO":
                offers = ["localhost"]
                if self.mode == "starttls" and self.offer_starttls and not tls:
                    offers.append("STARTTLS")
                if self.mechanisms and (tls or self.mode == "plain" or not self.offer_starttls):
                    offers.append("AUTH " + " ".join(self.mechanisms))
                offers.append("8BITMIME")
                for i, offer in enumerate(offers):
                    send("250%s%s" % (" " if i == len(offers) - 1 else "-", offer))
            elif verb == "HELO":
                send("250 localhost")
            elif verb == "STARTTLS" and self.mode == "starttls" and self.offer_starttls and not tls:
                send("220 go ahead")
                try:
                    conn = self.context.wrap_socket(conn, server_side=True)
                except (ssl.SSLError, OSError):
                    session.tls_failed = True
                    return
                reader = conn.makefile("rb")
                tls = True
                authenticated = not self.accounts
            elif verb == "AUTH":
                parts = command.split(" ")
                mechanism = parts[1].upper() if len(parts) > 1 else ""
                if mechanism not in self.mechanisms:
                    send("504 mechanism not offered")
                    continue
                if mechanism == "PLAIN":
                    if len(parts) > 2:
                        answer = parts[2]
                    else:
                        send("334 ")
                        answer = line()
                    _, user, password = base64.b64decode(answer).decode("utf-8").split("\0")
                else:
                    send("334 " + base64.b64encode(b"Username:").decode())
                    user = base64.b64decode(line()).decode("utf-8")
                    send("334 " + base64.b64encode(b"Password:").decode())
                    password = base64.b64decode(line()).decode("utf-8")
                accepted = self.accounts.get(user) == password
                session.logins.append((mechanism, user, password, accepted))
                if accepted:
                    authenticated = True
                    send("235 2.7.0 accepted")
                else:
                    send("535 5.7.8 authentication credentials invalid")
            elif verb == "MAIL":
                if not authenticated:
                    send("530 5.7.0 authentication required")
                    continue
                mail_from = command[command.index("<") + 1:command.rindex(">")]
                recipients = []
                send("250 ok")
            elif verb == "RCPT":
                recipients.append(command[command.index("<") + 1:command.rindex(">")])
                send("250 ok")
            elif verb == "DATA":
                send("354 end with a dot")
                data = []
                while True:
                    raw = reader.readline()
                    if not raw or raw == b".\r\n":
                        break
                    data.append(raw[1:] if raw.startswith(b".") else raw)
                session.messages.append((mail_from, recipients, b"".join(data), tls))
                send("250 2.0.0 queued as %d" % len(session.messages))
            elif verb == "QUIT":
                send("221 bye")
                return
            elif verb in ("RSET", "NOOP"):
                send("250 ok")
            else:
                send("502 not implemented")
