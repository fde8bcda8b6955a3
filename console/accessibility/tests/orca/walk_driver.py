# SPDX-License-Identifier: GPL-3.0-or-later
"""walk_driver.py - what the screen-reader walk drives and listens to: the
simulated radio, the screen reader's debug record, the console and the keys
pressed into it, the commands on the wire. The walk's steps are in
screen_reader_walk.py."""
import os
import re
import subprocess
import sys
import tempfile
import time

HERE = os.path.dirname(os.path.abspath(__file__))
CAPTION = "Radio Control Program for QX-9000/QB9000"
MODES = {1: "LSB", 2: "USB", 3: "CW", 4: "FM", 5: "AM", 6: "FSK", 7: "CW-R", 9: "FSK-R"}
# What the console may send while the operator only moves the focus or asks
# what is shown: plain reads (a code and at most a one-digit selector). The
# watchdog's AI;/PS; and the meter's SM0; are such reads.
READ = re.compile(r"^[A-Z]{2}\d?;$")
# What the console writes on its own while idle: the meter and the watchdog.
POLL = re.compile(r"^(SM\d|AI|PS);$")
DEADLINE = 30.0   # seconds for anything to be said or done (a loaded machine)


class WalkFailure(Exception):
    pass


def mhz(hz):
    """14195000 -> '14.195.000 MHz' as the console reads a frequency."""
    text = "%d" % hz
    mhz_part, rest = text[:-6] or "0", text[-6:].rjust(6, "0")
    return "%s.%s.%s MHz" % (mhz_part, rest[:3], rest[3:])


