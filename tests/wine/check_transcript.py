#!/usr/bin/python3
# check_transcript.py TRANSCRIPT EXPECTED [--in-order]: what QUIRNEL_ADDRVUE.exe showed under
# Wine against what it must show. The run must end with the closing box.
#
# Without --in-order, the lines before the closing box must equal the Linux report's lines of the
# same fixture, except for the number the third host item puts in Text1 (the DNS list's Next: an
# address on Windows, an offset on Linux): a decimal there too, the same on every line that still
# shows it, and non-zero exactly when the Linux one is. With --in-order, each expected line names
# some keys, and the boxes must show them in that order (other boxes may come between).
import json
import re
import sys

DECIMAL = re.compile(r"-?[0-9]+")


def problem(shown, expected, in_order):
    if not shown or shown.pop()["box"] != "_Всё _!":
        return "the run did not end with the closing box"
    if in_order:
        at = 0
        for want in expected:
            at = next((i for i in range(at, len(shown)) if want.items() <= shown[i].items()), None)
            if at is None:
                return f"no box shows {want} after the ones before"
        return None
    if len(shown) != len(expected):
        return f"{len(shown)} boxes before the closing one, the Linux report shows {len(expected)}"
    host = len(expected) >= 3 and expected[0]["Text1"].startswith("ИМЯ КОМПЬЮТЕРА:")
    reference = expected[2]["Text1"] if host and DECIMAL.fullmatch(expected[2]["Text1"]) else None
    address = None
    for number, (w, e) in enumerate(zip(shown, expected), start=1):
        if reference and number >= 3 and e["Text1"] == reference and (number == 3 or address):
            if (not DECIMAL.fullmatch(w["Text1"]) or (w["Text1"] != "0") != (reference != "0")
                    or address not in (None, w["Text1"])):
                return f"line {number}: Text1 {w['Text1']!r} where Linux shows Next {reference}"
            address, w = w["Text1"], dict(w, Text1=reference)
        elif number > 3:
            address = None
        if w != e:
            return f"line {number} differs:\n  windows: {w}\n  linux:   {e}"
    return None


def main(transcript, expected_file, *mode):
    shown = [json.loads(line) for line in open(transcript, encoding="utf-8")]
    expected = [json.loads(line) for line in open(expected_file, encoding="utf-8")]
    found = problem(shown, expected, mode == ("--in-order",))
    print(f"FAIL: {found}" if found else f"OK: {len(expected)} expected boxes, the closing box")
    return 1 if found else 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:]))
