// The settings store: the INI semantics the program relies on, so the rules over it are
// portable. The whole file is held in memory as an IniDoc and read from there; every change
// reaches the disk as one complete new file. The shell's ProfileStore keeps "ajustes.ini" this
// way; tests use MemStore, which is the same store without a file. Section and key names are
// ASCII and compared without regard to case.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

struct Store {
    virtual ~Store() = default;
    // The value, cut to size - 1 characters (size counts the terminator) at a character
    // boundary; def when missing.
    virtual std::u16string getStr(const char* sec, const char* key, const char16_t* def, int size) = 0;
    // Profile integer rules (see profileInt); def when the key is missing or its value empty.
    virtual int getInt(const char* sec, const char* key, int def) = 0;
    virtual void put(const char* sec, const char* key, const std::u16string& val) = 0;
    virtual void delKey(const char* sec, const char* key) = 0;
    virtual void delSection(const char* sec) = 0;
    // Every key=value pair of a section, in file order.
    virtual std::vector<std::pair<std::u16string, std::u16string>> section(const char* sec) = 0;
    virtual bool exists() = 0;  // the backing file exists
    // Changes that belong together are stored in one write: begin() before them, commit()
    // after. Batches nest; the outermost commit writes once when anything changed. Outside a
    // batch every change is written at once. StoreBatch pairs the two calls.
    virtual void begin() = 0;
    virtual void commit() = 0;
};

class StoreBatch {
public:
    explicit StoreBatch(Store& s) : st(s) { st.begin(); }
    ~StoreBatch() { st.commit(); }
    StoreBatch(const StoreBatch&) = delete;
    StoreBatch& operator=(const StoreBatch&) = delete;

private:
    Store& st;
};

// The profile API's integer reading of a text: leading white space, an optional sign, then
// "0x" (hexadecimal), "0o" (octal), "0b" (binary) or decimal digits; anything else ends the
// number; 32-bit arithmetic that wraps.
int profileInt(const std::u16string& s);

// An INI text with the profile API's reading rules. Lines it does not understand (comments,
// blank lines, text before the first section) are kept as they are, so a file written back
// differs from the one read only in the keys that changed.
class IniDoc {
public:
    void parse(const std::u16string& text);
    std::u16string text() const;  // lines joined with CR LF, a CR LF after the last one
    void clear() { pre.clear(), secs.clear(); }
    bool empty() const { return pre.empty() && secs.empty(); }

    // The value as written (trimmed), or null when the key is missing.
    const std::u16string* find(const char* sec, const char* key) const;
    // Returns true when the document changed.
    bool put(const char* sec, const char* key, const std::u16string& val);
    bool delKey(const char* sec, const char* key);
    bool delSection(const char* sec);  // every section of that name
    std::vector<std::pair<std::u16string, std::u16string>> section(const char* sec) const;

private:
    struct Line {
        std::u16string raw;           // as written, or "key=value" once changed
        std::u16string key, value;    // trimmed; key empty for lines that are no key=value
    };
    struct Sec {
        std::u16string name, raw;
        std::vector<Line> lines;
    };
    std::vector<Line> pre;  // before the first section
    std::vector<Sec> secs;
    Sec* findSec(const char* sec);
    const Sec* findSec(const char* sec) const;
};

// A store over an IniDoc. Subclasses decide where the document comes from and goes to.
class DocStore : public Store {
public:
    std::u16string getStr(const char* sec, const char* key, const char16_t* def, int size) override;
    int getInt(const char* sec, const char* key, int def) override;
    void put(const char* sec, const char* key, const std::u16string& val) override;
    void delKey(const char* sec, const char* key) override;
    void delSection(const char* sec) override;
    std::vector<std::pair<std::u16string, std::u16string>> section(const char* sec) override;
    void begin() override;
    void commit() override;

    const IniDoc& document() const { return doc; }

protected:
    IniDoc doc;
    // Before a change (or a batch) starts: pick up the file if someone else changed it.
    virtual void sync() {}
    // The document changed and no batch is open: store it whole.
    virtual void save() = 0;

private:
    int depth = 0;
    bool dirty = false;
    void changed();
};

// The store without a file, for tests and tools: save() only counts.
class MemStore : public DocStore {
public:
    bool exists() override { return created; }
    void put(const char* sec, const char* key, const std::u16string& val) override {
        writes++;
        DocStore::put(sec, key, val);
    }

    bool has(const char* sec, const char* key) { return doc.find(sec, key) != nullptr; }
    std::u16string text() const { return doc.text(); }  // "[sec]\r\nkey=value\r\n..."
    void load(const std::u16string& text);               // replaces the contents
    int writes = 0;                                      // number of put calls
    int saves = 0;                                       // whole-file writes a file store would make

protected:
    void save() override {
        created = true;
        saves++;
    }

private:
    bool created = false;
};

// Convenience for ASCII/UTF-16 literals and numbers.
std::u16string u16of(const char* ascii);
std::u16string u16num(long long v);
long long u16toll(const std::u16string& s);  // like _wtoi64: optional sign, leading digits
