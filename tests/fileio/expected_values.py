#!/usr/bin/python3
"""Prints the expected values written into the fileio tests, from independent tools:
md5sum for the digests of the generated blocks, Python's hashlib for the pack checksums."""
import hashlib
import struct
import subprocess


def block(length):
    return bytes((i * 31 + 7) & 0xFF for i in range(length))


def pack_checksum(data):
    hex_digest = hashlib.md5(data).hexdigest()
    return (struct.unpack('<I', hex_digest[5:9].encode())[0] + 0xA9238) & 0xFFFFFFFF


def vpk2_header(kind, header_size, pack_field, checksum=0):
    return b'VPK2' + kind + struct.pack('<IB3xIIHH', header_size, 200, pack_field, checksum, 0, 0)


for length in (55, 56, 63, 64, 65, 1000):
    out = subprocess.run(['md5sum'], input=block(length), capture_output=True, check=True)
    print(f'block of {length}: {out.stdout.split()[0].decode()}')

print(f'checksum of abc: {pack_checksum(b"abc"):#010x}')
for kind in (b'GAME', b'FREE'):
    print(f'VPK2 {kind.decode()}: {pack_checksum(vpk2_header(kind, 28, 0x12345678)):#010x}')
short = vpk2_header(b'GAME', 20, 0x12345678)
print(f'VPK2 header size 20: stored {pack_checksum(short[:20]):#010x}, '
      f'kept {pack_checksum(short):#010x}')
vpck = b'VPCK' + b'GAME' + struct.pack('<IB3xIIHH', 28, 100, 0x0BADF00D, 0, 0, 0)
print(f'VPCK GAME kept: {pack_checksum(vpck):#010x}')
