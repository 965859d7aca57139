"""Images from outside read by gridsmith-host: JPEGs decode to the pixels
libjpeg-turbo's own djpeg gives; cut, damaged and oversized files of every
format read are refused by name, before their pixels' memory is taken; a
batch of a thousand bad files keeps its memory flat.

    image_readers_test.py <gridsmith-host>

Pictures are made here with Pillow; peak memory is the host process's
largest resident set, as the kernel counts it.
"""
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zlib

from PIL import Image

HOST = os.path.abspath(sys.argv[1])
work = tempfile.mkdtemp(prefix="gridsmith_readers_")
# A table of one cell without lines or fill: the host writes the pixels it read.
NOTHING_DRAWN = ["--set", "Rows=1", "--set", "Cols=1", "--set", "Borders=0", "--set", "FillBkGnd=0"]
tally = {"passed": 0, "failed": 0}
# Under AddressSanitizer freed memory waits in a quarantine that would hide
# whether a batch's memory stays flat; LeakSanitizer still fails a leaking run.
ENVIRONMENT = dict(os.environ, ASAN_OPTIONS=os.environ.get("ASAN_OPTIONS", "") + ":quarantine_size_mb=0")


def check(name, condition, details=""):
    tally["passed" if condition else "failed"] += 1
    if not condition:
        print(f"FAILED {name}: {details}")


def path(name):
    return os.path.join(work, name)


def run(*arguments):
    """The host's exit status, its standard output and error, and its peak memory in MiB."""
    with open(path("out.txt"), "w+") as out, open(path("err.txt"), "w+") as err:
        process = subprocess.Popen([HOST, *arguments], stdout=out, stderr=err, cwd=work, env=ENVIRONMENT)
        _, status, usage = os.wait4(process.pid, 0)
        process.returncode = os.waitstatus_to_exitcode(status)
        out.seek(0)
        err.seek(0)
        return process.returncode, out.read(), err.read(), usage.ru_maxrss / 1024


def pixels_of_pam(name):
    data = open(path(name), "rb").read()
    return data[data.index(b"ENDHDR\n") + 7:]


def picture(mode="RGB", size=(61, 37)):
    image = Image.new("RGB", size)
    image.putdata([((x * 7 + y * 3) % 256, (x * y) % 256, (255 - 4 * x) % 256)
                   for y in range(size[1]) for x in range(size[0])])
    return image.convert(mode)


def write(name, data):
    with open(path(name), "wb") as file:
        file.write(data)
    return path(name)


# ---- JPEG pixels as djpeg decodes them ------------------------------------------------

def djpeg(name):
    return subprocess.run(["djpeg", "-pnm", path(name)], check=True, capture_output=True).stdout


def netpbm_pixels(data):
    """The samples of a binary PGM or PPM djpeg wrote (its header has no comments)."""
    fields, at = 0, 0
    while fields < 4:
        while data[at:at + 1].isspace():
            at += 1
        while not data[at:at + 1].isspace():
            at += 1
        fields += 1
    return data[at + 1:]


picture().save(path("rgb.jpg"), quality=90)
picture().save(path("rgb-progressive.jpg"), quality=75, progressive=True)
picture("L").save(path("grey.jpg"), quality=90)
picture("CMYK").save(path("cmyk.jpg"), quality=90)  # Adobe's inverted CMYK, as Photoshop writes it
for name in ("rgb.jpg", "rgb-progressive.jpg", "grey.jpg"):
    status, _, err, _ = run("--input", path(name), *NOTHING_DRAWN, "--output", name + ".pam")
    check(f"{name} read", status == 0, err)
    if status == 0:
        check(f"{name} as djpeg decodes it", pixels_of_pam(name + ".pam") == netpbm_pixels(djpeg(name)))

# djpeg writes CMYK as RGB, each colour its ink's brightness times black's.
status, _, err, _ = run("--input", path("cmyk.jpg"), *NOTHING_DRAWN, "--output", "cmyk.pam")
check("cmyk.jpg read", status == 0, err)
if status == 0:
    inks = pixels_of_pam("cmyk.pam")
    as_rgb = bytes(int(inks[i + c] * inks[i + 3] / 255 + 0.5) for i in range(0, len(inks), 4) for c in range(3))
    check("cmyk.jpg as djpeg decodes it", as_rgb == netpbm_pixels(djpeg("cmyk.jpg")))
    # The top-left pixel is pure blue: full cyan and magenta, 0 in the host.
    check("Adobe CMYK is the host's CMYK", inks[0] < 8 and inks[1] < 8 and inks[2] > 247 and inks[3] > 247,
          list(inks[:4]))

# ---- cut files: refused by name, nothing written ----------------------------------------

