"""Compiles quorvane.rc with the MinGW resource compiler and checks what a
Windows build would embed: the icon group, the version block and the manifest.
With --exe, checks the same in the resources of a built program instead, read
back with wrestool (icoutils), and the program's header and imports (objdump).

    check_rc.py --rc FILE --include DIR --workdir DIR
    check_rc.py --rc FILE --exe FILE

DIR of --include holds AppInfo.h, which CMake configures.
"""

import argparse
import pathlib
import re
import shutil
import struct
import subprocess
import sys
import unittest
from xml.etree import ElementTree

from imagefiles import read_ico

SKIP = 77
RT_ICON, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 14, 16, 24

FIXED = {"file_version": (1, 0, 0, 0), "product_version": (1, 0, 0, 0), "os": 0x40004, "type": 1}
STRINGS = {
    "CompanyName": "Quorvane developers",
    "FileVersion": "1.00",
    "InternalName": "Quorvane",
    "OriginalFilename": "Quorvane.exe",
    "ProductName": "Quorvane",
    "ProductVersion": "1.00",
}
TRANSLATION = (0x409, 1200)
ASM_V1 = "urn:schemas-microsoft-com:asm.v1"
ASM_V3 = "urn:schemas-microsoft-com:asm.v3"
COMPATIBILITY = "urn:schemas-microsoft-com:compatibility.v1"
WINDOWS_10 = "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"
DLL_CHARACTERISTICS = {"HIGH_ENTROPY_VA": 0x20, "DYNAMIC_BASE": 0x40, "NX_COMPAT": 0x100,
                       "TERMINAL_SERVER_AWARE": 0x8000}

args = None
resources = None


def align4(n):
    return (n + 3) & ~3


def read_id(data, pos):
    (first,) = struct.unpack_from("<H", data, pos)
    if first == 0xFFFF:
        return struct.unpack_from("<H", data, pos + 2)[0], pos + 4
    end = pos
    while data[end:end + 2] != b"\0\0":
        end += 2
    return data[pos:end].decode("utf-16-le"), end + 2


def read_res(data):
    """{(type, name): bytes} from a .res file."""
    out, pos = {}, 0
    while pos < len(data):
        size, header = struct.unpack_from("<II", data, pos)
        kind, p = read_id(data, pos + 8)
        name, p = read_id(data, p)
        if size:
            out[(kind, name)] = data[pos + header:pos + header + size]
        pos = align4(pos + header + size)
    return out


def read_version_node(data, pos):
    """One VS_VERSIONINFO-style node: (key, value bytes, text flag, children)."""
    length, value_len, text = struct.unpack_from("<HHH", data, pos)
    end = pos + length
    key, p = read_id(data, pos + 6)
    p = align4(p)
    value = data[p:p + (value_len * 2 if text else value_len)]
    p = align4(p + len(value))
    children = []
    while p < end:
        child, p = read_version_node(data, p)
        children.append(child)
    return (key, value, text, children), align4(end)


def text(value):
    return value.decode("utf-16-le").split("\0", 1)[0]


class CompiledResources(unittest.TestCase):
    def test_icon_group_holds_every_image_of_the_ico(self):
        group = resources.get((RT_GROUP_ICON, "IDI_ICON1"))
        self.assertIsNotNone(group, f"no IDI_ICON1 icon group among {sorted(resources, key=str)}")
        reserved, kind, count = struct.unpack_from("<HHH", group, 0)
        self.assertEqual((reserved, kind), (0, 1))
        ico = read_ico((args.rc.parent / "quorvane.ico").read_bytes())
        self.assertEqual(count, len(ico))
        for i, image in enumerate(ico):
            with self.subTest(image=i):
                w, h, colours, _, planes, bits, size, icon_id = struct.unpack_from("<BBBBHHIH", group, 6 + 14 * i)
                self.assertEqual((w, h, colours, planes, bits, size),
                                 (image["width"], image["height"], image["colours"], 1, image["bits"], image["size"]))
                self.assertEqual(resources.get((RT_ICON, icon_id)), image["blob"])

    def test_version_block(self):
        data = resources.get((RT_VERSION, 1))
        self.assertIsNotNone(data, "no version resource with id 1")
        (key, fixed, _, children), _ = read_version_node(data, 0)
        self.assertEqual(key, "VS_VERSION_INFO")
        sig, _, fms, fls, pms, pls, _, _, os_, kind = struct.unpack_from("<10I", fixed, 0)
        self.assertEqual(sig, 0xFEEF04BD)
        got = {"file_version": (fms >> 16, fms & 0xFFFF, fls >> 16, fls & 0xFFFF),
               "product_version": (pms >> 16, pms & 0xFFFF, pls >> 16, pls & 0xFFFF),
               "os": os_, "type": kind}
        self.assertEqual(got, FIXED)

        blocks = {child[0]: child for child in children}
        tables = {table[0]: table for table in blocks["StringFileInfo"][3]}
        self.assertEqual(list(tables), ["040904B0"])
        strings = {k: text(v) for k, v, _, _ in tables["040904B0"][3]}
        for name, expected in STRINGS.items():
            with self.subTest(string=name):
                self.assertEqual(strings.get(name), expected)
        self.assertTrue(strings.get("FileDescription"))

        translation = {k: v for k, v, _, _ in blocks["VarFileInfo"][3]}["Translation"]
        self.assertEqual(struct.unpack("<HH", translation), TRANSLATION)

    def test_manifest(self):
        manifest = ElementTree.fromstring(resources.get((RT_MANIFEST, 1), b"<none/>"))
        level = manifest.find(f"{{{ASM_V3}}}trustInfo/{{{ASM_V3}}}security/{{{ASM_V3}}}requestedPrivileges/"
                              f"{{{ASM_V3}}}requestedExecutionLevel")
        self.assertIsNotNone(level, "no requestedExecutionLevel")
        self.assertEqual((level.get("level"), level.get("uiAccess")), ("asInvoker", "false"))
        systems = {os.get("Id").lower() for os in manifest.iter(f"{{{COMPATIBILITY}}}supportedOS")}
        self.assertIn(WINDOWS_10, systems)
        dpi = "".join(element.text for element in manifest.iter() if element.tag.endswith("}dpiAwareness"))
        self.assertEqual(dpi.split(",")[0].strip(), "PerMonitorV2")
        controls = [identity.attrib for identity in manifest.iter(f"{{{ASM_V1}}}assemblyIdentity")]
        self.assertIn(("Microsoft.Windows.Common-Controls", "6.0.0.0"),
                      [(c.get("name"), c.get("version")) for c in controls])


