# SPDX-License-Identifier: GPL-3.0-or-later
"""run_orca.py PREFS_DIR LOG [READER] - runs the screen reader with speech off, its
preferences from PREFS_DIR alone, and its debug record written to LOG a line
at a time (the reader buffers the file otherwise, and a test waiting for an
utterance would wait for the buffer instead)."""
import builtins
import json
import os
import runpy
import sys

prefs, log = sys.argv[1], sys.argv[2]
reader = sys.argv[3] if len(sys.argv) > 3 else "/usr/bin/orca"
os.makedirs(prefs, exist_ok=True)
settings = os.path.join(prefs, "user-settings.conf")
if not os.path.exists(settings):
    general = {"enableSpeech": False, "enableBraille": False, "enableSound": False,
               "enableTutorialMessages": False, "enableKeyEcho": False,
               "enableEchoByCharacter": False, "enableEchoByWord": False, "enableMnemonicSpeaking": False,
               "speechServerFactory": "speechdispatcherfactory",
               "profile": ["Default", "default"], "activeProfile": ["Default", "default"],
               "startingProfile": ["Default", "default"]}
    json.dump({"general": general, "profiles": {"default": dict(general)},
               "keybindings": {}, "pronunciations": {}}, open(settings, "w"), indent=1)

_open = builtins.open


def _line_buffered(file, mode="r", *args, **kwargs):
    if file == log and "w" in mode:
        return _open(file, mode, buffering=1)
    return _open(file, mode, *args, **kwargs)


builtins.open = _line_buffered
sys.argv = [reader, "--user-prefs", prefs, "--debug-file", log]
# The reader refuses to start while another copy runs for the same user, on any
# bus. Each test run has buses of its own, so another run (a second test, a
# person's check) is no concern of this one.
main = runpy.run_path(reader, run_name="screen_reader_launcher")["main"]
main.__globals__["otherOrcas"] = lambda: []
sys.exit(main())
