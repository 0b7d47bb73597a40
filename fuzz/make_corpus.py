#!/usr/bin/env python3
"""Writes the seed corpora of the store fuzzers (profile file, ConfigInfo, Macro.cfg) from the
record layouts, so that the seeds stay readable as code rather than opaque binaries."""
import os
import struct
import sys

root = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus")


def put(target, name, data):
    folder = os.path.join(root, target)
    os.makedirs(folder, exist_ok=True)
    with open(os.path.join(folder, name), "wb") as f:
        f.write(data)


def text_field(text, units):
    raw = text.encode("utf-16-le")[: 2 * (units - 1)]
    return raw + b"\0" * (2 * units - len(raw))


def default_profile(names):
    block = bytearray(22252)
    struct.pack_into("<I", block, 0, 0x80800265)
    for i, (kind, name) in enumerate(names):
        base = 4 + 3148 * i
        struct.pack_into("<i", block, base, kind)
        block[base + 548 : base + 1068] = text_field(name, 260)
    struct.pack_into("<7i", block, 22040, 750, 1250, 1500, 2000, 2500, 3500, 4000)
    struct.pack_into("<4i", block, 22160, 15, 1, 5, 0)
    struct.pack_into("<4I", block, 22176, 0xFF, 0xFF, 0xFF, 0xFF)
    struct.pack_into("<4i", block, 22192, 1, 1, 1, 1)
    struct.pack_into("<7i", block, 22224, 1, 0, 10, 5, 3, 4, 3)
    return bytes(block)


english = [(1, "Click"), (4, "Middle"), (2, "Menu"), (8, "Forward"), (16, "Back"), (11, "Scroll up"), (22, "Scroll")]
profile = default_profile(english)
put("profile_file", "default-english.cfg", profile)
macro_button = bytearray(profile)
struct.pack_into("<ii", macro_button, 4 + 3148 * 2, 6, 0x15000001)
macro_button[4 + 3148 * 2 + 548 : 4 + 3148 * 2 + 1068] = b"\xff" * 520  # name without terminator
put("profile_file", "macro-button-unterminated.cfg", bytes(macro_button))
put("profile_file", "short.cfg", profile[:100])
put("profile_file", "wrong-signature.cfg", b"\x65\x02\x80\x81" + profile[4:])

table = bytearray(8000)
for slot, active in ((0, 0), (2, 1), (4, 1)):
    struct.pack_into("<Ii", table, 1600 * slot, 0xBEBE, active)
    struct.pack_into("<7i", table, 1600 * slot + 1572, *([0x15000001] + [0] * 6))
put("config_info", "binary-slot3-active.bin", b"\x01" + bytes(table))
put("config_info", "string-typed.bin", b"\x02" + bytes(table[:200]))
put("config_info", "short.bin", b"\x01" + bytes(table[:1604]))


def macro_entry(macro_id, events, name, size=None, count=None):
    entry = bytearray(4104)
    struct.pack_into("<6I", entry, 0, size if size is not None else 4100 + 4 * len(events), 0xE8E80010,
                     macro_id, 0, 1, count if count is not None else len(events))
    struct.pack_into("<%dI" % len(events), entry, 24, *events)
    entry[4024:4104] = text_field(name, 40)
    return bytes(entry)


grenade = [0xC0000047, 0xA0000032, 0xE0000047]
put("macro_cfg", "two-macros.cfg", macro_entry(0x15000001, grenade, "Grenade") +
    macro_entry(0x03000002, [0xC0000001, 0xE0000001], "\u65b0\u5efa\u5b8f"))
put("macro_cfg", "count-beyond-entry.cfg", macro_entry(0x15000003, grenade, "x" * 40, size=4104, count=5000))
put("macro_cfg", "cut-in-entry.cfg", macro_entry(0x15000004, grenade, "Cut")[:3000])

def menu_item(parent, item_id, text):
    return struct.pack("<ii", parent, item_id) + text_field(text, 40)


# Menu fuzzer input: script length, script (op, argument pairs), then MenuExItem records.
categories = [menu_item(0xFF, i, "Category %d" % i) for i in range(1, 17)]
categories += [menu_item(16, 17, "Minecraft"), menu_item(16, 18, "Neverwinter"), menu_item(16, 19, "Online"),
               menu_item(19, 20, "Path of Exile"), menu_item(19, 21, "War Thunder")]
walk = bytes([0x00, 0x78, 0x00, 0x79, 0x20, 0x79, 0x40, 0x79, 0x60, 0x01, 0x60, 0x03, 0x60, 0x06, 0x60, 0x07])
put("menu_ex", "categories-walk.bin", bytes([len(walk)]) + walk + b"".join(categories) + bytes(88 * 179))
loops = [menu_item(2, 1, "a"), menu_item(1, 2, "b"), menu_item(77, 3, "orphan"), menu_item(3, 3, "self"),
         struct.pack("<ii", 0xFF, 9) + ("W" * 40).encode("utf-16-le")]
put("menu_ex", "bad-records.bin", bytes([4, 0x00, 0x08, 0x20, 0x08]) + b"".join(loops))
sys.exit(0)
