#include "toolkit/font.h"

bool Font::create(const LOGFONTA& description)
{
    if (font_)
        return false;
    font_ = CreateFontIndirectA(&description);
    return font_ != nullptr;
}

bool Font::destroy()
{
    if (!font_)
        return true;
    if (!DeleteObject(font_))
        return false;
    font_ = nullptr;
    return true;
}

bool createDefaultGuiFont(Font& font)
{
    const HGDIOBJ stock = GetStockObject(DEFAULT_GUI_FONT);
    if (!stock)
        return false;
    LOGFONTA description{};
    if (GetObjectA(stock, sizeof description, &description) == 0)
        return false;
    description.lfHeight = 12;
    return font.create(description);
}

HFONT controlFont()
{
    // A function-local static: made on first use, deleted at process exit after every window.
    static Font font;
    if (!font.handle())
        createDefaultGuiFont(font);
    return font.handle();
}
