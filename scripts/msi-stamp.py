#!/usr/bin/env python3
"""Makes an installer's bytes depend on its content alone.

wixl writes three fields of the package's summary information from chance and the clock: the
package code (a random GUID) and the times it was created and last saved. This rewrites them in
place: the times to SOURCE_DATE_EPOCH, the package code to a GUID derived from the package's bytes
with those three fields blanked. The fields keep their sizes, so nothing else in the file moves.

usage: msi-stamp.py PACKAGE.msi   (SOURCE_DATE_EPOCH in the environment)
"""
import hashlib
import os
import struct
import sys
import uuid

SUMMARY = "\x05SummaryInformation"
PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM = 9, 12, 13
VT_LPSTR, VT_FILETIME = 0x1E, 0x40
FILETIME_1970 = 116444736000000000  # 100-ns steps from 1601 to 1970
# Names the package codes made here, so that they are not taken for anybody else's.
CODE_NAMESPACE = uuid.UUID("5e0f8c4a-2b7d-4e19-a3c6-7d91b2f4e058")


class CompoundFile:
    """Just enough of the compound file format to find where a stream's bytes lie in the file."""

    def __init__(self, data):
        self.data = data
        assert data[:8] == bytes.fromhex("d0cf11e0a1b11ae1"), "not a compound file"
        self.sector = 1 << struct.unpack_from("<H", data, 0x1E)[0]
        self.mini_sector = 1 << struct.unpack_from("<H", data, 0x20)[0]
        (fat_count, first_dir, _, self.mini_cutoff, first_mini_fat, _, _, difat_count) = struct.unpack_from(
            "<IIIIIIII", data, 0x2C)
        assert difat_count == 0 and fat_count <= 109, "a package too large for this reader"
        fat_sectors = struct.unpack_from("<%dI" % fat_count, data, 0x4C)
        self.fat = [entry for s in fat_sectors for entry in self._ints(self._offset(s), self.sector // 4)]
        mini_fat_offsets = [self._offset(s) for s in self._chain(first_mini_fat)] if first_mini_fat < 0xFFFFFFFA else []
        self.mini_fat = [entry for at in mini_fat_offsets for entry in self._ints(at, self.sector // 4)]
        directory = b"".join(data[self._offset(s):self._offset(s) + self.sector] for s in self._chain(first_dir))
        self.entries = {}
        for at in range(0, len(directory), 128):
            name_length = struct.unpack_from("<H", directory, at + 64)[0]
            name = directory[at:at + max(name_length - 2, 0)].decode("utf-16-le")
            start, size = struct.unpack_from("<IQ", directory, at + 116)
            self.entries.setdefault(name, (start, size & 0xFFFFFFFF))
        root_start, _ = self.entries["Root Entry"]
        self.mini_stream = [self._offset(s) for s in self._chain(root_start)]

    def _offset(self, sector):
        return (sector + 1) * self.sector

    def _ints(self, at, count):
        return struct.unpack_from("<%dI" % count, self.data, at)

    def _chain(self, start, table=None):
        table = self.fat if table is None else table
        while start < 0xFFFFFFFA:
            yield start
            start = table[start]

    def stream_offsets(self, name):
        """The file offset of each byte of the stream, in order."""
        start, size = self.entries[name]
        offsets = []
        if size < self.mini_cutoff:
            per_sector = self.sector // self.mini_sector
            for mini in self._chain(start, self.mini_fat):
                base = self.mini_stream[mini // per_sector] + (mini % per_sector) * self.mini_sector
                offsets.extend(range(base, base + self.mini_sector))
        else:
            for s in self._chain(start):
                offsets.extend(range(self._offset(s), self._offset(s) + self.sector))
        return offsets[:size]


def summary_fields(stream):
    """Where, in the stream, the values of the three fields start: {property id: (type, offset)}."""
    section = struct.unpack_from("<I", stream, 28 + 16)[0]
    count = struct.unpack_from("<I", stream, section + 4)[0]
    fields = {}
    for i in range(count):
        pid, at = struct.unpack_from("<II", stream, section + 8 + 8 * i)
        if pid in (PID_REVNUMBER, PID_CREATE_DTM, PID_LASTSAVE_DTM):
            fields[pid] = (struct.unpack_from("<I", stream, section + at)[0], section + at + 4)
    return fields


def main(path):
    epoch = int(os.environ["SOURCE_DATE_EPOCH"])
    data = bytearray(open(path, "rb").read())
    offsets = CompoundFile(bytes(data)).stream_offsets(SUMMARY)
    stream = bytes(data[o] for o in offsets)
    fields = summary_fields(stream)
    assert fields.get(PID_REVNUMBER, (0,))[0] == VT_LPSTR, "no package code in the summary"
    code_at = fields[PID_REVNUMBER][1] + 4
    code_length = struct.unpack_from("<I", stream, code_at - 4)[0]
    assert code_length == 39, "the package code is not a braced GUID"

    def put(at, value):
        for i, byte in enumerate(value):
            data[offsets[at + i]] = byte

    filetime = struct.pack("<Q", FILETIME_1970 + epoch * 10_000_000)
    for pid in (PID_CREATE_DTM, PID_LASTSAVE_DTM):
        if pid in fields:
            assert fields[pid][0] == VT_FILETIME, "a summary time that is not a time"
            put(fields[pid][1], filetime)
    put(code_at, b"{" + b"0" * 36 + b"}")
    code = uuid.uuid5(CODE_NAMESPACE, hashlib.sha256(data).hexdigest())
    put(code_at, ("{%s}" % str(code).upper()).encode("ascii"))
    open(path, "wb").write(data)


if __name__ == "__main__":
    main(sys.argv[1])
