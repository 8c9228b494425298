#!/usr/bin/env python3
"""A second, independent implementation of the build share code, written from the format's
description, talking to the program's own through share_tool:

  payload  = version 1, name length L (0..120), L bytes of UTF-8 name (cut to 120 bytes; the cut
             may fall inside a character), piece count N (0..255), N x 4-byte hash, big-endian
  hash     = 32-bit FNV-1a (basis 0x811C9DC5, prime 0x01000193) of the entry key's UTF-8 bytes
  text     = "ZV1-" + base64url of the payload without padding
  decoding = first "ZV1-" in the text, then 6 bits per base64url character up to the first other
             character, a byte whenever 8 bits are pending; more than 2048 bytes is no code;
             valid with more than 2 bytes, version 1 and the count byte present.

Codes from this encoder must import into the program with the same pieces, and the program's
codes must decode here to the same pieces, over a few hundred random builds each way.
Usage: test_share_interop.py <share_tool>
"""
import os
import random
import subprocess
import sys
import tempfile

ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"
VALUE = {c: i for i, c in enumerate(ALPHABET)}
ROUNDS = 300
MI_BUILD = "Mi build"  # the shown name of an unnamed build on a Spanish interface


def fnv1a(data):
    h = 0x811C9DC5
    for b in data:
        h = ((h ^ b) * 0x01000193) & 0xFFFFFFFF
    return h


def entry_hash(key):
    return fnv1a(key.encode("utf-8"))


def b64url(data):
    out = []
    for i in range(0, len(data), 3):
        chunk = data[i:i + 3]
        v = int.from_bytes(chunk + b"\0" * (3 - len(chunk)), "big")
        chars = [ALPHABET[(v >> s) & 63] for s in (18, 12, 6, 0)]
        out.extend(chars[:len(chunk) + 1])
    return "".join(out)


def encode(name, keys):
    raw = name.encode("utf-8")[:120]
    keys = keys[:255]
    payload = bytes([1, len(raw)]) + raw + bytes([len(keys)])
    payload += b"".join(entry_hash(k).to_bytes(4, "big") for k in keys)
    assert len(payload) < 2044
    return "ZV1-" + b64url(payload)


def decode(text):
    """(name bytes, count, hashes present) of the first code in text, or None."""
    at = text.find("ZV1-")
    if at < 0:
        return None
    acc = bits = 0
    out = bytearray()
    for c in text[at + 4:]:
        if c not in VALUE:
            break
        acc = ((acc << 6) | VALUE[c]) & 0xFFFF
        bits += 6
        if bits >= 8:
            bits -= 8
            out.append((acc >> bits) & 0xFF)
            if len(out) > 2048:
                return None
    if len(out) <= 2 or out[0] != 1 or 2 + out[1] >= len(out):
        return None
    n_len = out[1]
    count = out[2 + n_len]
    hashes = []
    for k in range(count):
        p = 3 + n_len + 4 * k
        if p + 4 <= len(out):
            hashes.append(int.from_bytes(out[p:p + 4], "big"))
    return bytes(out[2:2 + n_len]), count, hashes


def utf16_len(s):
    return len(s.encode("utf-16-le")) // 2


def whole_chars_within(name, limit):
    """The longest run of whole characters of name whose UTF-8 fits in limit bytes."""
    out = ""
    for ch in name:
        if len((out + ch).encode("utf-8")) > limit:
            break
        out += ch
    return out


LETTERS = ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
           "áéíóúñüÁÉÍÓÚÑçàèâêôßäöÄÖÜ€'·-«»" "漢字ビルド강화" "🔥🛡️🎯")


def random_text(rng, lo, hi, spaces=True):
    n = rng.randint(lo, hi)
    s = "".join(rng.choice(LETTERS + (" " * 6 if spaces else "")) for _ in range(n))
    return s


def random_name(rng):
    while True:
        name = random_text(rng, 0, 63).strip(" ")
        if rng.random() < 0.3:  # long multi-byte names reach the 120-byte cut
            name = "".join(rng.choice("é€漢🔥x") for _ in range(rng.randint(30, 60)))
        while utf16_len(name) > 63:
            name = name[:-1]
        name = name.strip(" ")
        if name and name.lower() != MI_BUILD.lower():
            return name


def make_library(rng, n):
    keys, hashes = [], set()
    while len(keys) < n:
        key = "%d|%s" % (rng.randint(0, 13), random_text(rng, 3, 40).strip(" ") or "x")
        h = entry_hash(key)
        if key in keys or h in hashes or "ZV1-" in key:
            continue
        keys.append(key)
        hashes.add(h)
    return keys


