#include "platform/posix/ini_document.h"

#include "platform/shift_jis.h"
#include "platform/posix/convert_encoding.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r' || c == '\n' || c == '\x1a';
}

std::string trim(const std::string& text)
{
    std::size_t begin = 0;
    std::size_t end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

// Lower case for single-byte letters only; the bytes of two-byte characters stay as they are.
std::string foldCase(const std::string& text)
{
    std::string folded = text;
    for (std::size_t i = 0; i < folded.size(); ++i) {
        unsigned char byte = static_cast<unsigned char>(folded[i]);
        if (isShiftJisLeadByte(byte))
            ++i;
        else if (byte >= 'A' && byte <= 'Z')
            folded[i] = static_cast<char>(byte - 'A' + 'a');
    }
    return folded;
}

std::string toShiftJis(const std::string& bytes)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0)
        return convertEncoding(bytes.substr(3), "UTF-8", "CP932");
    if (bytes.compare(0, 2, "\xFF\xFE") == 0)
        return convertEncoding(bytes.substr(2), "UTF-16LE", "CP932");
    return bytes;
}

// Lines end at LF, CRLF or CR.
std::vector<std::string> splitLines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\n' && text[i] != '\r')
            continue;
        lines.push_back(text.substr(start, i - start));
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

} // namespace

IniDocument::IniDocument(const std::string& bytes)
{
    for (const std::string& rawLine : splitLines(toShiftJis(bytes))) {
        std::string line = trim(rawLine);
        if (line.empty() || line[0] == ';')
            continue;
        if (line[0] == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string::npos && close > 0) {
                names_.push_back(trim(line.substr(1, close - 1)));
                sections_.push_back({foldCase(names_.back()), {}});
                firstSection_.emplace(sections_.back().name, sections_.size() - 1);
                continue;
            }
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos || sections_.empty())
            continue;
        sections_.back().keys.emplace_back(foldCase(trim(line.substr(0, equals))), trim(line.substr(equals + 1)));
    }
}

const std::string* IniDocument::find(const std::string& section, const std::string& key) const
{
    // Only the first section of a name is searched, as on Windows.
    auto found = firstSection_.find(foldCase(trim(section)));
    if (found == firstSection_.end())
        return nullptr;
    std::string wantedKey = foldCase(trim(key));
    for (const auto& entry : sections_[found->second].keys)
        if (entry.first == wantedKey)
            return &entry.second;
    return nullptr;
}

std::string unquoteProfileValue(const std::string& value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

std::uint32_t parseProfileInteger(const std::string& value)
{
    std::string text = value.substr(0, 29);
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t base = 10;
    if (i + 1 < text.size() && text[i] == '0') {
        char prefix = text[i + 1];
        base = prefix == 'x' ? 16 : prefix == 'o' ? 8 : prefix == 'b' ? 2 : 10;
        if (base != 10)
            i += 2;
    }
    std::uint32_t total = 0;
    for (; i < text.size(); ++i) {
        char c = text[i];
        std::uint32_t digit = c >= '0' && c <= '9'   ? static_cast<std::uint32_t>(c - '0')
                              : c >= 'a' && c <= 'z' ? static_cast<std::uint32_t>(c - 'a' + 10)
                              : c >= 'A' && c <= 'Z' ? static_cast<std::uint32_t>(c - 'A' + 10)
                                                     : 99;
        if (digit >= base)
            break;
        total = total * base + digit;
    }
    return negative ? 0u - total : total;
}
