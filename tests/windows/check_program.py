#!/usr/bin/python3
"""Checks the installed Windows program folder: the program's version information, exactly as the
About window and Windows' file properties read it; its icon; that it is a GUI program; and that
everything in the folder imports nothing but the folder's own DLLs and Windows' own."""
import os
import struct
import subprocess
import sys

import pefile

folder = sys.argv[1]
icon_png = sys.argv[2]
failures = []


def expect(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: {got!r}, not {wanted!r}")


def version_strings(pe):
    tables = {}
    for info in pe.FileInfo[0]:
        if info.Key == b"StringFileInfo":
            for table in info.StringTable:
                tables[table.LangID.decode()] = {
                    key.decode(): value.decode() for key, value in table.entries.items()
                }
    return tables


def translations(pe):
    for info in pe.FileInfo[0]:
        if info.Key == b"VarFileInfo":
            return [entry for var in info.Var for entry in var.entry.values()]
    return []


def resources(pe, kind):
    for entry in pe.DIRECTORY_ENTRY_RESOURCE.entries:
        if entry.id == kind:
            return {item.id: item.directory.entries[0].data.struct for item in entry.directory.entries}
    return {}


def read(pe, data):
    return pe.get_data(data.OffsetToData, data.Size)


def icon_sides(pe):
    group = read(pe, next(iter(resources(pe, pefile.RESOURCE_TYPE["RT_GROUP_ICON"]).values())))
    count = struct.unpack_from("<HHH", group)[2]
    sides = {}
    for index in range(count):
        width, _, _, _, _, _, _, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * index)
        sides[width or 256] = icon_id
    return sides


def bitmap_pixels(bitmap):
    header_size, width, height, _, bits = struct.unpack_from("<IiiHH", bitmap)
    expect("bits per pixel of the 32-pixel icon", bits, 32)
    rows = []
    for row in range(height // 2):
        start = header_size + (height // 2 - 1 - row) * width * 4
        rows.append(bitmap[start:start + width * 4])
    # Stored as blue, green, red, alpha.
    pixels = bytearray(b"".join(rows))
    for offset in range(0, len(pixels), 4):
        pixels[offset], pixels[offset + 2] = pixels[offset + 2], pixels[offset]
    return bytes(pixels)


program = pefile.PE(os.path.join(folder, "Marlovin.exe"))
fixed = program.VS_FIXEDFILEINFO[0]
expect("file version", (fixed.FileVersionMS, fixed.FileVersionLS), (0x00010000, 0x00000001))
expect("product version", (fixed.ProductVersionMS, fixed.ProductVersionLS), (0x00010000, 0x00000001))
expect("flags mask and flags", (fixed.FileFlagsMask, fixed.FileFlags), (0, 0))
expect("operating system", fixed.FileOS, 4)
expect("file type and subtype", (fixed.FileType, fixed.FileSubtype), (1, 0))
expect("string tables", version_strings(program), {"040704B0": {
    "CompanyName": "Dunfeld",
    "ProductName": "Marlovin",
    "FileVersion": "1.00.0001",
    "ProductVersion": "1.00.0001",
    "InternalName": "Marlovin",
    "OriginalFilename": "Marlovin.exe",
}})
expect("translations", translations(program), [0x04B00407])
expect("subsystem", program.OPTIONAL_HEADER.Subsystem, pefile.SUBSYSTEM_TYPE["IMAGE_SUBSYSTEM_WINDOWS_GUI"])

sides = icon_sides(program)
expect("icon sizes", sorted(sides), [16, 24, 32, 48, 256])
if 32 in sides:
    icons = resources(program, pefile.RESOURCE_TYPE["RT_ICON"])
    window_icon = subprocess.run(["convert", icon_png, "-depth", "8", "rgba:-"],
                                 check=True, capture_output=True).stdout
    if bitmap_pixels(read(program, icons[sides[32]])) != window_icon:
        failures.append("the 32-pixel icon is not the window's bitmap")

# Windows' own DLLs that Qt and the MinGW runtime import.
windows_dlls = {
    "advapi32.dll", "authz.dll", "comdlg32.dll", "d3d11.dll", "d3d9.dll", "dwmapi.dll",
    "dxgi.dll", "gdi32.dll", "imm32.dll", "kernel32.dll", "mpr.dll", "msvcrt.dll",
    "netapi32.dll", "ole32.dll", "oleaut32.dll", "opengl32.dll", "setupapi.dll", "shell32.dll",
    "shlwapi.dll", "user32.dll", "userenv.dll", "uxtheme.dll", "version.dll", "winmm.dll",
    "ws2_32.dll", "wtsapi32.dll", "dwrite.dll", "d2d1.dll", "shcore.dll", "ntdll.dll",
}
shipped = set()
binaries = []
for root, _, files in os.walk(folder):
    for name in files:
        if name.lower().endswith((".exe", ".dll")):
            shipped.add(name.lower())
            binaries.append(os.path.join(root, name))
for path in binaries:
    pe = pefile.PE(path, fast_load=True)
    pe.parse_data_directories([pefile.DIRECTORY_ENTRY["IMAGE_DIRECTORY_ENTRY_IMPORT"]])
    for entry in getattr(pe, "DIRECTORY_ENTRY_IMPORT", []):
        name = entry.dll.decode().lower()
        if name not in shipped and name not in windows_dlls and not name.startswith("api-ms-win-"):
            failures.append(f"{os.path.relpath(path, folder)} imports {name}")
plugins = sorted(os.path.relpath(path, folder).replace(os.sep, "/") for path in binaries
                 if os.path.dirname(path) != folder.rstrip("/"))
expect("plugins", plugins, ["platforms/qwindows.dll", "styles/qwindowsvistastyle.dll"])

for failure in failures:
    print(failure)
sys.exit(1 if failures else 0)
