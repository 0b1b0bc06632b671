#!/usr/bin/env bash
# Report delivery measured against tools we did not write, in one run on this machine:
#   ZipReportFolder of a 20 MB folder of mixed files   vs  Info-ZIP's zip -6 -j of the same files
#   SendMail with a 10 MB attachment                    vs  Python's smtplib sending the same message
# to Python's own SMTP server on 127.0.0.1, each pair BENCH_RUNS times in turn (so that a busy moment
# of the machine hits both alike), with the spread of the ratios; EmailReport with a 6 MB attachment
# (the whole road: zipping, the message, the dialogue; the helpdesk takes at most 7 MB by e-mail);
# and the memory SendMail takes for a 100 MB attachment (the process's peak working set before and
# after; the attachment is streamed in blocks).
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
# The mail's report zips to an archive of about 6 MB, under what the helpdesk takes by e-mail; the
# transport alone gets an archive of 10 MB.
open(os.path.join(out, "mail", "CASE.RTF"), "wb").write(text(50_000))
open(os.path.join(out, "mail", "bijlage.bin"), "wb").write(noise(6_000_000))
os.makedirs(out + "/mail10")
open(os.path.join(out, "mail10", "CASE.ZIP"), "wb").write(noise(10_000_000))
os.makedirs(out + "/big")
with open(os.path.join(out, "big", "CASE.ZIP"), "wb") as big:
    for _ in range(100):
        big.write(rng.randbytes(1_000_000))
PY
echo "folder: $(du -sb "$work/mixed" | cut -f1) bytes in $(ls "$work/mixed" | wc -l) files"

# Under bench.sh there is a display already; by hand each run gets one of its own.
wine_gui() { if [ -n "${DISPLAY:-}" ]; then wine "$@"; else xvfb-run -a wine "$@"; fi; }
export -f wine_gui
runs=${BENCH_RUNS:-5}

# Zipping: our writer inside the program, then Info-ZIP, each on the same files, run after run.
for run in $(seq 1 "$runs"); do
  ours=$(BRAN_BENCH_FOLDER=$(winpath "$work/mixed") BRAN_BENCH_ARCHIVE=$(winpath "$work/ours.zip") \
    wine_gui "$build/tests/test_deliverybench.exe" --gtest_filter='*BenchmarkZipReportFolder' | tr -d '\r' | grep '^zip ')
  rm -f "$work/infozip.zip"
  start=$(date +%s%N)
  zip -q -6 -j "$work/infozip.zip" "$work"/mixed/*
  echo "$ours $(( $(date +%s%N) - start )) $(stat -c %s "$work/infozip.zip")"
  unzip -tq "$work/ours.zip" >/dev/null || echo "ours.zip fails unzip -t" >&2
  rm -f "$work/ours.zip"
done | python3 -c '
import statistics, sys
rows = [line.split() for line in sys.stdin if line.startswith("zip ")]
ours = [float(r[1]) for r in rows]; ours_b = int(rows[-1][2])
theirs = [int(r[3]) / 1e9 for r in rows]; theirs_b = int(rows[-1][4])
ratios = sorted(o / t for o, t in zip(ours, theirs))
span = lambda v: "%.3f/%.3f/%.3f" % (min(v), statistics.median(v), max(v))
print("ZipReportFolder s %s, %d bytes | zip -6 -j s %s, %d bytes (min/median/max of %d runs in turn)"
      % (span(ours), ours_b, span(theirs), theirs_b, len(rows)))
print("  time ratio %.2fx median, runs %s; size %+.2f%%" % (statistics.median(ratios),
      " ".join("%.2f" % r for r in ratios), (ours_b - theirs_b) * 100 / theirs_b))
'
echo "  (load average $(cut -d' ' -f1-3 /proc/loadavg))"

# Mailing: SendMail (10 MB) to Python's SMTP server, then smtplib sending the message that server
# received, run after run; then the whole EmailReport road once.
python3 - "$build" "$work" "$PWD/tests/support" "$runs" <<'PY'
import os, smtplib, statistics, subprocess, sys, time
build, work, runs = sys.argv[1], sys.argv[2], int(sys.argv[4])
sys.path.insert(0, sys.argv[3])
from checksupport import SmtpSink
server = SmtpSink()
server.data_size_limit = None
port = server.port
wine = ["wine"] if os.environ.get("DISPLAY") else ["xvfb-run", "-a", "wine"]
bench = build + "/tests/test_deliverybench.exe"
def ours(test, prefix, field, **env):
    run = subprocess.run(wine + [bench, "--gtest_filter=*" + test], env=dict(os.environ, BRAN_SMTP_SERVER="127.0.0.1:%d" % port, **env),
                         capture_output=True, text=True)
    return float([l for l in run.stdout.splitlines() if l.startswith(prefix + " ")][0].split()[field])
attachment = "Z:" + (work + "/mail10/CASE.ZIP").replace("/", "\\")
times, theirs = [], []
for _ in range(runs):
    times.append(ours("BenchmarkMailMemory", "mailmemory", 5, BRAN_BENCH_ATTACHMENT=attachment))
    mailfrom, rcpttos, data = server.received[-1]
    start = time.perf_counter()
    with smtplib.SMTP("127.0.0.1", port) as s:
        s.sendmail(mailfrom, rcpttos, data)
    theirs.append(time.perf_counter() - start)
ratios = sorted(o / t for o, t in zip(times, theirs))
span = lambda v: "%.3f/%.3f/%.3f" % (min(v), statistics.median(v), max(v))
print("SendMail 10 MB s %s (%d bytes on the wire) | smtplib s %s (min/median/max of %d runs in turn)"
      % (span(times), len(data), span(theirs), runs))
print("  time ratio %.2fx median, runs %s" % (statistics.median(ratios), " ".join("%.2f" % r for r in ratios)))
whole = ours("BenchmarkEmailReport", "mail", 1, BRAN_BENCH_FOLDER="Z:" + (work + "/mail").replace("/", "\\"))
print("EmailReport, 6 MB attachment (zipping, message, dialogue): %.3f s" % whole)
PY
echo "  (load average $(cut -d' ' -f1-3 /proc/loadavg))"

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
size, before, after, block = (int(v) for v in lines[0].split()[1:5])
mb = 1024 * 1024
print("SendMail %d MB attachment (%d MB on the wire): peak memory %.1f MB before, %.1f MB after: +%.2f MB "
      "(blocks of %d KB; the attachment %.0f times the rise)"
      % (size // 1_000_000, server.received[0] // 1_000_000, before / mb, after / mb, (after - before) / mb,
         block // 1024, size / max(after - before, 1)))
PY
