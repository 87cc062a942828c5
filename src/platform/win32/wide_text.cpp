#include "platform/win32/wide_text.h"

#include <windows.h>

namespace {

std::wstring toWide(UINT codePage, DWORD flags, const char* text, int length)
{
    if (length == 0)
        return std::wstring();
    const int wideLength = MultiByteToWideChar(codePage, flags, text, length, nullptr, 0);
    if (wideLength <= 0)
        return std::wstring();
    std::wstring wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(codePage, flags, text, length, &wide[0], wideLength);
    return wide;
}

} // namespace

std::wstring wideFromUtf8(const std::string& text)
{
    return toWide(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()));
}

std::string utf8FromWide(const std::wstring& text)
{
    if (text.empty())
        return std::string();
    const int length = static_cast<int>(text.size());
    const int utf8Length = WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, nullptr, 0,
                                               nullptr, nullptr);
    if (utf8Length <= 0)
        return std::string();
    std::string utf8(static_cast<std::size_t>(utf8Length), '\0');
    WideCharToMultiByte(CP_UTF8, WC_ERR_INVALID_CHARS, text.data(), length, &utf8[0], utf8Length, nullptr, nullptr);
    return utf8;
}

std::string utf8FromWide(const wchar_t* text) { return utf8FromWide(std::wstring(text ? text : L"")); }

std::wstring wideFromShiftJis(const std::string& text)
{
    return toWide(932, 0, text.data(), static_cast<int>(text.size()));
}

std::wstring wideFromShiftJis(const char* text) { return wideFromShiftJis(std::string(text ? text : "")); }
