// The settings store: the INI semantics the program relies on, so the rules over it are
// portable. The shell implements it over the Windows profile API ("ajustes.ini"); tests use
// MemStore. Section and key names are ASCII and compared without regard to case.
#pragma once
#include <map>
#include <string>
#include <utility>
#include <vector>

struct Store {
    virtual ~Store() = default;
    // The value, cut to size - 1 characters (size counts the terminator); def when missing.
    virtual std::u16string getStr(const char* sec, const char* key, const char16_t* def, int size) = 0;
    // Profile integer rules: optional minus, leading digits, anything else ends the number;
    // def only when the key is missing.
    virtual int getInt(const char* sec, const char* key, int def) = 0;
    virtual void put(const char* sec, const char* key, const std::u16string& val) = 0;
    virtual void delKey(const char* sec, const char* key) = 0;
    virtual void delSection(const char* sec) = 0;
    // Every key=value pair of a section, in file order.
    virtual std::vector<std::pair<std::u16string, std::u16string>> section(const char* sec) = 0;
    virtual bool exists() = 0;  // the backing file exists
};

// The profile API's integer reading of a text.
int profileInt(const std::u16string& s);

// An in-memory store with the same rules, plus INI text in and out for tests and tools.
class MemStore : public Store {
public:
    std::u16string getStr(const char* sec, const char* key, const char16_t* def, int size) override;
    int getInt(const char* sec, const char* key, int def) override;
    void put(const char* sec, const char* key, const std::u16string& val) override;
    void delKey(const char* sec, const char* key) override;
    void delSection(const char* sec) override;
    std::vector<std::pair<std::u16string, std::u16string>> section(const char* sec) override;
    bool exists() override { return created; }

    bool has(const char* sec, const char* key);
    std::u16string text() const;             // "[sec]\r\nkey=value\r\n..."
    void load(const std::u16string& text);   // replaces the contents
    int writes = 0;                          // number of put calls, for tests

private:
    struct Sec {
        std::u16string name;
        std::vector<std::pair<std::u16string, std::u16string>> keys;
    };
    std::vector<Sec> secs;
    bool created = false;
    Sec* find(const char* sec);
};

// Convenience for ASCII/UTF-16 literals and numbers.
std::u16string u16of(const char* ascii);
std::u16string u16num(long long v);
long long u16toll(const std::u16string& s);  // like _wtoi64: optional sign, leading digits
