#pragma once
// The progress line of morlo-cli fitted into the terminal's width, counted in display columns
// of its UTF-8 text.
#include <string>

// "[bar] NNN%  title" in at most `columns` columns. A long title is cut between characters and
// ends in "..."; the bar and the percentage stay whole. Narrower than the bar, the line is the
// percentage and as much title as fits. Control characters of the title show as '?'.
std::string progressLine(int percent, const std::string& title, int columns);

// The columns text takes in the terminal, counted as the progress line counts them.
int textColumns(const std::string& text);
