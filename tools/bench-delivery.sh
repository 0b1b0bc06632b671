#!/usr/bin/env bash
# Report delivery measured against tools we did not write, in one run on this machine:
#   ZipReportFolder of a 20 MB folder of mixed files   vs  Info-ZIP's zip -6 -j of the same files
#   EmailReport with a 6 MB attachment                  vs  Python's smtplib sending the same message
# to Python's own SMTP server on 127.0.0.1, and the memory SendMail takes for a 100 MB attachment (the
# process's peak working set before and after; the attachment is streamed in blocks).
#   usage: tools/bench-delivery.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/wine-env.sh "$build/wineprefix"
work=$(mktemp -d)
trap 'rm -rf "$work"; wineserver -k >/dev/null 2>&1 || true' EXIT
winpath() { echo "Z:${1//\//\\}"; }
wineserver -p

python3 - "$work" <<'PY'
import os, random, sys
# 20 MB of what reports carry: logs and text, screenshots (bitmaps with large even areas), and
# already compressed data that deflate cannot shrink.
out = sys.argv[1]
rng = random.Random(16)
os.makedirs(out + "/mixed"); os.makedirs(out + "/mail")
words = [b"fout", b"boeking", b"factuur", b"kasboek", b"regel", b"datum", b"bedrag", b"klant", b"0x%04X"]
def text(size):
    lines = []
    n = 0
    while n < size:
        line = b"%05d " % rng.randrange(99999) + b" ".join(rng.choice(words) for _ in range(rng.randrange(4, 14))) + b"\r\n"
        lines.append(line); n += len(line)
    return b"".join(lines)[:size]
def bitmap(size):
    row = bytes(rng.randrange(256) for _ in range(64)) * 16
    return b"".join(row if rng.random() < 0.8 else bytes(rng.randrange(256) for _ in range(1024)) for _ in range(size // 1024))
def noise(size):
    return rng.randbytes(size)
files = [("CASE.RTF", text(300_000)), ("CASE.INI", text(4_000)), ("programma.log", text(6_000_000)),
         ("installatie.log", text(2_000_000)), ("scherm1.bmp", bitmap(4_000_000)), ("scherm2.bmp", bitmap(3_000_000)),
         ("backup.zip", noise(3_000_000)), ("foto.jpg", noise(1_700_000))]
for name, data in files:
    open(os.path.join(out, "mixed", name), "wb").write(data)
# The mail's report zips to an archive of about 6 MB, under what the helpdesk takes by e-mail.
open(os.path.join(out, "mail", "CASE.RTF"), "wb").write(text(50_000))
open(os.path.join(out, "mail", "bijlage.bin"), "wb").write(noise(6_000_000))
os.makedirs(out + "/big")
with open(os.path.join(out, "big", "CASE.ZIP"), "wb") as big:
    for _ in range(100):
        big.write(rng.randbytes(1_000_000))
PY
echo "folder: $(du -sb "$work/mixed" | cut -f1) bytes in $(ls "$work/mixed" | wc -l) files"

# Zipping: our writer inside the program, then Info-ZIP, each on the same files.
ours=$(BRAN_BENCH_FOLDER=$(winpath "$work/mixed") BRAN_BENCH_ARCHIVE=$(winpath "$work/ours.zip") \
  xvfb-run -a wine "$build/tests/test_deliverybench.exe" --gtest_filter='*BenchmarkZipReportFolder' | tr -d '\r' | grep '^zip ')
start=$(date +%s%N)
zip -q -6 -j "$work/infozip.zip" "$work"/mixed/*
infozip_ns=$(( $(date +%s%N) - start ))
unzip -tq "$work/ours.zip" >/dev/null
python3 - "$ours" "$infozip_ns" "$(stat -c %s "$work/infozip.zip")" <<'PY'
import sys
_, ours_s, ours_b = sys.argv[1].split()
ours_s, ours_b = float(ours_s), int(ours_b)
zip_s, zip_b = int(sys.argv[2]) / 1e9, int(sys.argv[3])
print("ZipReportFolder %.3f s %d bytes | zip -6 -j %.3f s %d bytes | time %.2fx, size %+.2f%%"
      % (ours_s, ours_b, zip_s, zip_b, ours_s / zip_s, (ours_b - zip_b) * 100 / zip_b))
PY

# Mailing: EmailReport to Python's SMTP server, then smtplib sending the message that server received.
python3 - "$build" "$work" "$PWD/tests/support" <<'PY'
import os, smtplib, subprocess, sys, time
build, work = sys.argv[1], sys.argv[2]
sys.path.insert(0, sys.argv[3])
from checksupport import SmtpSink
server = SmtpSink()
port = server.port
env = dict(os.environ, BRAN_BENCH_FOLDER="Z:" + (work + "/mail").replace("/", "\\"), BRAN_SMTP_SERVER="127.0.0.1:%d" % port)
run = subprocess.run(["xvfb-run", "-a", "wine", build + "/tests/test_deliverybench.exe", "--gtest_filter=*BenchmarkEmailReport"],
                     env=env, capture_output=True, text=True)
ours = float([l for l in run.stdout.splitlines() if l.startswith("mail ")][0].split()[1])
mailfrom, rcpttos, data = server.received[0]
start = time.perf_counter()
with smtplib.SMTP("127.0.0.1", port) as s:
    s.sendmail(mailfrom, rcpttos, data)
theirs = time.perf_counter() - start
print("EmailReport %.3f s (%d bytes on the wire) | smtplib %.3f s | %.2fx" % (ours, len(data), theirs, ours / theirs))
PY

# Memory: SendMail of a 100 MB attachment to a server that keeps nothing.
python3 - "$build" "$work" "$PWD/tests/support" <<'PY'
import os, subprocess, sys
build, work = sys.argv[1], sys.argv[2]
sys.path.insert(0, sys.argv[3])
from checksupport import SmtpSink
class Swallow(SmtpSink):
    def __init__(self):
        super().__init__()
        self.data_size_limit = None
    def process_message(self, peer, mailfrom, rcpttos, data, **kwargs):
        self.received.append(len(data))
server = Swallow()
env = dict(os.environ, BRAN_BENCH_ATTACHMENT="Z:" + (work + "/big/CASE.ZIP").replace("/", "\\"),
           BRAN_SMTP_SERVER="127.0.0.1:%d" % server.port)
run = subprocess.run(["xvfb-run", "-a", "wine", build + "/tests/test_deliverybench.exe", "--gtest_filter=*BenchmarkMailMemory"],
                     env=env, capture_output=True, text=True)
lines = [l for l in run.stdout.splitlines() if l.startswith("mailmemory ")]
if not lines or not server.received:
    print("SendMail 100 MB attachment: failed\n" + run.stdout[-2000:])
    sys.exit(0)
size, before, after, block = (int(v) for v in lines[0].split()[1:])
mb = 1024 * 1024
print("SendMail %d MB attachment (%d MB on the wire): peak memory %.1f MB before, %.1f MB after: +%.2f MB "
      "(blocks of %d KB; the attachment %.0f times the rise)"
      % (size // 1_000_000, server.received[0] // 1_000_000, before / mb, after / mb, (after - before) / mb,
         block // 1024, size / max(after - before, 1)))
PY
