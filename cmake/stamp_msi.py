"""Makes an MSI written by wixl the same on every build of the same sources: the summary's creation
and save dates, which wixl takes from the clock, become the given time, and the package code, which
wixl draws at random, becomes a UUID made from the package's content. Rewrites the file in place.

    stamp_msi.py MSI SECONDS_SINCE_1970
"""

import hashlib
import struct
import sys
import uuid

SIGNATURE = bytes.fromhex("d0cf11e0a1b11ae1")
LAST_SECTOR_ID = 0xFFFFFFF9  # higher ids end a chain or mark free and table sectors
SUMMARY = "\x05SummaryInformation"
PID_REVISION, PID_CREATED, PID_SAVED = 9, 12, 13
VT_LPSTR, VT_FILETIME = 30, 64
UNSET_CODE = "{00000000-0000-0000-0000-000000000000}"
FILETIME_AT_1970 = 116444736000000000  # 100 ns steps from 1601 to 1970


def chain(table, start):
    """The sector ids of the chain from start, in a FAT or a mini FAT."""
    ids = []
    while start <= LAST_SECTOR_ID:
        if start >= len(table) or len(ids) >= len(table):
            raise ValueError("broken sector chain")
        ids.append(start)
        start = table[start]
    return ids


def sector_ids(raw):
    return struct.unpack(f"<{len(raw) // 4}I", raw[:len(raw) // 4 * 4])


class CompoundFile:
    """The streams of a compound file, as the byte offsets they take up in it."""

    def __init__(self, data):
        if len(data) < 512 or data[:8] != SIGNATURE:
            raise ValueError("not a compound file")
        self.data = data
        self.sector = 1 << min(struct.unpack_from("<H", data, 0x1E)[0], 16)
        self.mini = 1 << min(struct.unpack_from("<H", data, 0x20)[0], 16)
        fat_sectors, directory = struct.unpack_from("<II", data, 0x2C)
        self.cutoff, mini_fat = struct.unpack_from("<II", data, 0x38)
        if fat_sectors > 109:
            raise ValueError("FAT beyond the header's list: larger than any MSI made here")
        self.fat = []
        for sector in struct.unpack_from("<109I", data, 0x4C)[:fat_sectors]:
            self.fat += sector_ids(self.read(self.sector_offsets(sector)))
        self.mini_fat = sector_ids(self.read(self.chain_offsets(mini_fat)))
        entries = self.read(self.chain_offsets(directory))
        self.entries = {}
        for at in range(0, len(entries) - 127, 128):
            name_bytes = min(struct.unpack_from("<H", entries, at + 0x40)[0], 64)
            name = entries[at:at + max(name_bytes - 2, 0)].decode("utf-16-le", "replace")
            self.entries.setdefault(name, struct.unpack_from("<II", entries, at + 0x74))
        self.mini_stream = self.chain_offsets(struct.unpack_from("<I", entries, 0x74)[0])

    def sector_offsets(self, sector):
        at = (sector + 1) * self.sector
        if at + self.sector > len(self.data):
            raise ValueError(f"sector {sector} outside the file")
        return range(at, at + self.sector)

    def chain_offsets(self, start):
        return [at for sector in chain(self.fat, start) for at in self.sector_offsets(sector)]

    def stream_offsets(self, name):
        start, size = self.entries[name]
        if size >= self.cutoff:
            offsets = self.chain_offsets(start)
        else:
            offsets = [at for sector in chain(self.mini_fat, start)
                       for at in self.mini_stream[sector * self.mini:(sector + 1) * self.mini]]
        if len(offsets) < size:
            raise ValueError(f"stream {name!r} shorter than its entry says")
        return offsets[:size]

    def read(self, offsets):
        return bytearray(self.data[at] for at in offsets)

    def write(self, offsets, values):
        for at, value in zip(offsets, values):
            self.data[at] = value


def properties(stream):
    """Where each property's value lies in a one-section property set, by property id."""
    (section,) = struct.unpack_from("<I", stream, 44)
    (count,) = struct.unpack_from("<I", stream, section + 4)
    found = {}
    for index in range(min(count, len(stream) // 8)):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * index)
        (kind,) = struct.unpack_from("<I", stream, section + at)
        found[pid] = (kind & 0xFFFF, section + at + 4)
    return found


def set_code(stream, value_at, code):
    (length,) = struct.unpack_from("<I", stream, value_at)
    if length != len(code) + 1:
        raise ValueError("the package code is not a braced UUID")
    stream[value_at + 4:value_at + 4 + len(code)] = code.encode("ascii")


def main(path, seconds):
    with open(path, "rb") as file:
        data = bytearray(file.read())
    package = CompoundFile(data)
    offsets = package.stream_offsets(SUMMARY)
    stream = package.read(offsets)
    found = properties(stream)
    if found.get(PID_REVISION, (None,))[0] != VT_LPSTR:
        raise ValueError("no package code in the summary")
    for pid in (PID_CREATED, PID_SAVED):
        if found.get(pid, (None,))[0] != VT_FILETIME:
            raise ValueError(f"no date {pid} in the summary")
        struct.pack_into("<Q", stream, found[pid][1], FILETIME_AT_1970 + seconds * 10_000_000)
    set_code(stream, found[PID_REVISION][1], UNSET_CODE)
    package.write(offsets, stream)
    # A different package must have a different code; the same package keeps its code.
    code = uuid.uuid5(uuid.NAMESPACE_OID, hashlib.sha256(data).hexdigest())
    set_code(stream, found[PID_REVISION][1], "{" + str(code).upper() + "}")
    package.write(offsets, stream)
    with open(path, "wb") as file:
        file.write(data)


if __name__ == "__main__":
    if len(sys.argv) != 3 or not sys.argv[2].isdigit():
        sys.exit(__doc__)
    try:
        main(sys.argv[1], int(sys.argv[2]))
    except (OSError, ValueError, KeyError, struct.error) as error:
        sys.exit(f"stamp_msi.py: {sys.argv[1]}: {error}")
