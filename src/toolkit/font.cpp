#include "toolkit/font.h"

bool Font::create(const LOGFONTW& description)
{
    if (font_)
        return false;
    font_ = CreateFontIndirectW(&description);
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
    LOGFONTW description{};
    if (GetObjectW(stock, sizeof description, &description) == 0)
        return false;
    description.lfHeight = 12;
    // The program's texts are Japanese: where the stock font has no Japanese characters (a system
    // whose code page is not 932), the system picks a face of its own that has them.
    description.lfCharSet = SHIFTJIS_CHARSET;
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
