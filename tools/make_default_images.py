#!/usr/bin/env python3
"""Writes the three default images resources/VRDK2280MData_Cfg1..3.

Bytes 0..1023 are the factory configuration. The patch code (784 bytes at 1024)
and the firmware data at 1808..2047 are placeholders: deterministic bytes that
keep every rule the editor checks (the patch checksum is 0x75F0).
Run from the repository root: python3 tools/make_default_images.py
"""
import pathlib

CONFIG_HEX = """
1B CF 08 B8 BF 1F 7F 4F AF 20 35 29 10 30 1A 00
00 45 02 EF 10 EF 10 EF 10 FF 10 50 03 01 02 48
96 FA 20 1E 02 01 20 00 06 87 FE 05 63 98 BA 00
00 00 00 FF 00 64 00 64 08 FF 00 00 00 00 FF FF
FF 00 00 FF 00 00 FF 7F 00 7F FF 7F FF 00 FF 00
00 00 00 FF 00 FF 00 FF 00 00 00 FF 00 00 00 FF
FF FF 00 00 FF FF FF 00 FF 80 00 FF 00 00 FF 48
49 44 20 47 61 6D 69 6E 67 20 4D 6F 75 73 65 00
00 00 00 0E 00 00 00 07 81 F0 18 07 D1 F0 18 00
00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 00
00 00 00 F3 01 84 02 00 0F 00 20 00 00 00 00 00
00 00 00 00 00 00 00 00 00 00 00 00 00 00 00 EC
01 01 00 00 01 10 00 00 06 92 00 3C 01 02 00 00
01 08 00 02 09 01 00 08 01 04 00 00 09 00 00 08
09 02 00 08 00 00 00 00 00 00 00 00 00 00 00 00
6A 01 01 00 00 01 10 00 00 0B 12 01 08 01 02 00
00 01 08 00 02 0B 11 01 08 01 04 00 00 09 00 00
08 0B 15 02 08 00 00 00 00 00 00 00 00 00 00 00
00 F6 01 01 00 00 01 08 00 02 06 92 00 3C 01 02
00 00 01 10 00 00 02 08 07 00 01 04 00 00 09 00
00 08 08 00 00 00 00 00 00 00 00 00 00 00 00 00
00 00 7E
"""

PATCH_LENGTH = 0x0310
PATCH_SUM = 0x75F0 ^ 0x015A  # the stored checksum is the 16-bit sum XOR 0x015A


def lcg(seed):
    while True:
        seed = (seed * 1103515245 + 12345) & 0x7FFFFFFF
        yield (seed >> 16) & 0xFF


def patch_code():
    gen = lcg(2280)
    code = [next(gen) for _ in range(PATCH_LENGTH)]
    missing = (PATCH_SUM - sum(code)) & 0xFFFF
    for i in range(PATCH_LENGTH):
        step = min(missing, 0xFF - code[i])
        code[i] += step
        missing -= step
    assert missing == 0 and (sum(code) & 0xFFFF) ^ 0x015A == 0x75F0
    return code


def image():
    data = [int(b, 16) for b in CONFIG_HEX.split()]
    assert len(data) == 339
    data += [0xFF] * (484 - 339)
    data += [0xFF, 0xFF, 0x02, 0x00, 0x3C, 0x04, 0x00, 0x3C, 0x07, 0x00, 0x3C, 0xE0]
    data += [0x00] * 512
    data += [0x04, 0x00, 0x03, 0x10, 0x00, 0x1A, 0x75, 0xF0,
             0x02, 0x81, 0x00, 0x00, 0x00, 0x00, 0x00, 0xD9]
    data += patch_code()
    gen = lcg(1808)
    data += [next(gen) for _ in range(2048 - len(data))]
    assert len(data) == 2048
    return bytes(data)


if __name__ == "__main__":
    out = pathlib.Path("resources")
    for n in (1, 2, 3):
        (out / f"VRDK2280MData_Cfg{n}").write_bytes(image())
