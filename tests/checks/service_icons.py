#!/usr/bin/env python3
"""The executable carries a picture for every service image index and for the three view buttons:
large 32, 40, 48 and 64 and small 16, 20 and 24 pixels (glyphs 16, 20, 24 and 32), one size for each
common screen density, 32 bits with alpha, each a real drawing (partly
transparent, more than one colour) and no two of them alike.   usage: service_icons.py <build-folder>"""
import os
import re
import struct
import sys

RT_ICON, RT_GROUP_ICON = 3, 14
SOURCE = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..")


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def defines():
    text = open(os.path.join(SOURCE, "resources", "resource.h"), encoding="utf-8").read()
    return {name: int(value) for name, value in re.findall(r"#define\s+(\w+)\s+(\d+)", text)}


def resources(exe):
    """{type: {id: bytes}} of the first language of each entry of the PE's resource section."""
    data = open(exe, "rb").read()
    pe = struct.unpack_from("<I", data, 0x3C)[0]
    sections, optional_size = struct.unpack_from("<H12xH", data, pe + 6)
    table = pe + 24 + optional_size
    for i in range(sections):
        name, virtual_size, rva, raw_size, raw = struct.unpack_from("<8sIIII", data, table + 40 * i)
        if name.rstrip(b"\0") == b".rsrc":
            break
    else:
        fail("no resource section")

    def entries(offset):
        named, numbered = struct.unpack_from("<12xHH", data, raw + offset)
        for k in range(named + numbered):
            ident, target = struct.unpack_from("<II", data, raw + offset + 16 + 8 * k)
            yield ident, target

    found = {}
    for kind, type_dir in entries(0):
        for ident, name_dir in entries(type_dir & 0x7FFFFFFF):
            _, leaf = next(entries(name_dir & 0x7FFFFFFF))
            data_rva, size = struct.unpack_from("<II", data, raw + leaf)
            found.setdefault(kind, {})[ident] = data[raw + data_rva - rva:raw + data_rva - rva + size]
    return found


def images(group, icons):
    """[(width, height, bits, pixels as (b, g, r, a))] of one group icon."""
    count = struct.unpack_from("<4xH", group)[0]
    result = []
    for k in range(count):
        width, height, _, _, _, bits, _, ident = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * k)
        bitmap = icons[ident]
        header_size = struct.unpack_from("<I", bitmap)[0]
        pixels = [struct.unpack_from("4B", bitmap, header_size + 4 * p) for p in range(width * height)] \
            if bits == 32 else []
        result.append((width or 256, height or 256, bits, pixels))
    return result


def check(name, group, icons, sizes):
    pictures = images(group, icons)
    got = sorted((w, h) for w, h, _, _ in pictures)
    if got != sorted((s, s) for s in sizes):
        fail(f"{name}: sizes {got}, expected {sizes}")
    for width, _, bits, pixels in pictures:
        if bits != 32:
            fail(f"{name} {width}: {bits} bits, expected 32 with alpha")
        drawn = [p for p in pixels if p[3] > 0]
        if not 0.15 <= len(drawn) / len(pixels) <= 0.99:
            fail(f"{name} {width}: {len(drawn)} of {len(pixels)} pixels drawn; blank or a filled square")
        if len({p[:3] for p in drawn if p[3] == 255}) < 2:
            fail(f"{name} {width}: a single colour")
    return tuple(tuple(p) for p in pictures[0][3])


def main():
    exe = os.path.join(sys.argv[1], "BranService.exe")
    ids = defines()
    found = resources(exe)
    groups, icons = found.get(RT_GROUP_ICON, {}), found.get(RT_ICON, {})
    icon_sizes, glyph_sizes = (64, 48, 40, 32, 24, 20, 16), (32, 24, 20, 16)
    wanted = [(f"service {i}", ids["IDI_SERVICE_FIRST"] + i, icon_sizes) for i in range(ids["IDI_SERVICE_COUNT"])]
    wanted += [(n, ids[n], glyph_sizes) for n in ("IDI_VIEW_LARGEICONS", "IDI_VIEW_LIST", "IDI_VIEW_DETAILS")]
    seen = {}
    for name, ident, sizes in wanted:
        if ident not in groups:
            fail(f"{name}: no icon {ident} in {exe}")
        first = check(name, groups[ident], icons, sizes)
        if first in seen:
            fail(f"{name} looks the same as {seen[first]}")
        seen[first] = name
    print(f"service icons: {len(wanted)} pictures in the executable, all drawn and all different")


main()
