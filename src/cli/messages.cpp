#include "cli/messages.h"

#include "platform/native_text.h"

#include <cstring>

namespace {

const MessageTable* inUse = &englishTexts;

bool isJapanese(const char* locale)
{
    return std::strncmp(locale, "ja", 2) == 0 && std::strchr("_.@", locale[2]) != nullptr;
}

} // namespace

Language localeLanguage(const char* lcAll, const char* lcMessages, const char* lang)
{
    for (const char* locale : {lcAll, lcMessages, lang}) {
        if (locale && *locale)
            return isJapanese(locale) ? Language::Japanese : Language::English;
    }
    return Language::English;
}

void useLanguage(Language language) { inUse = language == Language::Japanese ? &japaneseTexts : &englishTexts; }

const MessageTable& textsInUse() { return *inUse; }

std::string fillIn(const char* pattern, const std::vector<std::string>& values)
{
    std::string result;
    for (const char* at = pattern; *at;) {
        const std::size_t value = at[0] == '$' && at[1] >= '0' && at[1] <= '9' ? static_cast<std::size_t>(at[1] - '0')
                                                                                : values.size();
        if (value < values.size()) {
            result += values[value];
            at += 2;
        } else {
            result += *at++;
        }
    }
    return result;
}

std::string text(Message id, std::initializer_list<std::string> values)
{
    return fillIn(inUse->messages[static_cast<std::size_t>(id)].text, values);
}

std::string findingMessage(const Finding& finding)
{
    std::vector<std::string> values;
    for (const std::string& value : finding.values)
        values.push_back(utf8Text(value));
    return fillIn(inUse->findings[static_cast<std::size_t>(finding.text)].text, values);
}