class BuiltImage(unittest.TestCase):
    """The built program's header and imports, as objdump reads them."""

    def setUp(self):
        if not args.exe:
            self.skipTest("no built program given")
        objdump = shutil.which("x86_64-w64-mingw32-objdump") or shutil.which("objdump")
        if objdump is None:
            self.skipTest("objdump is not installed")
        self.dump = subprocess.run([objdump, "-p", str(args.exe)], capture_output=True, text=True,
                                   check=True).stdout

    def test_header_flags(self):
        flags = re.search(r"^DllCharacteristics\s+([0-9a-fA-F]+)", self.dump, re.MULTILINE)
        self.assertIsNotNone(flags)
        for name, bit in DLL_CHARACTERISTICS.items():
            with self.subTest(flag=name):
                self.assertTrue(int(flags.group(1), 16) & bit)
        self.assertRegex(self.dump, r"Entry 5 [0-9a-f]*[1-9a-f][0-9a-f]* [0-9a-f]+ Base Relocation Directory")

    def test_imports(self):
        imported = {}
        for dll, names in re.findall(r"DLL Name: (\S+)\n(.*?)(?:\n\n|\Z)", self.dump, re.DOTALL):
            imported[dll.lower()] = set(re.findall(r"^\s+[0-9a-f]+\s+\d+\s+(\w+)$", names, re.MULTILINE))
        # Set before anything else loads; without it every later load searches the program's folder.
        self.assertIn("SetDefaultDllDirectories", imported.get("kernel32.dll", set()))
        # Delay-loaded (ui/win32/delayed/), at their first call, from the system folder only: a call
        # to a function that is not listed there links as an import that loads before the window,
        # and before the search is kept to the system folder.
        self.assertFalse({"comctl32.dll", "ole32.dll", "oleaut32.dll", "oleacc.dll"} & set(imported))

    def test_stack_protector_and_fortified_calls(self):
        # Statically linked from libssp, so no import names them; their messages do.
        image = args.exe.read_bytes()
        self.assertIn(b"*** stack smashing detected ***", image)
        self.assertIn(b"*** buffer overflow detected ***", image)


def read_exe(exe):
    """{(type, name): bytes} from a built program, or None without wrestool."""
    wrestool = shutil.which("wrestool")
    if wrestool is None:
        return None
    listing = subprocess.run([wrestool, "-l", str(exe)], capture_output=True, text=True, check=True).stdout
    out = {}
    for kind, name in re.findall(r"--type=(\d+) --name=(\S+)", listing):
        name = name.strip("'")
        data = subprocess.run([wrestool, "-x", "--raw", f"--type={kind}", f"--name={name}", str(exe)],
                              capture_output=True, check=True).stdout
        out[(int(kind), int(name) if name.isdigit() else name)] = data
    return out


def compile_rc():
    windres = shutil.which("x86_64-w64-mingw32-windres")
    if windres is None:
        return None
    command = [windres, "-O", "res", "-I", str(args.rc.parent), "-I", str(args.include)]
    # Without the MinGW compiler windres has no preprocessor of its own; the host's does.
    if shutil.which("x86_64-w64-mingw32-gcc") is None:
        cpp = shutil.which("cpp")
        if cpp is None:
            return None
        command.append(f"--preprocessor={cpp}")
    args.workdir.mkdir(parents=True, exist_ok=True)
    out = args.workdir / "quorvane.res"
    subprocess.run([*command, str(args.rc), str(out)], check=True)
    return out.read_bytes()


if __name__ == "__main__":
    parser = argparse.ArgumentParser()
    parser.add_argument("--rc", type=pathlib.Path, required=True)
    parser.add_argument("--include", type=pathlib.Path)
    parser.add_argument("--workdir", type=pathlib.Path)
    parser.add_argument("--exe", type=pathlib.Path)
    args, rest = parser.parse_known_args()
    if args.exe:
        resources = read_exe(args.exe)
        if resources is None:
            print("wrestool (icoutils) is not installed", file=sys.stderr)
            sys.exit(SKIP)
    else:
        compiled = compile_rc()
        if compiled is None:
            print("x86_64-w64-mingw32-windres or a C preprocessor is not installed", file=sys.stderr)
            sys.exit(SKIP)
        resources = read_res(compiled)
    unittest.main(argv=[sys.argv[0], *rest])
