"""Writes the seed corpus of fuzz_image_files: small files of every layout
each reader takes, as the fuzzer sees them (the byte choosing the signature,
then the file after it). Needs Pillow and cjpeg.

    /usr/bin/python3 tests/fuzz/make_image_seeds.py
"""
import io
import os
import struct
import subprocess

from PIL import Image

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "corpus", "fuzz_image_files")
SIGNATURES = [b"II*\0", b"MM\0*", b"\x89PNG\r\n\x1a\n", b"\xff\xd8\xff", b"BM", b"P5", b"P6"]


def seed(name, data):
    choice = next(i for i, s in enumerate(SIGNATURES) if data.startswith(s))
    with open(os.path.join(OUT, name), "wb") as file:
        file.write(bytes([choice]) + data[len(SIGNATURES[choice]):])


def saved(image, format, **options):
    buffer = io.BytesIO()
    image.save(buffer, format, **options)
    return buffer.getvalue()


def bmp(info_size, bits, compression, pixels, masks=()):
    info = struct.pack("<IiiHHIIiiII", info_size, 4, -2, 1, bits, compression, len(pixels), 0, 0, 0, 0)
    info = (info + b"".join(struct.pack("<I", m) for m in masks)).ljust(info_size, b"\0")
    offset = 14 + len(info)
    return b"BM" + struct.pack("<IHHI", offset + len(pixels), 0, 0, offset) + info + pixels


os.makedirs(OUT, exist_ok=True)
image = Image.new("RGB", (4, 2))
image.putdata([(i * 40, 255 - i * 30, i * i) for i in range(8)])
seed("tiff-rgb", saved(image, "TIFF"))
seed("png-rgba", saved(image.convert("RGBA"), "PNG"))
seed("jpeg-grey", saved(image.convert("L"), "JPEG"))
seed("jpeg-rgb", saved(image, "JPEG", subsampling=2))
seed("jpeg-progressive", saved(image, "JPEG", progressive=True))
seed("jpeg-cmyk", saved(image.convert("CMYK"), "JPEG"))
ppm = saved(image, "PPM")
for name, options in (("jpeg-arithmetic", ["-arithmetic"]), ("jpeg-restarts", ["-restart", "1B"])):
    seed(name, subprocess.run(["cjpeg", *options], input=ppm, capture_output=True, check=True).stdout)
seed("bmp-bgr", saved(image, "BMP"))
seed("bmp-palette", saved(image.convert("P"), "BMP"))
seed("bmp-one-bit", saved(image.convert("1"), "BMP"))
seed("bmp-565", bmp(40, 16, 3, bytes(range(16)), (0xF800, 0x07E0, 0x001F)))
seed("bmp-alpha", bmp(124, 32, 3, bytes(range(32)), (0xFF0000, 0xFF00, 0xFF, 0xFF000000)))
seed("pgm", saved(image.convert("L"), "PPM"))
seed("pgm-16", b"P5\n# 16 bits\n4 2\n1023\n" + bytes(range(16)))
seed("ppm", ppm)
