#!/usr/bin/env python3
"""Writes the binary fixtures of res_test.rc: logo.ico (16x16 and 32x32), arrow.cur (32x32,
hotspot 3,4), busy.ani (two frames), test.bmp (4x2, 24-bit) and dot.png (3x2, opaque red)."""
import struct
import zlib


def dib(w, h, color):
    header = struct.pack('<IiiHHIIiiII', 40, w, h * 2, 1, 32, 0, 0, 0, 0, 0, 0)
    mask_row = ((w + 31) // 32) * 4
    return header + bytes(color) * (w * h) + b'\0' * (mask_row * h)


def icon_file(kind, entries):
    """kind 1 icon, 2 cursor; entries of (w, h, hotspot x, hotspot y, BGRA colour)."""
    out = struct.pack('<HHH', 0, kind, len(entries))
    offset = 6 + 16 * len(entries)
    blobs = []
    for w, h, hx, hy, color in entries:
        data = dib(w, h, color)
        planes, bits = (1, 32) if kind == 1 else (hx, hy)
        out += struct.pack('<BBBBHHII', w, h, 0, 0, planes, bits, len(data), offset)
        offset += len(data)
        blobs.append(data)
    return out + b''.join(blobs)


def chunk(tag, data):
    return tag + struct.pack('<I', len(data)) + data + (b'\0' if len(data) % 2 else b'')


def png(w, h, rgba):
    raw = b''.join(b'\0' + bytes(rgba) * w for _ in range(h))

    def part(tag, data):
        return struct.pack('>I', len(data)) + tag + data + struct.pack('>I', zlib.crc32(tag + data) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + part(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 6, 0, 0, 0)) +
            part(b'IDAT', zlib.compress(raw)) + part(b'IEND', b''))


def main():
    open('logo.ico', 'wb').write(icon_file(1, [(16, 16, 0, 0, (0, 0, 255, 255)), (32, 32, 0, 0, (0, 255, 0, 255))]))
    cursor = icon_file(2, [(32, 32, 3, 4, (255, 0, 0, 255))])
    open('arrow.cur', 'wb').write(cursor)
    anih = struct.pack('<IIIIIIIII', 36, 2, 2, 0, 0, 0, 0, 10, 1)
    frames = chunk(b'icon', cursor) + chunk(b'icon', icon_file(2, [(32, 32, 3, 4, (0, 0, 255, 255))]))
    body = b'ACON' + chunk(b'anih', anih) + chunk(b'LIST', b'fram' + frames)
    open('busy.ani', 'wb').write(b'RIFF' + struct.pack('<I', len(body)) + body)
    bits = bytes([10, 20, 30] * 4) * 2
    info = struct.pack('<IiiHHIIiiII', 40, 4, 2, 1, 24, 0, len(bits), 0, 0, 0, 0)
    open('test.bmp', 'wb').write(b'BM' + struct.pack('<IHHI', 54 + len(bits), 0, 0, 54) + info + bits)
    open('dot.png', 'wb').write(png(3, 2, (255, 0, 0, 255)))


if __name__ == '__main__':
    main()
