#!/usr/bin/env python3
"""Verified downloads against servers and digests we did not write (SecureUpdate tests of
test_onlineupdate): setups whose SHA-256 Python's hashlib computed, right and wrong, served over
HTTP; and the update index over HTTPS from Python's ssl module, once with a self-made certificate
that must be refused and once with a certificate of a root the test trusts (openssl made both).
   usage: secure_update.py <build-folder>"""
import hashlib
import http.server
import os
import random
import shutil
import ssl
import subprocess
import sys
import tempfile
import threading


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def openssl(*arguments, cwd):
    done = subprocess.run(["openssl", *arguments], cwd=cwd, capture_output=True, text=True)
    if done.returncode != 0:
        fail("openssl " + " ".join(arguments) + "\n" + done.stderr)


class Quiet(http.server.SimpleHTTPRequestHandler):
    def log_message(self, *args):
        pass


def serve(folder, context=None):
    """A web server on 127.0.0.1 for the folder, in a thread; its port."""
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), lambda *a: Quiet(*a, directory=folder))
    if context:
        server.socket = context.wrap_socket(server.socket, server_side=True)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server.server_address[1]


def tls_context(pki, name):
    context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
    context.load_cert_chain(os.path.join(pki, name + ".pem"), os.path.join(pki, name + ".key"))
    return context


def make_certificates(pki, crl_url):
    """A root the test trusts with a server certificate for localhost (its revocation list where the
    certificate says), and a self-made certificate for localhost that nobody trusts."""
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem", "-days", "3650",
            "-subj", "/CN=Brantel Test Root", "-addext", "basicConstraints=critical,CA:TRUE",
            "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=pki)
    openssl("x509", "-in", "ca.pem", "-outform", "der", "-out", "ca.der", cwd=pki)
    openssl("req", "-newkey", "rsa:2048", "-nodes", "-keyout", "server.key", "-out", "server.csr",
            "-subj", "/CN=localhost", cwd=pki)
    with open(os.path.join(pki, "server.ext"), "w") as ext:
        ext.write("subjectAltName=DNS:localhost\nextendedKeyUsage=serverAuth\nbasicConstraints=CA:FALSE\n"
                  "crlDistributionPoints=URI:%s\n" % crl_url)
    openssl("x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key", "-CAcreateserial",
            "-out", "server.pem", "-days", "3650", "-extfile", "server.ext", cwd=pki)
    os.makedirs(os.path.join(pki, "db"))
    open(os.path.join(pki, "db", "index.txt"), "w").close()
    with open(os.path.join(pki, "db", "crlnumber"), "w") as number:
        number.write("01\n")
    with open(os.path.join(pki, "ca.cnf"), "w") as cnf:
        cnf.write("[ca]\ndefault_ca=c\n[c]\ndatabase=db/index.txt\ncrlnumber=db/crlnumber\n"
                  "default_md=sha256\ndefault_crl_days=3650\n")
    openssl("ca", "-config", "ca.cnf", "-gencrl", "-keyfile", "ca.key", "-cert", "ca.pem", "-out", "ca.crl.pem", cwd=pki)
    openssl("crl", "-in", "ca.crl.pem", "-outform", "der", "-out", "ca.crl", cwd=pki)
    openssl("req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "self.key", "-out", "self.pem", "-days", "3650",
            "-subj", "/CN=localhost", "-addext", "subjectAltName=DNS:localhost", cwd=pki)


def run_test(build, name, env):
    done = subprocess.run(["wine", os.path.join(build, "tests", "test_onlineupdate.exe"), "--gtest_filter=" + name],
                          env=env, capture_output=True, text=True, timeout=240)
    if done.returncode != 0 or "[  PASSED  ] 1 test" not in done.stdout or "SKIPPED" in done.stdout:
        fail(name + " failed\n" + done.stdout + done.stderr)


def main():
    build = os.path.abspath(sys.argv[1])
    if not shutil.which("openssl"):
        print("SKIP: openssl is not installed")
        sys.exit(77)
    with tempfile.TemporaryDirectory() as work:
        web, pki, crl = (os.path.join(work, name) for name in ("web", "pki", "crl"))
        for folder in (web, pki, crl):
            os.makedirs(folder)
        windows = lambda path: "Z:" + path.replace("/", "\\")  # noqa: E731

        # Digests: sizes around the reader's 16 kB buffer and one of many buffers.
        random.seed(28)
        port = serve(web)
        lines = []
        for size in (1, 55, 64, 16384, 16385, 1000003):
            name = "setup%d.exe" % size
            body = bytes(random.getrandbits(8) for _ in range(size))
            with open(os.path.join(web, name), "wb") as out:
                out.write(body)
            url = "http://127.0.0.1:%d/%s" % (port, name)
            digest = hashlib.sha256(body).hexdigest()
            wrong = hashlib.sha256(body + b"\0").hexdigest()
            lines += ["%s\t%s\tok" % (url, digest), "%s\t%s\tok" % (url, digest.upper()), "%s\t%s\tdamaged" % (url, wrong)]
        manifest = os.path.join(work, "digests.txt")
        with open(manifest, "w") as out:
            out.write("\n".join(lines) + "\n")
        run_test(build, "SecureUpdate.DigestsAreTheOnesHashlibComputes", dict(os.environ, BRAN_DIGEST_MANIFEST=windows(manifest)))

        # HTTPS: the index and its setup, the setup with its digest.
        crl_port = serve(crl)
        make_certificates(pki, "http://127.0.0.1:%d/ca.crl" % crl_port)
        shutil.copy(os.path.join(pki, "ca.crl"), crl)
        setup = b"MZ" + bytes(random.getrandbits(8) for _ in range(40000))
        with open(os.path.join(web, "setup.exe"), "wb") as out:
            out.write(setup)
        trusted = serve(web, tls_context(pki, "server"))
        refused = serve(web, tls_context(pki, "self"))
        with open(os.path.join(web, "iupdate.dat"), "w", newline="\r\n") as index:
            index.write("[Bran-Service]\nReleaseVersion=9.0\nReleaseDate=20261201\nUpdateSize=%d\n"
                        "UpdateExe=https://localhost:%d/setup.exe\nUpdateSHA256=%s\n"
                        % ((len(setup) + 1023) // 1024, trusted, hashlib.sha256(setup).hexdigest()))
        env = dict(os.environ, BRAN_HTTPS_CA=windows(os.path.join(pki, "ca.der")),
                   BRAN_HTTPS_TRUSTED="https://localhost:%d/iupdate.dat" % trusted,
                   BRAN_HTTPS_REFUSED="https://localhost:%d/iupdate.dat" % refused)
        run_test(build, "SecureUpdate.HttpsIsTheCertificatesOrNothing", env)
    print("digests agree with hashlib; a self-made certificate is refused, a trusted one accepted")


main()
