// The videos library entries carry. Built-in entries refer to the built-in catalogue (generated
// from data/videos/videos.txt) through its reference list VIDREF; data-pack entries bring their
// own video (a [guia] block's `video` and `segundo`). Both share one reference space: references
// below VIDREF_N are the built-in list, the ones after it the pack's, in the order they were
// added. An entry's videos are the references vidFirst ... vidFirst + vidCount - 1.
#pragma once

// Generated from data/videos/ at build time.
extern const char* const VIDID[];   // the video site's id
extern const char* const VIDCAP[];  // caption in Spanish
extern const int VIDSTART[];        // second playback starts at, 0 from the start
extern const int VIDREF[];          // video numbers the entries refer to
extern const int VID_N, VIDREF_N;

struct VideoInfo {
    const char* id;     // never null
    const char* capEs;  // Spanish caption, translated by segments; null: the entry's title is it
    int start;          // seconds
};

// The video of reference ref; 0 (out untouched) when there is none.
int vidAt(int ref, VideoInfo* out);
// An id as the video site writes them: 11 characters of A-Z a-z 0-9 - _.
int vidIdValid(const char* id);
// A start second as a pack writes it: digits only, below 100 hours; anything else is 0.
int vidStartOf(const char* text);
// Pack videos live as long as the database that made them (dbFree forgets them). vidPackAdd keeps
// the id pointer (the pack's storage) and returns the new reference, or -1 for a bad id.
void vidPackClear();
int vidPackAdd(const char* id, int start);
