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
import base64
import os
import random
import subprocess
import sys
import tempfile

ALPHABET = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789-_"
ROUNDS = 300
MI_BUILD = "Mi build"  # the shown name of an unnamed build on a Spanish interface
LETTERS = ("abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789"
           "áéíóúñüÁÉÍÓÚÑçàèâêôßäöÄÖÜ€'·-«»" "漢字ビルド강화" "🔥🛡️🎯")


def entry_hash(key):
    h = 0x811C9DC5
    for b in key.encode("utf-8"):
        h = ((h ^ b) * 0x01000193) & 0xFFFFFFFF
    return h


def encode(name, keys):
    raw, keys = name.encode("utf-8")[:120], keys[:255]
    payload = bytes([1, len(raw)]) + raw + bytes([len(keys)]) + b"".join(entry_hash(k).to_bytes(4, "big") for k in keys)
    return "ZV1-" + base64.urlsafe_b64encode(payload).decode().rstrip("=")


def decode(text):
    """(name bytes, count, hashes present) of the first code in text, or None."""
    at = text.find("ZV1-")
    if at < 0:
        return None
    acc = bits = 0
    out = bytearray()
    for c in text[at + 4:]:
        if c not in ALPHABET:
            break
        acc, bits = ((acc << 6) | ALPHABET.index(c)) & 0xFFFF, bits + 6
        if bits >= 8:
            bits -= 8
            out.append((acc >> bits) & 0xFF)
            if len(out) > 2048:
                return None
    if len(out) <= 2 or out[0] != 1 or 2 + out[1] >= len(out):
        return None
    start, count = 3 + out[1], out[2 + out[1]]
    hashes = [int.from_bytes(out[p:p + 4], "big") for p in range(start, start + 4 * count, 4) if p + 4 <= len(out)]
    return bytes(out[2:start - 1]), count, hashes


def random_text(rng, lo, hi):
    return "".join(rng.choice(LETTERS + " " * 6) for _ in range(rng.randint(lo, hi)))


def random_name(rng):
    """A name the program keeps as it is: 1..63 UTF-16 units, no outer spaces, not the default."""
    while True:
        name = random_text(rng, 0, 63)
        if rng.random() < 0.3:  # long multi-byte names reach the 120-byte cut
            name = "".join(rng.choice("é€漢🔥x") for _ in range(rng.randint(30, 60)))
        while len(name.encode("utf-16-le")) > 126:
            name = name[:-1]
        name = name.strip(" ")
        if name and name.lower() != MI_BUILD.lower():
            return name


def run_tool(tool, libfile, commands):
    p = subprocess.run([tool, libfile], input="\n".join(commands) + "\n", capture_output=True,
                       text=True, encoding="utf-8", timeout=300)
    if p.returncode != 0:
        sys.exit("share_tool failed: %s" % p.stderr[-2000:])
    answers = p.stdout.splitlines()
    assert len(answers) == len(commands), (len(answers), len(commands))
    return answers


def main():
    tool = sys.argv[1]
    rng = random.Random(1807)
    library, hashes = [], set()
    while len(library) < 420:  # distinct keys with distinct hashes
        key = "%d|%s" % (rng.randint(0, 13), random_text(rng, 3, 40).strip(" ") or "x")
        if key not in library and entry_hash(key) not in hashes and "ZV1-" not in key:
            library.append(key)
            hashes.add(entry_hash(key))
    ours = library[:380]  # the program knows fewer entries than the sharer: 40 are unknown to it
    fd, libfile = tempfile.mkstemp(suffix=".txt")
    with os.fdopen(fd, "w", encoding="utf-8", newline="\n") as f:
        f.write("\n".join(ours) + "\n")
    failures = []
    try:
        # 1. codes made here, pasted with a chat around them, import into the program
        cmds, expect = [], []
        for r in range(ROUNDS):
            size = rng.choice([0, 1, 2, 3, rng.randint(0, 40), rng.randint(0, 420), 300])
            picked = sorted(rng.sample(range(len(library)), min(size, len(library))))
            name = random_name(rng) if r % 25 else ""
            before, after = random_text(rng, 0, 80).replace("ZV1-", ""), random_text(rng, 0, 80)
            text = (before + (rng.choice(["", " ", "\r\n", "\n", ": "]) if before else "")
                    + encode(name, [library[i] for i in picked])
                    + (rng.choice([" ", "\r\n", "\n", ". ", "!"]) if after else "") + after)
            cmds.append("import %d %s" % (rng.randint(0, 5) if name else 0, text.encode("utf-8").hex()))
            sent = picked[:255]
            shown = name.encode("utf-8")[:120].decode("utf-8", "ignore").strip(" ")
            known = [i for i in sent if i < len(ours)]
            expect.append("ok %s %d %d %s" % ((shown or MI_BUILD + " (2)").encode("utf-8").hex(), len(known),
                                              len(sent) - len(known), ",".join(map(str, known)) or "-"))
        for r, (answer, want) in enumerate(zip(run_tool(tool, libfile, cmds), expect)):
            if answer != want:
                failures.append("import %d: got %s, want %s" % (r, answer[:120], want[:120]))

        # 2. the program's codes decode here, in a message that ends with the instructions
        cmds, expect = [], []
        for r in range(ROUNDS):
            size = rng.choice([0, 1, 2, 3, rng.randint(0, 40), rng.randint(0, 380), 300])
            picked = sorted(rng.sample(range(len(ours)), min(size, len(ours))))
            name = random_name(rng)
            cmds.append("share %d %s %s" % (rng.randint(0, 5), name.encode("utf-8").hex(),
                                            ",".join(map(str, picked)) or "-"))
            whole = name.encode("utf-8")[:120].decode("utf-8", "ignore")  # the cut keeps whole characters
            expect.append((whole.encode("utf-8"), min(len(picked), 255), [entry_hash(ours[i]) for i in picked[:255]]))
        for r, (answer, want) in enumerate(zip(run_tool(tool, libfile, cmds), expect)):
            _, code, _, msg_hex = answer.split(" ")
            message = bytes.fromhex(msg_hex).decode("utf-8")
            if decode(message) != want or decode(code) != want:
                failures.append("share %d: got %r, want %r" % (r, (decode(message) or ())[:2], want[:2]))
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
