// The same corpus and keystrokes through Fuse.js and MiniSearch, set up as a web tool would:
// weighted fields (title, names, subtitle, body), accents ignored, at most 60 results.
// Usage: node peers.js <node_modules dir> <corpus.json> <queries.tsv>
// Prints one JSON line per library and query: per-keystroke times (median of up to 5 runs, in
// microseconds) and the final rank of the entry meant (-1 when not listed).
"use strict";
const fs = require("fs");
const path = require("path");
const [modulesArg, corpusPath, queriesPath] = process.argv.slice(2);
const modules = path.resolve(modulesArg);
// resolve the packages as if from the folder they were installed into
const load = require("module").createRequire(path.join(modules, "..", "peers.js"));
const pick = (m) => m.default || m;
const Fuse = pick(load("fuse.js"));
const MiniSearch = pick(load("minisearch"));

const docs = JSON.parse(fs.readFileSync(corpusPath, "utf8")).map((d, id) => ({ id, ...d }));
const queries = fs.readFileSync(queriesPath, "utf8").split("\n")
  .filter((l) => l && !l.startsWith("#") && l.includes("\t"))
  .map((l) => l.split("\t"));
const fold = (s) => s.normalize("NFD").replace(/\p{M}/gu, "").toLowerCase();

const fuse = new Fuse(docs, {
  keys: [{ name: "title", weight: 3 }, { name: "names", weight: 2 }, { name: "sub", weight: 1 },
         { name: "body", weight: 0.5 }],
  ignoreLocation: true, ignoreDiacritics: true, threshold: 0.4,
});
const mini = new MiniSearch({
  fields: ["title", "names", "sub", "body"], storeFields: ["key"],
  processTerm: (t) => fold(t),
  searchOptions: { boost: { title: 3, names: 2, sub: 1 }, prefix: true, fuzzy: 0.2 },
});
mini.addAll(docs);

const peers = {
  "Fuse.js": (q) => fuse.search(q, { limit: 60 }).map((r) => r.item.key),
  MiniSearch: (q) => mini.search(q).slice(0, 60).map((r) => r.key),
};

for (const [name, search] of Object.entries(peers)) {
  for (const [query, key] of queries) {
    const us = [];
    let keys = [];
    for (let n = 1; n <= query.length; n++) {
      const part = query.slice(0, n);
      // up to 5 runs, fewer when one already takes long: the median of those made
      const t = [];
      let spent = 0;
      while (t.length < 5 && (t.length === 0 || spent < 20000)) {
        const a = process.hrtime.bigint();
        keys = search(part);
        const d = Number(process.hrtime.bigint() - a) / 1000;
        t.push(d);
        spent += d;
      }
      t.sort((x, y) => x - y);
      us.push(t[(t.length - 1) >> 1]);
    }
    console.log(JSON.stringify({ peer: name, query, us, rank: keys.indexOf(key) }));
  }
}
