#!/usr/bin/env python3
"""Drives `basic` the way a person does: on a pseudo-terminal (line editing,
history, Ctrl-C, Ctrl-D; Ctrl-C while a statement waits in a file, INPUT or
Shell; Ctrl-D at INPUT), and with piped input (plain reads, help).

usage: console_pty_test.py BASIC STUB WORKDIR [--editing]
"""
import os
import pty
import select
import signal
import subprocess
import sys
import time

TIMEOUT = 10.0  # seconds for any one expected piece of output


class Failure(Exception):
    pass


class Terminal:
    """`basic` (or any program) running on a pseudo-terminal."""

    def __init__(self, argv):
        self.pid, self.fd = pty.fork()
        if self.pid == 0:
            os.environ["TERM"] = "xterm"
            os.environ.pop("INPUTRC", None)
            os.environ["EDITRC"] = "/dev/null"  # the user's key bindings do not apply
            try:
                os.execv(argv[0], argv)
            finally:
                os._exit(127)
        self.seen = b""  # everything the terminal showed
        self.pos = 0     # what expect() has matched up to

    def _read(self, until):
        ready, _, _ = select.select([self.fd], [], [], max(0.0, until - time.time()))
        if not ready:
            return False
        try:
            chunk = os.read(self.fd, 4096)
        except OSError:  # the other side closed
            chunk = b""
        if not chunk:
            raise Failure("the terminal closed while waiting; it showed:\n%r" % self.seen)
        self.seen += chunk
        return True

    def expect(self, text):
        """Waits until text appears after what was matched before."""
        want = text.encode()
        deadline = time.time() + TIMEOUT
        while True:
            found = self.seen.find(want, self.pos)
            if found >= 0:
                self.pos = found + len(want)
                return
            if time.time() >= deadline:
                raise Failure("no %r within %s s; after the last match it showed:\n%r"
                              % (text, TIMEOUT, self.seen[self.pos:]))
            self._read(deadline)

    def settle(self, seconds=0.3):
        """Reads whatever arrives for a moment."""
        end = time.time() + seconds
        while time.time() < end:
            self._read(end)

    def type(self, keys):
        os.write(self.fd, keys.encode())

    def wait_exit(self):
        deadline = time.time() + TIMEOUT
        while time.time() < deadline:
            pid, status = os.waitpid(self.pid, os.WNOHANG)
            if pid:
                os.close(self.fd)
                return status
            try:
                self._read(min(deadline, time.time() + 0.1))
            except Failure:
                pass  # closed: the exit follows at once
        os.kill(self.pid, signal.SIGKILL)
        os.waitpid(self.pid, 0)
        raise Failure("did not end within %s s; it showed:\n%r" % (TIMEOUT, self.seen))

    def kill(self):
        try:
            os.kill(self.pid, signal.SIGKILL)
            os.waitpid(self.pid, 0)
        except OSError:
            pass

    def __enter__(self):
        return self

    def __exit__(self, *_):
        self.kill()


def output_lines(t):
    """What the terminal showed since the last match, as lines."""
    return t.seen[t.pos:].replace(b"\r", b"").split(b"\n")


def check_exit_0(status, what):
    """A clean exit with status 0, not a signal or an error status."""
    if not os.WIFEXITED(status) or os.WEXITSTATUS(status) != 0:
        raise Failure("%s: exit status %r, expected a clean exit 0" % (what, status))


def check_line_ends(t, what):
    """The terminal turns each LF into CR LF; a line the program ended with
    CR LF itself shows as CR CR LF."""
    if b"\r\r\n" in t.seen:
        raise Failure("%s: a line ends in CR before the terminal's CR LF:\n%r" % (what, t.seen))


