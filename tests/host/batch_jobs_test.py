#!/usr/bin/env python3
"""gridsmith-host's batch on several cores, run as a user runs it:

- the files and every message are the same at --jobs 1, 2 and 4 (standard
  output and error in one pipe, so lines cut or said out of order show),
  with a broken input and two inputs that would write one file among them;
- a --max-memory that holds one image at a time makes the jobs take turns
  (the terminal's progress line never shows two drawn at once, while a
  limit for two does) and still every image is written;
- Ctrl+C (SIGINT to the process group) or SIGTERM to the batch alone,
  while a worker writes, stops it: exit status non-zero, no temporary or
  partial file, no worker left; a worker killed on its own fails only its
  input.

With --wine, gridsmith-host.exe runs under Wine (cmake/wine-run.sh): the same
files and messages at --jobs 1 and 2, and Ctrl+C, which Wine hands to the
program as a console's Ctrl+C.

    tests/host/batch_jobs_test.py [--wine] <gridsmith-host>
"""
import os
import re
import signal
import subprocess
import sys
import tempfile
import time
import zlib

from progress_line_test import run_on_terminal

TEMPORARY = re.compile(r"^\..*\.gridsmith-(\d+)\.tmp$")
WINE_RUN = os.path.join(os.path.dirname(os.path.realpath(__file__)), "..", "..", "cmake", "wine-run.sh")


def host_run(host, arguments, cwd, **options):
    return subprocess.run(host + arguments, cwd=cwd, stdin=subprocess.DEVNULL, **options)


def write_noise(path, width, height):
    """An RGB image that compresses badly, so writing it takes a while."""
    with open(path, "wb") as file:
        file.write(b"P6\n%d %d\n255\n" % (width, height) + os.urandom(width * height * 3))


def files_in(folder):
    return {name: open(os.path.join(folder, name), "rb").read() for name in sorted(os.listdir(folder))}


