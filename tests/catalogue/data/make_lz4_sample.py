#!/usr/bin/env python3
"""Writes startup-cache-sample.json.lz4 (and the JSON it holds) beside this script.

The file is a small startup cache in Firefox's "mozLz40" framing whose LZ4 block is made
here by the block format's own rules, without liblz4: sequences of a token (literal count,
match length - 4), the literals, a 16-bit little-endian offset and the extra length bytes;
greedy matches of at least 4 bytes found by brute force, no match starting within the last
12 bytes, the last 5 bytes always literals. The tests read it with the program's decoder,
so a decoder that only understands liblz4's own choices would fail.
"""
import os
import struct

TEXT = ('{"app-profile":{"addons":{"tabtidy@orvo-demo.example":{"enabled":true,"path":"tabtidy@orvo-demo.example.xpi",'
        '"version":"2.4.1"},"darkfox@orvo-demo.example":{"enabled":true,"path":"darkfox@orvo-demo.example.xpi",'
        '"version":"1.0","type":"theme"}},"staged":{},"path":"C:\\\\Users\\\\demo\\\\AppData\\\\Roaming\\\\Mozilla\\\\Firefox\\\\'
        'Profiles\\\\k3x9q2lm.default\\\\extensions"},"app-builtin":{"addons":{"default-theme@mozilla.org":{"enabled":false,'
        '"rootURI":"resource://default-theme/","version":"1.4.1","type":"theme"}},"staged":{}}}').encode()


def length_bytes(n):
    out = b''
    while n >= 255:
        out += b'\xff'
        n -= 255
    return out + bytes([n])


def sequence(literals, offset=None, match=0):
    token = min(len(literals), 15) << 4
    if offset is not None:
        token |= min(match - 4, 15)
    out = bytes([token])
    if len(literals) >= 15:
        out += length_bytes(len(literals) - 15)
    out += literals
    if offset is not None:
        out += struct.pack('<H', offset)
        if match - 4 >= 15:
            out += length_bytes(match - 4 - 15)
    return out


def encode(text):
    out, i, anchor = b'', 0, 0
    while i < len(text) - 12:
        best, offset = 0, 0
        for j in range(max(0, i - 65535), i):
            n = 0
            while i + n < len(text) - 5 and text[j + n] == text[i + n]:
                n += 1
            if n > best:
                best, offset = n, i - j
        if best >= 4:
            out += sequence(text[anchor:i], offset, best)
            i += best
            anchor = i
        else:
            i += 1
    return out + sequence(text[anchor:])


here = os.path.dirname(os.path.abspath(__file__))
with open(os.path.join(here, 'startup-cache-sample.json.lz4'), 'wb') as f:
    f.write(b'mozLz40\0' + struct.pack('<I', len(TEXT)) + encode(TEXT))
with open(os.path.join(here, 'startup-cache-sample.json'), 'wb') as f:
    f.write(TEXT)