def console_session(basic, editing):
    with Terminal([basic]) as t:
        t.expect("READY")
        if editing:
            # Ctrl-A goes to the start of the line, where the keyword is added;
            # without editing the line would hold a raw byte 1 and fail.
            t.type('"EDITED"\x01PRINT \r')
            t.expect("\nEDITED")
            t.expect("READY")
            # Up arrow brings the line back.
            t.type("\x1b[A\r")
            t.expect("\nEDITED")
            t.expect("READY")

        # An INPUT prompt stays in front of what is typed.
        t.type('INPUT "NAME";N$\r')
        t.expect("NAME")
        t.type("BOB\r")
        t.type('PRINT "HELLO ";N$\r')
        t.expect("HELLO BOB")
        t.expect("READY")

        # Ctrl-C stops an endless program with the report STOP gives ...
        t.type("10 GOTO 10\r")
        t.expect("READY")
        t.type("RUN\r")
        t.expect("RUN")
        t.settle(0.3)
        t.type("\x03")
        t.expect("\x07(-20) Break in 10")
        t.expect("READY")
        # ... and the console goes on.
        t.type('PRINT "STILL HERE"\r')
        t.expect("\nSTILL HERE")
        t.expect("READY")

        # Ctrl-C at READY drops the half-typed line: it never runs.
        t.type("PRINT 1+")
        t.settle(0.2)
        t.type("\x03")
        t.expect("Break")
        t.expect("READY")
        t.type('PRINT "NEXT"\r')
        t.expect("\nNEXT")
        t.expect("READY")
        if b"Syntax error" in t.seen:
            raise Failure("a discarded line was run:\n%r" % t.seen)

        # Ctrl-D at READY ends the console like the end of input.
        t.settle(0.1)
        t.type("\x04")
        status = t.wait_exit()
        check_exit_0(status, "Ctrl-D at READY")
        check_line_ends(t, "console")


def ctrl_c_in_file_run(basic, workdir):
    """`basic FILE.bas` reports Break and ends normally; a bound stub keeps
    the system's Ctrl-C, which ends it by the signal."""
    program = os.path.join(workdir, "endless.bas")
    with open(program, "w") as f:
        f.write('#!/usr/bin/env basic\n10 PRINT "LOOPING"\n20 GOTO 20\n')
    with Terminal([basic, program]) as t:
        t.expect("LOOPING")
        t.settle(0.2)
        t.type("\x03")
        t.expect("(-20) Break in 20")
        status = t.wait_exit()
        check_exit_0(status, "basic FILE.bas after Ctrl-C")
        check_line_ends(t, "basic FILE.bas")


def ctrl_c_in_bound_stub(basic, stub, workdir):
    program = os.path.join(workdir, "endless.bas")
    bound = os.path.join(workdir, "endless")
    subprocess.run([basic, "--bind", program, "-o", bound, "--stub", stub], check=True)
    with Terminal([bound]) as t:
        t.expect("LOOPING")
        t.settle(0.2)
        t.type("\x03")
        status = t.wait_exit()
        if not os.WIFSIGNALED(status) or os.WTERMSIG(status) != signal.SIGINT:
            raise Failure("bound stub after Ctrl-C: status %r, expected death by SIGINT" % status)
        if b"Break" in t.seen:
            raise Failure("the bound stub caught Ctrl-C:\n%r" % t.seen)


def fresh_fifo(workdir, name):
    """A new FIFO named name: mkfifo refuses a name that exists, and each
    run leaves its FIFOs behind."""
    fifo = os.path.join(workdir, name)
    if os.path.exists(fifo):
        os.unlink(fifo)
    os.mkfifo(fifo)
    return fifo


def ctrl_c_in_fifo_statement(basic, workdir, statement, fifo, lines=""):
    """Runs `basic FILE.bas` on a program of lines, then WAITING, then
    statement on fifo, where it blocks, then NEXT LINE. Ctrl-C must end the
    statement with one Break, not a file error, and the next line must run.
    Returns basic's exit status."""
    program = os.path.join(workdir, statement.lower() + "_fifo.bas")
    with open(program, "w") as f:
        f.write('%sPRINT "WAITING"\n%s "%s"\nPRINT "NEXT LINE"\n' % (lines, statement, fifo))
    with Terminal([basic, program]) as t:
        t.expect("WAITING")
        t.settle(0.3)
        t.type("\x03")
        t.expect("\x07(-20) Break")
        t.expect("NEXT LINE")
        status = t.wait_exit()
        if b"I/O error" in t.seen or t.seen.count(b"Break") != 1:
            raise Failure("Ctrl-C in %s: expected one Break and no file error:\n%r"
                          % (statement, t.seen))
        return status


def ctrl_c_in_blocked_load(basic, workdir):
    """LOAD of a FIFO that nobody writes waits in open()."""
    fifo = fresh_fifo(workdir, "nobody_writes")
    status = ctrl_c_in_fifo_statement(basic, workdir, "LOAD", fifo)
    check_exit_0(status, "basic FILE.bas after Ctrl-C in LOAD")


