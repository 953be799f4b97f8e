"""Just enough of the ICO and PNG formats to check the generated icons."""

import struct
import zlib


def read_ico(data):
    """Returns one dict per directory entry, with the decoded DIB alongside."""
    reserved, kind, count = struct.unpack_from("<HHH", data, 0)
    if (reserved, kind) != (0, 1):
        raise ValueError(f"not an icon file: reserved={reserved} type={kind}")
    images = []
    for i in range(count):
        w, h, colours, res, planes, bits, size, offset = struct.unpack_from("<BBBBHHII", data, 6 + 16 * i)
        blob = data[offset:offset + size]
        if len(blob) != size:
            raise ValueError(f"image {i} runs past the end of the file")
        (hsize, bw, bh, bplanes, bbits, compression) = struct.unpack_from("<IiiHHI", blob, 0)
        images.append(dict(
            width=w or 256, height=h or 256, colours=colours, reserved=res, planes=planes,
            bits=bits, size=size, offset=offset, blob=blob, header_size=hsize,
            dib=(bw, bh, bplanes, bbits, compression)))
    return images


def row_bytes(width, bits):
    return (width * bits + 31) // 32 * 4


def dib_pixels(image):
    """(index, transparent) per pixel, top row first."""
    w, h, bits = image["width"], image["height"], image["dib"][3]
    base = image["header_size"] + 4 * (1 << bits)
    xor_row, and_row = row_bytes(w, bits), row_bytes(w, 1)
    mask_base = base + xor_row * h
    rows = []
    for y in range(h - 1, -1, -1):
        row = []
        for x in range(w):
            bit = x * bits
            byte = image["blob"][base + y * xor_row + bit // 8]
            index = (byte >> (8 - bits - bit % 8)) & ((1 << bits) - 1)
            transparent = image["blob"][mask_base + y * and_row + x // 8] >> (7 - x % 8) & 1
            row.append((index, bool(transparent)))
        rows.append(row)
    return rows


def read_png(data):
    """Decodes an 8-bit RGBA PNG; returns (width, height, rows of bytes)."""
    if data[:8] != b"\x89PNG\r\n\x1a\n":
        raise ValueError("no PNG signature")
    pos, chunks = 8, []
    while pos < len(data):
        (length,) = struct.unpack_from(">I", data, pos)
        kind = data[pos + 4:pos + 8]
        body = data[pos + 8:pos + 8 + length]
        (crc,) = struct.unpack_from(">I", data, pos + 8 + length)
        if zlib.crc32(kind + body) != crc:
            raise ValueError(f"bad CRC in {kind!r} chunk")
        chunks.append((kind, body))
        pos += 12 + length
    if chunks[0][0] != b"IHDR" or chunks[-1][0] != b"IEND":
        raise ValueError("IHDR must come first and IEND last")
    w, h, depth, colour, _, _, interlace = struct.unpack(">IIBBBBB", chunks[0][1])
    if (depth, colour, interlace) != (8, 6, 0):
        raise ValueError(f"expected 8-bit RGBA, not interlaced; got {depth}/{colour}/{interlace}")
    raw = zlib.decompress(b"".join(body for kind, body in chunks if kind == b"IDAT"))
    stride = 4 * w
    if len(raw) != h * (stride + 1):
        raise ValueError(f"pixel data is {len(raw)} bytes, expected {h * (stride + 1)}")
    rows, prev = [], bytearray(stride)
    for y in range(h):
        kind, line = raw[y * (stride + 1)], bytearray(raw[y * (stride + 1) + 1:(y + 1) * (stride + 1)])
        for i in range(stride):
            a = line[i - 4] if i >= 4 else 0
            b = prev[i]
            c = prev[i - 4] if i >= 4 else 0
            if kind == 1:
                line[i] = (line[i] + a) & 0xFF
            elif kind == 2:
                line[i] = (line[i] + b) & 0xFF
            elif kind == 3:
                line[i] = (line[i] + (a + b) // 2) & 0xFF
            elif kind == 4:
                p = a + b - c
                pa, pb, pc = abs(p - a), abs(p - b), abs(p - c)
                line[i] = (line[i] + (a if pa <= pb and pa <= pc else b if pb <= pc else c)) & 0xFF
            elif kind != 0:
                raise ValueError(f"unknown filter {kind} on row {y}")
        rows.append(bytes(line))
        prev = line
    return w, h, rows
