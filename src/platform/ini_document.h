#pragma once
// A portable reader of INI text that gives the same answers as the Windows private-profile
// functions for ordinary files: trimmed names and values, case-insensitive sections and keys,
// the first of repeated sections and keys, ';' comment lines, quotes around a whole value.
#include "platform/profile_source.h"

#include <cstdint>
#include <map>
#include <string>
#include <vector>

class IniDocument {
public:
    // Parses Shift-JIS text. A file with a UTF-8 or UTF-16LE byte-order mark, and one that is
    // wholly valid UTF-8 with characters beyond ASCII, is read as written and its names and
    // values turned into Shift-JIS.
    explicit IniDocument(const std::string& bytes);

    struct Value {
        std::string text;
        bool lost = false; // it held characters Shift-JIS lacks, now '?'
    };
    // Null when the section or the key is missing.
    const Value* find(const std::string& section, const std::string& key) const;
    // The sections' names as written (without the blanks around them), in file order.
    const std::vector<std::string>& sectionNames() const { return names_; }
    ProfileEncoding encoding() const { return encoding_; }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, Value>> keys;
    };
    ProfileEncoding encoding_ = ProfileEncoding::ShiftJis;
    std::vector<Section> sections_;
    std::vector<std::string> names_;
    // The first section of each folded name: a definition of thousands of pieces looks up
    // every key of every section.
    std::map<std::string, std::size_t> firstSection_;
};

// The value as a profile string: quotes around the whole value removed.
std::string unquoteProfileValue(const std::string& value);

// The value as a profile integer: at most 29 characters, blanks, a sign, a 0x, 0b or 0o prefix,
// digits up to the first other character, modulo 2^32.
std::uint32_t parseProfileInteger(const std::string& value);