class Radio:
    """The simulated radio: its device, its dial and its state."""

    def __init__(self, program, trace):
        self.proc = subprocess.Popen([program, "--trace", trace], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, bufsize=1)
        self.device = self.proc.stdout.readline().strip()
        if not self.device.startswith("/dev/"):
            raise WalkFailure("the radio did not start: %r" % self.device)

    def ask(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        return self.proc.stdout.readline().strip()

    def state(self):
        return {k: int(v) for k, v in (p.split("=") for p in self.ask("state").split())}

    def dial(self, steps):
        if self.ask("dial %d" % steps) != "ok":
            raise WalkFailure("the radio refused the dial")

    def stop(self):
        if self.proc.poll() is None:
            try:
                self.ask("quit")
                self.proc.wait(5)
            except (OSError, subprocess.TimeoutExpired, BrokenPipeError):
                self.proc.kill()


class Walk:
    def __init__(self, args):
        self.args = args
        self.tmp = tempfile.mkdtemp(prefix="screen-reader-walk-")
        os.chmod(self.tmp, 0o700)
        self.procs = []
        self.radio = None
        self.log = os.path.join(self.tmp, "reader.log")
        self.trace = os.path.join(self.tmp, "line.trace")
        self.transcript = []      # (task, utterance) in order, for the report
        self.task = ""
        self._offset = 0
        self._said = []
        self.t0 = time.monotonic()
        self.faults = []          # (task, what) found with --keep-going

    def expect(self, check, *args, **kwargs):
        """A check whose failure ends the walk, or with --keep-going is noted
        and the walk goes on (to list every fault of one run)."""
        try:
            return check(*args, **kwargs)
        except WalkFailure as e:
            if not self.args.keep_going:
                raise
            self.faults.append((self.task, str(e)))
            print("FAULT in %s: %s" % (self.task, e), flush=True)
            return None

    def fail(self, message):
        self.expect(self._raise, message)

    @staticmethod
    def _raise(message):
        raise WalkFailure(message)

    # ---- processes
    def start(self):
        env = dict(os.environ)
        for d in ("run", "config", "data", "home", "cache"):
            os.makedirs(os.path.join(self.tmp, d), mode=0o700)
        # Nothing of the machine's preferences: the reader's, the console's and
        # the desktop's folders are all made here.
        env.update(XDG_RUNTIME_DIR=os.path.join(self.tmp, "run"),
                   XDG_CONFIG_HOME=os.path.join(self.tmp, "config"),
                   XDG_DATA_HOME=os.path.join(self.tmp, "data"),
                   XDG_CACHE_HOME=os.path.join(self.tmp, "cache"),
                   HOME=os.path.join(self.tmp, "home"),
                   QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
        self.env = env
        self.radio = Radio(self.args.radio, os.path.join(self.tmp, "radio.trace"))
        python = sys.executable
        self.procs.append(subprocess.Popen(
            [python, os.path.join(HERE, "run_orca.py"), os.path.join(self.tmp, "reader-prefs"), self.log,
             self.args.reader],
            env=env, stdout=open(os.path.join(self.tmp, "reader.out"), "w"), stderr=subprocess.STDOUT))
        self.wait_log(r"ORCA: Startup complete", "the screen reader to start")
        cenv = dict(env, ZEPHYRA_TRACE=self.trace)
        self.procs.append(subprocess.Popen(
            [self.args.console, "--port", self.radio.device, "--connect"], env=cenv,
            stdout=open(os.path.join(self.tmp, "console.log"), "w"), stderr=subprocess.STDOUT))

    def stop(self):
        for p in reversed(self.procs):
            if p.poll() is None:
                p.terminate()
                try:
                    p.wait(5)
                except subprocess.TimeoutExpired:
                    p.kill()
        if self.radio:
            self.radio.stop()

    # ---- what the reader said
    def said(self):
        """Every utterance so far, in order."""
        try:
            with open(self.log, errors="replace") as f:
                f.seek(self._offset)
                chunk = f.read()
        except FileNotFoundError:
            return self._said
        # Only whole lines: the reader may be writing the last one.
        end = chunk.rfind("\n")
        if end < 0:
            return self._said
        self._offset += len(chunk[:end + 1].encode("utf-8", errors="replace"))
        for line in chunk[:end + 1].splitlines():
            at = line.find("SPEECH OUTPUT: '")
            if at < 0:
                continue
            text = line[at + len("SPEECH OUTPUT: '"):]
            # The utterance, then the voice it would be said in ("{...}").
            m = re.match(r"^(.*)'(?: voice=\w+)?\s*(?:\{.*\})?\s*$", text)
            text = m.group(1) if m else text
            self._said.append(text.strip())
            self.transcript.append((self.task, text.strip()))
        return self._said

    def mark(self):
        return len(self.said())

    def since(self, mark):
        return self.said()[mark:]

    def wait_log(self, pattern, what, timeout=60.0):
        deadline = time.monotonic() + timeout
        rx = re.compile(pattern)
        while time.monotonic() < deadline:
            try:
                with open(self.log, errors="replace") as f:
                    if rx.search(f.read()):
                        return
            except FileNotFoundError:
                pass
            time.sleep(0.05)
        raise WalkFailure("waited %.0f s for %s" % (timeout, what))

    def hear(self, pattern, mark, what=None, timeout=None):
        """The first utterance since `mark` that matches; fails at the deadline."""
        rx = re.compile(pattern)
        deadline = time.monotonic() + (timeout or (12.0 if self.args.keep_going else DEADLINE))
        while True:
            for i, text in enumerate(self.said()[mark:]):
                if rx.search(text):
                    return mark + i, text
            if time.monotonic() > deadline:
                raise WalkFailure("the reader never said %s (/%s/); it said: %r"
                                  % (what or "it", pattern, self.since(mark)))
            time.sleep(0.05)

    def quiet(self, seconds=0.4, longest=5.0):
        """Until the reader has said nothing new for `seconds`, or `longest`
        has passed (a reader that keeps talking is for the caller to judge)."""
        deadline = time.monotonic() + longest
        count, since = self.mark(), time.monotonic()
        while time.monotonic() < deadline:
            now = self.mark()
            if now != count:
                count, since = now, time.monotonic()
            elif time.monotonic() - since >= seconds:
                return
            time.sleep(0.05)

    def said_after(self, key, pattern, what):
        """Presses `key`, then hears what the reader says to it (as hear)."""
        mark = self.mark()
        self.key(key)
        return self.hear(pattern, mark, what)

    def hear_nothing(self, pattern, mark, why):
        bad = [t for t in self.since(mark) if re.search(pattern, t)]
        if bad:
            raise WalkFailure("%s: the reader said %r" % (why, bad))

    # ---- the wire
    def wire(self):
        try:
            return open(self.trace, errors="replace").read().splitlines()
        except FileNotFoundError:
            return []

    def sent_since(self, mark):
        out = []
        for line in self.wire()[mark:]:
            m = re.match(r"\S+ \S+ > (.*)$", line)
            if m:
                out += [c + ";" for c in m.group(1).split(";") if c]
        return out

    def wire_mark(self):
        return len(self.wire())

    def wait_sent(self, pattern, mark, what):
        deadline = time.monotonic() + DEADLINE
        rx = re.compile(pattern)
        while time.monotonic() < deadline:
            if any(rx.search(c) for c in self.sent_since(mark)):
                return
            time.sleep(0.05)
        raise WalkFailure("the console never sent %s; it sent %r" % (what, self.sent_since(mark)))

    def no_set_since(self, mark, doing):
        sets = [c for c in self.sent_since(mark) if not READ.match(c)]
        if sets:
            raise WalkFailure("%s sent commands to the radio: %r" % (doing, sets))

    def settle(self, quiet=0.6):
        """Until the console has written nothing but its idle polling for
        `quiet` seconds: a guarded operation and its reading back have ended."""
        deadline = time.monotonic() + DEADLINE
        seen, since = self.wire_mark(), time.monotonic()
        while time.monotonic() < deadline:
            now = self.wire_mark()
            if any(not POLL.match(c) for c in self.sent_since(seen)):
                since = time.monotonic()
            seen = now
            if time.monotonic() - since >= quiet:
                return
            time.sleep(0.05)
        raise WalkFailure("the console never stopped writing to the radio")

    def next_control(self, expected, after):
        """Tab once: the reader names the control that follows `after`."""
        self.settle()
        mark = self.mark()
        self.key("Tab")
        _, text = self.hear(r"^.+ (push button|toggle button|check box|scroll bar|combo box)\b|^Front panel",
                            mark, "the control after %s" % after)
        if self.focus_name(text) != expected:
            self.fail("after %s the focus went to %r, not the next control %r" % (after, text, expected))
            return False
        return True

    def wait_radio(self, check, what):
        deadline = time.monotonic() + DEADLINE
        while time.monotonic() < deadline:
            s = self.radio.state()
            if check(s):
                return s
            time.sleep(0.05)
        raise WalkFailure("the radio never came to %s: %r" % (what, self.radio.state()))

    # ---- the keyboard
    def key(self, *keys):
        r = subprocess.run(["xdotool", "key", "--delay", "40"] + list(keys), env=self.env,
                           capture_output=True, text=True)
        if r.returncode != 0:
            raise WalkFailure("xdotool: %s" % r.stderr.strip())

    def type(self, text):
        self.key(*[{".": "period"}.get(c, c) for c in text])

    def focus_window(self):
        """Gives the console's window the keyboard once it is on screen, until
        the reader has seen it become the active window."""
        deadline = time.monotonic() + DEADLINE
        activated = re.compile(r"window:activate for \[[a-z ]+ \| %s\]" % re.escape(CAPTION))
        while time.monotonic() < deadline:
            r = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", CAPTION], env=self.env,
                               capture_output=True, text=True)
            ids = r.stdout.split()
            if ids:
                subprocess.run(["xdotool", "windowfocus", "--sync", ids[0]], env=self.env,
                               capture_output=True)
                try:
                    self.wait_log(activated.pattern, "the window's activation", timeout=2.0)
                    return ids[0]
                except WalkFailure:
                    pass
            time.sleep(0.05)
        raise WalkFailure("the console's window never became the active window")

    def focus_name(self, text):
        """The control's name from a focus utterance ('SEND push button.')."""
        m = re.match(r"^(.*?) (push button|toggle button|check box|scroll bar|combo box|"
                     r"radio button|label|text|menu item|menu|table|table cell|page tab)\b", text)
        return m.group(1) if m else None

    def tab_to(self, name, back=False, limit=110):
        """Tab (Shift+Tab) until the reader names `name` as the focused control;
        returns how many presses it took. Moving sends nothing to the radio."""
        self.settle()
        wire = self.wire_mark()
        for n in range(1, limit + 1):
            mark = self.mark()
            self.key("shift+Tab" if back else "Tab")
            _, text = self.hear(r"^.+ (push button|toggle button|check box|scroll bar|combo box|"
                                r"radio button|menu item)\b", mark, "the control Tab reached")
            if self.focus_name(text) == name:
                self.no_set_since(wire, "moving the focus with Tab")
                return n
        raise WalkFailure("Tab never reached %r in %d presses" % (name, limit))

    def f2(self):
        """F2 and the summary it speaks."""
        mark = self.mark()
        self.key("F2")
        _, text = self.hear(r"^Main ", mark, "the summary")
        return text
