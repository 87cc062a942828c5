#pragma once
// Reading an INI-style profile file key by key, by a portable reader that follows the rules of the
// Windows private-profile functions for ordinary files. It reads the file's bytes itself on every
// system, so that neither a path nor a text depends on the system's code page.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// How the file was saved; every text is handed back as Shift-JIS all the same.
enum class ProfileEncoding { ShiftJis, Utf8, Utf8WithMark, Utf16WithMark };

class ProfileSource {
public:
    // Longest value handed back; the caller cuts further.
    static constexpr std::size_t maxTextBytes = 4095;

    virtual ~ProfileSource() = default;
    // The value of key in section, or an empty text when either is missing.
    virtual std::string readText(const char* section, const char* key) = 0;
    // The value as the profile-integer rules read it (decimal, sign, 0x/0b/0o prefixes,
    // modulo 2^32); defaultValue when the key is missing or its value empty.
    virtual std::uint32_t readInteger(const char* section, const char* key, std::uint32_t defaultValue) = 0;
    // Whether the value of key held characters that Shift-JIS lacks (readText shows each as '?').
    virtual bool textLost(const char* section, const char* key) = 0;
    // The names of the file's sections as the system lists them, in file order.
    virtual std::vector<std::string> sectionNames() = 0;
    virtual ProfileEncoding encoding() = 0;
};

// Why openProfile gave no source.
enum class ProfileRefusal { None, PathTooLong, Folder, NotRegularFile, TooLarge, Unreadable };

// No real definition comes near this size; anything larger is refused unread, so that reading a
// profile takes bounded time and memory whatever the path names.
constexpr std::uint64_t largestProfileBytes = std::uint64_t{64} << 20;

// Null, with the reason in refusal when it is given, for a path (UTF-8) that cannot be made absolute
// within the system's limit or that names anything but a readable regular file of at most
// largestProfileBytes. A file that does not exist gives a source whose every key is missing.
std::unique_ptr<ProfileSource> openProfile(const std::string& path, ProfileRefusal* refusal = nullptr);
