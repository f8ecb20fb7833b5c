#!/usr/bin/python3
"""check_own_ip_helper.py TRANSCRIPT HOST DNS1 DNS2 ADDRESS MASK GATEWAY HARDWARE: what
QUIRNEL_ADDRVUE.exe showed on Wine's own IP Helper in the test's network namespace holds the
namespace's host name, DNS servers and its one adapter's hardware address, address, mask and
gateway, in the report's order, and the run ends with the closing box."""
import json
import sys


def main(transcript, host, dns1, dns2, address, mask, gateway, hardware):
    lines = [json.loads(l) for l in open(transcript, encoding="utf-8")]
    # (what, key, text), in the order the report shows them.
    expected = [
        ("host name", "Text1", "ИМЯ КОМПЬЮТЕРА:  " + host),
        ("host name label", "Label2", host),
        ("caption", "caption", host),
        ("first DNS server", "Text1", "DNS СЕРВИС---:  " + dns1),
        ("second DNS server", "box", "DNS Servers:  " + dns2),
        ("hardware address", "Label3", hardware),
        ("address", "box", "IP Address: " + address),
        ("address label", "Label4", "IP Addr: " + address),
        ("mask", "Label5", "маска сети: " + mask),
        ("gateway", "Label6", "Точка входа: " + gateway),
        ("closing box", "box", "_Всё _!"),
    ]
    at = 0
    problems = []
    for what, key, text in expected:
        found = next((i for i in range(at, len(lines)) if lines[i][key] == text), None)
        if found is None:
            problems.append(f"{what}: no box from line {at + 1} on shows {key} = {text!r}")
        else:
            at = found
    if lines and lines[-1]["box"] != "_Всё _!":
        problems.append("the last box is not the closing box")
    for p in problems:
        print("FAIL:", p)
    if problems:
        print("transcript:")
        for l in lines:
            print("  ", json.dumps(l, ensure_ascii=False))
        return 1
    print(f"OK: {len(lines)} boxes show the namespace's host, DNS servers and adapter")
    return 0


if __name__ == "__main__":
    sys.exit(main(*sys.argv[1:9]))
