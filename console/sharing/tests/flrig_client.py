#!/usr/bin/env python3
# SPDX-License-Identifier: GPL-3.0-or-later
"""Calls every XML-RPC method of the console's flrig-compatible server with
Python's own client and checks each answer. Usage: flrig_client.py PORT.
Exits 0 after printing "all methods answered", 1 on the first wrong answer."""
import sys
import time
import xmlrpc.client

port = int(sys.argv[1])
url = f"http://127.0.0.1:{port}/RPC2"
rig = xmlrpc.client.ServerProxy(url)
checked = []


def check(name, got, want):
    if callable(want):
        ok = want(got)
    else:
        ok = got == want
    if not ok:
        print(f"FAIL {name}: got {got!r}, want {want!r}")
        sys.exit(1)
    checked.append(name)
    print(f"ok   {name} -> {got!r}")


def fault(name, call):
    try:
        call()
    except xmlrpc.client.Fault as f:
        checked.append(name)
        print(f"ok   {name} -> fault {f.faultCode}")
        return
    print(f"FAIL {name}: no fault")
    sys.exit(1)


check("main.get_version", rig.main.get_version(), lambda v: isinstance(v, str) and v != "")
check("rig.get_xcvr", rig.rig.get_xcvr(), "QX-9000")
methods = rig.system.listMethods()
check("system.listMethods", "rig.set_vfoB" in methods and "rig.get_smeter" in methods, True)
check("system.methodHelp", rig.system.methodHelp("rig.get_vfo"), lambda v: "frequency" in v)

# frequencies (get answers a string of Hz)
check("rig.set_AB", rig.rig.set_AB("A"), 0)
check("rig.get_AB", rig.rig.get_AB(), "A")
check("rig.set_vfo", rig.rig.set_vfo(14074000.0), 0)
check("rig.get_vfo", rig.rig.get_vfo(), "14074000")
check("rig.set_frequency", rig.rig.set_frequency(7074000.0), 0)
check("rig.get_vfoA", rig.rig.get_vfoA(), "7074000")
check("rig.set_vfoB", rig.rig.set_vfoB(7076000.0), 0)
check("rig.get_vfoB", rig.rig.get_vfoB(), "7076000")
check("rig.set_vfoA", rig.rig.set_vfoA(7074000), 0)
check("rig.get_info", rig.rig.get_info(), lambda v: "FA:7074000" in v and v.startswith("R:QX-9000"))

# modes and widths
modes = rig.rig.get_modes()
check("rig.get_modes", modes, lambda v: "USB" in v and "CW" in v and "FSK" in v)
# B's mode on a fresh console is read from the radio (B is LSB, A USB)
check("rig.get_modeB fresh", rig.rig.get_modeB(), "LSB")
check("rig.set_mode", rig.rig.set_mode("CW"), 0)
check("rig.get_mode", rig.rig.get_mode(), "CW")
check("rig.set_modeB", rig.rig.set_modeB("LSB"), 0)
check("rig.get_modeB", rig.rig.get_modeB(), "LSB")
check("rig.get_AB after set_modeB", rig.rig.get_AB(), "A")
check("rig.set_modeA", rig.rig.set_modeA("USB"), 0)
check("rig.get_modeA", rig.rig.get_modeA(), "USB")
check("rig.get_bws", rig.rig.get_bws(), lambda v: v[0][0] == "Bandwidth" and "2400" in v[0])
check("rig.set_bwA", rig.rig.set_bwA(2400), 0)
check("rig.get_bwA", rig.rig.get_bwA(), "2400")
check("rig.get_bwB", rig.rig.get_bwB(), "2400")  # the VFOs share one filter
check("rig.set_bwB the shared width", rig.rig.set_bwB(2400), 0)
fault("rig.set_bwB another width while A receives", lambda: rig.rig.set_bwB(500))
check("rig.get_modeA after B's", rig.rig.get_modeA(), "USB")
# fldigi's bandwidth box: filled from rig.get_bws; the operator's choice goes
# out as its position in that list, and the box shows rig.get_bw's first value
widths = rig.rig.get_bws()[0][1:]
check("rig.set_bw", rig.rig.set_bw(widths.index("1800")), 0)
check("rig.get_bw", rig.rig.get_bw(), ["1800", ""])
check("rig.get_sideband", rig.rig.get_sideband(), "U")
check("rig.get_pwrmeter_scale", rig.rig.get_pwrmeter_scale(), 1)

# split, power, meters, PTT
check("rig.set_split", rig.rig.set_split(1), 0)
check("rig.get_split", rig.rig.get_split(), 1)
check("rig.set_split 0", rig.rig.set_split(0), 0)
check("rig.get_split 0", rig.rig.get_split(), 0)
check("rig.set_power", rig.rig.set_power(40), 0)
check("rig.get_power", rig.rig.get_power(), 40)
check("rig.get_smeter", rig.rig.get_smeter(), lambda v: isinstance(v, int) and 0 <= v <= 100)
check("rig.get_pwrmeter idle", rig.rig.get_pwrmeter(), 0)
# a connection of its own that closes after keying: the transmitter stays on
once = xmlrpc.client.ServerProxy(url)
check("rig.set_ptt", once.rig.set_ptt(1), 0)
once("close")()
time.sleep(0.4)
check("rig.get_ptt", rig.rig.get_ptt(), 1)
check("rig.get_pwrmeter", rig.rig.get_pwrmeter(), lambda v: isinstance(v, int) and v > 0)
fault("rig.set_modeB while transmitting", lambda: rig.rig.set_modeB("CW"))
check("rig.get_AB while transmitting", rig.rig.get_AB(), "A")
check("rig.set_ptt 0", rig.rig.set_ptt(0), 0)
check("rig.get_ptt 0", rig.rig.get_ptt(), 0)

# refusals are faults, never a hang
fault("unknown method", lambda: rig.rig.no_such_method())
fault("rig.set_mode bad name", lambda: rig.rig.set_mode("FA00000000000;"))
fault("rig.set_vfo out of range", lambda: rig.rig.set_vfo(100000000.0))
fault("rig.set_AB bad", lambda: rig.rig.set_AB("C"))
fault("rig.set_power too much", lambda: rig.rig.set_power(500))

# every method listed was called
called = {c.split(" ")[0] for c in checked}
missing = [m for m in methods if m not in called]
if missing:
    print("FAIL not called:", missing)
    sys.exit(1)
print(f"all methods answered ({len(checked)} checks)")
