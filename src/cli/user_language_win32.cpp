#include "cli/messages.h"

#include <windows.h>

// The language of the user's menus and dialogs: Japanese on a Japanese Windows.
Language userLanguage()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE ? Language::Japanese : Language::English;
}
