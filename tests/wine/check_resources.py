#!/usr/bin/python3
# check_resources.py EXE x86|amd64: reads back what QUIRNEL_ADDRVUE.exe carries, without running
# it: a GUI image for that processor (PE32 for x86, PE32+ for amd64) importing Windows' own DLLs
# only (msvcrt, not the UCRT); the version strings; the icon and the bitmap from resources/; and
# the manifest Windows reads at the start (resource 1), laid out as Windows looks for it: the
# same processor, DPI awareness per monitor (v2, else the system's), Windows 7 to 11, the user's
# rights. Exit 0 when all holds, 1 with the differences, 77 to skip.
import os
import struct
import sys
import xml.etree.ElementTree as ElementTree

try:
    import pefile
except ImportError:
    print("SKIP: python3-pefile is not installed (Debian's /usr/bin/python3 has it)")
    sys.exit(77)

RESOURCES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "resources")
SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "iphlpapi.dll", "msvcrt.dll",
               "advapi32.dll", "comctl32.dll", "ntdll.dll"}
VERSION = {"CompanyName": "K_R_Z", "ProductName": "VELKOR_NX", "FileVersion": "1.00",
           "ProductVersion": "1.00", "InternalName": "QUIRNEL_ADDRVUE",
           "OriginalFilename": "QUIRNEL_ADDRVUE.exe"}
WINDOWS_7_TO_11 = {"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                   "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",
                   "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",
                   "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}
MANIFEST = {"v3": "urn:schemas-microsoft-com:asm.v3",
            "c": "urn:schemas-microsoft-com:compatibility.v1",
            "s5": "http://schemas.microsoft.com/SMI/2005/WindowsSettings",
            "s16": "http://schemas.microsoft.com/SMI/2016/WindowsSettings"}
# The image each architecture needs: machine and optional header magic.
IMAGES = {"x86": ("IMAGE_FILE_MACHINE_I386", 0x10B), "amd64": ("IMAGE_FILE_MACHINE_AMD64", 0x20B)}
problems = []


def expect(what, got, want):
    if got != want:
        problems.append(f"{what}: {got!r}, expected {want!r}")


def resources(pe, kind):
    """{id: bytes} of one resource type."""
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return {}
    found = {}
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == pefile.RESOURCE_TYPE[kind]:
            for named in entry.directory.entries:
                data = named.directory.entries[0].data.struct
                found[named.id] = pe.get_data(data.OffsetToData, data.Size)
    return found


def check_manifest(data, architecture):
    root = ElementTree.fromstring(data)
    expect("manifest's processorArchitecture", root.find(
        "{urn:schemas-microsoft-com:asm.v1}assemblyIdentity").get("processorArchitecture"),
        architecture)
    settings = "v3:application/v3:windowsSettings/"
    expect("dpiAware", root.findtext(settings + "s5:dpiAware", namespaces=MANIFEST), "true")
    expect("dpiAwareness", root.findtext(settings + "s16:dpiAwareness", namespaces=MANIFEST),
           "PerMonitorV2, System")
    expect("supported systems", {e.get("Id") for e in root.iterfind(
        "c:compatibility/c:application/c:supportedOS", MANIFEST)}, WINDOWS_7_TO_11)
    expect("execution level", [e.get("level") for e in root.iterfind(
        "v3:trustInfo/v3:security/v3:requestedPrivileges/v3:requestedExecutionLevel",
        MANIFEST)], ["asInvoker"])


def main():
    path, architecture = sys.argv[1:3]
    try:
        pe = pefile.PE(path)
    except (OSError, pefile.PEFormatError) as error:
        print(f"FAIL: cannot read {path} ({error}): build its Windows preset first")
        return 1
    machine, magic = IMAGES[architecture]
    expect("machine, PE format, subsystem",
           (pe.FILE_HEADER.Machine, pe.OPTIONAL_HEADER.Magic, pe.OPTIONAL_HEADER.Subsystem),
           (pefile.MACHINE_TYPE[machine], magic,
            pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"]))
    imports = {entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT}
    expect("imports outside Windows' own DLLs", imports - SYSTEM_DLLS, set())
    expect("imports iphlpapi.dll and msvcrt.dll", {"iphlpapi.dll", "msvcrt.dll"} <= imports, True)
    strings = {k.decode(): v.decode() for info in getattr(pe, "FileInfo", [[]])[0]
               for table in getattr(info, "StringTable", []) for k, v in table.entries.items()}
    expect("version strings", strings, VERSION)
    # The icon group carries the icon file's one directory entry (less its file offset), the
    # icon image its bytes, and the bitmap its file less the 14-byte file header.
    ico = open(os.path.join(RESOURCES, "program.ico"), "rb").read()
    bmp = open(os.path.join(RESOURCES, "picture1.bmp"), "rb").read()
    size, offset = struct.unpack_from("<II", ico, 14)
    expect("icon groups", [g[4:18] for g in resources(pe, "RT_GROUP_ICON").values()], [ico[4:18]])
    expect("icon is program.ico's", list(resources(pe, "RT_ICON").values()) == [
        ico[offset:offset + size]], True)
    expect("bitmap is picture1.bmp's",
           list(resources(pe, "RT_BITMAP").values()) == [bmp[14:]], True)
    manifests = resources(pe, "RT_MANIFEST")
    expect("manifests", list(manifests), [1])
    if 1 in manifests:
        check_manifest(manifests[1], architecture)
    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
