#!/usr/bin/env python3
"""Runs one command and prints "WALL_SECONDS PEAK_RSS_KB STATUS" on one line.

    timed_run.py [--cwd DIR] [--stdout FILE] [--stderr FILE] [--timeout SEC]
                 [--env NAME=VALUE]... -- COMMAND [ARG]...

Standard input is /dev/null. STATUS is the exit code, "signal-N" or
"timeout" (the command was killed after --timeout seconds).

The peak RSS comes from GNU time (/usr/bin/time), which starts the command.
The kernel counts in a process's peak the memory it had between fork and
exec, that is its parent's: started straight from Python, every command
would show Python's 10 MiB or more, more than a small interpreter uses. GNU
time is a small process, so what it reports is the command's own peak. Its
start adds about a millisecond to every wall time alike.
"""
import argparse
import os
import signal
import subprocess
import sys
import tempfile
import threading
import time

GNU_TIME = "/usr/bin/time"


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--cwd")
    parser.add_argument("--stdout", default=os.devnull)
    parser.add_argument("--stderr", default=os.devnull)
    parser.add_argument("--timeout", type=float, default=300.0)
    parser.add_argument("--env", action="append", default=[])
    parser.add_argument("command", nargs=argparse.REMAINDER)
    args = parser.parse_args()
    command = args.command[1:] if args.command[:1] == ["--"] else args.command
    if not command:
        parser.error("no command")
    env = dict(os.environ)
    for item in args.env:
        name, _, value = item.partition("=")
        env[name] = value

    if not os.access(GNU_TIME, os.X_OK):
        print(f"timed_run.py: {GNU_TIME} (GNU time) is needed for the peak RSS", file=sys.stderr)
        return 2
    with tempfile.NamedTemporaryFile("r", prefix="timed_run.", suffix=".rss") as rss_file, \
            open(args.stdout, "wb") as out, open(args.stderr, "wb") as err:
        started = time.perf_counter()
        try:
            # A session of its own, so that a timeout ends the command too,
            # not only GNU time.
            child = subprocess.Popen([GNU_TIME, "-f", "%M", "-o", rss_file.name, "--"] + command,
                                     cwd=args.cwd, env=env, stdin=subprocess.DEVNULL,
                                     stdout=out, stderr=err, start_new_session=True)
        except OSError as error:
            print(f"timed_run.py: cannot start {command[0]}: {error}", file=sys.stderr)
            return 2
        timed_out = threading.Event()

        def kill():
            timed_out.set()
            try:
                os.killpg(child.pid, signal.SIGKILL)
            except ProcessLookupError:  # it ended just now
                pass

        timer = threading.Timer(args.timeout, kill)
        timer.start()
        status = child.wait()
        elapsed = time.perf_counter() - started
        timer.cancel()
        # GNU time writes "Command exited with non-zero status N" or
        # "Command terminated by signal N" before the number.
        report = rss_file.read().split()
        peak = report[-1] if report and report[-1].isdigit() else "0"
        signalled = "terminated by signal" in " ".join(report)

    if timed_out.is_set():
        outcome = "timeout"
    elif signalled and status > 128:
        outcome = f"signal-{status - 128}"
    elif status < 0:
        outcome = f"signal-{-status}"
    else:
        outcome = str(status)
    print(f"{elapsed:.6f} {peak} {outcome}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