def ctrl_c_in_blocked_save(basic, workdir):
    """SAVE to a FIFO whose reader never reads fills the pipe and waits in
    write()."""
    fifo = fresh_fifo(workdir, "nobody_reads")
    reader = os.open(fifo, os.O_RDONLY | os.O_NONBLOCK)
    try:
        # Far more than a pipe holds.
        lines = "".join("%d REM %s\n" % (n, "x" * 60) for n in range(1, 4001))
        ctrl_c_in_fifo_statement(basic, workdir, "SAVE", fifo, lines)
    finally:
        os.close(reader)


def ctrl_c_in_input(basic):
    """INPUT waiting for the keyboard: Ctrl-C reports Break once, in its line."""
    with Terminal([basic]) as t:
        t.expect("READY")
        t.type('10 INPUT "NUMBER"; A\r20 PRINT "NOT REACHED"\rRUN\r')
        t.expect("NUMBER")
        t.settle(0.2)
        t.type("\x03")
        t.expect("\x07(-20) Break in 10")
        t.expect("READY")
        t.type('PRINT "AFTER"\r')
        t.expect("\nAFTER")
        t.expect("READY")
        if b"\nNOT REACHED" in t.seen[:t.pos] or t.seen.count(b"Break") != 1:
            raise Failure("Ctrl-C in INPUT:\n%r" % t.seen)
        check_line_ends(t, "Ctrl-C in INPUT")


def ctrl_d_in_input(basic):
    """Ctrl-D at an INPUT prompt ends that INPUT with an error; the console
    and the program stay, and only Ctrl-D at READY ends basic."""
    with Terminal([basic]) as t:
        t.expect("READY")
        t.type('10 INPUT "NUMBER"; A\r20 PRINT "NOT REACHED"\rRUN\r')
        t.expect("NUMBER")
        t.settle(0.2)
        t.type("\x04")
        t.expect("\x07Read beyond end of file in 10")
        t.expect("READY")
        t.type("LIST\r")
        t.expect("10 INPUT")
        t.expect("20 PRINT")
        t.expect("READY")
        t.settle(0.1)
        t.type("\x04")
        status = t.wait_exit()
        if b"\nNOT REACHED" in t.seen:
            raise Failure("Ctrl-D in INPUT ran on:\n%r" % t.seen)
        check_exit_0(status, "Ctrl-D at READY after INPUT")


def help_at_ready(basic):
    """help (any case) lists the words; HELP stays a variable name."""
    typed = b"help\n  Help\nHELP = 2: PRINT HELP\n"
    run = subprocess.run([basic], input=typed, capture_output=True, timeout=TIMEOUT)
    lines = run.stdout.split(b"\n")
    if (run.returncode != 0 or run.stdout.count(b"man basic") != 2 or b"2 " not in lines
            or b"\x07" in run.stdout or b"Statements:" not in run.stdout):
        raise Failure("help: exit %d\nstdout %r" % (run.returncode, run.stdout))


def process_state(pid):
    """The state letter of a process (Z for a zombie), or None once it is gone."""
    try:
        with open("/proc/%d/stat" % pid) as f:
            return f.read().rsplit(")", 1)[1].split()[0]
    except OSError:
        return None


def wait_gone(pid, seconds):
    """True when pid is no longer a live process within the time (a zombie
    whose parent is gone counts as gone: init reaps it, if it reaps at all)."""
    deadline = time.time() + seconds
    while time.time() < deadline:
        if process_state(pid) in (None, "Z"):
            return True
        time.sleep(0.05)
    return False


def write_stubborn_child(workdir):
    """A child that ignores Ctrl-C and writes its pid where the test finds it."""
    script = os.path.join(workdir, "stubborn.sh")
    pid_file = os.path.join(workdir, "stubborn.pid")
    if os.path.exists(pid_file):
        os.unlink(pid_file)
    with open(script, "w") as f:
        f.write('#!/bin/sh\ntrap "" INT\necho $$ > "%s"\necho STARTED\nexec sleep 30\n'
                % pid_file)
    os.chmod(script, 0o755)
    return script, pid_file


def read_pid(pid_file):
    deadline = time.time() + TIMEOUT
    while time.time() < deadline:
        try:
            with open(pid_file) as f:
                text = f.read().strip()
            if text:
                return int(text)
        except OSError:
            pass
        time.sleep(0.05)
    raise Failure("the child never wrote %s" % pid_file)


