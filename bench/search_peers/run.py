#!/usr/bin/env python3
"""Our library search side by side with Fuse.js and MiniSearch, in one run.

Exports the built-in library (titles, subtitles, bodies with tables, names in six languages) to
JSON, types every query of queries.tsv letter by letter through our search and through both
peers, and prints per-keystroke median and worst times, their ratios to ours, and how often the
entry the player meant comes first (top-1) or among the first five (top-5).

The peers come from the npm registry into build/search_peers (installed on first use; the test
suite never needs them). Usage: run.py [build dir]   (default build/native)
"""

import json
import os
import statistics
import subprocess
import sys

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))
PEERS = ("fuse.js@7.5.0", "minisearch@7.2.0")


def install(prefix):
    mods = os.path.join(prefix, "node_modules")
    if all(os.path.isdir(os.path.join(mods, p.rsplit("@", 1)[0])) for p in PEERS):
        return mods
    os.makedirs(prefix, exist_ok=True)
    subprocess.run(["npm", "install", "--no-audit", "--no-fund", "--loglevel=error", "--prefix", prefix, *PEERS],
                   check=True)
    return mods


def lines(cmd):
    out = subprocess.run(cmd, check=True, capture_output=True, text=True).stdout
    return [json.loads(x) for x in out.splitlines() if x.strip()]


def summary(results):
    keys = [t for r in results for t in r["us"]]
    ranks = [r["rank"] for r in results]
    return {
        "keys": len(keys),
        "median": statistics.median(keys),
        "worst": max(keys),
        "top1": sum(1 for k in ranks if k == 0),
        "top5": sum(1 for k in ranks if 0 <= k < 5),
        "n": len(ranks),
    }


def main(argv):
    build = os.path.abspath(argv[1] if len(argv) > 1 else os.path.join(ROOT, "build", "native"))
    work = os.path.join(os.path.dirname(build), "search_peers")
    tool = os.path.join(build, "search_peers")
    queries = os.path.join(HERE, "queries.tsv")
    corpus = os.path.join(work, "corpus.json")
    mods = install(work)
    subprocess.run([tool, "export", corpus], check=True)

    ours = lines([tool, "run", queries])
    unknown = [r["query"] for r in ours if not r["known"]]
    if unknown:
        sys.stderr.write("queries.tsv: no entry has the key of: %s\n" % ", ".join(unknown))
        return 1
    if len(ours) < 60:
        sys.stderr.write(f"queries.tsv: {len(ours)} queries, at least 60 wanted\n")
        return 1
    peers = {}
    for r in lines(["node", os.path.join(HERE, "peers.js"), mods, corpus, queries]):
        peers.setdefault(r["peer"], []).append(r)

    rows = [("Zenvoral", summary(ours))] + [(name, summary(res)) for name, res in peers.items()]
    base = rows[0][1]
    print(f"\nLibrary search, {base['n']} queries typed letter by letter ({base['keys']} keystrokes for each library), "
          f"{len(json.load(open(corpus, encoding='utf-8')))} entries")
    print(f"{'':12} {'median':>10} {'worst':>10} {'x median':>9} {'x worst':>8} {'top-1':>7} {'top-5':>7}")
    for name, s in rows:
        print(f"{name:12} {s['median']:8.1f}us {s['worst']:8.1f}us {s['median'] / base['median']:8.1f}x "
              f"{s['worst'] / base['worst']:7.1f}x {s['top1']:3}/{s['n']:<3} {s['top5']:3}/{s['n']:<3}")
    misses = [r["query"] for r in ours if not 0 <= r["rank"] < 5]
    if misses:
        print("not in our top 5: " + "; ".join(misses))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
