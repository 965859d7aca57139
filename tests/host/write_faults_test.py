#!/usr/bin/env python3
"""gridsmith-host writing into a full and into a read-only folder: every file
it would write there (its input written back onto itself, a batch into the
inputs' own folder, an existing output, a recorded action) fails with a
message naming the file and the reason, exit status 1, and the folder keeps
every byte of every file and gains none. And runs killed while they write a
big TIFF over an existing one: the file is always the old or the new one,
whole.

The faults come from the preloaded shim (write_faults.c), which works on any
machine and for root too, and, where the machine lets a private mount
namespace mount one, from a small tmpfs filled to the last page and then
remounted read-only: the kernel's own ENOSPC and EROFS.

    tests/host/write_faults_test.py <gridsmith-host> <write_faults.so>
"""
import hashlib
import os
import subprocess
import sys
import tempfile
import time

NO_SPACE = "No space left on device"
READ_ONLY = "Read-only file system"

# What is run, and the files its messages must name; {d} is the faulty
# folder, {elsewhere} a sound one.
CASES = [
    ("its input written back onto itself",
     ["--input", "{d}/in.png", "--depth", "16", "--compression", "0", "-o", "{d}/in.png"], ["{d}/in.png"]),
    ("a batch into its inputs' folder",
     ["--output-dir", "{d}/scans", "{d}/scans/a.png", "{d}/scans/b.tif"], ["{d}/scans/a.png", "{d}/scans/b.tif"]),
    ("an existing output", ["--canvas", "300x200", "--mode", "cmyk", "-o", "{d}/out.tif"], ["{d}/out.tif"]),
    ("a recorded action",
     ["--set", "Rows=9", "--play", "display", "--record", "{d}/table.action", "-o", "{elsewhere}/drawn.png"], ["{d}/table.action"]),
]


def make_files(host, folder, elsewhere):
    os.makedirs(os.path.join(folder, "scans"))
    for arguments in (["--canvas", "400x300", "-o", "in.png"], ["--canvas", "200x100", "-o", "scans/a.png"],
                      ["--canvas", "100x200", "--depth", "16", "-o", "scans/b.tif"], ["-o", "out.tif"],
                      ["--record", "table.action", "-o", os.path.join(elsewhere, "first.png")]):
        subprocess.run([host] + arguments, cwd=folder, check=True, stdout=subprocess.DEVNULL)


def snapshot(folder):
    """Every file under the folder, hidden ones too, with its checksum."""
    sums = {}
    for root, _, names in os.walk(folder):
        for name in names:
            path = os.path.join(root, name)
            with open(path, "rb") as file:
                sums[os.path.relpath(path, folder)] = hashlib.sha256(file.read()).hexdigest()
    return sums


def check(host, folder, elsewhere, fault, reason, env):
    """The failures of every case in one faulty folder."""
    failures = []
    before = snapshot(folder)
    for name, arguments, named in CASES:
        earlier = len(failures)
        fill = lambda text: text.format(d=folder, elsewhere=elsewhere)
        run = subprocess.run([host] + [fill(a) for a in arguments], env=env, capture_output=True, text=True)
        what = f"{fault}: {name}"
        if run.returncode != 1:
            failures.append(f"{what}: exit status {run.returncode}, not 1: {run.stderr.strip()}")
        for path in named:
            message = f"cannot write {fill(path)}: {reason}"
            if message not in run.stderr:
                failures.append(f"{what}: no '{message}' in: {run.stderr.strip()}")
        after = snapshot(folder)
        if after != before:
            changed = sorted(k for k in set(before) | set(after) if before.get(k) != after.get(k))
            failures.append(f"{what}: the folder changed: {', '.join(changed)}")
            before = after
        print(f"{'FAILED' if len(failures) > earlier else 'ok'}: {what}", flush=True)
    return failures


def with_shim(host, shim, work):
    folder, elsewhere = os.path.join(work, "faulty"), os.path.join(work, "sound")
    os.makedirs(elsewhere)
    make_files(host, folder, elsewhere)
    env = dict(os.environ, LD_PRELOAD=shim, GRIDSMITH_FAULT_DIR=folder)
    return (check(host, folder, elsewhere, "shim, 100 bytes left", NO_SPACE,
                  dict(env, GRIDSMITH_FAULT_SPACE="100")) +
            check(host, folder, elsewhere, "shim, read-only", READ_ONLY, dict(env, GRIDSMITH_FAULT_READONLY="1")))