def ctrl_c_while_shell_waits(basic, workdir):
    """Ctrl-C while Shell waits: a child that obeys it ends at once; one that
    ignores it is ended after the grace period. Either way the Shell line
    reports one Break, the console goes on and no child is left, not even
    as a zombie."""
    script, pid_file = write_stubborn_child(workdir)
    with Terminal([basic]) as t:
        t.expect("READY")
        t.type('10 R = Shell("sleep 30")\r20 PRINT "NOT REACHED"\rRUN\r')
        t.expect("RUN")
        t.settle(0.3)
        started = time.time()
        t.type("\x03")
        t.expect("\x07(-20) Break in 10")
        if time.time() - started > 1.5:
            raise Failure("a child that obeys Ctrl-C took %.1f s to stop" % (time.time() - started))
        t.expect("READY")

        t.type('10 R = Shell("%s")\rRUN\r' % script)
        t.expect("STARTED")
        child = read_pid(pid_file)
        started = time.time()
        t.type("\x03")
        t.expect("\x07(-20) Break in 10")
        waited = time.time() - started
        if waited > 4.0:
            raise Failure("a child that ignores Ctrl-C held the console %.1f s" % waited)
        state = process_state(child)
        if state is not None:
            raise Failure("after Break the child %d is still there (state %s)" % (child, state))
        t.expect("READY")
        t.type('PRINT "AFTER"\r')
        t.expect("\nAFTER")
        t.expect("READY")
        if b"\nNOT REACHED" in t.seen[:t.pos] or t.seen.count(b"Break") != 2:
            raise Failure("Ctrl-C in Shell:\n%r" % t.seen)


def killed_basic_leaves_no_child(basic, workdir):
    """basic killed outright while Shell waits takes its child with it."""
    script, pid_file = write_stubborn_child(workdir)
    program = os.path.join(workdir, "shell_stubborn.bas")
    with open(program, "w") as f:
        f.write('10 R = Shell("%s")\n' % script)
    run = subprocess.Popen([basic, program], stdout=subprocess.DEVNULL)
    try:
        child = read_pid(pid_file)
        run.kill()
        run.wait(TIMEOUT)
        if not wait_gone(child, 2.0):
            os.kill(child, signal.SIGKILL)
            raise Failure("the child %d ran on after basic was killed" % child)
    finally:
        run.kill()
        run.wait()


def piped_console(basic):
    """With a pipe for input there is no editing: bytes arrive as sent, and
    the output holds nothing but what the interpreter wrote."""
    typed = b'PRINT "A\x01B"\n10 PRINT "Y"\nRUN\n'
    run = subprocess.run([basic], input=typed, capture_output=True, timeout=TIMEOUT)
    expected = b'READY\nA\x01B\nREADY\nREADY\nY\nREADY\n'
    if run.returncode != 0 or run.stdout != expected or run.stderr:
        raise Failure("piped console: exit %d\nstdout %r\nexpected %r\nstderr %r"
                      % (run.returncode, run.stdout, expected, run.stderr))


def main():
    if len(sys.argv) < 4:
        print(__doc__, file=sys.stderr)
        return 2
    basic, stub, workdir = sys.argv[1:4]
    editing = "--editing" in sys.argv[4:]
    os.makedirs(workdir, exist_ok=True)
    checks = [
        ("console on a terminal", lambda: console_session(basic, editing)),
        ("Ctrl-C in basic FILE.bas", lambda: ctrl_c_in_file_run(basic, workdir)),
        ("Ctrl-C in a bound stub", lambda: ctrl_c_in_bound_stub(basic, stub, workdir)),
        ("console with piped input", lambda: piped_console(basic)),
        ("Ctrl-C in a blocked LOAD", lambda: ctrl_c_in_blocked_load(basic, workdir)),
        ("Ctrl-C in a blocked SAVE", lambda: ctrl_c_in_blocked_save(basic, workdir)),
        ("Ctrl-C in INPUT", lambda: ctrl_c_in_input(basic)),
        ("Ctrl-D in INPUT", lambda: ctrl_d_in_input(basic)),
        ("help at READY", lambda: help_at_ready(basic)),
        ("Ctrl-C while Shell waits", lambda: ctrl_c_while_shell_waits(basic, workdir)),
        ("killed basic leaves no child", lambda: killed_basic_leaves_no_child(basic, workdir)),
    ]
    failed = 0
    for name, check in checks:
        try:
            check()
            print("ok   %s" % name)
        except (Failure, subprocess.SubprocessError, OSError) as e:
            failed += 1
            print("FAIL %s: %s" % (name, e))
    return 1 if failed else 0


if __name__ == "__main__":
    sys.exit(main())
