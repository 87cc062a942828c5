#include "platform/ini_document.h"

#include "platform/shift_jis.h"
#include "platform/unicode_text.h"

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

// The file's text and how it was saved: Shift-JIS is kept as bytes, Unicode becomes UTF-8 and
// its names and values are turned into Shift-JIS one by one.
std::string textOf(const std::string& bytes, ProfileEncoding& encoding)
{
    if (bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        encoding = ProfileEncoding::Utf8WithMark;
        return bytes.substr(3);
    }
    if (bytes.compare(0, 2, "\xFF\xFE") == 0) {
        encoding = ProfileEncoding::Utf16WithMark;
        return utf8FromUtf16le(bytes.substr(2));
    }
    encoding = isMultiByteUtf8(bytes) ? ProfileEncoding::Utf8 : ProfileEncoding::ShiftJis;
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
    const std::string text = textOf(bytes, encoding_);
    // Blanks, brackets, '=' and ';' are ASCII in every encoding read, so a Unicode line is split
    // first and its parts turned into Shift-JIS after.
    const bool unicode = encoding_ != ProfileEncoding::ShiftJis;
    auto shiftJis = [unicode](const std::string& part, bool& lost) {
        return unicode ? shiftJisFromUtf8(part, lost) : part;
    };
    for (const std::string& rawLine : splitLines(text)) {
        std::string line = trim(rawLine);
        if (line.empty() || line[0] == ';')
            continue;
        bool lost = false;
        if (line[0] == '[') {
            std::size_t close = line.rfind(']');
            if (close != std::string::npos && close > 0) {
                names_.push_back(shiftJis(trim(line.substr(1, close - 1)), lost));
                sections_.push_back({foldCase(names_.back()), {}});
                firstSection_.emplace(sections_.back().name, sections_.size() - 1);
                continue;
            }
        }
        std::size_t equals = line.find('=');
        if (equals == std::string::npos || sections_.empty())
            continue;
        const std::string key = foldCase(shiftJis(trim(line.substr(0, equals)), lost));
        // Only the value's own characters count: a key that lost one names no key read anyway.
        lost = false;
        const std::string value = shiftJis(trim(line.substr(equals + 1)), lost);
        sections_.back().keys.emplace_back(key, Value{value, lost});
    }
}

const IniDocument::Value* IniDocument::find(const std::string& section, const std::string& key) const
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
