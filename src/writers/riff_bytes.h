#pragma once
// RIFF fields as a file holds them, appended one by one: four-character tags, little-endian
// numbers and chunks padded to an even length. Never a struct written out whole.
#include <cstdint>
#include <string>
#include <vector>

class RiffBytes {
public:
    explicit RiffBytes(std::vector<std::uint8_t>& out) : out_(out) {}

    void tag(const char (&text)[5])
    {
        for (int i = 0; i < 4; ++i)
            out_.push_back(static_cast<std::uint8_t>(text[i]));
    }
    void u16(std::uint16_t value)
    {
        out_.push_back(static_cast<std::uint8_t>(value));
        out_.push_back(static_cast<std::uint8_t>(value >> 8));
    }
    void u32(std::uint32_t value)
    {
        u16(static_cast<std::uint16_t>(value));
        u16(static_cast<std::uint16_t>(value >> 16));
    }
    void bytes(const std::vector<std::uint8_t>& more) { out_.insert(out_.end(), more.begin(), more.end()); }
    void bytes(const std::string& more) { out_.insert(out_.end(), more.begin(), more.end()); }
    // A chunk: its tag, its size and its body, then a pad byte when the size is odd, so that
    // the next chunk starts on an even offset.
    void chunk(const char (&id)[5], const std::vector<std::uint8_t>& body)
    {
        tag(id);
        u32(static_cast<std::uint32_t>(body.size()));
        bytes(body);
        if (body.size() % 2 != 0)
            out_.push_back(0);
    }

private:
    std::vector<std::uint8_t>& out_;
};