def whole_png(data):
    """Every chunk's CRC holds, IEND ends it and the image data inflates."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        return False
    at, idat, kind = 8, b"", b""
    while at + 12 <= len(data):
        length = int.from_bytes(data[at:at + 4], "big")
        kind, body = data[at + 4:at + 8], data[at + 8:at + 8 + length]
        crc = int.from_bytes(data[at + 8 + length:at + 12 + length], "big")
        if len(body) != length or zlib.crc32(kind + body) != crc:
            return False
        idat += body if kind == b"IDAT" else b""
        at += 12 + length
    try:
        zlib.decompress(idat)
    except zlib.error:
        return False
    return kind == b"IEND" and at == len(data)


def workers_of(marker):
    """Processes whose command line holds `marker` (a unique folder)."""
    found = []
    for pid in filter(str.isdigit, os.listdir("/proc")):
        try:
            with open(f"/proc/{pid}/cmdline", "rb") as file:
                if marker.encode() in file.read():
                    found.append(int(pid))
        except OSError:
            pass
    return found


def wait_for(condition, seconds=30):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = condition()
        if value:
            return value
        time.sleep(0.002)
    return None


def same_at_every_job_count(host, work, failures):
    os.makedirs(os.path.join(work, "sub"))
    inputs = []
    # The first takes longest, so later inputs finish before it.
    for name, arguments in [("a.png", ["--canvas", "2400x2400"]),
                            ("b.tif", ["--canvas", "300x200", "--mode", "cmyka", "--depth", "16"]),
                            ("c.png", ["--canvas", "250x250", "--mode", "graya", "--depth", "16"]),
                            ("sub/a.png", ["--canvas", "200x100"]),
                            ("d.tif", ["--canvas", "310x200", "--mode", "lab"]),
                            ("e.png", ["--canvas", "500x90"])]:
        host_run(host, arguments + ["--set", "Rows=2", "-o", name], work, check=True, stdout=subprocess.DEVNULL)
        inputs.append(name)
    with open(os.path.join(work, "broken.png"), "w") as file:
        file.write("not a picture")
    inputs[3:3] = ["broken.png"]
    runs = {}
    for jobs in ("1", "2") if len(host) > 1 else ("1", "2", "4"):
        out = os.path.join(work, "out")
        subprocess.run(["rm", "-rf", out], check=True)
        run = host_run(host, ["--jobs", jobs, "--output-dir", "out", "--set", "Rows=7", "--set", "GridLineType=2"] +
                       inputs, work, stdout=subprocess.PIPE, stderr=subprocess.STDOUT)
        runs[jobs] = (run.returncode, run.stdout.decode(), files_in(out))
    status, said, files = runs["1"]
    if status != 1 or "broken.png" not in said or "would overwrite" not in said:
        failures.append(f"--jobs 1: status {status}, said {said!r}")
    if sorted(files) != ["a.png", "b.tif", "c.png", "d.tif", "e.png"]:
        failures.append(f"--jobs 1 wrote {sorted(files)}")
    for jobs in list(runs)[1:]:
        if runs[jobs][0] != status or runs[jobs][1] != said:
            failures.append(f"--jobs {jobs} said otherwise than --jobs 1 (status {runs[jobs][0]}):\n"
                            f"{runs[jobs][1]}\n--- against ---\n{said}")
        if runs[jobs][2] != files:
            failures.append(f"--jobs {jobs} wrote other files than --jobs 1")


def memory_takes_turns(host, work, failures):
    names = []
    for i in range(4):  # 600 x 400 RGB: 720,000 bytes each
        names.append(f"t{i}.png")
        host_run(host, ["--canvas", "600x400", "-o", names[-1]], work, check=True, stdout=subprocess.DEVNULL)
    for limit, most in (("1M", 1), ("2M", 2)):
        out = f"turns-{limit}"
        status, terminal = run_on_terminal(host + ["--jobs", "4", "--max-memory", limit, "--output-dir", out] + names,
                                           cwd=work)
        drawing = [len(re.findall(r"t\d\.png", line)) for line in terminal.split("\r") if "drawing" in line]
        if status != 0 or sorted(os.listdir(os.path.join(work, out))) != names:
            failures.append(f"--max-memory {limit}: status {status}, wrote {os.listdir(os.path.join(work, out))}")
        if not drawing or max(drawing) != most:
            failures.append(f"--max-memory {limit}: at most {most} drawn at once expected, the terminal showed "
                            f"{drawing}: {terminal!r}")
        if "4 of 4 done" not in terminal:
            failures.append(f"--max-memory {limit}: the progress line never counted all four: {terminal!r}")


def stopped_batches(host, work, failures):
    """Under Wine, the temporary files' process ids are Windows' own, and
    SIGTERM ends Wine rather than reaching the program: only Ctrl+C."""
    names = []
    for i in range(6):
        names.append(f"n{i}.ppm")
        write_noise(os.path.join(work, names[-1]), 1800, 1800)
    cases = [("Ctrl+C", lambda process, temp_pid: os.killpg(process.pid, signal.SIGINT)),
             ("SIGTERM to the batch", lambda process, temp_pid: os.kill(process.pid, signal.SIGTERM)),
             ("a worker killed", lambda process, temp_pid: os.kill(temp_pid, signal.SIGKILL))]
    for what, stop in cases[:1] if len(host) > 1 else cases:
        # Unique on the machine, to find its workers by.
        name = "stopped-" + what.split()[0].replace("+", "") + "-" + os.path.basename(os.path.dirname(work))
        out = os.path.join(work, name)
        os.makedirs(out)
        process = subprocess.Popen(host + ["--jobs", "2", "--format", "png", "--compression", "9", "--output-dir", name] +
                                   names, cwd=work, stdin=subprocess.DEVNULL, stdout=subprocess.PIPE,
                                   stderr=subprocess.PIPE, start_new_session=True)
        temporary = wait_for(lambda: [m for m in map(TEMPORARY.match, os.listdir(out)) if m])
        if not temporary:
            process.kill()
            failures.append(f"{what}: no worker was seen writing")
            continue
        stop(process, int(temporary[0].group(1)))
        try:
            said = process.communicate(timeout=60)
        except subprocess.TimeoutExpired:
            process.kill()
            failures.append(f"{what}: the batch did not end")
            continue
        left = os.listdir(out)
        if [name for name in left if TEMPORARY.match(name)]:
            failures.append(f"{what}: temporary files left: {left}")
        broken = [name for name in left if not whole_png(open(os.path.join(out, name), "rb").read())]
        if broken:
            failures.append(f"{what}: partial files: {broken}")
        if workers_of(name):
            failures.append(f"{what}: processes left: {workers_of(name)}")
        err = said[1].decode()
        if what == "a worker killed":
            if process.returncode != 1 or "its worker ended (signal 9" not in err or len(left) != len(names) - 1:
                failures.append(f"{what}: status {process.returncode}, wrote {left}, said {err!r}")
        elif process.returncode == 0 or "stopped; drew" not in err:
            failures.append(f"{what}: status {process.returncode}, said {err!r}")


def main():
    wine = sys.argv[1] == "--wine"
    host = os.path.realpath(sys.argv[-1])
    # No dialog to answer under Wine: repeat runs.
    host = ["bash", WINE_RUN, host, "--repeat"] if wine else [host]
    parts = (same_at_every_job_count, stopped_batches) if wine else (same_at_every_job_count, memory_takes_turns,
                                                                      stopped_batches)
    failures = []
    with tempfile.TemporaryDirectory() as work:
        for part in parts:
            folder = os.path.join(work, part.__name__)
            os.makedirs(folder)
            before = len(failures)
            part(host, folder, failures)
            print(f"{part.__name__}: {'ok' if len(failures) == before else 'FAILED'}")
    for failure in failures:
        print("FAILED " + failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
