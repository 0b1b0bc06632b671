"""The demo's web server for online update: the index that the demo registry's "UpdateIni" names
parses as an INI file, offers newer versions than the demo's applications carry, every setup it
names is served as a Windows program, and the digests it gives are the setups' own (hashlib)."""
import configparser
import hashlib
import os
import pathlib
import re
import subprocess
import sys
import tempfile
import urllib.request

build = pathlib.Path(sys.argv[1]).resolve()
root = pathlib.Path(__file__).resolve().parents[2]
prefix = build / "wineprefix"
if not (prefix / "drive_c/windows/system32/winver.exe").exists():
    print("SKIP: no Wine prefix to take the demo setup from")
    sys.exit(0)

reg = (root / "tools/demo/Brantel.reg").read_text(encoding="latin-1")
address = re.search(r'"UpdateIni"="([^"]+)"', reg).group(1)
releases = dict(re.findall(r'@="([^"]+)"\s*\n(?:"[^\n]*\n)*?"ReleaseVersion"="([^"]+)"', reg))


def number(version):
    parts = [int(re.sub(r"\D+$", "", p)) for p in version.split(".")]
    parts += [0] * (4 - len(parts))
    value = 0
    for p in parts:
        value = value * 100 + p
    return value


with tempfile.TemporaryDirectory() as scratch:
    env = dict(os.environ, WINEPREFIX=str(prefix))
    subprocess.run(["bash", str(root / "tools/demo-web.sh"), "start", scratch], check=True, env=env)
    try:
        index = urllib.request.urlopen(address, timeout=5).read().decode("latin-1")
        assert "\r\n" in index, "the index has Windows line ends"
        ini = configparser.ConfigParser(interpolation=None)
        ini.optionxform = str
        ini.read_string(index)
        newer = [s for s in ini.sections() if s in releases and number(releases[s]) < number(ini[s]["ReleaseVersion"])]
        assert newer, f"no section offers a newer version than the demo registry's {releases}"
        digests = 0
        for section in newer:
            for key in ("UpdateExe", "UpgradeExe"):
                url = ini[section].get(key, "")
                if not url:
                    continue
                with urllib.request.urlopen(url, timeout=5) as answer:
                    body = answer.read()
                    assert answer.status == 200, (url, answer.status)
                    assert body[:2] == b"MZ", f"{url} is not a Windows program"
                    size_kb = ini[section].getint(key.replace("Exe", "Size"))
                    assert size_kb == (len(body) + 1023) // 1024, (url, size_kb, len(body))
                    digest = ini[section].get(key.replace("Exe", "SHA256"), "")
                    if digest:
                        assert digest == hashlib.sha256(body).hexdigest(), (url, digest)
                        digests += 1
        assert digests, "no setup of the demo has a digest"
        print("demo update index offers", newer)
    finally:
        subprocess.run(["bash", str(root / "tools/demo-web.sh"), "stop", scratch], check=True, env=env)