def run_tool(tool, libfile, commands):
    p = subprocess.run([tool, libfile], input="\n".join(commands) + "\n", capture_output=True,
                       text=True, encoding="utf-8", timeout=300)
    if p.returncode != 0:
        sys.exit("share_tool failed: %s" % p.stderr[-2000:])
    answers = p.stdout.splitlines()
    assert len(answers) == len(commands), (len(answers), len(commands))
    return answers


def chat_around(rng, code):
    before = random_text(rng, 0, 80).replace("ZV1-", "")
    after = random_text(rng, 0, 80)
    sep_before = rng.choice(["", " ", "\r\n", "\n", ": "]) if before else ""
    sep_after = rng.choice([" ", "\r\n", "\n", ". ", "!"]) if after else ""
    return before + sep_before + code + sep_after + after


def main():
    tool = sys.argv[1]
    rng = random.Random(1807)
    library = make_library(rng, 420)
    ours = library[:380]  # the program knows fewer entries than the sharer: 40 are unknown to it
    fd, libfile = tempfile.mkstemp(suffix=".txt")
    with os.fdopen(fd, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(ours) + "\n")
    failures = []
    try:
        # 1. codes made here import into the program
        cmds, expect = [], []
        for r in range(ROUNDS):
            size = rng.choice([0, 1, 2, 3, rng.randint(0, 40), rng.randint(0, 420), 300])
            picked = sorted(rng.sample(range(len(library)), min(size, len(library))))
            name = random_name(rng) if r % 25 else ""
            code = encode(name, [library[i] for i in picked])
            cmds.append("import %d %s" % (0 if not name else rng.randint(0, 5),
                                          chat_around(rng, code).encode("utf-8").hex()))
            sent = picked[:255]
            raw = name.encode("utf-8")[:120]
            shown = raw.decode("utf-8", "ignore").strip(" ") if raw else ""
            expect.append((shown or MI_BUILD + " (2)", [i for i in sent if i < len(ours)],
                           sum(1 for i in sent if i >= len(ours))))
        for r, (answer, (name, known, unknown)) in enumerate(zip(run_tool(tool, libfile, cmds), expect)):
            parts = answer.split(" ")
            if parts[0] != "ok":
                failures.append("import %d: %s" % (r, answer))
                continue
            got_name = bytes.fromhex(parts[1]).decode("utf-8")
            got = [] if parts[4] == "-" else [int(x) for x in parts[4].split(",")]
            if (got_name, got, int(parts[2]), int(parts[3])) != (name, known, len(known), unknown):
                failures.append("import %d: got %r %s %s %s, want %r %s %d %d" % (
                    r, got_name, got[:5], parts[2], parts[3], name, known[:5], len(known), unknown))

        # 2. the program's codes decode here
        cmds, expect = [], []
        for r in range(ROUNDS):
            size = rng.choice([0, 1, 2, 3, rng.randint(0, 40), rng.randint(0, 380), 300])
            picked = sorted(rng.sample(range(len(ours)), min(size, len(ours))))
            name = random_name(rng)
            cmds.append("share %d %s %s" % (rng.randint(0, 5), name.encode("utf-8").hex(),
                                            ",".join(map(str, picked)) or "-"))
            expect.append((name, [entry_hash(ours[i]) for i in picked[:255]]))
        for r, (answer, (name, hashes)) in enumerate(zip(run_tool(tool, libfile, cmds), expect)):
            _, code, _, msg_hex = answer.split(" ")
            message = bytes.fromhex(msg_hex).decode("utf-8")
            got = decode(message)
            if got is None or decode(code) != got:
                failures.append("share %d: no code in the message" % r)
                continue
            raw, count, got_hashes = got
            want_name = whole_chars_within(name, 120)
            if raw != want_name.encode("utf-8") or count != len(hashes) or got_hashes != hashes:
                failures.append("share %d: got %r %d, want %r %d" % (r, raw, count, want_name, len(hashes)))
            if not message.rstrip().endswith("https://zenvoral.app/") or ("\r\n%s\r\n" % code) not in message:
                failures.append("share %d: message does not end with the code and instructions" % r)
    finally:
        os.unlink(libfile)
    for f in failures[:20]:
        print(f)
    print("interop: %d codes of this encoder imported, %d codes of the program decoded, %d failures"
          % (ROUNDS, ROUNDS, len(failures)))
    sys.exit(1 if failures else 0)


if __name__ == "__main__":
    main()
