#pragma once
// A portable reader of INI text that gives the same answers as the Windows private-profile
// functions for ordinary files: trimmed names and values, case-insensitive sections and keys,
// the first of repeated sections and keys, ';' comment lines, quotes around a whole value.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

class IniDocument {
public:
    // Parses Shift-JIS text; a UTF-8 or UTF-16LE file with a byte-order mark is turned into
    // Shift-JIS first, as the Windows functions do.
    explicit IniDocument(const std::string& bytes);

    // Null when the section or the key is missing.
    const std::string* find(const std::string& section, const std::string& key) const;
    // The sections' names as written (without the blanks around them), in file order.
    const std::vector<std::string>& sectionNames() const { return names_; }

private:
    struct Section {
        std::string name;
        std::vector<std::pair<std::string, std::string>> keys;
    };
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
