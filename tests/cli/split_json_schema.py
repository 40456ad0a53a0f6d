#!/usr/bin/env python3
"""Every line `morvane-cli split --json` writes is valid under morvane-cli-split.schema.json.

  split_json_schema.py CLI SCHEMA COUNT

COUNT card data from a fixed seed: each format's credentials made by `convert`, with some of
their leading zeros left off, random octal digits of every length, and card data that is
rejected (a stray character, 17 digits).
"""
import json
import random
import subprocess
import sys

import jsonschema

FORMATS = [("26", "12"), ("34", "99"), ("35", "4000"), ("35V", "7"), ("36V", "4095"),
           ("37V", "1"), ("37", "300"), ("37", "0"), ("Proxif", "5"), ("Casi", "200")]


def card_data(cli, count, rng):
    made = []
    for code, facility in FORMATS:
        stamps = "".join("{}\n".format(rng.randrange(0, 524288)) for _ in range(count // 20))
        out = subprocess.run([cli, "convert", "--format", code, "--facility", facility],
                             input=stamps.encode(), capture_output=True, check=False).stdout
        made += [line.lstrip("0")[: rng.randrange(1, 17)] if rng.random() < 0.3 else line
                 for line in out.decode().split()]
    while len(made) < count:
        text = "".join(rng.choice("01234567") for _ in range(rng.randrange(0, 18)))
        if text and rng.random() < 0.1:
            i = rng.randrange(len(text))
            text = text[:i] + rng.choice("89 x\"\\é") + text[i + 1:]
        made.append(text)
    return made[:count]


def main():
    cli, schema_path, count = sys.argv[1], sys.argv[2], int(sys.argv[3])
    with open(schema_path, encoding="utf-8") as f:
        validator = jsonschema.Draft202012Validator(json.load(f))
    lines = card_data(cli, count, random.Random(22))
    out = subprocess.run([cli, "split", "--json"], input="".join(l + "\n" for l in lines).encode(),
                         capture_output=True, check=False).stdout.decode().splitlines()
    if len(out) != len(lines):
        print("{} lines in, {} out".format(len(lines), len(out)))
        return 1
    for given, line in zip(lines, out):
        errors = list(validator.iter_errors(json.loads(line)))
        if errors:
            print("{!r}: {}".format(given, errors[0].message))
            return 1
    print("{} objects valid".format(len(out)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
