# SPDX-License-Identifier: GPL-3.0-or-later
"""screen_reader_walk.py - a blind operator's tasks on the console, with the
screen reader listening and the keyboard alone.

Runs on a display with the session and accessibility buses (run_walk.sh):
starts the simulated radio (screen_reader_radio), the screen reader with
speech off and a preferences folder of its own, then the console connected to
the radio; presses keys with xdotool and checks what the reader would have
said (the utterances of its debug record) against the radio's own state, and
the commands the console wrote while the operator only moved around.

Every wait is for something said or done, with a deadline; nothing waits a
fixed time. On a failure the transcript so far is printed.

    screen_reader_walk.py --reader orca --console zephyra --radio screen_reader_radio [--transcript FILE]
"""
import argparse
import re
import shutil
import sys
import time

from walk_driver import DEADLINE, MODES, Walk, WalkFailure, mhz


def run(walk, args):
    w = walk
    w.start()

    # 1. Connect: the frequency, the mode and the S meter, as the radio has them.
    w.task = "connect"
    # The window takes the keyboard as soon as it shows (no window manager
    # here gives it); the reader speaks for the active window only.
    w.focus_window()
    w.wait_sent(r"^EX0000000;$", 0, "the end of the initial read")
    s = w.radio.state()
    w.expect(w.hear, r"^notification %s" % re.escape(mhz(s["vfoA"])), 0, "the frequency at connect")
    wire = w.wire_mark()
    summary = w.f2()
    s = w.radio.state()
    expect = "Main %s, %s, S meter S" % (mhz(s["vfoA"]), MODES[s["modeA"]])
    if not summary.startswith(expect):
        w.fail("F2 said %r, the radio has %r" % (summary, expect))
    w.no_set_since(wire, "F2")
    mark = w.mark()
    w.key("Escape")

    # 2. Tune to 7.074.000 by entry: ENT, the digits, ENT.
    w.task = "tune by entry"
    steps = w.tab_to("ENT")
    mark = w.mark()
    w.key("Return")
    w.type("7.074")
    w.key("Return")
    s = w.wait_radio(lambda s: s["vfoA"] == 7074000, "7.074.000")
    w.expect(w.hear, r"^notification 7\.074\.000 MHz", mark, "the new frequency")
    w.expect(w.hear_nothing, r"14\.195\.000", mark, "after the entry the old frequency is gone")
    w.expect(w.hear_nothing, r"-{4,}|dash dash", mark, "the entry's blank digits")

    # 3. Store the frequency in memory channel 010 and recall it: M. IN, the
    # channel's digits, M. IN again to write; VFO / M to recall.
    w.task = "store and recall a memory"
    w.tab_to("M. IN")
    w.expect(w.said_after, "Return", r"(?i)channel|memory", "the memory scroll mode")
    if w.next_control("M > VFO", "M. IN"):
        w.tab_to("M. IN", back=True)
    else:
        w.tab_to("M. IN")
    w.settle()
    mark = w.mark()
    w.type("010")
    w.expect(w.hear, r"(?i)channel.*\b0?10\b|\b010\b", mark, "the channel typed")
    mark = w.mark()
    w.key("Return")
    s = w.wait_radio(lambda s: s["mem10"] == 7074000, "channel 010 holding 7.074.000")
    w.expect(w.hear, r"(?i)(stored|written|memory).*010|010.*(stored|written)", mark, "the write confirmed")
    w.tab_to("VFO / M")
    w.key("Return")
    w.wait_radio(lambda s: s["rxVfo"] == 2, "memory mode")
    # In memory mode ENT and three digits call up a channel.
    w.tab_to("ENT", back=True)
    w.key("Return")
    w.type("010")
    s = w.wait_radio(lambda s: s["rxVfo"] == 2 and s["channel"] == 10 and s["vfoA"] == 7074000,
                     "memory channel 010")
    summary = w.f2()
    if not re.search(r"(?i)memory", summary) or "010" not in summary or mhz(7074000) not in summary:
        w.fail("F2 after the recall said %r: no memory channel 010 at 7.074.000" % summary)
    w.key("Escape")
    # Back to the VFO for the rest of the walk.
    w.tab_to("VFO / M")
    w.key("Return")
    w.wait_radio(lambda s: s["rxVfo"] == 0, "the VFO again")

    # 4. The sub receiver on.
    w.task = "sub receiver on"
    w.tab_to("Sub receiver")
    mark = w.mark()
    w.key("Return")
    s = w.wait_radio(lambda s: s["subOn"] == 1, "the sub receiver on")
    w.expect(w.hear, r"^checked", mark, "the box checked")
    summary = w.f2()
    sub = "Sub %s" % mhz(s["sub"])
    said_mode = re.search(r"Sub [\d.]+ MHz, (%s)\b" % "|".join(sorted(MODES.values(), key=len, reverse=True)), summary)
    if sub not in summary or (said_mode and said_mode.group(1) != MODES[s["modeSub"]]):
        w.fail("F2 with the sub receiver on said %r, the radio has %r, %s"
               % (summary, sub, MODES[s["modeSub"]]))
    w.key("Escape")

    # 5. The AF gain, with the arrow keys on its bar.
    w.task = "AF gain"
    w.tab_to("Main AF gain")
    before = w.radio.state()["af0"]
    mark = w.mark()
    wire = w.wire_mark()
    for _ in range(5):
        w.key("Up")
    w.wait_sent(r"^AG0\d{3};$", wire, "the AF gain")
    w.settle()
    s = w.wait_radio(lambda s: s["af0"] != before, "a new AF gain")
    w.expect(w.hear, r"^%d$" % s["af0"], mark, "the AF gain the radio has (%d)" % s["af0"])
    levels = [t for t in w.since(mark) if re.match(r"^\d+$", t)]
    if levels[-1:] != [str(s["af0"])]:
        w.fail("the last AF gain said was %r; the radio has %d" % (levels[-1:], s["af0"]))

    # 6. Key and unkey.
    w.task = "key and unkey"
    w.tab_to("SEND")
    mark = w.mark()
    w.key("Return")
    w.wait_radio(lambda s: s["transmitting"] == 1, "transmitting")
    w.expect(w.hear, r"(?i)^notification transmitting", mark, "transmitting")
    summary = w.f2()
    if "transmitting" not in summary:
        w.fail("F2 while transmitting said %r" % summary)
    w.key("Escape")
    mark = w.mark()
    w.key("Return")
    w.wait_radio(lambda s: s["transmitting"] == 0, "receiving")
    w.expect(w.hear, r"(?i)^notification receiving", mark, "receiving")

    # 7. Change the mode.
    w.task = "change mode"
    w.tab_to("LSB / USB")
    before = w.radio.state()["modeA"]
    mark = w.mark()
    w.key("Return")
    s = w.wait_radio(lambda s: s["modeA"] != before, "another mode")
    w.expect(w.hear, r"^notification %s\b" % re.escape(MODES[s["modeA"]]), mark, "the new mode")

    # Setup's drop-downs say their choice under their caption: the baud rate
    # the radio is set to, heard from the keyboard.
    w.task = "setup"
    w.settle()
    w.said_after("alt+c", r"^(ON|OFF) \(", "the Control menu")
    mark = w.mark()
    w.key("s")
    w.hear(r"^Setup dialog", mark, "the Setup window")
    w.hear(r"^Port combo box", mark, "the port's drop-down")
    mark = w.mark()
    w.key("Tab")
    w.hear(r"^Baud combo box", mark, "the baud rate's drop-down")
    w.expect(w.hear, r"^\s*9600\s*bps", mark, "the baud rate chosen (9600 bps)")
    w.said_after("Escape", r"push button|check box|scroll bar|combo box", "the panel's control again")

    # Nothing said once is read again as live: A = B after the summary spoke
    # "transmitting" reads the window without it.
    w.task = "nothing stale"
    w.tab_to("A = B")
    mark = w.mark()
    w.key("Return")
    w.wait_radio(lambda s: s["vfoB"] == s["vfoA"], "VFO B equal to A")
    w.next_control("A / B", "A = B")
    w.expect(w.hear_nothing, r"(?i)transmitting|power \d+ W|S meter", mark, "the summary is not live any more")
    w.expect(w.hear_nothing, r"(?i)Sub control band|noise reduction|Main memory channel", mark,
                   "dark words read as showing")

    # 8. The radio tuned from its own side: announced, ending on its frequency.
    w.task = "tuned at the radio"
    mark = w.mark()
    w.radio.dial(100)
    s = w.radio.state()
    w.expect(w.hear, r"^notification %s" % re.escape(mhz(s["vfoA"])), mark, "the frequency tuned at the radio")
    last = [t for t in w.since(mark) if re.match(r"^notification \d", t)][-1]
    if mhz(s["vfoA"]) not in last:
        w.fail("the last announcement %r is not the radio's %s" % (last, mhz(s["vfoA"])))

    # 9. A channel read in the memory table.
    w.task = "memory table"
    # From a control of the panel (the tasks above may have left none focused).
    w.said_after("Tab", r"push button|check box|scroll bar|combo box", "a control")
    w.settle()
    w.expect(w.said_after, "alt+e", r"^M\. IN", "the Memory menu's first item")
    w.expect(w.said_after, "h", r"(?i)Memory Channels", "the Memory Channels window")
    wire = w.wire_mark()
    w.key("alt+r")
    deadline = time.monotonic() + DEADLINE
    while len({c[3:] for c in w.sent_since(wire) if re.match(r"^MR\d{4};$", c)}) < 300:
        if time.monotonic() > deadline:
            raise WalkFailure("the table never read the radio's channels")
        time.sleep(0.1)
    w.settle()
    for _ in range(12):
        mark = w.mark()
        w.key("shift+Tab")
        w.hear(r"^table with|push button|check box|combo box|column header|\.$", mark,
               "the control Shift+Tab reached", timeout=DEADLINE)
        w.settle(0.3)
        if any(t.startswith("table with") for t in w.since(mark)):
            break
    else:
        w.fail("Shift+Tab never came back to the channel table")
    # The table may take the focus on its first cell already (Ctrl+Home
    # would then move nothing and say nothing): the last row first.
    w.said_after("ctrl+End", r"(?i)^call\b", "the last channel")
    w.said_after("ctrl+Home", r"^0*0\b|^000", "the first channel")
    w.quiet()
    # Down to channel 010, then along its row to the frequency.
    # A row is read as its number, then each of its cells; the next Down waits
    # for the row's number, never for a cell still being read from the row
    # before, and for the row to be read out (a reader that lags behind the
    # keys skips the rows it had no time for).
    row = None
    for _ in range(15):
        # The number alone: a cell's frequency ("145.500000") or tone
        # ("88.5") is never taken for it.
        _, text = w.said_after("Down", r"^\d{2,3}\.?$", "the next row's number")
        w.quiet()
        if re.match(r"^0?10\.?$", text):
            row = text
            break
    if row is None:
        w.fail("Down never reached channel 010")
    stored = w.radio.state()["mem10"]
    mark = w.mark()
    for _ in range(4):
        cell = w.mark()
        w.key("Right")
        w.hear(r".", cell, "the next cell")
        w.quiet()
        if any(re.search(r"\d+\.\d{3}\.?\d{3}", t) for t in w.since(mark)):
            break
    cells = " ".join(w.since(mark))
    # The table's frequency columns are in MHz ("7.074000").
    if "%.6f" % (stored / 1e6) not in cells and mhz(stored).split()[0] not in cells:
        w.fail("channel 010 read %r; the radio holds %s there" % (cells, mhz(stored)))
    w.key("Escape")

    # Over the whole walk: nothing dark read as showing (no noise reduction,
    # repeater shift or program scan was ever on), and once the radio was
    # receiving again nothing spoke of transmitting as if it still were.
    w.task = "the whole walk"
    said = w.said()
    dark = [t for t in said if re.search(r"noise reduction|repeater shift|program scan mark", t)]
    if dark:
        w.fail("words never lit were read as showing: %r" % dark[:2])
    received = [i for i, t in enumerate(said) if t.startswith("notification receiving")]
    stale = [t for t in said[received[-1] + 1:] if "transmitting" in t] if received else []
    if stale:
        w.fail("after the radio went back to receive the reader still said %r" % stale[:2])

    if args.explore:
        return
    print("walk: all tasks done in %.1f s" % (time.monotonic() - w.t0))


def main():
    p = argparse.ArgumentParser()
    p.add_argument("--reader", default="orca")
    p.add_argument("--console", required=True)
    p.add_argument("--radio", required=True)
    p.add_argument("--transcript")
    p.add_argument("--explore", action="store_true")
    p.add_argument("--keep", action="store_true")
    p.add_argument("--keep-going", action="store_true",
                   help="note a failed check and go on, to list every fault of one run")
    args = p.parse_args()
    walk = Walk(args)
    rc = 0
    try:
        run(walk, args)
        if walk.faults:
            print("FAILED: %d checks" % len(walk.faults))
            rc = 1
    except WalkFailure as e:
        print("FAILED in %s: %s" % (walk.task, e))
        rc = 1
    finally:
        walk.said()
        walk.stop()
        if args.transcript or rc or args.explore:
            out = open(args.transcript, "w") if args.transcript else sys.stdout
            task = None
            for t, text in walk.transcript:
                if t != task:
                    print("[%s]" % t, file=out)
                    task = t
                print("    " + text, file=out)
        if args.keep:
            print("kept", walk.tmp)
        else:
            shutil.rmtree(walk.tmp, ignore_errors=True)
    return rc


if __name__ == "__main__":
    sys.exit(main())