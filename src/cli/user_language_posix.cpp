#include "cli/messages.h"

#include <cstdlib>

Language userLanguage()
{
    return localeLanguage(std::getenv("LC_ALL"), std::getenv("LC_MESSAGES"), std::getenv("LANG"));
}