picture().save(path("rgb.bmp"))
picture("P").save(path("palette.bmp"))
picture("L").save(path("grey.pgm"))
picture().save(path("rgb.ppm"))
picture().save(path("rgb.png"))
picture("CMYK").save(path("cmyk.tif"))
for name in ("rgb.jpg", "rgb-progressive.jpg", "rgb.bmp", "palette.bmp", "grey.pgm", "rgb.ppm", "rgb.png",
             "cmyk.tif"):
    whole = open(path(name), "rb").read()
    cut = write("cut-" + name, whole[:len(whole) * 2 // 3])
    status, _, err, _ = run("--input", cut, "--output", "cut.png")
    # libtiff names the part it missed; the other readers say the file is cut short.
    said = cut in err and ("is truncated" in err or name.endswith(".tif"))
    check(f"cut {name} refused", status == 1 and said and not os.path.exists(path("cut.png")), err)

# ---- headers declaring 100000 x 100000 pixels ------------------------------------------

SIDE = 100000


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data))


def huge_jpeg():
    """A real JPEG's header with the largest sides JPEG has, and its 61 x 37 pixels."""
    data = bytearray(open(path("grey.jpg"), "rb").read())
    sof = data.index(b"\xff\xc0")
    data[sof + 5:sof + 9] = struct.pack(">HH", 65500, 65500)
    return bytes(data[:-2])  # without its end marker


def huge_tiff():
    tags = [(256, 4, SIDE), (257, 4, SIDE), (258, 3, 8), (262, 3, 1), (273, 4, 8 + 2 + 8 * 12 + 4),
            (277, 3, 1), (278, 4, SIDE), (279, 4, SIDE * SIDE % (1 << 32))]
    entries = b"".join(struct.pack("<HHII", tag, kind, 1, value) for tag, kind, value in tags)
    return b"II*\0" + struct.pack("<I", 8) + struct.pack("<H", len(tags)) + entries + b"\0" * 4 + b"\0" * 64


huge = {
    "huge.bmp": b"BM" + struct.pack("<IHHIIiiHHIIiiII", 0, 0, 0, 54, 40, SIDE, SIDE, 1, 24, 0, 0, 0, 0, 0, 0),
    "huge.ppm": b"P6\n%d %d\n255\n" % (SIDE, SIDE),
    "huge.png": b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", struct.pack(">IIBBBBB", SIDE, SIDE, 8, 2, 0, 0, 0)) +
                png_chunk(b"IDAT", zlib.compress(bytes(1000))) + png_chunk(b"IEND", b""),
    "huge.tif": huge_tiff(),
    "huge.jpg": huge_jpeg(),
}
for name, data in huge.items():
    status, _, err, peak = run("--input", write(name, data), "--max-memory", "1G", "--output", "picture.png")
    check(f"{name} refused", status == 1 and path(name) in err and not os.path.exists(path("picture.png")), err)
    check(f"{name} refused before its pixels' memory is taken", peak < 64, f"{peak:.0f} MiB")
    print(f"{name}: {peak:.0f} MiB at most; {err.strip()}")

# ---- formats not read end in a message, not a picture ----------------------------------

not_read = {
    "evil.tga": b"\0\0\x02" + b"\0" * 9 + struct.pack("<HH", 769, 52266) + b"\x20\x08\0",  # data stops at byte 19
    "screen.gif": b"GIF89a" + struct.pack("<HH", 65535, 65535) + b"\xf7\0\0",  # a logical screen alone
}
for name, data in not_read.items():
    status, out, err, _ = run("--input", write(name, data), "--output", "picture.png")
    check(f"{name} refused", status == 1 and path(name) in err and "TIFF, PNG, JPEG, BMP" in err and
          not os.path.exists(path("picture.png")), err + out)

# ---- a batch of bad files keeps its memory flat ----------------------------------------

damaged = bytearray(open(path("rgb.jpg"), "rb").read())
damaged[len(damaged) // 2:len(damaged) // 2 + 40] = b"\xff\x00" * 20  # entropy data made nonsense
bad = [path("cut-" + name) for name in ("rgb.jpg", "rgb-progressive.jpg", "rgb.bmp", "grey.pgm", "rgb.png",
                                        "cmyk.tif")]
bad += [write("damaged.jpg", bytes(damaged)), path("evil.tga"), path("screen.gif"), path("huge.png"),
        path("huge.jpg")]


def batch(count):
    inputs = [bad[i % len(bad)] for i in range(count)]
    status, out, err, peak = run("--output-dir", path("batch"), "--max-memory", "1G", *inputs)
    lines = err.splitlines()
    named = len(lines) == count and all(name in line for name, line in zip(inputs, lines))
    check(f"a batch of {count} bad files", status == 1 and named and f"drew 0 of {count}" in out, err[-400:])
    return peak


# A process's peak memory moves by a few MiB from run to run (the allocator's
# caches, under AddressSanitizer its own arenas), so the batch may grow by
# less than 16 MiB; a leak per file (a decoder's state and buffers, tens of
# KiB) would grow a thousand files' peak far past that, and LeakSanitizer
# fails a leaking run in the sanitizer build itself.
allowed = 16
small, large = batch(20), batch(1000)
print(f"batch of bad files: 20 peak at {small:.1f} MiB, 1000 at {large:.1f} MiB (allowed growth {allowed} MiB)")
check("a thousand bad files take no more memory than twenty", large - small < allowed,
      f"{small:.1f} -> {large:.1f} MiB")

shutil.rmtree(work)
print(f"{tally['passed']} passed, {tally['failed']} failed")
sys.exit(1 if tally["failed"] else 0)
