// The library entry record shared by the built-in table and entries made from the data pack.
// Text pointers are never owned: built-in entries point at constant text, pack entries into
// the parsed pack's storage.
#pragma once

struct LibEntry {
    int cat;            // category 0..13
    const char* title;  // Spanish title, never null
    const char* sub;    // subtitle, "" when none
    const char* text;   // body, "" when none
    const char* link;   // web address or null
    int image;          // embedded picture id (1000+), 0 for none
    int galFirst;       // first gallery index
    int galCount;       // number of gallery pictures
    const char* table;  // tab/line-feed table, first row the header, or null
    int vidFirst;       // first video reference
    int vidCount;       // number of videos
};

// Generated from data/library/ at build time.
extern const LibEntry DB_BUILTIN[];
extern const int DB_BUILTIN_N;
extern const int DB_BUILTIN_PER_CAT[14];  // entries per category, as declared and checked
