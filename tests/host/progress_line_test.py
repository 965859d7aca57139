#!/usr/bin/env python3
"""gridsmith-host's progress line: on a terminal it shows and is cleared, in a
pipe nothing is said on standard error. The delay is set to 0, so the line
does not depend on how long the run takes.

    tests/host/progress_line_test.py <gridsmith-host>
"""
import os
import pty
import subprocess
import sys
import tempfile


def run_on_terminal(arguments, env=None, cwd=None):
    """Exit status and everything written to the terminal (stderr)."""
    master, slave = pty.openpty()
    process = subprocess.Popen(arguments, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL,
                               stderr=slave, env=env, cwd=cwd)
    os.close(slave)
    chunks = []
    while True:
        try:
            data = os.read(master, 4096)
        except OSError:  # EIO: the program closed its side
            break
        if not data:
            break
        chunks.append(data)
    os.close(master)
    return process.wait(), b"".join(chunks).decode()


def main():
    host = sys.argv[1]
    env = dict(os.environ, GRIDSMITH_PROGRESS_AFTER_MS="0")
    failures = []
    with tempfile.TemporaryDirectory() as work:
        arguments = [host, "--output", os.path.join(work, "table.png")]

        status, terminal = run_on_terminal(arguments, env)
        if status != 0:
            failures.append(f"on a terminal the run failed ({status}): {terminal!r}")
        if "gridsmith-host: drawing 13/13" not in terminal:
            failures.append(f"no progress line on the terminal: {terminal!r}")
        if not terminal.endswith("\r"):
            failures.append(f"the line was not cleared: {terminal!r}")

        piped = subprocess.run(arguments, env=env, stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        if piped.returncode != 0 or piped.stderr:
            failures.append(f"in a pipe: status {piped.returncode}, stderr {piped.stderr!r}")
        if b"wrote " not in piped.stdout:
            failures.append(f"in a pipe the run said {piped.stdout!r}")

    for failure in failures:
        print("FAILED " + failure)
    if not failures:
        print("progress line: shown on a terminal, silent in a pipe")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
