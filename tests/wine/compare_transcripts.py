#!/usr/bin/python3
"""compare_transcripts.py WINDOWS LINUX: the transcript QUIRNEL_ADDRVUE.exe showed under Wine
against the Linux report's transcript of the same fixture.

The Windows run goes on to the closing box "_Всё _!", which must be its last line; before it,
every line must equal the Linux line byte for byte, except for the number the third host item
puts in Text1 (the DNS list's Next: an address on Windows, an offset on Linux). That number
must be a decimal there too, the same on every line that still shows it, and non-zero exactly
when the Linux one is."""
import json
import re
import sys

CLOSING = "_Всё _!"
DECIMAL = re.compile(r"-?[0-9]+")


def fail(message):
    print("FAIL:", message)
    sys.exit(1)


def main(windows_file, linux_file):
    windows = open(windows_file, encoding="utf-8", newline="").read().splitlines(keepends=True)
    linux = open(linux_file, encoding="utf-8", newline="").read().splitlines(keepends=True)
    if not windows or json.loads(windows[-1])["box"] != CLOSING:
        fail(f"the run did not end with the closing box {CLOSING!r}")
    windows = windows[:-1]
    if len(windows) != len(linux):
        fail(f"{len(windows)} boxes before the closing one, the Linux report shows {len(linux)}")

    # The third host item: the third box, when the host part of the report got that far.
    reference = None
    if len(linux) >= 3 and json.loads(linux[0])["Text1"].startswith("ИМЯ КОМПЬЮТЕРА:"):
        text = json.loads(linux[2])["Text1"]
        if DECIMAL.fullmatch(text):
            reference = text
    shown_address = None
    for number, (w, l) in enumerate(zip(windows, linux), start=1):
        lw, ll = json.loads(w), json.loads(l)
        if reference is not None and number >= 3 and ll["Text1"] == reference and (
                number == 3 or shown_address is not None):
            address = lw["Text1"]
            if not DECIMAL.fullmatch(address):
                fail(f"line {number}: Text1 {address!r} is not the Next reference in decimal")
            if (address != "0") != (reference != "0"):
                fail(f"line {number}: Next reference {address} where Linux shows {reference}")
            if shown_address not in (None, address):
                fail(f"line {number}: Text1 changed from {shown_address} to {address}")
            shown_address = address
            w = w.replace(json.dumps(address), json.dumps(reference), 1)
        else:
            shown_address = None if number > 3 else shown_address
        if w != l:
            fail(f"line {number} differs:\n  windows: {w.rstrip()}\n  linux:   {l.rstrip()}")
    print(f"OK: {len(linux)} boxes equal, then the closing box"
          + (f"; Next shown as {reference} on Linux" if reference is not None else ""))


if __name__ == "__main__":
    main(*sys.argv[1:3])