def fill_up(folder):
    with open(os.path.join(folder, "filler"), "wb", buffering=0) as filler:
        try:
            while True:
                filler.write(b"\0" * 4096)
        except OSError:
            pass


def in_tmpfs(host, work):
    """Run inside a private mount namespace: an 8 MiB tmpfs, full, then read-only."""
    folder, elsewhere = os.path.join(work, "tmpfs"), os.path.join(work, "sound")
    os.makedirs(folder)
    os.makedirs(elsewhere)
    subprocess.run(["mount", "-t", "tmpfs", "-o", "size=8m", "tmpfs", folder], check=True)
    make_files(host, folder, elsewhere)
    fill_up(folder)
    failures = check(host, folder, elsewhere, "tmpfs, full", NO_SPACE, os.environ)
    subprocess.run(["mount", "-o", "remount,ro", folder], check=True)
    return failures + check(host, folder, elsewhere, "tmpfs, read-only", READ_ONLY, os.environ)


def with_tmpfs(host, work):
    """The tmpfs cases in a namespace of their own, if this machine allows one."""
    for unshare in (["unshare", "-m"], ["unshare", "-rm"]):
        probe = subprocess.run(unshare + ["mount", "-t", "tmpfs", "tmpfs", work], capture_output=True, text=True)
        if probe.returncode == 0:
            run = subprocess.run(unshare + [sys.executable, __file__, host, "--in-tmpfs", work])
            return [] if run.returncode == 0 else ["the tmpfs cases failed"]
    print(f"skipped: a tmpfs (this machine lets no namespace mount one: {probe.stderr.strip()})", flush=True)
    return []


def digest(path):
    with open(path, "rb") as file:
        return hashlib.file_digest(file, "sha256").hexdigest()


def written(pid):
    """The bytes a process has written so far, wherever it wrote them."""
    try:
        with open(f"/proc/{pid}/io") as io:
            return next(int(line.split()[1]) for line in io if line.startswith("wchar:"))
    except (OSError, StopIteration):
        return 0


def killed_writes(host, work):
    """Runs writing a 10000 x 10000 TIFF over an existing one, killed when they
    have written a part of the new file's size; they draw two tables in turn."""
    os.makedirs(work)
    target = os.path.join(work, "big.tif")
    tables = ["Rows=3", "Rows=5"]
    draw = [host, "--canvas", "10000x10000", "--mode", "gray"]
    whole = {}
    for table in tables:
        subprocess.run(draw + ["--set", table, "-o", target], check=True, stdout=subprocess.DEVNULL)
        whole[table] = digest(target)
    size = os.path.getsize(target)
    failures, interrupted, before = [], 0, whole[tables[-1]]
    for run, part in enumerate((0.0, 0.25, 0.5, 0.75, 1.0)):
        table, earlier = tables[run % 2], len(failures)
        process = subprocess.Popen(draw + ["--set", table, "-o", target], stdout=subprocess.DEVNULL)
        temp = os.path.join(work, f".big.tif.gridsmith-{process.pid}.tmp")
        while process.poll() is None and written(process.pid) < max(1, part * size):
            time.sleep(0.0002)
        running = process.poll() is None
        process.kill()
        process.wait()
        after = digest(target)
        what = f"killed after {part:.0%} of the file's bytes ({'while running' if running else 'after it ended'})"
        if after not in (before, whole[table]):
            failures.append(f"{what}: big.tif is neither the old file nor the new one")
        # Only the temporary file a parent can name from the process id.
        strays = set(os.listdir(work)) - {"big.tif", os.path.basename(temp)}
        if strays:
            failures.append(f"{what}: left {', '.join(sorted(strays))}")
        if os.path.exists(temp):
            os.remove(temp)
        interrupted += running and part < 1
        before = after
        print(f"{'FAILED' if len(failures) > earlier else 'ok'}: {what}", flush=True)
    if not interrupted:
        failures.append("no run was killed while it wrote")
    return failures


def main():
    host = os.path.abspath(sys.argv[1])
    if sys.argv[2] == "--in-tmpfs":
        failures = in_tmpfs(host, sys.argv[3])
    else:
        with tempfile.TemporaryDirectory() as work:
            failures = with_shim(host, os.path.abspath(sys.argv[2]), os.path.join(work, "shim"))
            os.makedirs(os.path.join(work, "tmpfs"))
            failures += with_tmpfs(host, os.path.join(work, "tmpfs"))
            failures += killed_writes(host, os.path.join(work, "killed"))
    for failure in failures:
        print("FAILED:", failure)
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
