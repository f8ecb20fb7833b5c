#!/usr/bin/python3
"""Reads back what QUIRNEL_ADDRVUE.exe carries and compares it with what it must carry: the
version record, one icon group with the one 64 x 64 8-bit icon, the 287 x 349 24-bit bitmap,
a 32-bit GUI image, and imports from Windows' own DLLs only.

usage: check_resources.py EXE     exit 0 when all holds, 1 with the differences, 77 to skip"""
import struct
import sys

try:
    import pefile
except ImportError:
    print("SKIP: python3-pefile is not installed (Debian's /usr/bin/python3 has it)")
    sys.exit(77)

SYSTEM_DLLS = {"kernel32.dll", "user32.dll", "gdi32.dll", "iphlpapi.dll", "msvcrt.dll",
               "advapi32.dll", "comctl32.dll", "ntdll.dll"}
STRINGS = [("CompanyName", "K_R_Z"), ("ProductName", "VELKOR_NX"), ("FileVersion", "1.00"),
           ("ProductVersion", "1.00"), ("InternalName", "QUIRNEL_ADDRVUE"),
           ("OriginalFilename", "QUIRNEL_ADDRVUE.exe")]

problems = []


def expect(what, got, want):
    if got != want:
        problems.append(f"{what}: {got!r}, expected {want!r}")


def resources_of(pe, type_id):
    """[(name or id, language, bytes)] of one resource type."""
    found = []
    if not hasattr(pe, "DIRECTORY_ENTRY_RESOURCE"):
        return found
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id != type_id:
            continue
        for named in entry.directory.entries:
            for lang in named.directory.entries:
                data = pe.get_data(lang.data.struct.OffsetToData, lang.data.struct.Size)
                found.append((named.id if named.name is None else str(named.name), lang.id, data))
    return found


def check_image(pe):
    expect("machine", pe.FILE_HEADER.Machine, pefile.MACHINE_TYPE["IMAGE_FILE_MACHINE_I386"])
    expect("subsystem", pe.OPTIONAL_HEADER.Subsystem,
           pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])
    imports = sorted(entry.dll.decode().lower() for entry in pe.DIRECTORY_ENTRY_IMPORT)
    foreign = [dll for dll in imports if dll not in SYSTEM_DLLS]
    expect("imports outside Windows' own DLLs", foreign, [])
    expect("imports iphlpapi.dll", "iphlpapi.dll" in imports, True)
    expect("imports msvcrt.dll (not the UCRT)", "msvcrt.dll" in imports, True)


def check_version(pe):
    expect("version records", len(resources_of(pe, pefile.RESOURCE_TYPE["RT_VERSION"])), 1)
    if not hasattr(pe, "VS_FIXEDFILEINFO"):
        return
    fixed = pe.VS_FIXEDFILEINFO[0]
    expect("FILEVERSION", (fixed.FileVersionMS, fixed.FileVersionLS), (0x00010000, 0))
    expect("PRODUCTVERSION", (fixed.ProductVersionMS, fixed.ProductVersionLS), (0x00010000, 0))
    expect("FILEFLAGSMASK", fixed.FileFlagsMask, 0)
    expect("FILEFLAGS", fixed.FileFlags, 0)
    expect("FILEOS", fixed.FileOS, 0x00000004)  # VOS__WINDOWS32
    expect("FILETYPE", fixed.FileType, 0x00000001)  # VFT_APP
    expect("FILESUBTYPE", fixed.FileSubtype, 0)
    tables, translations = [], []
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            tables += info.StringTable
        elif info.Key == b"VarFileInfo":
            for var in info.Var:
                translations.append(var.entry)
    expect("string blocks", [t.LangID for t in tables], [b"040904B0"])
    if tables:
        got = [(k.decode(), v.decode()) for k, v in tables[0].entries.items()]
        expect("strings in order", got, STRINGS)
    expect("translations", translations, [{b"Translation": "0x0409 0x04b0"}])


def check_pictures(pe):
    groups = resources_of(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"])
    icons = {name: data for name, _, data in resources_of(pe, pefile.RESOURCE_TYPE["RT_ICON"])}
    expect("icon groups", len(groups), 1)
    if groups:
        data = groups[0][2]
        _, kind, count = struct.unpack_from("<HHH", data)
        expect("icon group kind, images", (kind, count), (1, 1))
        if count == 1:
            width, height, colours, _, planes, bits, size, icon_id = struct.unpack_from(
                "<BBBBHHIH", data, 6)
            expect("icon entry width, height, colours, bits", (width, height, colours, bits),
                   (64, 64, 0, 8))
            image = icons.get(icon_id, b"")
            expect("icon image size", len(image), size)
            header = struct.unpack_from("<IiiHHI", image) if len(image) >= 20 else None
            # DIB header: width 64, height 128 (colour rows and mask rows), 8 bits, uncompressed;
            # then 256 palette entries, 64 rows of 64 bytes, 64 rows of 8 mask bytes.
            expect("icon image header", header, (40, 64, 128, 1, 8, 0))
            expect("icon image bytes", len(image), 40 + 256 * 4 + 64 * 64 + 64 * 8)
    expect("icon images", len(icons), 1)
    bitmaps = resources_of(pe, pefile.RESOURCE_TYPE["RT_BITMAP"])
    expect("bitmaps", len(bitmaps), 1)
    if bitmaps:
        data = bitmaps[0][2]
        header = struct.unpack_from("<IiiHHI", data)
        expect("bitmap header (size, width, height, planes, bits, compression)", header,
               (40, 287, 349, 1, 24, 0))
        expect("bitmap bytes", len(data), 40 + ((287 * 3 + 3) // 4 * 4) * 349)


def main():
    try:
        pe = pefile.PE(sys.argv[1])
    except (OSError, pefile.PEFormatError) as error:
        print(f"FAIL: cannot read {sys.argv[1]} ({error}): build the windows preset first")
        return 1
    check_image(pe)
    check_version(pe)
    check_pictures(pe)
    for problem in problems:
        print("FAIL:", problem)
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main())
