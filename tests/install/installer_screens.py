#!/usr/bin/python3
"""Runs installer-user --step under Wine and saves a screenshot of the display
each time it stops before a press, under the names given in order ("-" skips
one). Prints what installer-user says; exits with its exit code. With --stop
it ends every program of the Wine prefix after the last name instead.

  installer_screens.py [--stop] OUT-DIR NAME[,NAME...] WINE-ARGS...
"""
import os
import subprocess
import sys

from PIL import ImageGrab


def main():
    args = sys.argv[1:]
    stop = args[:1] == ["--stop"]
    args = args[stop:]
    if len(args) < 3:
        sys.exit(__doc__)
    out, names, command = args[0], args[1].split(","), args[2:]
    run = subprocess.Popen(["wine", *command], stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True)
    shots = 0
    for line in run.stdout:
        words = line.split()
        if words[:1] != ["capture"]:
            print(line.rstrip(), flush=True)
            continue
        x, y, width, height = map(int, words[1:5])
        name = names[shots] if shots < len(names) else "-"
        shots += 1
        if name != "-":
            path = os.path.join(out, name + ".png")
            ImageGrab.grab(bbox=(x, y, x + width, y + height)).save(path)
            print("screenshot:", path, flush=True)
        if stop and shots == len(names):
            subprocess.run(["wineserver", "-k"])
            sys.exit(0)
        run.stdin.write("\n")
        run.stdin.flush()
    sys.exit(run.wait())


if __name__ == "__main__":
    main()
