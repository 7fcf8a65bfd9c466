#!/usr/bin/env python3
"""Writes the default images: resources/VRDK2280MData_Cfg1..3 for "I2C" mice
and resources/VRDK2280MData_Flash_Cfg1..3 for "Flash" mice.

Bytes 0..1023 of the "I2C" image are the factory configuration. The patch code
(784 bytes at 1024) and the firmware data at 1808..2047 are placeholders:
deterministic bytes that keep every rule the editor checks (the patch checksum
is 0x75F0).

The "Flash" image (32 pages of 2048 bytes, erased bytes 0xFF) holds the same
factory configuration laid out by the flash map: the Vendor section on page 0;
the page-1 block at 0x1000 (the 24-byte info block, the three Profile
sections, the Reserved block, zeros to 256 bytes); the User section on page
4; an empty macro name table on page 6 over 32 empty macro slots on pages
8..11, so a new mouse holds no macros; the Fire section with the "Flash" marker on page
12; and the 1024-byte patch area on page 24 (the "I2C" placeholder patch and
zeros, so its checksum is 0x75F0 too, recorded in info block bytes 8..15).
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


def flash_image():
    i2c = image()
    flash = bytearray([0xFF] * (32 * 2048))

    def place(at, data):
        flash[at:at + len(data)] = data

    place(0x0000, i2c[0:164])                       # Vendor section
    patch = i2c[1024:1024 + PATCH_LENGTH] + bytes(1024 - PATCH_LENGTH)
    checksum = (sum(patch) & 0xFFFF) ^ 0x015A
    info = bytearray(24)                            # byte 0 = 0: the patch may be replaced
    info[8:16] = bytes([0xC0, 0x00, 0x04, 0x00, 0x00, 0x1A, checksum >> 8, checksum & 0xFF])
    page1 = bytes(info) + i2c[192:339] + i2c[339:380]
    place(0x1000, page1 + bytes(256 - len(page1)))  # info, profiles, reserved, zeros
    place(0x2000, i2c[164:192])                     # User section
    place(0x3000, bytes(32 * 16))                   # no macro names: no macros
    place(0x4000, bytes(32 * 256))                  # empty macro slots
    place(0x6000, i2c[484:495] + bytes([0xF0]))     # Fire section, "Flash" marker
    place(0xC000, patch)
    assert checksum == 0x75F0 and len(flash) == 65536
    return bytes(flash)


if __name__ == "__main__":
    out = pathlib.Path("resources")
    for n in (1, 2, 3):
        (out / f"VRDK2280MData_Cfg{n}").write_bytes(image())
        (out / f"VRDK2280MData_Flash_Cfg{n}").write_bytes(flash_image())
