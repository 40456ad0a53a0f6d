#!/usr/bin/env python3
"""Proves that a change to the conversions left every answer as it was.

  same_results.py record DIR CLI    writes the answers of morvane-cli CLI into DIR
  same_results.py compare DIR CLI   runs CLI again and compares byte for byte with DIR

The inputs are drawn from a fixed seed: plain hotstamps around every format's limits, numbers
in every notation the numeric grammar knows, odd texts (blanks, control bytes, invalid UTF-8,
long lines), and card data of every length with and without stray characters. Standard output,
standard error and the exit status of each run are compared.
"""
import os
import random
import subprocess
import sys

FORMATS = ["26", "34", "35", "35V", "36V", "37V", "37", "Proxif", "Casi", "38", ""]
FACILITIES = ["0", "1", "123", "255", "256", "4095", "4096", "65535", "65536", "-1", "12.5",
              "1e3", "abc", " 7 ", "2147483647", "2147483648"]
VERSIONS = ["0", "5", "7", "8", "", "x", "-1", "1e10"]
LIMITS = [65535, 1048575, 2097151, 524287, 34359738367, 4294967295]


def hotstamps(rng):
    out = []
    for limit in LIMITS:
        out += [str(v) for v in (0, 1, limit - 1, limit, limit + 1, 2 * limit + 1)]
    for _ in range(3000):
        out.append(str(rng.randrange(0, rng.choice(LIMITS) + 2)))
    notations = ["{}.0", "{}.5", "+{}", "-{}", " {} ", "{}e0", "{}E+1", "0{}", "{}.", ".{}",
                 "{}e-1", "{}x", "1_{}", "\t{}", "{}\r", "{}.{}"]
    for _ in range(3000):
        v = rng.randrange(0, 2_000_000)
        out.append(rng.choice(notations).format(v, v))
    odd = ["", " ", "-0", "0.5", "1.5", "2.5", "1e308", "1e309", "nan", "inf", "0x10", "1,000",
           "٣", "\x01", "\xff\xfe", "é", "1e", "e5", "--1", "1..2", "9" * 40, "1" * 3000,
           "0." + "0" * 500 + "1", "4294967296", "4294967295.5", "2147483648", "99999999999"]
    out += odd
    return out


def card_data(rng, cli):
    out = ["", "0", "7", "8", " ", "0000000600400002", "7777777777777777", "00000000000000000",
           "é" * 16, "é" * 17, "\x00", "1\x01", "\xff", "\"\\", "1234567" * 3, "0" * 3000]
    for _ in range(20000):
        n = rng.randrange(0, 19)
        text = "".join(rng.choice("01234567") for _ in range(n))
        if rng.random() < 0.5:
            text = text.rjust(16, "0")[:16] if n <= 16 else text
        if rng.random() < 0.05 and text:
            i = rng.randrange(len(text))
            text = text[:i] + rng.choice("89 aé\t\"\\\x7f") + text[i + 1:]
        out.append(text)
    # Card data that passes the checks: each format's own prox data for random hotstamps.
    for fmt, fac in (("26", "12"), ("34", "99"), ("35", "4000"), ("35V", "7"), ("36V", "4095"),
                     ("37V", "1"), ("37", "300"), ("37", "0"), ("Proxif", "5"), ("Casi", "200")):
        stamps = encode(str(rng.randrange(0, 524288)) for _ in range(2000))
        p = subprocess.run([cli, "convert", "--format", fmt, "--facility", fac], input=stamps,
                           capture_output=True)
        out += p.stdout.decode().split()
    return out


def encode(lines):
    return "".join(line + "\n" for line in lines).encode("utf-8", "surrogateescape")


def runs(rng, cli):
    stamps = encode(hotstamps(rng))
    for fmt in FORMATS:
        for fac in FACILITIES:
            for ver in (VERSIONS if fmt == "Proxif" else VERSIONS[:2]):
                args = ["convert", "--format", fmt, "--facility", fac, "--version", ver]
                yield "convert_{}_{}_{}".format(fmt, fac, ver), args, stamps
    cards = card_data(rng, cli)
    yield "split_json", ["split", "--json"], encode(cards)
    yield "split_table", ["split"], encode(cards[:3000])
    yield "formats", ["formats"], b""


def safe(name):
    return "".join(c if c.isalnum() or c in "._-" else "%{:02x}".format(ord(c)) for c in name)


def main():
    mode, folder, cli = sys.argv[1:4]
    rng = random.Random(11)
    os.makedirs(folder, exist_ok=True)
    differ = 0
    for name, args, stdin in runs(rng, cli):
        p = subprocess.run([cli] + args, input=stdin, capture_output=True)
        got = p.stdout + b"\n--stderr--\n" + p.stderr + b"\n--exit--\n" + str(p.returncode).encode()
        path = os.path.join(folder, safe(name))
        if mode == "record":
            with open(path, "wb") as f:
                f.write(got)
        else:
            with open(path, "rb") as f:
                if f.read() != got:
                    differ += 1
                    print("differs:", name)
    if mode == "compare":
        print("all runs identical" if differ == 0 else "{} runs differ".format(differ))
    return 1 if differ else 0


if __name__ == "__main__":
    sys.exit(main())
