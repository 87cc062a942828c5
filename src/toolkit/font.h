#pragma once
// The single owner of one GDI font, and the one font that every child control shares.
#include <windows.h>

class Font {
public:
    Font() = default;
    ~Font() { destroy(); }
    Font(const Font&) = delete;
    Font& operator=(const Font&) = delete;

    // Refuses while a font is held.
    bool create(const LOGFONTW& description);
    HFONT handle() const { return font_; }
    // False only when DeleteObject failed.
    bool destroy();

private:
    HFONT font_ = nullptr;
};

// The stock GUI font with a cell height of 12, in the Shift-JIS character set: on a Japanese
// system that is the stock font itself, elsewhere a face that has the Japanese characters.
bool createDefaultGuiFont(Font& font);

// The font shared by all child controls; made on first use and kept until the process ends.
// Null when it could not be made (the controls then keep the system font).
HFONT controlFont();
